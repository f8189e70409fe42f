#pragma once
// Pacemaker stimuli on the surface ECG: narrow, steep pulses (under 2 ms at
// the device, spread over a few samples by the cart's filters) that no
// cardiac wave can produce, and whether they drive the ventricles.

#include <cstddef>
#include <optional>
#include <span>
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

// Where a stimulus stands before the complexes a median beat is made of:
// for each of `fiducials`, the latest stimulus within 200 ms before it (a
// wide paced complex puts the fiducial well after its stimulus; an atrial
// stimulus comes earlier still, by the AV delay). The median of those
// offsets (samples, negative) when more than half of the complexes have
// one and most offsets lie within 10 ms of it: a stimulus that keeps its
// place before the complexes, not noise that happens to fall there.
std::optional<double> StimulusBeforeComplexes(std::span<const size_t> spikes, std::span<const size_t> fiducials,
                                              double rate);

// Takes the stimulus at `at` (sample of the median beat) out of every lead:
// a straight line over the pulse's few milliseconds, so that the
// delineation and the wave measurements see the complex, not the pulse.
void BlankStimulus(MedianBeats& medians, double at);

}  // namespace ecg::engine
