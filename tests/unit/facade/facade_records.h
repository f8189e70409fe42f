#pragma once
// Records and recording files for the facade tests.

#include <string>

namespace ecg::test {

// A recording file as the recording window saves it: `seconds` of the
// cable simulator's synthetic 12-lead ECG in the handheld recorder format.
bool WriteRecordingFile(const std::string& path, int seconds = 10);
// An 8-lead cart record (I, II, V1-V6) made from such a recording.
bool WriteCartRecord(const std::string& path);
// A one-lead record of 10 s at 500 Hz.
bool WriteOneLeadRecord(const std::string& path);

}  // namespace ecg::test
