// ecg record as a program: its usage errors, and unattended recordings from
// the cable simulator (serial path) and from a demo file that become valid
// records, with a picture of the live window.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "recording_test_support.h"
#include "run_program.h"
#include "support/test_files.h"

namespace {

using ecg::test::RunProgram;

class RecordCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("ECG_DOCUMENTS_DIR", folder_.path().c_str(), 1);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
  }
  void TearDown() override { unsetenv("ECG_DOCUMENTS_DIR"); }

  ecg::test::TempFolder folder_;
};

TEST_F(RecordCommand, UsageErrorsExitTwoAndWriteNothing) {
  const std::string out = folder_.File("x.scp");
  EXPECT_EQ(RunProgram(ECG_PROGRAM, {"record"}).exit_code, 2);
  EXPECT_EQ(RunProgram(ECG_PROGRAM, {"record", "--out", out, "--port", "0"}).exit_code, 2);
  EXPECT_EQ(RunProgram(ECG_PROGRAM, {"record", "--out", out, "--seconds", "abc", "--simulate"}).exit_code, 2);
  EXPECT_EQ(RunProgram(ECG_PROGRAM, {"record", "--out", out, "--demo", folder_.File("none.ecg")}).exit_code, 2);
  const auto both = RunProgram(ECG_PROGRAM, {"record", "--out", out, "--simulate", "--port", "3"});
  EXPECT_EQ(both.exit_code, 2);
  EXPECT_NE(both.err.find("one of"), std::string::npos) << both.err;
  EXPECT_EQ(RunProgram(ECG_PROGRAM, {"record", "--bogus"}).exit_code, 2);
  EXPECT_TRUE(ecg::test::ReadFile(out).empty());
  const auto help = RunProgram(ECG_PROGRAM, {"record", "--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("--simulate"), std::string::npos);
}

TEST_F(RecordCommand, SimulatedCableGivesAValidRecordAndAPicture) {
  const std::string out = folder_.File("sim.scp");
  const std::string png = ecg::test::TestOutputFolder() + "/recording_cli_simulate.png";
  const auto run = RunProgram(ECG_PROGRAM, {"record", "--simulate", "--seconds", "10", "--out", out,
                                            "--screenshot", png});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(run.out.find("recorded"), std::string::npos) << run.out;
  EXPECT_EQ(RunProgram(ECG_PROGRAM, {"check", out}).exit_code, 0);
  const auto info = RunProgram(ECG_PROGRAM, {"info", out});
  EXPECT_NE(info.out.find("serial SIM001"), std::string::npos) << info.out;
  EXPECT_FALSE(ecg::test::ReadFile(png).empty());
  EXPECT_FALSE(ecg::test::ReadFile(folder_.File("Tidemark/rt-ecg.tmp")).empty());
  // The component's Test found the cable and kept its port in the user's options.
  const auto options = RunProgram(ECG_PROGRAM, {"options", "--file", folder_.File("Tidemark/options.xml")});
  EXPECT_EQ(options.exit_code, 0) << options.err;
  EXPECT_NE(options.out.find("COM1"), std::string::npos) << options.out;
}

TEST_F(RecordCommand, DemoFileGivesAValidRecord) {
  const std::string demo = folder_.File("fast.ecg");
  ASSERT_TRUE(ecg::test::WriteDemoRecording(demo, ecg::test::SyntheticFrames(8000), 2500.0));
  const std::string out = folder_.File("demo.scp");
  const auto run = RunProgram(ECG_PROGRAM, {"record", "--demo", demo, "--seconds", "10", "--out", out});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(RunProgram(ECG_PROGRAM, {"check", out}).exit_code, 0);
  const auto info = RunProgram(ECG_PROGRAM, {"info", out});
  EXPECT_NE(info.out.find("1-5000"), std::string::npos) << info.out;
}

}  // namespace
