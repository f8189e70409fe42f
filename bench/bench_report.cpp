// Report output speed: a 9-page PDF of a 12-lead record with analysis (all
// report types of a 12-lead record), from reading the record to the file
// written; and single pages drawn into images.
//
//   build-report/bench/bench_report --benchmark_counters_tabular=true

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "platform/prompt.h"
#include "report/ecg_print.h"
#include "support/section_builders.h"
#include "support/test_files.h"

namespace {

constexpr int32_t kTwelveLeadTypes = 1 | 2 | 4 | 8 | 16 | 32 | 4096 | 8192;

void BM_ReportPdfNinePages(benchmark::State& state) {
  ecg::test::TempFolder folder;
  const std::string record = folder.Write("twelve.scp", ecg::test::SyntheticEcgRecord());
  const std::string pdf = folder.File("report.pdf");
  int pages = 0;
  for (auto _ : state) {
    CECGPrint engine;
    engine.m_reportMask = kTwelveLeadTypes;
    engine.m_minorGrid = static_cast<int>(state.range(0));
    engine.AddReport(record);
    if (!engine.ToFile(pdf)) {
      state.SkipWithError("ToFile failed");
      break;
    }
    pages = engine.m_pageCount;
  }
  state.counters["pages"] = pages;
  state.SetLabel(state.range(0) == 0 ? "no minor grid" : "minor grid lines");
}
BENCHMARK(BM_ReportPdfNinePages)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ReportPageImage(benchmark::State& state) {
  ecg::test::TempFolder folder;
  const std::string record = folder.Write("twelve.scp", ecg::test::SyntheticEcgRecord());
  CECGPrint engine;
  engine.AddReport(record);
  engine.SetupReports();
  PageDevice page;
  page.dpi_x = page.dpi_y = static_cast<double>(state.range(0));
  QImage image(static_cast<int>(page.X(page.page_width)), static_cast<int>(page.Y(page.page_height)),
               QImage::Format_RGB32);
  image.setDotsPerMeterX(static_cast<int>(page.dpi_x / 0.0254 + 0.5));
  image.setDotsPerMeterY(static_cast<int>(page.dpi_y / 0.0254 + 0.5));
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    engine.PrintStart();
    engine.PrintPage(painter, page);
  }
  state.SetLabel("3x4 simultaneous page");
}
BENCHMARK(BM_ReportPageImage)->Arg(100)->Arg(300)->Unit(benchmark::kMillisecond);

}  // namespace
