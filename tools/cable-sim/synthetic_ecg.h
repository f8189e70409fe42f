#pragma once
// A 12-lead synthetic ECG for the cable simulator: each beat is a sum of
// Gaussian waves (P, septal q, main R, terminal S, T), each wave a heart
// vector in (left, inferior, anterior) millivolts projected on the lead
// vectors of I, II and V1-V6, so the leads have physiologic axes and R-wave
// progression. Rate, noise and baseline wander are settable; a fibrillation
// mode gives irregular intervals without P waves. Deterministic per seed.

#include <array>
#include <cstdint>
#include <random>

#include "acquisition/cable_frame.h"

namespace ecg::cablesim {

struct EcgModel {
  double heart_rate_bpm = 72.0;
  double noise_uv = 8.0;            // standard deviation of white noise
  double wander_uv = 40.0;          // baseline wander amplitude
  double wander_hz = 0.25;
  bool atrial_fibrillation = false; // irregular RR, no P, fibrillatory waves
  double resolution_uv = 4.88;      // microvolts per sample step
  double sample_rate_hz = 500.0;
  uint32_t seed = 1;
};

class SyntheticEcg {
 public:
  explicit SyntheticEcg(const EcgModel& model);
  // The eight transmitted channels in microvolts at the next sample instant.
  std::array<double, 8> NextMicrovolts();
  // The same as 12-bit offset-binary samples (clamped below the status codes).
  ecg::acquisition::FrameSamples NextSamples();
  uint64_t SampleIndex() const { return sample_; }

 private:
  double NextInterval();
  EcgModel model_;
  std::mt19937 rng_;
  std::normal_distribution<double> noise_{0.0, 1.0};
  uint64_t sample_ = 0;
  double beat_start_ = 0.0;  // time of the current beat's R peak, s
  double next_beat_ = 0.0;
  double interval_ = 0.8;
};

}  // namespace ecg::cablesim
