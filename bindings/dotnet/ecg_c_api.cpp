// The C interface over CECGInterface: each function checks its handle and
// strings, forwards to the facade operation and returns its result. No
// exception crosses this boundary.

#include "ecg_c_api.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <string>

#include "interface/facade/ecg_interface.h"
#include "interface/facade/window_services.h"
#include "platform/prompt.h"

// A handle holds the facade it calls: its own, or one that a
// previous-generation component library made (kept loaded while in use).
struct ecg_interface {
  std::unique_ptr<CECGInterface> own;
  CECGInterface* facade = nullptr;
  void* library = nullptr;
  ~ecg_interface() {
    if (library != nullptr) {
      using Destroy = void (*)();
      if (auto destroy = reinterpret_cast<Destroy>(dlsym(library, "DestroyECGInterface"))) destroy();
      dlclose(library);
    }
  }
};

namespace {

void CopyField(char (&to)[256], const char (&from)[256]) {
  std::memcpy(to, from, sizeof to);
  to[sizeof to - 1] = '\0';
}

// Window operations recorded instead of shown.
class RecordedWindows final : public ecg::facade::WindowServices {
 public:
  int RunRecordingWindow(const ecg::facade::RecordingSetup&) override { return 2; }
  bool OpenFileDialog(const std::string&, const std::string&, const std::string&, std::string*) override {
    return false;
  }
  bool SaveAsDialog(const ecg::facade::SaveAsRequest&, ecg::facade::SaveAsAnswer*) override { return false; }
  bool OpenWithShell(const std::string&) override { return true; }
  int Review(CECGInterface&, const ecg::facade::ReviewRequest& request) override {
    std::lock_guard<std::mutex> guard(mutex);
    last_review = request;
    have_review = true;
    ++reviews;
    return 1;
  }
  int ReviewWindowCount(const CECGInterface&) override {
    std::lock_guard<std::mutex> guard(mutex);
    return reviews;
  }
  int RunSettingsSheet(CECGDefaultSettings&, bool, CECGPrint*) override { return 0; }
  int RunPatientDialog(CECGInterface&) override { return 0; }
  void RunAboutBox() override {}

  std::mutex mutex;
  ecg::facade::ReviewRequest last_review;
  bool have_review = false;
  int reviews = 0;
};

struct Unattended {
  RecordedWindows windows;
  ecg::platform::ScriptedPrompt prompt;
};
Unattended* g_unattended = nullptr;

}  // namespace

