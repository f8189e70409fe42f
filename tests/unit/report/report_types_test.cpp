#include "report/report_types.h"

#include <gtest/gtest.h>

#include "render/trace_layout.h"

namespace ecg::report {
namespace {

using Types = std::vector<int32_t>;
constexpr int32_t kAllTypes = 1 | 2 | 4 | 8 | 16 | 32 | 64 | 128 | 1024 | 2048 | 4096 | 8192;

TEST(ReportTypes, DefaultMaskByLeadCount) {
  const struct { int leads; bool measurements; Types types; } cases[] = {
      {12, true, {1}}, {8, false, {1}}, {6, false, {64}}, {2, true, {64}},
      {1, true, {}},   {3, true, {}},   {0, false, {}},   {13, true, {}}};
  for (const auto& c : cases) {
    const ReportChoice choice = ChooseReports(c.leads, c.measurements, kDefaultReportMask);
    EXPECT_EQ(choice.types, c.types) << c.leads;
    EXPECT_TRUE(choice.warnings.empty());
  }
}

TEST(ReportTypes, AllTypesInPrintOrder) {
  EXPECT_EQ(ChooseReports(12, true, kAllTypes).types, (Types{1, 2, 4, 8, 16, 32, 8192, 4096}));
  EXPECT_EQ(ChooseReports(6, true, kAllTypes).types, (Types{64, 128, 1024, 4096}));
  EXPECT_EQ(ChooseReports(1, false, kAllTypes).types, (Types{2048}));
  // Bits of other lead counts never slip in.
  EXPECT_EQ(ChooseReports(12, true, 64 | 128 | 1024 | 2048).types, Types{});
}

TEST(ReportTypes, MissingMeasurementsWarnAndSkip) {
  const ReportChoice choice = ChooseReports(12, false, kAllTypes);
  EXPECT_EQ(choice.types, (Types{1, 2, 4, 8, 8192, 4096}));
  ASSERT_EQ(choice.warnings.size(), 2u);
  EXPECT_STREQ(choice.warnings[0], kAveragedNeedsMeasurements);
  EXPECT_STREQ(choice.warnings[1], kMeasurementsNeedMeasurements);
  EXPECT_NE(std::string(kAveragedNeedsMeasurements).find("Re-Analyze"), std::string::npos);
  // No warning for a type the mask does not ask for.
  EXPECT_TRUE(ChooseReports(12, false, 1 | 32).warnings.size() == 1);
  EXPECT_TRUE(ChooseReports(12, false, 1).warnings.empty());
}

TEST(ReportTypes, TitlesLayoutsAndRhythmStrips) {
  using namespace ecg::render;
  const struct { int32_t type; const char* title; int layout; bool rhythm; } cases[] = {
      {1, "3x4 Simultaneous ECG Report", kLayout3x4, true},
      {2, "3x4 Sequential ECG Report", kLayout3x4Sequential, true},
      {4, "6x2 ECG Report", kLayout6x2, false},
      {8, "6x1 ECG Report", kLayout6x1, false},
      {16, "Averaged Complexes ECG Report", kLayoutAveraged, true},
      {32, "ECG Measurements Report", -1, false},
      {64, "3x2 Simultaneous ECG Report", kLayout3x2, true},
      {128, "3x2 Sequential ECG Report", kLayout3x2Sequential, true},
      {1024, "6x1 Simultaneous ECG Report", kLayout6x1, true},
      {2048, "Single Lead Report", kLayoutSingleLead, false},
      {4096, "Zoom Report", kLayoutZoom, false},
      {8192, "Avg Zoom Report", kLayoutAveragedZoom, false},
      {256, "not defined", -1, false},
      {3, "not defined", -1, false},
  };
  for (const auto& c : cases) {
    EXPECT_STREQ(ReportTitleText(c.type), c.title) << c.type;
    EXPECT_EQ(LayoutCode(c.type), c.layout) << c.type;
    EXPECT_EQ(HasRhythmStrip(c.type), c.rhythm) << c.type;
  }
}

}  // namespace
}  // namespace ecg::report
