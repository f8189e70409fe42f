#include "recording/save_plot_wnd.h"

#include <QPainter>
#include <QPaintEvent>
#include <QPen>
#include <algorithm>
#include <cmath>

#include "acquisition/cable_frame.h"
#include "acquisition/ecg_settings.h"
#include "dsp/filter_settings.h"
#include "recording/plot_display_settings.h"
#include "recording/strip_drawing.h"

using ecg::acquisition::kFrameBytes;

CSavePlotWnd::CSavePlotWnd(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(200, 150);
}

CSavePlotWnd::~CSavePlotWnd() = default;

void CSavePlotWnd::SetSettings(CECGSettings* ecg, CPlotDisplaySettings* display) {
  m_ecg = ecg;
  m_display = display;
}

bool CSavePlotWnd::SetData(CCircularBuffer& ring, int /*channels*/, CFilterSettings& filters) {
  {
    std::lock_guard<std::recursive_mutex> lock(m_dataLock);
    m_channels = kChannels;
    const uint32_t bytes = ring.Size() / kFrameBytes * kFrameBytes;
    // One spare byte: a ring never takes a write of its whole capacity.
    if (!m_copy.Allocate(bytes + 1)) return false;
    m_offset = 0;
  }
  return ResetData(ring, filters);
}

bool CSavePlotWnd::ResetData(CCircularBuffer& ring, CFilterSettings& filters) {
  std::lock_guard<std::recursive_mutex> lock(m_dataLock);
  if (m_copy.Capacity() == 0) return false;
  m_copy.FlushAll();
  filters.Lock();
  filters.Reset();
  ring.ResetRead();
  ecg::acquisition::Frame frame{};
  auto& vector = filters.SampleVector();
  while (ring.Read(frame.data(), kFrameBytes)) {
    const auto raw = ecg::acquisition::UnpackFrame(frame.data());
    for (size_t c = 0; c < kChannels; ++c) {
      vector[c] = raw[c] >= ecg::acquisition::kStatusBase ? int16_t{2048} : static_cast<int16_t>(raw[c]);
    }
    filters.Filter();
    ecg::acquisition::FrameSamples out{};
    for (size_t c = 0; c < kChannels; ++c) {
      out[c] = raw[c] >= ecg::acquisition::kStatusBase
                   ? raw[c]
                   : static_cast<uint16_t>(std::clamp<int>(vector[c], 0, 4079));
    }
    const auto packed = ecg::acquisition::PackFrame(out);
    if (!m_copy.Write(packed.data(), kFrameBytes)) break;
  }
  filters.Unlock();
  m_offset = std::min(m_offset, Frames());
  update();
  return true;
}

void CSavePlotWnd::KillData() {
  std::lock_guard<std::recursive_mutex> lock(m_dataLock);
  m_copy.Deallocate();
  m_offset = 0;
}

bool CSavePlotWnd::InitPlotWnd() {
  if (m_ecg == nullptr || m_display == nullptr) return false;
  double pps25 = m_ecg->m_pixelsPerSample25;
  const double dx = m_ecg->GetSamplingRate() * pps25 * 0.2;
  const double dy = m_ecg->m_pixelsPerStep10 * 0.5 * 1000.0 / m_ecg->GetResolution();
  const int width = std::max(2 * std::max(1, this->width()), 2 * static_cast<int>(std::ceil(2 * dx)));
  m_grid = QImage(width, std::max(1, height()), QImage::Format_RGB32);
  if (m_grid.isNull()) return false;
  const uint32_t bg = m_display->m_backgroundColour;
  m_grid.fill(QColor((bg >> 16) & 0xFF, (bg >> 8) & 0xFF, bg & 0xFF));
  if (m_display->m_gridStyle == CPlotDisplaySettings::kGridNone) return true;
  QPainter p(&m_grid);
  const uint32_t g = m_display->m_gridColour;
  QPen pen(QColor((g >> 16) & 0xFF, (g >> 8) & 0xFF, g & 0xFF));
  pen.setStyle(m_display->m_gridStyle == CPlotDisplaySettings::kGridSolid ? Qt::SolidLine : Qt::DotLine);
  p.setPen(pen);
  if (dx >= 1.0) {
    for (double x = dx; x < m_grid.width(); x += dx) p.drawLine(QPointF(x, 0), QPointF(x, m_grid.height()));
  }
  if (dy >= 1.0) {
    for (double y = dy; y < m_grid.height(); y += dy) p.drawLine(QPointF(0, y), QPointF(m_grid.width(), y));
  }
  return true;
}

