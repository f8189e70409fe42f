#pragma once
// A record whose every lead is flat except for a 1 mV square pulse of 0.2 s
// starting at 0.5 s of every second: rising edges exactly one second apart
// and a plateau exactly 1 mV high, for measuring the paper scale.

#include <cstdint>
#include <vector>

#include "support/record_builder.h"

namespace ecg::test {

// 12 leads (or the given codes), 10 s at 500 Hz, 1 µV per unit. Samples in
// `error_ranges` ([first, last) sample indices of lead I) carry the marker
// 2032 (a lead error).
Bytes SquarePulseRecord(const std::vector<uint8_t>& codes,
                        const std::vector<std::pair<uint32_t, uint32_t>>& error_ranges = {});

}  // namespace ecg::test
