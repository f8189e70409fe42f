// Per-lead QRS waves, ST levels, P and T amplitudes and morphology.

#include "engine/lead_measurements.h"

#include <algorithm>
#include <cmath>

#include "engine/filters.h"

namespace ecg::engine {

namespace {

constexpr float kMinWaveUv = 20.0f;
constexpr float kIsoelectricUv = 20.0f;
constexpr double kLevelSeconds = 0.01;
constexpr double kStAverageSeconds = 0.004;
constexpr double kWaveSmoothingSeconds = 0.016;
constexpr float kMinPMorphologyUv = 15.0f;
constexpr float kPMorphologyFraction = 0.2f;
constexpr float kMinTMorphologyUv = 25.0f;
constexpr float kTMorphologyFraction = 0.2f;
constexpr double kTFromOffset = 0.06;

struct Lobe {
  double start = 0, end = 0;  // fractional samples
  float peak = 0;             // signed
  size_t peak_at = 0;
  int sign = 0;
};

int16_t ToI16(double v) {
  if (!std::isfinite(v)) return kNotComputed;
  return static_cast<int16_t>(std::clamp(std::lround(v), -28999L, 28999L));
}

double ValueAt(const std::vector<float>& s, double at) {
  if (s.empty()) return 0;
  if (!(at > 0)) return s.front();
  if (at >= static_cast<double>(s.size() - 1)) return s.back();
  const auto i = static_cast<size_t>(at);
  const double f = at - static_cast<double>(i);
  return s[i] * (1 - f) + s[i + 1] * f;
}

double MeanAround(const std::vector<float>& s, double at, double half) {
  const double lo = std::max(0.0, at - half), hi = std::min(static_cast<double>(s.size() - 1), at + half);
  double sum = 0;
  size_t count = 0;
  for (auto i = static_cast<size_t>(std::ceil(lo)); static_cast<double>(i) <= hi; ++i) {
    sum += s[i];
    ++count;
  }
  return count > 0 ? sum / static_cast<double>(count) : ValueAt(s, at);
}

// Stretches between baseline crossings of `s` from `from` to `to`, the small
// ones left out and neighbours of one sign joined.
std::vector<Lobe> Lobes(const std::vector<float>& s, double from, double to, float threshold) {
  std::vector<Lobe> raw;
  if (s.size() < 2 || !(to > from)) return raw;
  const size_t first = static_cast<size_t>(std::ceil(std::max(0.0, from)));
  const size_t last = std::min(s.size() - 1, static_cast<size_t>(std::floor(to)));
  Lobe current;
  current.start = from;
  for (size_t i = first; i <= last; ++i) {
    const float v = s[i];
    const int sg = v > 0 ? 1 : (v < 0 ? -1 : 0);
    if (sg != 0 && current.sign != 0 && sg != current.sign && i > 0) {
      const double prev = s[i - 1];
      const double x = static_cast<double>(i - 1) + prev / (prev - v);
      current.end = x;
      raw.push_back(current);
      current = Lobe();
      current.start = x;
    }
    if (current.sign == 0 && sg != 0) current.sign = sg;
    if (std::fabs(v) > std::fabs(current.peak)) {
      current.peak = v;
      current.peak_at = i;
    }
  }
  current.end = to;
  if (current.sign != 0) raw.push_back(current);

  std::vector<Lobe> out;
  for (const Lobe& l : raw) {
    if (std::fabs(l.peak) < threshold) continue;
    if (!out.empty() && out.back().sign == l.sign) {
      Lobe& prev = out.back();
      prev.end = l.end;
      if (std::fabs(l.peak) > std::fabs(prev.peak)) {
        prev.peak = l.peak;
        prev.peak_at = l.peak_at;
      }
      continue;
    }
    out.push_back(l);
  }
  return out;
}

// Every measurement of the block, in file order.
constexpr int16_t SLeadMeasurement::*kValueFields[] = {
    &SLeadMeasurement::m_pDuration,      &SLeadMeasurement::m_prInterval,
    &SLeadMeasurement::m_qrsDuration,    &SLeadMeasurement::m_qtInterval,
    &SLeadMeasurement::m_qDuration,      &SLeadMeasurement::m_rDuration,
    &SLeadMeasurement::m_sDuration,      &SLeadMeasurement::m_r2Duration,
    &SLeadMeasurement::m_s2Duration,     &SLeadMeasurement::m_qAmplitude,
    &SLeadMeasurement::m_rAmplitude,     &SLeadMeasurement::m_sAmplitude,
    &SLeadMeasurement::m_r2Amplitude,    &SLeadMeasurement::m_s2Amplitude,
    &SLeadMeasurement::m_jAmplitude,     &SLeadMeasurement::m_pPlusAmplitude,
    &SLeadMeasurement::m_pMinusAmplitude, &SLeadMeasurement::m_tPlusAmplitude,
    &SLeadMeasurement::m_tMinusAmplitude, &SLeadMeasurement::m_stSlope,
    &SLeadMeasurement::m_pMorphology,    &SLeadMeasurement::m_tMorphology,
    &SLeadMeasurement::m_isoQrsOnset,    &SLeadMeasurement::m_isoQrsOffset,
    &SLeadMeasurement::m_intrinsicoidDeflection, &SLeadMeasurement::m_qualityCode,
    &SLeadMeasurement::m_stJ20,          &SLeadMeasurement::m_stJ60,
    &SLeadMeasurement::m_stJ80,
};
static_assert(sizeof(kValueFields) / sizeof(kValueFields[0]) == 29);

void FillAll(SLeadMeasurement& m, int16_t value) {
  for (auto field : kValueFields) m.*field = value;
}

}  // namespace

int16_t MorphologyCode(const std::vector<float>& relative, double from, double to, float threshold) {
  const std::vector<Lobe> lobes = Lobes(relative, from, to, threshold);
  if (lobes.empty()) return kMorphologyUnknown;
  const int a = lobes[0].sign;
  switch (lobes.size()) {
    case 1: return a > 0 ? kMorphologyPositive : kMorphologyNegative;
    case 2: return a > 0 ? kMorphologyPositiveNegative : kMorphologyNegativePositive;
    case 3: return a > 0 ? kMorphologyPosNegPos : kMorphologyNegPosNeg;
    default: return kMorphologyUnknown;
  }
}

void MarkNoPWave(SLeadMeasurement& m) {
  m.m_pDuration = kWaveAbsent;
  m.m_prInterval = kWaveAbsent;
  m.m_pPlusAmplitude = 0;
  m.m_pMinusAmplitude = 0;
  m.m_pMorphology = kMorphologyUnknown;
}

SLeadMeasurement MeasureLead(const LeadMeasureInput& input) {
  SLeadMeasurement m;
  m.m_leadId = input.code;
  m.m_length = SLeadMeasurements::kBlockSize;
  const Delineation* d = input.delineation;
  if (!input.usable || input.median == nullptr || d == nullptr) {
    FillAll(m, kLeadRejected);
    m.m_qualityCode = static_cast<int16_t>(input.quality);
    return m;
  }
  FillAll(m, kNotComputed);
  m.m_qualityCode = static_cast<int16_t>(input.quality);
  if (!d->qrs_found || input.median->size() < 8) return m;

  const std::vector<float>& raw = *input.median;
  const double rate = input.rate;
  const double ms = 1000.0 / rate;
  const size_t n = raw.size();
  const double level_half = kLevelSeconds * rate / 2;

  // Everything relative to the PR level.
  const double base = MeanAround(raw, d->qrs_on - level_half, level_half);
  std::vector<float> s(n);
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<float>(raw[i] - base);

  // QRS waves.
  const std::vector<Lobe> lobes = Lobes(s, d->qrs_on, d->qrs_off, kMinWaveUv);
  m.m_qDuration = m.m_rDuration = m.m_sDuration = m.m_r2Duration = m.m_s2Duration = 0;
  m.m_qAmplitude = m.m_rAmplitude = m.m_sAmplitude = m.m_r2Amplitude = m.m_s2Amplitude = 0;
  const Lobe* last_r = nullptr;
  {
    size_t k = 0;
    bool any_positive = false;
    for (const Lobe& l : lobes) any_positive = any_positive || l.sign > 0;
    if (!lobes.empty() && lobes[0].sign < 0) {
      // Q, or the whole complex when nothing goes up (QS).
      const Lobe& q = lobes[0];
      const double end = any_positive ? q.end : lobes.back().end;
      float peak = q.peak;
      if (!any_positive) {
        for (const Lobe& l : lobes) peak = std::min(peak, l.peak);
      }
      m.m_qDuration = ToI16((end - d->qrs_on) * ms);
      m.m_qAmplitude = ToI16(peak);
      k = any_positive ? 1 : lobes.size();
    }
    constexpr int16_t SLeadMeasurement::*kDurations[] = {
        &SLeadMeasurement::m_rDuration, &SLeadMeasurement::m_sDuration,
        &SLeadMeasurement::m_r2Duration, &SLeadMeasurement::m_s2Duration};
    constexpr int16_t SLeadMeasurement::*kAmplitudes[] = {
        &SLeadMeasurement::m_rAmplitude, &SLeadMeasurement::m_sAmplitude,
        &SLeadMeasurement::m_r2Amplitude, &SLeadMeasurement::m_s2Amplitude};
    // After a Q the waves alternate R, S, R', S'; a complex that starts
    // upwards starts with R.
    for (size_t slot = 0; k < lobes.size() && slot < 4; ++k, ++slot) {
      const Lobe& l = lobes[k];
      m.*kDurations[slot] = ToI16((l.end - l.start) * ms);
      m.*kAmplitudes[slot] = ToI16(l.peak);
      if (l.sign > 0) last_r = &l;
    }
  }
  m.m_intrinsicoidDeflection =
      last_r != nullptr ? ToI16((static_cast<double>(last_r->peak_at) - d->qrs_on) * ms) : kNotComputed;

  // Iso-electric stretches at the ends of the global QRS.
  {
    const size_t on = static_cast<size_t>(std::max(0.0, std::ceil(d->qrs_on)));
    const size_t off = std::min(n - 1, static_cast<size_t>(std::floor(d->qrs_off)));
    size_t first = off, last = on;
    for (size_t i = on; i <= off; ++i) {
      if (std::fabs(s[i]) >= kIsoelectricUv) {
        first = i;
        break;
      }
    }
    const double j = ValueAt(s, d->qrs_off);
    for (size_t i = off; i >= on && i > 0; --i) {
      if (std::fabs(s[i] - j) >= kIsoelectricUv) {
        last = i;
        break;
      }
    }
    const double iso_on = std::max(0.0, (static_cast<double>(first) - d->qrs_on) * ms);
    const double iso_off = std::max(0.0, (d->qrs_off - static_cast<double>(last)) * ms);
    m.m_isoQrsOnset = ToI16(iso_on);
    m.m_isoQrsOffset = ToI16(iso_off);
    m.m_qrsDuration = ToI16(std::max(0.0, (d->qrs_off - d->qrs_on) * ms - iso_on - iso_off));
  }

  // J point and ST.
  const double st_half = kStAverageSeconds * rate;
  m.m_jAmplitude = ToI16(MeanAround(s, d->qrs_off, st_half / 2));
  const double st20 = MeanAround(s, d->qrs_off + 0.020 * rate, st_half);
  const double st60 = MeanAround(s, d->qrs_off + 0.060 * rate, st_half);
  const double st80 = MeanAround(s, d->qrs_off + 0.080 * rate, st_half);
  m.m_stJ20 = ToI16(st20);
  m.m_stJ60 = ToI16(st60);
  m.m_stJ80 = ToI16(st80);
  m.m_stSlope = ToI16((st80 - st20) / 0.060);  // µV per second

  // Smoothed copy for the P and T waves.
  std::vector<float> smooth(n);
  MovingAverage(s, std::max<size_t>(1, static_cast<size_t>(std::lround(kWaveSmoothingSeconds * rate))), smooth);

  // P wave.
  if (d->p_present) {
    const double p_base = MeanAround(smooth, d->p_on - level_half, level_half);
    std::vector<float> p(n);
    for (size_t i = 0; i < n; ++i) p[i] = static_cast<float>(smooth[i] - p_base);
    float hi = 0, lo = 0;
    for (auto i = static_cast<size_t>(std::max(0.0, std::ceil(d->p_on)));
         static_cast<double>(i) <= d->p_off && i < n; ++i) {
      hi = std::max(hi, p[i]);
      lo = std::min(lo, p[i]);
    }
    m.m_pPlusAmplitude = ToI16(hi);
    m.m_pMinusAmplitude = ToI16(lo);
    const float threshold = std::max(kMinPMorphologyUv, kPMorphologyFraction * std::max(hi, -lo));
    m.m_pMorphology = MorphologyCode(p, d->p_on, d->p_off, threshold);
    m.m_pDuration = ToI16((d->p_off - d->p_on) * ms);
    m.m_prInterval = ToI16((d->qrs_on - d->p_on) * ms);
  } else {
    MarkNoPWave(m);
  }

  // T wave.
  if (d->t_found) {
    const double from = d->qrs_off + std::min(kTFromOffset * rate, 0.4 * (d->t_off - d->qrs_off));
    float hi = 0, lo = 0;
    for (auto i = static_cast<size_t>(std::max(0.0, std::ceil(from)));
         static_cast<double>(i) <= d->t_off && i < n; ++i) {
      hi = std::max(hi, smooth[i]);
      lo = std::min(lo, smooth[i]);
    }
    m.m_tPlusAmplitude = ToI16(hi);
    m.m_tMinusAmplitude = ToI16(lo);
    const float threshold = std::max(kMinTMorphologyUv, kTMorphologyFraction * std::max(hi, -lo));
    m.m_tMorphology = MorphologyCode(smooth, from, d->t_off, threshold);
    m.m_qtInterval = ToI16((d->t_off - d->qrs_on) * ms);
  } else {
    m.m_tPlusAmplitude = kNotComputed;
    m.m_tMinusAmplitude = kNotComputed;
    m.m_tMorphology = kMorphologyUnknown;
    m.m_qtInterval = kNotComputed;
  }
  return m;
}

}  // namespace ecg::engine
