#pragma once
// Median beats: for every lead, the sample-by-sample median of the dominant
// beats aligned on their fiducials, 1.2 s long with the fiducial 0.4 s in,
// at the record's own rate. Samples a beat does not cover (record edges,
// flagged samples) are left out of that sample's median.

#include <cstddef>
#include <span>
#include <vector>

#include "engine/ecg_signal.h"

namespace ecg::engine {

constexpr double kMedianSeconds = 1.2;
constexpr double kMedianFiducialSeconds = 0.4;

struct MedianBeats {
  double rate = 0;
  size_t length = 0;    // samples
  size_t fiducial = 0;  // 0-based sample of the fiducial point
  std::vector<std::vector<float>> leads;  // µV, in the signal's lead order

  double Ms(double sample) const { return rate > 0 ? sample * 1000.0 / rate : 0.0; }
};

// `corrected`: every lead of the signal with its baseline removed. Leads the
// engine derived from I and II are built from the medians of I and II (so
// the medians keep Einthoven's and Goldberger's relations).
MedianBeats BuildMedianBeats(const EcgSignal& signal, const std::vector<std::vector<float>>& corrected,
                             std::span<const size_t> fiducials);

// A median over `fiducials` of one lead, `before` samples before each and
// `length` in all.
void MedianOfWindows(std::span<const float> lead, const Lead* flags, std::span<const size_t> fiducials,
                     size_t before, size_t length, std::vector<float>& out);

}  // namespace ecg::engine
