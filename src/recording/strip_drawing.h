#pragma once
// Traces of stored cable frames (the strip window and its printout): the
// rows of the current lead group, or 3 x 4 with the rhythm strip, with the
// derived leads, 1 mV steps for calibration and gaps where a lead has a
// problem.

#include <QRectF>
#include <cstdint>
#include <vector>

class QPainter;
class CPlotDisplaySettings;

namespace ecg::recording {

struct StripScale {
  double pixels_per_sample = 1.0;
  double pixels_per_step = 1.0;
  double resolution_uv = 3.0;  // microvolts per step
};

// The baseline of each row of `area`: height / (rows + 1) apart, or
// height / 5 in the 3 x 4 layout (rows 1-3 the columns, row 4 the rhythm).
double StripRowSpacing(const CPlotDisplaySettings& display, const QRectF& area);

// Draws `frames` (whole 13-byte frames) from the left edge of `area`,
// clipped to it. Lead labels are the caller's.
void DrawStripTraces(QPainter& painter, const std::vector<uint8_t>& frames,
                     const CPlotDisplaySettings& display, const QRectF& area,
                     const StripScale& scale);

}  // namespace ecg::recording
