// CECGInterface: the print operations over the report engine.

#include <QString>
#include <cstring>

#include "interface/facade/ecg_interface.h"
#include "interface/facade/facade_text.h"
#include "interface/facade/language_module.h"
#include "interface/facade/print_file_type.h"
#include "interface/facade/review_session.h"
#include "interface/facade/window_services.h"
#include "report/ecg_print.h"

namespace {

void HandOverTexts(CECGPrint& engine, const CECGInterface& facade) {
  engine.SetReportFooter(QString::fromStdString(facade.m_reportFooter));
  engine.SetReportApplicationVersion(QString::fromStdString(facade.m_applicationVersion));
}

}  // namespace

int CECGInterface::AddReport(const char* file) {
  if (m_pECGPrint == nullptr || file == nullptr) return 0;
  m_pECGPrint->AddReport(file);
  return 1;
}

void CECGInterface::ClearReports() {
  if (m_pECGPrint != nullptr) m_pECGPrint->ClearReports();
}

int CECGInterface::PrintPreview() {
  if (m_pECGPrint == nullptr) return 0;
  ecg::facade::ScopedModuleState state(m_hLanguage);
  HandOverTexts(*m_pECGPrint, *this);
  if (!m_pECGPrint->ChoosePrinter()) return 0;
  return m_pECGPrint->Preview() ? 1 : 0;
}

int CECGInterface::Print() {
  if (m_pECGPrint == nullptr) return 0;
  ecg::facade::ScopedModuleState state(m_hLanguage);
  HandOverTexts(*m_pECGPrint, *this);
  if (!m_pECGPrint->ChoosePrinter()) return 0;
  const bool printed = m_pECGPrint->Print();
  m_pECGPrint->ClearReportsOnly();
  return printed ? 1 : 0;
}

int CECGInterface::ChoosePrinter() {
  if (m_pECGPrint == nullptr) return 0;
  ecg::facade::ScopedModuleState state(m_hLanguage);
  return m_pECGPrint->ChoosePrinterNoCheck() ? 1 : 0;
}

int CECGInterface::PrintToFile(const char* path) {
  if (m_pECGPrint == nullptr || path == nullptr) return 0;
  ecg::facade::ScopedModuleState state(m_hLanguage);
  const int type = ecg::facade::PrintTypeOfPath(path);
  if (type >= 0) m_pECGPrint->SetPrintType(type);
  HandOverTexts(*m_pECGPrint, *this);
  return m_pECGPrint->ToFile(path) ? 1 : 0;
}

int CECGInterface::PrintToFile() {
  ecg::facade::ScopedModuleState state(m_hLanguage);
  std::string path;
  if (!ecg::facade::CurrentWindowServices().OpenFileDialog("scp", "*.scp", "*.scp", &path)) return 0;
  PrintSCPFileToFile(path.c_str());
  return 1;
}

int CECGInterface::PrintSCPFileToFile(const char* file) {
  if (m_pECGPrint == nullptr || file == nullptr) return 0;
  ecg::facade::ScopedModuleState state(m_hLanguage);
  m_pECGPrint->ClearReports();
  m_pECGPrint->AddReport(file);
  ecg::facade::SaveAsRequest request;
  request.title = ecg::facade::Text("Save PDF File As");
  request.defaultExtension = ".pdf";
  request.fileName = m_pdfFileName;
  request.folder = m_imagePath;
  request.filter = ecg::facade::Text("PDF Files (*.pdf)|*.pdf|") + ecg::facade::Text("JPEG Files (*.jpg)|*.jpg|") +
                   ecg::facade::Text("TIFF Files (*.tif)|*.tif||");
  request.nameBufferSize = 26100;
  ecg::facade::SaveAsAnswer answer;
  if (!ecg::facade::CurrentWindowServices().SaveAsDialog(request, &answer)) return 0;
  PrintToFile(answer.path.c_str());
  ecg::facade::SetLastPrintedFile(*this, answer.path);
  m_pECGPrint->ClearReports();
  const bool pdf = answer.path.find(".pdf") != std::string::npos ||
                   answer.path.find(".PDF") != std::string::npos;
  if (pdf && answer.viewAfterSaving && !ecg::facade::CurrentWindowServices().OpenWithShell(answer.path)) {
    ecg::facade::ShowError("Error opening PDF file.");
    return 0;
  }
  return 1;
}

int CECGInterface::ShowPrintOptionsDialog(bool printSetup, int leads, bool apply) {
  if (m_pECGPrint == nullptr) return 0;
  ecg::facade::ScopedModuleState state(m_hLanguage);
  m_pECGPrint->ReadOptions(ecg::facade::TidemarkFile("printoptions.xml"));
  return m_pECGPrint->ShowOptionsDialog(printSetup, leads, apply) ? 1 : 0;
}

int CECGInterface::ReadPrintOptions(const char* path) {
  if (m_pECGPrint == nullptr || path == nullptr) return 0;
  return m_pECGPrint->ReadOptions(path) ? 1 : 0;
}

int CECGInterface::SavePrintOptions(const char* path) {
  if (m_pECGPrint == nullptr || path == nullptr) return 0;
  return m_pECGPrint->SaveOptions(path) ? 1 : 0;
}

void CECGInterface::SetPrintType(PrintFileTypes type) {
  if (m_pECGPrint != nullptr) m_pECGPrint->SetPrintType(type);
}
