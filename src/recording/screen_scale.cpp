#include "recording/screen_scale.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "acquisition/ecg_settings.h"

namespace ecg::recording {

namespace {

double Plausible(double mm, int pixels, double fallback) {
  if (mm <= 0 || pixels <= 0) return fallback;
  const double per_inch = pixels / (mm / 25.4);
  if (per_inch < 50 || per_inch > 600) return fallback;
  return mm / pixels;
}

}  // namespace

ScreenMillimetres ScreenMmPerPixel(const QWidget* widget) {
  ScreenMillimetres out;
  const QScreen* screen = widget != nullptr ? widget->screen() : nullptr;
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return out;
  const QSizeF mm = screen->physicalSize();
  const QSize px = screen->geometry().size();
  out.mm_per_px_x = Plausible(mm.width(), px.width(), out.mm_per_px_x);
  out.mm_per_px_y = Plausible(mm.height(), px.height(), out.mm_per_px_y);
  return out;
}

void ApplyScreenTo(CECGSettings& ecg, const QWidget* widget) {
  const ScreenMillimetres mm = ScreenMmPerPixel(widget);
  ecg.SetDevice(mm.mm_per_px_x, mm.mm_per_px_y);
}

}  // namespace ecg::recording
