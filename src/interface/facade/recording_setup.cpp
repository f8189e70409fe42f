#include "interface/facade/recording_setup.h"

#include <algorithm>
#include <cstdio>

#include "interface/ecg_default_settings.h"
#include "interface/facade/ecg_interface.h"

namespace ecg::facade {

std::string RecordingPortName(int port) {
  char name[32];
  if (port <= 9) {
    std::snprintf(name, sizeof name, "COM%d", port);
  } else {
    std::snprintf(name, sizeof name, "\\\\.\\COM%d", port);
  }
  return name;
}

double GainOfSensitivity(int32_t sensitivity) {
  switch (sensitivity) {
    case 0: return 0.005;
    case 2: return 0.02;
    default: return 0.01;
  }
}

double SpeedOfOption(int32_t speed) {
  switch (speed) {
    case 0: return 12.5;
    case 2: return 50.0;
    default: return 25.0;
  }
}

RecordingSetup MakeRecordingSetup(const CECGDefaultSettings& options, int32_t language,
                                  const std::string& output_file, const char* last_name,
                                  const char* first_name, const std::string& language_folder) {
  RecordingSetup s;
  s.language = language;
  s.outputFile = output_file;
  s.languageFolder = language_folder;
  s.muscleFilter = options.MuscleFilter;
  s.powerFilter = options.PowerFilter != 0;
  s.mainsHz = options.PowerFilterChoice == 0 ? 50 : 60;
  s.plotStyle = options.PlotStyle;
  s.gridStyle = options.GridStyle;
  s.qrsBeep = options.QRSBeep;
  s.leadsOffBeep = options.LeadsOffBeep;
  s.midiSound = options.MIDISound;
  s.port = options.Port;
  s.portName = RecordingPortName(options.Port);
  s.patientName = std::string(last_name) + ", " + first_name;
  const int group = std::clamp<int>(options.CustomLeadGroupSize, 0,
                                    static_cast<int>(options.CustomLeadGroup.size()));
  s.customLeadGroup.assign(options.CustomLeadGroup.begin(), options.CustomLeadGroup.begin() + group);
  for (size_t i = 0; i < s.displayChannels.size(); ++i) {
    // A lead order entry outside 0-11 shows lead I rather than reading past the table.
    const int16_t index = options.LeadOrder[i];
    s.displayChannels[i] = CECGInterface::m_leadIds[index >= 0 && index < 12 ? index : 0];
  }
  s.rhythmStripLead = options.RhythmStripLead;
  s.bufferSeconds = 900;
  s.createPdf = options.CreatePDF;
  s.gain = GainOfSensitivity(options.Sensitivity);
  s.speed = SpeedOfOption(options.Speed);
  s.leadGroup = options.LeadGroup;
  return s;
}

}  // namespace ecg::facade
