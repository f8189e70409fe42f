// ecg analyse: runs the analysis library on records and stores its results
// (median beats, measurements, interpretation) in them.

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "analysis/analysis.h"
#include "analysis/statement_catalog.h"
#include "commands.h"
#ifdef ECG_WITH_FACADE
#include "interface/facade/analysis_details.h"
#include "interface/facade/ecg_interface.h"
#endif
#include "platform/last_error.h"
#include "platform/text_codec.h"

namespace ecg::app {

namespace {

constexpr const char* kHelp =
    "Usage: ecg analyse FILE... [--language N] [--no-interpretation] [--codes]\n"
    "                           [--no-patient-check] [--mode 1|2]\n\n"
    "Analyses SCP-ECG records through the component's Analyse operation: the\n"
    "analysis library (libQORSYS32.so, looked for next to the program, then in\n"
    "$ECG_LIBRARY_PATH, then on the system path) stores its median beats,\n"
    "measurements and interpretation in each record. Earlier analysis results in\n"
    "a record are replaced; records of six leads or fewer are not analysed (15).\n\n"
    "  --language N          statement language: 0 English (default), 1 French,\n"
    "                        2 German, 3 Italian, 4 Spanish, 5 Portuguese, 6 Japanese\n"
    "  --no-interpretation   keep the record's interpretation text as it is\n"
    "  --codes               code texts lose a 3-character prefix instead of 7\n"
    "  --no-patient-check    no statement about incomplete patient data\n"
    "  --mode 1|2            the mode passed to the analysis library (default 1)\n\n"
    "Prints each record's result code with its meaning, and its interpretation.\n"
    "Exit code: 0 every record analysed, 1 a record got no analysis (too few leads,\n"
    "lead errors, or the library refused or failed it), 2 bad usage, a record that\n"
    "cannot be opened for update, or a failure (the reason on standard error).\n";

bool ParseNumber(const std::string& text, long& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || v < INT32_MIN || v > INT32_MAX) return false;
  out = v;
  return true;
}

#ifndef ECG_WITH_FACADE
// Without the facade: what the analysis object tells of its run.
struct AnalysisRun {
  std::string libraryPath, libraryError, decodeError;
  bool ran = true;
};
constexpr int16_t kAnalysisCannotOpen = 4;
constexpr int16_t kAnalysisTooFewLeads = 15;
#endif

// The facade answers 4 and 15 itself, before any run; the rest is the run's.
const char* Meaning(int16_t result, bool ran) {
  if (!ran && result == kAnalysisCannotOpen) return "the record cannot be opened for update";
  if (!ran && result == kAnalysisTooFewLeads) return "six leads or fewer; not analysed";
  return analysis::AnalysisResultMeaning(result);
}

int ExitCodeFor(int16_t result) {
  if (result == CAnalysis::kResultAnalysed) return kExitOk;
  return result > 0 ? kExitCheckFailed : kExitUsage;
}

void PrintInterpretation(const std::string& path) {
  CGeneralInfo general;
  if (!CReader::ReadGeneralInfo(path.c_str(), &general)) return;
  if (!general.m_interpretation || general.m_interpretation->empty()) {
    std::printf("  interpretation: (none)\n");
    return;
  }
  std::string text = platform::WideToUtf8Lossy(*general.m_interpretation);
  std::printf("  interpretation:\n");
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    std::printf("    %s\n", text.substr(start, end - start).c_str());
    start = end + 2;
  }
}

}  // namespace

