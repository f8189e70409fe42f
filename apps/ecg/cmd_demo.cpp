// ecg demo: the main job on the embedded demo recording. The recording is
// replayed through the recording window's real cable path (a replay file,
// connection type 1), ten seconds are saved and turned into a record by the
// component facade, analysed by our engine, printed as a PDF report (3x4,
// averaged complexes, measurements) and exported as XML. Without --gui
// everything runs offscreen and the window saves by itself.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

#include "commands.h"
#include "gui_program.h"
#include "interface/facade/ecg_interface.h"
#include "interface/facade/recording_run.h"
#include "platform/folders.h"
#include "platform/text_codec.h"
#include "record_report.h"
#include "report/ecg_print.h"
#include "report/report_types.h"
#include "scp/reader.h"

#ifndef ECG_DEMO_RECORDING
#define ECG_DEMO_RECORDING ""
#endif

namespace ecg::app {
namespace {

const char kHelp[] =
    "Usage: ecg demo [--out DIR] [--gui]\n\n"
    "Records ten seconds from the demo recording through the recording\n"
    "window's replay path (no cable or display needed), turns them into an\n"
    "SCP-ECG record, analyses it, writes a PDF report (3x4, averaged complexes,\n"
    "measurements) and an XML export, and prints the interpretation, the\n"
    "measurements and the files written.\n\n"
    "  --out DIR  the folder for demo.scp, demo.pdf and demo.xml (default:\n"
    "             demo-output); made when missing\n"
    "  --gui      show the recording window (press Save) and open the review\n"
    "             window on the record afterwards\n\n"
    "The demo recording is normal-12lead.ecg: $ECG_DEMO_FILE when set, else\n"
    "data/demo/ beside the program, else the build tree's data/demo/.\n";

bool IsFile(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string FindDemoRecording() {
  if (const char* env = std::getenv("ECG_DEMO_FILE"); env != nullptr && *env != '\0') return env;
  const std::string beside = platform::ModuleFolder() + "/data/demo/normal-12lead.ecg";
  if (IsFile(beside)) return beside;
  if (IsFile(ECG_DEMO_RECORDING)) return ECG_DEMO_RECORDING;
  return {};
}

void PrintFindings(const std::string& record) {
  CGeneralInfo general;
  if (CReader::ReadGeneralInfo(record.c_str(), &general) && general.m_interpretation &&
      !general.m_interpretation->empty()) {
    std::printf("Interpretation:\n");
    std::string text = platform::WideToUtf8Lossy(*general.m_interpretation);
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find_first_of("\r\n", start);
      if (end == std::string::npos) end = text.size();
      if (end > start) std::printf("  %s\n", text.substr(start, end - start).c_str());
      start = end + 1;
    }
  } else {
    std::printf("Interpretation: (none)\n");
  }
  CAnalysisInfo info;
  if (!CReader::ReadAnalysisInfo(record.c_str(), &info) || info.m_global.m_blockCount == 0) {
    std::printf("Measurements: (none)\n");
    return;
  }
  const SGlobalMeasurements& g = info.m_global;
  std::printf("Measurements:\n");
  if (auto rate = g.HeartRate()) std::printf("  heart rate     %u /min\n", *rate);
  std::printf("  RR interval    %u ms\n", g.m_rr);
  std::printf("  P duration     %s\n", MarkSpanText(g.m_pOnset, g.m_pOffset).c_str());
  std::printf("  PR interval    %s\n", MarkSpanText(g.m_pOnset, g.m_qrsOnset).c_str());
  std::printf("  QRS duration   %s\n", MarkSpanText(g.m_qrsOnset, g.m_qrsOffset).c_str());
  std::printf("  QT interval    %s\n", MarkSpanText(g.m_qrsOnset, g.m_tOffset).c_str());
  std::printf("  P/QRS/T axis   %d / %d / %d degrees\n", g.m_pAxis, g.m_qrsAxis, g.m_tAxis);
}

}  // namespace

int RunDemo(const Args& args) {
  std::string out = "demo-output";
  bool gui = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      std::fputs(kHelp, stdout);
      return kExitOk;
    } else if (a == "--gui") {
      gui = true;
    } else if (a == "--out" && i + 1 < args.size()) {
      out = args[++i];
    } else {
      std::fprintf(stderr, "ecg demo: unexpected argument %s\n\n%s", a.c_str(), kHelp);
      return kExitUsage;
    }
  }
  const std::string demo = FindDemoRecording();
  if (demo.empty() || !IsFile(demo)) {
    std::fprintf(stderr, "ecg demo: the demo recording normal-12lead.ecg was not found (build the "
                         "ecg_demo_files target, or set ECG_DEMO_FILE)\n");
    return kExitUsage;
  }
  if (!platform::MakeFolders(out)) {
    std::fprintf(stderr, "ecg demo: cannot make the folder %s\n", out.c_str());
    return kExitUsage;
  }
  if (!gui || !HasDisplay()) {
    if (gui) std::fprintf(stderr, "ecg demo: no display; running offscreen\n");
    gui = false;
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  GuiProgram program(gui);

  const std::string record = out + "/demo.scp";
  const std::string pdf = out + "/demo.pdf";
  const std::string xml = out + "/demo.xml";
  std::remove(record.c_str());

  CECGInterface facade;
  facade.SetReportApplicationVersion("Tidemark ECG " ECG_VERSION_TEXT);
  std::printf("Recording 10 s from %s ...\n", demo.c_str());
  std::fflush(stdout);
  const tTestResult result = ecg::facade::RecordInto(facade, record.c_str(), 1, demo, gui ? 0 : 10);
  if (result == kTestNotSaved) {
    std::fprintf(stderr, "ecg demo: the recording ended without saving\n");
    return kExitCheckFailed;
  }
  const int16_t leads = CReader::ReadLeads(record.c_str());
  if (leads == 0) {
    std::fprintf(stderr, "ecg demo: the record %s was not written\n", record.c_str());
    return kExitCheckFailed;
  }
  std::printf("Record: %s (%d leads, analysed)\n", record.c_str(), leads);
  PrintFindings(record);

  facade.ClearReports();
  facade.AddReport(record.c_str());
  facade.m_pECGPrint->m_reportMask = ecg::report::kReport3x4Simultaneous | ecg::report::kReportAveraged |
                                     ecg::report::kReportMeasurements;
  const bool printed = facade.PrintToFile(pdf.c_str()) == 1;
  facade.ClearReports();
  const bool exported = facade.ExportToXml(record.c_str(), xml.c_str()) == 1;
  std::printf("Files:\n  %s\n", record.c_str());
  if (printed) std::printf("  %s\n", pdf.c_str());
  if (exported) std::printf("  %s\n", xml.c_str());
  if (!printed) std::fprintf(stderr, "ecg demo: the PDF report could not be written\n");
  if (!exported) std::fprintf(stderr, "ecg demo: the XML export could not be written\n");
  if (gui && printed && exported) facade.Review(record.c_str(), 0, 0);
  return printed && exported ? kExitOk : kExitCheckFailed;
}

}  // namespace ecg::app
