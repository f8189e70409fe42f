// ecg patient and ecg options --gui, run as a person would run them: pictures
// of the dialogs, refusals with their reasons, files left alone.

#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <fstream>
#include <string>

#include "run_program.h"
#include "support/test_files.h"

namespace {

using ecg::test::ReadFile;
using ecg::test::RunProgram;
using ecg::test::TempFolder;

class DialogCommands : public ::testing::Test {
 protected:
  // No display: windows go offscreen and nothing waits for a person.
  void SetUp() override {
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
  }

  static void ExpectPicture(const std::string& path, int min_width, int min_height) {
    QImage image(QString::fromStdString(path));
    ASSERT_FALSE(image.isNull()) << path;
    EXPECT_GE(image.width(), min_width);
    EXPECT_GE(image.height(), min_height);
  }

  TempFolder folder_;
};

TEST_F(DialogCommands, PatientScreenshot) {
  const std::string png = folder_.File("patient.png");
  auto result = RunProgram(ECG_PROGRAM, {"patient", "--metric", "--screenshot", png});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_NE(result.out.find(png), std::string::npos);
  ExpectPicture(png, 200, 150);
}

TEST_F(DialogCommands, PatientRefusals) {
  auto result = RunProgram(ECG_PROGRAM, {"patient"});
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_NE(result.err.find("--screenshot"), std::string::npos) << result.err;

  result = RunProgram(ECG_PROGRAM, {"patient", "--screenshot"});
  EXPECT_EQ(result.exit_code, 2);
  result = RunProgram(ECG_PROGRAM, {"patient", "--inches"});
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_NE(result.err.find("unknown argument"), std::string::npos);

  result = RunProgram(ECG_PROGRAM,
                      {"patient", "--screenshot", folder_.File("no/such/folder/p.png")});
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_NE(result.err.find("cannot be written"), std::string::npos) << result.err;
}

TEST_F(DialogCommands, SettingsSheetScreenshotOfEachPage) {
  const std::string options = folder_.File("options.xml");  // not there yet
  for (const char* page : {"general", "analysis", "acquisition", "review", "lead-order"}) {
    const std::string png = folder_.File(std::string("settings-") + page + ".png");
    auto result = RunProgram(ECG_PROGRAM, {"options", "--gui", "--file", options, "--page", page,
                                           "--screenshot", png});
    ASSERT_EQ(result.exit_code, 0) << page << ": " << result.err;
    ExpectPicture(png, 300, 200);
  }
  // Pictures never write the options file.
  EXPECT_FALSE(std::ifstream(options).good());
}

TEST_F(DialogCommands, SettingsSheetRefusesAnOptionsFileItCannotRead) {
  const std::string text = "<root><ECGOptions><Port>4</Port><Speed>fast";
  const std::string options = folder_.Write("options.xml", {text.begin(), text.end()});
  auto result = RunProgram(ECG_PROGRAM, {"options", "--gui", "--file", options, "--screenshot",
                                         folder_.File("s.png")});
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_NE(result.err.find("left as it is"), std::string::npos) << result.err;
  const auto bytes = ReadFile(options);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), text);
}

TEST_F(DialogCommands, SettingsSheetArgumentErrors) {
  auto result = RunProgram(ECG_PROGRAM, {"options", "--page", "general"});
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_NE(result.err.find("go with --gui"), std::string::npos);
  result = RunProgram(ECG_PROGRAM, {"options", "--gui", "--print-defaults"});
  EXPECT_EQ(result.exit_code, 2);
  result = RunProgram(ECG_PROGRAM, {"options", "--gui", "--page", "colours", "--screenshot",
                                    folder_.File("x.png")});
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_NE(result.err.find("unknown page"), std::string::npos);
  result = RunProgram(ECG_PROGRAM, {"options", "--gui", "--file", folder_.File("o.xml")});
  EXPECT_EQ(result.exit_code, 2) << "no display and no picture asked for";
  EXPECT_FALSE(std::ifstream(folder_.File("o.xml")).good());
}

}  // namespace
