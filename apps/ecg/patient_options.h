#pragma once
// The patient options shared by the commands that write patient data into a
// record: --patient-last, --patient-first, --patient-id, --birth, --sex,
// --height-mm and --weight-g.

#include <functional>
#include <string>

#include "commands.h"
#include "scp/section1_model.h"

// Help lines for the options, for the commands' help texts.
#define ECG_PATIENT_OPTIONS_HELP                                               \
  "  --patient-last TEXT         patient last name\n"                          \
  "  --patient-first TEXT        patient first name\n"                         \
  "  --patient-id TEXT\n"                                                      \
  "  --birth YYYY-MM-DD\n"                                                     \
  "  --sex N                     0 unknown, 1 male, 2 female, 9 unspecified\n" \
  "  --height-mm N\n"                                                          \
  "  --weight-g N\n"

namespace ecg::app {

// A decimal number within [min, max], nothing else.
bool ParseNumber(const std::string& text, long min, long max, long& out);

enum class PatientOption {
  kNotPatient,  // args[i] is some other option
  kParsed,      // `edit` makes the change; i stands on the option's last word
  kBad,         // a missing or bad value; `error` says which
};
using PatientEdit = std::function<void(CPatientInfo&)>;

// Reads the patient option at args[i], if it is one.
PatientOption ParsePatientOption(const Args& args, size_t& i, PatientEdit& edit,
                                 std::string& error);

}  // namespace ecg::app
