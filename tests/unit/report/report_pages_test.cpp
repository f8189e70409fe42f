// Whole report pages drawn to images: page counts, the order of pages, the
// paper scale measured on a page, and the PNGs a person can look at
// (test-output/report_*.png under the build folder).

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <filesystem>

#include "image_probe.h"
#include "platform/prompt.h"
#include "qt_test_app.h"
#include "render/trace_layout.h"
#include "report/ecg_print.h"
#include "report_test_records.h"

namespace ecg::report {
namespace {

constexpr int32_t kAllTypes = 1 | 2 | 4 | 8 | 16 | 32 | 64 | 128 | 1024 | 2048 | 4096 | 8192;

QImage BlankPage(const PageDevice& page) {
  QImage image(static_cast<int>(page.X(page.page_width)), static_cast<int>(page.Y(page.page_height)),
               QImage::Format_RGB32);
  image.setDotsPerMeterX(static_cast<int>(page.dpi_x / 0.0254 + 0.5));
  image.setDotsPerMeterY(static_cast<int>(page.dpi_y / 0.0254 + 0.5));
  image.fill(Qt::white);
  return image;
}

// Draws every page of the job, one image each.
std::vector<QImage> RenderPages(CECGPrint& engine, const PageDevice& page, std::vector<int>* numbers = nullptr) {
  std::vector<QImage> pages;
  engine.PrintStart();
  bool more = true;
  while (more && pages.size() < 50) {
    QImage image = BlankPage(page);
    QPainter painter(&image);
    if (numbers) numbers->push_back(engine.m_pageNumber);
    more = engine.PrintPage(painter, page);
    painter.end();
    pages.push_back(image);
  }
  return pages;
}

bool HasInk(const QImage& image, const QRect& area) {
  for (int y = area.top(); y <= area.bottom(); y += 2) {
    for (int x = area.left(); x <= area.right(); x += 2) {
      if (test::IsInk(image.pixel(x, y))) return true;
    }
  }
  return false;
}

class ReportPages : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureQtApplication();
    previous_ = platform::SetPrompt(&prompt_);
  }
  void TearDown() override { platform::SetPrompt(previous_); }
  test::TempFolder folder_;
  platform::ScriptedPrompt prompt_;
  platform::Prompt* previous_ = nullptr;
};

TEST_F(ReportPages, AllTypesOfATwelveLeadRecordMakeNinePages) {
  CECGPrint engine;
  engine.m_reportMask = kAllTypes;
  engine.m_minorGrid = 1;
  engine.AddReport(test::WriteRecord(folder_, "twelve.scp"));
  ASSERT_TRUE(engine.SetupReports());
  ASSERT_EQ(engine.Reports().size(), 8u);
  EXPECT_EQ(engine.PageCount(), 9);

  PageDevice page;
  page.dpi_x = page.dpi_y = 100;
  std::vector<int> numbers;
  const std::vector<QImage> pages = RenderPages(engine, page, &numbers);
  ASSERT_EQ(pages.size(), 9u);
  EXPECT_EQ(numbers, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(engine.m_pageCount, 9);
  const char* names[] = {"3x4_simultaneous", "3x4_sequential", "6x2",          "6x1_page1", "6x1_page2",
                         "averaged",         "measurements",   "averaged_zoom", "zoom"};
  for (size_t i = 0; i < pages.size(); ++i) {
    test::SaveTestPng(pages[i], std::string("report_") + std::to_string(i + 1) + "_" + names[i] + ".png");
    EXPECT_TRUE(HasInk(pages[i], engine.m_fullRect)) << names[i];
    EXPECT_TRUE(HasInk(pages[i], QRect(0, 0, pages[i].width(), static_cast<int>(page.Y(60))))) << "header";
  }
  EXPECT_TRUE(prompt_.shown().empty());
}

TEST_F(ReportPages, SixByOneTakesTwoPagesOfSixLeads) {
  CECGPrint engine;
  engine.m_reportMask = kReport6x1TwoPages;
  engine.AddReport(test::WriteRecord(folder_, "twelve.scp"));
  ASSERT_TRUE(engine.SetupReports());
  PageDevice page;
  page.dpi_x = page.dpi_y = 100;
  engine.PrintStart();
  QImage image = BlankPage(page);
  QPainter painter(&image);
  EXPECT_EQ(engine.m_leadOffset, 0);
  EXPECT_TRUE(engine.PrintPage(painter, page));
  EXPECT_EQ(engine.m_leadOffset, 6);
  EXPECT_EQ(engine.m_reportIndex, 0);
  EXPECT_FALSE(engine.PrintPage(painter, page));
  EXPECT_EQ(engine.m_pageNumber, 2);
  EXPECT_FALSE(engine.PrintPage(painter, page));  // nothing left
}

TEST_F(ReportPages, SingleLeadRecordTakesAsManyPagesAsItNeeds) {
  test::EcgRecordSpec spec;
  spec.leads = {1};
  spec.seconds = 70;  // 35000 samples; 30600 per page at 25 mm/s
  spec.medians = false;
  spec.measurements = false;
  CECGPrint engine;
  engine.AddReport(test::WriteRecord(folder_, "one.scp", spec));
  EXPECT_FALSE(engine.SetupReports());  // the default mask has no single-lead report
  engine.m_reportMask |= kReportSingleLead;
  ASSERT_TRUE(engine.SetupReports());
  EXPECT_EQ(engine.PageCount(), 2);
  PageDevice page;
  page.dpi_x = page.dpi_y = 100;
  const std::vector<QImage> pages = RenderPages(engine, page);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(engine.m_samplesPerPage, 30600);
  test::SaveTestPng(pages[1], "report_single_lead_page2.png");
  // The second page holds the last 4400 samples: under 2 of its 6 rows.
  const QRect full = engine.m_fullRect;
  const int row = full.height() / 6;
  EXPECT_TRUE(HasInk(pages[1], QRect(full.left() + full.width() / 4, full.top(), full.width() / 2, row)));
  EXPECT_FALSE(HasInk(pages[1], QRect(full.left() + full.width() / 4, full.top() + 3 * row, full.width() / 2, row)));
}

TEST_F(ReportPages, MissingMeasurementsWarnAndSkipTheirReports) {
  test::EcgRecordSpec spec;
  spec.measurements = false;
  CECGPrint engine;
  engine.m_reportMask = 1 | 16 | 32;
  engine.AddReport(test::WriteRecord(folder_, "bare.scp", spec));
  ASSERT_TRUE(engine.SetupReports());
  ASSERT_EQ(engine.Reports().size(), 1u);
  EXPECT_EQ(engine.Reports()[0].m_type, 1);
  const auto shown = prompt_.shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].caption, "Warning");
  EXPECT_EQ(shown[0].text.rfind("Averaged complexes report is not available", 0), 0u);
  EXPECT_EQ(shown[1].text.rfind("Measurements report is not available", 0), 0u);
}

