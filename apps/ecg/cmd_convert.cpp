// ecg convert: any readable SCP-ECG record to an uncompressed record of this
// system.

#include <cstdio>

#include "commands.h"
#include "platform/last_error.h"
#include "record_report.h"
#include "scp/record_converter.h"

namespace ecg::app {

namespace {
constexpr const char* kHelp =
    "Usage: ecg convert IN OUT.scp\n\n"
    "Writes OUT.scp as an uncompressed record of this system from any SCP-ECG\n"
    "record it can decode (Huffman tables, first or second differences,\n"
    "reference beat subtraction, bimodal compression): patient, recording and\n"
    "interpretation texts (Section 1), leads and samples (Sections 3, 5, 6),\n"
    "and the analysis sections 7, 8, 10 and 11 (Section 9 when it holds this\n"
    "system's statement codes) copied unchanged. Wrong CRCs are warnings; a\n"
    "structurally broken record is refused and OUT.scp is not written.\n\n"
    "Exit code: 0 written, 2 bad usage or a record that cannot be converted.\n";
}  // namespace

int RunConvert(const Args& args) {
  if (const auto exit = CheckInOutArguments(args, kHelp)) return *exit;
  CRecordConverter converter;
  scp::DecodeReport report;
  const bool ok = converter.ConvertToUncompressed(args[0].c_str(), args[1].c_str(), report);
  for (const auto& warning : report.warnings) {
    if (!ok && report.status != scp::DecodeStatus::kOk) break;  // the refusal says it all
    std::fprintf(stderr, "ecg convert: %s: warning: %s\n", args[0].c_str(), warning.c_str());
  }
  if (!ok) {
    if (report.status != scp::DecodeStatus::kOk) {
      std::fprintf(stderr, "ecg convert: %s: refused (%s): %s\n", args[0].c_str(),
                   scp::DecodeStatusName(report.status), report.message.c_str());
    } else if (!report.message.empty()) {
      std::fprintf(stderr, "ecg convert: %s: cannot convert: %s\n", args[0].c_str(),
                   report.message.c_str());
    } else {
      std::fprintf(stderr, "ecg convert: %s: cannot write %s: %s\n", args[0].c_str(),
                   args[1].c_str(), DescribeError(platform::GetLastError()).c_str());
    }
    return kExitUsage;
  }
  std::printf("%s\n", args[1].c_str());
  return kExitOk;
}

}  // namespace ecg::app
