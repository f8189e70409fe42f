// CECGInterface: construction, copying, the options, patient, version and
// flag operations, and those that only say "Function not available".

#include "interface/facade/ecg_interface.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <new>

#include "export/scp_to_xml.h"
#include "interface/facade/analysis_details.h"
#include "interface/facade/facade_text.h"
#include "interface/facade/language_module.h"
#include "interface/facade/patient_info.h"
#include "interface/facade/review_session.h"
#include "interface/facade/window_services.h"
#include "interface/registry_values.h"
#include "platform/folders.h"
#include "platform/module_version.h"
#include "report/ecg_print.h"
#include "scp/reader.h"
#include "scp/writer.h"

const char* const CECGInterface::m_leadLabels[12] = {"I",   "II",  "III", "aVR", "aVL", "aVF",
                                                     "V1",  "V2",  "V3",  "V4",  "V5",  "V6"};
const int16_t CECGInterface::m_leadIds[12] = {0, 1, 8, 9, 10, 11, 2, 3, 4, 5, 6, 7};

namespace {

// Copies of an instance share its report engine; the last one to go deletes it.
std::mutex g_engineMutex;
std::map<CECGPrint*, int>& EngineUsers() {
  static auto* users = new std::map<CECGPrint*, int>();
  return *users;
}

void HoldEngine(CECGPrint* engine) {
  if (engine == nullptr) return;
  std::lock_guard<std::mutex> guard(g_engineMutex);
  ++EngineUsers()[engine];
}

void DropEngine(CECGPrint* engine) {
  if (engine == nullptr) return;
  bool last = false;
  {
    std::lock_guard<std::mutex> guard(g_engineMutex);
    auto it = EngineUsers().find(engine);
    if (it == EngineUsers().end()) return;
    last = --it->second == 0;
    if (last) EngineUsers().erase(it);
  }
  if (last) delete engine;
}

void CopyText(char (&to)[256], const char* from) {
  std::strncpy(to, from, sizeof to - 1);
  to[sizeof to - 1] = '\0';
}

}  // namespace

CECGInterface::CECGInterface() {
  CopyText(m_firstName, "Quick");
  CopyText(m_lastName, "Test");
  CopyText(m_patientId, "-");
  for (int16_t i = 0; i < 12; ++i) m_leadOrder[i] = i;
  m_pECGPrint = new (std::nothrow) CECGPrint(&m_settings);
  HoldEngine(m_pECGPrint);
  ecg::interface::SetApplicationOptions(&m_settings);
  if (m_pECGPrint != nullptr) {
    m_pECGPrint->m_amplitudeUnits = m_settings.AmplitudeUnits;
    m_pECGPrint->m_imperialUnits = m_settings.MeasurementSystem == 1 ? 1 : 0;
  }

  g_iStillwaterVersion = 0;
  std::string language;
  if (GetRegistryStringValue(language, "StillwaterLanguage", kStillwaterKey)) {
    const std::string module = ecg::facade::LanguageModuleName(language);
    if (ecg::facade::LanguageModule* loaded = ecg::facade::LoadLanguageModule(module)) {
      m_hLanguage = loaded;
      ecg::facade::InstallLanguageModule(loaded);
    }
    g_iStillwaterVersion = 1;
    m_language = ecg::facade::LanguageCodeOfModule(module);
  }
  uint32_t region = 0;
  if (ReadRegistryEntry("StillwaterRegion", &region, kStillwaterKey) && region != 0) {
    g_iStillwaterVersion = 1;
  }
  if (m_pECGPrint != nullptr) m_pECGPrint->SetLanguage(m_language);
}

CECGInterface::CECGInterface(const CECGInterface& other) { CopyFrom(other); }

CECGInterface& CECGInterface::operator=(const CECGInterface& other) {
  if (this != &other) CopyFrom(other);
  return *this;
}

CECGInterface::~CECGInterface() {
  ecg::facade::CloseReviewWindows(*this);
  ecg::facade::ForgetAnalysisDetails(*this);
  if (ecg::interface::ApplicationOptions() == &m_settings) ecg::interface::SetApplicationOptions(nullptr);
  DropEngine(m_pECGPrint);
}

