#include "render/trace_painter.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace ecg::render {

namespace {
constexpr double kLabelHeightMm = 3.0;
constexpr double kSeparatorMm = 5.0;  // half height of the tick between columns
}  // namespace

std::vector<uint8_t> PrintOrder(const TraceSet& set, const std::vector<uint8_t>& preferred) {
  std::vector<uint8_t> order;
  for (uint8_t code : preferred) {
    if (set.Find(code) != nullptr && std::find(order.begin(), order.end(), code) == order.end()) {
      order.push_back(code);
    }
  }
  for (const auto& lead : set.leads) {
    if (std::find(order.begin(), order.end(), lead.code) == order.end()) order.push_back(lead.code);
  }
  return order;
}

void TracePainter::DrawLayout(const QRectF& rect, int layout, const RecordTraces& traces,
                              const std::vector<uint8_t>& order, int first_lead,
                              size_t start_sample) {
  const double rate = traces.rhythm.rate_hz;
  const double speed = style_.speed_mm_s;
  const LayoutPlan plan = PlanLayout(layout, scale_.MmX(rect.width()), scale_.MmY(rect.height()),
                                     speed, rate > 0 ? start_sample / rate : 0.0);
  painter_.save();
  painter_.setClipRect(rect);
  if (style_.draw_grid) DrawPaperGrid(painter_, rect, scale_, style_.grid);

  const TraceSet& source = plan.shape.median ? traces.median : traces.rhythm;
  int last_row_drawn = -1;
  for (const LayoutCell& cell : plan.cells) {
    const double x0 = rect.left() + scale_.X(cell.x_mm);
    const double base = rect.top() + scale_.Y(cell.baseline_mm);
    const double top = rect.top() + scale_.Y(cell.row_top_mm);
    if (cell.col == 0 && cell.row != last_row_drawn && style_.draw_calibration) {
      DrawCalibration(rect.left(), base);
      last_row_drawn = cell.row;
    }
    const size_t index = static_cast<size_t>(std::max(0, first_lead)) +
                         static_cast<size_t>(cell.slot);
    if (index >= order.size()) continue;
    const uint8_t code = order[index];
    if (cell.col > 0 && !plan.shape.median) {
      QPen tick(style_.trace);
      tick.setWidthF(std::max(1.0, scale_.X(style_.trace_width_mm)));
      painter_.setPen(tick);
      painter_.drawLine(QPointF(x0, base - scale_.Y(kSeparatorMm)),
                        QPointF(x0, base + scale_.Y(kSeparatorMm)));
    }
    if (style_.draw_labels && (!plan.shape.one_lead || cell.row == 0)) {
      DrawLabel(QString::fromStdString(LeadLabel(code)), x0 + scale_.X(1.0), top + scale_.Y(0.5));
    }
    if (const TraceLead* lead = source.Find(code)) {
      DrawLead(*lead, source.rate_hz, cell.start_s, cell.seconds, x0, base);
    }
    if (plan.shape.median && style_.draw_fiducials && traces.fiducials) {
      DrawFiducials(*traces.fiducials, cell.seconds, x0, top + scale_.Y(kLabelHeightMm + 1.0),
                    scale_.Y(cell.row_height_mm - kLabelHeightMm - 2.0));
    }
  }
  painter_.restore();
}

void TracePainter::DrawStrip(const QRectF& rect, const RecordTraces& traces, uint8_t code,
                             size_t start_sample) {
  DrawLayout(rect, kLayoutStrip, traces, {code}, 0, start_sample);
}

void TracePainter::DrawCalibration(double x0, double baseline) {
  const double rise = x0 + scale_.X(2.5);
  const double fall = rise + scale_.X(CalibrationPulseWidthMm(style_.speed_mm_s));
  const double end = x0 + scale_.X(CalibrationAreaMm(style_.speed_mm_s) - 1.0);
  const double top = baseline - scale_.Y(style_.gain_mm_mv);  // 1 mV
  QPen pen(style_.trace);
  pen.setWidthF(std::max(1.0, scale_.X(style_.trace_width_mm)));
  pen.setJoinStyle(Qt::MiterJoin);
  painter_.setPen(pen);
  const QPointF points[] = {{x0 + scale_.X(1.0), baseline}, {rise, baseline}, {rise, top},
                            {fall, top}, {fall, baseline}, {end, baseline}};
  painter_.drawPolyline(points, 6);
}

void TracePainter::DrawLead(const TraceLead& lead, double rate_hz, double start_s, double seconds,
                            double x0, double baseline) {
  if (rate_hz <= 0 || lead.microvolts.empty()) return;
  const auto n = static_cast<long long>(lead.microvolts.size());
  const long long first = std::max(0LL, std::llround(start_s * rate_hz));
  const long long last = std::min(n, std::llround((start_s + seconds) * rate_hz) + 1);
  if (first >= last) return;
  const double px_per_sample = scale_.X(style_.speed_mm_s) / rate_hz;
  const double px_per_uv = scale_.Y(style_.gain_mm_mv) / 1000.0;
  QPen pen(style_.trace);
  pen.setWidthF(std::max(1.0, scale_.X(style_.trace_width_mm)));
  pen.setJoinStyle(Qt::RoundJoin);
  pen.setCapStyle(Qt::RoundCap);
  painter_.setPen(pen);
  QPolygonF run;
  run.reserve(static_cast<qsizetype>(last - first));
  auto flush = [&] {
    if (run.size() == 1) painter_.drawPoint(run.front());
    if (run.size() > 1) painter_.drawPolyline(run);
    run.clear();
  };
  for (long long k = first; k < last; ++k) {
    const float v = lead.microvolts[static_cast<size_t>(k)];
    if (std::isnan(v)) {
      flush();  // a lead error: leave a gap
      continue;
    }
    run.append(QPointF(x0 + static_cast<double>(k - first) * px_per_sample, baseline - v * px_per_uv));
  }
  flush();
}

void TracePainter::DrawLabel(const QString& text, double x, double top) {
  QFont font(QStringLiteral("Arial"));
  font.setBold(true);
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(scale_.Y(kLabelHeightMm)))));
  painter_.setFont(font);
  painter_.setPen(style_.text);
  painter_.drawText(QRectF(x, top, scale_.X(20.0), scale_.Y(kLabelHeightMm + 1.0)),
                    Qt::AlignLeft | Qt::AlignTop, text);
}

void TracePainter::DrawFiducials(const FiducialMarks& marks, double seconds, double x0, double top,
                                 double height) {
  QPen pen(style_.trace);
  pen.setWidthF(std::max(1.0, scale_.X(0.1)));
  pen.setStyle(Qt::DashLine);
  painter_.setPen(pen);
  for (int ms : marks.Drawn()) {
    if (ms / 1000.0 > seconds) continue;
    const double x = x0 + scale_.X(ms / 1000.0 * style_.speed_mm_s);
    painter_.drawLine(QPointF(x, top), QPointF(x, top + height));
  }
}

}  // namespace ecg::render
