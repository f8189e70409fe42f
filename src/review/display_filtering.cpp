#include "review/display_filtering.h"

#include <cmath>

#include "review/display_filter_design.h"

namespace ecg::review {

namespace {

void FilterLead(std::vector<float>& samples, std::vector<Biquad> sections) {
  bool settled = false;
  for (float& sample : samples) {
    if (std::isnan(sample)) {
      settled = false;  // a gap: start again after it
      continue;
    }
    double v = sample;
    if (!settled) {
      for (Biquad& s : sections) s.Settle(v);
      settled = true;
    }
    for (Biquad& s : sections) v = s.Step(v);
    sample = static_cast<float>(v);
  }
}

}  // namespace

bool DisplayFiltersSuit(double rate_hz) {
  return !MuscleFilterSections(rate_hz).empty() && !MainsNotchSections(rate_hz, 60).empty();
}

ecg::render::TraceSet FilterForDisplay(const ecg::render::TraceSet& traces,
                                       const DisplayFilterChoice& choice) {
  ecg::render::TraceSet out = traces;
  if (!choice.any()) return out;
  // Mains first, then the low-pass, as the recording window does.
  std::vector<Biquad> sections = MainsNotchSections(traces.rate_hz, choice.mains_hz);
  if (choice.muscle) {
    const std::vector<Biquad> muscle = MuscleFilterSections(traces.rate_hz);
    sections.insert(sections.end(), muscle.begin(), muscle.end());
  }
  if (sections.empty()) return out;
  for (auto& lead : out.leads) FilterLead(lead.microvolts, sections);
  return out;
}

}  // namespace ecg::review
