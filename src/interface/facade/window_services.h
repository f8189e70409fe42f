#pragma once
// The windows and dialogs the facade opens, behind one interface: the
// recording window, the file dialogs, the shell, the review window, the
// settings sheet, the patient and About dialogs. The component installs its
// Qt windows; tests and unattended runs install their own.

#include <string>

#include "interface/facade/recording_setup.h"

class CECGInterface;
class CECGDefaultSettings;
class CECGPrint;

namespace ecg::facade {

struct SaveAsRequest {
  std::string title;             // "Save PDF File As"
  std::string defaultExtension;  // ".pdf"
  std::string fileName;          // initial file name
  std::string folder;            // initial folder
  std::string filter;            // "PDF Files (*.pdf)|*.pdf|...||"
  size_t nameBufferSize = 0;     // the longest path the dialog may return
};

struct SaveAsAnswer {
  std::string path;
  bool viewAfterSaving = false;  // the "Vie&w PDF File" check box
};

struct ReviewRequest {
  std::string file;
  bool readOnly = false;
  bool noWait = false;
};

class WindowServices {
 public:
  virtual ~WindowServices() = default;

  // Runs the recording window modally and returns its end code (1 save,
  // 2 cancel, 3 initialisation failure, 102/103/104 save and review/print).
  virtual int RunRecordingWindow(const RecordingSetup& setup) = 0;
  // File-open dialog; true with the chosen path on OK.
  virtual bool OpenFileDialog(const std::string& default_extension, const std::string& file_name,
                              const std::string& filter, std::string* path) = 0;
  virtual bool SaveAsDialog(const SaveAsRequest& request, SaveAsAnswer* answer) = 0;
  // Opens a file with the desktop's default action; false when that failed.
  virtual bool OpenWithShell(const std::string& path) = 0;

  // Review window: opens `request.file` for `facade` and, unless noWait,
  // returns only once the review frame has closed. 1 when it opened.
  virtual int Review(CECGInterface& facade, const ReviewRequest& request) = 0;
  virtual int ReviewWindowCount(const CECGInterface& facade) = 0;
  // The settings sheet over `options`; its result (1 OK).
  virtual int RunSettingsSheet(CECGDefaultSettings& options, bool remove_units,
                               CECGPrint* engine) = 0;
  // The patient details dialog over the facade's patient members; 1 OK.
  virtual int RunPatientDialog(CECGInterface& facade) = 0;
  virtual void RunAboutBox() = 0;
};

// The services in use: the installed ones, else the component's own.
WindowServices& CurrentWindowServices();
// Installs `services` (not owned; null restores the component's own) and
// returns what it replaced.
WindowServices* SetWindowServices(WindowServices* services);

// The component's own windows (qt_window_services.cpp).
WindowServices& ComponentWindowServices();

}  // namespace ecg::facade