TEST_F(ReportPages, SeveralFilesAndUnreadableOnes) {
  test::EcgRecordSpec six;
  six.leads = {1, 2, 61, 62, 63, 64};
  CECGPrint engine;
  engine.AddReport(test::WriteRecord(folder_, "twelve.scp"));
  engine.AddReport(folder_.Write("junk.scp", {0, 1, 2}));
  engine.AddReport(test::WriteRecord(folder_, "six.scp", six));
  ASSERT_TRUE(engine.SetupReports());
  ASSERT_EQ(engine.Reports().size(), 2u);
  EXPECT_EQ(engine.Reports()[0].m_type, kReport3x4Simultaneous);
  EXPECT_EQ(engine.Reports()[1].m_type, kReport3x2Simultaneous);
  engine.ClearReports();
  EXPECT_FALSE(engine.SetupReports());
}

TEST_F(ReportPages, PageGeometryCentresTheTraceArea) {
  CECGPrint engine;
  engine.AddReport(test::WriteRecord(folder_, "twelve.scp"));
  ASSERT_TRUE(engine.SetupReports());
  PageDevice page;  // Letter landscape, 0.25 in margins, 300 dpi
  QImage image = BlankPage(page);
  QPainter painter(&image);
  engine.PrintStart();
  engine.PrintPage(painter, page);
  // (1050 * 2.54 - 2650) / 200 = 0.085 cm beyond the 0.635 cm margin.
  EXPECT_NEAR(engine.m_ecgLeft, 0.635 + 0.085, 1e-9);
  EXPECT_NEAR(engine.m_ecgTop, 0.635 + 3.7, 1e-9);
  const double dots = 300 / 2.54;
  EXPECT_EQ(engine.m_fullRect, QRect(static_cast<int>(engine.m_ecgLeft * dots), static_cast<int>(engine.m_ecgTop * dots),
                                     static_cast<int>(26.5 * dots), static_cast<int>(16.0 * dots)));
  EXPECT_EQ(engine.m_mainRect.height(), static_cast<int>(12.0 * dots));
  EXPECT_EQ(engine.m_rhythmRect.top(), static_cast<int>((engine.m_ecgTop + 12.0) * dots));
  // The trace area is centred between the margins.
  const double left_gap = engine.m_fullRect.left() - page.X(page.margin_left);
  const double right_gap = page.X(page.page_width - page.margin_right) - engine.m_fullRect.right();
  EXPECT_NEAR(left_gap, right_gap, 2.0);
}

TEST_F(ReportPages, RealRecordsPrintTheirReports) {
  const std::string shared = test::SharedDataFolder();
  const std::string record = shared + "/ludb-dev/ludb-001.scp";
  if (shared.empty() || !std::filesystem::exists(record)) {
    GTEST_SKIP() << "shared reference data (ludb-dev) not present";
  }
  CECGPrint engine;
  engine.m_reportMask = 1 | 2 | 4 | 8 | 4096;
  engine.AddReport(record);
  ASSERT_TRUE(engine.SetupReports());
  EXPECT_EQ(engine.PageCount(), 6);
  PageDevice page;
  page.dpi_x = page.dpi_y = 100;
  const std::vector<QImage> pages = RenderPages(engine, page);
  ASSERT_EQ(pages.size(), 6u);
  test::SaveTestPng(pages[0], "report_ludb001_3x4.png");
  for (const QImage& image : pages) EXPECT_TRUE(HasInk(image, engine.m_fullRect));
}

}  // namespace
}  // namespace ecg::report
