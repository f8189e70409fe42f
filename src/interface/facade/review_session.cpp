#include "interface/facade/review_session.h"

#include <QApplication>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "interface/facade/ecg_interface.h"
#include "interface/facade/facade_text.h"
#include "interface/patient_block.h"
#include "platform/text_codec.h"
#include "review/ecg_app.h"
#include "review/review_host.h"

namespace ecg::facade {
namespace {

// What the review view asks of the facade.
class FacadeReviewHost final : public IReviewHost {
 public:
  explicit FacadeReviewHost(CECGInterface& facade) : facade_(&facade) {}
  // The facade the windows call: another user of the session once the one
  // that made it is gone.
  void Rebind(CECGInterface& facade) { facade_ = &facade; }
  const CECGInterface* Facade() const { return facade_; }

  int Analyse(const char* file, bool updatePatient) override { return facade_->Analyse(file, updatePatient); }
  int EditPatient(const CPatientInfo& record) override {
    using ecg::interface::SetPatientText;
    SetPatientText(facade_->m_firstName, ecg::platform::WideToUtf8Lossy(record.m_firstName.value_or(u"")));
    SetPatientText(facade_->m_lastName, ecg::platform::WideToUtf8Lossy(record.m_lastName.value_or(u"")));
    SetPatientText(facade_->m_patientId, ecg::platform::WideToUtf8Lossy(record.m_patientId.value_or(u"")));
    facade_->m_height = record.m_height / 10.0;
    facade_->m_weight = record.m_weight / 1000.0;
    facade_->m_gender = record.m_sex;
    facade_->m_yob = record.m_birthYear;
    facade_->m_mob = record.m_birthMonth;
    facade_->m_dob = record.m_birthDay;
    return facade_->PatientInfoDialog();
  }
  int ShowPrintOptionsDialog(bool printSetupEnabled, int leadCount, bool apply) override {
    return facade_->ShowPrintOptionsDialog(printSetupEnabled, leadCount, apply);
  }
  int SavePrintOptions(const char* path) override { return facade_->SavePrintOptions(path); }
  void ClearReports() override { facade_->ClearReports(); }
  int AddReport(const char* file) override { return facade_->AddReport(file); }
  int Print() override { return facade_->Print(); }
  int PrintPreview() override { return facade_->PrintPreview(); }
  int ChoosePrinter() override { return facade_->ChoosePrinter(); }
  int PrintToFile(const char* path) override { return facade_->PrintToFile(path); }
  int PrintSCPFileToFile(const char* file) override { return facade_->PrintSCPFileToFile(file); }
  void SetPDFFileName(const char* name) override { facade_->SetPDFFileName(name); }
  std::string LastOutputFile() const override { return LastPrintedFile(*facade_); }
  int ExportToXml(const char* file, const char* xmlFile) override { return facade_->ExportToXml(file, xmlFile); }
  void AboutBox() override { facade_->AboutBox(); }

 private:
  CECGInterface* facade_;
};

// The review application of a facade and of the copies made of it: they
// share one main frame, which lives until the last of them is gone.
struct Session {
  std::unique_ptr<CECGApp> app;
  std::unique_ptr<FacadeReviewHost> host;
  std::vector<CECGInterface*> users;
};

std::mutex g_mutex;
// Keyed by the application object, which the users hold in m_pDocTemplate.
std::map<const void*, Session>& Sessions() {
  static auto* sessions = new std::map<const void*, Session>();
  return *sessions;
}

// Takes `facade` off its session's users; the session itself when it was the
// last one (destroyed by the caller, outside the lock).
Session Leave(CECGInterface& facade) {
  Session gone;
  std::lock_guard<std::mutex> guard(g_mutex);
  auto it = Sessions().find(facade.m_pDocTemplate);
  if (it == Sessions().end()) return gone;
  Session& session = it->second;
  std::erase(session.users, &facade);
  if (session.users.empty()) {
    gone = std::move(session);
    Sessions().erase(it);
  } else if (session.host->Facade() == &facade) {
    session.host->Rebind(*session.users.front());
  }
  return gone;
}
std::map<const CECGInterface*, std::string>& Printed() {
  static auto* printed = new std::map<const CECGInterface*, std::string>();
  return *printed;
}

CECGApp* AppOf(const CECGInterface& facade) { return static_cast<CECGApp*>(facade.m_pDocTemplate); }

}  // namespace

int OpenReview(CECGInterface& facade, const ReviewRequest& request) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return 0;
  CECGApp* app = AppOf(facade);
  if (app == nullptr) {
    Session session;
    session.app = std::make_unique<CECGApp>();
    session.host = std::make_unique<FacadeReviewHost>(facade);
    session.users.push_back(&facade);
    app = session.app.get();
    facade.m_pDocTemplate = app;
    std::lock_guard<std::mutex> guard(g_mutex);
    Sessions()[app] = std::move(session);
  }
  app->SetOptions(facade.m_settings);
  if (!app->InitInstance()) return 0;
  facade.m_pMainFrame = app->MainFrame();
  ReviewStartParameters params;
  params.read_only = request.readOnly;
  params.xml_export_allowed = facade.m_settings.AllowXMLExport != 0;
  params.open_allowed = facade.m_openMenuEnabled;
  params.pdf_named_after_scp = facade.m_pdfWithScpName;
  params.viewer_after_pdf = facade.m_openPdfViewer;
  params.remove_help_menu = facade.m_removeHelpMenu;
  params.language = facade.m_language;
  IReviewHost* host = nullptr;
  {
    std::lock_guard<std::mutex> guard(g_mutex);
    auto it = Sessions().find(app);
    if (it != Sessions().end()) host = it->second.host.get();
  }
  if (app->OpenDocument(request.file, params, host) == nullptr) return 0;
  if (!request.noWait) app->WaitForClose();
  return 1;
}

int ReviewDocumentCount(const CECGInterface& facade) {
  const CECGApp* app = AppOf(facade);
  return app != nullptr ? app->ReviewWindowCount() : 0;
}

void CloseReviewWindows(CECGInterface& facade) {
  {
    std::lock_guard<std::mutex> guard(g_mutex);
    Printed().erase(&facade);
  }
  Session gone = Leave(facade);
  facade.m_pDocTemplate = nullptr;
  facade.m_pMainFrame = nullptr;
}

void ShareReviewWindows(CECGInterface& to, const CECGInterface& from) {
  if (to.m_pDocTemplate == from.m_pDocTemplate) {
    to.m_pMainFrame = from.m_pMainFrame;
    return;
  }
  Session gone = Leave(to);
  to.m_pDocTemplate = from.m_pDocTemplate;
  to.m_pMainFrame = from.m_pMainFrame;
  std::lock_guard<std::mutex> guard(g_mutex);
  auto it = Sessions().find(to.m_pDocTemplate);
  if (it != Sessions().end()) {
    it->second.users.push_back(&to);
  } else {
    // Windows made by something other than OpenReview are not ours to share.
    to.m_pDocTemplate = nullptr;
    to.m_pMainFrame = nullptr;
  }
}

std::string LastPrintedFile(const CECGInterface& facade) {
  std::lock_guard<std::mutex> guard(g_mutex);
  auto it = Printed().find(&facade);
  return it != Printed().end() ? it->second : std::string();
}

void SetLastPrintedFile(const CECGInterface& facade, const std::string& path) {
  std::lock_guard<std::mutex> guard(g_mutex);
  Printed()[&facade] = path;
}

}  // namespace ecg::facade
