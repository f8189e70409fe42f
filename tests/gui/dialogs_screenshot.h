#pragma once
// Dialog tests save what they show as PNG files under the build folder, for a
// person to look at.

#include <QString>

class QWidget;

namespace ecg::test {
// Lays the widget out, shows it (offscreen) and writes <name>.png into the
// screenshot folder; returns the file's path, empty when it could not be written.
QString SaveDialogScreenshot(QWidget& widget, const QString& name);
}  // namespace ecg::test
