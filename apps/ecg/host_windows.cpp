#include "host_windows.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QSaveFile>
#include <QTabWidget>
#include <cstdio>
#include <utility>

#include "commands.h"
#include "dialogs/ecg_patient_dialog.h"
#include "dialogs/settings_sheet.h"
#include "dialogs/widget_picture.h"
#include "interface/facade/ecg_interface.h"
#include "interface/facade/patient_info.h"
#include "review/main_frame.h"

namespace ecg::app {

namespace {

constexpr int kReviewPictureWidth = 1600;
constexpr int kReviewPictureHeight = 1000;

// Written beside the target and renamed over it: never a half-written picture.
bool WritePicture(QWidget& widget, const std::string& path) {
  const QImage image = widget.grab().toImage();
  QSaveFile out(QString::fromStdString(path));
  return !image.isNull() && out.open(QIODevice::WriteOnly) && image.save(&out, "PNG") && out.commit();
}

}  // namespace

HostWindows::HostWindows(HostWindowRequests requests)
    : requests_(std::move(requests)),
      component_(ecg::facade::ComponentWindowServices()),
      replaced_(ecg::facade::SetWindowServices(this)) {}

HostWindows::~HostWindows() { ecg::facade::SetWindowServices(replaced_); }

int HostWindows::RunRecordingWindow(const ecg::facade::RecordingSetup& setup) {
  ecg::facade::RecordingSetup ours = setup;
  if (requests_.recordingSeconds > 0) {
    ours.unattendedSeconds = requests_.recordingSeconds;
    ours.screenshotFile = requests_.recordingPicture;
  }
  return component_.RunRecordingWindow(ours);
}

bool HostWindows::OpenFileDialog(const std::string& default_extension, const std::string& file_name,
                                 const std::string& filter, std::string* path) {
  return component_.OpenFileDialog(default_extension, file_name, filter, path);
}

bool HostWindows::SaveAsDialog(const ecg::facade::SaveAsRequest& request, ecg::facade::SaveAsAnswer* answer) {
  return component_.SaveAsDialog(request, answer);
}

bool HostWindows::OpenWithShell(const std::string& path) { return component_.OpenWithShell(path); }

int HostWindows::Review(CECGInterface& facade, const ecg::facade::ReviewRequest& request) {
  if (requests_.reviewPicture.empty()) return component_.Review(facade, request);
  ecg::facade::ReviewRequest at_once = request;
  at_once.noWait = true;
  const int opened = component_.Review(facade, at_once);
  auto* frame = static_cast<CMainFrame*>(facade.m_pMainFrame);
  if (opened != 1 || frame == nullptr) return opened;
  frame->showNormal();
  frame->resize(kReviewPictureWidth, kReviewPictureHeight);
  QApplication::processEvents();
  if (!WritePicture(*frame, requests_.reviewPicture)) pictures_written_ = false;
  return opened;
}

int HostWindows::ReviewWindowCount(const CECGInterface& facade) { return component_.ReviewWindowCount(facade); }

int HostWindows::RunSettingsSheet(CECGDefaultSettings& options, bool remove_units, CECGPrint* engine) {
  if (requests_.sheetPicture.empty()) return component_.RunSettingsSheet(options, remove_units, engine);
  CSettingsSheet sheet(options, remove_units);
  sheet.Tabs()->setCurrentIndex(requests_.sheetPage);
  if (!ecg::dialogs::WriteWidgetPicture(sheet, requests_.sheetPicture)) pictures_written_ = false;
  return 0;  // not accepted: nothing changes
}

int HostWindows::RunPatientDialog(CECGInterface& facade) {
  if (requests_.patientPicture.empty()) return component_.RunPatientDialog(facade);
  CECGPatientDialog dialog(facade.m_settings.MeasurementSystem);
  dialog.Fill(ecg::facade::PatientBlockOf(facade));
  if (!ecg::dialogs::WriteWidgetPicture(dialog, requests_.patientPicture)) pictures_written_ = false;
  return 0;
}

void HostWindows::RunAboutBox() { component_.RunAboutBox(); }

int PictureOutcome(const HostWindows& windows, const char* command, const std::string& path) {
  if (!windows.PicturesWritten()) {
    std::fprintf(stderr, "ecg %s: %s: the picture cannot be written\n", command, path.c_str());
    return kExitUsage;
  }
  std::printf("%s\n", path.c_str());
  return kExitOk;
}

}  // namespace ecg::app
