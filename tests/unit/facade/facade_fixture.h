#pragma once
// A facade under test: documents, settings and COM ports in a fresh folder,
// the scripted prompt answering message boxes, and windows replaced by a
// scripted stand-in that records what it was asked.

#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "interface/facade/ecg_interface.h"
#include "interface/facade/window_services.h"
#include "platform/prompt.h"
#include "support/test_files.h"

namespace ecg::test {

class ScriptedWindows final : public ecg::facade::WindowServices {
 public:
  // What the recording window does: writes nothing by default and closes with `end_code`.
  std::function<int(const ecg::facade::RecordingSetup&)> recording;
  int end_code = 2;
  std::vector<ecg::facade::RecordingSetup> recordings;
  std::vector<ecg::facade::ReviewRequest> reviews;
  std::vector<ecg::facade::SaveAsRequest> save_requests;
  bool save_ok = false;
  ecg::facade::SaveAsAnswer save_answer;
  bool open_ok = false;
  std::string open_path;
  std::vector<std::string> shell_opened;
  bool shell_ok = true;
  int patient_result = 1;
  int about_shown = 0;

  int RunRecordingWindow(const ecg::facade::RecordingSetup& setup) override {
    recordings.push_back(setup);
    return recording ? recording(setup) : end_code;
  }
  bool OpenFileDialog(const std::string&, const std::string&, const std::string&,
                      std::string* path) override {
    if (open_ok) *path = open_path;
    return open_ok;
  }
  bool SaveAsDialog(const ecg::facade::SaveAsRequest& request,
                    ecg::facade::SaveAsAnswer* answer) override {
    save_requests.push_back(request);
    if (save_ok) *answer = save_answer;
    return save_ok;
  }
  bool OpenWithShell(const std::string& path) override {
    shell_opened.push_back(path);
    return shell_ok;
  }
  int Review(CECGInterface&, const ecg::facade::ReviewRequest& request) override {
    reviews.push_back(request);
    return 1;
  }
  int ReviewWindowCount(const CECGInterface&) override { return static_cast<int>(reviews.size()); }
  int RunSettingsSheet(CECGDefaultSettings&, bool, CECGPrint*) override { return 1; }
  int RunPatientDialog(CECGInterface&) override { return patient_result; }
  void RunAboutBox() override { ++about_shown; }
};

class FacadeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // One offscreen application for the binary: the report engine draws with fonts.
    if (QApplication::instance() == nullptr) {
      static int argc = 1;
      static char name[] = "test_facade";
      static char* argv[] = {name, nullptr};
      qputenv("QT_QPA_PLATFORM", "offscreen");
      static QApplication* app = new QApplication(argc, argv);
      (void)app;
    }
    setenv("ECG_DOCUMENTS_DIR", folder_.File("documents").c_str(), 1);
    setenv("XDG_CONFIG_HOME", folder_.File("config").c_str(), 1);
    setenv("XDG_CONFIG_DIRS", folder_.File("machine").c_str(), 1);
    setenv("ECG_COM_DIR", folder_.File("ports").c_str(), 1);
    previous_windows_ = ecg::facade::SetWindowServices(&windows_);
  }
  void TearDown() override { ecg::facade::SetWindowServices(previous_windows_); }

  TempFolder folder_;
  ecg::platform::ScriptedPrompt prompt_;
  ecg::platform::ScopedPrompt scoped_prompt_{&prompt_};
  ScriptedWindows windows_;

 private:
  ecg::facade::WindowServices* previous_windows_ = nullptr;
};

}  // namespace ecg::test
