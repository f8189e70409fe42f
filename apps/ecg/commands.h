#pragma once
// Subcommands of the ecg program. Each returns the process exit code:
// 0 success, 1 a check failed, 2 bad usage or unreadable input.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace ecg::app {

constexpr int kExitOk = 0;
constexpr int kExitCheckFailed = 1;
constexpr int kExitUsage = 2;

using Args = std::vector<std::string>;

// Commands of the form `ecg CMD IN OUT`: with --help anywhere, the help on
// standard output and exit 0; with anything but two non-option arguments,
// the help on standard error and exit 2. No value: go on with args[0],
// args[1].
inline std::optional<int> CheckInOutArguments(const Args& args, const char* help) {
  for (const auto& a : args) {
    if (a == "--help" || a == "-h") {
      std::fputs(help, stdout);
      return kExitOk;
    }
  }
  if (args.size() != 2 || args[0].rfind("--", 0) == 0 || args[1].rfind("--", 0) == 0) {
    std::fputs(help, stderr);
    return kExitUsage;
  }
  return std::nullopt;
}

int RunInfo(const Args& args);
int RunCheck(const Args& args);
int RunOptions(const Args& args);
int RunUpdate(const Args& args);
int RunAnalyse(const Args& args);
int RunImport(const Args& args);
int RunExportXml(const Args& args);
int RunConvert(const Args& args);
// The window commands host the component facade (built with it: ECG_WITH_FACADE).
int RunPrint(const Args& args);
int RunRecord(const Args& args);
int RunPatient(const Args& args);
// ecg options --gui: the settings sheet over `file`.
int RunOptionsGui(const std::string& file, bool remove_units, const std::string& screenshot,
                  const std::string& page);
int RunReview(const Args& args);
int RunDemo(const Args& args);

}  // namespace ecg::app
