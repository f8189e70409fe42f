#include "render/trace_layout.h"

#include <gtest/gtest.h>

namespace ecg::render {
namespace {

struct ShapeCase {
  int layout;
  int rows, cols;
  bool sequential, median, one_lead;
};

TEST(TraceLayout, ShapesOfTheReportLayouts) {
  const ShapeCase cases[] = {
      {kLayoutStrip, 1, 1, false, false, true},      {kLayoutZoom, 1, 1, false, false, true},
      {kLayout3x4, 3, 4, false, false, false},       {kLayout3x2, 3, 2, false, false, false},
      {kLayout6x2, 6, 2, true, false, false},        {kLayout6x1, 6, 1, false, false, false},
      {kLayout3x4Sequential, 3, 4, true, false, false}, {kLayout3x2Sequential, 3, 2, true, false, false},
      {kLayoutAveraged, 3, 4, false, true, false},   {kLayoutAveragedZoom, 1, 1, false, true, true},
  };
  for (const auto& c : cases) {
    const LayoutShape s = ShapeOfLayout(c.layout);
    EXPECT_EQ(s.rows, c.rows) << c.layout;
    EXPECT_EQ(s.cols, c.cols) << c.layout;
    EXPECT_EQ(s.sequential, c.sequential) << c.layout;
    EXPECT_EQ(s.median, c.median) << c.layout;
    EXPECT_EQ(s.one_lead, c.one_lead) << c.layout;
  }
}

TEST(TraceLayout, CalibrationAreaIsWholeSquaresAndHoldsThePulse) {
  const struct { double speed, pulse, area; } cases[] = {
      {12.5, 2.5, 10.0}, {25.0, 5.0, 10.0}, {50.0, 10.0, 15.0}, {400.0, 10.0, 15.0}};
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(CalibrationPulseWidthMm(c.speed), c.pulse) << c.speed;
    EXPECT_DOUBLE_EQ(CalibrationAreaMm(c.speed), c.area) << c.speed;
    EXPECT_GE(CalibrationAreaMm(c.speed), 2.5 + c.pulse);
  }
}

TEST(TraceLayout, SequentialColumnsFollowOneAnotherInTime) {
  const LayoutPlan plan = PlanLayout(kLayout3x4Sequential, 265.0, 120.0, 25.0, 0.0);
  ASSERT_EQ(plan.cells.size(), 12u);
  EXPECT_DOUBLE_EQ(plan.trace_left_mm, 10.0);
  for (const LayoutCell& cell : plan.cells) {
    EXPECT_EQ(cell.slot, cell.col * 3 + cell.row);  // I, II, III down the first column
    EXPECT_NEAR(cell.width_mm, 63.75, 1e-9);
    EXPECT_NEAR(cell.seconds, 2.55, 1e-9);
    EXPECT_NEAR(cell.start_s, cell.col * 2.55, 1e-9);
    EXPECT_NEAR(cell.x_mm, 10.0 + cell.col * 63.75, 1e-9);
    EXPECT_NEAR(cell.row_height_mm, 40.0, 1e-9);
    EXPECT_GT(cell.baseline_mm, cell.row_top_mm + 20.0);  // room above for the R waves
    EXPECT_LT(cell.baseline_mm, cell.row_top_mm + 40.0);
  }
}

TEST(TraceLayout, SimultaneousColumnsShareTheirTimeWindow) {
  for (int layout : {kLayout3x4, kLayout3x2, kLayout6x1}) {
    const LayoutPlan plan = PlanLayout(layout, 265.0, 120.0, 25.0, 1.5);
    for (const LayoutCell& cell : plan.cells) EXPECT_DOUBLE_EQ(cell.start_s, 1.5) << layout;
  }
  const LayoutPlan averaged = PlanLayout(kLayoutAveraged, 265.0, 120.0, 25.0, 3.0);
  for (const LayoutCell& cell : averaged.cells) EXPECT_DOUBLE_EQ(cell.start_s, 0.0);
}

TEST(TraceLayout, SpeedChangesTheTimeSpanNotTheWidth) {
  const LayoutPlan slow = PlanLayout(kLayoutStrip, 265.0, 40.0, 12.5, 0.0);
  const LayoutPlan fast = PlanLayout(kLayoutStrip, 265.0, 40.0, 50.0, 0.0);
  ASSERT_EQ(slow.cells.size(), 1u);
  ASSERT_EQ(fast.cells.size(), 1u);
  EXPECT_NEAR(slow.cells[0].seconds, 255.0 / 12.5, 1e-9);
  EXPECT_NEAR(fast.cells[0].seconds, 250.0 / 50.0, 1e-9);
}

TEST(TraceLayout, SingleLeadPagesCoverEverySample) {
  EXPECT_EQ(SingleLeadRows(160.0), 6);
  EXPECT_EQ(SingleLeadRows(10.0), 1);
  // 255 mm of trace at 25 mm/s: 10.2 s per row, 5100 samples at 500 Hz.
  const size_t per_page = SingleLeadSamplesPerPage(265.0, 160.0, 25.0, 500.0);
  EXPECT_EQ(per_page, 6u * 5100u);
  const struct { size_t samples; int pages; } cases[] = {
      {0, 1}, {1, 1}, {30600, 1}, {30601, 2}, {91800, 3}, {91801, 4}};
  for (const auto& c : cases) EXPECT_EQ(SingleLeadPageCount(c.samples, per_page), c.pages) << c.samples;
  EXPECT_EQ(SingleLeadSamplesPerPage(265.0, 160.0, 0.0, 500.0), 0u);

  const LayoutPlan plan = PlanLayout(kLayoutSingleLead, 265.0, 160.0, 25.0, 20.0);
  ASSERT_EQ(plan.cells.size(), 6u);
  for (const LayoutCell& cell : plan.cells) {
    EXPECT_EQ(cell.slot, 0);
    EXPECT_NEAR(cell.start_s, 20.0 + cell.row * 10.2, 1e-9);
  }
}

TEST(TraceLayout, DegenerateRectsGiveNoCells) {
  EXPECT_TRUE(PlanLayout(kLayout3x4, 0.0, 120.0, 25.0, 0.0).cells.empty());
  EXPECT_TRUE(PlanLayout(kLayout3x4, 265.0, 120.0, 0.0, 0.0).cells.empty());
}

}  // namespace
}  // namespace ecg::render
