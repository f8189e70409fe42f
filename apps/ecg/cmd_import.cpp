// ecg import: device event files and handheld recorder files to records.

#include <cstdio>
#include <string>
#include <vector>

#include "commands.h"
#include "import/pellux_reader.h"
#include "patient_options.h"
#include "platform/last_error.h"
#include "platform/text_codec.h"
#include "record_report.h"
#include "scp/writer.h"

namespace ecg::app {

namespace {

constexpr const char* kHelp =
    "Usage: ecg import --format 8bit|16bit|12lead|handheld IN OUT.scp [OPTION...]\n\n"
    "Converts a device event file into an SCP-ECG record (Sections 0, 1, 3, 6).\n\n"
    "Formats:\n"
    "  8bit      one lead, one unsigned byte per sample, no header\n"
    "  16bit     one lead, one little-endian 16-bit value per sample, no header\n"
    "  12lead    packed 12-bit frames of 1, 2 or 8 stored leads with checksums\n"
    "  handheld  a handheld recorder file; one record per event, and with several\n"
    "            events OUT gets a suffix per event: OUT.a.scp, OUT.b.scp, ...\n\n"
    "Options for 8bit, 16bit and 12lead (the files do not say these):\n"
    "  --rate HZ            sample rate (8bit default 300, 16bit 499.4219653179;\n"
    "                       required for 12lead)\n"
    "  --resolution NV      nanovolts per sample unit (8bit default 20000, 16bit\n"
    "                       2995; required for 12lead)\n"
    "  --leads N            12lead only, required: 1, 2, 6, 8 or 12 (6 and 12 store\n"
    "                       I and II and get III, aVR, aVL, aVF calculated later)\n"
    "  --offset             8bit/16bit: samples are unsigned, subtract 128 or 32768\n\n"
    "Patient data written into the record:\n" ECG_PATIENT_OPTIONS_HELP
    "  --writer NAME VERSION  the creating application named in the record\n"
    "                         (default: Tidemark ECG " ECG_VERSION_TEXT
    ")\n\n"
    "Prints each record written. Exit code: 0 written, 2 bad usage or the input\n"
    "could not be converted (the reason on standard error; no record is written\n"
    "for an event that fails).\n";

enum class Format { kNone, k8Bit, k16Bit, k12Lead, kHandheld };

Format FormatFromName(const std::string& name) {
  if (name == "8bit") return Format::k8Bit;
  if (name == "16bit") return Format::k16Bit;
  if (name == "12lead") return Format::k12Lead;
  if (name == "handheld") return Format::kHandheld;
  return Format::kNone;
}

bool ParseDouble(const std::string& text, double min, double max, double& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(text.c_str(), &end);
  if (errno != 0 || *end != '\0' || !(v >= min && v <= max)) return false;
  out = v;
  return true;
}

// "OUT.scp: 8 leads, 5000 samples at 500 Hz, 1000 nV per unit"
void PrintWritten(const std::string& path) {
  CReader reader;
  int16_t loaded = 0;
  SDetails details;
  if (!reader.Load(path, loaded,
                   static_cast<int16_t>(kSection0Bit | kSection3Bit | kSection6Bit)) ||
      !reader.GetDetails(&details)) {
    std::printf("%s\n", path.c_str());
    return;
  }
  std::printf("%s: %u lead%s, %u samples", path.c_str(), details.m_leadCount,
              details.m_leadCount == 1 ? "" : "s", details.m_rhythmSamples);
  if (details.m_rhythmSampleRate != 0) std::printf(" at %u Hz", details.m_rhythmSampleRate);
  std::printf(", %u nV per unit\n", details.m_rhythmAmplitudeMultiplier);
}

}  // namespace

int RunImport(const Args& args) {
  for (const auto& a : args) {
    if (a == "--help" || a == "-h") {
      std::fputs(kHelp, stdout);
      return kExitOk;
    }
  }
  auto usage = [](const std::string& why) {
    std::fprintf(stderr, "ecg import: %s\n(see ecg import --help)\n", why.c_str());
    return kExitUsage;
  };

  Format format = Format::kNone;
  std::vector<std::string> files;
  double rate = 0.0;
  double resolution = 0.0;
  long leads = 0;
  bool offset = false;
  bool rate_given = false, resolution_given = false, leads_given = false;
  CPatientInfo patient;
  bool patient_given = false;
  std::u16string writer_name = u"Tidemark ECG";
  std::u16string writer_version = platform::Utf8ToWideLossy(ECG_VERSION_TEXT);

  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool has_value = i + 1 < args.size();
    PatientEdit edit;
    std::string error;
    if (a.rfind("--", 0) != 0) {
      files.push_back(a);
    } else if (a == "--format") {
      if (!has_value || (format = FormatFromName(args[i + 1])) == Format::kNone) {
        return usage("--format takes 8bit, 16bit, 12lead or handheld");
      }
      ++i;
    } else if (a == "--rate") {
      if (!has_value || !ParseDouble(args[i + 1], 15.5, 1000000.0, rate)) {
        return usage("--rate takes a sample rate in Hz, 15.5 to 1000000");
      }
      rate_given = true;
      ++i;
    } else if (a == "--resolution") {
      if (!has_value || !ParseDouble(args[i + 1], 1.0, 65535.0, resolution)) {
        return usage("--resolution takes nanovolts per sample unit, 1 to 65535");
      }
      resolution_given = true;
      ++i;
    } else if (a == "--leads") {
      if (!has_value || !ParseNumber(args[i + 1], 1, 12, leads) ||
          (leads != 1 && leads != 2 && leads != 6 && leads != 8 && leads != 12)) {
        return usage("--leads takes 1, 2, 6, 8 or 12");
      }
      leads_given = true;
      ++i;
    } else if (a == "--offset") {
      offset = true;
    } else if (a == "--writer") {
      if (i + 2 >= args.size()) return usage("--writer takes a name and a version");
      writer_name = platform::Utf8ToWideLossy(args[i + 1]);
      writer_version = platform::Utf8ToWideLossy(args[i + 2]);
      i += 2;
    } else if (const auto parsed = ParsePatientOption(args, i, edit, error);
               parsed != PatientOption::kNotPatient) {
      if (parsed == PatientOption::kBad) return usage(error);
      edit(patient);
      patient_given = true;
    } else {
      return usage("unknown option '" + a + "'");
    }
  }
  if (format == Format::kNone) return usage("no --format given");
  if (files.size() != 2) return usage("give one input file and one output record");
  if (format == Format::kHandheld && (rate_given || resolution_given || leads_given || offset)) {
    return usage("a handheld file says its own rate, resolution and leads");
  }
  if (format != Format::k12Lead && leads_given) return usage("--leads is for 12lead files");
  if (format == Format::k12Lead) {
    if (offset) return usage("--offset is for 8bit and 16bit files");
    if (!leads_given || !rate_given || !resolution_given) {
      return usage("12lead needs --leads, --rate and --resolution");
    }
  }

