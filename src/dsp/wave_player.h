#pragma once
// Where wave sounds go: the sound card in the program, a recorder in tests.
// Playing is asynchronous and never interrupts a sound that is still
// playing.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ecg::dsp {

class WavePlayer {
 public:
  virtual ~WavePlayer() = default;
  // Starts playing a wave held in memory and returns at once. False when a
  // sound is still playing, the bytes are not a playable wave (last-error
  // code from ParseWave) or no output device can be opened.
  virtual bool PlayMemory(std::shared_ptr<const std::vector<uint8_t>> wave) = 0;
  // The same for a wave file, read when it is played.
  virtual bool PlayFile(const std::string& path) = 0;
};

}  // namespace ecg::dsp