void CSavePlotWnd::KillPlotWnd() {
  KillData();
  m_grid = QImage();
}

uint32_t CSavePlotWnd::Frames() {
  std::lock_guard<std::recursive_mutex> lock(m_dataLock);
  return m_copy.Size() / kFrameBytes;
}

void CSavePlotWnd::ScrollToOffset(uint32_t frame) {
  {
    std::lock_guard<std::recursive_mutex> lock(m_dataLock);
    m_offset = std::min(frame, Frames());
  }
  update();
}

std::vector<uint8_t> CSavePlotWnd::ReadFrames(uint32_t first, uint32_t count) {
  std::lock_guard<std::recursive_mutex> lock(m_dataLock);
  std::vector<uint8_t> out;
  const uint32_t total = Frames();
  if (first >= total) return out;
  count = std::min(count, total - first);
  if (!m_copy.SetPeekOffset(first * kFrameBytes)) return out;
  out.resize(static_cast<size_t>(count) * kFrameBytes);
  if (!m_copy.Read(out.data(), static_cast<uint32_t>(out.size()))) out.clear();
  return out;
}

void CSavePlotWnd::Scale(double* pps, double* ppstep) const {
  if (m_ecg == nullptr) {
    *pps = 1.0;
    *ppstep = 1.0;
    return;
  }
  if (m_external) {
    m_ecg->GetTransformationValues(pps, ppstep);
  } else {
    // Ten seconds across the width, at the 25 mm/s to 10 mm/mV proportion.
    const double rate = m_ecg->GetSamplingRate();
    *pps = std::max(1, width()) / (rate * 10.0);
    const double px_per_mm_x = 1.0 / m_ecg->m_mmPerPixelX;
    const double px_per_mm_y = 1.0 / m_ecg->m_mmPerPixelY;
    *ppstep = rate * *pps / px_per_mm_x * 0.0004 * px_per_mm_y * m_ecg->GetResolution();
  }
  if (*pps <= 0) *pps = 1.0;
}

double CSavePlotWnd::PixelsPerSample() const {
  double a = 0, b = 0;
  Scale(&a, &b);
  return a;
}

double CSavePlotWnd::PixelsPerStep() const {
  double a = 0, b = 0;
  Scale(&a, &b);
  return b;
}

void CSavePlotWnd::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  if (m_display == nullptr || m_ecg == nullptr) return;
  double pps = 1.0, ppstep = 1.0;
  Scale(&pps, &ppstep);
  std::lock_guard<std::recursive_mutex> lock(m_dataLock);
  const double visible = width() / pps;
  double left = 0.0;
  uint32_t frames = static_cast<uint32_t>(visible);
  if (visible > kScreenFrames) {
    // More room than ten seconds: the surplus becomes a left offset.
    left = (visible - kScreenFrames) * pps;
    frames = kScreenFrames;
  }
  if (!m_grid.isNull()) {
    const double dx = m_ecg->GetSamplingRate() * m_ecg->m_pixelsPerSample25 * 0.2;
    const double shift = dx >= 1.0 ? std::fmod(m_offset * pps, dx) : 0.0;
    p.drawImage(QPointF(-shift, 0), m_grid);
  }
  const std::vector<uint8_t> bytes = ReadFrames(m_offset, frames);
  const QRectF area(left, 0, width() - left, height());
  ecg::recording::DrawStripTraces(p, bytes, *m_display, area,
                                  {pps, ppstep, m_ecg->GetResolution()});
  // Labels at the left edge of each row.
  const double spacing = ecg::recording::StripRowSpacing(*m_display, area);
  p.setPen(Qt::black);
  QFont font = p.font();
  font.setPixelSize(13);
  p.setFont(font);
  if (m_display->ThreeByFour()) {
    for (int c = 0; c < 4; ++c) {
      for (int r = 0; r < 3; ++r) {
        p.drawText(QPointF(left + c * area.width() / 4 + 10, (r + 0.5) * spacing + 13),
                   CPlotDisplaySettings::ChannelLabel(m_display->m_order[static_cast<size_t>(c * 3 + r)]));
      }
    }
    p.drawText(QPointF(left + 10, 3.5 * spacing + 13), CPlotDisplaySettings::ChannelLabel(m_display->m_rhythmLead));
  } else {
    for (int r = 0; r < m_display->Rows(); ++r) {
      p.drawText(QPointF(left + 10, (r + 0.5) * spacing + 13),
                 CPlotDisplaySettings::ChannelLabel(m_display->RowChannel(r)));
    }
  }
}

void CSavePlotWnd::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  InitPlotWnd();
}
