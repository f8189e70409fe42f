// The component's own windows behind WindowServices: Qt file dialogs, the
// desktop's default viewer, and the recording run. Windows need a running Qt
// application; without one (a host without a user interface) the dialogs
// answer Cancel.

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGridLayout>
#include <QStringList>
#include <QUrl>

#include "interface/facade/facade_text.h"
#include "interface/facade/unattended_recording.h"
#include "interface/facade/window_services.h"

namespace ecg::facade {
namespace {

// "PDF Files (*.pdf)|*.pdf|JPEG Files (*.jpg)|*.jpg||" → Qt name filters.
QStringList NameFilters(const std::string& filter) {
  QStringList parts = QString::fromStdString(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].isEmpty()) break;
    filters << parts[i];
  }
  if (filters.isEmpty() && !filter.empty()) filters << QString::fromStdString(filter);
  return filters;
}

bool HaveWidgets() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

class ComponentWindows final : public WindowServices {
 public:
  int RunRecordingWindow(const RecordingSetup& setup) override {
    // The recording runs through the cable thread and saves the newest ten
    // seconds once they are there, as the window's Save does.
    return RunUnattendedRecording(setup, UnattendedOptions{});
  }

  bool OpenFileDialog(const std::string& default_extension, const std::string& file_name,
                      const std::string& filter, std::string* path) override {
    if (!HaveWidgets()) return false;
    QFileDialog dialog;
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QString::fromStdString(default_extension));
    dialog.setNameFilters(NameFilters(filter));
    dialog.selectFile(QString::fromStdString(file_name));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    *path = dialog.selectedFiles().front().toStdString();
    return true;
  }

  bool SaveAsDialog(const SaveAsRequest& request, SaveAsAnswer* answer) override {
    if (!HaveWidgets()) return false;
    QFileDialog dialog(nullptr, QString::fromStdString(request.title),
                       QString::fromStdString(request.folder));
    dialog.setOption(QFileDialog::DontUseNativeDialog);  // the check box lives in our dialog
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QString suffix = QString::fromStdString(request.defaultExtension);
    if (suffix.startsWith('.')) suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    dialog.setNameFilters(NameFilters(request.filter));
    if (!request.fileName.empty()) dialog.selectFile(QString::fromStdString(request.fileName));
    auto* view = new QCheckBox(QString::fromStdString(Text("Vie&w PDF File")), &dialog);
    view->setChecked(true);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
      grid->addWidget(view, grid->rowCount(), 0, 1, -1);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    const std::string path = dialog.selectedFiles().front().toStdString();
    if (request.nameBufferSize != 0 && path.size() >= request.nameBufferSize) return false;
    answer->path = path;
    answer->viewAfterSaving = view->isChecked();
    return true;
  }

  bool OpenWithShell(const std::string& path) override {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
  }

  // The review window, the settings sheet and the patient and About dialogs
  // are not part of this build yet: each says so instead of pretending.
  int Review(CECGInterface&, const ReviewRequest&) override {
    ShowError("The review window is not available in this build.");
    return 0;
  }
  int ReviewWindowCount() override { return 0; }
  int RunSettingsSheet(CECGDefaultSettings&, bool, CECGPrint*) override {
    ShowError("The settings sheet is not available in this build.");
    return 0;
  }
  int RunPatientDialog(CECGInterface&) override {
    ShowError("The patient details dialog is not available in this build.");
    return 0;
  }
  void RunAboutBox() override { ShowError("The About dialog is not available in this build."); }
};

}  // namespace

WindowServices& ComponentWindowServices() {
  static ComponentWindows windows;
  return windows;
}

}  // namespace ecg::facade
