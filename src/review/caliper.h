#pragma once
// The measuring cursor's reading: the time and amplitude between two points
// on the paper, from their distance in paper millimetres at the display's
// speed and sensitivity.

#include <QString>

namespace ecg::review {

enum class CaliperUnits { kMicrovolts = 0, kMillimetres = 1 };

struct CaliperReading {
  double milliseconds = 0.0;  // second point minus first, along the time axis
  double microvolts = 0.0;    // second point minus first, up is positive
  double millimetres = 0.0;   // the same on the paper
};

// `dx_mm` rightwards and `dy_mm` downwards on the paper.
CaliperReading ReadCaliper(double dx_mm, double dy_mm, double speed_mm_s, double gain_mm_mv);

// "%d ms, %d µV" or "%d ms, %.1f mm".
QString CaliperText(const CaliperReading& reading, CaliperUnits units);

}  // namespace ecg::review
