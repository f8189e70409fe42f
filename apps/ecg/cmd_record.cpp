// ecg record: runs the recording window on a cable port, a demo file or the
// cable simulator, and turns the saved recording file into a record (and
// analyses it when it holds more than six leads), as the interface's Test
// operation does.

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "acquisition/cable_settings.h"
#include "acquisition/device_comm.h"
#include "analysis/analysis.h"
#include "commands.h"
#include "platform/folders.h"
#include "recording/simulated_cable.h"
#include "recording/tm_realtime_dlg.h"
#include "scp/reader.h"
#include "scp/section1_model.h"
#include "scp/writer.h"

namespace ecg::app {

namespace {

constexpr const char* kHelp =
    "Usage: ecg record --out FILE.scp [--port N | --demo FILE.ecg | --simulate]\n"
    "                  [--seconds S] [--screenshot OUT.png]\n\n"
    "Opens the recording window. Without a source it searches the COM ports for\n"
    "the cable. --demo replays a demo recording; --simulate records from the cable\n"
    "simulator on a pseudo-terminal through the serial path. With --seconds the\n"
    "window saves by itself once S seconds of data (at least ten) have arrived.\n"
    "The saved recording file (\"rt-ecg.tmp\" in <documents>/Tidemark) becomes the\n"
    "record FILE.scp, which is then analysed. --screenshot saves the window as PNG\n"
    "just before the unattended save. Without DISPLAY or WAYLAND_DISPLAY it runs\n"
    "on Qt's offscreen platform.\n\n"
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
  const std::string recording_file = folder + "/rt-ecg.tmp";

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
  } else if (demo.empty() && port == 0) {
    CDeviceComm search;
    int found = 1;
    if (search.DetectCable(&found, false) == 0) {
      std::fprintf(stderr,
                   "ecg record: Cannot find ECG cable. Ensure the cable is securely connected to "
                   "the computer and try again.\n");
      return kExitUsage;
    }
    port = found;
  }

  if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr &&
      std::getenv("QT_QPA_PLATFORM") == nullptr) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  int argc = 1;
  char name[] = "ecg";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);

  int end_code = CTM_RealTimeDlg::kEndCancel;
  {
    CTM_RealTimeDlg window;
    window.SetOutputFile(recording_file);
    window.SetDemoOutputFile(folder + "/rt-ecg.ecg");
    window.SetECGBufferSize(900);
    window.SetPatientName("Test, Quick");
    window.LeadGroup(7);
    if (!demo.empty()) {
      window.SetDemoFile(demo, true);
    } else {
      window.SetPortName(CCableSettings::PortName(port));
    }
    QTimer unattended;
    const uint64_t frames_wanted = static_cast<uint64_t>(seconds) * 500;
    if (seconds > 0) {
      QObject::connect(&unattended, &QTimer::timeout, &window, [&] {
        if (!window.SaveButton()->isEnabled() || window.RingBytes() / 13 < frames_wanted) return;
        unattended.stop();
        if (!screenshot.empty() && !window.grab().save(QString::fromStdString(screenshot), "PNG")) {
          std::fprintf(stderr, "ecg record: cannot write %s\n", screenshot.c_str());
        }
        window.OnSaveBtn();
      });
      unattended.start(200);
      // A source that never delivers ends the window instead of waiting forever.
      QTimer::singleShot((seconds + 90) * 1000, &window, [&window] {
        std::fprintf(stderr, "ecg record: no data arrived in time\n");
        window.reject();
      });
    }
    window.exec();
    end_code = window.EndCode();
  }
  cable.Stop();
  if (!com_dir.empty()) rmdir(com_dir.c_str());

  if (end_code != CTM_RealTimeDlg::kEndSave && end_code != CTM_RealTimeDlg::kEndSaveReview &&
      end_code != CTM_RealTimeDlg::kEndSavePrint && end_code != CTM_RealTimeDlg::kEndSavePrintPdf) {
    std::fprintf(stderr, "ecg record: the recording ended without saving (end code %d)\n", end_code);
    return kExitCheckFailed;
  }
  CPatientInfo patient;
  patient.m_patientId = u"-";
  patient.m_lastName = u"Test";
  patient.m_firstName = u"Quick";
  patient.m_sex = 1;
  patient.m_birthYear = 1970;
  patient.m_birthMonth = 1;
  patient.m_birthDay = 1;
  CWriter writer;
  if (!writer.CreateFromPelluxFile(out.c_str(), recording_file.c_str(), &patient)) {
    std::fprintf(stderr, "ecg record: cannot make the record %s from %s\n", out.c_str(),
                 recording_file.c_str());
    return kExitCheckFailed;
  }
  std::printf("%s: recorded\n", out.c_str());
  if (CReader::ReadLeads(out) > 6) {
    CAnalysis analysis;
    analysis.m_interpretationOption = 1;
    analysis.m_patientDataCheckOption = 1;
    analysis.m_codesOption = 0;
    const int16_t result = analysis.CreateAnalysis(out.c_str(), 0, false);
    std::printf("%s: analysis %d (%s)\n", out.c_str(), result, ecg::analysis::AnalysisResultMeaning(result));
  }
  return kExitOk;
}

}  // namespace ecg::app
