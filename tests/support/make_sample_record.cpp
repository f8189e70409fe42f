// Writes a sample SCP-ECG record to the path given: a synthetic resting ECG
// of 10 seconds at 500 Hz with patient data, lead definitions, rhythm and
// median data, global and per-lead measurements and statement codes.
//
//   make-sample-record OUT.scp [--leads 8|12] [--header-only]
//
// --leads 8 stores the leads a cart acquires (I, II, V1-V6), so that the
// limb leads III, aVR, aVL and aVF are left to be calculated; --header-only
// writes Sections 0 and 1 alone.

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "support/record_builder.h"
#include "support/section_builders.h"

int main(int argc, char** argv) {
  const char* out_path = nullptr;
  bool header_only = false;
  ecg::test::EcgRecordSpec spec;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--header-only") == 0) {
      header_only = true;
    } else if (std::strcmp(argv[i], "--leads") == 0 && i + 1 < argc) {
      const std::string n = argv[++i];
      if (n == "8") {
        spec.leads = ecg::test::AcquiredLeadCodes();
      } else if (n != "12") {
        out_path = nullptr;
        break;
      }
    } else if (argv[i][0] != '-' && out_path == nullptr) {
      out_path = argv[i];
    } else {
      out_path = nullptr;
      break;
    }
  }
  if (out_path == nullptr) {
    std::fprintf(stderr, "Usage: make-sample-record OUT.scp [--leads 8|12] [--header-only]\n");
    return 2;
  }
  auto bytes = header_only ? ecg::test::TypicalRecord() : ecg::test::SyntheticEcgRecord(spec);
  std::ofstream out(out_path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::fprintf(stderr, "make-sample-record: cannot write %s\n", out_path);
    return 2;
  }
  std::printf("%s\n", out_path);
  return 0;
}
