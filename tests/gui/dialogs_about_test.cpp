// "About Tidemark32": the component's and the analysis library's versions,
// with and without the library installed.

#include "dialogs/about_dialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <cstdlib>
#include <optional>
#include <string>

#include "dialogs_screenshot.h"
#include "qt_test_app.h"
#include "support/test_files.h"

namespace {

// Sets ECG_LIBRARY_PATH for one test and puts the old value back.
class LibraryPath {
 public:
  explicit LibraryPath(const std::string& value) {
    if (const char* old = std::getenv("ECG_LIBRARY_PATH")) saved_ = old;
    ::setenv("ECG_LIBRARY_PATH", value.c_str(), 1);
  }
  ~LibraryPath() {
    if (saved_) {
      ::setenv("ECG_LIBRARY_PATH", saved_->c_str(), 1);
    } else {
      ::unsetenv("ECG_LIBRARY_PATH");
    }
  }

 private:
  std::optional<std::string> saved_;
};

const std::string kFakeEngine = std::string(ECG_FAKE_ENGINE_DIR) + "/libQORSYS32.so";

class AboutDialog : public ::testing::Test {
 protected:
  void SetUp() override { ecg::test::EnsureQtApplication(); }
};

TEST_F(AboutDialog, ShowsBothVersionsFromTheirTables) {
  LibraryPath path(ECG_FAKE_ENGINE_DIR);
  EXPECT_EQ(CAboutDialog::LocateAnalysisLibrary(), kFakeEngine);
  // The stand-in carries only the 040904B0 block, and still shows.
  CAboutDialog dialog(kFakeEngine);
  EXPECT_EQ(dialog.windowTitle(), "About Tidemark32");
  EXPECT_EQ(dialog.SoftwareVersionField()->text(), "3.2.1.0");
  EXPECT_EQ(dialog.AlgorithmVersionField()->text(), "3.2.1.0");
  EXPECT_TRUE(dialog.SoftwareVersionField()->isReadOnly());
  bool software_label = false, algorithm_label = false;
  for (QLabel* label : dialog.findChildren<QLabel*>()) {
    software_label |= label->text() == "Software Version:";
    algorithm_label |= label->text() == "ECG Algorithm Version: ";
  }
  EXPECT_TRUE(software_label);
  EXPECT_TRUE(algorithm_label);
  ecg::test::SaveDialogScreenshot(dialog, "about");
}

TEST_F(AboutDialog, WithoutTheAnalysisLibraryTheSecondFieldIsEmpty) {
  ecg::test::TempFolder empty;
  LibraryPath path(empty.path());
  EXPECT_EQ(CAboutDialog::LocateAnalysisLibrary(), "");
  CAboutDialog dialog(kFakeEngine);
  dialog.show();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.SoftwareVersionField()->text(), "3.2.1.0");
  EXPECT_EQ(dialog.AlgorithmVersionField()->text(), "");
}

TEST_F(AboutDialog, ModulesWithoutAReadableVersionGiveEmptyFields) {
  ecg::test::TempFolder folder;
  EXPECT_EQ(CAboutDialog::FileVersionOf(""), "");
  EXPECT_EQ(CAboutDialog::FileVersionOf(folder.File("missing.so")), "");
  EXPECT_EQ(CAboutDialog::FileVersionOf(folder.Write("text.so", {'n', 'o'})), "");
  LibraryPath path(folder.path());
  CAboutDialog dialog(folder.File("missing.so"));
  EXPECT_EQ(dialog.SoftwareVersionField()->text(), "");
}

}  // namespace
