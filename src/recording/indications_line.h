#pragma once
// The recording window's indications line and clock texts.

#include <array>
#include <cstdint>
#include <string>

namespace ecg::recording {

// "Cable Status: " and "; "-separated items: "Lead off" (any channel with
// status code 1), "Lead Zeroing" (code 0), "Data dropped" (fewer than 5000
// frames received); "OK" when none applies; "Review" while frozen.
std::string IndicationsText(const std::array<uint32_t, 12>& status, uint32_t frames_received,
                            bool frozen);

// The recorded time of `bytes` of frames at 500 frames per second, rounded
// to whole seconds, as "%M:%S" (minutes modulo 60).
std::string RecordedClockText(uint64_t bytes);

}  // namespace ecg::recording
