#include "dsp/wave_file.h"

#include <cstring>

#include "platform/last_error.h"

namespace ecg::dsp {

namespace {

using ecg::platform::Fail;

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;

bool ReadFormat(std::span<const uint8_t> chunk, WaveFormat& format) {
  if (chunk.size() < 16) return Fail(ecg::platform::kErrorInvalidData);
  const uint8_t* p = chunk.data();
  uint16_t tag = U16(p);
  if (tag == kFormatExtensible) {
    // The sub-format GUID at offset 24 starts with the plain format tag.
    if (chunk.size() < 40) return Fail(ecg::platform::kErrorInvalidData);
    tag = U16(p + 24);
  }
  format.channels = U16(p + 2);
  format.sample_rate = U32(p + 4);
  format.block_align = U16(p + 12);
  format.bits_per_sample = U16(p + 14);
  if (tag != kFormatPcm || (format.bits_per_sample != 8 && format.bits_per_sample != 16) ||
      format.channels < 1 || format.channels > 2 || format.sample_rate < kMinWaveRate ||
      format.sample_rate > kMaxWaveRate) {
    return Fail(ecg::platform::kErrorBadFormat);
  }
  if (format.block_align != format.channels * (format.bits_per_sample / 8)) {
    return Fail(ecg::platform::kErrorInvalidData);
  }
  return true;
}

}  // namespace

bool ParseWave(std::span<const uint8_t> bytes, WaveData& out) {
  out = WaveData{};
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
      std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
    return Fail(ecg::platform::kErrorBadFormat);
  }
  // The RIFF size bounds the chunks; it may not claim more than is present.
  const uint64_t riff_end = uint64_t{8} + U32(bytes.data() + 4);
  if (riff_end > bytes.size()) return Fail(ecg::platform::kErrorInvalidData);

  WaveFormat format;
  bool have_format = false;
  uint64_t pos = 12;
  while (pos + 8 <= riff_end) {
    const uint8_t* header = bytes.data() + pos;
    const uint64_t size = U32(header + 4);
    const uint64_t body = pos + 8;
    if (body + size > riff_end) return Fail(ecg::platform::kErrorInvalidData);
    auto chunk = bytes.subspan(static_cast<size_t>(body), static_cast<size_t>(size));
    if (std::memcmp(header, "fmt ", 4) == 0) {
      if (!ReadFormat(chunk, format)) return false;
      have_format = true;
    } else if (std::memcmp(header, "data", 4) == 0) {
      if (!have_format) return Fail(ecg::platform::kErrorNoData);
      out.format = format;
      out.samples = chunk.first(static_cast<size_t>(size - size % format.block_align));
      return true;
    }
    pos = body + size + (size & 1);  // chunks are padded to even lengths
  }
  return Fail(ecg::platform::kErrorNoData);
}

}  // namespace ecg::dsp
