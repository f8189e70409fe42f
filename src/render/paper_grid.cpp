#include "render/paper_grid.h"

#include <QPainter>
#include <QPen>
#include <cmath>

namespace ecg::render {

namespace {

// Lines every `step_px` from the rect's edge; `skip_every` > 0 leaves out
// every n-th line (where the major grid draws).
void DrawLines(QPainter& painter, const QRectF& rect, double step_x, double step_y, int skip_every) {
  if (step_x <= 0.5 || step_y <= 0.5) return;  // finer than the device: nothing to show
  const int nx = static_cast<int>(std::floor(rect.width() / step_x + 1e-6));
  const int ny = static_cast<int>(std::floor(rect.height() / step_y + 1e-6));
  for (int i = 0; i <= nx; ++i) {
    if (skip_every > 0 && i % skip_every == 0) continue;
    const double x = rect.left() + i * step_x;
    painter.drawLine(QPointF(x, rect.top()), QPointF(x, rect.bottom()));
  }
  for (int j = 0; j <= ny; ++j) {
    if (skip_every > 0 && j % skip_every == 0) continue;
    const double y = rect.top() + j * step_y;
    painter.drawLine(QPointF(rect.left(), y), QPointF(rect.right(), y));
  }
}

}  // namespace

void DrawPaperGrid(QPainter& painter, const QRectF& rect, const PaperScale& scale,
                   const GridStyle& style) {
  painter.save();
  const double zoom = style.zoom > 0 ? style.zoom : 1.0;
  if (style.minor_style != MinorGrid::kNone) {
    QPen pen(style.minor);
    pen.setWidthF(std::max(1.0, scale.X(kMinorLineMm)));
    pen.setStyle(style.minor_style == MinorGrid::kDotted ? Qt::DotLine : Qt::SolidLine);
    painter.setPen(pen);
    const int per_major = static_cast<int>(std::lround(style.major_mm / style.minor_mm));
    DrawLines(painter, rect, scale.X(style.minor_mm * zoom), scale.Y(style.minor_mm * zoom),
              per_major);
  }
  QPen pen(style.major);
  pen.setWidthF(std::max(1.0, scale.X(kMajorLineMm)));
  painter.setPen(pen);
  DrawLines(painter, rect, scale.X(style.major_mm * zoom), scale.Y(style.major_mm * zoom), 0);
  painter.restore();
}

}  // namespace ecg::render
