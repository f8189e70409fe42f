// CECGInterface: recording (Test, SaveTest) and analysis (Analyse).

#include <QString>

#include "acquisition/device_comm.h"
#include "analysis/analysis.h"
#include "interface/facade/analysis_details.h"
#include "interface/facade/ecg_interface.h"
#include "interface/facade/facade_text.h"
#include "interface/facade/language_module.h"
#include "interface/facade/patient_info.h"
#include "interface/facade/recording_run.h"
#include "interface/facade/window_services.h"
#include "platform/folders.h"
#include "report/ecg_print.h"
#include "scp/reader.h"
#include "scp/writer.h"

namespace ecg::facade {

std::string RecordingTempFile() { return TidemarkFile("rt-ecg.tmp"); }

tTestResult TestResultOfEndCode(int end_code) {
  switch (end_code) {
    case 1: return kTestSaved;
    case 102: return kTestSavedReview;
    case 103: return kTestSavedPrint;
    case 104: return kTestSavedPrintPdf;
    default: return kTestNotSaved;
  }
}

tTestResult RecordInto(CECGInterface& facade, const char* file, int16_t connection_type,
                       const std::string& replay_file, int unattended_seconds) {
  if (facade.m_pECGPrint == nullptr || file == nullptr) return kTestNotSaved;
  facade.m_pECGPrint->SetReportFooter(QString::fromStdString(facade.m_reportFooter));
  facade.m_pECGPrint->SetReportApplicationVersion(QString::fromStdString(facade.m_applicationVersion));
  RecordingSetup setup =
      MakeRecordingSetup(facade.m_settings, facade.m_language, RecordingTempFile(), facade.m_lastName,
                         facade.m_firstName, ecg::platform::ModuleFolder());
  setup.connectionType = connection_type;
  setup.replayFile = replay_file;
  setup.unattendedSeconds = unattended_seconds;
  const int end_code = CurrentWindowServices().RunRecordingWindow(setup);
  const tTestResult result = TestResultOfEndCode(end_code);
  if (result != kTestNotSaved) facade.SaveTest(file, true);
  return result;
}

}  // namespace ecg::facade

tTestResult CECGInterface::Test(const char* file) {
  ecg::facade::ScopedModuleState state(m_hLanguage);
  CDeviceComm device;
  for (;;) {
    int port = m_settings.Port;
    if (device.DetectCable(&port, false) != 0) {
      m_settings.Port = port;
      SaveOptions(ecg::facade::TidemarkFile("options.xml").c_str());
      break;
    }
    const int answer = ecg::facade::ShowError(
        "Cannot find ECG cable. Ensure the cable is securely connected to the computer and try again.",
        ecg::platform::PromptButtons::kRetryCancel);
    if (answer != ecg::platform::kAnswerRetry) return kTestNoCable;
  }
  return ecg::facade::RecordInto(*this, file, 0, {});
}

int CECGInterface::SaveTest(const std::string& file, bool analyse) {
  const CPatientInfo patient = ecg::facade::PatientInfoOf(*this);
  CWriter writer;
  const std::string recording = ecg::facade::RecordingTempFile();
  writer.CreateFromPelluxFile(file.c_str(), recording.c_str(), &patient);
  if (analyse && CReader::ReadLeads(file.c_str()) > 6) ecg::facade::RunFacadeAnalysis(*this, file.c_str());
  return 1;
}

tAnalysisResult CECGInterface::Analyse(const char* file, bool updatePatient) {
  if (file == nullptr) return kAnalysisCannotOpen;
  int result = kAnalysisTooFewLeads;
  const CPatientInfo patient = updatePatient ? ecg::facade::PatientInfoOf(*this) : CPatientInfo();
  CWriter writer;
  if (!writer.UpdateFile(file, updatePatient ? &patient : nullptr, nullptr)) return kAnalysisCannotOpen;
  if (CReader::ReadLeads(file) > 6) {
    CAnalysis().RemoveAnalysisData(file);
    result = ecg::facade::RunFacadeAnalysis(*this, file);
  }
  return static_cast<tAnalysisResult>(result);
}
