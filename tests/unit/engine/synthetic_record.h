#pragma once
// Synthetic 12-lead resting ECGs with exactly known fiducials, for the
// engine's tests: every wave is a half-sine lobe that starts and ends with a
// corner, so its onset and offset are defined to the sample. Records carry
// the eight leads a cart acquires (I, II, V1-V6) unless told otherwise.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "support/record_builder.h"

namespace ecg::test::engine {

struct WaveTimes {
  bool p_present = true;
  double pr_ms = 160;         // P onset to QRS onset
  double p_duration_ms = 100;
  double qrs_duration_ms = 90;
  double qt_ms = 380;         // QRS onset to T end
  double t_duration_ms = 160;
};

// A complex of another form (wide, different axis) at a beat position.
struct EctopicBeat {
  size_t index = 0;          // which beat
  double early_ms = 250;     // how much earlier than the regular time
  bool other_form = true;    // false: the dominant form, only early
};

struct NoiseBurst {
  double from_s = 0, seconds = 1;
  double uv = 300;           // RMS of the added noise
};

struct MarkerRun {
  uint8_t code = 0;          // lead
  double from_s = 0, seconds = 0;
  int16_t value = 2034;
};

struct SyntheticSpec {
  double rate = 500;
  double seconds = 10;
  double rr_ms = 800;
  double first_qrs_s = 0.45;      // QRS onset of the first beat
  WaveTimes waves;
  bool invert_t = false;          // T waves turned over in every lead
  double noise_uv = 0;            // white noise, every lead
  double wander_uv = 0;           // 0.3 Hz baseline wander amplitude
  double rr_jitter_ms = 0;        // random beat-to-beat variation (irregular rhythm)
  double fibrillation_uv = 0;     // 6 Hz atrial activity instead of P waves
  // Atrial flutter instead of P waves: continuous waves of this size (lead
  // II; a negative sawtooth in the limb leads, discrete upright waves in
  // V1) at this cycle. With `flutter_conduction` (e.g. {2} for 2:1, {2, 4,
  // 3} for variable conduction) the intervals between complexes are those
  // multiples of the cycle, taken in turn, and every complex follows a
  // flutter wave at the same delay; otherwise rr_ms applies.
  double flutter_uv = 0;
  double flutter_cycle_ms = 220;
  std::vector<int> flutter_conduction;
  // Irregular atrial activity instead of P waves: lobes of random length
  // (90-210 ms) and size (0.3-1 times this, lead II), as in atrial
  // fibrillation.
  double chaotic_atrial_uv = 0;
  // Ventricular pacing: a rectangular stimulus of this height (alternating
  // sign over the leads) this long before every QRS onset.
  double pacing_spike_uv = 0;
  double pacing_spike_ms = 2;
  // The stimulus as a cart's filters leave it: a third at half the height,
  // a third at the full height, then a third a fifth of it the other way.
  bool pacing_spike_biphasic = false;
  double spike_before_qrs_ms = 10;
  std::vector<EctopicBeat> ectopic;
  std::vector<NoiseBurst> bursts;
  std::vector<uint8_t> flat;      // leads with no signal
  std::vector<MarkerRun> markers;
  std::vector<uint8_t> leads = {1, 2, 3, 4, 5, 6, 7, 8};
  uint16_t multiplier_nv = 1000;
  unsigned seed = 7;
};

struct SyntheticRecord {
  Bytes bytes;
  // QRS onset of every beat (seconds), and which were regular beats of
  // the dominant form.
  std::vector<double> qrs_onsets_s;
  std::vector<bool> dominant;
};

// Microvolts of one lead over the whole record.
std::vector<double> SyntheticLeadUv(const SyntheticSpec& spec, uint8_t code,
                                    std::vector<double>* onsets = nullptr,
                                    std::vector<bool>* dominant = nullptr);

// Sections 1, 3 and 6 of such a record (a working copy as the component
// hands it to the engine).
SyntheticRecord MakeSyntheticRecord(const SyntheticSpec& spec);

}  // namespace ecg::test::engine
