#include "review/trace_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>

#include "render/trace_layout.h"

using ecg::render::PaperScale;

namespace {

constexpr double kMaxZoom = 8.0;
constexpr int kMarginPx = 4;

struct Scheme {
  QColor background, major, minor, trace;
};

// 0 black on red, 1 green on black, 2 blue on grey.
Scheme SchemeOf(int code) {
  switch (code) {
    case 1: return {QColor(0, 0, 0), QColor(0, 110, 0), QColor(0, 60, 0), QColor(0, 255, 0)};
    case 2: return {QColor(232, 232, 232), QColor(150, 150, 160), QColor(200, 200, 208), QColor(0, 0, 170)};
    default: return {QColor(255, 255, 255), QColor(255, 48, 48), QColor(255, 176, 176), QColor(0, 0, 0)};
  }
}

}  // namespace

CTraceView::CTraceView(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(false);
  setFocusPolicy(Qt::StrongFocus);
  setMinimumHeight(120);
  SetColors(0, 0);
}

CTraceView::~CTraceView() = default;

void CTraceView::SetTraces(std::shared_ptr<const ecg::render::RecordTraces> traces) {
  m_source = std::move(traces);
  m_caliperA.reset();
  m_caliperB.reset();
  m_reading.reset();
  m_start = 0;
  Refilter();
  SpanChanged();
}

bool CTraceView::HasTraces() const { return m_source && !m_source->rhythm.empty(); }

void CTraceView::Refilter() {
  if (m_source) {
    m_shown.rhythm = ecg::review::FilterForDisplay(m_source->rhythm, m_filters);
    m_shown.median = ecg::review::FilterForDisplay(m_source->median, m_filters);
    m_shown.fiducials = m_source->fiducials;
  } else {
    m_shown = {};
  }
  update();
}

void CTraceView::SetMode(Mode mode) {
  m_mode = mode;
  SpanChanged();
  update();
}

void CTraceView::SetLeadOrder(const std::vector<uint8_t>& codes) {
  if (!codes.empty()) m_order = codes;
  m_selected = std::clamp(m_selected, 0, static_cast<int>(m_order.size()) - 1);
  update();
}

void CTraceView::SetSelectedLead(int index) {
  if (index < 0 || index >= static_cast<int>(m_order.size())) return;
  m_selected = index;
  update();
}

uint8_t CTraceView::SelectedLeadCode() const { return m_order[static_cast<size_t>(m_selected)]; }

void CTraceView::NextLead() { SetSelectedLead((m_selected + 1) % static_cast<int>(m_order.size())); }

void CTraceView::PreviousLead() {
  const int n = static_cast<int>(m_order.size());
  SetSelectedLead((m_selected + n - 1) % n);
}

void CTraceView::SetLeadsShown(int count) {
  m_leadsShown = std::clamp(count, 1, 12);
  update();
}

void CTraceView::ZoomIn() {
  m_zoom = std::min(kMaxZoom, m_zoom * 2.0);
  SpanChanged();
  update();
}

void CTraceView::ZoomOut() {
  m_zoom = std::max(1.0, m_zoom / 2.0);
  SpanChanged();
  update();
}

void CTraceView::SetSpeed(double mm_s) {
  if (mm_s > 0) m_style.speed_mm_s = mm_s;
  SpanChanged();
  update();
}

void CTraceView::SetSensitivity(double mm_mv) {
  if (mm_mv > 0) m_style.gain_mm_mv = mm_mv;
  update();
}

void CTraceView::SetShowGrid(bool on) {
  m_style.draw_grid = on;
  update();
}

void CTraceView::SetShowAveraged(bool on) {
  m_averaged = on;
  SpanChanged();
  update();
}

void CTraceView::SetShowMeasurements(bool on) {
  m_style.draw_fiducials = on;
  update();
}

void CTraceView::SetColors(int scheme, int grid_style) {
  const Scheme s = SchemeOf(scheme);
  m_background = s.background;
  m_style.trace = s.trace;
  m_style.text = s.trace;
  m_style.grid.major = s.major;
  m_style.grid.minor = s.minor;
  switch (grid_style) {
    case 5:  // no grid: the toggle stays as the user set it, the paper is plain
      m_style.grid.major = s.background;
      m_style.grid.minor_style = ecg::render::MinorGrid::kNone;
      break;
    case 2: m_style.grid.minor_style = ecg::render::MinorGrid::kDotted; break;
    default: m_style.grid.minor_style = ecg::render::MinorGrid::kLines; break;
  }
  update();
}

void CTraceView::SetDisplayFilters(const ecg::review::DisplayFilterChoice& filters) {
  m_filters = filters;
  Refilter();
}

