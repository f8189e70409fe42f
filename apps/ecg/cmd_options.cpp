// ecg options: the options file, as a listing or as the default file's text.

#include <cstdio>
#include <string>

#include "commands.h"
#include "interface/ecg_options.h"
#include "interface/options_listing.h"
#include "interface/options_xml.h"
#include "platform/folders.h"

namespace ecg::app {

namespace {

constexpr const char* kOptionsHelp =
    "Usage: ecg options [--file F] [--print-defaults]\n"
    "       ecg options --gui [--file F] [--remove-units] [--page P] [--screenshot OUT.png]\n\n"
    "Shows the component's options.\n\n"
    "  --file F          read the options file F and list every option: group,\n"
    "                    name, the value as the file holds it and what it means;\n"
    "                    options the file does not set are marked \"(not in the\n"
    "                    file)\" and show their defaults\n"
    "  --print-defaults  write the default options file to standard output, byte\n"
    "                    for byte what saving a fresh options record writes\n"
    "  --gui             open the \"Tidemark Settings\" sheet over F's options (the\n"
    "                    defaults when F does not exist); OK writes F\n"
    "  --remove-units    with --gui: hide the \"Measurement System\" group\n"
    "  --page P          with --gui: the page in front: general, analysis,\n"
    "                    acquisition, review or lead-order\n"
    "  --screenshot F    with --gui: render the sheet to the PNG file F and exit\n\n"
    "Without arguments it lists the options file of the user's documents folder,\n"
    "<documents>/Tidemark/options.xml.\n\n"
    "Exit code: 0 done; 2 bad usage, or F could not be read (the reason and its\n"
    "error code on standard error; when reading stopped after some options were\n"
    "read, the listing shows them and the defaults of the rest).\n";

int PrintDefaults() {
  CECGOptions defaults;
  std::string xml;
  std::string message;
  if (!ecg::interface::WriteOptionsXml(defaults, xml, message)) {
    std::fprintf(stderr, "ecg options: %s\n", message.c_str());
    return kExitUsage;
  }
  std::fwrite(xml.data(), 1, xml.size(), stdout);
  return std::fflush(stdout) == 0 ? kExitOk : kExitUsage;
}

int ListFile(const std::string& path) {
  CECGOptions options;
  auto result = ecg::interface::ReadOptionsFile(path, options);
  if (!result.ok && result.fields_read.empty()) {
    std::fprintf(stderr, "ecg options: %s: %s (error %u)\n", path.c_str(),
                 result.message.c_str(), result.error);
    return kExitUsage;
  }
  std::printf("Options file %s\n\n", path.c_str());
  std::fputs(ecg::interface::FormatOptionsListing(options, &result.fields_read).c_str(), stdout);
  if (!result.ok) {
    std::fflush(stdout);
    std::fprintf(stderr, "ecg options: %s: reading stopped at %s (error %u)\n", path.c_str(),
                 result.message.c_str(), result.error);
    return kExitUsage;
  }
  return kExitOk;
}

}  // namespace

int RunOptions(const Args& args) {
  bool print_defaults = false;
  std::string file;
  bool have_file = false;
  bool gui = false;
  bool remove_units = false;
  std::string screenshot;
  std::string page;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      std::fputs(kOptionsHelp, stdout);
      return kExitOk;
    }
    if (a == "--print-defaults") {
      print_defaults = true;
    } else if (a == "--gui") {
      gui = true;
    } else if (a == "--remove-units") {
      remove_units = true;
    } else if (a == "--screenshot" || a == "--page") {
      if (i + 1 >= args.size()) {
        std::fprintf(stderr, "ecg options: %s needs a value\n", a.c_str());
        return kExitUsage;
      }
      (a == "--page" ? page : screenshot) = args[++i];
    } else if (a == "--file") {
      if (i + 1 >= args.size()) {
        std::fputs("ecg options: --file needs a file name\n", stderr);
        return kExitUsage;
      }
      file = args[++i];
      have_file = true;
    } else {
      std::fprintf(stderr, "ecg options: unknown argument '%s'\n\n%s", a.c_str(), kOptionsHelp);
      return kExitUsage;
    }
  }
  if (print_defaults && have_file) {
    std::fputs("ecg options: give either --file or --print-defaults\n", stderr);
    return kExitUsage;
  }
  if (!gui && (remove_units || !screenshot.empty() || !page.empty())) {
    std::fputs("ecg options: --remove-units, --page and --screenshot go with --gui\n", stderr);
    return kExitUsage;
  }
  if (print_defaults && gui) {
    std::fputs("ecg options: give either --gui or --print-defaults\n", stderr);
    return kExitUsage;
  }
  if (print_defaults) return PrintDefaults();
  if (!have_file) {
    std::string folder = ecg::platform::DocumentsFolder();
    file = folder + "/Tidemark/options.xml";
  }
  if (gui) {
#ifdef ECG_WITH_FACADE
    return RunOptionsGui(file, remove_units, screenshot, page);
#else
    std::fputs("ecg options: this build has no windows (--gui)\n", stderr);
    return kExitUsage;
#endif
  }
  return ListFile(file);
}

}  // namespace ecg::app
