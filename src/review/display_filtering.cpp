#include "review/display_filtering.h"

#include <cmath>

#include "dsp/filter_designs.h"
#include "dsp/iir_sample_filter.h"

namespace ecg::review {

namespace {

using Filter = CIIRSampleFilter<float, 1, 4>;

// Settles a filter on a constant input so that a trace does not start with
// the step response of its first sample.
void Prime(Filter& filter, float value) {
  for (int i = 0; i < 1000; ++i) {
    float v = value;
    filter.Filter(&v);
  }
}

void FilterLead(std::vector<float>& samples, const ecg::dsp::FilterDesign& design,
                const DisplayFilterChoice& choice) {
  Filter muscle, notch;
  muscle.SetCoefficients(design.muscle_b, design.muscle_a);
  if (choice.mains_hz == 60) {
    notch.SetCoefficients(design.notch60_b, design.notch60_a);
  } else {
    notch.SetCoefficients(design.notch50_b, design.notch50_a);
  }
  bool primed = false;
  for (float& sample : samples) {
    if (std::isnan(sample)) {
      primed = false;
      continue;
    }
    if (!primed) {
      muscle.ClearDelayLines();
      notch.ClearDelayLines();
      if (choice.muscle) Prime(muscle, sample);
      if (choice.mains_hz != 0) Prime(notch, sample);
      primed = true;
    }
    if (choice.mains_hz != 0) notch.Filter(&sample);
    if (choice.muscle) muscle.Filter(&sample);
  }
}

}  // namespace

bool DisplayFiltersSuit(double rate_hz) { return rate_hz >= 450.0 && rate_hz <= 550.0; }

ecg::render::TraceSet FilterForDisplay(const ecg::render::TraceSet& traces,
                                       const DisplayFilterChoice& choice) {
  ecg::render::TraceSet out = traces;
  if (!choice.any() || !DisplayFiltersSuit(traces.rate_hz)) return out;
  const auto& design = ecg::dsp::GetFilterDesign(ecg::dsp::SelectFilterDesign(traces.rate_hz));
  for (auto& lead : out.leads) FilterLead(lead.microvolts, design, choice);
  return out;
}

}  // namespace ecg::review
