// ecg options --gui: the "Tidemark Settings" sheet over an options file (or
// the defaults when the file does not exist yet); OK writes the file.

#include <QApplication>
#include <QTabWidget>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "commands.h"
#include "dialogs/message_box_prompt.h"
#include "dialogs/settings_sheet.h"
#include "dialogs/widget_picture.h"
#include "interface/ecg_options.h"
#include "interface/options_xml.h"
#include "report/ecg_print.h"

namespace ecg::app {

namespace {

constexpr const char* kPages[] = {"general", "analysis", "acquisition", "review", "lead-order"};

bool HasDisplay() {
  const char* x = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x != nullptr && *x != '\0') || (wayland != nullptr && *wayland != '\0');
}

}  // namespace

int RunOptionsGui(const std::string& file, bool remove_units, const std::string& screenshot,
                  const std::string& page) {
  int page_index = 0;
  if (!page.empty()) {
    page_index = -1;
    for (int i = 0; i < 5; ++i) {
      if (page == kPages[i]) page_index = i;
    }
    if (page_index < 0) {
      std::fprintf(stderr,
                   "ecg options: unknown page '%s' (general, analysis, acquisition, review, "
                   "lead-order)\n",
                   page.c_str());
      return kExitUsage;
    }
  }

  // A file that exists must read cleanly: the sheet never writes over
  // options it could not read.
  CECGOptions options;
  std::error_code exists_error;
  if (std::filesystem::exists(file, exists_error)) {
    const auto result = ecg::interface::ReadOptionsFile(file, options);
    if (!result.ok) {
      std::fprintf(stderr, "ecg options: %s: %s (error %u); the file is left as it is\n",
                   file.c_str(), result.message.c_str(), result.error);
      return kExitUsage;
    }
  }

  if (!HasDisplay()) {
    if (screenshot.empty()) {
      std::fputs("ecg options: no display to show the settings on (use --screenshot)\n", stderr);
      return kExitUsage;
    }
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  int argc = 1;
  char name[] = "ecg";
  char* argv[] = {name, nullptr};
  QApplication application(argc, argv);

  if (!screenshot.empty()) {
    CSettingsSheet sheet(options, remove_units);
    sheet.Tabs()->setCurrentIndex(page_index);
    if (!ecg::dialogs::WriteWidgetPicture(sheet, screenshot)) {
      std::fprintf(stderr, "ecg options: %s: the picture cannot be written\n", screenshot.c_str());
      return kExitUsage;
    }
    std::printf("%s\n", screenshot.c_str());
    return kExitOk;
  }

  ecg::dialogs::MessageBoxPrompt prompt;
  ecg::platform::ScopedPrompt scoped(&prompt);
  CECGPrint engine(&options);
  if (RunSettingsSheet(options, remove_units, &engine, nullptr) != 1) {
    std::puts("Cancelled: the options file is unchanged.");
    return kExitOk;
  }
  if (!options.SaveOptions(file.c_str())) {
    std::fprintf(stderr, "ecg options: %s: the options cannot be written\n", file.c_str());
    return kExitUsage;
  }
  std::printf("Options written to %s\n", file.c_str());
  return kExitOk;
}

}  // namespace ecg::app
