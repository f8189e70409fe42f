#include "recording/calibration_pulse_wnd.h"

#include <QPainter>
#include <QPolygonF>

CCalibrationPulseWnd::CCalibrationPulseWnd(QWidget* parent) : QWidget(parent) {
  setFixedWidth(40);
}

void CCalibrationPulseWnd::SetPulse(double height_px, double width_px) {
  m_height = height_px;
  m_width = width_px;
  update();
}

void CCalibrationPulseWnd::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  p.fillRect(rect(), Qt::black);
  p.setPen(QPen(Qt::green, 1));
  const double base = height() / 2.0 + m_height / 2.0;
  const double x0 = (width() - m_width) / 2.0;
  const QPolygonF pulse{{0, base},
                        {x0, base},
                        {x0, base - m_height},
                        {x0 + m_width, base - m_height},
                        {x0 + m_width, base},
                        {static_cast<double>(width()), base}};
  p.drawPolyline(pulse);
}
