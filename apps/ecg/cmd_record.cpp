// ecg record: the component facade's Test on a cable port (or the cable
// simulator), or its recording of a demo file: the recording window, then
// the saved recording file turned into a record and analysed when it holds
// more than six leads.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "acquisition/device_comm.h"
#include "analysis/analysis.h"
#include "commands.h"
#include "gui_program.h"
#include "host_windows.h"
#include "interface/facade/analysis_details.h"
#include "interface/facade/ecg_interface.h"
#include "interface/facade/recording_run.h"
#include "platform/folders.h"
#include "recording/simulated_cable.h"
#include "scp/reader.h"

namespace ecg::app {

namespace {

constexpr const char* kHelp =
    "Usage: ecg record --out FILE.scp [--port N | --demo FILE.ecg | --simulate]\n"
    "                  [--seconds S] [--screenshot OUT.png]\n\n"
    "Opens the recording window the way the component's Test does, with the\n"
    "options of <documents>/Tidemark/options.xml. Without a source it searches the\n"
    "COM ports for the cable, starting with the options' port (found: the port is\n"
    "saved in the options). --demo replays a demo recording; --simulate records\n"
    "from the cable simulator on a pseudo-terminal through the serial path. With\n"
    "--seconds the window saves by itself once S seconds of data (at least ten)\n"
    "have arrived.\n"
    "The saved recording file (\"rt-ecg.tmp\" in <documents>/Tidemark) becomes the\n"
    "record FILE.scp, which is then analysed. --screenshot saves the window as PNG\n"
    "just before the unattended save. Without DISPLAY or WAYLAND_DISPLAY it runs\n"
    "on Qt's offscreen platform.\n\n"
    "A window closed with save-and-review or save-and-print then opens the review\n"
    "window or prints, as a host of the component does.\n\n"
    "Exit codes: 0 record written, 1 the recording was not saved or could not be\n"
    "converted, 2 bad usage or no cable.\n";

bool ParseInt(const std::string& text, int lo, int hi, int* out) {
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || v < lo || v > hi) return false;
  *out = static_cast<int>(v);
  return true;
}

}  // namespace

