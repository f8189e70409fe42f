#pragma once
// The ECG painter: draws paper grid, calibration pulses, lead labels and
// traces of a record at true paper scale on any QPainter whose device
// resolution is known. Used by the report engine, the review window and the
// strip printout.

#include <QColor>
#include <QRectF>
#include <cstdint>
#include <vector>

#include "render/paper_grid.h"
#include "render/paper_scale.h"
#include "render/trace_layout.h"
#include "render/trace_set.h"

class QPainter;

namespace ecg::render {

struct TraceStyle {
  double speed_mm_s = 25.0;
  double gain_mm_mv = 10.0;
  GridStyle grid;
  QColor trace{Qt::black};
  QColor text{Qt::black};
  double trace_width_mm = 0.2;
  bool draw_grid = true;
  bool draw_calibration = true;
  bool draw_labels = true;
  bool draw_fiducials = true;  // averaged layouts: marks of the median beat
};

class TracePainter {
 public:
  TracePainter(QPainter& painter, PaperScale scale, TraceStyle style)
      : painter_(painter), scale_(scale), style_(style) {}

  // Draws `layout` into `rect` (device pixels). `order` lists lead codes in
  // print order; the layout takes them from `first_lead` on (the averaged
  // layout and the zoom layouts draw median beats or one lead). Leads the
  // record lacks keep their label and stay empty.
  void DrawLayout(const QRectF& rect, int layout, const RecordTraces& traces,
                  const std::vector<uint8_t>& order, int first_lead, size_t start_sample);

  // One lead across `rect` from `start_sample` (the rhythm strip).
  void DrawStrip(const QRectF& rect, const RecordTraces& traces, uint8_t code,
                 size_t start_sample);

  const TraceStyle& style() const { return style_; }

 private:
  void DrawCalibration(double x0, double baseline);
  void DrawLead(const TraceLead& lead, double rate_hz, double start_s, double seconds,
                double x0, double baseline);
  void DrawLabel(const QString& text, double x, double top);
  void DrawFiducials(const FiducialMarks& marks, double seconds, double x0, double top,
                     double height);

  QPainter& painter_;
  PaperScale scale_;
  TraceStyle style_;
};

// The lead order a record prints in: the codes of `preferred` the record
// holds, then the record's own leads that `preferred` does not name, in the
// record's order.
std::vector<uint8_t> PrintOrder(const TraceSet& set, const std::vector<uint8_t>& preferred);

}  // namespace ecg::render
