// XML export of a 12-lead, 10 s, 500 Hz record with medians and measurements.

#include <benchmark/benchmark.h>

#include "export/scp_to_xml.h"
#include "support/section_builders.h"
#include "support/test_files.h"

namespace {

void BM_ExportToMemory(benchmark::State& state) {
  const auto record = ecg::test::SyntheticEcgRecord();
  size_t bytes = 0;
  for (auto _ : state) {
    CECGScpToXml exporter(RecordSource::Memory(record));
    std::string document;
    if (!exporter.ExportToString(document)) state.SkipWithError("export failed");
    bytes = document.size();
  }
  state.counters["exports/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["xml_kB"] = static_cast<double>(bytes) / 1024.0;
}
BENCHMARK(BM_ExportToMemory);

void BM_ExportFileToFile(benchmark::State& state) {
  ecg::test::TempFolder folder;
  const std::string scp = folder.Write("twelve.scp", ecg::test::SyntheticEcgRecord());
  const std::string xml = folder.File("twelve.xml");
  for (auto _ : state) {
    if (!ExportScpToXml(scp.c_str(), xml.c_str())) state.SkipWithError("export failed");
  }
  state.counters["exports/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ExportFileToFile)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
