#pragma once
// The cable's 13-byte sample frame: eight channels (I, II, V1-V6) of 12-bit
// offset-binary samples packed two per three bytes, then a checksum byte
// holding the sum of bytes 0-11 modulo 256. Values 4080-4095 are channel
// status codes (value - 4080), not samples.

#include <array>
#include <cstddef>
#include <cstdint>

namespace ecg::acquisition {

inline constexpr size_t kFrameBytes = 13;
inline constexpr size_t kFrameChannels = 8;
inline constexpr uint16_t kSampleZero = 2048;
inline constexpr uint16_t kStatusBase = 4080;

using Frame = std::array<uint8_t, kFrameBytes>;
using FrameSamples = std::array<uint16_t, kFrameChannels>;

// Sum of bytes 0-11 modulo 256.
uint8_t FrameChecksum(const uint8_t* frame);
// True when byte 12 holds the checksum of bytes 0-11.
bool FrameChecks(const uint8_t* frame);

// Packs eight 12-bit values (bits above 12 are dropped) and the checksum.
Frame PackFrame(const FrameSamples& samples);

// The eight raw 12-bit values of a frame (status codes included).
FrameSamples UnpackFrame(const uint8_t* frame);

// A raw value split into the sample (2048 for a status code) and the
// channel's status word (1 << code, or 0 for a sample).
struct ChannelValue {
  uint16_t sample;
  uint16_t status;
};
ChannelValue DecodeChannel(uint16_t raw);

}  // namespace ecg::acquisition
