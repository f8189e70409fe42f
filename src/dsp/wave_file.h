#pragma once
// RIFF wave files as the sound output plays them: uncompressed PCM, 8 or 16
// bits, one or two channels. The parser treats the bytes as hostile: every
// chunk length is checked against the bytes present.

#include <cstdint>
#include <span>

namespace ecg::dsp {

struct WaveFormat {
  uint16_t channels = 0;
  uint32_t sample_rate = 0;
  uint16_t bits_per_sample = 0;
  uint16_t block_align = 0;  // bytes per frame
};

struct WaveData {
  WaveFormat format;
  std::span<const uint8_t> samples;  // whole frames only, within the parsed bytes
  uint64_t frame_count() const {
    return format.block_align == 0 ? 0 : samples.size() / format.block_align;
  }
};

inline constexpr uint32_t kMinWaveRate = 1000;
inline constexpr uint32_t kMaxWaveRate = 192000;

// False with the last-error code:
//   kErrorBadFormat  not a RIFF "WAVE" file, or a format other than 8/16-bit
//                    PCM with 1–2 channels at 1000–192000 Hz;
//   kErrorInvalidData a chunk runs past the end of the bytes, the format
//                    chunk is short, or its frame size contradicts it;
//   kErrorNoData     no format chunk before the data, or no data chunk.
bool ParseWave(std::span<const uint8_t> bytes, WaveData& out);

}  // namespace ecg::dsp