void CTraceView::SetCaliperUnits(ecg::review::CaliperUnits units) {
  m_units = units;
  if (m_reading) emit caliperChanged(ecg::review::CaliperText(*m_reading, m_units));
  update();
}

void CTraceView::SetPixelsPerMm(double px_per_mm) {
  m_pxPerMm = px_per_mm;
  SpanChanged();
  update();
}

PaperScale CTraceView::Scale() const {
  double base = m_pxPerMm;
  if (base <= 0) {
    const QScreen* s = screen();
    const double dpi = s != nullptr && s->physicalDotsPerInchX() > 1 ? s->physicalDotsPerInchX() : 96.0;
    base = dpi / PaperScale::kMmPerInch;
  }
  return {base * m_zoom, base * m_zoom};
}

int CTraceView::LayoutCode() const {
  switch (m_mode) {
    case Mode::kTwelveLead: return m_averaged ? ecg::render::kLayoutAveraged : ecg::render::kLayout3x4;
    case Mode::kZoom: return m_averaged ? ecg::render::kLayoutAveragedZoom : ecg::render::kLayoutZoom;
    case Mode::kStrips:
    case Mode::kRhythm: break;
  }
  return ecg::render::kLayoutStrip;
}

void CTraceView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), m_background);
  if (!HasTraces()) {
    painter.setPen(m_style.text);
    painter.drawText(rect(), Qt::AlignCenter, tr("No ECG data"));
    return;
  }
  painter.setRenderHint(QPainter::Antialiasing, true);
  const QRectF area = TraceArea();
  const size_t start = Scrolls() ? m_start : 0;
  ecg::render::TracePainter tracer(painter, Scale(), m_style);
  const int layout = LayoutCode();
  if (m_mode == Mode::kStrips) {
    const int n = std::min<int>(m_leadsShown, static_cast<int>(m_order.size()));
    const double row = area.height() / std::max(1, n);
    for (int i = 0; i < n; ++i) {
      const uint8_t code = m_order[static_cast<size_t>((m_selected + i) % static_cast<int>(m_order.size()))];
      tracer.DrawStrip(QRectF(area.left(), area.top() + i * row, area.width(), row), m_shown, code, start);
    }
  } else if (m_mode == Mode::kRhythm) {
    tracer.DrawStrip(area, m_shown, SelectedLeadCode(), start);
  } else {
    tracer.DrawLayout(area, layout, m_shown, m_order, m_mode == Mode::kZoom ? m_selected : 0, start);
  }
  if (m_caliperA) {
    QPen pen(QColor(0, 120, 255));
    pen.setWidthF(1.5);
    painter.setPen(pen);
    const QPoint a = *m_caliperA;
    const QPoint b = m_caliperB.value_or(a);
    painter.drawLine(QPoint(a.x(), 0), QPoint(a.x(), height()));
    painter.drawLine(QPoint(b.x(), 0), QPoint(b.x(), height()));
    painter.drawLine(QPoint(a.x(), a.y()), QPoint(b.x(), a.y()));
    painter.drawLine(QPoint(b.x(), a.y()), b);
    if (m_reading) {
      const QString text = ecg::review::CaliperText(*m_reading, m_units);
      const QRect box = painter.fontMetrics().boundingRect(text).adjusted(-4, -2, 4, 2);
      const QPoint at(std::max(a.x(), b.x()) + 6, std::min(a.y(), b.y()) - 6);
      const QRect placed = box.translated(at - box.bottomLeft());
      painter.fillRect(placed, QColor(255, 255, 224));
      painter.setPen(Qt::black);
      painter.drawText(placed, Qt::AlignCenter, text);
    }
  }
}

void CTraceView::SetCaliperPoints(QPoint first, QPoint second) {
  m_caliperA = first;
  m_caliperB = second;
  const PaperScale scale = Scale();
  m_reading = ecg::review::ReadCaliper(scale.MmX(second.x() - first.x()), scale.MmY(second.y() - first.y()),
                                       m_style.speed_mm_s, m_style.gain_mm_mv);
  emit caliperChanged(ecg::review::CaliperText(*m_reading, m_units));
  update();
}

