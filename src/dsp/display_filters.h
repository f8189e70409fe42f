#pragma once
// The three display filters over the eight transmitted channels (I, II,
// V1–V6), in signed sample units.

#include "dsp/filter_designs.h"
#include "dsp/iir_sample_filter.h"

inline constexpr unsigned kFilterChannels = 8;

// Muscle-artefact low-pass, -3 dB at 35 Hz.
class CMuscleFilter : public CIIRSampleFilter<short, kFilterChannels, 4> {
 public:
  void SetUp(const ecg::dsp::FilterDesign& design) {
    SetCoefficients(design.muscle_b, design.muscle_a);
    SetOffset(0.0);
  }
};

// Mains notch at 50 or 60 Hz.
class CPowerFilter : public CIIRSampleFilter<short, kFilterChannels, 4> {
 public:
  void SetUp(const ecg::dsp::FilterDesign& design, int mains_hz) {
    if (mains_hz == 60) {
      SetCoefficients(design.notch60_b, design.notch60_a);
    } else {
      SetCoefficients(design.notch50_b, design.notch50_a);
    }
    SetOffset(0.0);
  }
};

// Baseline-wander high-pass: the input minus its 0.5 Hz low-pass.
class CBaselineFilter : public CIIRSampleFilter<short, kFilterChannels, 2> {
 public:
  void SetUp(const ecg::dsp::FilterDesign& design) {
    SetCoefficients(design.baseline_b, design.baseline_a);
    SetOffset(0.0);
    SetSubtract(true);
  }
};
