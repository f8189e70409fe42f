// Lead quality from the samples alone.

#include "engine/lead_quality.h"

#include <algorithm>
#include <cmath>

#include "engine/filters.h"

namespace ecg::engine {

namespace {

// A lead whose middle 99 % of samples span less than this carries no ECG.
constexpr float kFlatRangeUv = 20.0f;
// A lead with more flagged samples than this is not analysed.
constexpr float kMaxInvalidFraction = 0.3f;
constexpr double kNoiseBlockSeconds = 0.1;

}  // namespace

uint16_t LeadQuality::Code(const Lead& lead) const {
  uint16_t code = 0;
  if (noise_uv > kNoisyLeadUv) code |= kQualityNoise;
  if (wander_uv > kWanderingLeadUv) code |= kQualityWander;
  if (lead.marker_count > 0) code |= kQualityMarkers;
  if (lead.saturated_count > 0) code |= kQualitySaturation;
  if (flat) code |= kQualityFlat;
  if (!usable()) code |= kQualityRejected;
  return code;
}

std::vector<LeadQuality> AssessLeads(const EcgSignal& signal) {
  std::vector<LeadQuality> out(signal.leads.size());
  std::vector<float> valid, scratch, block_noise;
  const size_t n = signal.samples;
  const size_t block = signal.Samples(kNoiseBlockSeconds, 8);
  for (size_t li = 0; li < signal.leads.size(); ++li) {
    const Lead& lead = signal.leads[li];
    LeadQuality& q = out[li];
    q.invalid_fraction =
        n == 0 ? 1.0f
               : static_cast<float>(std::count_if(lead.invalid.begin(), lead.invalid.end(),
                                                  [](uint8_t v) { return v != 0; })) /
                     static_cast<float>(n);
    q.off = q.invalid_fraction > kMaxInvalidFraction;

    valid.clear();
    for (size_t i = 0; i < n; ++i) {
      if (!lead.IsInvalid(i)) valid.push_back(lead.uv[i]);
    }
    const float lo = Quantile(valid, 0.005, scratch);
    const float hi = Quantile(valid, 0.995, scratch);
    q.flat = valid.empty() || hi - lo < kFlatRangeUv;

    // Noise: the second difference of white noise of RMS s has RMS s*sqrt(6);
    // the median over short blocks leaves the QRS complexes out.
    block_noise.clear();
    for (size_t start = 1; start + block + 1 <= n; start += block) {
      double sum = 0;
      size_t count = 0;
      for (size_t i = start; i < start + block; ++i) {
        if (lead.IsInvalid(i - 1) || lead.IsInvalid(i) || lead.IsInvalid(i + 1)) continue;
        const double d2 = double{lead.uv[i + 1]} - 2.0 * lead.uv[i] + lead.uv[i - 1];
        sum += d2 * d2;
        ++count;
      }
      if (count > block / 2) block_noise.push_back(static_cast<float>(std::sqrt(sum / count / 6.0)));
    }
    q.noise_uv = block_noise.empty() ? 0.0f : MedianInPlace(block_noise);
  }
  return out;
}

}  // namespace ecg::engine
