// ecg info / ecg check

#include <cstdio>
#include <memory>
#include <string>

#include "commands.h"
#include "platform/last_error.h"
#include "record_report.h"

namespace ecg::app {

namespace {

constexpr const char* kInfoHelp =
    "Usage: ecg info FILE... [--json] [--derive]\n\n"
    "Shows what each SCP-ECG record holds: record length, every Section 0 entry\n"
    "with the validity of its CRC, patient, recording and general information,\n"
    "lead errors, the numbers of Section 1 tags kept unread, the leads with their\n"
    "codes, names and sample ranges, rhythm and median sample data (rates,\n"
    "amplitude multipliers, encoding flags), global measurements and the values\n"
    "derived from them, statement codes and per-lead measurements; then the\n"
    "encodings the record uses (Huffman, differences, reference beat, bimodal),\n"
    "its decoded samples in microvolts and its Section 8 and 11 statements.\n\n"
    "  --json     one JSON object per record (an array for several records)\n"
    "  --derive   first calculate the limb leads III, aVR, aVL and aVF the record\n"
    "             lacks and rebuild the lead errors, and show the result\n\n"
    "Exit code: 0 all records read, 2 a record could not be read.\n";

constexpr const char* kCheckHelp =
    "Usage: ecg check FILE...\n\n"
    "Checks the record CRC and the CRC of every section the record check covers.\n\n"
    "Exit code: 0 all valid, 1 a CRC is wrong, 2 a record could not be read.\n";

bool WantsHelp(const Args& args) {
  for (const auto& a : args) {
    if (a == "--help" || a == "-h") return true;
  }
  return false;
}

}  // namespace

int RunInfo(const Args& args) {
  if (WantsHelp(args)) {
    std::fputs(kInfoHelp, stdout);
    return kExitOk;
  }
  bool json = false;
  bool derive = false;
  Args files;
  for (const auto& a : args) {
    if (a == "--json") {
      json = true;
    } else if (a == "--derive") {
      derive = true;
    } else if (a.rfind("--", 0) == 0) {
      std::fprintf(stderr, "ecg info: unknown option '%s'\n", a.c_str());
      return kExitUsage;
    } else {
      files.push_back(a);
    }
  }
  if (files.empty()) {
    std::fputs(kInfoHelp, stderr);
    return kExitUsage;
  }
  int exit_code = kExitOk;
  if (json && files.size() > 1) std::fputs("[\n", stdout);
  for (size_t i = 0; i < files.size(); ++i) {
    auto report = std::make_unique<RecordReport>();
    BuildRecordReport(files[i], *report, derive);
    if (!report->readable) {
      std::fprintf(stderr, "ecg info: %s: cannot read the record: %s\n", files[i].c_str(),
                   DescribeError(report->error).c_str());
      exit_code = kExitUsage;
    } else if (!report->decoded) {
      std::fprintf(stderr, "ecg info: %s: the samples cannot be decoded: %s: %s\n",
                   files[i].c_str(), scp::DecodeStatusName(report->decode_report.status),
                   report->decode_report.message.c_str());
    }
    if (json) {
      std::fputs(FormatJson(*report).c_str(), stdout);
      std::fputs(files.size() > 1 && i + 1 < files.size() ? ",\n" : "\n", stdout);
    } else {
      std::fputs(FormatText(*report).c_str(), stdout);
    }
  }
  if (json && files.size() > 1) std::fputs("]\n", stdout);
  return exit_code;
}

int RunCheck(const Args& args) {
  if (WantsHelp(args)) {
    std::fputs(kCheckHelp, stdout);
    return kExitOk;
  }
  Args files;
  for (const auto& a : args) {
    if (a.rfind("--", 0) == 0) {
      std::fprintf(stderr, "ecg check: unknown option '%s'\n", a.c_str());
      return kExitUsage;
    }
    files.push_back(a);
  }
  if (files.empty()) {
    std::fputs(kCheckHelp, stderr);
    return kExitUsage;
  }
  int exit_code = kExitOk;
  for (const auto& file : files) {
    CReader::SCrcReport crc;
    if (!CReader::ReadCRCReport(file, crc)) {
      std::fprintf(stderr, "ecg check: %s: cannot read the record: %s\n", file.c_str(),
                   DescribeError(platform::GetLastError()).c_str());
      exit_code = kExitUsage;
      continue;
    }
    std::string wrong;
    if (!crc.recordValid) wrong += " record";
    for (const auto& e : crc.entries) {
      if (e.checked && !e.valid) wrong += " section " + std::to_string(e.id);
    }
    if (wrong.empty()) {
      std::printf("%s: valid\n", file.c_str());
    } else {
      std::printf("%s: CRC wrong:%s\n", file.c_str(), wrong.c_str());
      if (exit_code == kExitOk) exit_code = kExitCheckFailed;
    }
  }
  return exit_code;
}

}  // namespace ecg::app
