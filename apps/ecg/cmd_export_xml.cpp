// ecg export-xml: one record as an XML document.

#include <cstdio>

#include "commands.h"
#include "export/scp_to_xml.h"
#ifdef ECG_WITH_FACADE
#include "interface/facade/ecg_interface.h"
#endif
#include "platform/last_error.h"
#include "record_report.h"

namespace ecg::app {

namespace {
constexpr const char* kHelp =
    "Usage: ecg export-xml IN.scp OUT.xml\n\n"
    "Writes the record as an XML document (UTF-8): patient, encounter and test\n"
    "with interpretation, confirmation and comment, every lead's rhythm samples\n"
    "and median beat in Base64, per-lead and global measurements. When the\n"
    "record cannot be read, OUT.xml holds only the comment \"Unable to process\n"
    "SCP file.\" and the exit code is 2.\n";
}  // namespace

int RunExportXml(const Args& args) {
  if (const auto exit = CheckInOutArguments(args, kHelp)) return *exit;
#ifdef ECG_WITH_FACADE
  // Through the component's facade, as a host of the component exports.
  CECGInterface facade;
  const bool exported = facade.ExportToXml(args[0].c_str(), args[1].c_str()) == 1;
#else
  const bool exported = ExportScpToXml(args[0].c_str(), args[1].c_str());
#endif
  if (!exported) {
    std::fprintf(stderr, "ecg export-xml: %s: cannot export: %s\n", args[0].c_str(),
                 DescribeError(platform::GetLastError()).c_str());
    return kExitUsage;
  }
  std::printf("%s\n", args[1].c_str());
  return kExitOk;
}

}  // namespace ecg::app
