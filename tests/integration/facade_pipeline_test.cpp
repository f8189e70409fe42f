// The whole path through the component facade: the cable simulator on a
// pseudo-terminal, Test finding it by the "enq" probe and running the
// recording window unattended, the record made from the saved ten seconds
// and analysed by the engine, then a PDF report and an XML export.

#include <gtest/gtest.h>

#include <QApplication>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "interface/facade/ecg_interface.h"
#include "interface/facade/window_services.h"
#include "platform/prompt.h"
#include "scp/reader.h"
#include "cable_sim_process.h"
#include "support/test_files.h"

namespace ecg::test {
namespace {

using namespace std::chrono_literals;

// The component's windows, with the recording window saving by itself.
class UnattendedWindows final : public ecg::facade::WindowServices {
 public:
  int RunRecordingWindow(const ecg::facade::RecordingSetup& setup) override {
    seen = setup;
    ecg::facade::RecordingSetup unattended = setup;
    unattended.unattendedSeconds = 10;
    unattended.unattendedTimeoutSeconds = 60;
    return Own().RunRecordingWindow(unattended);
  }
  bool OpenFileDialog(const std::string& e, const std::string& f, const std::string& filter,
                      std::string* path) override {
    return Own().OpenFileDialog(e, f, filter, path);
  }
  bool SaveAsDialog(const ecg::facade::SaveAsRequest& r, ecg::facade::SaveAsAnswer* a) override {
    return Own().SaveAsDialog(r, a);
  }
  bool OpenWithShell(const std::string& path) override { return Own().OpenWithShell(path); }
  int Review(CECGInterface& f, const ecg::facade::ReviewRequest& r) override { return Own().Review(f, r); }
  int ReviewWindowCount(const CECGInterface& f) override { return Own().ReviewWindowCount(f); }
  int RunSettingsSheet(CECGDefaultSettings& o, bool u, CECGPrint* e) override {
    return Own().RunSettingsSheet(o, u, e);
  }
  int RunPatientDialog(CECGInterface& f) override { return Own().RunPatientDialog(f); }
  void RunAboutBox() override { Own().RunAboutBox(); }

  ecg::facade::RecordingSetup seen;

 private:
  static ecg::facade::WindowServices& Own() { return ecg::facade::ComponentWindowServices(); }
};

TEST(FacadePipeline, SimulatorToRecordAnalysisPdfAndXml) {
  static int argc = 1;
  static char name[] = "test_facade_pipeline";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);

  TempFolder folder;
  const std::string ports = folder.File("ports");
  ASSERT_EQ(mkdir(ports.c_str(), 0755), 0);
  setenv("ECG_COM_DIR", ports.c_str(), 1);
  setenv("ECG_DOCUMENTS_DIR", folder.File("documents").c_str(), 1);
  setenv("XDG_CONFIG_HOME", folder.File("config").c_str(), 1);
  setenv("ECG_LIBRARY_PATH", ENGINE_LIBRARY_DIR, 1);
  CableSimProcess simulator(ECG_CABLE_SIM, ports, 4, 3);
  ASSERT_TRUE(simulator.Ready());

  ecg::platform::ScriptedPrompt prompt;
  ecg::platform::ScopedPrompt scoped(&prompt);
  UnattendedWindows windows;
  ecg::facade::SetWindowServices(&windows);

  CECGInterface facade;
  facade.m_settings.Port = 2;  // the search goes on from the configured port
  std::strcpy(facade.m_lastName, "Pipeline");
  const std::string record = folder.File("test.scp");
  EXPECT_EQ(facade.Test(record.c_str()), kTestSaved);
  EXPECT_EQ(facade.m_settings.Port, 4);
  EXPECT_EQ(windows.seen.portName, "COM4");
  EXPECT_EQ(windows.seen.connectionType, 0);
  // The port found was saved with the options.
  CECGInterface reread;
  EXPECT_EQ(reread.ReadOptions((folder.File("documents") + "/Tidemark/options.xml").c_str()), 1);
  EXPECT_EQ(reread.m_settings.Port, 4);

  EXPECT_EQ(CReader::ReadLeads(record.c_str()), 8);
  CAnalysisInfo analysis;
  ASSERT_TRUE(CReader::ReadAnalysisInfo(record.c_str(), &analysis));
  EXPECT_GT(analysis.m_global.m_blockCount, 0);
  ASSERT_TRUE(analysis.m_global.HeartRate().has_value());
  // The simulator's synthetic ECG beats at 72/min.
  EXPECT_NEAR(static_cast<double>(*analysis.m_global.HeartRate()), 72.0, 4.0);
  CPatientInfo patient;
  CRecordInfo recording;
  ASSERT_TRUE(CReader::ReadPatientAndRecordInfo(record.c_str(), &patient, &recording));
  EXPECT_EQ(patient.m_lastName.value_or(u""), u"Pipeline");

  facade.AddReport(record.c_str());
  const std::string pdf = folder.File("test.pdf");
  EXPECT_EQ(facade.PrintToFile(pdf.c_str()), 1);
  const std::vector<uint8_t> pdf_bytes = ReadFile(pdf);
  ASSERT_GT(pdf_bytes.size(), 4u);
  EXPECT_EQ(std::string(pdf_bytes.begin(), pdf_bytes.begin() + 4), "%PDF");

  const std::string xml = folder.File("test.xml");
  EXPECT_EQ(facade.ExportToXml(record.c_str(), xml.c_str()), 1);
  const std::vector<uint8_t> xml_bytes = ReadFile(xml);
  EXPECT_NE(std::string(xml_bytes.begin(), xml_bytes.end()).find("Pipeline"), std::string::npos);

  ecg::facade::SetWindowServices(nullptr);
}

}  // namespace
}  // namespace ecg::test