int CTraceView::LeadIndexAt(QPoint point) const {
  if (!HasTraces()) return -1;
  const PaperScale scale = Scale();
  const QRectF area = TraceArea();
  const double x_mm = scale.MmX(point.x() - area.left());
  const double y_mm = scale.MmY(point.y() - area.top());
  if (m_mode == Mode::kStrips) {
    const int n = std::min<int>(m_leadsShown, static_cast<int>(m_order.size()));
    const int row = static_cast<int>((point.y() - area.top()) / (area.height() / std::max(1, n)));
    if (row < 0 || row >= n) return -1;
    return (m_selected + row) % static_cast<int>(m_order.size());
  }
  if (m_mode != Mode::kTwelveLead) return m_selected;
  const auto plan = ecg::render::PlanLayout(LayoutCode(), scale.MmX(area.width()), scale.MmY(area.height()),
                                            m_style.speed_mm_s, 0.0);
  for (const auto& cell : plan.cells) {
    if (x_mm >= cell.x_mm && x_mm < cell.x_mm + cell.width_mm && y_mm >= cell.row_top_mm &&
        y_mm < cell.row_top_mm + cell.row_height_mm) {
      return cell.slot < static_cast<int>(m_order.size()) ? cell.slot : -1;
    }
  }
  return -1;
}

void CTraceView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = event->position().toPoint();
  if (m_cursor == Cursor::kMeasure) {
    m_dragging = true;
    SetCaliperPoints(at, at);
    return;
  }
  const int index = LeadIndexAt(at);
  if (index >= 0) emit leadClicked(index);
}

void CTraceView::mouseMoveEvent(QMouseEvent* event) {
  if (m_dragging && m_caliperA) SetCaliperPoints(*m_caliperA, event->position().toPoint());
}

void CTraceView::mouseReleaseEvent(QMouseEvent* event) {
  if (m_dragging && m_caliperA) SetCaliperPoints(*m_caliperA, event->position().toPoint());
  m_dragging = false;
}

QRectF CTraceView::TraceArea() const {
  return QRectF(rect()).adjusted(kMarginPx, kMarginPx, -kMarginPx, -kMarginPx);
}

bool CTraceView::Scrolls() const {
  const int layout = LayoutCode();
  return HasTraces() && layout != ecg::render::kLayoutAveraged && layout != ecg::render::kLayoutAveragedZoom;
}

size_t CTraceView::TotalSamples() const { return m_shown.rhythm.MaxSamples(); }

size_t CTraceView::VisibleSamples() const {
  if (!HasTraces()) return 0;
  const PaperScale scale = Scale();
  const QRectF area = TraceArea();
  const auto plan = ecg::render::PlanLayout(LayoutCode(), scale.MmX(area.width()), scale.MmY(area.height()),
                                            m_style.speed_mm_s, 0.0);
  if (plan.cells.empty()) return 0;
  const double samples = plan.cells.front().seconds * m_shown.rhythm.rate_hz;
  return samples > 0 ? static_cast<size_t>(samples) : 0;
}

size_t CTraceView::MaxStartSample() const {
  if (!Scrolls()) return 0;
  const size_t total = TotalSamples();
  const size_t visible = VisibleSamples();
  return total > visible ? total - visible : 0;
}

void CTraceView::SetStartSample(size_t sample) {
  const size_t clamped = std::min(sample, MaxStartSample());
  if (clamped == m_start) return;
  m_start = clamped;
  // The caliper points were set on the waves that have moved away.
  m_caliperA.reset();
  m_caliperB.reset();
  m_reading.reset();
  update();
  emit startChanged(static_cast<qulonglong>(m_start));
}

void CTraceView::SpanChanged() {
  emit scrollRangeChanged();
  SetStartSample(m_start);
}

double CTraceView::TimeAt(int x) const {
  const double rate = m_shown.rhythm.rate_hz;
  if (rate <= 0 || m_style.speed_mm_s <= 0) return 0.0;
  const PaperScale scale = Scale();
  const QRectF area = TraceArea();
  const auto plan = ecg::render::PlanLayout(LayoutCode(), scale.MmX(area.width()), scale.MmY(area.height()),
                                            m_style.speed_mm_s, 0.0);
  const double mm = scale.MmX(x - area.left()) - plan.trace_left_mm;
  const size_t start = Scrolls() ? m_start : 0;
  return static_cast<double>(start) / rate + mm / m_style.speed_mm_s;
}

void CTraceView::keyPressEvent(QKeyEvent* event) {
  const size_t page = std::max<size_t>(1, VisibleSamples());
  const size_t step = std::max<size_t>(1, page / 10);
  switch (event->key()) {
    case Qt::Key_Left: SetStartSample(m_start > step ? m_start - step : 0); break;
    case Qt::Key_Right: SetStartSample(m_start + step); break;
    case Qt::Key_PageUp: SetStartSample(m_start > page ? m_start - page : 0); break;
    case Qt::Key_PageDown: SetStartSample(m_start + page); break;
    case Qt::Key_Home: SetStartSample(0); break;
    case Qt::Key_End: SetStartSample(MaxStartSample()); break;
    default: QWidget::keyPressEvent(event); return;
  }
  event->accept();
}

void CTraceView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  SpanChanged();
}
