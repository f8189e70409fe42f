#pragma once
// Frame assembly with one-byte resynchronisation: bytes gather in a 13-byte
// buffer; a full buffer whose checksum fails drops its first byte and waits
// for one more, so framing is regained one byte at a time and no byte of a
// good frame is lost once it holds.

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "acquisition/cable_frame.h"

namespace ecg::acquisition {

class FrameAssembler {
 public:
  // Bytes the next fill wants: 13 when empty (taken at once), else 1.
  size_t Wanted() const { return n_ == 0 ? kFrameBytes : 1; }
  size_t Filled() const { return n_; }
  uint8_t* FillPointer() { return buffer_ + n_; }
  // Records that `count` bytes were put at FillPointer().
  void Added(size_t count) { n_ += count; }

  // With a full buffer: true for a good frame (the buffer is then emptied
  // by the caller through Frame()/Clear()); on a checksum failure drops the
  // first byte. False too while the buffer is not full.
  bool AssembleFrame() {
    if (n_ != kFrameBytes) return false;
    if (!FrameChecks(buffer_)) {
      std::memmove(buffer_, buffer_ + 1, kFrameBytes - 1);
      n_ = kFrameBytes - 1;
      ++dropped_;
      return false;
    }
    return true;
  }
  const uint8_t* Frame() const { return buffer_; }
  void Clear() { n_ = 0; }
  uint64_t DroppedBytes() const { return dropped_; }

 private:
  uint8_t buffer_[kFrameBytes] = {};
  size_t n_ = 0;
  uint64_t dropped_ = 0;
};

// Runs the assembly over bytes that are all present (a replayed or fuzzed
// stream), calling on_frame(frame) for each good frame; returns the count.
template <typename OnFrame>
size_t AssembleBytes(const uint8_t* bytes, size_t size, OnFrame on_frame) {
  FrameAssembler a;
  size_t pos = 0, frames = 0;
  while (pos < size) {
    const size_t want = a.Wanted();
    if (size - pos < want) break;
    std::memcpy(a.FillPointer(), bytes + pos, want);
    a.Added(want);
    pos += want;
    if (a.AssembleFrame()) {
      on_frame(a.Frame());
      a.Clear();
      ++frames;
    }
  }
  return frames;
}

}  // namespace ecg::acquisition
