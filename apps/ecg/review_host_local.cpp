#include "review_host_local.h"

#include <QApplication>
#include <QMessageBox>

#include "analysis/analysis.h"
#include "dialogs/ecg_patient_dialog.h"
#include "export/scp_to_xml.h"
#include "platform/text_codec.h"
#include "report/print_options_file.h"
#include "report/report_record.h"
#include "review/review_ui_hooks.h"
#include "scp/writer.h"


namespace ecg::app {

namespace {

// Result of Analyse when the patient facts could not be written.
constexpr int kAnalyseWriteFailed = 4;
// Result of Analyse on a record of six leads or fewer: nothing analysed.
constexpr int kAnalyseNotRun = 15;

std::string Utf8(const WideText& text) {
  return text ? platform::WideToUtf8Lossy(*text) : std::string();
}

}  // namespace

ecg::interface::PatientBlock PatientBlockFromRecord(const CPatientInfo& patient) {
  ecg::interface::PatientBlock block;
  if (patient.m_firstName) ecg::interface::SetPatientText(block.firstName, Utf8(patient.m_firstName));
  if (patient.m_lastName) ecg::interface::SetPatientText(block.lastName, Utf8(patient.m_lastName));
  if (patient.m_patientId) ecg::interface::SetPatientText(block.patientId, Utf8(patient.m_patientId));
  block.height = patient.m_height / 10.0;
  block.weight = patient.m_weight / 1000.0;
  block.gender = patient.m_sex;
  block.yearOfBirth = patient.m_birthYear;
  block.monthOfBirth = patient.m_birthMonth;
  block.dayOfBirth = patient.m_birthDay;
  return block;
}

LocalReviewHost::LocalReviewHost(const CECGDefaultSettings& options) : m_options(options), m_print(&options) {}

int LocalReviewHost::Analyse(const char* file, bool updatePatient) {
  int result = kAnalyseNotRun;
  const CPatientInfo patient = ecg::interface::ToPatientInfo(m_patient);
  CWriter writer;
  if (!writer.UpdateFile(file, updatePatient ? &patient : nullptr, nullptr)) return kAnalyseWriteFailed;
  ecg::report::ReportRecord record;
  if (!ecg::report::LoadReportRecord(file, &record) || record.lead_count <= 6) return result;
  CAnalysis analysis;
  analysis.SelectWriter(u"Tidemark ECG", platform::Utf8ToWideLossy(ECG_VERSION_TEXT));
  analysis.RemoveAnalysisData(file);
  analysis.m_interpretationOption = m_options.IncludeInterpretation ? 1 : 0;
  analysis.m_codesOption = m_options.IncludeInterpretationCodes != 0 ? 1 : 0;
  result = analysis.CreateAnalysis(file, 0, false);
  return result;
}

int LocalReviewHost::EditPatient(const CPatientInfo& fromRecord) {
  m_patient = PatientBlockFromRecord(fromRecord);
  return RunPatientInfoDialog(m_patient, m_options.MeasurementSystem, QApplication::activeWindow());
}

int LocalReviewHost::ShowPrintOptionsDialog(bool printSetupEnabled, int leadCount, bool apply) {
  m_print.ReadOptions(ecg::report::DefaultPrintOptionsPath());
  return m_print.ShowOptionsDialog(printSetupEnabled, leadCount, apply) ? 1 : 0;
}

int LocalReviewHost::SavePrintOptions(const char* path) { return m_print.SaveOptions(path) ? 1 : 0; }

int LocalReviewHost::AddReport(const char* file) {
  m_print.AddReport(file);
  return 1;
}

int LocalReviewHost::Print() {
  const bool done = m_print.ChoosePrinter() && m_print.Print();
  m_print.ClearReportsOnly();
  return done ? 1 : 0;
}

int LocalReviewHost::PrintPreview() {
  const bool done = m_print.ChoosePrinter() && m_print.Preview();
  m_print.ClearReportsOnly();
  return done ? 1 : 0;
}

int LocalReviewHost::PrintToFile(const char* path) {
  const std::string name = path != nullptr ? path : "";
  if (name.find(".jpg") != std::string::npos || name.find(".JPG") != std::string::npos) {
    m_print.SetPrintType(1);
  } else if (name.find(".tif") != std::string::npos || name.find(".TIF") != std::string::npos) {
    m_print.SetPrintType(2);
  }
  return m_print.ToFile(name) ? 1 : 0;
}

int LocalReviewHost::PrintSCPFileToFile(const char* file) {
  m_print.ClearReports();
  m_print.AddReport(file);
  const QString chosen = ecg::review::UiHooks().choose_save_file(
      QApplication::activeWindow(), QObject::tr("Save PDF File As"), QString::fromStdString(m_pdfFileName),
      QStringLiteral("PDF Files (*.pdf);;JPEG Files (*.jpg);;TIFF Files (*.tif)"));
  if (chosen.isEmpty()) {
    m_print.ClearReports();
    return 0;
  }
  const int done = PrintToFile(chosen.toStdString().c_str());
  m_print.ClearReports();
  if (done == 0) return 0;
  m_lastOutput = chosen.toStdString();
  return 1;
}

int LocalReviewHost::ExportToXml(const char* file, const char* xmlFile) {
  CECGScpToXml exporter{RecordSource(file)};
  return exporter.Export(xmlFile) ? 1 : 0;
}

void LocalReviewHost::AboutBox() {
  QMessageBox::about(QApplication::activeWindow(), QObject::tr("About Tidemark32"),
                     QObject::tr("Tidemark ECG %1").arg(QStringLiteral(ECG_VERSION_TEXT)));
}

}  // namespace ecg::app
