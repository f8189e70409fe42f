#include "synthetic_ecg.h"

#include <algorithm>
#include <cmath>

namespace ecg::cablesim {
namespace {

using Vec = std::array<double, 3>;  // left, inferior, anterior

// Lead vectors of I, II, V1-V6.
constexpr std::array<Vec, 8> kLeads = {{
    {1.0, 0.0, 0.0},
    {0.5, 0.866, 0.0},
    {-0.55, 0.1, 0.85},
    {-0.25, 0.1, 1.0},
    {0.15, 0.1, 0.95},
    {0.55, 0.15, 0.75},
    {0.85, 0.15, 0.4},
    {1.0, 0.1, 0.1},
}};

struct Wave {
  double at;     // s from the R peak (T scales with the interval)
  double width;  // s, Gaussian sigma
  Vec mv;
};

// Timings of a normal adult ECG at 72/min: P about 100 ms, PR about 160 ms,
// QRS about 95 ms, QT about 390 ms (QTc near 425 ms). The QRS waves are
// Gaussians, whose tails reach further than a real complex's corners: their
// widths are chosen so the complex measures as a normal one does.
constexpr Wave kP{-0.15, 0.018, {0.08, 0.14, 0.03}};
constexpr Wave kSeptal{-0.022, 0.006, {-0.12, 0.03, 0.35}};
constexpr Wave kR{0.0, 0.009, {1.05, 1.0, -0.75}};
constexpr Wave kS{0.024, 0.008, {-0.25, -0.45, -0.55}};
constexpr Wave kT{0.26, 0.045, {0.22, 0.28, 0.10}};

double Dot(const Vec& a, const Vec& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

double Gauss(double t, double at, double width) {
  const double x = (t - at) / width;
  return std::exp(-0.5 * x * x);
}

}  // namespace

SyntheticEcg::SyntheticEcg(const EcgModel& model) : model_(model), rng_(model.seed) {
  interval_ = 60.0 / std::max(20.0, model_.heart_rate_bpm);
  beat_start_ = -10.0;  // no beat yet
  next_beat_ = 0.35;
}

double SyntheticEcg::NextInterval() {
  const double mean = 60.0 / std::max(20.0, model_.heart_rate_bpm);
  if (model_.atrial_fibrillation) {
    std::uniform_real_distribution<double> spread(0.6, 1.4);
    return mean * spread(rng_);
  }
  return mean * (1.0 + 0.03 * std::sin(sample_ / model_.sample_rate_hz * 2.0 * M_PI * 0.2));
}

std::array<double, 8> SyntheticEcg::NextMicrovolts() {
  const double t = static_cast<double>(sample_) / model_.sample_rate_hz;
  // The next beat's P wave starts before its R peak: switch beats when the
  // next R peak is closer than the current one.
  if (t >= next_beat_ - 0.25) {
    beat_start_ = next_beat_;
    interval_ = NextInterval();
    next_beat_ = beat_start_ + interval_;
  }
  const double tb = t - beat_start_;
  const double qt_scale = std::sqrt(std::clamp(interval_, 0.3, 1.5));
  Vec heart{0, 0, 0};
  auto add = [&](const Wave& w, double at, double width) {
    const double g = Gauss(tb, at, width);
    for (int i = 0; i < 3; ++i) heart[i] += w.mv[i] * g;
  };
  if (!model_.atrial_fibrillation) add(kP, kP.at, kP.width);
  add(kSeptal, kSeptal.at, kSeptal.width);
  add(kR, kR.at, kR.width);
  add(kS, kS.at, kS.width);
  add(kT, kT.at * qt_scale, kT.width * qt_scale);
  if (model_.atrial_fibrillation) {
    const double f = 0.04 * std::sin(2 * M_PI * 6.3 * t) + 0.025 * std::sin(2 * M_PI * 8.9 * t + 1);
    heart[0] += 0.3 * f;
    heart[1] += f;
    heart[2] += 0.6 * f;
  }
  const double wander = model_.wander_uv * std::sin(2 * M_PI * model_.wander_hz * t);
  std::array<double, 8> out{};
  for (size_t l = 0; l < 8; ++l) {
    out[l] = Dot(heart, kLeads[l]) * 1000.0 + wander * (1.0 - 0.08 * l) +
             model_.noise_uv * noise_(rng_);
  }
  ++sample_;
  return out;
}

ecg::acquisition::FrameSamples SyntheticEcg::NextSamples() {
  const auto uv = NextMicrovolts();
  ecg::acquisition::FrameSamples s{};
  for (size_t l = 0; l < 8; ++l) {
    const double v = std::round(uv[l] / model_.resolution_uv) + 2048.0;
    s[l] = static_cast<uint16_t>(std::clamp(v, 0.0, 4079.0));
  }
  return s;
}

}  // namespace ecg::cablesim