int RunAnalyse(const Args& args) {
  std::vector<std::string> files;
  long language = 0;
  long mode = 1;
  bool interpretation = true;
  bool codes = false;
  bool patient_check = true;
  auto usage = [](const std::string& why) {
    std::fprintf(stderr, "ecg analyse: %s\n(see ecg analyse --help)\n", why.c_str());
    return kExitUsage;
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      std::fputs(kHelp, stdout);
      return kExitOk;
    } else if (a == "--language") {
      if (i + 1 >= args.size() || !ParseNumber(args[i + 1], language) || language < 0 || language > 6) {
        return usage("--language takes a number 0-6");
      }
      ++i;
    } else if (a == "--mode") {
      if (i + 1 >= args.size() || !ParseNumber(args[i + 1], mode) || (mode != 1 && mode != 2)) {
        return usage("--mode takes 1 or 2");
      }
      ++i;
    } else if (a == "--no-interpretation") {
      interpretation = false;
    } else if (a == "--codes") {
      codes = true;
    } else if (a == "--no-patient-check") {
      patient_check = false;
    } else if (a.rfind("--", 0) == 0) {
      return usage("unknown option '" + a + "'");
    } else {
      files.push_back(a);
    }
  }
  if (files.empty()) return usage("no record given");

  int exit_code = kExitOk;
  for (const std::string& file : files) {
#ifdef ECG_WITH_FACADE
    // Through the component's facade, as a host of the component analyses:
    // earlier results go, then the library runs with these options.
    CECGInterface facade;
    facade.m_language = static_cast<int32_t>(language);
    facade.m_settings.IncludeInterpretation = interpretation;
    facade.m_settings.SuppressPatientDetailsWarning = !patient_check;
    facade.m_settings.IncludeInterpretationCodes = codes ? 1 : 0;
    ecg::facade::SetAnalysisMode(facade, static_cast<int>(mode));
    const int16_t result = static_cast<int16_t>(facade.Analyse(file.c_str(), false));
    const ecg::facade::AnalysisDetails run = ecg::facade::LastAnalysisDetails(facade);
    const uint32_t reason = run.ran ? run.lastError : platform::GetLastError();
#else
    CAnalysis analysis;
    analysis.SelectWriter(u"Tidemark ECG", platform::Utf8ToWideLossy(ECG_VERSION_TEXT));
    analysis.m_interpretationOption = interpretation ? 1 : 0;
    analysis.m_patientDataCheckOption = patient_check ? 1 : 0;
    analysis.m_codesOption = codes ? 1 : 0;
    const int16_t result =
        analysis.CreateAnalysis(file.c_str(), static_cast<int32_t>(language), mode == 2);
    const uint32_t reason = platform::GetLastError();
    const AnalysisRun run{analysis.LastLibraryPath(), analysis.LastLibraryError(), analysis.LastDecodeError(), true};
#endif
    std::printf("%s: %d (%s)\n", file.c_str(), result, Meaning(result, run.ran));
    if (!run.libraryPath.empty()) std::printf("  analysis library: %s\n", run.libraryPath.c_str());
    if (result == CAnalysis::kResultNoLibrary) {
      std::fprintf(stderr, "ecg analyse: %s: %s\n", file.c_str(), run.libraryError.c_str());
    } else if (!run.decodeError.empty()) {
      std::fprintf(stderr, "ecg analyse: %s: the record's samples cannot be decoded: %s\n",
                   file.c_str(), run.decodeError.c_str());
    } else if ((result < 0 || (result == kAnalysisCannotOpen && !run.ran)) &&
               reason != platform::kErrorSuccess) {
      std::fprintf(stderr, "ecg analyse: %s: code %u (%s)\n", file.c_str(), reason,
                   std::string(platform::ErrorMeaning(reason)).c_str());
    }
    if (result == CAnalysis::kResultAnalysed || result == CAnalysis::kResultLeadErrors ||
        result == CAnalysis::kResultPoorSignal || result == CAnalysis::kResultUnsupported ||
        result == CAnalysis::kResultStatementFailed) {
      PrintInterpretation(file);
    }
    const int code = !run.ran && result == kAnalysisCannotOpen ? kExitUsage : ExitCodeFor(result);
    if (code > exit_code) exit_code = code;
  }
  return exit_code;
}

}  // namespace ecg::app
