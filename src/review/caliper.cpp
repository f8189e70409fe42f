#include "review/caliper.h"

#include <cmath>

namespace ecg::review {

CaliperReading ReadCaliper(double dx_mm, double dy_mm, double speed_mm_s, double gain_mm_mv) {
  CaliperReading reading;
  if (speed_mm_s > 0) reading.milliseconds = dx_mm / speed_mm_s * 1000.0;
  reading.millimetres = -dy_mm;
  if (gain_mm_mv > 0) reading.microvolts = -dy_mm / gain_mm_mv * 1000.0;
  return reading;
}

QString CaliperText(const CaliperReading& reading, CaliperUnits units) {
  const QString time = QStringLiteral("%1 ms").arg(std::lround(reading.milliseconds));
  if (units == CaliperUnits::kMillimetres) {
    return time + QStringLiteral(", %1 mm").arg(reading.millimetres, 0, 'f', 1);
  }
  return time + QStringLiteral(", %1 \u03BCV").arg(std::lround(reading.microvolts));
}

}  // namespace ecg::review
