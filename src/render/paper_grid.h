#pragma once
// Millimetre ECG paper: major lines every 5 mm, and, as chosen, the minor
// 1 mm grid as lines or dots. Spacing is in paper millimetres, multiplied by
// a zoom factor for magnified reports.

#include <QColor>
#include <QRectF>

#include "render/paper_scale.h"

class QPainter;

namespace ecg::render {

enum class MinorGrid { kNone = 0, kLines = 1, kDotted = 2 };

struct GridStyle {
  QColor major{255, 48, 48};
  QColor minor{255, 176, 176};
  MinorGrid minor_style = MinorGrid::kNone;
  double minor_mm = 1.0;   // one division: 0.04 s at 25 mm/s, 0.1 mV at 10 mm/mV
  double major_mm = 5.0;
  double zoom = 1.0;       // spacing multiplier
};

// Draws the grid in `rect` (device pixels), its lines starting at the
// rect's top-left corner.
void DrawPaperGrid(QPainter& painter, const QRectF& rect, const PaperScale& scale,
                   const GridStyle& style);

// Pen widths in paper millimetres.
constexpr double kMajorLineMm = 0.2;
constexpr double kMinorLineMm = 0.1;

}  // namespace ecg::render
