#pragma once
// The two wave sounds played when MIDI is off: "RT-ECG.wav" on each beat and
// "RT-ECG!.wav" while a lead is off. They are read into memory when a
// recording starts; one that cannot be read is played from its file.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dsp/wave_player.h"

namespace ecg::platform {
class Prompt;
}

namespace ecg::dsp {

inline constexpr std::string_view kBeatWaveName = "RT-ECG.wav";
inline constexpr std::string_view kLeadOffWaveName = "RT-ECG!.wav";
// The desktop application's settings key and the value naming its folder.
inline constexpr std::string_view kApplicationKey = "SOFTWARE\\WOW6432Node\\Ostrander\\Tidemark 32";
inline constexpr std::string_view kApplicationLocationValue = "ApplicationLocation";
inline constexpr std::string_view kWaveLoadFailedText =
    "Wave file couldn't be loaded into memory and will be used from disk as necessary.";

// The folder holding the wave files: the "ApplicationLocation" value (current
// user, then local machine) when it is set; else the first installed or
// build-tree data folder that holds the beat wave: the module's own folder,
// <module>/../share/tidemark, <module>/data, then the build tree's data
// folder; else the module's own folder.
std::string WaveFolder();

class WaveSounds {
 public:
  enum Which : int { kBeat = 0, kLeadOff = 1 };
  static constexpr uint64_t kMaxWaveFileSize = uint64_t{16} << 20;

  // Reads both files of `folder`. For each one that cannot be read it shows
  // kWaveLoadFailedText and keeps only the path. True when both loaded.
  bool Load(const std::string& folder, ecg::platform::Prompt& prompt, std::string_view caption);

  bool IsLoaded(Which which) const { return memory_[which] != nullptr; }
  const std::string& Path(Which which) const { return paths_[which]; }

  // Plays a sound from memory when it was loaded, else from its file.
  bool Play(Which which, WavePlayer& player) const;

 private:
  std::array<std::string, 2> paths_;
  std::array<std::shared_ptr<const std::vector<uint8_t>>, 2> memory_;
};

}  // namespace ecg::dsp
