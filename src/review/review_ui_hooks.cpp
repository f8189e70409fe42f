#include "review/review_ui_hooks.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QUrl>

namespace ecg::review {

ReviewUiHooks DefaultUiHooks() {
  ReviewUiHooks hooks;
  hooks.run_dialog = [](QDialog& dialog) { return dialog.exec(); };
  hooks.choose_save_file = [](QWidget* parent, const QString& caption, const QString& suggested,
                              const QString& filter) {
    return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
  };
  hooks.open_file = [](const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); };
  return hooks;
}

ReviewUiHooks& UiHooks() {
  static ReviewUiHooks hooks = DefaultUiHooks();
  return hooks;
}

}  // namespace ecg::review
