#pragma once
// What the review window tests share: a fake host that records every call,
// records written to a temporary folder, the hooks that keep dialogs and
// viewers from blocking, and reading a file's bytes.

#include <QDialog>
#include <QString>
#include <QTemporaryDir>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "review/review_host.h"
#include "review/review_ui_hooks.h"
#include "scp/section1_model.h"
#include "support/section_builders.h"

namespace ecg::test {

class FakeReviewHost final : public IReviewHost {
 public:
  std::vector<std::string> calls;
  int print_options_answer = 1;
  int edit_patient_answer = 1;
  int print_to_file_answer = 1;
  std::string last_output;
  std::string pdf_name;
  CPatientInfo edited;

  int Analyse(const char* file, bool updatePatient) override {
    calls.push_back(std::string("Analyse ") + file + (updatePatient ? " patient" : ""));
    return 0;
  }
  int EditPatient(const CPatientInfo& fromRecord) override {
    calls.push_back("EditPatient");
    edited.Set(&fromRecord);
    return edit_patient_answer;
  }
  int ShowPrintOptionsDialog(bool setup, int leads, bool apply) override {
    calls.push_back("ShowPrintOptionsDialog " + std::to_string(setup) + " " + std::to_string(leads) + " " +
                    std::to_string(apply));
    return print_options_answer;
  }
  int SavePrintOptions(const char* path) override {
    calls.push_back(std::string("SavePrintOptions ") + path);
    return 1;
  }
  void ClearReports() override { calls.push_back("ClearReports"); }
  int AddReport(const char* file) override {
    calls.push_back(std::string("AddReport ") + file);
    return 1;
  }
  int Print() override {
    calls.push_back("Print");
    return 1;
  }
  int PrintPreview() override {
    calls.push_back("PrintPreview");
    return 1;
  }
  int ChoosePrinter() override {
    calls.push_back("ChoosePrinter");
    return 1;
  }
  int PrintToFile(const char* path) override {
    calls.push_back(std::string("PrintToFile ") + path);
    return 1;
  }
  int PrintSCPFileToFile(const char* file) override {
    calls.push_back(std::string("PrintSCPFileToFile ") + file);
    return print_to_file_answer;
  }
  void SetPDFFileName(const char* name) override {
    pdf_name = name;
    calls.push_back(std::string("SetPDFFileName ") + name);
  }
  std::string LastOutputFile() const override { return last_output; }
  int ExportToXml(const char* file, const char* xml) override {
    calls.push_back(std::string("ExportToXml ") + file + " " + xml);
    return 1;
  }
  void AboutBox() override { calls.push_back("AboutBox"); }

  bool Called(const std::string& call) const {
    for (const auto& c : calls) {
      if (c == call) return true;
    }
    return false;
  }
  bool CalledStartingWith(const std::string& prefix) const {
    for (const auto& c : calls) {
      if (c.rfind(prefix, 0) == 0) return true;
    }
    return false;
  }
};

// Dialogs accepted at once, a fixed save-as answer, a viewer that records
// what it was asked to open; restored when the object goes.
class ScopedReviewHooks {
 public:
  ScopedReviewHooks() : saved_(ecg::review::UiHooks()) {
    auto& hooks = ecg::review::UiHooks();
    hooks.run_dialog = [this](QDialog& dialog) {
      dialogs.push_back(dialog.windowTitle());
      return static_cast<int>(dialog_answer);
    };
    hooks.choose_save_file = [this](QWidget*, const QString&, const QString& suggested, const QString& filter) {
      suggestions.push_back(suggested);
      filters.push_back(filter);
      return save_answer;
    };
    hooks.open_file = [this](const QString& path) {
      opened.push_back(path);
      return open_answer;
    };
  }
  ~ScopedReviewHooks() { ecg::review::UiHooks() = saved_; }
  ScopedReviewHooks(const ScopedReviewHooks&) = delete;
  ScopedReviewHooks& operator=(const ScopedReviewHooks&) = delete;

  QDialog::DialogCode dialog_answer = QDialog::Accepted;
  QString save_answer;
  bool open_answer = true;
  std::vector<QString> dialogs, suggestions, filters, opened;

 private:
  ecg::review::ReviewUiHooks saved_;
};

inline std::vector<uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string WriteRecord(const QTemporaryDir& dir, const std::string& name, const EcgRecordSpec& spec = {}) {
  const std::string path = dir.filePath(QString::fromStdString(name)).toStdString();
  const Bytes bytes = SyntheticEcgRecord(spec);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return path;
}

}  // namespace ecg::test
