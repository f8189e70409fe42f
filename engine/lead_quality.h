#pragma once
// How usable each lead is: flat, mostly markers or saturation, noise.

#include <cstdint>
#include <vector>

#include "engine/ecg_signal.h"

namespace ecg::engine {

// Bits of the quality code the per-lead measurements carry.
enum : uint16_t {
  kQualityNoise = 0x01,       // high-frequency noise above kNoisyLeadUv
  kQualityWander = 0x02,      // baseline wander above kWanderingLeadUv
  kQualityMarkers = 0x04,     // the lead holds marker samples
  kQualitySaturation = 0x08,  // the lead holds stretches at the amplifier's limit
  kQualityFlat = 0x10,        // no signal
  kQualityRejected = 0x20,    // not measured
};

constexpr float kNoisyLeadUv = 30.0f;
constexpr float kWanderingLeadUv = 500.0f;

struct LeadQuality {
  bool flat = false;
  bool off = false;            // too much of it is markers or saturation
  float invalid_fraction = 0;
  float noise_uv = 0;          // RMS estimate of the high-frequency noise
  float wander_uv = 0;         // range of the baseline under the beats (set later)

  bool usable() const { return !flat && !off; }
  uint16_t Code(const Lead& lead) const;
};

std::vector<LeadQuality> AssessLeads(const EcgSignal& signal);

}  // namespace ecg::engine
