// Sample-by-sample medians of aligned beats.

#include "engine/median_beats.h"

#include <algorithm>

#include "engine/filters.h"

namespace ecg::engine {

void MedianOfWindows(std::span<const float> lead, const Lead* flags, std::span<const size_t> fiducials,
                     size_t before, size_t length, std::vector<float>& out) {
  out.assign(length, 0.0f);
  std::vector<float> column;
  column.reserve(fiducials.size());
  const size_t n = lead.size();
  float last = 0.0f;
  for (size_t k = 0; k < length; ++k) {
    column.clear();
    for (size_t f : fiducials) {
      if (f + k < before) continue;
      const size_t i = f + k - before;
      if (i >= n) continue;
      if (flags != nullptr && flags->IsInvalid(i)) continue;
      column.push_back(lead[i]);
    }
    // No beat covers this sample: hold the previous value.
    out[k] = column.empty() ? last : MedianInPlace(column);
    last = out[k];
  }
}

MedianBeats BuildMedianBeats(const EcgSignal& signal, const std::vector<std::vector<float>>& corrected,
                             std::span<const size_t> fiducials) {
  MedianBeats m;
  m.rate = signal.rate;
  m.length = signal.Samples(kMedianSeconds);
  m.fiducial = signal.Samples(kMedianFiducialSeconds, 0);
  m.leads.resize(signal.leads.size());
  auto from_limb_leads = [&](const Lead& lead) {
    const int s = SlotOfCode(lead.code);
    return lead.derived && s >= kSlotIII && s <= kSlotAVF;
  };
  for (size_t li = 0; li < signal.leads.size(); ++li) {
    if (from_limb_leads(signal.leads[li])) continue;
    MedianOfWindows(corrected[li], &signal.leads[li], fiducials, m.fiducial, m.length, m.leads[li]);
  }
  const int i_index = signal.slot[kSlotI], ii_index = signal.slot[kSlotII];
  for (size_t li = 0; li < signal.leads.size(); ++li) {
    const Lead& lead = signal.leads[li];
    if (!from_limb_leads(lead)) continue;
    std::vector<float>& out = m.leads[li];
    out.assign(m.length, 0.0f);
    if (i_index < 0 || ii_index < 0) continue;
    const std::vector<float>& one = m.leads[static_cast<size_t>(i_index)];
    const std::vector<float>& two = m.leads[static_cast<size_t>(ii_index)];
    for (size_t k = 0; k < m.length; ++k) {
      switch (SlotOfCode(lead.code)) {
        case kSlotIII: out[k] = two[k] - one[k]; break;
        case kSlotAVR: out[k] = -0.5f * (one[k] + two[k]); break;
        case kSlotAVL: out[k] = one[k] - 0.5f * two[k]; break;
        case kSlotAVF: out[k] = two[k] - 0.5f * one[k]; break;
        default: break;
      }
    }
  }
  return m;
}

}  // namespace ecg::engine
