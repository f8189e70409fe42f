#include "patient_options.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/text_codec.h"

namespace ecg::app {

bool ParseNumber(const std::string& text, long min, long max, long& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  long v = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || v < min || v > max) return false;
  out = v;
  return true;
}

PatientOption ParsePatientOption(const Args& args, size_t& i, PatientEdit& edit,
                                 std::string& error) {
  const std::string& a = args[i];
  const bool has_value = i + 1 < args.size();
  auto bad = [&](std::string why) {
    error = std::move(why);
    return PatientOption::kBad;
  };
  auto number = [&](long min, long max, long& out) {
    return has_value && ParseNumber(args[i + 1], min, max, out);
  };
  long n = 0;
  if (a == "--patient-last" || a == "--patient-first" || a == "--patient-id") {
    if (!has_value) return bad(a + " needs a text");
    const std::u16string text = platform::Utf8ToWideLossy(args[++i]);
    const std::string which = a;
    edit = [text, which](CPatientInfo& p) {
      (which == "--patient-last"    ? p.m_lastName
       : which == "--patient-first" ? p.m_firstName
                                    : p.m_patientId) = text;
    };
    return PatientOption::kParsed;
  }
  if (a == "--birth") {
    int y = 0, m = 0, d = 0;
    char tail = 0;
    if (!has_value || std::sscanf(args[i + 1].c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail) != 3 ||
        y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > 31) {
      return bad("--birth takes a date YYYY-MM-DD");
    }
    ++i;
    edit = [y, m, d](CPatientInfo& p) {
      p.m_birthYear = static_cast<uint16_t>(y);
      p.m_birthMonth = static_cast<uint16_t>(m);
      p.m_birthDay = static_cast<uint16_t>(d);
    };
    return PatientOption::kParsed;
  }
  if (a == "--sex") {
    if (!number(0, 255, n)) return bad("--sex takes a code 0-255");
    ++i;
    edit = [n](CPatientInfo& p) { p.m_sex = static_cast<uint8_t>(n); };
    return PatientOption::kParsed;
  }
  if (a == "--height-mm") {
    if (!number(0, 65535, n)) return bad("--height-mm takes 0-65535");
    ++i;
    edit = [n](CPatientInfo& p) { p.m_height = static_cast<uint16_t>(n); };
    return PatientOption::kParsed;
  }
  if (a == "--weight-g") {
    if (!number(0, 4000000, n)) return bad("--weight-g takes 0-4000000");
    ++i;
    edit = [n](CPatientInfo& p) { p.m_weight = static_cast<uint32_t>(n); };
    return PatientOption::kParsed;
  }
  return PatientOption::kNotPatient;
}

}  // namespace ecg::app
