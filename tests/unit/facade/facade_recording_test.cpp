// Test and SaveTest: the cable search with Retry/Cancel, the recording
// window's preparation from the options, and what each end code does.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>

#include "facade_fixture.h"
#include "facade_records.h"
#include "interface/facade/recording_run.h"
#include "interface/facade/recording_setup.h"
#include "scp/reader.h"

namespace ecg::test {
namespace {

constexpr const char* kNoCable =
    "Cannot find ECG cable. Ensure the cable is securely connected to the computer and try again.";

bool Exists(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0;
}

TEST(RecordingSetup, PortNamesChangeFormAtTen) {
  EXPECT_EQ(ecg::facade::RecordingPortName(1), "COM1");
  EXPECT_EQ(ecg::facade::RecordingPortName(9), "COM9");
  EXPECT_EQ(ecg::facade::RecordingPortName(10), "\\\\.\\COM10");
  EXPECT_EQ(ecg::facade::RecordingPortName(256), "\\\\.\\COM256");
}

TEST(RecordingSetup, OptionsBecomeWindowSettings) {
  CECGDefaultSettings options;
  options.MuscleFilter = true;
  options.PowerFilter = 1;
  options.PowerFilterChoice = 0;
  options.PlotStyle = 1;
  options.GridStyle = 5;
  options.QRSBeep = false;
  options.LeadsOffBeep = true;
  options.MIDISound = true;
  options.Port = 10;
  options.CustomLeadGroupSize = 2;
  options.CustomLeadGroup[0] = 61;
  options.CustomLeadGroup[1] = 5;
  options.LeadOrder = {6, 7, 8, 9, 10, 11, 0, 1, 2, 3, 4, 5};
  options.RhythmStripLead = 4;
  options.CreatePDF = 1;
  options.Sensitivity = 2;
  options.Speed = 0;
  options.LeadGroup = 5;
  const auto s = ecg::facade::MakeRecordingSetup(options, 3, "/d/rt-ecg.tmp", "Doe", "Jane", "/lib");
  EXPECT_EQ(s.language, 3);
  EXPECT_EQ(s.outputFile, "/d/rt-ecg.tmp");
  EXPECT_EQ(s.languageFolder, "/lib");
  EXPECT_TRUE(s.muscleFilter);
  EXPECT_TRUE(s.powerFilter);
  EXPECT_EQ(s.mainsHz, 50);
  EXPECT_EQ(s.plotStyle, 1);
  EXPECT_EQ(s.gridStyle, 5);
  EXPECT_FALSE(s.qrsBeep);
  EXPECT_TRUE(s.leadsOffBeep);
  EXPECT_TRUE(s.midiSound);
  EXPECT_EQ(s.portName, "\\\\.\\COM10");
  EXPECT_EQ(s.patientName, "Doe, Jane");
  EXPECT_EQ(s.customLeadGroup, (std::vector<int16_t>{61, 5}));
  // Display index 6 (V1) is channel 2; index 0 (I) channel 0; index 2 (III) channel 8.
  EXPECT_EQ(s.displayChannels[0], 2);
  EXPECT_EQ(s.displayChannels[6], 0);
  EXPECT_EQ(s.displayChannels[8], 8);
  EXPECT_EQ(s.displayChannels[11], 11);
  EXPECT_EQ(s.rhythmStripLead, 4);
  EXPECT_EQ(s.bufferSeconds, 900);
  EXPECT_EQ(s.createPdf, 1);
  EXPECT_DOUBLE_EQ(s.gain, 0.02);
  EXPECT_DOUBLE_EQ(s.speed, 12.5);
  EXPECT_EQ(s.leadGroup, 5);

  options.PowerFilter = 0;
  options.PowerFilterChoice = 1;
  options.Sensitivity = 0;
  options.Speed = 2;
  options.LeadOrder[0] = 40;  // out of range: lead I rather than a wild read
  const auto t = ecg::facade::MakeRecordingSetup(options, 0, "f", "", "", "");
  EXPECT_FALSE(t.powerFilter);
  EXPECT_EQ(t.mainsHz, 60);
  EXPECT_DOUBLE_EQ(t.gain, 0.005);
  EXPECT_DOUBLE_EQ(t.speed, 50.0);
  EXPECT_EQ(t.displayChannels[0], 0);
  EXPECT_EQ(t.patientName, ", ");
}

TEST_F(FacadeTest, NoCableAndCancelIsFiveAndWritesNothing) {
  CECGInterface facade;
  const std::string file = folder_.File("test.scp");
  prompt_.QueueAnswer(ecg::platform::kAnswerCancel);
  EXPECT_EQ(facade.Test(file.c_str()), kTestNoCable);
  EXPECT_FALSE(Exists(file));
  EXPECT_TRUE(windows_.recordings.empty());
  const auto shown = prompt_.shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, kNoCable);
  EXPECT_EQ(shown[0].caption, "Error");
  EXPECT_EQ(shown[0].buttons, ecg::platform::PromptButtons::kRetryCancel);
}

TEST_F(FacadeTest, RetrySearchesAgain) {
  CECGInterface facade;
  prompt_.QueueAnswer(ecg::platform::kAnswerRetry);
  prompt_.QueueAnswer(ecg::platform::kAnswerCancel);
  EXPECT_EQ(facade.Test(folder_.File("test.scp").c_str()), kTestNoCable);
  EXPECT_EQ(prompt_.shown().size(), 2u);
}

TEST_F(FacadeTest, EndCodesWithoutSaveLeaveTheFileAlone) {
  CECGInterface facade;
  const std::string file = folder_.Write("test.scp", {7, 7, 7});
  // The recording file is there, so only the end code can keep it from being used.
  ASSERT_TRUE(WriteRecordingFile(ecg::facade::RecordingTempFile()));
  for (int code : {0, 2, 3, 5, 101, 105, -1}) {
    windows_.end_code = code;
    EXPECT_EQ(ecg::facade::RecordInto(facade, file.c_str(), 0, {}), kTestNotSaved) << code;
    EXPECT_EQ(ReadFile(file), (std::vector<uint8_t>{7, 7, 7})) << code;
  }
}

TEST_F(FacadeTest, SavingEndCodesBuildTheRecord) {
  CECGInterface facade;
  std::strcpy(facade.m_lastName, "Doe");
  facade.m_settings.IncludeInterpretation = false;
  const struct {
    int code;
    tTestResult result;
  } cases[] = {{1, kTestSaved}, {102, kTestSavedReview}, {103, kTestSavedPrint}, {104, kTestSavedPrintPdf}};
  for (const auto& c : cases) {
    const std::string file = folder_.File("saved" + std::to_string(c.code) + ".scp");
    windows_.recording = [&](const ecg::facade::RecordingSetup& setup) {
      EXPECT_TRUE(WriteRecordingFile(setup.outputFile));
      return c.code;
    };
    EXPECT_EQ(ecg::facade::RecordInto(facade, file.c_str(), 0, {}), c.result);
    EXPECT_EQ(CReader::ReadLeads(file.c_str()), 8) << c.code;
    CPatientInfo patient;
    CRecordInfo recording;
    ASSERT_TRUE(CReader::ReadPatientAndRecordInfo(file.c_str(), &patient, &recording));
    EXPECT_EQ(patient.m_lastName.value_or(u""), u"Doe");
  }
  ASSERT_FALSE(windows_.recordings.empty());
  EXPECT_EQ(windows_.recordings[0].outputFile, ecg::facade::RecordingTempFile());
  EXPECT_EQ(windows_.recordings[0].patientName, "Doe, Quick");
  EXPECT_EQ(windows_.recordings[0].connectionType, 0);
}

TEST_F(FacadeTest, SaveTestReportsSuccessEvenWithoutARecording) {
  CECGInterface facade;
  const std::string file = folder_.File("nothing.scp");
  EXPECT_EQ(facade.SaveTest(file, true), 1);
  EXPECT_FALSE(Exists(file));
}

}  // namespace
}  // namespace ecg::test
