#include "interface/facade/review_session.h"

#include <QApplication>
#include <map>
#include <memory>
#include <mutex>

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
  explicit FacadeReviewHost(CECGInterface& facade) : facade_(facade) {}

  int Analyse(const char* file, bool updatePatient) override { return facade_.Analyse(file, updatePatient); }
  int EditPatient(const CPatientInfo& record) override {
    using ecg::interface::SetPatientText;
    SetPatientText(facade_.m_firstName, ecg::platform::WideToUtf8Lossy(record.m_firstName.value_or(u"")));
    SetPatientText(facade_.m_lastName, ecg::platform::WideToUtf8Lossy(record.m_lastName.value_or(u"")));
    SetPatientText(facade_.m_patientId, ecg::platform::WideToUtf8Lossy(record.m_patientId.value_or(u"")));
    facade_.m_height = record.m_height / 10.0;
    facade_.m_weight = record.m_weight / 1000.0;
    facade_.m_gender = record.m_sex;
    facade_.m_yob = record.m_birthYear;
    facade_.m_mob = record.m_birthMonth;
    facade_.m_dob = record.m_birthDay;
    return facade_.PatientInfoDialog();
  }
  int ShowPrintOptionsDialog(bool printSetupEnabled, int leadCount, bool apply) override {
    return facade_.ShowPrintOptionsDialog(printSetupEnabled, leadCount, apply);
  }
  int SavePrintOptions(const char* path) override { return facade_.SavePrintOptions(path); }
  void ClearReports() override { facade_.ClearReports(); }
  int AddReport(const char* file) override { return facade_.AddReport(file); }
  int Print() override { return facade_.Print(); }
  int PrintPreview() override { return facade_.PrintPreview(); }
  int ChoosePrinter() override { return facade_.ChoosePrinter(); }
  int PrintToFile(const char* path) override { return facade_.PrintToFile(path); }
  int PrintSCPFileToFile(const char* file) override { return facade_.PrintSCPFileToFile(file); }
  void SetPDFFileName(const char* name) override { facade_.SetPDFFileName(name); }
  std::string LastOutputFile() const override { return LastPrintedFile(facade_); }
  int ExportToXml(const char* file, const char* xmlFile) override { return facade_.ExportToXml(file, xmlFile); }
  void AboutBox() override { facade_.AboutBox(); }

 private:
  CECGInterface& facade_;
};

struct Session {
  std::unique_ptr<CECGApp> app;
  std::unique_ptr<FacadeReviewHost> host;
};

std::mutex g_mutex;
// Keyed by the facade that made the session; copies reach it through m_pDocTemplate.
std::map<const void*, Session>& Sessions() {
  static auto* sessions = new std::map<const void*, Session>();
  return *sessions;
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
    app = session.app.get();
    facade.m_pDocTemplate = app;
    std::lock_guard<std::mutex> guard(g_mutex);
    Sessions()[&facade] = std::move(session);
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
    for (auto& [owner, session] : Sessions()) {
      if (session.app.get() == app) host = session.host.get();
    }
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
  Session session;
  {
    std::lock_guard<std::mutex> guard(g_mutex);
    Printed().erase(&facade);
    auto it = Sessions().find(&facade);
    if (it == Sessions().end()) return;
    session = std::move(it->second);
    Sessions().erase(it);
  }
  facade.m_pDocTemplate = nullptr;
  facade.m_pMainFrame = nullptr;
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
