#pragma once
// Test's recording once the cable is known: the report engine gets the
// footer and version, the recording window is prepared from the options and
// run, and a saving end code turns the recording file into the record.
// Test calls it for the cable it found; `ecg demo` for a replay file.

#include <cstdint>
#include <string>

#include "interface/facade/ecg_interface.h"

namespace ecg::facade {

// The recording's temporary sample file: "rt-ecg.tmp" in the Tidemark folder.
std::string RecordingTempFile();

// The test result of a window end code (1 → 1, 102 → 2, 103 → 3, 104 → 4,
// anything else 0) and whether it saves.
tTestResult TestResultOfEndCode(int end_code);

// connection_type 0: the serial cable on the `Port` option; 1: `replay_file`.
// unattended_seconds > 0: the window saves by itself once that much arrived.
tTestResult RecordInto(CECGInterface& facade, const char* file, int16_t connection_type,
                       const std::string& replay_file, int unattended_seconds = 0);

}  // namespace ecg::facade
