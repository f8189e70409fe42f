#pragma once
// The caller's sample rate and amplitude resolution as the event metadata
// holds them: whole nanovolts and whole microseconds, 16-bit each.

#include <cstdint>

namespace ecg::import {

// Resolution in nanovolts, truncated: 87 unless 0 <= value < 65536.
bool ResolutionArgument(double nanovolts, uint16_t* out);
// Sample interval 1000000 / rate in microseconds, truncated: 87 for a
// negative or undefined rate or one so low that the interval passes 65535.
// A rate of 0 gives the interval 0 (unknown); so does a rate above 1 MHz.
bool SampleIntervalArgument(double rate, uint16_t* out);

}  // namespace ecg::import
