// From the record model to microvolt samples, with markers and saturated
// stretches flagged and bridged.

#include "engine/record_input.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace ecg::engine {

namespace {

// Rates are stored as whole microseconds per sample, so 250 and 1000 Hz
// arrive exactly but others (600 Hz as 1667 µs) slightly off.
constexpr double kRateTolerance = 0.005;

// A stretch at the lead's extreme value this long, and this far from zero,
// is taken as the amplifier's limit rather than signal.
constexpr double kSaturationSeconds = 0.04;
constexpr double kSaturationMinUv = 1000.0;

void FlagSaturation(Lead& lead, const int16_t* raw, size_t n, double rate, double uv_per_unit) {
  int16_t lo = INT16_MAX, hi = INT16_MIN;
  for (size_t k = 0; k < n; ++k) {
    if (raw[k] > ecg::scp::kLastOrdinarySample) continue;  // markers are flagged already
    lo = std::min(lo, raw[k]);
    hi = std::max(hi, raw[k]);
  }
  if (lo > hi) return;
  const size_t min_run = std::max<size_t>(2, static_cast<size_t>(kSaturationSeconds * rate));
  for (int16_t extreme : {lo, hi}) {
    if (std::fabs(extreme * uv_per_unit) < kSaturationMinUv) continue;
    size_t i = 0;
    while (i < n) {
      if (raw[i] != extreme) {
        ++i;
        continue;
      }
      size_t j = i;
      while (j < n && raw[j] == extreme) ++j;
      if (j - i >= min_run) {
        if (lead.invalid.empty()) lead.invalid.assign(n, 0);
        for (size_t k = i; k < j; ++k) {
          if (!lead.invalid[k]) ++lead.saturated_count;
          lead.invalid[k] = 1;
        }
      }
      i = j;
    }
  }
}

// Replaces flagged samples by straight lines between their valid
// neighbours (held flat at the ends).
void BridgeInvalid(Lead& lead) {
  if (lead.invalid.empty()) return;
  const size_t n = lead.uv.size();
  size_t i = 0;
  bool any_valid = false;
  for (size_t k = 0; k < n; ++k) any_valid = any_valid || !lead.invalid[k];
  if (!any_valid) {
    std::fill(lead.uv.begin(), lead.uv.end(), 0.0f);
    return;
  }
  while (i < n) {
    if (!lead.invalid[i]) {
      ++i;
      continue;
    }
    size_t j = i;
    while (j < n && lead.invalid[j]) ++j;
    const bool has_left = i > 0;
    const bool has_right = j < n;
    const float left = has_left ? lead.uv[i - 1] : lead.uv[j];
    const float right = has_right ? lead.uv[j] : left;
    const float span = static_cast<float>(j - i + 1);
    for (size_t k = i; k < j; ++k) {
      const float t = has_left && has_right ? static_cast<float>(k - i + 1) / span : 0.0f;
      lead.uv[k] = has_left ? left + (right - left) * t : right;
    }
    i = j;
  }
}

}  // namespace

EngineStatus BuildSignal(const SLeadDefinitions& definitions, const SEncodedData& rhythm,
                         uint32_t recorded_leads, EcgSignal& signal) {
  signal = EcgSignal();
  if (definitions.m_count == 0 || !definitions.m_leads || rhythm.m_leadCount == 0 ||
      !rhythm.m_samples || !rhythm.m_sampleCounts) {
    return EngineStatus::Error(kResultUnreadable, "the record holds no lead data");
  }
  if (rhythm.m_sampleInterval == 0) {
    return EngineStatus::Error(kResultUnsupported, "the record states no sampling rate");
  }
  if (rhythm.m_amplitudeMultiplier == 0) {
    return EngineStatus::Error(kResultUnsupported, "the record states no amplitude unit");
  }
  const double rate = 1e6 / rhythm.m_sampleInterval;
  if (rate < kMinRateHz * (1 - kRateTolerance) || rate > kMaxRateHz * (1 + kRateTolerance)) {
    return EngineStatus::Error(kResultUnsupported,
                               "sampling rate " + std::to_string(std::lround(rate)) +
                                   " Hz is outside 250-1000 Hz");
  }
  const uint32_t leads = std::min<uint32_t>(definitions.m_count, rhythm.m_leadCount);

  // The range every lead covers.
  uint32_t start = 0, end = UINT32_MAX;
  for (uint32_t i = 0; i < leads; ++i) {
    const SLeadDef& def = definitions.m_leads[i];
    if (!rhythm.m_samples[i] || rhythm.m_sampleCounts[i] == 0) {
      return EngineStatus::Error(kResultUnreadable, "a lead holds no samples");
    }
    // A lead's samples run from its start sample; a one-lead record may
    // state a range its data does not fill.
    // Copies: the packed entry's fields are not aligned for references.
    const uint32_t lead_start = def.m_startSample, lead_stop = def.m_endSample;
    const uint64_t data_end = uint64_t{lead_start} + rhythm.m_sampleCounts[i] - 1;
    const uint64_t lead_end = std::min<uint64_t>(lead_stop, data_end);
    start = std::max(start, lead_start);
    end = static_cast<uint32_t>(std::min<uint64_t>(end, lead_end));
  }
  if (start == 0 || end < start) {
    return EngineStatus::Error(kResultUnsupported, "the leads share no common sample range");
  }
  const size_t n = size_t{end} - start + 1;
  const double seconds = static_cast<double>(n) / rate;
  // One sample of slack each way: 5 s at 500 Hz may be stored as 2499 or
  // 2501 samples by other carts.
  if (seconds < kMinSeconds - 1.0 / rate || seconds > kMaxSeconds + 1.0 / rate) {
    char text[96];
    std::snprintf(text, sizeof text, "duration %.2f s is outside 5-20 s", seconds);
    return EngineStatus::Error(kResultUnsupported, text);
  }

  signal.rate = rate;
  signal.samples = n;
  signal.first_sample = start;
  const double uv_per_unit = rhythm.m_amplitudeMultiplier / 1000.0;
  signal.leads.reserve(leads);
  for (uint32_t i = 0; i < leads; ++i) {
    const SLeadDef& def = definitions.m_leads[i];
    const int16_t* raw = rhythm.m_samples[i].get() + (start - def.m_startSample);
    Lead lead;
    lead.code = def.m_leadId;
    lead.derived = i >= recorded_leads;
    lead.uv.resize(n);
    for (size_t k = 0; k < n; ++k) {
      if (raw[k] > ecg::scp::kLastOrdinarySample) {
        if (lead.invalid.empty()) lead.invalid.assign(n, 0);
        lead.invalid[k] = 1;
        ++lead.marker_count;
        lead.uv[k] = 0.0f;
      } else {
        lead.uv[k] = static_cast<float>(raw[k] * uv_per_unit);
      }
    }
    FlagSaturation(lead, raw, n, rate, uv_per_unit);
    BridgeInvalid(lead);
    const int s = SlotOfCode(lead.code);
    if (s >= 0 && signal.slot[s] < 0) signal.slot[s] = static_cast<int>(signal.leads.size());
    signal.leads.push_back(std::move(lead));
  }
  if (signal.slot[kSlotI] < 0 || signal.slot[kSlotII] < 0) {
    return EngineStatus::Error(kResultUnsupported, "leads I and II are needed");
  }
  return EngineStatus::Ok();
}

}  // namespace ecg::engine
