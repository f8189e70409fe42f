#pragma once
// The few places where the review window hands control to the desktop: a
// modal dialog, the save-as file chooser and opening a file with its viewer.
// Windows use Qt's; tests replace them so that nothing blocks or launches.

#include <QString>
#include <functional>

class QDialog;
class QWidget;

namespace ecg::review {

struct ReviewUiHooks {
  // Runs a modal dialog; returns QDialog::Accepted or Rejected.
  std::function<int(QDialog& dialog)> run_dialog;
  // The save-as dialog; an empty string when cancelled.
  std::function<QString(QWidget* parent, const QString& caption, const QString& suggested,
                        const QString& filter)>
      choose_save_file;
  // Opens a document with the desktop's viewer; false when that failed.
  std::function<bool(const QString& path)> open_file;
};

// The process-wide hooks (Qt's until replaced).
ReviewUiHooks& UiHooks();
// Qt's dialogs and the desktop's viewer.
ReviewUiHooks DefaultUiHooks();

}  // namespace ecg::review