void CECGInterface::CopyFrom(const CECGInterface& other) {
  std::memcpy(m_firstName, other.m_firstName, sizeof m_firstName);
  std::memcpy(m_lastName, other.m_lastName, sizeof m_lastName);
  std::memcpy(m_patientId, other.m_patientId, sizeof m_patientId);
  m_height = other.m_height;
  m_weight = other.m_weight;
  m_gender = other.m_gender;
  m_yob = other.m_yob;
  m_mob = other.m_mob;
  m_dob = other.m_dob;
  if (m_pECGPrint != other.m_pECGPrint) {
    HoldEngine(other.m_pECGPrint);
    DropEngine(m_pECGPrint);
    m_pECGPrint = other.m_pECGPrint;
  }
  m_settings = other.m_settings;
  ecg::facade::ShareReviewWindows(*this, other);
  m_options = other.m_options;
  std::memcpy(m_leadOrder, other.m_leadOrder, sizeof m_leadOrder);
  m_hLanguage = other.m_hLanguage;
  m_bFlag1 = other.m_bFlag1;
  m_reportFooter = other.m_reportFooter;
  m_applicationVersion = other.m_applicationVersion;
  m_imagePath = other.m_imagePath;
  m_pdfFileName = other.m_pdfFileName;
  m_bFlag2 = other.m_bFlag2;
  m_removeHelpMenu = other.m_removeHelpMenu;
  m_removeUnits = other.m_removeUnits;
  m_openMenuEnabled = other.m_openMenuEnabled;
  m_pdfWithScpName = other.m_pdfWithScpName;
  m_openPdfViewer = other.m_openPdfViewer;
  m_saveAndPdfButton = other.m_saveAndPdfButton;
  m_closeAfterPdf = other.m_closeAfterPdf;
  m_optionsBrowseDisabled = other.m_optionsBrowseDisabled;
  m_language = other.m_language;
}

int CECGInterface::Initialize() { return 1; }

int CECGInterface::Release() { return 1; }

tTestResult CECGInterface::ReviewRecordedECG(const char*, const char*) {
  ecg::facade::ScopedModuleState state(m_hLanguage);
  ecg::facade::ShowNotAvailable();
  return kTestNotSaved;
}

bool CECGInterface::ReviewHL7() {
  ecg::facade::ScopedModuleState state(m_hLanguage);
  ecg::facade::ShowNotAvailable();
  return false;
}

void CECGInterface::DisableExportToXMLMenu() {
  ecg::facade::ScopedModuleState state(m_hLanguage);
  ecg::facade::ShowNotAvailable();
}

void CECGInterface::EnableExportToXMLMenu() {
  ecg::facade::ScopedModuleState state(m_hLanguage);
  ecg::facade::ShowNotAvailable();
}

bool CECGInterface::ReceivePelluxFile(const char*) {
  ecg::facade::ScopedModuleState state(m_hLanguage);
  ecg::facade::ShowNotAvailable();
  return false;
}

// ---------------------------------------------------------------- options

int CECGInterface::Options() {
  ecg::facade::ScopedModuleState state(m_hLanguage);
  return ecg::facade::CurrentWindowServices().RunSettingsSheet(m_settings, m_removeUnits, m_pECGPrint);
}

int CECGInterface::ReadOptions(const char* path) {
  if (m_pECGPrint == nullptr || path == nullptr) return 0;
  const bool read = m_options.ReadOptions(path);
  m_settings = m_options;
  m_pECGPrint->m_amplitudeUnits = m_settings.AmplitudeUnits;
  m_pECGPrint->m_imperialUnits = m_settings.MeasurementSystem == 1 ? 1 : 0;
  return read ? 1 : 0;
}

int CECGInterface::SaveOptions(const char* path) {
  m_options = m_settings;
  if (path != nullptr) m_options.SaveOptions(path);
  return 1;
}

void CECGInterface::SetMeasurementUnits(tMeasurementUnits units) { m_settings.MeasurementSystem = units; }

// ---------------------------------------------------------------- patient

double CECGInterface::GetHeight() {
  return m_settings.MeasurementSystem == 1 ? m_height / 2.54 : m_height;
}

double CECGInterface::GetWeight() {
  return m_settings.MeasurementSystem == 1 ? m_weight * 2.2046 : m_weight;
}

int CECGInterface::PatientInfoDialog() {
  ecg::facade::ScopedModuleState state(m_hLanguage);
  return ecg::facade::CurrentWindowServices().RunPatientDialog(*this) != 0 ? 1 : 0;
}

void CECGInterface::UpdateScpPatient(const char* file) {
  if (file == nullptr) return;
  const CPatientInfo patient = ecg::facade::PatientInfoOf(*this);
  CWriter writer;
  writer.UpdateFile(file, &patient, nullptr);
}

