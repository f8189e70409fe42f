#pragma once
// The display filters of the review window (muscle low-pass, mains notch at
// 50 or 60 Hz) applied to a copy of the traces: what is shown changes, the
// record never does. The filters are the recording window's designs, made
// for the cable's rate of about 500 samples per second.

#include "render/trace_set.h"

namespace ecg::review {

struct DisplayFilterChoice {
  bool muscle = false;
  int mains_hz = 0;  // 0 off, 50 or 60
  bool any() const { return muscle || mains_hz != 0; }
};

// Whether the designs suit a record of this rate (within 10 % of 500 Hz).
bool DisplayFiltersSuit(double rate_hz);

// The filtered copy. Gaps (NaN samples) restart the filters after them. A
// rate the designs do not suit, or no filter chosen, returns `traces` as it is.
ecg::render::TraceSet FilterForDisplay(const ecg::render::TraceSet& traces,
                                       const DisplayFilterChoice& choice);

}  // namespace ecg::review
