// ecg options --gui: the component facade's Options, the "Tidemark Settings"
// sheet, over an options file (or the defaults when the file does not exist
// yet); OK writes the file.

#include <cstdio>
#include <filesystem>
#include <string>

#include "commands.h"
#include "gui_program.h"
#include "host_windows.h"
#include "interface/ecg_options.h"
#include "interface/facade/ecg_interface.h"
#include "interface/options_xml.h"
#include "platform/last_error.h"

namespace ecg::app {

namespace {

constexpr const char* kPages[] = {"general", "analysis", "acquisition", "review", "lead-order"};

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
  std::error_code exists_error;
  const bool file_exists = std::filesystem::exists(file, exists_error);
  if (file_exists) {
    CECGOptions options;
    const auto result = ecg::interface::ReadOptionsFile(file, options);
    if (!result.ok) {
      std::fprintf(stderr, "ecg options: %s: %s (error %u); the file is left as it is\n",
                   file.c_str(), result.message.c_str(), result.error);
      return kExitUsage;
    }
  }

  if (!HasDisplay() && screenshot.empty()) {
    std::fputs("ecg options: no display to show the settings on (use --screenshot)\n", stderr);
    return kExitUsage;
  }
  UseOffscreenWithoutDisplay();
  GuiProgram program;
  HostWindowRequests requests;
  requests.sheetPicture = screenshot;
  requests.sheetPage = page_index;
  HostWindows windows(requests);

  // The component's Options over the file's options; OK saves them.
  CECGInterface facade;
  if (file_exists) facade.ReadOptions(file.c_str());
  if (remove_units) facade.RemoveUnits();
  const int result = facade.Options();
  if (!screenshot.empty()) {
    return PictureOutcome(windows, "options", screenshot);
  }
  if (result != 1) {
    std::puts("Cancelled: the options file is unchanged.");
    return kExitOk;
  }
  ecg::platform::SetLastError(ecg::platform::kErrorSuccess);
  facade.SaveOptions(file.c_str());
  if (ecg::platform::GetLastError() != ecg::platform::kErrorSuccess) {
    std::fprintf(stderr, "ecg options: %s: the options cannot be written\n", file.c_str());
    return kExitUsage;
  }
  std::printf("Options written to %s\n", file.c_str());
  return kExitOk;
}

}  // namespace ecg::app
