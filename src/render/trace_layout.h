#pragma once
// Where each lead of a layout goes: rows, columns, the time window of each
// cell. Pure arithmetic in paper millimetres and seconds, so the decisions
// can be tested without drawing.

#include <cstddef>
#include <vector>

namespace ecg::render {

// Layout codes of the report table.
enum ePrintLayout : int {
  kLayoutStrip = 0,           // one lead across the whole width
  kLayoutSingleLead = 1,      // one lead over rows and pages
  kLayoutZoom = 2,            // one lead magnified
  kLayout3x4 = 3,             // simultaneous
  kLayout3x2 = 4,             // simultaneous
  kLayout6x2 = 5,
  kLayout6x1 = 6,
  kLayout3x4Sequential = 7,
  kLayout3x2Sequential = 8,
  kLayoutAveraged = 9,        // median beats, 3x4
  kLayoutAveragedZoom = 10,   // one median beat magnified (the zoom layout, averaged)
};

struct LayoutShape {
  int rows = 1;
  int cols = 1;
  bool sequential = false;  // columns follow one another in time
  bool median = false;      // draws the median beats
  bool one_lead = false;    // every row shows the same lead
};

LayoutShape ShapeOfLayout(int layout);

// The calibration pulse: 1 mV high, 0.2 s wide (at most 10 mm), drawn at the
// left of each row in an area that is a whole number of 5 mm squares.
double CalibrationPulseWidthMm(double speed_mm_s);
double CalibrationAreaMm(double speed_mm_s);

struct LayoutCell {
  int slot = 0;            // index into the lead order from the first lead
  int row = 0;
  int col = 0;
  double x_mm = 0;         // from the layout rect's left edge
  double width_mm = 0;
  double baseline_mm = 0;  // from the layout rect's top edge
  double row_top_mm = 0;
  double row_height_mm = 0;
  double start_s = 0;      // first second of the signal shown
  double seconds = 0;      // time span of the cell
};

struct LayoutPlan {
  LayoutShape shape;
  double trace_left_mm = 0;  // where traces start (after the calibration area)
  std::vector<LayoutCell> cells;
};

// Cells of `layout` in a rect of `width_mm` × `height_mm` at `speed_mm_s`,
// beginning at `start_s` seconds of the signal.
LayoutPlan PlanLayout(int layout, double width_mm, double height_mm, double speed_mm_s,
                      double start_s);

// Rows of the single-lead layout in a rect of that height (25 mm each), and
// how many samples one page shows and how many pages a lead needs.
int SingleLeadRows(double height_mm);
size_t SingleLeadSamplesPerPage(double width_mm, double height_mm, double speed_mm_s,
                                double rate_hz);
int SingleLeadPageCount(size_t samples, size_t samples_per_page);

}  // namespace ecg::render
