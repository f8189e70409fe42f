#pragma once
// Second-order sections (biquads) designed for any sampling rate by the
// bilinear transform: the display filters of the review window are made for
// the rate of the record shown (250, 500, 599.88, 1000 Hz...), not only for
// the cable's rates near 500 Hz.

#include <vector>

namespace ecg::review {

class Biquad {
 public:
  // b0..b2 and a1, a2 (a0 normalised to 1).
  Biquad(double b0, double b1, double b2, double a1, double a2)
      : b0_(b0), b1_(b1), b2_(b2), a1_(a1), a2_(a2) {}

  // Butterworth-type low-pass section with quality `q` at `cutoff_hz`.
  static Biquad LowPass(double rate_hz, double cutoff_hz, double q);
  // Notch at `centre_hz` whose -3 dB band is `bandwidth_hz` wide.
  static Biquad Notch(double rate_hz, double centre_hz, double bandwidth_hz);

  // Sets the state as if `value` had been the input for ever, so a trace
  // does not start with the step response of its first sample.
  void Settle(double value);
  double Step(double x) {
    const double y = b0_ * x + s1_;
    s1_ = b1_ * x - a1_ * y + s2_;
    s2_ = b2_ * x - a2_ * y;
    return y;
  }
  double DcGain() const { return (b0_ + b1_ + b2_) / (1.0 + a1_ + a2_); }

 private:
  double b0_, b1_, b2_, a1_, a2_;
  double s1_ = 0.0, s2_ = 0.0;  // transposed direct form II
};

// The cascades the review window offers. Empty when the rate cannot carry
// the filter (its frequency not well below half the rate).
std::vector<Biquad> MuscleFilterSections(double rate_hz);            // 4th order, -3 dB at 35 Hz
std::vector<Biquad> MainsNotchSections(double rate_hz, int mains_hz);  // 50 or 60 Hz

}  // namespace ecg::review
