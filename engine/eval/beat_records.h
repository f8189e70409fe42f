#pragma once
// Beat-annotated long recordings (the QT database layout: NAME.bin with
// interleaved int16 microvolt channels, NAME.json with rate, channel names
// and [sample, symbol] beat labels), for stress tests of detection and beat
// typing on 10-second stretches.

#include <string>
#include <vector>

namespace ecg::engine::eval {

struct BeatLabel {
  long sample = 0;
  char symbol = 'N';  // MIT-BIH beat symbol
};

struct BeatRecord {
  double rate = 0;
  std::vector<std::string> channels;
  std::vector<std::vector<float>> samples;  // per channel, µV
  std::vector<BeatLabel> beats;
};

bool ReadBeatRecord(const std::string& json_path, const std::string& bin_path, BeatRecord& out,
                    std::string& error);

// Runs detection and typing over consecutive 10 s stretches of every
// record in the folder and prints sensitivity, positive predictivity and
// how the labelled beat classes were typed. Returns a process exit code.
int RunBeatStress(const std::string& folder, bool verbose);

}  // namespace ecg::engine::eval
