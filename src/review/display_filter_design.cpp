#include "review/display_filter_design.h"

#include <cmath>
#include <numbers>

namespace ecg::review {

namespace {

constexpr double kMuscleCutoffHz = 35.0;
constexpr double kNotchBandHz = 1.8;  // -3 dB band of the notch
// A filter frequency must stay below this share of the rate: nearer to half
// the rate the bilinear transform bends the response out of shape.
constexpr double kMaxShareOfRate = 0.4;

bool Carries(double rate_hz, double hz) {
  return std::isfinite(rate_hz) && rate_hz > 0 && hz < kMaxShareOfRate * rate_hz;
}

}  // namespace

Biquad Biquad::LowPass(double rate_hz, double cutoff_hz, double q) {
  const double w = 2.0 * std::numbers::pi * cutoff_hz / rate_hz;
  const double alpha = std::sin(w) / (2.0 * q);
  const double c = std::cos(w);
  const double a0 = 1.0 + alpha;
  return {(1.0 - c) / 2.0 / a0, (1.0 - c) / a0, (1.0 - c) / 2.0 / a0, -2.0 * c / a0, (1.0 - alpha) / a0};
}

Biquad Biquad::Notch(double rate_hz, double centre_hz, double bandwidth_hz) {
  const double w = 2.0 * std::numbers::pi * centre_hz / rate_hz;
  const double alpha = std::sin(w) / (2.0 * (centre_hz / bandwidth_hz));
  const double c = std::cos(w);
  const double a0 = 1.0 + alpha;
  return {1.0 / a0, -2.0 * c / a0, 1.0 / a0, -2.0 * c / a0, (1.0 - alpha) / a0};
}

void Biquad::Settle(double value) {
  const double y = DcGain() * value;
  s2_ = b2_ * value - a2_ * y;
  s1_ = b1_ * value - a1_ * y + s2_;
}

std::vector<Biquad> MuscleFilterSections(double rate_hz) {
  if (!Carries(rate_hz, kMuscleCutoffHz)) return {};
  // The two sections of a 4th-order Butterworth: Q = 1 / (2 cos(pi/8)) and
  // 1 / (2 cos(3 pi/8)).
  return {Biquad::LowPass(rate_hz, kMuscleCutoffHz, 0.5411961001461970),
          Biquad::LowPass(rate_hz, kMuscleCutoffHz, 1.3065629648763766)};
}

std::vector<Biquad> MainsNotchSections(double rate_hz, int mains_hz) {
  if ((mains_hz != 50 && mains_hz != 60) || !Carries(rate_hz, mains_hz)) return {};
  return {Biquad::Notch(rate_hz, mains_hz, kNotchBandHz)};
}

}  // namespace ecg::review
