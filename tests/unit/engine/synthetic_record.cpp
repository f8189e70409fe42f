// Half-sine waves on a flat baseline, leads shaped like a normal 12-lead.

#include "synthetic_record.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

#include "support/section_builders.h"

namespace ecg::test::engine {

namespace {

// P, Q, R, S, T amplitudes (µV) of the acquired leads.
struct Shape {
  double p, q, r, s, t;
};

Shape ShapeOf(uint8_t code) {
  switch (code) {
    case 1: return {80, -60, 700, -120, 220};
    case 2: return {120, -80, 1000, -180, 300};
    case 3: return {60, 0, 250, -900, -120};
    case 4: return {70, 0, 450, -1200, 450};
    case 5: return {70, 0, 700, -700, 450};
    case 6: return {80, -50, 1200, -400, 400};
    case 7: return {80, -80, 1100, -250, 320};
    case 8: return {70, -80, 900, -150, 260};
    default: return {60, -50, 600, -150, 200};
  }
}

// Ectopic complexes: broad, turned over in the chest leads.
Shape EctopicShapeOf(uint8_t code) {
  const Shape s = ShapeOf(code);
  return {0, 0, code >= 3 && code <= 8 ? -0.9 * s.r : 1.3 * s.r, code >= 3 && code <= 8 ? 0.6 * -s.s : -0.4 * s.r,
          code >= 3 && code <= 8 ? 0.8 * s.t : -s.t};
}

double HalfSine(double t, double from, double width, double amplitude) {
  if (width <= 0 || t < from || t > from + width) return 0;
  return amplitude * std::sin(std::numbers::pi * (t - from) / width);
}

// A T wave: a smooth rise over 60 % of its width, then a straight fall to
// the baseline, so the tangent at its steepest descent meets the baseline
// exactly at its end.
double TWave(double t, double end, double width, double amplitude) {
  const double from = end - width;
  if (width <= 0 || t < from || t > end) return 0;
  const double rise = 0.6 * width;
  if (t < from + rise) return amplitude * 0.5 * (1 - std::cos(std::numbers::pi * (t - from) / rise));
  return amplitude * (end - t) / (width - rise);
}

}  // namespace

std::vector<double> SyntheticLeadUv(const SyntheticSpec& spec, uint8_t code, std::vector<double>* onsets,
                                    std::vector<bool>* dominant) {
  const auto n = static_cast<size_t>(std::lround(spec.seconds * spec.rate));
  std::vector<double> out(n, 0.0);
  if (std::find(spec.flat.begin(), spec.flat.end(), code) != spec.flat.end()) return out;

  // Beat times are the same for every lead: one generator, one seed.
  std::mt19937 beat_rng(spec.seed);
  std::normal_distribution<double> jitter(0.0, 1.0);
  std::vector<double> qrs;
  std::vector<bool> regular;
  const bool flutter = spec.flutter_uv > 0 && spec.flutter_cycle_ms > 0;
  const bool conducted_flutter = flutter && !spec.flutter_conduction.empty();
  for (double t = spec.first_qrs_s; t < spec.seconds;) {
    qrs.push_back(t);
    regular.push_back(true);
    double rr = spec.rr_ms + (spec.rr_jitter_ms > 0 ? spec.rr_jitter_ms * jitter(beat_rng) : 0.0);
    if (conducted_flutter) {
      rr = spec.flutter_cycle_ms * spec.flutter_conduction[(qrs.size() - 1) % spec.flutter_conduction.size()];
    }
    t += std::max(0.25, rr / 1000.0);
  }
  std::vector<bool> other(qrs.size(), false);
  for (const EctopicBeat& e : spec.ectopic) {
    if (e.index >= qrs.size()) continue;
    qrs[e.index] -= e.early_ms / 1000.0;
    regular[e.index] = false;
    other[e.index] = e.other_form;
  }

  const WaveTimes& w = spec.waves;
  const Shape shape = ShapeOf(code);
  const Shape ectopic = EctopicShapeOf(code);
  const double t_sign = spec.invert_t ? -1.0 : 1.0;
  for (size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / spec.rate;
    double v = 0;
    for (size_t b = 0; b < qrs.size(); ++b) {
      const double on = qrs[b];
      if (t < on - 0.5 || t > on + 1.0) continue;
      if (other[b]) {
        const double d = 0.16;
        v += HalfSine(t, on, 0.55 * d, ectopic.r) + HalfSine(t, on + 0.55 * d, 0.45 * d, ectopic.s);
        v += HalfSine(t, on + d + 0.08, 0.2, ectopic.t);
        continue;
      }
      const double d = w.qrs_duration_ms / 1000.0;
      const double spike_at = on - spec.spike_before_qrs_ms / 1000.0;
      if (spec.pacing_spike_uv > 0 && t >= spike_at && t < spike_at + spec.pacing_spike_ms / 1000.0) {
        double part = 1.0;
        if (spec.pacing_spike_biphasic) {
          const double third = (t - spike_at) / (spec.pacing_spike_ms / 1000.0) * 3.0;
          part = third < 1.0 ? 0.5 : third < 2.0 ? 1.0 : -0.2;
        }
        v += (code % 2 == 0 ? 1.0 : -1.0) * part * spec.pacing_spike_uv;
      }
      if (w.p_present && spec.fibrillation_uv <= 0 && !flutter && spec.chaotic_atrial_uv <= 0) {
        v += HalfSine(t, on - w.pr_ms / 1000.0, w.p_duration_ms / 1000.0, shape.p);
      }
      v += HalfSine(t, on, 0.2 * d, shape.q) + HalfSine(t, on + 0.2 * d, 0.45 * d, shape.r) +
           HalfSine(t, on + 0.65 * d, 0.35 * d, shape.s);
      const double t_end = on + w.qt_ms / 1000.0;
      v += TWave(t, t_end, w.t_duration_ms / 1000.0, t_sign * shape.t);
    }
    out[i] = v;
  }

  // Atrial flutter: the waves run on through the complexes; each complex
  // comes 0.45 cycles after the start of a wave.
  if (flutter) {
    const double cycle = spec.flutter_cycle_ms / 1000.0;
    const double origin = spec.first_qrs_s - 0.45 * cycle;
    const double gain = code == 1 ? 0.25 : code == 2 ? 1.0 : code == 3 ? 0.8 : code == 4 ? 0.5 : 0.3;
    for (size_t i = 0; i < n; ++i) {
      const double t = static_cast<double>(i) / spec.rate;
      double phase = std::fmod((t - origin) / cycle, 1.0);
      if (phase < 0) phase += 1.0;
      double v;
      if (code == 3) {
        v = phase < 0.4 ? std::sin(std::numbers::pi * phase / 0.4) : 0.0;  // discrete upright waves in V1
      } else {
        v = phase < 0.75 ? -phase / 0.75 : -(1.0 - phase) / 0.25;  // slow descent, quick return
      }
      out[i] += gain * spec.flutter_uv * v;
    }
  }
  // Irregular atrial activity: one sequence of lobes, shared by the leads
  // with their own size and sign.
  if (spec.chaotic_atrial_uv > 0) {
    std::mt19937 wave_rng(spec.seed * 977u);
    std::uniform_real_distribution<double> length(0.09, 0.21), size(0.3, 1.0);
    const double gain = (code % 2 == 0 ? 1.0 : -0.8) * (code == 1 ? 0.4 : code >= 4 ? 0.5 : 1.0);
    double sign = 1;
    for (double from = 0; from < spec.seconds;) {
      const double width = length(wave_rng), a = size(wave_rng);
      const auto i0 = static_cast<size_t>(from * spec.rate);
      const auto i1 = std::min(n, static_cast<size_t>((from + width) * spec.rate));
      for (size_t i = i0; i < i1; ++i) {
        out[i] += gain * sign * a * spec.chaotic_atrial_uv * HalfSine(static_cast<double>(i) / spec.rate, from, width, 1.0);
      }
      sign = -sign;
      from += width;
    }
  }

  // Disturbances, each lead its own.
  std::mt19937 rng(spec.seed * 131u + code);
  std::normal_distribution<double> gauss(0.0, 1.0);
  for (size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / spec.rate;
    if (spec.noise_uv > 0) out[i] += spec.noise_uv * gauss(rng);
    if (spec.wander_uv > 0) out[i] += spec.wander_uv * std::sin(2 * std::numbers::pi * 0.3 * t + code);
    if (spec.fibrillation_uv > 0) {
      out[i] += spec.fibrillation_uv * (0.6 + 0.1 * code) * std::sin(2 * std::numbers::pi * (5.7 + 0.3 * std::sin(0.7 * t)) * t + code);
    }
    for (const NoiseBurst& burst : spec.bursts) {
      if (t >= burst.from_s && t < burst.from_s + burst.seconds) out[i] += burst.uv * gauss(rng);
    }
  }
  if (onsets != nullptr) *onsets = qrs;
  if (dominant != nullptr) *dominant = regular;
  return out;
}

SyntheticRecord MakeSyntheticRecord(const SyntheticSpec& spec) {
  SyntheticRecord record;
  SampleSection six;
  six.multiplier = spec.multiplier_nv;
  six.interval = static_cast<uint16_t>(std::lround(1e6 / spec.rate));
  std::vector<LeadRange> ranges;
  const auto n = static_cast<uint32_t>(std::lround(spec.seconds * spec.rate));
  for (uint8_t code : spec.leads) {
    const std::vector<double> uv = SyntheticLeadUv(spec, code, &record.qrs_onsets_s, &record.dominant);
    std::vector<int16_t> units(uv.size());
    const double per_unit = spec.multiplier_nv / 1000.0;
    for (size_t i = 0; i < uv.size(); ++i) {
      units[i] = static_cast<int16_t>(std::clamp(std::lround(uv[i] / per_unit), -2048L, 2031L));
    }
    for (const MarkerRun& m : spec.markers) {
      if (m.code != code) continue;
      const auto from = static_cast<size_t>(std::max(0.0, m.from_s * spec.rate));
      const auto to = std::min(units.size(), static_cast<size_t>((m.from_s + m.seconds) * spec.rate));
      for (size_t i = from; i < to; ++i) units[i] = m.value;
    }
    six.leads.push_back(std::move(units));
    ranges.push_back({code, 1, n});
  }
  RecordBuilder builder;
  builder.AddSection1(TypicalSection1());
  builder.AddSection(3, Section3(ranges, SimultaneousFlags(static_cast<uint8_t>(spec.leads.size()))));
  builder.AddSection(6, SampleSectionBytes(six));
  record.bytes = builder.Build();
  return record;
}

}  // namespace ecg::test::engine
