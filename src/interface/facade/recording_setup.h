#pragma once
// What Test hands the recording window, worked out from the active options
// and the patient: filters, colours, grid, sounds, port, lead group and
// order, buffer size, gain and speed. Kept apart from the window so the
// mapping can be checked without one.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CECGDefaultSettings;

namespace ecg::facade {

struct RecordingSetup {
  int32_t language = 0;
  std::string outputFile;        // "rt-ecg.tmp" in the Tidemark documents folder
  std::string languageFolder;    // language strings relative to the component
  bool muscleFilter = false;
  bool powerFilter = false;
  int mainsHz = 60;
  int32_t plotStyle = 0;
  int32_t gridStyle = 0;
  bool qrsBeep = false;
  bool leadsOffBeep = false;
  bool midiSound = false;
  int16_t connectionType = 0;    // 0 serial cable, 1 replay file
  int port = 0;
  std::string portName;          // "COM%d", or "\\.\COM%d" from port 10 on
  std::string replayFile;        // connection type 1
  std::string patientName;       // last name ", " first name
  std::vector<int16_t> customLeadGroup;
  std::array<int16_t, 12> displayChannels{};
  int16_t rhythmStripLead = 1;
  int32_t bufferSeconds = 900;
  int32_t createPdf = 0;
  double gain = 0.01;            // mm per microvolt
  double speed = 25.0;           // mm/s
  int32_t leadGroup = 0;
  // Unattended runs: the window saves by itself once this many seconds have
  // arrived (0: a person saves), and gives up after the timeout.
  int unattendedSeconds = 0;
  int unattendedTimeoutSeconds = 90;
  // With an unattended save: a PNG picture of the window taken just before
  // it saves (empty: none). Left out when it cannot be written.
  std::string screenshotFile;
};

// The port's name as the recording window opens it.
std::string RecordingPortName(int port);
// Gain of a Sensitivity option (0, 1, 2 → 0.005, 0.01, 0.02; others 0.01)
// and speed of a Speed option (0, 1, 2 → 12.5, 25, 50; others 25).
double GainOfSensitivity(int32_t sensitivity);
double SpeedOfOption(int32_t speed);

// The setup for a serial recording from `options`; the caller sets the
// connection type and replay file for a replay.
RecordingSetup MakeRecordingSetup(const CECGDefaultSettings& options, int32_t language,
                                  const std::string& output_file, const char* last_name,
                                  const char* first_name, const std::string& language_folder);

}  // namespace ecg::facade
