#pragma once
// One frame's leads as the plots draw them: the eight transmitted channels
// and the four limb leads derived from I and II, in signed sample steps,
// with each lead's status word (derived leads carry the status of I and II
// together).

#include <array>
#include <cstdint>

namespace ecg::recording {

// Status bits that leave a gap: codes 0, 1, 3 and a channel not sent (bit 31).
inline constexpr uint32_t kGapStatusBits = 0x8000000Bu;
// Status code 2: the cable's calibration step.
inline constexpr uint32_t kCalibrationStatusBit = 0x4u;
inline constexpr uint32_t kNotSentStatusBit = 0x80000000u;

// III = II - I; aVR = -(I + II) / 2; aVL = I - II / 2; aVF = II - I / 2.
// `channel` 8..11; any other channel gives 0.
int DerivedLead(int channel, int lead_i, int lead_ii);

struct FrameLeads {
  std::array<int, 12> value{};       // signed sample steps (sample - 2048)
  std::array<uint32_t, 12> status{};
};

// Decodes a 13-byte frame (status codes become value 0 with their status
// word) and derives channels 8..11.
FrameLeads DecodeFrameLeads(const uint8_t* frame);

}  // namespace ecg::recording
