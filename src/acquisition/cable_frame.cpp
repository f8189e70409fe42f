#include "acquisition/cable_frame.h"

namespace ecg::acquisition {

uint8_t FrameChecksum(const uint8_t* frame) {
  unsigned sum = 0;
  for (size_t i = 0; i < kFrameBytes - 1; ++i) sum += frame[i];
  return static_cast<uint8_t>(sum & 0xFF);
}

bool FrameChecks(const uint8_t* frame) { return FrameChecksum(frame) == frame[kFrameBytes - 1]; }

Frame PackFrame(const FrameSamples& samples) {
  Frame f{};
  for (size_t k = 0; k < kFrameChannels / 2; ++k) {
    const uint16_t a = samples[2 * k] & 0x0FFF;
    const uint16_t b = samples[2 * k + 1] & 0x0FFF;
    f[3 * k] = static_cast<uint8_t>(a >> 4);
    f[3 * k + 1] = static_cast<uint8_t>(((a & 0x0F) << 4) | (b >> 8));
    f[3 * k + 2] = static_cast<uint8_t>(b & 0xFF);
  }
  f[kFrameBytes - 1] = FrameChecksum(f.data());
  return f;
}

FrameSamples UnpackFrame(const uint8_t* frame) {
  FrameSamples s{};
  for (size_t k = 0; k < kFrameChannels / 2; ++k) {
    const uint8_t b0 = frame[3 * k];
    const uint8_t b1 = frame[3 * k + 1];
    const uint8_t b2 = frame[3 * k + 2];
    s[2 * k] = static_cast<uint16_t>(b0 * 16 + b1 / 16);
    s[2 * k + 1] = static_cast<uint16_t>((b1 % 16) * 256 + b2);
  }
  return s;
}

ChannelValue DecodeChannel(uint16_t raw) {
  if (raw >= kStatusBase) return {kSampleZero, static_cast<uint16_t>(1u << (raw - kStatusBase))};
  return {raw, 0};
}

}  // namespace ecg::acquisition
