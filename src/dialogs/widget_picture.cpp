#include "dialogs/widget_picture.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QSaveFile>
#include <QWidget>

namespace ecg::dialogs {

bool WriteWidgetPicture(QWidget& widget, const std::string& path) {
  widget.adjustSize();
  widget.show();
  QApplication::processEvents();
  const QImage image = widget.grab().toImage();
  QSaveFile out(QString::fromStdString(path));
  return !image.isNull() && out.open(QIODevice::WriteOnly) && image.save(&out, "PNG") &&
         out.commit();
}

}  // namespace ecg::dialogs
