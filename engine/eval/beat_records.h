#pragma once
// Beat-annotated long recordings (the QT database layout: NAME.bin with
// interleaved int16 microvolt channels, NAME.json with rate, channel names
// and [sample, symbol] beat labels), for stress tests of detection and beat
// typing on 10-second stretches.

#include <array>
#include <map>
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

struct BeatStress {
  size_t records = 0, stretches = 0;
  size_t tp = 0, fn = 0, fp = 0;
  // Labelled class ("normal", "ventricular", "other 'A'"...) -> how the
  // engine typed those beats: dominant, premature, other form, noise,
  // missed.
  std::map<std::string, std::array<size_t, 5>> typing;
  // Stretches the whole analysis accepted, and how often each rhythm
  // statement (English text) was made on them.
  size_t analysed = 0;
  std::map<std::string, size_t> rhythm;
  // Stretches of records whose second channel is V1, and those of them on
  // which the atrial flutter measure's correlation limits are met.
  size_t with_v1 = 0;
  size_t flutter_limits_met = 0;
  double Sensitivity() const;
  double PositivePredictivity() const;
};

// Runs detection and typing over consecutive 10 s stretches of every
// record in the folder. False when the folder holds no readable record.
bool MeasureBeatStress(const std::string& folder, bool verbose, BeatStress& out);

// The same, printed. Returns a process exit code.
int RunBeatStress(const std::string& folder, bool verbose);

}  // namespace ecg::engine::eval
