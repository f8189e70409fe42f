#include "dialogs_screenshot.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>

namespace ecg::test {

QString SaveDialogScreenshot(QWidget& widget, const QString& name) {
  const QString folder = QStringLiteral(ECG_DIALOGS_SCREENSHOT_DIR);
  QDir().mkpath(folder);
  widget.adjustSize();
  widget.show();
  QApplication::processEvents();
  const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
  return widget.grab().save(path, "PNG") ? path : QString();
}

}  // namespace ecg::test
