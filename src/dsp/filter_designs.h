#pragma once
// Coefficients of the display filters for the two sampling rates the cable
// runs at. Each design is a set of low-pass, baseline and notch filters with
// unity gain at 0 Hz.

#include <cstddef>

namespace ecg::dsp {

struct FilterDesign {
  double rate_hz;
  // Muscle-artefact low-pass, -3 dB at 35 Hz (4th order).
  double muscle_b[5];
  double muscle_a[5];
  // Low-pass at about 0.5 Hz (2nd order), used in subtract mode to remove
  // baseline wander.
  double baseline_b[3];
  double baseline_a[3];
  // Mains notches, -3 dB band 59.1–60.9 Hz and 49.1–50.9 Hz (4th order).
  double notch60_b[5];
  double notch60_a[5];
  double notch50_b[5];
  double notch50_a[5];
};

inline constexpr size_t kFilterDesignCount = 2;

// Design 0 is for 496.55172413795 Hz, design 1 for 499.4219653179 Hz.
const FilterDesign& GetFilterDesign(size_t index);

// The design whose rate is closer to `rate_hz`; design 0 on a tie.
size_t SelectFilterDesign(double rate_hz);

}  // namespace ecg::dsp
