#include "recording/plot_wnd.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "acquisition/ecg_settings.h"
#include "platform/clock.h"
#include "recording/lead_values.h"
#include "recording/plot_display_settings.h"

namespace {

QRgb Rgb(uint32_t rrggbb) { return qRgb((rrggbb >> 16) & 0xFF, (rrggbb >> 8) & 0xFF, rrggbb & 0xFF); }

}  // namespace

CPlotWnd::CPlotWnd(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(200, 150);
  for (auto& c : m_columns) c = {4079, 0, 0};
  m_lastY.fill(kNoY);
}

CPlotWnd::~CPlotWnd() = default;

void CPlotWnd::SetSettings(CECGSettings* ecg, CPlotDisplaySettings* display) {
  std::lock_guard<std::mutex> lock(m_displayLock);
  m_ecg = ecg;
  m_display = display;
}

bool CPlotWnd::InitPlotWnd() {
  std::lock_guard<std::mutex> lock(m_displayLock);
  const int w = std::max(1, width());
  const int h = std::max(1, height());
  m_grid = QImage(w, h, QImage::Format_RGB32);
  m_image = QImage(w, h, QImage::Format_RGB32);
  if (m_grid.isNull() || m_image.isNull()) return false;
  m_width = w;
  m_height = h;
  ResetDisplayLocked();
  SetUpGridLocked();
  CleanLocked();
  return true;
}

void CPlotWnd::SetUpGrid() {
  std::lock_guard<std::mutex> lock(m_displayLock);
  SetUpGridLocked();
}

void CPlotWnd::SetUpGridLocked() {
  if (m_grid.isNull() || m_display == nullptr || m_ecg == nullptr) return;
  m_grid.fill(Rgb(m_display->m_backgroundColour));
  if (m_display->m_gridStyle == CPlotDisplaySettings::kGridNone) return;
  QPainter p(&m_grid);
  QPen pen(QColor(Rgb(m_display->m_gridColour)));
  pen.setWidth(1);
  pen.setStyle(m_display->m_gridStyle == CPlotDisplaySettings::kGridSolid ? Qt::SolidLine
                                                                          : Qt::DotLine);
  p.setPen(pen);
  const double dx = m_ecg->GetSamplingRate() * m_ecg->m_pixelsPerSample25 * 0.2;
  const double dy = m_ecg->m_pixelsPerStep10 * 0.5 * 1000.0 / m_ecg->GetResolution();
  if (dx >= 1.0) {
    for (double x = dx; x < m_width; x += dx) p.drawLine(QPointF(x, 0), QPointF(x, m_height));
  }
  if (dy >= 1.0) {
    for (double y = dy; y < m_height; y += dy) p.drawLine(QPointF(0, y), QPointF(m_width, y));
  }
}

void CPlotWnd::Clean() {
  std::lock_guard<std::mutex> lock(m_displayLock);
  CleanLocked();
}

void CPlotWnd::CleanLocked() {
  if (!m_image.isNull() && !m_grid.isNull()) {
    std::memcpy(m_image.bits(), m_grid.constBits(), static_cast<size_t>(m_grid.sizeInBytes()));
  }
  m_accumulator = 0.0;
  for (auto& c : m_columns) c = {4079, 0, 0};
  m_lastY.fill(kNoY);
  m_rhythmLastY = kNoY;
  MarkDirty(0, m_width);
}

void CPlotWnd::ResetDisplay() {
  std::lock_guard<std::mutex> lock(m_displayLock);
  ResetDisplayLocked();
}

