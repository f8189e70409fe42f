#pragma once
// Linear filters the engine runs over whole records and median beats:
// second-order Butterworth sections applied forward and backward (no phase
// shift), centred moving averages, and order statistics.

#include <cstddef>
#include <initializer_list>
#include <span>
#include <vector>

namespace ecg::engine {

// y = b0 x + b1 x[-1] + b2 x[-2] - a1 y[-1] - a2 y[-2]
struct Biquad {
  float b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
};

// Second-order Butterworth low-pass and high-pass sections (bilinear
// transform with a pre-warped corner). A low-pass corner at or above 0.45 of
// the rate gives a section that passes everything.
Biquad ButterworthLowPass(double corner_hz, double rate_hz);
Biquad ButterworthHighPass(double corner_hz, double rate_hz);

// Runs the sections forward, then backward, in place. Each pass starts from
// the steady state of its first sample, so a record that starts away from
// zero does not ring.
void FilterZeroPhase(std::span<float> x, std::initializer_list<Biquad> sections);

// Centred moving average over `width` samples (odd widths are centred
// exactly); the ends average over the part of the window inside the signal.
void MovingAverage(std::span<const float> in, size_t width, std::span<float> out);

// The q-quantile (0..1) of the values, by partial sorting of a copy held in
// `scratch`. Empty input gives 0.
float Quantile(std::span<const float> values, double q, std::vector<float>& scratch);

// Median of a small set held in `values` (reordered).
float MedianInPlace(std::span<float> values);

}  // namespace ecg::engine
