#pragma once
// The display filters of the review window (muscle low-pass, mains notch at
// 50 or 60 Hz) applied to a copy of the traces: what is shown changes, the
// record never does. The filters are designed for the rate of the traces
// (muscle low-pass -3 dB at 35 Hz, 4th order; notch band 1.8 Hz).

#include "render/trace_set.h"

namespace ecg::review {

struct DisplayFilterChoice {
  bool muscle = false;
  int mains_hz = 0;  // 0 off, 50 or 60
  bool any() const { return muscle || mains_hz != 0; }
};

// Whether every filter can be made for this rate (its frequencies well below
// half the rate: above 150 samples per second).
bool DisplayFiltersSuit(double rate_hz);

// The filtered copy. Gaps (NaN samples) restart the filters after them. A
// filter the rate cannot carry is left out; with none left, or none chosen,
// `traces` comes back as it is.
ecg::render::TraceSet FilterForDisplay(const ecg::render::TraceSet& traces,
                                       const DisplayFilterChoice& choice);

}  // namespace ecg::review
