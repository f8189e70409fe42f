#include "recording/strip_drawing.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>

#include "recording/lead_values.h"
#include "recording/plot_display_settings.h"

namespace ecg::recording {

namespace {

QColor LeadColour(const CPlotDisplaySettings& display, int channel) {
  const uint32_t c = display.m_colours[static_cast<size_t>(channel)];
  return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
}

// One lead over frames [first, end), starting at x0.
void DrawLead(QPainter& p, const std::vector<FrameLeads>& leads, size_t first, size_t end,
              int channel, double x0, double baseline, const StripScale& scale) {
  QPolygonF run;
  auto flush = [&] {
    if (run.size() > 1) p.drawPolyline(run);
    run.clear();
  };
  const double one_mv = 1000.0 / scale.resolution_uv;
  for (size_t i = first; i < end; ++i) {
    const FrameLeads& f = leads[i];
    const uint32_t status = f.status[static_cast<size_t>(channel)];
    if ((status & kGapStatusBits) != 0) {
      flush();
      continue;
    }
    const double value = (status & kCalibrationStatusBit) != 0
                             ? one_mv
                             : static_cast<double>(f.value[static_cast<size_t>(channel)]);
    run.append(QPointF(x0 + static_cast<double>(i - first) * scale.pixels_per_sample,
                       baseline - value * scale.pixels_per_step));
  }
  flush();
}

}  // namespace

double StripRowSpacing(const CPlotDisplaySettings& display, const QRectF& area) {
  if (display.ThreeByFour()) return area.height() / 5.0;
  return area.height() / (display.Rows() + 1);
}

void DrawStripTraces(QPainter& p, const std::vector<uint8_t>& frames,
                     const CPlotDisplaySettings& display, const QRectF& area,
                     const StripScale& scale) {
  const size_t count = frames.size() / 13;
  if (count == 0) return;
  std::vector<FrameLeads> leads(count);
  for (size_t i = 0; i < count; ++i) leads[i] = DecodeFrameLeads(frames.data() + 13 * i);
  p.save();
  p.setClipRect(area);
  p.setRenderHint(QPainter::Antialiasing, true);
  const double spacing = StripRowSpacing(display, area);
  auto pen_for = [&](int channel) {
    QPen pen(LeadColour(display, channel));
    pen.setWidthF(std::max(1.0, scale.pixels_per_sample * 0.5));
    pen.setCosmetic(false);
    p.setPen(pen);
  };
  if (display.ThreeByFour()) {
    // Each column shows its own quarter of the time; the rhythm strip all.
    const size_t visible = static_cast<size_t>(area.width() / scale.pixels_per_sample);
    const size_t quarter = std::max<size_t>(1, visible / 4);
    for (int c = 0; c < 4; ++c) {
      const size_t first = static_cast<size_t>(c) * quarter;
      const size_t end = std::min(count, first + quarter);
      if (first >= end) break;
      for (int r = 0; r < 3; ++r) {
        const int channel = std::clamp<int>(display.m_order[static_cast<size_t>(c * 3 + r)], 0, 11);
        pen_for(channel);
        DrawLead(p, leads, first, end, channel,
                 area.left() + static_cast<double>(first) * scale.pixels_per_sample,
                 area.top() + (r + 1) * spacing, scale);
      }
    }
    const int rhythm = std::clamp(display.m_rhythmLead, 0, 11);
    pen_for(rhythm);
    DrawLead(p, leads, 0, count, rhythm, area.left(), area.top() + 4 * spacing, scale);
  } else {
    for (int r = 0; r < display.Rows(); ++r) {
      const int channel = display.RowChannel(r);
      pen_for(channel);
      DrawLead(p, leads, 0, count, channel, area.left(), area.top() + (r + 1) * spacing, scale);
    }
  }
  p.restore();
}

}  // namespace ecg::recording
