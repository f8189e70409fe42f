// ecg: the Tidemark ECG host program.

#include <cstdio>
#include <cstring>
#include <string>

#include "commands.h"
#include "platform/module_version.h"

ECG_MODULE_VERSION_TABLE("040904E4\0"
                         "FileDescription\0Tidemark ECG host program\0"
                         "FileVersion\0" ECG_FILE_VERSION "\0"
                         "ProductName\0Tidemark ECG\0"
                         "ProductVersion\0" ECG_VERSION_TEXT "\0"
                         "\0");

namespace {

struct Command {
  const char* name;
  const char* summary;
  int (*run)(const ecg::app::Args&);
};

constexpr Command kCommands[] = {
#ifdef ECG_WITH_FACADE
    {"demo", "the main job: record the demo recording, analyse, print a PDF, export XML",
     ecg::app::RunDemo},
#endif
    {"info", "show what a record holds: sections, CRCs, patient, recording", ecg::app::RunInfo},
    {"check", "check the record and section CRCs of records", ecg::app::RunCheck},
    {"options", "list an options file, print the default one, or edit it (--gui)",
     ecg::app::RunOptions},
    {"update", "change facts of a stored record in place", ecg::app::RunUpdate},
    {"analyse", "analyse records: median beats, measurements, interpretation",
     ecg::app::RunAnalyse},
    {"import", "convert a device event or handheld recorder file into records",
     ecg::app::RunImport},
    {"export-xml", "write a record as an XML document", ecg::app::RunExportXml},
    {"convert", "write any readable SCP-ECG record as an uncompressed record",
     ecg::app::RunConvert},
#ifdef ECG_WITH_FACADE
    {"print", "print reports of records to PDF, JPEG, TIFF, a printer or the preview",
     ecg::app::RunPrint},
    {"record", "record an ECG in the recording window (cable, demo file or simulator)",
     ecg::app::RunRecord},
    {"review", "open the review window over a record (or render it to a PNG)", ecg::app::RunReview},
    {"patient", "edit a patient in the patient details dialog (or render it to a PNG)",
     ecg::app::RunPatient},
#endif
};

void PrintUsage(FILE* out) {
  std::fprintf(out,
               "Usage: ecg COMMAND [ARGS...]\n"
               "       ecg COMMAND --help\n\n"
               "Tidemark ECG %s: resting 12-lead ECG records (SCP-ECG).\n\nCommands:\n",
               ECG_VERSION_TEXT);
  for (const auto& c : kCommands) std::fprintf(out, "  %-10s %s\n", c.name, c.summary);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintUsage(stderr);
    return ecg::app::kExitUsage;
  }
  std::string name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    PrintUsage(stdout);
    return ecg::app::kExitOk;
  }
  if (name == "--version") {
    std::printf("ecg %s\n", ECG_VERSION_TEXT);
    return ecg::app::kExitOk;
  }
  for (const auto& c : kCommands) {
    if (name == c.name) return c.run(ecg::app::Args(argv + 2, argv + argc));
  }
  std::fprintf(stderr, "ecg: unknown command '%s'\n\n", name.c_str());
  PrintUsage(stderr);
  return ecg::app::kExitUsage;
}
