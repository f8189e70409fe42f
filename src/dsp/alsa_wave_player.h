#pragma once
// Wave playback through ALSA PCM ("default" device) on a worker thread.

#include <atomic>
#include <mutex>
#include <thread>

#include "dsp/wave_player.h"

namespace ecg::dsp {

class AlsaWavePlayer final : public WavePlayer {
 public:
  AlsaWavePlayer() = default;
  // Stops a sound that is playing and waits for the worker.
  ~AlsaWavePlayer() override;
  AlsaWavePlayer(const AlsaWavePlayer&) = delete;
  AlsaWavePlayer& operator=(const AlsaWavePlayer&) = delete;

  bool PlayMemory(std::shared_ptr<const std::vector<uint8_t>> wave) override;
  bool PlayFile(const std::string& path) override;
  bool IsPlaying() const { return playing_.load(); }

 private:
  std::mutex mutex_;  // one start at a time
  std::atomic<bool> playing_{false};
  std::atomic<bool> stop_{false};
  std::thread worker_;
};

}  // namespace ecg::dsp
