// ecg review: the review window over one record, through the component
// facade's Review.

#include <cstdio>
#include <string>

#include "commands.h"
#include "gui_program.h"
#include "host_windows.h"
#include "interface/facade/ecg_interface.h"

namespace ecg::app {

namespace {

const char kUsage[] =
    "Usage: ecg review FILE [--read-only] [--screenshot OUT.png]\n"
    "\n"
    "Opens the review window over an SCP-ECG record: traces, measurements, details,\n"
    "interpretation and comments, printing and re-analysis. The options come from\n"
    "options.xml in the Tidemark documents folder when it exists.\n"
    "\n"
    "  --read-only         edits never reach the file\n"
    "  --screenshot PNG    render the window at 1600 x 1000 into PNG and exit\n"
    "                      (offscreen when there is no display)\n"
    "\n"
    "Exit codes: 0 done, 2 bad usage or a record that cannot be read.\n";

}  // namespace

int RunReview(const Args& args) {
  std::string file, screenshot;
  bool read_only = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return kExitOk;
    }
    if (a == "--read-only") {
      read_only = true;
    } else if (a == "--screenshot") {
      if (i + 1 >= args.size()) {
        std::fprintf(stderr, "ecg review: --screenshot takes a PNG file name\n");
        return kExitUsage;
      }
      screenshot = args[++i];
    } else if (a.rfind("--", 0) == 0) {
      std::fprintf(stderr, "ecg review: unknown option '%s'\n\n%s", a.c_str(), kUsage);
      return kExitUsage;
    } else if (file.empty()) {
      file = a;
    } else {
      std::fprintf(stderr, "ecg review: one record at a time\n");
      return kExitUsage;
    }
  }
  if (file.empty()) {
    std::fprintf(stderr, "ecg review: no record given\n\n%s", kUsage);
    return kExitUsage;
  }
  UseOffscreenWithoutDisplay();
  GuiProgram program;
  HostWindowRequests requests;
  requests.reviewPicture = screenshot;
  HostWindows windows(requests);
  // The component's Review, waiting for the window to close (the options
  // and print options come from the Tidemark documents folder).
  CECGInterface facade;
  facade.SetReportApplicationVersion("Tidemark ECG " ECG_VERSION_TEXT);
  if (facade.Review(file.c_str(), read_only ? 1 : 0, 0) != 1) {
    std::fprintf(stderr, "ecg review: %s: the record cannot be read\n", file.c_str());
    return kExitUsage;
  }
  return screenshot.empty() ? kExitOk : PictureOutcome(windows, "review", screenshot);
}

}  // namespace ecg::app
