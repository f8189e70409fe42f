// ecg review: the review window over one record.

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QSaveFile>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "commands.h"
#include "interface/ecg_options.h"
#include "platform/folders.h"
#include "review/ecg_app.h"
#include "review/main_frame.h"
#include "review_host_local.h"

namespace ecg::app {

namespace {

constexpr int kScreenshotWidth = 1600;
constexpr int kScreenshotHeight = 1000;

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

bool HasDisplay() {
  const char* x = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x != nullptr && *x != '\0') || (wayland != nullptr && *wayland != '\0');
}

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
  if (!HasDisplay() && std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);

  int argc = 1;
  char name[] = "ecg";
  char* argv[] = {name, nullptr};
  QApplication application(argc, argv);

  CECGOptions options;
  const std::string options_file = platform::TidemarkFolder() + "/options.xml";
  if (FILE* probe = std::fopen(options_file.c_str(), "rb")) {
    std::fclose(probe);
    options.ReadOptions(options_file.c_str());
  }

  LocalReviewHost host(options);
  CECGApp app;
  app.SetOptions(options);
  ReviewStartParameters params;
  params.read_only = read_only;
  params.xml_export_allowed = options.AllowXMLExport != 0;
  if (app.OpenDocument(file, params, &host) == nullptr) {
    std::fprintf(stderr, "ecg review: %s: the record cannot be read\n", file.c_str());
    return kExitUsage;
  }
  if (!screenshot.empty()) {
    CMainFrame* frame = app.MainFrame();
    frame->showNormal();
    frame->resize(kScreenshotWidth, kScreenshotHeight);
    QApplication::processEvents();
    const QImage image = frame->grab().toImage();
    // Written beside the target and renamed over it: never a half-written picture.
    QSaveFile out(QString::fromStdString(screenshot));
    if (image.isNull() || !out.open(QIODevice::WriteOnly) || !image.save(&out, "PNG") || !out.commit()) {
      std::fprintf(stderr, "ecg review: %s: the picture cannot be written\n", screenshot.c_str());
      return kExitUsage;
    }
    std::printf("%s\n", screenshot.c_str());
    return kExitOk;
  }
  app.WaitForClose();
  return kExitOk;
}

}  // namespace ecg::app
