#include "render/trace_layout.h"

#include <algorithm>
#include <cmath>

namespace ecg::render {

namespace {
constexpr double kSingleLeadRowMm = 25.0;
constexpr double kBaselineShare = 0.55;  // baseline a little below the row's middle
}  // namespace

LayoutShape ShapeOfLayout(int layout) {
  switch (layout) {
    case kLayoutSingleLead: return {1, 1, true, false, true};  // rows set by the height
    case kLayoutZoom: return {1, 1, false, false, true};
    case kLayout3x4: return {3, 4, false, false, false};
    case kLayout3x2: return {3, 2, false, false, false};
    case kLayout6x2: return {6, 2, true, false, false};
    case kLayout6x1: return {6, 1, false, false, false};
    case kLayout3x4Sequential: return {3, 4, true, false, false};
    case kLayout3x2Sequential: return {3, 2, true, false, false};
    case kLayoutAveraged: return {3, 4, false, true, false};
    case kLayoutAveragedZoom: return {1, 1, false, true, true};
    case kLayoutStrip:
    default: return {1, 1, false, false, true};
  }
}

double CalibrationPulseWidthMm(double speed_mm_s) { return std::min(0.2 * speed_mm_s, 10.0); }

double CalibrationAreaMm(double speed_mm_s) {
  const double needed = 2.5 + CalibrationPulseWidthMm(speed_mm_s) + 1.5;
  return std::ceil(needed / 5.0 - 1e-9) * 5.0;
}

LayoutPlan PlanLayout(int layout, double width_mm, double height_mm, double speed_mm_s,
                      double start_s) {
  LayoutPlan plan;
  plan.shape = ShapeOfLayout(layout);
  if (layout == kLayoutSingleLead) plan.shape.rows = SingleLeadRows(height_mm);
  if (speed_mm_s <= 0 || width_mm <= 0 || height_mm <= 0) return plan;
  plan.trace_left_mm = CalibrationAreaMm(speed_mm_s);
  const double trace_width = std::max(0.0, width_mm - plan.trace_left_mm);
  const double col_width = trace_width / plan.shape.cols;
  const double col_seconds = col_width / speed_mm_s;
  const double row_height = height_mm / plan.shape.rows;
  for (int col = 0; col < plan.shape.cols; ++col) {
    for (int row = 0; row < plan.shape.rows; ++row) {
      LayoutCell cell;
      cell.row = row;
      cell.col = col;
      cell.slot = plan.shape.one_lead ? 0 : col * plan.shape.rows + row;
      cell.x_mm = plan.trace_left_mm + col * col_width;
      cell.width_mm = col_width;
      cell.row_top_mm = row * row_height;
      cell.row_height_mm = row_height;
      cell.baseline_mm = cell.row_top_mm + row_height * kBaselineShare;
      cell.seconds = col_seconds;
      if (plan.shape.median) {
        cell.start_s = 0;
      } else if (plan.shape.one_lead) {
        cell.start_s = start_s + row * col_seconds;  // rows continue one another
      } else {
        cell.start_s = start_s + (plan.shape.sequential ? col * col_seconds : 0.0);
      }
      plan.cells.push_back(cell);
    }
  }
  return plan;
}

int SingleLeadRows(double height_mm) {
  return std::max(1, static_cast<int>(std::floor(height_mm / kSingleLeadRowMm + 1e-9)));
}

size_t SingleLeadSamplesPerPage(double width_mm, double height_mm, double speed_mm_s,
                                double rate_hz) {
  if (speed_mm_s <= 0 || rate_hz <= 0) return 0;
  const double row_seconds = std::max(0.0, width_mm - CalibrationAreaMm(speed_mm_s)) / speed_mm_s;
  const double per_row = std::floor(row_seconds * rate_hz + 1e-9);
  return static_cast<size_t>(per_row) * static_cast<size_t>(SingleLeadRows(height_mm));
}

int SingleLeadPageCount(size_t samples, size_t samples_per_page) {
  if (samples == 0 || samples_per_page == 0) return 1;
  return static_cast<int>((samples + samples_per_page - 1) / samples_per_page);
}

}  // namespace ecg::render