// ---------------------------------------------------------------- records

int CECGInterface::ExportToXml(const char* file, const char* xmlFile) {
  return ExportScpToXml(file, xmlFile) ? 1 : 0;
}

tConfirmedStatus CECGInterface::GetConfirmedStatus(const char* file) {
  if (file == nullptr) return kNotConfirmed;
  CGeneralInfo general;
  if (!CReader::ReadGeneralInfo(file, &general)) return kNotConfirmed;
  return static_cast<tConfirmedStatus>(general.m_confirmed);
}

ecg::platform::SystemTime CECGInterface::GetTestTime(const char* file) {
  ecg::platform::SystemTime time{};
  if (file == nullptr) return time;
  CPatientInfo patient;
  CRecordInfo recording;
  if (!CReader::ReadPatientAndRecordInfo(file, &patient, &recording)) return time;
  time.year = recording.m_year;
  time.month = recording.m_month;
  time.day = recording.m_day;
  time.hour = recording.m_hour;
  time.minute = recording.m_minute;
  time.second = recording.m_second;
  time.milliseconds = 0;
  return time;
}

// ---------------------------------------------------------------- version

void CECGInterface::GetVersion(char* buffer, int count) {
  if (buffer == nullptr || count <= 0) return;
  const std::string version = GetECGComponentVersion(ecg::platform::ModulePath().c_str());
  // At most `count` characters, and never more than the 32-byte version field.
  const size_t room = std::min<size_t>(static_cast<size_t>(count), 32);
  const size_t n = std::min(version.size(), room - 1);
  std::memcpy(buffer, version.data(), n);
  buffer[n] = '\0';
}

std::string CECGInterface::GetECGComponentVersion(const char* modulePath) {
  if (modulePath == nullptr) return {};
  std::string value;
  if (!ecg::platform::QueryModuleVersion(modulePath, "FileVersion", value)) return {};
  return value;
}

// ---------------------------------------------------------------- windows

int CECGInterface::GetNumberOfReviewWindows() {
  return ecg::facade::CurrentWindowServices().ReviewWindowCount(*this);
}

void CECGInterface::AboutBox() {
  ecg::facade::ScopedModuleState state(m_hLanguage);
  ecg::facade::CurrentWindowServices().RunAboutBox();
}

int CECGInterface::Review(const char* file, int readOnly, int noWait) {
  if (m_pECGPrint == nullptr || file == nullptr) return 0;
  m_pECGPrint->ReadOptions(ecg::facade::TidemarkFile("printoptions.xml"));
  ReadOptions(ecg::facade::TidemarkFile("options.xml").c_str());
  m_pECGPrint->SetReportFooter(QString::fromStdString(m_reportFooter));
  m_pECGPrint->SetReportApplicationVersion(QString::fromStdString(m_applicationVersion));
  ecg::facade::ScopedModuleState state(m_hLanguage);
  ecg::facade::ReviewRequest request;
  request.file = file;
  request.readOnly = readOnly != 0;
  request.noWait = noWait != 0;
  return ecg::facade::CurrentWindowServices().Review(*this, request);
}

// ---------------------------------------------------------------- flags

void CECGInterface::SetReportFooter(const char* text) { m_reportFooter = text != nullptr ? text : ""; }
void CECGInterface::SetReportApplicationVersion(const char* text) {
  m_applicationVersion = text != nullptr ? text : "";
}
void CECGInterface::SetImagePath(const char* path) { m_imagePath = path != nullptr ? path : ""; }
void CECGInterface::SetPDFFileName(const char* name) { m_pdfFileName = name != nullptr ? name : ""; }
void CECGInterface::DisableOpenMenu() { m_openMenuEnabled = false; }
void CECGInterface::CreatePDFFileWithSCPName() { m_pdfWithScpName = true; }
void CECGInterface::DoNotBringUpAdobe() { m_openPdfViewer = false; }
void CECGInterface::AddSaveandGeneratePDFButtonToReviewWindow() { m_saveAndPdfButton = true; }
void CECGInterface::CloseAfterPDF() { m_closeAfterPdf = true; }
void CECGInterface::DisableOptionsBrowse() { m_optionsBrowseDisabled = true; }
void CECGInterface::RemoveHelpMenu() { m_removeHelpMenu = true; }
void CECGInterface::RemoveUnits() { m_removeUnits = true; }
