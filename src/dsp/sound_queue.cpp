#include "dsp/sound_queue.h"

namespace ecg::dsp {

bool SoundQueue::Push(uint8_t value) {
  std::lock_guard lock(mutex_);
  if (count_ == kCapacity) return false;
  ring_[(head_ + count_) % kCapacity] = value;
  ++count_;
  return true;
}

bool SoundQueue::Pop(uint8_t& value) {
  std::lock_guard lock(mutex_);
  if (count_ == 0) return false;
  value = ring_[head_];
  head_ = (head_ + 1) % kCapacity;
  --count_;
  return true;
}

size_t SoundQueue::Count() const {
  std::lock_guard lock(mutex_);
  return count_;
}

void SoundQueue::Clear() {
  std::lock_guard lock(mutex_);
  head_ = 0;
  count_ = 0;
}

}  // namespace ecg::dsp