  const std::string& in = files[0];
  const std::string& out = files[1];
  const CPatientInfo* patient_ptr = patient_given ? &patient : nullptr;
  CWriter writer;
  writer.SelectWriter(writer_name, writer_version);
  auto failed = [&](const std::string& reason) {
    std::fprintf(stderr, "ecg import: %s: %s%s%s\n", in.c_str(), reason.c_str(),
                 reason.empty() ? "" : ": ", DescribeError(platform::GetLastError()).c_str());
    return kExitUsage;
  };

  bool ok = false;
  switch (format) {
    case Format::k8Bit:
      ok =
          writer.CreateFrom8bitFile(out.c_str(), in.c_str(), patient_ptr, offset, resolution, rate);
      break;
    case Format::k16Bit:
      ok = writer.CreateFrom16bitFile(out.c_str(), in.c_str(), patient_ptr, offset, resolution,
                                      rate);
      break;
    case Format::k12Lead:
      ok = writer.CreateFromRaw12L(out.c_str(), in.c_str(), patient_ptr, resolution, rate,
                                   static_cast<int16_t>(leads));
      break;
    case Format::kHandheld: {
      // Read once on its own: for the reason of a failure and the number of
      // records to name.
      CPelluxReader reader;
      int16_t events = 0;
      if (!reader.ReadFile(in.c_str(), &events)) return failed(reader.FailureReason());
      reader.ClearEvents();
      if (!writer.CreateFromPelluxFile(out.c_str(), in.c_str(), patient_ptr)) {
        return failed("conversion failed");
      }
      for (int16_t n = 0; n < events; ++n) {
        char name[CWriter::kEventFileNameSize] = {};
        if (events > 1) CWriter::CreateEventFileName(name, out.c_str(), n);
        PrintWritten(events > 1 ? std::string(name) : out);
      }
      return kExitOk;
    }
    case Format::kNone: break;
  }
  if (!ok) return failed("conversion failed");
  PrintWritten(out);
  return kExitOk;
}

}  // namespace ecg::app
