#pragma once
// CTraceView: the review window's ECG display. It draws a record's traces
// with the trace painter at paper scale (screen millimetres from the
// display's physical resolution, times the zoom): the 12-lead 3x4 layout,
// stacked strips, one lead magnified, or a single rhythm strip; with or
// without grid, averaged complexes and fiducial marks; display filters
// applied to a copy of the samples. In measure mode two points dragged with
// the mouse give the time and amplitude between them.

#include <QColor>
#include <QPoint>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "render/trace_painter.h"
#include "render/trace_set.h"
#include "review/caliper.h"
#include "review/display_filtering.h"

class CTraceView : public QWidget {
  Q_OBJECT

 public:
  enum class Mode { kTwelveLead, kStrips, kZoom, kRhythm };
  enum class Cursor { kZoom, kMeasure };

  explicit CTraceView(QWidget* parent = nullptr);
  ~CTraceView() override;

  // The traces to show (shared with the other view of the window).
  void SetTraces(std::shared_ptr<const ecg::render::RecordTraces> traces);
  bool HasTraces() const;

  void SetMode(Mode mode);
  Mode mode() const { return m_mode; }
  // Lead codes in display order.
  void SetLeadOrder(const std::vector<uint8_t>& codes);
  const std::vector<uint8_t>& LeadOrder() const { return m_order; }
  // The lead the zoom layout and the rhythm strip show, and where strips
  // start: an index into the lead order.
  void SetSelectedLead(int index);
  int SelectedLead() const { return m_selected; }
  uint8_t SelectedLeadCode() const;
  void NextLead();
  void PreviousLead();
  // Leads stacked at once in the strips layout (2, 3, 6, 9 or 12).
  void SetLeadsShown(int count);
  int LeadsShown() const { return m_leadsShown; }

  // Zoom factor 1, 2, 4 or 8.
  void ZoomIn();
  void ZoomOut();
  double ZoomFactor() const { return m_zoom; }

  void SetSpeed(double mm_s);
  void SetSensitivity(double mm_mv);
  double Speed() const { return m_style.speed_mm_s; }
  double Sensitivity() const { return m_style.gain_mm_mv; }
  void SetShowGrid(bool on);
  bool ShowGrid() const { return m_style.draw_grid; }
  void SetShowAveraged(bool on);
  bool ShowAveraged() const { return m_averaged; }
  void SetShowMeasurements(bool on);
  bool ShowMeasurements() const { return m_style.draw_fiducials; }
  // Colour scheme 0 black on red, 1 green on black, 2 blue on grey; grid
  // style 0 solid lines, 2 dotted lines, 5 none.
  void SetColors(int scheme, int grid_style);
  void SetDisplayFilters(const ecg::review::DisplayFilterChoice& filters);
  const ecg::review::DisplayFilterChoice& DisplayFilters() const { return m_filters; }

  void SetCursorMode(Cursor cursor) { m_cursor = cursor; }
  Cursor CursorMode() const { return m_cursor; }
  void SetCaliperUnits(ecg::review::CaliperUnits units);
  ecg::review::CaliperUnits CaliperUnitsShown() const { return m_units; }
  // Screen pixels per paper millimetre at zoom 1 (0: from the screen).
  void SetPixelsPerMm(double px_per_mm);

  // The layout code drawn in the current mode.
  int LayoutCode() const;
  // The measuring cursor's last reading; none until two points were set.
  std::optional<ecg::review::CaliperReading> Caliper() const { return m_reading; }
  // Sets the two caliper points in widget pixels (what a drag does).
  void SetCaliperPoints(QPoint first, QPoint second);

  // Horizontal scrolling. The time shown follows the width of the view at
  // the true paper speed; the first sample drawn moves over the record.
  // Layouts of median beats always start at their beginning.
  size_t StartSample() const { return m_start; }
  // Clamped to [0, MaxStartSample()]; emits startChanged when it moved.
  void SetStartSample(size_t sample);
  // Samples one column of the layout shows at the view's width.
  size_t VisibleSamples() const;
  size_t TotalSamples() const;
  size_t MaxStartSample() const;
  bool Scrolls() const;
  // Seconds from the record's start at widget x (strip layouts).
  double TimeAt(int x) const;

  QSize sizeHint() const override { return {900, 420}; }

 signals:
  // The first sample drawn changed (keys, or a change of the visible span).
  void startChanged(qulonglong sample);
  // The visible span or the record's length changed.
  void scrollRangeChanged();

  // A lead was clicked in zoom-cursor mode (index into the lead order).
  void leadClicked(int index);
  void caliperChanged(const QString& text);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QRectF TraceArea() const;
  // After anything that changes the span: keeps the start inside the record.
  void SpanChanged();
  ecg::render::PaperScale Scale() const;
  void Refilter();
  int LeadIndexAt(QPoint point) const;

  std::shared_ptr<const ecg::render::RecordTraces> m_source;
  ecg::render::RecordTraces m_shown;  // the filtered copy that is drawn
  Mode m_mode = Mode::kTwelveLead;
  std::vector<uint8_t> m_order = {1, 2, 61, 62, 63, 64, 3, 4, 5, 6, 7, 8};
  int m_selected = 1;
  int m_leadsShown = 12;
  double m_zoom = 1.0;
  bool m_averaged = false;
  ecg::render::TraceStyle m_style;
  QColor m_background{Qt::white};
  ecg::review::DisplayFilterChoice m_filters;
  Cursor m_cursor = Cursor::kZoom;
  ecg::review::CaliperUnits m_units = ecg::review::CaliperUnits::kMicrovolts;
  double m_pxPerMm = 0.0;
  std::optional<QPoint> m_caliperA, m_caliperB;
  std::optional<ecg::review::CaliperReading> m_reading;
  bool m_dragging = false;
  size_t m_start = 0;
};
