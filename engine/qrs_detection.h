#pragma once
// Multi-lead QRS detection over a whole record.
//
// Each usable lead is band-passed (8-25 Hz, where QRS complexes carry their
// energy and T waves, P waves and baseline wander little), differentiated
// and squared; each lead's energy is scaled by its own 99th percentile and
// capped, so no single lead (a loose electrode, a huge ectopic beat) rules
// the sum. The summed energy is integrated over 100 ms; its peaks, at least
// 200 ms apart, are beats when they reach a fraction of the level of the
// record's typical complexes. A peak close behind a beat with much less
// slope energy is that beat's T wave; long gaps are searched again at half
// the threshold (Pan and Tompkins' search-back).

#include <cstddef>
#include <span>
#include <vector>

#include "engine/ecg_signal.h"

namespace ecg::engine {

struct DetectedBeat {
  size_t peak = 0;        // sample of the largest slope energy
  size_t onset = 0;       // rough extent of the complex from its energy
  size_t offset = 0;
  float strength = 0;     // integrated energy at the detection
  float outside = 0;      // largest integrated energy around the complex, relative to `strength`
};

// `leads`: indexes of the leads to use (usable, not derived).
std::vector<DetectedBeat> DetectQrs(const EcgSignal& signal, std::span<const size_t> leads);

}  // namespace ecg::engine
