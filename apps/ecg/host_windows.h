#pragma once
// The windows the ecg program lets the component facade open: the
// component's own, with what the command line adds. A recording can save by
// itself after some seconds and leave a picture of the window; the review
// window, the settings sheet and the patient dialog can be rendered to a PNG
// file instead of waiting for a person.

#include <string>

#include "interface/facade/window_services.h"

namespace ecg::app {

struct HostWindowRequests {
  int recordingSeconds = 0;        // > 0: the recording window saves by itself
  std::string recordingPicture;    // the recording window just before that save
  std::string reviewPicture;       // the review window at 1600 x 1000, then return
  std::string sheetPicture;        // the settings sheet, not run
  int sheetPage = 0;               //   with this page in front
  std::string patientPicture;      // the patient dialog, not run
};

class HostWindows final : public ecg::facade::WindowServices {
 public:
  explicit HostWindows(HostWindowRequests requests);
  ~HostWindows() override;
  HostWindows(const HostWindows&) = delete;
  HostWindows& operator=(const HostWindows&) = delete;

  // False once a requested picture could not be written.
  bool PicturesWritten() const { return pictures_written_; }

  int RunRecordingWindow(const ecg::facade::RecordingSetup& setup) override;
  bool OpenFileDialog(const std::string& default_extension, const std::string& file_name,
                      const std::string& filter, std::string* path) override;
  bool SaveAsDialog(const ecg::facade::SaveAsRequest& request, ecg::facade::SaveAsAnswer* answer) override;
  bool OpenWithShell(const std::string& path) override;
  int Review(CECGInterface& facade, const ecg::facade::ReviewRequest& request) override;
  int ReviewWindowCount(const CECGInterface& facade) override;
  int RunSettingsSheet(CECGDefaultSettings& options, bool remove_units, CECGPrint* engine) override;
  int RunPatientDialog(CECGInterface& facade) override;
  void RunAboutBox() override;

 private:
  HostWindowRequests requests_;
  ecg::facade::WindowServices& component_;
  ecg::facade::WindowServices* replaced_;
  bool pictures_written_ = true;
};

// After a command asked for a picture: its path on standard output and exit
// 0, or why it is missing on standard error and exit 2.
int PictureOutcome(const HostWindows& windows, const char* command, const std::string& path);

}  // namespace ecg::app