void CPlotWnd::ResetDisplayLocked() {
  m_sweepX = 0;
  m_rhythmX = 0;
  m_rows = m_display != nullptr ? m_display->Rows() : 12;
  m_rowSpacing = std::max(1, m_height / (m_rows + 1));
  if (m_display != nullptr && m_display->ThreeByFour()) m_rowSpacing = std::max(1, m_height / 5);
  m_lastY.fill(kNoY);
  m_rhythmLastY = kNoY;
  if (m_ecg != nullptr) m_ecg->GetTransformationValues(&m_pixelsPerSample, &m_pixelsPerStep);
  if (m_pixelsPerSample <= 0) m_pixelsPerSample = 1.0;
  m_samplesPerPixel = 1.0 / m_pixelsPerSample;
  m_eraseBar = std::max(kMinEraseBar, static_cast<int>(2.0 * m_pixelsPerSample));
  m_traceColour = m_display != nullptr ? Rgb(m_display->m_colours[0]) : qRgb(0, 0, 0);
}

void CPlotWnd::AddLeadData(const uint16_t* samples, const uint32_t* status, int channels,
                           int leads) {
  std::lock_guard<std::mutex> lock(m_displayLock);
  if (m_image.isNull() || m_display == nullptr || samples == nullptr || status == nullptr) return;
  channels = std::clamp(channels, 0, 8);
  for (int c = 0; c < channels; ++c) {
    Column& col = m_columns[static_cast<size_t>(c)];
    col.status |= status[c];
    if (status[c] == 0) {
      const int v = std::min<int>(samples[c], 4079);
      col.min = std::min(col.min, v);
      col.max = std::max(col.max, v);
    }
  }
  // Channels the cable does not send count as lead problems.
  for (int c = channels; c < 8; ++c) m_columns[static_cast<size_t>(c)].status |= ecg::recording::kNotSentStatusBit;
  m_accumulator += m_pixelsPerSample;
  if (m_accumulator < 1.0) return;
  const int step = static_cast<int>(m_accumulator);
  m_accumulator -= step;
  const int saved_rows = m_rows;
  m_rows = std::min(m_rows, std::max(leads, 0));
  DrawColumn(step);
  m_rows = saved_rows;
  for (int c = 0; c < channels; ++c) m_columns[static_cast<size_t>(c)] = {4079, 0, 0};
  const bool grid_of_four = m_display->ThreeByFour();
  m_sweepX += step;
  m_rhythmX += step;
  if (m_rhythmX >= m_width) {
    m_rhythmX = 0;
    m_rhythmLastY = kNoY;
  }
  if (m_sweepX >= (grid_of_four ? m_width / 4 : m_width)) {
    m_sweepX = 0;
    m_lastY.fill(kNoY);
  }
}

void CPlotWnd::RestoreEraseBar(int x) {
  if (x < 0 || x >= m_width) return;
  const int first = std::min(m_eraseBar, m_width - x);
  const int second = m_eraseBar - first;
  for (int y = 0; y < m_height; ++y) {
    auto* dst = reinterpret_cast<QRgb*>(m_image.scanLine(y));
    const auto* src = reinterpret_cast<const QRgb*>(m_grid.constScanLine(y));
    std::memcpy(dst + x, src + x, static_cast<size_t>(first) * sizeof(QRgb));
    if (second > 0) std::memcpy(dst, src, static_cast<size_t>(std::min(second, m_width)) * sizeof(QRgb));
  }
  MarkDirty(x, x + first);
  if (second > 0) MarkDirty(0, second);
}

void CPlotWnd::DrawColumn(int step) {
  if (m_display->ThreeByFour()) {
    const int quarter = m_width / 4;
    for (int c = 0; c < 4; ++c) RestoreEraseBar(c * quarter + m_sweepX);
    RestoreEraseBar(m_rhythmX);
    const bool visible = m_sweepX < quarter - 20;
    for (int c = 0; c < 4; ++c) {
      for (int r = 0; r < 3; ++r) {
        const int index = c * 3 + r;
        const int channel = std::clamp<int>(m_display->m_order[static_cast<size_t>(index)], 0, 11);
        DrawLead(c * quarter + m_sweepX, step, (r + 1) * m_rowSpacing, channel,
                 &m_lastY[static_cast<size_t>(index)], visible);
      }
    }
    DrawLead(m_rhythmX, step, 4 * m_rowSpacing, std::clamp(m_display->m_rhythmLead, 0, 11),
             &m_rhythmLastY, m_rhythmX < m_width);
    return;
  }
  RestoreEraseBar(m_sweepX);
  for (int r = 0; r < m_rows && r < 12; ++r) {
    DrawLead(m_sweepX, step, (r + 1) * m_rowSpacing, m_display->RowChannel(r),
             &m_lastY[static_cast<size_t>(r)], m_sweepX < m_width);
  }
}

