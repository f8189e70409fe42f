// Butterworth sections, zero-phase filtering, moving averages, quantiles.

#include "engine/filters.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ecg::engine {

namespace {

// Audio-EQ-cookbook forms with Q = 1/sqrt(2): the second-order Butterworth.
Biquad Section(double corner_hz, double rate_hz, bool high) {
  const double w0 = 2.0 * std::numbers::pi * corner_hz / rate_hz;
  const double cw = std::cos(w0);
  constexpr double kQ = 1.0 / std::numbers::sqrt2;
  const double alpha = std::sin(w0) / (2.0 * kQ);
  const double a0 = 1.0 + alpha;
  Biquad q;
  if (high) {
    q.b0 = static_cast<float>((1.0 + cw) / 2.0 / a0);
    q.b1 = static_cast<float>(-(1.0 + cw) / a0);
  } else {
    q.b0 = static_cast<float>((1.0 - cw) / 2.0 / a0);
    q.b1 = static_cast<float>((1.0 - cw) / a0);
  }
  q.b2 = q.b0;
  q.a1 = static_cast<float>(-2.0 * cw / a0);
  q.a2 = static_cast<float>((1.0 - alpha) / a0);
  return q;
}

void RunSection(std::span<float> x, const Biquad& q, bool backward) {
  const size_t n = x.size();
  if (n == 0) return;
  const auto at = [&](size_t i) -> float& { return backward ? x[n - 1 - i] : x[i]; };
  // Steady state for a constant input equal to the first sample.
  const double dc_gain = (double{q.b0} + q.b1 + q.b2) / (1.0 + q.a1 + q.a2);
  const double x0 = at(0);
  const double y0 = dc_gain * x0;
  double z2 = q.b2 * x0 - q.a2 * y0;
  double z1 = q.b1 * x0 - q.a1 * y0 + z2;
  for (size_t i = 0; i < n; ++i) {
    float& v = at(i);
    const double in = v;
    const double out = q.b0 * in + z1;
    z1 = q.b1 * in - q.a1 * out + z2;
    z2 = q.b2 * in - q.a2 * out;
    v = static_cast<float>(out);
  }
}

}  // namespace

Biquad ButterworthLowPass(double corner_hz, double rate_hz) {
  if (!(corner_hz > 0) || corner_hz >= 0.45 * rate_hz) return Biquad{};
  return Section(corner_hz, rate_hz, false);
}

Biquad ButterworthHighPass(double corner_hz, double rate_hz) {
  if (!(corner_hz > 0) || corner_hz >= 0.45 * rate_hz) return Biquad{};
  return Section(corner_hz, rate_hz, true);
}

void FilterZeroPhase(std::span<float> x, std::initializer_list<Biquad> sections) {
  for (const Biquad& q : sections) RunSection(x, q, false);
  for (const Biquad& q : sections) RunSection(x, q, true);
}

void MovingAverage(std::span<const float> in, size_t width, std::span<float> out) {
  const size_t n = std::min(in.size(), out.size());
  if (n == 0) return;
  if (width < 1) width = 1;
  const size_t before = (width - 1) / 2;
  const size_t after = width - 1 - before;
  // Prefix sums in double keep long records exact enough.
  std::vector<double> prefix(n + 1, 0.0);
  for (size_t i = 0; i < n; ++i) prefix[i + 1] = prefix[i] + in[i];
  for (size_t i = 0; i < n; ++i) {
    const size_t lo = i >= before ? i - before : 0;
    const size_t hi = std::min(n - 1, i + after);
    out[i] = static_cast<float>((prefix[hi + 1] - prefix[lo]) / static_cast<double>(hi - lo + 1));
  }
}

float Quantile(std::span<const float> values, double q, std::vector<float>& scratch) {
  if (values.empty()) return 0.0f;
  scratch.assign(values.begin(), values.end());
  q = std::clamp(q, 0.0, 1.0);
  const auto k = static_cast<size_t>(std::lround(q * static_cast<double>(scratch.size() - 1)));
  std::nth_element(scratch.begin(), scratch.begin() + static_cast<std::ptrdiff_t>(k),
                   scratch.end());
  return scratch[k];
}

float MedianInPlace(std::span<float> values) {
  const size_t n = values.size();
  if (n == 0) return 0.0f;
  const size_t mid = n / 2;
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(mid),
                   values.end());
  const float upper = values[mid];
  if (n % 2 == 1) return upper;
  const float lower = *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(mid));
  return 0.5f * (lower + upper);
}

}  // namespace ecg::engine
