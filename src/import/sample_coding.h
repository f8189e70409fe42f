#pragma once
// Sample codings shared by the packed 12-lead files and the handheld
// recorder's lead data blocks.

#include <cstdint>

namespace ecg::import {

// Marker samples that stand in for a single-lead frame's status codes.
constexpr int16_t kSingleLeadMarker1 = 2033;
constexpr int16_t kSingleLeadMarker2 = 2032;
constexpr int16_t kSingleLeadMarker3 = 2034;

// Two 12-bit samples packed in three bytes t0 t1 t2 (offset binary,
// 2048 = 0): the first is t0 t1-high, the second t1-low t2.
inline void Decode12BitPair(const uint8_t* t, int16_t* first, int16_t* second) {
  *first = static_cast<int16_t>(t[0] * 16 + (t[1] >> 4) - 2048);
  *second = static_cast<int16_t>(((t[1] & 0x0F) << 8) + t[2] - 2048);
}

// A single-lead frame b0 b1: an 11-bit sample, or a marker chosen by the two
// low bits of b1.
inline int16_t DecodeSingleLeadFrame(uint8_t b0, uint8_t b1) {
  switch (b1 & 0x03) {
    case 0: return static_cast<int16_t>(((b0 * 8) & 0xFE0) + ((b1 >> 2) & 0x1F));
    case 1: return kSingleLeadMarker1;
    case 2: return kSingleLeadMarker2;
    default: return kSingleLeadMarker3;
  }
}

// Whether a single-lead frame is valid: b0 has its top bit set, b1 clear.
inline bool IsValidSingleLeadFrame(uint8_t b0, uint8_t b1) {
  return (b0 & 0x80) != 0 && (b1 & 0x80) == 0;
}

}  // namespace ecg::import