void CPlotWnd::DrawLead(int x, int step, int y0, int channel, int* last_y, bool visible) {
  uint32_t status = 0;
  int lo = 0;
  int hi = 0;
  if (channel < 8) {
    const Column& col = m_columns[static_cast<size_t>(channel)];
    status = col.status;
    lo = col.min - 2048;
    hi = col.max - 2048;
  } else {
    const Column& i = m_columns[0];
    const Column& ii = m_columns[1];
    status = i.status | ii.status;
    lo = ecg::recording::DerivedLead(channel, i.min - 2048, ii.min - 2048);
    hi = ecg::recording::DerivedLead(channel, i.max - 2048, ii.max - 2048);
  }
  int y_min = 0;
  int y_max = 0;
  if ((status & ecg::recording::kGapStatusBits) != 0) {
    // A gap: nothing drawn, and no line joins the trace across it.
    *last_y = kNoY;
    return;
  }
  if ((status & ecg::recording::kCalibrationStatusBit) != 0) {
    y_min = y0;
    y_max = y0 - static_cast<int>(m_pixelsPerStep * 1000.0 / m_ecg->GetResolution());
  } else {
    y_min = y0 - static_cast<int>(lo * m_pixelsPerStep);
    y_max = y0 - static_cast<int>(hi * m_pixelsPerStep);
  }
  if (!visible) return;
  const QRgb colour =
      m_display->m_colours[static_cast<size_t>(channel)] != 0 ? Rgb(m_display->m_colours[static_cast<size_t>(channel)]) : m_traceColour;
  if (*last_y != kNoY) Line(x - step, *last_y, x, y_min, colour);
  VLine(x, y_min, y_max, colour);
  *last_y = y_max;
  MarkDirty(x - step, x + 1);
}

void CPlotWnd::Plot(int x, int y, QRgb colour) {
  if (x < 0 || x >= m_width || y < 0 || y >= m_height) return;
  reinterpret_cast<QRgb*>(m_image.scanLine(y))[x] = colour;
}

void CPlotWnd::VLine(int x, int y0, int y1, QRgb colour) {
  if (x < 0 || x >= m_width) return;
  if (y0 > y1) std::swap(y0, y1);
  y0 = std::max(y0, 0);
  y1 = std::min(y1, m_height - 1);
  for (int y = y0; y <= y1; ++y) reinterpret_cast<QRgb*>(m_image.scanLine(y))[x] = colour;
}

