#pragma once
// Beat typing by template correlation.
//
// The QRS of every detected beat (-60 ms to +100 ms around its fiducial,
// all analysed leads together, each lead's mean removed) is compared with
// every other; the beat most others resemble (correlation >= 0.9) seeds the
// dominant class, whose sample-by-sample median is the template. Each beat
// is then aligned on the template (the lag of best correlation within
// +/-10 ms; where that lies at the end of the range, once more with the
// window centred 20 ms either side, holding such a match to a correlation
// of 0.9 and 0.8-1.25 times the template's size) and typed:
//  - noise: much slope energy around the complex, or a poor match with
//    noticeable energy around it or with its window cut off by the
//    record's start or end;
//  - dominant: correlation >= 0.85 and an amplitude within 0.5-2 times the
//    template's;
//  - ectopic: any other clean complex (ventricular or aberrant forms);
//  - premature: a dominant form that comes early (under 82 % of the usual
//    interval, and followed by a longer one) in a rhythm that is otherwise
//    regular.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "engine/ecg_signal.h"
#include "engine/qrs_detection.h"

namespace ecg::engine {

// The codes Section 4 stores for each complex.
enum BeatType : uint8_t {
  kBeatDominant = 0,
  kBeatPremature = 1,  // dominant form, early
  kBeatEctopic = 2,    // another form
  kBeatNoise = 3,      // too disturbed to type
};

struct Beat {
  size_t fiducial = 0;  // aligned on the dominant template for dominant forms
  size_t onset = 0;     // rough extent from the detector
  size_t offset = 0;
  BeatType type = kBeatDominant;
  float correlation = 0;
  float amplitude = 0;  // RMS relative to the template's
  float outside = 0;
  // Matched only with its window centred again (its detected place lay
  // more than the usual lag from the template's): of the dominant form,
  // but not averaged into the median beats.
  bool recentred = false;
};

struct TypedBeats {
  std::vector<Beat> beats;
  bool irregular = false;  // beat-to-beat intervals vary too much to call beats premature
  size_t DominantCount() const;
};

// `morph`: one band-limited (1-30 Hz) copy per analysed lead.
TypedBeats TypeBeats(const EcgSignal& signal, const std::vector<std::vector<float>>& morph,
                     const std::vector<DetectedBeat>& detected);

}  // namespace ecg::engine
