#pragma once
// The review window's host for the ecg program: the operations the
// component's facade offers the window (analysis, report output, XML export,
// the patient details, About), carried out directly over the record,
// analysis, report and export layers.

#include <string>

#include "interface/ecg_default_settings.h"
#include "interface/patient_block.h"
#include "report/ecg_print.h"
#include "review/review_host.h"

namespace ecg::app {

class LocalReviewHost final : public IReviewHost {
 public:
  explicit LocalReviewHost(const CECGDefaultSettings& options);

  int Analyse(const char* file, bool updatePatient) override;
  int EditPatient(const CPatientInfo& fromRecord) override;
  int ShowPrintOptionsDialog(bool printSetupEnabled, int leadCount, bool apply) override;
  int SavePrintOptions(const char* path) override;
  void ClearReports() override { m_print.ClearReports(); }
  int AddReport(const char* file) override;
  int Print() override;
  int PrintPreview() override;
  int ChoosePrinter() override { return m_print.ChoosePrinterNoCheck() ? 1 : 0; }
  int PrintToFile(const char* path) override;
  int PrintSCPFileToFile(const char* file) override;
  void SetPDFFileName(const char* name) override { m_pdfFileName = name != nullptr ? name : ""; }
  std::string LastOutputFile() const override { return m_lastOutput; }
  int ExportToXml(const char* file, const char* xmlFile) override;
  void AboutBox() override;

  const ecg::interface::PatientBlock& Patient() const { return m_patient; }
  CECGPrint& Engine() { return m_print; }

 private:
  CECGDefaultSettings m_options;
  CECGPrint m_print;
  ecg::interface::PatientBlock m_patient;
  std::string m_pdfFileName;
  std::string m_lastOutput;
};

// The patient block filled from a record's patient facts (height in cm,
// weight in kg); texts the record lacks keep the block's.
ecg::interface::PatientBlock PatientBlockFromRecord(const CPatientInfo& patient);

}  // namespace ecg::app