void CPlotWnd::Line(int x0, int y0, int x1, int y1, QRgb colour) {
  // Bresenham; the segments are short (one pixel column step), and points
  // off the image are skipped.
  const int dx = std::abs(x1 - x0);
  const int sx = x0 < x1 ? 1 : -1;
  const int dy = -std::abs(y1 - y0);
  const int sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  for (int guard = 0; guard < 100000; ++guard) {
    Plot(x0, y0, colour);
    if (x0 == x1 && y0 == y1) break;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

void CPlotWnd::MarkDirty(int x0, int x1) {
  m_dirtyMin = std::min(m_dirtyMin, std::max(0, x0));
  m_dirtyMax = std::max(m_dirtyMax, std::min(m_width, x1));
}

void CPlotWnd::SetLabelStatus(const std::array<uint32_t, 12>& status) {
  {
    std::lock_guard<std::mutex> lock(m_displayLock);
    if (status == m_labelStatus) return;
    m_labelStatus = status;
  }
  update();
}

void CPlotWnd::PostUpdate() {
  QRect rect;
  {
    std::lock_guard<std::mutex> lock(m_displayLock);
    if (m_dirtyMin >= m_dirtyMax) return;
    const uint64_t now = ecg::platform::MonotonicMilliseconds();
    if (now - m_lastRepaintMs < kRepaintIntervalMs) return;
    m_lastRepaintMs = now;
    rect = QRect(m_dirtyMin, 0, m_dirtyMax - m_dirtyMin, m_height);
    m_dirtyMin = INT_MAX;
    m_dirtyMax = INT_MIN;
  }
  // Labels sit at the left edge and at the column starts; they are painted
  // over the image by paintEvent whenever their area is repainted.
  QMetaObject::invokeMethod(this, [this, rect] { update(rect); }, Qt::QueuedConnection);
}

QImage CPlotWnd::Snapshot() {
  std::lock_guard<std::mutex> lock(m_displayLock);
  return m_image.copy();
}

int CPlotWnd::SweepX() {
  std::lock_guard<std::mutex> lock(m_displayLock);
  return m_sweepX;
}
int CPlotWnd::Rows() {
  std::lock_guard<std::mutex> lock(m_displayLock);
  return m_rows;
}
int CPlotWnd::RowSpacing() {
  std::lock_guard<std::mutex> lock(m_displayLock);
  return m_rowSpacing;
}
int CPlotWnd::EraseBarWidth() {
  std::lock_guard<std::mutex> lock(m_displayLock);
  return m_eraseBar;
}
double CPlotWnd::PixelsPerSample() {
  std::lock_guard<std::mutex> lock(m_displayLock);
  return m_pixelsPerSample;
}
double CPlotWnd::PixelsPerStep() {
  std::lock_guard<std::mutex> lock(m_displayLock);
  return m_pixelsPerStep;
}

void CPlotWnd::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  std::lock_guard<std::mutex> lock(m_displayLock);
  if (m_image.isNull()) {
    p.fillRect(rect(), Qt::white);
    return;
  }
  p.drawImage(event->rect(), m_image, event->rect());
  if (m_display == nullptr) return;
  // Labels, crossed while their lead has a problem.
  QFont font = p.font();
  font.setPixelSize(13);
  p.setFont(font);
  QPen cross_pen(Qt::red, 2);
  QPen absent_pen(Qt::gray, 2, Qt::DashLine);
  auto label = [&](int channel, int x, int y0) {
    const QString text = QString::fromLatin1(CPlotDisplaySettings::ChannelLabel(channel));
    const int top = y0 - m_rowSpacing / 2;
    p.setPen(Qt::black);
    p.drawText(QPoint(x, top + 13), text);
    uint32_t status = m_labelStatus[static_cast<size_t>(channel)];
    if (channel >= 8) status = m_labelStatus[0] | m_labelStatus[1];
    if ((status & ecg::recording::kGapStatusBits) != 0) {
      p.setPen((status & ecg::recording::kNotSentStatusBit) != 0 ? absent_pen : cross_pen);
      const QRect box(x - 10, top - 10, 40, 40);
      p.drawLine(box.topLeft(), box.bottomRight());
      p.drawLine(box.topRight(), box.bottomLeft());
    }
  };
  if (m_display->ThreeByFour()) {
    const int quarter = m_width / 4;
    for (int c = 0; c < 4; ++c) {
      for (int r = 0; r < 3; ++r) {
        label(std::clamp<int>(m_display->m_order[static_cast<size_t>(c * 3 + r)], 0, 11),
              c * quarter + 10, (r + 1) * m_rowSpacing);
      }
    }
    label(std::clamp(m_display->m_rhythmLead, 0, 11), 10, 4 * m_rowSpacing);
    return;
  }
  for (int r = 0; r < m_rows; ++r) label(m_display->RowChannel(r), 10, (r + 1) * m_rowSpacing);
}

void CPlotWnd::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  InitPlotWnd();
}

void CPlotWnd::mousePressEvent(QMouseEvent* event) {
  emit clicked();
  QWidget::mousePressEvent(event);
}
