// ecg update: changes single facts of a stored record in place.

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "commands.h"
#include "patient_options.h"
#include "platform/last_error.h"
#include "platform/text_codec.h"
#include "record_report.h"
#include "scp/writer.h"

namespace ecg::app {

namespace {

constexpr const char* kHelp =
    "Usage: ecg update FILE [CHANGE...]\n\n"
    "Changes facts of an SCP-ECG record in place. Section 1 is rebuilt, every other\n"
    "section is kept byte for byte, and the record is replaced only when the new one\n"
    "has been written whole. Changes are made in the order given.\n\n"
    "  --comment TEXT              the comment (tag 202)\n"
    "  --interpretation TEXT       the interpretation text, marked as edited\n"
    "  --confirm 0|1               interpretation confirmed or not\n"
    "  --physician KIND TEXT       0 confirming, 1 second, 2 third physician\n"
    "  --location TEXT             recording location\n"
    "  --recording-id TEXT         recording id\n"
    "  --muscle-filter 0|1         writer filter bits\n"
    "  --baseline-filter 0|1\n"
    "  --power-filter 0|50|60\n"
    "  --patient-last TEXT         patient data (the others are kept)\n"
    "  --patient-first TEXT\n"
    "  --patient-id TEXT\n"
    "  --birth YYYY-MM-DD\n"
    "  --sex N                     0 unknown, 1 male, 2 female, 9 unspecified\n"
    "  --height-mm N\n"
    "  --weight-g N\n"
    "  --lead-errors               recompute lead errors from the rhythm data\n"
    "  --calculated-leads          add the limb leads III, aVR, aVL and aVF\n"
    "  --crc                       recompute every section CRC and the record CRC\n"
    "  --writer NAME VERSION       the editor named in the record (default:\n"
    "                              Tidemark ECG " ECG_VERSION_TEXT ")\n\n"
    "Exit code: 0 all changes made, 2 bad usage or a change failed (the reason on\n"
    "standard error; a failed change leaves the record as it was).\n";

std::u16string Wide(const std::string& utf8) { return platform::Utf8ToWideLossy(utf8); }

using Change = std::function<bool(CWriter&, const char*)>;

// A patient change: read the patient data, change one field, write it back.
Change PatientChange(PatientEdit edit) {
  return [edit](CWriter& w, const char* path) {
    CPatientInfo patient;
    CReader::ReadPatientAndRecordInfo(path, &patient, nullptr);  // absent Section 1: defaults
    edit(patient);
    return w.UpdateFile(path, &patient, nullptr);
  };
}

}  // namespace

int RunUpdate(const Args& args) {
  for (const auto& a : args) {
    if (a == "--help" || a == "-h") {
      std::fputs(kHelp, stdout);
      return kExitOk;
    }
  }
  std::string file;
  std::vector<std::pair<std::string, Change>> changes;
  std::u16string writer_name = u"Tidemark ECG";
  std::u16string writer_version = Wide(ECG_VERSION_TEXT);
  auto usage = [](const std::string& why) {
    std::fprintf(stderr, "ecg update: %s\n(see ecg update --help)\n", why.c_str());
    return kExitUsage;
  };

  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto need = [&](size_t n) { return i + n < args.size(); };
    auto number = [&](long min, long max, long& out) {
      return need(1) && ParseNumber(args[i + 1], min, max, out);
    };
    long n = 0;
    PatientEdit edit;
    std::string error;
    if (a.rfind("--", 0) != 0) {
      if (!file.empty()) return usage("one record at a time: '" + a + "'");
      file = a;
    } else if (a == "--comment" || a == "--interpretation" || a == "--location" ||
               a == "--recording-id") {
      if (!need(1)) return usage(a + " needs a text");
      const std::u16string text = Wide(args[++i]);
      Change c;
      if (a == "--comment") c = [text](CWriter& w, const char* p) { return w.UpdateCommentText(p, text); };
      if (a == "--interpretation") c = [text](CWriter& w, const char* p) { return w.UpdateInterpretationText(p, text); };
      if (a == "--location") c = [text](CWriter& w, const char* p) { return w.UpdateRecordingLocation(p, text); };
      if (a == "--recording-id") c = [text](CWriter& w, const char* p) { return w.UpdateRecordingId(p, text); };
      changes.emplace_back(a, c);
    } else if (a == "--confirm" || a == "--muscle-filter" || a == "--baseline-filter") {
      if (!number(0, 1, n)) return usage(a + " takes 0 or 1");
      ++i;
      const auto on = static_cast<int16_t>(n);
      Change c;
      if (a == "--confirm") c = [on](CWriter& w, const char* p) { return w.UpdateInterpretationConfirmed(p, on); };
      if (a == "--muscle-filter") c = [on](CWriter& w, const char* p) { return w.UpdateMuscleFilter(p, on); };
      if (a == "--baseline-filter") c = [on](CWriter& w, const char* p) { return w.UpdateBaselineFilter(p, on); };
      changes.emplace_back(a, c);
    } else if (a == "--power-filter") {
      if (!number(0, 60, n) || (n != 0 && n != 50 && n != 60)) return usage(a + " takes 0, 50 or 60");
      ++i;
      const auto hz = static_cast<int16_t>(n);
      changes.emplace_back(a, [hz](CWriter& w, const char* p) { return w.UpdatePowerFilter(p, hz); });
    } else if (a == "--physician") {
      if (!number(0, 2, n) || !need(2)) return usage("--physician takes a kind 0, 1 or 2 and a text");
      const auto kind = static_cast<int16_t>(n);
      const std::u16string text = Wide(args[i + 2]);
      i += 2;
      changes.emplace_back(a, [kind, text](CWriter& w, const char* p) {
        return w.UpdatePhysicianName(p, kind, text);
      });
    } else if (const auto parsed = ParsePatientOption(args, i, edit, error);
               parsed != PatientOption::kNotPatient) {
      if (parsed == PatientOption::kBad) return usage(error);
      changes.emplace_back(a, PatientChange(edit));
    } else if (a == "--lead-errors") {
      changes.emplace_back(a, [](CWriter& w, const char* p) { return w.UpdateLeadErrors(p); });
    } else if (a == "--calculated-leads") {
      changes.emplace_back(a, [](CWriter& w, const char* p) { return w.UpdateCalculatedLeads(p); });
    } else if (a == "--crc") {
      changes.emplace_back(a, [](CWriter& w, const char* p) { return w.UpdateCRC(p); });
    } else if (a == "--writer") {
      if (!need(2)) return usage("--writer takes a name and a version");
      writer_name = Wide(args[i + 1]);
      writer_version = Wide(args[i + 2]);
      i += 2;
    } else {
      return usage("unknown option '" + a + "'");
    }
  }
  if (file.empty()) return usage("no record given");
  if (changes.empty()) return usage("no change given");

  CWriter writer;
  writer.SelectWriter(writer_name, writer_version);
  for (const auto& [option, change] : changes) {
    if (!change(writer, file.c_str())) {
      std::fprintf(stderr, "ecg update: %s: %s failed: %s; the record is unchanged by it\n",
                   file.c_str(), option.c_str(), DescribeError(platform::GetLastError()).c_str());
      return kExitUsage;
    }
  }
  std::printf("%s: %zu change%s made\n", file.c_str(), changes.size(), changes.size() == 1 ? "" : "s");
  return kExitOk;
}

}  // namespace ecg::app
