#pragma once
// The screen's millimetres per pixel, from the physical size Qt reports for
// the screen a widget is on, for the paper scale of the live plot and the
// strip window (CECGSettings::SetDevice).

class CECGSettings;
class QWidget;

namespace ecg::recording {

struct ScreenMillimetres {
  double mm_per_px_x = 25.4 / 96.0;
  double mm_per_px_y = 25.4 / 96.0;
};

// Physical size divided by the pixel count of the widget's screen (or the
// primary screen); 96 pixels per inch when the screen reports no size or an
// implausible one (under 50 or over 600 pixels per inch).
ScreenMillimetres ScreenMmPerPixel(const QWidget* widget);

// Sets the device of `ecg` from the widget's screen.
void ApplyScreenTo(CECGSettings& ecg, const QWidget* widget);

}  // namespace ecg::recording
