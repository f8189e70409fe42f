#pragma once
// Renders a window to a PNG file (documentation pictures and tests): the
// file is written beside its target and renamed over it, never half-written.

#include <string>

class QWidget;

namespace ecg::dialogs {

// Lays the widget out at its preferred size, shows it and writes the PNG.
// False when the picture cannot be made or written.
bool WriteWidgetPicture(QWidget& widget, const std::string& path);

}  // namespace ecg::dialogs
