#pragma once
// Outputs that record what they are sent, standing in for the sound system.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "dsp/midi_output.h"
#include "dsp/wave_player.h"

namespace ecg::test {

// What a CapturingMidiOutput saw. Shared with the test, because the beep
// thread owns the output itself.
struct MidiCapture {
  struct Message {
    uint32_t packed;
    std::chrono::steady_clock::time_point at;
  };
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<Message> messages;
  bool refuse_open = false;
  bool open = false;
  int open_calls = 0;
  int close_calls = 0;

  std::vector<uint32_t> Packed() {
    std::lock_guard lock(mutex);
    std::vector<uint32_t> out;
    for (const auto& m : messages) out.push_back(m.packed);
    return out;
  }
  // Waits until at least `count` messages arrived; false after `limit`.
  bool WaitFor(size_t count, std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, limit, [&] { return messages.size() >= count; });
  }
};

class CapturingMidiOutput final : public ecg::dsp::MidiOutput {
 public:
  explicit CapturingMidiOutput(std::shared_ptr<MidiCapture> capture)
      : capture_(std::move(capture)) {}
  bool Open() override {
    std::lock_guard lock(capture_->mutex);
    ++capture_->open_calls;
    capture_->open = !capture_->refuse_open;
    return capture_->open;
  }
  bool IsOpen() const override {
    std::lock_guard lock(capture_->mutex);
    return capture_->open;
  }
  bool ShortMessage(uint32_t message) override {
    std::lock_guard lock(capture_->mutex);
    if (!capture_->open) return false;
    capture_->messages.push_back({message, std::chrono::steady_clock::now()});
    capture_->changed.notify_all();
    return true;
  }
  void Close() override {
    std::lock_guard lock(capture_->mutex);
    if (capture_->open) ++capture_->close_calls;
    capture_->open = false;
  }

 private:
  std::shared_ptr<MidiCapture> capture_;
};

class CapturingWavePlayer final : public ecg::dsp::WavePlayer {
 public:
  bool PlayMemory(std::shared_ptr<const std::vector<uint8_t>> wave) override {
    memory.push_back(std::move(wave));
    return true;
  }
  bool PlayFile(const std::string& path) override {
    files.push_back(path);
    return true;
  }
  std::vector<std::shared_ptr<const std::vector<uint8_t>>> memory;
  std::vector<std::string> files;
};

}  // namespace ecg::test
