#include "synthetic_ecg.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace ecg::test {

namespace {

constexpr double kStepUv = 3.0;
constexpr double kPi = 3.14159265358979323846;

double Bump(double t, double centre, double sigma) {
  const double d = (t - centre) / sigma;
  return std::exp(-0.5 * d * d);
}

// A QRS complex of about 90 ms: small Q, tall R, S.
double Qrs(double t, double r_mv) {
  return -0.12 * r_mv * Bump(t, -0.03, 0.009) + r_mv * Bump(t, 0.0, 0.012) -
         0.25 * r_mv * Bump(t, 0.032, 0.010);
}

// Millivolts of one beat at time t relative to its R peak.
double Beat(double t, double rr, double r_mv) {
  const double p_at = -std::min(0.16, 0.3 * rr);
  const double t_at = std::min(0.26, 0.45 * rr);
  return 0.15 * Bump(t, p_at, 0.025) + Qrs(t, r_mv) + 0.3 * Bump(t, t_at, 0.045);
}

int16_t ToSteps(double mv) {
  const long v = std::lround(2048.0 + mv * 1000.0 / kStepUv);
  return static_cast<int16_t>(std::clamp(v, 0L, 4079L));
}

}  // namespace

SyntheticEcg MakeSyntheticEcg(const SyntheticEcgOptions& o) {
  SyntheticEcg ecg;
  const size_t n = static_cast<size_t>(o.seconds * o.rate_hz);
  const double rr = 60.0 / o.bpm;
  std::vector<double> beats;
  for (double t = o.first_beat_s; t < o.seconds; t += rr) {
    beats.push_back(t);
    ecg.r_peaks.push_back(static_cast<size_t>(std::lround(t * o.rate_hz)));
  }
  std::mt19937 rng(o.seed);
  std::normal_distribution<double> noise(0.0, o.noise_uv / 1000.0);
  ecg.samples.resize(n);
  size_t first = 0;
  for (size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / o.rate_hz;
    double mv = o.wander_uv / 1000.0 * std::sin(2 * kPi * 0.3 * t) + noise(rng);
    while (first < beats.size() && beats[first] < t - 1.0) ++first;
    for (size_t b = first; b < beats.size() && beats[b] < t + 1.0; ++b) {
      mv += Beat(t - beats[b], rr, o.r_mv);
    }
    ecg.samples[i] = ToSteps(mv);
  }
  return ecg;
}

void AddQrs(std::vector<int16_t>& samples, double rate_hz, size_t at, double r_mv) {
  for (size_t i = at > 25 ? at - 25 : 0; i < samples.size() && i < at + 25; ++i) {
    const double t = (static_cast<double>(i) - static_cast<double>(at)) / rate_hz;
    const double mv = Qrs(t, r_mv);
    const long v = std::lround(samples[i] + mv * 1000.0 / kStepUv);
    samples[i] = static_cast<int16_t>(std::clamp(v, 0L, 4079L));
  }
}

}  // namespace ecg::test
