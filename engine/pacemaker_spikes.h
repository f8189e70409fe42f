#pragma once
// Pacemaker stimuli on the surface ECG: narrow, steep pulses (under 2 ms at
// the device, spread over a few samples by the cart's filters) that no
// cardiac wave can produce, and whether they drive the ventricles.

#include <cstddef>
#include <vector>

#include "engine/analysis.h"
#include "engine/ecg_signal.h"

namespace ecg::engine {

struct PacingFindings {
  std::vector<size_t> spikes;   // samples of the stimuli found in any lead
  size_t beats = 0;             // complexes looked at
  size_t paced_beats = 0;       // of them, those with a stimulus just before the QRS
  bool ventricular_paced = false;
};

// Stimuli in the independent leads of `signal` (samples, merged over the
// leads, in time order).
std::vector<size_t> FindPacemakerSpikes(const EcgSignal& signal);

// The stimuli set against the detected complexes of `result`: ventricular
// pacing when at least half of the complexes (and at least three)
// follow a stimulus closely and most stimuli belong to a complex.
PacingFindings FindPacing(const EcgSignal& signal, const AnalysisResult& result);

}  // namespace ecg::engine
