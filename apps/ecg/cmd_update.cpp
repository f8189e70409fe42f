// ecg update: changes single facts of a stored record in place.

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "commands.h"
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

bool ParseNumber(const std::string& text, long min, long max, long& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  long v = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || v < min || v > max) return false;
  out = v;
  return true;
}

std::u16string Wide(const std::string& utf8) { return platform::Utf8ToWideLossy(utf8); }

using Change = std::function<bool(CWriter&, const char*)>;

// A patient change: read the patient data, change one field, write it back.
Change PatientChange(std::function<void(CPatientInfo&)> edit) {
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
    } else if (a == "--patient-last" || a == "--patient-first" || a == "--patient-id") {
      if (!need(1)) return usage(a + " needs a text");
      const std::u16string text = Wide(args[++i]);
      const std::string which = a;
      changes.emplace_back(a, PatientChange([text, which](CPatientInfo& p) {
        (which == "--patient-last" ? p.m_lastName
         : which == "--patient-first" ? p.m_firstName
                                      : p.m_patientId) = text;
      }));
    } else if (a == "--birth") {
      int y = 0, m = 0, d = 0;
      char tail = 0;
      if (!need(1) || std::sscanf(args[i + 1].c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail) != 3 ||
          y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > 31) {
        return usage("--birth takes a date YYYY-MM-DD");
      }
      ++i;
      changes.emplace_back(a, PatientChange([y, m, d](CPatientInfo& p) {
        p.m_birthYear = static_cast<uint16_t>(y);
        p.m_birthMonth = static_cast<uint16_t>(m);
        p.m_birthDay = static_cast<uint16_t>(d);
      }));
    } else if (a == "--sex") {
      if (!number(0, 255, n)) return usage("--sex takes a code 0-255");
      ++i;
      changes.emplace_back(a, PatientChange([n](CPatientInfo& p) { p.m_sex = static_cast<uint8_t>(n); }));
    } else if (a == "--height-mm") {
      if (!number(0, 65535, n)) return usage("--height-mm takes 0-65535");
      ++i;
      changes.emplace_back(a, PatientChange([n](CPatientInfo& p) { p.m_height = static_cast<uint16_t>(n); }));
    } else if (a == "--weight-g") {
      if (!number(0, 4000000, n)) return usage("--weight-g takes 0-4000000");
      ++i;
      changes.emplace_back(a, PatientChange([n](CPatientInfo& p) { p.m_weight = static_cast<uint32_t>(n); }));
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
