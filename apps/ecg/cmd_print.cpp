// ecg print: reports of records to a PDF, JPEG or TIFF file, a printer or
// the print preview, through the component facade's print operations.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "commands.h"
#include "gui_program.h"
#include "interface/facade/ecg_interface.h"
#include "platform/last_error.h"
#include "record_report.h"
#include "scp/reader.h"
#include "scp/scp_decoder.h"
#include "report/ecg_print.h"
#include "report/pdf_output.h"
#include "report/print_options_file.h"
#include "report/report_types.h"

namespace ecg::app {

namespace {

constexpr const char* kHelp =
    "Usage: ecg print FILE.scp... --out OUT.pdf|OUT.jpg|OUT.tif [options]\n"
    "       ecg print FILE.scp... --printer NAME [options]\n"
    "       ecg print FILE.scp... --preview [options]\n\n"
    "Lays out the reports of each record and sends them to a file, a printer\n"
    "or the print preview window.\n\n"
    "Options:\n"
    "  --print-options F  read the report options from F (default:\n"
    "                     <documents>/Tidemark/printoptions.xml when it exists)\n"
    "  --report TYPES     the report types instead of the options file's: a\n"
    "                     comma-separated list of type numbers or 'all'\n"
    "                     (1 3x4 simultaneous, 2 3x4 sequential, 4 6x2, 8 6x1,\n"
    "                     16 averaged, 32 measurements, 64 3x2 simultaneous,\n"
    "                     128 3x2 sequential, 1024 6x1 simultaneous,\n"
    "                     2048 single lead, 4096 zoom, 8192 averaged zoom)\n\n"
    "Files: .pdf is one vector PDF; .jpg/.jpeg and .tif/.tiff are 200 dpi images,\n"
    "page 1 in OUT, page n in OUT-n (e.g. report.jpg, report-2.jpg).\n"
    "Without DISPLAY or WAYLAND_DISPLAY it runs on Qt's offscreen platform.\n\n"
    "Exit code: 0 printed; 1 nothing printed (no report type applies to the\n"
    "records, or the printer or file failed); 2 bad usage, a record or options\n"
    "file that cannot be read.\n";

constexpr int32_t kAllReportTypes = 1 | 2 | 4 | 8 | 16 | 32 | 64 | 128 | 1024 | 2048 | 4096 | 8192;

bool ParseReportTypes(const std::string& text, int32_t* mask) {
  if (text == "all") {
    *mask = kAllReportTypes;
    return true;
  }
  int32_t result = 0;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t comma = text.find(',', start);
    const std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    char* end = nullptr;
    const long v = std::strtol(item.c_str(), &end, 10);
    if (item.empty() || *end != '\0' || v <= 0 || (v & (v - 1)) != 0 || (v & kAllReportTypes) == 0) return false;
    result |= static_cast<int32_t>(v);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  *mask = result;
  return result != 0;
}

bool FileExists(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return false;
  std::fclose(f);
  return true;
}

}  // namespace

int RunPrint(const Args& args) {
  std::vector<std::string> files;
  std::string out, printer, options_path, report_types;
  bool preview = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string* target) {
      if (i + 1 >= args.size()) return false;
      *target = args[++i];
      return true;
    };
    if (a == "--help" || a == "-h") {
      std::fputs(kHelp, stdout);
      return kExitOk;
    } else if (a == "--out") {
      if (!value(&out)) return std::fputs(kHelp, stderr), kExitUsage;
    } else if (a == "--printer") {
      if (!value(&printer)) return std::fputs(kHelp, stderr), kExitUsage;
    } else if (a == "--print-options") {
      if (!value(&options_path)) return std::fputs(kHelp, stderr), kExitUsage;
    } else if (a == "--report") {
      if (!value(&report_types)) return std::fputs(kHelp, stderr), kExitUsage;
    } else if (a == "--preview") {
      preview = true;
    } else if (a.rfind("--", 0) == 0) {
      std::fprintf(stderr, "ecg print: unknown option %s\n\n%s", a.c_str(), kHelp);
      return kExitUsage;
    } else {
      files.push_back(a);
    }
  }
  const int destinations = (out.empty() ? 0 : 1) + (printer.empty() ? 0 : 1) + (preview ? 1 : 0);
  if (files.empty() || destinations != 1) {
    std::fprintf(stderr, "ecg print: name the records and exactly one of --out, --printer, --preview\n\n%s", kHelp);
    return kExitUsage;
  }
  if (!out.empty() && report::OutputFormatOf(out) == report::OutputFormat::kNone) {
    std::fprintf(stderr, "ecg print: %s: the output must end in .pdf, .jpg, .jpeg, .tif or .tiff\n", out.c_str());
    return kExitUsage;
  }
  int32_t mask = 0;
  if (!report_types.empty() && !ParseReportTypes(report_types, &mask)) {
    std::fprintf(stderr, "ecg print: --report %s: not a list of report types\n", report_types.c_str());
    return kExitUsage;
  }
  for (const std::string& f : files) {
    if (!FileExists(f)) {
      std::fprintf(stderr, "ecg print: %s: cannot open the record\n", f.c_str());
      return kExitUsage;
    }
    // A record whose leads cannot be read has nothing to print: say so
    // rather than let the report engine find no report for it.
    CReader reader;
    int16_t loaded = 0;
    ecg::scp::DecodeReport decode;
    const bool read = reader.Load(f, loaded, static_cast<int16_t>(kSection0Bit | kSection1Bit |
                                                                  kSection3Bit | kSection6Bit));
    // Records from other systems store their samples encoded: the report
    // draws the decoded samples.
    if (read && !reader.LoadDecodedSamples(f, decode)) {
      std::fprintf(stderr, "ecg print: %s: the record's samples cannot be decoded: %s\n",
                   f.c_str(), decode.message.c_str());
      return kExitUsage;
    }
    if (!read || (reader.GetLeads() <= 0 || reader.GetRhythmDataPtr() == nullptr)) {
      const uint32_t code = platform::GetLastError();
      std::fprintf(stderr, "ecg print: %s: the record's leads cannot be read%s%s\n", f.c_str(),
                   code != 0 ? ": " : "", code != 0 ? DescribeError(code).c_str() : "");
      return kExitUsage;
    }
    for (const std::string& warning : decode.warnings) {
      std::fprintf(stderr, "ecg print: %s: warning: %s\n", f.c_str(), warning.c_str());
    }
    if (!decode.crcValid) {
      std::fprintf(stderr, "ecg print: %s: warning: the record's CRC check fails\n", f.c_str());
    }
  }

  UseOffscreenWithoutDisplay();
  GuiProgram program;

  // The component's print operations over its report engine.
  CECGInterface facade;
  facade.SetReportApplicationVersion("Tidemark ECG " ECG_VERSION_TEXT);
  CECGPrint& engine = *facade.m_pECGPrint;
  const bool options_named = !options_path.empty();
  if (!options_named) options_path = report::DefaultPrintOptionsPath();
  if (options_named || FileExists(options_path)) {
    std::string error;
    report::SPrintOptions options;
    if (!report::ReadPrintOptionsFile(options_path, &options, &error)) {
      std::fprintf(stderr, "ecg print: %s: %s\n", options_path.c_str(), error.c_str());
      return kExitUsage;
    }
    facade.ReadPrintOptions(options_path.c_str());
  }
  if (mask != 0) engine.m_reportMask = mask;
  // The command line names the destination: no printer dialog.
  engine.m_showPrintDialog = false;
  for (const std::string& f : files) facade.AddReport(f.c_str());

  bool ok = false;
  if (!out.empty()) {
    // The facade tells JPEG and TIFF by ".jpg" and ".tif" in the path; the
    // command also takes ".jpeg" and ".tiff".
    const report::OutputFormat format = report::OutputFormatOf(out);
    facade.SetPrintType(format == report::OutputFormat::kJpeg   ? CECGInterface::kPrintJpeg
                        : format == report::OutputFormat::kTiff ? CECGInterface::kPrintTiff
                                                                : CECGInterface::kPrintDefault);
    ok = facade.PrintToFile(out.c_str()) == 1;
    if (ok) {
      for (const std::string& written : report::PdfOutput::LastFiles()) std::printf("%s\n", written.c_str());
    }
  } else if (!printer.empty()) {
    engine.m_printerName = QString::fromStdString(printer);
    ok = facade.Print() == 1;
  } else {
    ok = facade.PrintPreview() == 1;
  }
  facade.ClearReports();
  return ok ? kExitOk : kExitCheckFailed;
}

}  // namespace ecg::app