int RunRecord(const Args& args) {
  std::string out, demo, screenshot;
  int port = 0;
  int seconds = 0;
  bool simulate = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string* v) {
      if (i + 1 >= args.size()) return false;
      *v = args[++i];
      return true;
    };
    std::string text;
    if (a == "--help" || a == "-h") {
      std::fputs(kHelp, stdout);
      return kExitOk;
    } else if (a == "--out") {
      if (!value(&out)) return std::fputs(kHelp, stderr), kExitUsage;
    } else if (a == "--demo") {
      if (!value(&demo)) return std::fputs(kHelp, stderr), kExitUsage;
    } else if (a == "--screenshot") {
      if (!value(&screenshot)) return std::fputs(kHelp, stderr), kExitUsage;
    } else if (a == "--port") {
      if (!value(&text) || !ParseInt(text, 1, CDeviceComm::kMaxPort, &port)) {
        std::fprintf(stderr, "ecg record: --port needs a port number 1-%d\n", CDeviceComm::kMaxPort);
        return kExitUsage;
      }
    } else if (a == "--seconds") {
      if (!value(&text) || !ParseInt(text, 1, 900, &seconds)) {
        std::fprintf(stderr, "ecg record: --seconds needs a number of seconds 1-900\n");
        return kExitUsage;
      }
    } else if (a == "--simulate") {
      simulate = true;
    } else {
      std::fprintf(stderr, "ecg record: unknown argument '%s'\n\n", a.c_str());
      std::fputs(kHelp, stderr);
      return kExitUsage;
    }
  }
  if (out.empty()) {
    std::fprintf(stderr, "ecg record: --out FILE.scp is required\n\n");
    std::fputs(kHelp, stderr);
    return kExitUsage;
  }
  if ((port != 0) + !demo.empty() + simulate > 1) {
    std::fprintf(stderr, "ecg record: give one of --port, --demo and --simulate\n");
    return kExitUsage;
  }
  if (!demo.empty() && access(demo.c_str(), R_OK) != 0) {
    std::fprintf(stderr, "ecg record: cannot read demo file %s\n", demo.c_str());
    return kExitUsage;
  }
  const std::string folder = ecg::platform::TidemarkFolder();
  if (folder.empty()) {
    std::fprintf(stderr, "ecg record: cannot create the Tidemark folder in %s\n",
                 ecg::platform::DocumentsFolder().c_str());
    return kExitUsage;
  }

  // The simulated cable lives in a private port folder as COM1.
  ecg::recording::SimulatedCable cable;
  std::string com_dir;
  if (simulate) {
    char dir[] = "/tmp/ecg-record-XXXXXX";
    if (mkdtemp(dir) == nullptr) {
      std::perror("ecg record: mkdtemp");
      return kExitUsage;
    }
    com_dir = dir;
    setenv("ECG_COM_DIR", com_dir.c_str(), 1);
    std::string reason;
    if (!cable.Start(com_dir, 1, ecg::cablesim::SimulatorOptions{}, &reason)) {
      std::fprintf(stderr, "ecg record: cable simulator: %s\n", reason.c_str());
      rmdir(com_dir.c_str());
      return kExitUsage;
    }
    port = 1;
  }

  UseOffscreenWithoutDisplay();
  GuiProgram program;
  HostWindowRequests requests;
  requests.recordingSeconds = seconds;
  requests.recordingPicture = screenshot;
  HostWindows windows(requests);

  // The component as a host drives it: the user's options, then Test on the
  // cable port (searched from the options' port, or the one given), or the
  // recording of a demo file; Test's SaveTest turns the recording file into
  // the record and analyses it.
  CECGInterface facade;
  const std::string options_file = folder + "/options.xml";
  if (access(options_file.c_str(), R_OK) == 0) facade.ReadOptions(options_file.c_str());
  facade.SetReportApplicationVersion("Tidemark ECG " ECG_VERSION_TEXT);
  if (port != 0) facade.m_settings.Port = port;
  std::remove(out.c_str());
  const tTestResult result = demo.empty() ? facade.Test(out.c_str())
                                          : ecg::facade::RecordInto(facade, out.c_str(), 1, demo);
  cable.Stop();
  if (!com_dir.empty()) rmdir(com_dir.c_str());
  if (!screenshot.empty() && access(screenshot.c_str(), R_OK) != 0) {
    std::fprintf(stderr, "ecg record: cannot write %s\n", screenshot.c_str());
  }

  if (result == kTestNoCable) {
    std::fprintf(stderr, "ecg record: no cable found on any COM port\n");
    return kExitUsage;
  }
  if (result == kTestNotSaved) {
    std::fprintf(stderr, "ecg record: the recording ended without saving\n");
    return kExitCheckFailed;
  }
  if (CReader::ReadLeads(out) <= 0) {
    std::fprintf(stderr, "ecg record: cannot make the record %s from %s\n", out.c_str(),
                 ecg::facade::RecordingTempFile().c_str());
    return kExitCheckFailed;
  }
  std::printf("%s: recorded\n", out.c_str());
  const ecg::facade::AnalysisDetails analysis = ecg::facade::LastAnalysisDetails(facade);
  if (analysis.ran) {
    std::printf("%s: analysis %d (%s)\n", out.c_str(), analysis.result,
                ecg::analysis::AnalysisResultMeaning(analysis.result));
  }
  // What the window was closed with: review or print the new record.
  if (result == kTestSavedReview) {
    facade.Review(out.c_str(), 0, 0);
  } else if (result == kTestSavedPrint) {
    facade.ClearReports();
    facade.AddReport(out.c_str());
    facade.Print();
  } else if (result == kTestSavedPrintPdf) {
    facade.PrintSCPFileToFile(out.c_str());
  }
  return kExitOk;
}

}  // namespace ecg::app
