#pragma once
// The beep thread's queue of sound requests: a fixed byte ring with its own
// lock, so appends from the cable thread and the window timer are atomic
// while the beep thread takes requests out. It never overwrites: a request
// that finds the ring full is refused.

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>

namespace ecg::dsp {

class SoundQueue {
 public:
  static constexpr size_t kCapacity = 16;

  // False when the ring already holds kCapacity requests.
  bool Push(uint8_t value);
  // False when the ring is empty.
  bool Pop(uint8_t& value);
  size_t Count() const;
  void Clear();

 private:
  mutable std::mutex mutex_;
  std::array<uint8_t, kCapacity> ring_{};
  size_t head_ = 0;  // next to take
  size_t count_ = 0;
};

}  // namespace ecg::dsp