extern "C" {

ecg_interface* ecg_if_create(void) {
  try {
    auto handle = std::make_unique<ecg_interface>();
    handle->own = std::make_unique<CECGInterface>();
    handle->facade = handle->own.get();
    return handle.release();
  } catch (...) {
    return nullptr;
  }
}

ecg_interface* ecg_if_create_from_library(const char* library_path) {
  if (library_path == nullptr) return nullptr;
  void* library = dlopen(library_path, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return nullptr;
  using Create = CECGInterface* (*)();
  auto create = reinterpret_cast<Create>(dlsym(library, "CreateECGInterface"));
  CECGInterface* facade = create != nullptr ? create() : nullptr;
  if (facade == nullptr) {
    dlclose(library);
    return nullptr;
  }
  auto* handle = new (std::nothrow) ecg_interface();
  if (handle == nullptr) {
    dlclose(library);
    return nullptr;
  }
  handle->facade = facade;
  handle->library = library;
  return handle;
}

void ecg_if_destroy(ecg_interface* h) { delete h; }

int32_t ecg_if_initialize(void) { return CECGInterface::Initialize(); }

void ecg_if_set_patient(ecg_interface* h, const ecg_patient_block* b) {
  if (h == nullptr || b == nullptr) return;
  CECGInterface& f = *h->facade;
  CopyField(f.m_firstName, b->first_name);
  CopyField(f.m_lastName, b->last_name);
  CopyField(f.m_patientId, b->patient_id);
  f.m_height = b->height;
  f.m_weight = b->weight;
  f.m_gender = b->gender;
  f.m_yob = b->year_of_birth;
  f.m_mob = b->month_of_birth;
  f.m_dob = b->day_of_birth;
}

void ecg_if_get_patient(ecg_interface* h, ecg_patient_block* b) {
  if (h == nullptr || b == nullptr) return;
  const CECGInterface& f = *h->facade;
  CopyField(b->first_name, f.m_firstName);
  CopyField(b->last_name, f.m_lastName);
  CopyField(b->patient_id, f.m_patientId);
  b->height = f.m_height;
  b->weight = f.m_weight;
  b->gender = f.m_gender;
  b->year_of_birth = f.m_yob;
  b->month_of_birth = f.m_mob;
  b->day_of_birth = f.m_dob;
}

#define ECG_HANDLE_OR(value) \
  if (h == nullptr) return value

int32_t ecg_if_review(ecg_interface* h, const char* file, int32_t read_only, int32_t no_wait) {
  ECG_HANDLE_OR(0);
  return h->facade->Review(file, read_only, no_wait);
}
int32_t ecg_if_options(ecg_interface* h) {
  ECG_HANDLE_OR(0);
  return h->facade->Options();
}
int32_t ecg_if_read_options(ecg_interface* h, const char* path) {
  ECG_HANDLE_OR(0);
  return h->facade->ReadOptions(path);
}
int32_t ecg_if_save_options(ecg_interface* h, const char* path) {
  ECG_HANDLE_OR(0);
  return h->facade->SaveOptions(path);
}
int32_t ecg_if_test(ecg_interface* h, const char* file) {
  ECG_HANDLE_OR(0);
  return h->facade->Test(file);
}
int32_t ecg_if_patient_info_dialog(ecg_interface* h) {
  ECG_HANDLE_OR(0);
  return h->facade->PatientInfoDialog();
}
int32_t ecg_if_add_report(ecg_interface* h, const char* file) {
  ECG_HANDLE_OR(0);
  return h->facade->AddReport(file);
}
void ecg_if_clear_reports(ecg_interface* h) {
  if (h != nullptr) h->facade->ClearReports();
}
int32_t ecg_if_print(ecg_interface* h) {
  ECG_HANDLE_OR(0);
  return h->facade->Print();
}
int32_t ecg_if_print_preview(ecg_interface* h) {
  ECG_HANDLE_OR(0);
  return h->facade->PrintPreview();
}
int32_t ecg_if_print_to_file(ecg_interface* h, const char* path) {
  ECG_HANDLE_OR(0);
  return h->facade->PrintToFile(path);
}
int32_t ecg_if_print_scp_file_to_file(ecg_interface* h, const char* file) {
  ECG_HANDLE_OR(0);
  return h->facade->PrintSCPFileToFile(file);
}
int32_t ecg_if_show_print_options_dialog(ecg_interface* h, int32_t print_setup, int32_t leads,
                                         int32_t apply) {
  ECG_HANDLE_OR(0);
  return h->facade->ShowPrintOptionsDialog(print_setup != 0, leads, apply != 0);
}
int32_t ecg_if_read_print_options(ecg_interface* h, const char* path) {
  ECG_HANDLE_OR(0);
  return h->facade->ReadPrintOptions(path);
}
int32_t ecg_if_save_print_options(ecg_interface* h, const char* path) {
  ECG_HANDLE_OR(0);
  return h->facade->SavePrintOptions(path);
}
void ecg_if_get_version(ecg_interface* h, char* buffer, int32_t count) {
  if (h != nullptr) h->facade->GetVersion(buffer, count);
}
int32_t ecg_if_export_to_xml(ecg_interface* h, const char* file, const char* xml_file) {
  ECG_HANDLE_OR(0);
  return h->facade->ExportToXml(file, xml_file);
}
double ecg_if_get_height(ecg_interface* h) {
  ECG_HANDLE_OR(0.0);
  return h->facade->GetHeight();
}
double ecg_if_get_weight(ecg_interface* h) {
  ECG_HANDLE_OR(0.0);
  return h->facade->GetWeight();
}
void ecg_if_set_measurement_units(ecg_interface* h, int32_t units) {
  if (h != nullptr) h->facade->SetMeasurementUnits(static_cast<tMeasurementUnits>(units));
}
int32_t ecg_if_get_confirmed_status(ecg_interface* h, const char* file) {
  ECG_HANDLE_OR(0);
  return h->facade->GetConfirmedStatus(file);
}
void ecg_if_get_test_time(ecg_interface* h, const char* file, ecg_system_time* time) {
  if (time == nullptr) return;
  std::memset(time, 0, sizeof *time);
  if (h == nullptr) return;
  const ecg::platform::SystemTime t = h->facade->GetTestTime(file);
  static_assert(sizeof t == sizeof *time, "the 16-byte time layout");
  std::memcpy(time, &t, sizeof t);
}
void ecg_if_update_scp_patient(ecg_interface* h, const char* file) {
  if (h != nullptr) h->facade->UpdateScpPatient(file);
}
void ecg_if_set_report_footer(ecg_interface* h, const char* text) {
  if (h != nullptr) h->facade->SetReportFooter(text);
}
void ecg_if_set_report_application_version(ecg_interface* h, const char* text) {
  if (h != nullptr) h->facade->SetReportApplicationVersion(text);
}
void ecg_if_set_print_type(ecg_interface* h, int32_t type) {
  if (h != nullptr) h->facade->SetPrintType(static_cast<CECGInterface::PrintFileTypes>(type));
}
int32_t ecg_if_analyse(ecg_interface* h, const char* file, int32_t update_patient) {
  ECG_HANDLE_OR(kAnalysisCannotOpen);
  return h->facade->Analyse(file, update_patient != 0);
}
int32_t ecg_if_receive_pellux_file(ecg_interface* h, const char* file) {
  ECG_HANDLE_OR(0);
  return h->facade->ReceivePelluxFile(file) ? 1 : 0;
}
int32_t ecg_if_get_number_of_review_windows(ecg_interface* h) {
  ECG_HANDLE_OR(0);
  return h->facade->GetNumberOfReviewWindows();
}
void ecg_if_about_box(ecg_interface* h) {
  if (h != nullptr) h->facade->AboutBox();
}
void ecg_if_disable_open_menu(ecg_interface* h) {
  if (h != nullptr) h->facade->DisableOpenMenu();
}
void ecg_if_disable_export_to_xml_menu(ecg_interface* h) {
  if (h != nullptr) h->facade->DisableExportToXMLMenu();
}
void ecg_if_enable_export_to_xml_menu(ecg_interface* h) {
  if (h != nullptr) h->facade->EnableExportToXMLMenu();
}
void ecg_if_create_pdf_file_with_scp_name(ecg_interface* h) {
  if (h != nullptr) h->facade->CreatePDFFileWithSCPName();
}
void ecg_if_do_not_bring_up_adobe(ecg_interface* h) {
  if (h != nullptr) h->facade->DoNotBringUpAdobe();
}
void ecg_if_add_save_and_generate_pdf_button(ecg_interface* h) {
  if (h != nullptr) h->facade->AddSaveandGeneratePDFButtonToReviewWindow();
}
void ecg_if_close_after_pdf(ecg_interface* h) {
  if (h != nullptr) h->facade->CloseAfterPDF();
}
void ecg_if_disable_options_browse(ecg_interface* h) {
  if (h != nullptr) h->facade->DisableOptionsBrowse();
}

void ecg_if_set_unattended(int32_t on) {
  if (on != 0 && g_unattended == nullptr) {
    g_unattended = new Unattended();
    ecg::facade::SetWindowServices(&g_unattended->windows);
    ecg::platform::SetPrompt(&g_unattended->prompt);
  } else if (on == 0 && g_unattended != nullptr) {
    ecg::facade::SetWindowServices(nullptr);
    ecg::platform::SetPrompt(nullptr);
    delete g_unattended;
    g_unattended = nullptr;
  }
}

int32_t ecg_if_last_review(char* path, int32_t count, int32_t* read_only, int32_t* no_wait) {
  if (g_unattended == nullptr) return 0;
  RecordedWindows& w = g_unattended->windows;
  std::lock_guard<std::mutex> guard(w.mutex);
  if (!w.have_review) return 0;
  if (path != nullptr && count > 0) {
    const size_t n = std::min(w.last_review.file.size(), static_cast<size_t>(count) - 1);
    std::memcpy(path, w.last_review.file.data(), n);
    path[n] = '\0';
  }
  if (read_only != nullptr) *read_only = w.last_review.readOnly ? 1 : 0;
  if (no_wait != nullptr) *no_wait = w.last_review.noWait ? 1 : 0;
  return 1;
}

int32_t ecg_if_messages_shown(void) {
  return g_unattended != nullptr ? static_cast<int32_t>(g_unattended->prompt.shown().size()) : 0;
}

}  // extern "C"
