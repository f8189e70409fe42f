#pragma once
// The calibration-pulse indicator beside the plot: a rectangular pulse
// 1 mV high and 0.1 s wide at the current scale, green on black.

#include <QWidget>

class CCalibrationPulseWnd : public QWidget {
  Q_OBJECT

 public:
  explicit CCalibrationPulseWnd(QWidget* parent = nullptr);
  // Pulse height and width in pixels.
  void SetPulse(double height_px, double width_px);
  double PulseHeight() const { return m_height; }
  double PulseWidth() const { return m_width; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  double m_height = 0;
  double m_width = 0;
};
