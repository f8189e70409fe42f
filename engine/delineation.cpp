// Global delineation of the median beats: QRS from the summed slopes and
// each lead's own departure and return, T end by the trapezium-area method,
// P from the leads' joint deviation and slopes with a beat agreement check.
//
// Every boundary is found twice: on lightly smoothed medians, which keep
// noise from deciding, and then again on the medians as they are, close to
// the first answer, so a wave that starts or ends with a corner is placed on
// that corner rather than where smoothing spread it.

#include "engine/delineation.h"

#include <algorithm>
#include <cmath>

#include "engine/filters.h"

namespace ecg::engine {

namespace {

// QRS.
constexpr double kQrsSmoothSeconds = 0.01;
constexpr double kQrsPeakSearch = 0.08;
constexpr double kOnsetQuietFrom = 0.20, kOnsetQuietTo = 0.03;   // before the fiducial
constexpr double kOffsetQuietFrom = 0.04, kOffsetQuietTo = 0.20;  // after it
constexpr double kQuietWindowSeconds = 0.02;
constexpr double kSlopeFraction = kQrsSlopeFraction;  // of the complex's largest summed slope
constexpr double kOnsetFractionBehindP = 0.02;
constexpr double kNoiseFactor = 4.0;      // spreads of the quiet stretch
constexpr double kLowNoiseFactor = 1.0;
constexpr double kLowShare = 0.7;
constexpr double kQuietSeconds = 0.008;
constexpr double kLowReachSeconds = 0.03;
// Each lead's own QRS onset and end (Martinez et al., IEEE TBME 51:570,
// 2004, on the slope of each lead): the lead's slope, a difference over
// 2 x kLeadSlopeHalf on the lightly smoothed lead, leaves its first and
// last clear peak (kLeadPeakShare of the lead's largest) until it falls
// under a share of that peak or a few noise spreads of the quiet stretch
// before (the early ST segment after) the complex; then down to half of that
// or one noise spread (hysteresis), and on the lead as it is to where it
// really leaves its level (returns to its ST slope).
constexpr double kLeadSlopeHalf = 0.004;
constexpr double kLeadPeakShare = 0.15;
constexpr double kLeadOnsetShare = 0.02, kLeadEndShare = 0.05;  // of the first / last peak
constexpr double kLeadNoiseFactor = 3.0;
constexpr double kLeadLowShare = 0.5;
constexpr double kLeadWalkSeconds = 0.04;
constexpr double kLeadHysteresisSeconds = 0.01;
constexpr double kLeadQuietSeconds = 0.02;
constexpr double kLeadLevelSpreads = 2.0;    // the lead leaves its level by this many spreads
constexpr double kLeadMinLevelUv = 1.0;
constexpr double kLeadStepSpreads = 2.5;     // and its ST slope by this many step spreads
constexpr double kStFrom = 0.04, kStTo = 0.08;  // after the offset
// The earliest onset and the latest end over the leads (the cardiologists'
// global fiducials are the extreme leads'), within these limits of the
// summed slopes' answer: a lead may start the complex up to 20 ms earlier,
// end it up to 20 ms later or 20 ms earlier, never start it later.
constexpr double kLeadMaxShift = 0.02;
constexpr double kLeadMaxEndShrink = 0.02;
// The onset lies no more than kLeadInSeconds before the first point where
// a lead clearly leaves its level: by kClearDepartureUv and
// kClearDepartureSpreads noise spreads of the kClearLevelSeconds before the
// onset the leads give, for kClearHoldSeconds on end. Slope thresholds alone
// follow atrial activity or noise in the PR segment back to the P wave.
constexpr double kLeadInSeconds = 0.02;
constexpr double kClearDepartureUv = 10.0;
constexpr double kClearDepartureSpreads = 5.0;
constexpr double kClearHoldSeconds = 0.01;
constexpr double kClearLevelSeconds = 0.02;
constexpr double kLeadNoiseSeconds = 0.1;
// A lead's T end counts as the latest only where another lead's lies
// within this of it.
constexpr double kTEndConfirmSeconds = 0.02;
// A lead's boundary counts only when another lead's lies within these of
// it: ends behind a P wave, onsets where there is none.
constexpr double kLeadOnsetConfirmSeconds = 0.01;
constexpr double kLeadEndConfirmSeconds = 0.02;

// T wave.
constexpr double kTSmoothSeconds = 0.02;
constexpr double kTSearchFromOffset = 0.06;
constexpr double kTShareOfInterval = 0.7;
constexpr double kTBeforeNextQrs = 0.22;
constexpr double kTBeforeNextP = 0.02;
// A lead's T wave counts from 20 µV (2 % of a lead whose complex spans 1 mV)
// when its single beats agree with it: the agreement, not the size, tells a
// low T wave from noise left in the median.
constexpr float kMinTAmplitude = 20.0f;  // µV
constexpr float kMinTAgreement = 0.5f;
constexpr double kTAgreementBefore = 0.1, kTAgreementAfter = 0.02;  // around peak and end
// The leads' T waves are one repolarisation seen from different sides:
// their peaks lie within a few tens of milliseconds of each other. A wave
// that peaks more than kTPeakLagSeconds after the largest T wave's peak is
// another wave (a U wave, most often), and its end is no T end.
constexpr double kTPeakLagSeconds = 0.15;
constexpr float kBiphasicRatio = 0.4f;
constexpr double kSteepestWithin = 0.15;
constexpr double kAreaWindow = 0.18;
// A QT longer than this corrected for the interval (Bazett) is not looked
// for: past it, a flat T wave's area search runs into the next P wave.
constexpr double kLongestQtc = 0.65;

// P wave.
constexpr double kPLowPassHz = 20.0;
constexpr double kPSearchSeconds = 0.3;  // before the QRS onset
constexpr double kPAfterTEnd = 0.02;
constexpr double kPMinWindow = 0.06;
constexpr double kPPeakMargin = 0.02;
constexpr double kPPeakBeforeQrs = 0.03;
constexpr double kPLevelSeconds = 0.01;
constexpr double kPOnsetFraction = 0.16;
constexpr double kPOffsetFraction = 0.1;
constexpr double kPSlopeSmoothing = 0.02;
constexpr double kPSlopeReach = 0.08;
constexpr double kPRefineReach = 0.015;
constexpr double kPRefineNoise = 30.0;
constexpr double kPRefineHold = 0.006;
constexpr double kPRefineAccept = 0.035;
constexpr double kPRefineBeforeQrs = 0.01;
constexpr float kMinPAmplitude = 30.0f;  // µV
constexpr double kMinPDuration = 0.04;
constexpr float kMinPAgreement = 0.5f;
constexpr double kPAgreementMargin = 0.02;

size_t ClampIndex(double v, size_t n) {
  if (n == 0) return 0;
  if (!(v > 0)) return 0;
  if (v >= static_cast<double>(n - 1)) return n - 1;
  return static_cast<size_t>(v);
}

size_t SamplesOf(double seconds, double rate) {
  return static_cast<size_t>(std::lround(std::max(0.0, seconds * rate)));
}

float MinIn(const std::vector<float>& v, size_t lo, size_t hi) {
  float m = v.empty() ? 0.0f : v[std::min(lo, v.size() - 1)];
  for (size_t i = lo; i <= hi && i < v.size(); ++i) m = std::min(m, v[i]);
  return m;
}

// Where `v` crosses `threshold` between a and b = a + 1 (linear).
double Crossing(const std::vector<float>& v, size_t a, size_t b, double threshold) {
  const double va = v[a], vb = v[b];
  if (va == vb) return static_cast<double>(a);
  const double t = std::clamp((threshold - va) / (vb - va), 0.0, 1.0);
  return static_cast<double>(a) + t * (static_cast<double>(b) - static_cast<double>(a));
}

// Sub-sample place of a corner where a straight stretch of slope `full`
// (per sample) meets a flat one: the steps across it are partial, each in
// proportion to the part of its sample interval still on the slope. Summing
// those parts from a sample known to be on the slope gives the corner to a
// fraction of a sample, which matters at 250 Hz where a sample is 4 ms.
double SlopeShare(double step, double full) {
  if (!(full > 0)) return 0.0;
  return std::clamp(step / full, 0.0, 1.0);
}

double Mean(const std::vector<float>& v, size_t lo, size_t hi) {
  if (v.empty()) return 0.0;
  hi = std::min(hi, v.size() - 1);
  if (lo > hi) lo = hi;
  double sum = 0;
  for (size_t i = lo; i <= hi; ++i) sum += v[i];
  return sum / static_cast<double>(hi - lo + 1);
}

// A centred moving average over an odd number of samples close to
// `seconds`: compact, so no corner moves by more than half its width.
std::vector<std::vector<float>> Averaged(const MedianBeats& m, std::span<const size_t> leads,
                                         double seconds) {
  std::vector<std::vector<float>> out(m.leads.size());
  const size_t half = SamplesOf(seconds / 2.0, m.rate);
  for (size_t li : leads) {
    out[li].resize(m.leads[li].size());
    MovingAverage(m.leads[li], 2 * half + 1, out[li]);
  }
  return out;
}

// One-sided slope sums over leads: the backward difference rises exactly
// at a corner where a wave leaves the baseline, the forward one falls
// exactly where it comes back.
void OneSidedSlopes(const std::vector<std::vector<float>>& y, std::span<const size_t> leads, size_t n,
                    std::vector<float>& back, std::vector<float>& fwd) {
  back.assign(n, 0.0f);
  fwd.assign(n, 0.0f);
  for (size_t li : leads) {
    const std::vector<float>& v = y[li];
    if (v.size() < n) continue;
    for (size_t i = 1; i < n; ++i) {
      const float d = std::fabs(v[i] - v[i - 1]);
      back[i] += d;
      fwd[i - 1] += d;
    }
  }
}

// Mean and spread of the stillest stretch of `window` samples in [from, to].
void QuietLevel(const std::vector<float>& v, size_t from, size_t to, size_t window, double& mean,
                double& spread) {
  const size_t n = v.size();
  mean = 0;
  spread = 0;
  if (n == 0) return;
  window = std::min(window, n);
  to = std::min(to, n - 1);
  if (to + 1 < from + window) from = to + 1 >= window ? to + 1 - window : 0;
  double best = -1;
  for (size_t s = from; s + window <= to + 1 && s + window <= n; ++s) {
    double sum = 0, sq = 0;
    for (size_t i = s; i < s + window; ++i) {
      sum += v[i];
      sq += double{v[i]} * v[i];
    }
    const double m = sum / static_cast<double>(window);
    const double sd = std::sqrt(std::max(0.0, sq / static_cast<double>(window) - m * m));
    if (best < 0 || m + sd < best) {
      best = m + sd;
      mean = m;
      spread = sd;
    }
  }
}

// ------------------------------------------------------------------- QRS

// The boundaries that another lead's lies within `tolerance` of: a lone
// lead's is more likely atrial activity or noise than the complex.
std::vector<double> ConfirmedOnly(std::vector<double> v, double tolerance) {
  std::sort(v.begin(), v.end());
  std::vector<double> kept;
  for (size_t i = 0; i < v.size(); ++i) {
    const bool before = i > 0 && v[i] - v[i - 1] <= tolerance;
    const bool after = i + 1 < v.size() && v[i + 1] - v[i] <= tolerance;
    if (before || after) kept.push_back(v[i]);
  }
  return kept;
}

// The first point at which any of the leads clearly leaves the level it
// holds over the stretch just before `onset` (the leads' onset):
// by the larger of an absolute amount and a multiple of that stretch's
// spread, and for a while on end, so that neither a slow drift under that
// amount nor a single noisy sample counts. Fractional sample; negative when
// no lead does so before `offset`.
double ClearDeparture(const MedianBeats& m, std::span<const size_t> leads, double onset, double offset) {
  const size_t n = m.length;
  const double rate = m.rate;
  const size_t hold = std::max<size_t>(1, SamplesOf(kClearHoldSeconds, rate));
  const size_t to = ClampIndex(onset, n);
  const size_t from = ClampIndex(onset - kClearLevelSeconds * rate, n);
  const size_t end = ClampIndex(offset, n);
  if (to < from + 2 || end <= to + hold) return -1;
  double earliest = -1;
  for (size_t li : leads) {
    const std::vector<float>& y = m.leads[li];
    if (y.size() != n) continue;
    double level = 0, spread = 0;
    for (size_t k = from; k <= to; ++k) level += y[k];
    level /= static_cast<double>(to - from + 1);
    for (size_t k = from; k <= to; ++k) spread += (y[k] - level) * (y[k] - level);
    spread = std::sqrt(spread / static_cast<double>(to - from + 1));
    const double limit = std::max(kClearDepartureUv, kClearDepartureSpreads * spread);
    auto away = [&](size_t k) { return std::fabs(double{y[k]} - level); };
    for (size_t i = to + 1; i + hold <= end; ++i) {
      bool held = true;
      for (size_t k = i; k < i + hold && held; ++k) held = away(k) > limit;
      if (!held) continue;
      // Where the lead crosses the limit between i - 1 and i.
      const double before = away(i - 1), at = away(i);
      const double crossing =
          static_cast<double>(i - 1) + (at > before ? std::clamp((limit - before) / (at - before), 0.0, 1.0) : 1.0);
      if (earliest < 0 || crossing < earliest) earliest = crossing;
      break;
    }
  }
  return earliest;
}

// Each lead's own onset and end near the global ones; the global onset and
// end become the earliest and the latest of them, within limits.
void RefineQrsByLeads(const MedianBeats& m, const std::vector<std::vector<float>>& smooth,
                      std::span<const size_t> leads, bool behind_p, Delineation& d) {
  const size_t n = m.length;
  const double rate = m.rate;
  const size_t h = std::max<size_t>(1, SamplesOf(kLeadSlopeHalf, rate));
  const size_t walk = SamplesOf(kLeadWalkSeconds, rate);
  const size_t hysteresis = SamplesOf(kLeadHysteresisSeconds, rate);
  const size_t quiet = std::max<size_t>(2, SamplesOf(kLeadQuietSeconds, rate));
  // How far the smoothing and the difference spread a corner.
  const size_t reach = SamplesOf(kQrsSmoothSeconds / 2.0, rate) + h;
  const size_t q_from = ClampIndex(d.qrs_on, n), q_to = ClampIndex(d.qrs_off, n);
  const double quiet_from = d.p_present ? std::max(d.p_off, d.qrs_on - kLeadNoiseSeconds * rate)
                                        : d.qrs_on - kLeadNoiseSeconds * rate;
  const size_t noise_from = std::max(h, ClampIndex(quiet_from, n));
  const size_t noise_to = ClampIndex(d.qrs_on - 0.005 * rate, n);
  const size_t st_from = ClampIndex(d.qrs_off + kStFrom * rate, n);
  const size_t st_to = ClampIndex(d.qrs_off + kStTo * rate, n);
  if (q_to <= q_from + 2 || q_from < walk + h + quiet || st_to + h >= n || st_to <= st_from + 2) return;
  const double st_count = static_cast<double>(st_to - st_from + 1);

  std::vector<double> onsets, ends;
  for (size_t li : leads) {
    const std::vector<float>& ys = smooth[li];
    const std::vector<float>& y = m.leads[li];
    if (ys.size() != n || y.size() != n) continue;
    auto slope = [&](size_t i) { return double{ys[i + h]} - ys[i - h]; };
    double top = 0;
    for (size_t i = q_from; i <= q_to; ++i) top = std::max(top, std::fabs(slope(i)));
    if (!(top > 0)) continue;
    // The first and last clear slope peaks of the lead.
    size_t first = 0, last = 0;
    for (size_t i = q_from; i <= q_to; ++i) {
      const double v = std::fabs(slope(i));
      if (v >= kLeadPeakShare * top && v >= std::fabs(slope(i - 1)) && v >= std::fabs(slope(i + 1))) {
        if (first == 0) first = i;
        last = i;
      }
    }
    if (first == 0) continue;

    // Onset. Noise: the slope's spread over the stillest stretch between
    // the P wave and the complex.
    double noise = -1;
    for (size_t e = noise_from + quiet; e <= noise_to; ++e) {
      double sq = 0;
      for (size_t k = e - quiet; k < e; ++k) sq += slope(k) * slope(k);
      if (noise < 0 || sq < noise) noise = sq;
    }
    if (noise < 0) {
      // A PR segment shorter than the stretch: the slope's spread from 60
      // to 30 ms before the complex, P wave and all.
      const size_t from = std::max(h, ClampIndex(d.qrs_on - 0.06 * rate, n));
      const size_t to = ClampIndex(d.qrs_on - 0.03 * rate, n);
      double sq = 0;
      for (size_t k = from; k <= to; ++k) sq += slope(k) * slope(k);
      noise = to >= from ? sq / static_cast<double>(to - from + 1) * static_cast<double>(quiet) : 0.0;
    }
    noise = std::sqrt(noise / static_cast<double>(quiet));
    const double peak_on = std::fabs(slope(first));
    const double thr_on = std::max(kLeadOnsetShare * peak_on, kLeadNoiseFactor * noise);
    const double low_on = std::min(thr_on, std::max(kLeadLowShare * thr_on, noise));
    size_t i = first;
    const size_t stop_on = first - walk;
    while (i > stop_on && std::fabs(slope(i)) > thr_on) --i;
    if (std::fabs(slope(i)) <= thr_on && i < first) {
      const size_t stop_low = i > stop_on + hysteresis ? i - hysteresis : stop_on;
      while (i > stop_low && std::fabs(slope(i)) > low_on) --i;
      // On the lead as it is: forward to where it leaves the level of the
      // stretch just before (the smoothing spread the corner early).
      const size_t level_from = i - quiet;
      double level = 0, spread = 0;
      for (size_t k = level_from; k <= i; ++k) level += y[k];
      level /= static_cast<double>(i - level_from + 1);
      for (size_t k = level_from; k <= i; ++k) spread += (y[k] - level) * (y[k] - level);
      spread = std::sqrt(spread / static_cast<double>(i - level_from + 1));
      const double limit = std::max(kLeadLevelSpreads * spread, kLeadMinLevelUv);
      const size_t stop = std::min(first, i + reach);
      while (i < stop && std::fabs(double{y[i + 1]} - level) <= limit) ++i;
      // The corner lies in (i, i + 1]: the share of the next, full step
      // still after it places it within the sample.
      double onset = static_cast<double>(i);
      if (i + 2 < n) {
        const double full = std::fabs(double{y[i + 2]} - y[i + 1]);
        onset = std::clamp(static_cast<double>(i + 1) - SlopeShare(std::fabs(double{y[i + 1]} - y[i]), full),
                           static_cast<double>(i), static_cast<double>(i + 1));
      }
      onsets.push_back(onset);
    }

    // End: against the slope of the early ST segment.
    double st_mean = 0, st_noise = 0, step_mean = 0, step_noise = 0;
    for (size_t k = st_from; k <= st_to; ++k) {
      st_mean += slope(k);
      step_mean += double{y[k + 1]} - y[k];
    }
    st_mean /= st_count;
    step_mean /= st_count;
    for (size_t k = st_from; k <= st_to; ++k) {
      st_noise += (slope(k) - st_mean) * (slope(k) - st_mean);
      const double step = double{y[k + 1]} - y[k] - step_mean;
      step_noise += step * step;
    }
    st_noise = std::sqrt(st_noise / st_count);
    step_noise = std::sqrt(step_noise / st_count);
    auto settled = [&](size_t k) { return std::fabs(slope(k) - st_mean); };
    const double thr_end = std::max(kLeadEndShare * settled(last), kLeadNoiseFactor * st_noise);
    const double low_end = std::min(thr_end, std::max(kLeadLowShare * thr_end, st_noise));
    i = last;
    const size_t stop_end = std::min(n - h - 1, last + walk);
    while (i < stop_end && settled(i) > thr_end) ++i;
    if (settled(i) <= thr_end && i > last) {
      const size_t stop_low = std::min(stop_end, i + hysteresis);
      while (i < stop_low && settled(i) > low_end) ++i;
      // On the lead as it is: back to its last step that differs from the
      // ST slope by more than the ST segment's own step noise.
      auto step = [&](size_t k) { return std::fabs(double{y[k + 1]} - y[k] - step_mean); };
      const double limit = kLeadStepSpreads * step_noise;
      const size_t stop = std::max(last, i > reach ? i - reach : 0);
      while (i > stop && step(i - 1) <= limit) --i;
      // The lead still moves from i - 1 to i: the shares of the full step
      // before place the corner within the sample.
      double end = static_cast<double>(i);
      if (i >= 2 && i + 1 < n) {
        end = static_cast<double>(i - 1) + SlopeShare(step(i - 1), step(i - 2)) + SlopeShare(step(i), step(i - 2));
        end = std::clamp(end, static_cast<double>(i) - 1.0, static_cast<double>(i) + 1.0);
      }
      ends.push_back(end);
    }
  }
  // A lone end far past the others is more often a lead's noise or a
  // slow T-wave upstroke than the complex. Without P waves a lone onset is
  // more often atrial activity, and the ends are left to the summed slopes:
  // fibrillatory waves in the ST segment carry several leads' ends away
  // together.
  if (behind_p) {
    ends = ConfirmedOnly(std::move(ends), kLeadEndConfirmSeconds * rate);
  } else {
    onsets = ConfirmedOnly(std::move(onsets), kLeadOnsetConfirmSeconds * rate);
    ends.clear();
  }
  if (!onsets.empty()) {
    const double earliest = *std::min_element(onsets.begin(), onsets.end());
    d.qrs_on = std::clamp(earliest, d.qrs_on - kLeadMaxShift * rate, d.qrs_on);
  }
  if (!ends.empty()) {
    const double latest = *std::max_element(ends.begin(), ends.end());
    d.qrs_off = std::clamp(latest, d.qrs_off - kLeadMaxEndShrink * rate, d.qrs_off + kLeadMaxShift * rate);
  }
}

// --------------------------------------------------------------------- T

struct LeadTEnd {
  double end = 0, peak = 0;
  float amplitude = 0;
};

// T end of one lead by the trapezium-area method on the smoothed lead,
// looked for again on the unsmoothed lead within the smoothing's reach.
// False without a T wave.
bool TEndOfLead(const std::vector<float>& y, const std::vector<float>& raw, size_t settle, double base,
                size_t from, size_t to, double rate, LeadTEnd& out) {
  if (to <= from + 2 || to >= y.size() || raw.size() != y.size()) return false;
  size_t hi_at = from, lo_at = from;
  for (size_t i = from; i <= to; ++i) {
    if (y[i] > y[hi_at]) hi_at = i;
    if (y[i] < y[lo_at]) lo_at = i;
  }
  const double hi = y[hi_at] - base, lo = y[lo_at] - base;
  double sign = hi >= -lo ? 1.0 : -1.0;
  size_t peak = sign > 0 ? hi_at : lo_at;
  const double big = std::max(hi, -lo), small = std::min(hi, -lo);
  // A biphasic T ends after its later lobe.
  if (small >= kBiphasicRatio * big && small > 0) {
    const size_t other = sign > 0 ? lo_at : hi_at;
    if (other > peak) {
      peak = other;
      sign = -sign;
    }
  }
  out.amplitude = static_cast<float>(std::max(hi, -lo));
  out.peak = static_cast<double>(peak);
  if (out.amplitude < kMinTAmplitude) return false;

  // Steepest return towards the baseline after the peak.
  const size_t steep_to = std::min(to, peak + SamplesOf(kSteepestWithin, rate));
  size_t tm = peak;
  double steepest = 0;
  for (size_t i = peak + 1; i + 1 <= steep_to && i + 1 < y.size(); ++i) {
    const double slope = -sign * (double{y[i + 1]} - y[i - 1]);
    if (slope > steepest) {
      steepest = slope;
      tm = i;
    }
  }
  const size_t tr = std::min(to, tm + SamplesOf(kAreaWindow, rate));
  if (tr <= tm + 1) return false;
  // Zhang et al.: the end maximises the area of the trapezium between the
  // steepest point tm, a candidate t and the bound tr,
  // A(t) = (y(tm) - y(t)) (2 tr - tm - t) for an upright wave.
  auto area = [&](const std::vector<float>& v, size_t t) {
    return sign * (double{v[tm]} - v[t]) *
           (2.0 * static_cast<double>(tr) - static_cast<double>(tm) - static_cast<double>(t));
  };
  size_t best = tm;
  double best_area = area(y, tm);
  for (size_t t = tm + 1; t <= tr; ++t) {
    const double a = area(y, t);
    if (a > best_area) {
      best_area = a;
      best = t;
    }
  }
  const size_t lo_t = best > tm + settle ? best - settle : tm;
  const size_t hi_t = std::min(tr, best + settle);
  size_t refined = best;
  double refined_area = area(raw, best);
  for (size_t t = lo_t; t <= hi_t; ++t) {
    const double a = area(raw, t);
    if (a > refined_area) {
      refined_area = a;
      refined = t;
    }
  }
  out.end = static_cast<double>(refined);
  // The corner to a fraction of a sample: from two samples before the best
  // one, add each step's share of the full descent (the steepest of the two
  // steps before), within a sample of the best one.
  if (refined >= 4 && refined + 1 < raw.size()) {
    auto step = [&](size_t i) { return sign * (double{raw[i]} - raw[i + 1]); };
    const double full = std::max(step(refined - 4), step(refined - 3));
    if (full > 0) {
      double at = static_cast<double>(refined - 2);
      for (size_t i = refined - 2; i <= refined; ++i) at += SlopeShare(step(i), full);
      out.end = std::clamp(at, out.end - 1.0, out.end + 1.0);
    }
  }
  return true;
}

// RMS over `leads` of each lead less its level before the QRS.
void RootMeanSquare(const std::vector<std::vector<float>>& leads, const std::vector<double>& base,
                    const std::vector<size_t>& which, std::vector<float>& out) {
  const size_t n = which.empty() ? 0 : leads[which.front()].size();
  out.assign(n, 0.0f);
  if (which.empty()) return;
  for (size_t i = 0; i < n; ++i) {
    double sum = 0;
    for (size_t li : which) {
      const double v = leads[li][i] - base[li];
      sum += v * v;
    }
    out[i] = static_cast<float>(std::sqrt(sum / static_cast<double>(which.size())));
  }
}

// Mean correlation of one lead's single beats with its median over
// [from, to]: a T wave the beats share agrees, noise left in the median of a
// few beats does not.
float LeadAgreement(const DelineationInput& input, size_t li, size_t from, size_t to) {
  const MedianBeats& m = *input.medians;
  if (input.corrected == nullptr || input.fiducials.empty() || to <= from + 2) return 1.0f;
  const std::vector<float>& med = m.leads[li];
  const std::vector<float>& x = (*input.corrected)[li];
  const size_t w = to - from + 1;
  double mb = 0;
  for (size_t k = 0; k < w; ++k) mb += med[from + k];
  mb /= static_cast<double>(w);
  double sum_r = 0;
  size_t beats = 0;
  for (size_t f : input.fiducials) {
    if (f + from < m.fiducial) continue;
    const size_t start = f + from - m.fiducial;
    if (start + w > x.size()) continue;
    double ma = 0;
    for (size_t k = 0; k < w; ++k) ma += x[start + k];
    ma /= static_cast<double>(w);
    double ab = 0, aa = 0, bb = 0;
    for (size_t k = 0; k < w; ++k) {
      const double a = x[start + k] - ma, b = med[from + k] - mb;
      ab += a * b;
      aa += a * a;
      bb += b * b;
    }
    if (!(aa > 0) || !(bb > 0)) continue;
    sum_r += ab / std::sqrt(aa * bb);
    ++beats;
  }
  return beats > 0 ? static_cast<float>(sum_r / static_cast<double>(beats)) : 0.0f;
}

// The global T end between the QRS and `limit`: the latest of the leads'
// ends that a second lead confirms (else the second latest) over the leads
// whose single beats agree with their T wave and whose wave peaks with the
// largest T wave's, averaged with the end on the RMS of the leads that do
// not disagree.
void FindT(const DelineationInput& input, const std::vector<std::vector<float>>& smooth,
           const std::vector<double>& base, double limit, Delineation& d) {
  const MedianBeats& m = *input.medians;
  const size_t n = m.length;
  d.t_found = false;
  const size_t from = ClampIndex(d.qrs_off + kTSearchFromOffset * m.rate, n);
  if (input.rr_samples > 0) {
    limit = std::min(limit, d.qrs_on + kLongestQtc * std::sqrt(input.rr_samples / m.rate) * m.rate);
  }
  const size_t to = ClampIndex(std::min(limit, static_cast<double>(n) - 2.0), n);
  const size_t settle = SamplesOf(kTSmoothSeconds / 2.0, m.rate) + 1;
  std::vector<LeadTEnd> ends;
  std::vector<size_t> agreeing;  // leads whose T wave (or its absence) the beats share
  float largest = 0;
  for (size_t li : input.leads) {
    LeadTEnd e;
    if (TEndOfLead(smooth[li], m.leads[li], settle, base[li], from, to, m.rate, e)) {
      if (LeadAgreement(input, li, ClampIndex(e.peak - kTAgreementBefore * m.rate, n),
                        ClampIndex(e.end + kTAgreementAfter * m.rate, n)) < kMinTAgreement) {
        continue;
      }
      agreeing.push_back(li);
      ends.push_back(e);
      largest = std::max(largest, e.amplitude);
    } else {
      agreeing.push_back(li);
    }
  }
  d.t_amplitude = largest;
  if (ends.empty()) return;
  const LeadTEnd& tallest = *std::max_element(
      ends.begin(), ends.end(), [](const LeadTEnd& a, const LeadTEnd& b) { return a.amplitude < b.amplitude; });
  d.t_peak = tallest.peak;
  const double latest_peak = tallest.peak + kTPeakLagSeconds * m.rate;
  std::vector<double> kept;
  for (const LeadTEnd& e : ends) {
    if (e.peak <= latest_peak) kept.push_back(e.end);
  }
  std::sort(kept.begin(), kept.end());
  d.t_found = true;
  // The latest lead's end where a second lead's lies within 20 ms of it
  // (the cardiologists' T end is the latest lead's; a lone latest end is
  // more often a lead's slow noise); without such a pair the second latest.
  d.t_off = kept.size() >= 3 ? kept[kept.size() - 2] : kept.back();
  for (size_t k = kept.size() - 1; k >= 1; --k) {
    if (kept[k] - kept[k - 1] <= kTEndConfirmSeconds * m.rate) {
      d.t_off = kept[k];
      break;
    }
  }
  // The leads' ends are averaged with the end found on the RMS of all leads:
  // one lead's low, drawn-out T wave moves the lead rank, but much less the
  // RMS, whose T wave is as large as the leads' together.
  std::vector<float> rms_smooth, rms_raw;
  RootMeanSquare(smooth, base, agreeing, rms_smooth);
  RootMeanSquare(m.leads, base, agreeing, rms_raw);
  LeadTEnd joint;
  if (TEndOfLead(rms_smooth, rms_raw, settle, 0.0, from, to, m.rate, joint)) d.t_off = 0.5 * (d.t_off + joint.end);
}

// --------------------------------------------------------------------- P

// Mean correlation of the single beats with the median over [from, to].
float BeatAgreement(const DelineationInput& input, size_t from, size_t to) {
  const MedianBeats& m = *input.medians;
  if (input.corrected == nullptr || input.fiducials.empty() || to < from) return 1.0f;
  const size_t w = to - from + 1;
  double sum_r = 0;
  size_t beats = 0;
  for (size_t f : input.fiducials) {
    if (f + from < m.fiducial) continue;
    const size_t start = f + from - m.fiducial;
    double ab = 0, aa = 0, bb = 0;
    bool inside = true;
    for (size_t li : input.leads) {
      const std::vector<float>& x = (*input.corrected)[li];
      if (start + w > x.size()) {
        inside = false;
        break;
      }
      double ma = 0, mb = 0;
      for (size_t k = 0; k < w; ++k) {
        ma += x[start + k];
        mb += m.leads[li][from + k];
      }
      ma /= static_cast<double>(w);
      mb /= static_cast<double>(w);
      for (size_t k = 0; k < w; ++k) {
        const double a = x[start + k] - ma, b = m.leads[li][from + k] - mb;
        ab += a * b;
        aa += a * a;
        bb += b * b;
      }
    }
    if (!inside || !(aa > 0) || !(bb > 0)) continue;
    sum_r += ab / std::sqrt(aa * bb);
    ++beats;
  }
  return beats > 0 ? static_cast<float>(sum_r / static_cast<double>(beats)) : 0.0f;
}

// The P wave between the end of the previous beat's T wave (or 300 ms
// before the QRS onset) and the QRS onset.
void FindP(const DelineationInput& input, double rr, Delineation& d) {
  const MedianBeats& m = *input.medians;
  const double rate = m.rate;
  const size_t n = m.length;
  auto seconds = [&](double s) { return s * rate; };
  d.p_present = false;
  const size_t on = ClampIndex(d.qrs_on, n);
  const size_t level_from = ClampIndex(d.qrs_on - seconds(kPLevelSeconds), n);
  // The low-pass runs over the leads with the QRS held at its onset level,
  // so none of the complex leaks back into the PR segment.
  std::vector<std::vector<float>> smooth(m.leads.size());
  const Biquad low = ButterworthLowPass(kPLowPassHz, rate);
  for (size_t li : input.leads) {
    smooth[li] = m.leads[li];
    for (size_t i = on + 1; i < n; ++i) smooth[li][i] = smooth[li][on];
    FilterZeroPhase(smooth[li], {low});
  }
  double p_start = d.qrs_on - seconds(kPSearchSeconds);
  if (d.t_found) p_start = std::max(p_start, d.t_off - rr + seconds(kPAfterTEnd));
  p_start = std::max(p_start, 0.0);
  if (d.qrs_on - p_start < seconds(kPMinWindow)) return;
  const size_t ps = ClampIndex(p_start, n);

  // Each lead against the straight line from its level at the start of the
  // window to its PR level: a P wave stands out from that line whether or
  // not the TP and PR levels agree.
  const size_t start_to = ClampIndex(p_start + seconds(kPLevelSeconds), n);
  std::vector<double> pr_level(m.leads.size(), 0.0), start_level(m.leads.size(), 0.0);
  for (size_t li : input.leads) {
    pr_level[li] = Mean(smooth[li], level_from, on);
    start_level[li] = Mean(smooth[li], ps, start_to);
  }
  const double span = std::max(1.0, static_cast<double>(on) - static_cast<double>(ps));
  auto line = [&](size_t li, size_t i) {
    return start_level[li] +
           (pr_level[li] - start_level[li]) * (static_cast<double>(i) - static_cast<double>(ps)) / span;
  };
  std::vector<float> dev(n, 0.0f), slope(n, 0.0f);
  for (size_t i = ps; i <= on; ++i) {
    double sum = 0, sum_slope = 0;
    for (size_t li : input.leads) {
      const double z = smooth[li][i] - line(li, i);
      sum += z * z;
      if (i > 0 && i + 1 < n) sum_slope += std::fabs(smooth[li][i + 1] - smooth[li][i - 1]);
    }
    dev[i] = static_cast<float>(std::sqrt(sum));
    slope[i] = static_cast<float>(sum_slope);
  }
  const size_t peak_from = ClampIndex(p_start + seconds(kPPeakMargin), n);
  const size_t peak_to = ClampIndex(d.qrs_on - seconds(kPPeakBeforeQrs), n);
  if (peak_to <= peak_from) return;
  size_t tp = peak_from;
  for (size_t i = peak_from; i <= peak_to; ++i) {
    if (dev[i] > dev[tp]) tp = i;
  }
  if (!(dev[tp] > 0)) return;

  // Onset and offset from the slope: the steepest point on each side of the
  // peak, then out to where the slope falls to a part of its height above
  // the quietest level on that side.
  std::vector<float> slope_smooth(n);
  MovingAverage(slope, std::max<size_t>(1, SamplesOf(kPSlopeSmoothing, rate)), slope_smooth);
  const size_t reach = SamplesOf(kPSlopeReach, rate);
  size_t rise = tp;
  for (size_t i = tp > reach ? std::max(ps, tp - reach) : ps; i <= tp; ++i) {
    if (slope_smooth[i] > slope_smooth[rise]) rise = i;
  }
  size_t fall = tp;
  for (size_t i = tp; i <= std::min(on, tp + reach); ++i) {
    if (slope_smooth[i] > slope_smooth[fall]) fall = i;
  }
  const double floor_before = MinIn(slope_smooth, ps, rise);
  const double floor_after = MinIn(slope_smooth, fall, on);
  const double thr_on = floor_before + kPOnsetFraction * (slope_smooth[rise] - floor_before);
  const double thr_off = floor_after + kPOffsetFraction * (slope_smooth[fall] - floor_after);
  double p_on = static_cast<double>(ps);
  for (size_t i = rise; i > ps; --i) {
    if (slope_smooth[i - 1] < thr_on) {
      p_on = Crossing(slope_smooth, i - 1, i, thr_on);
      break;
    }
  }
  double p_off = d.qrs_on;
  for (size_t i = fall; i < on; ++i) {
    if (slope_smooth[i + 1] < thr_off) {
      p_off = Crossing(slope_smooth, i, i + 1, thr_off);
      break;
    }
  }

  // On the unsmoothed leads, the corners the low-pass spread: the onset
  // moves to where the raw slope rises far out of the quiet stretch's noise
  // and stays out of it, the offset likewise. Without such clear slopes (a
  // noisy or gradual wave) the smoothed estimates stand.
  if (p_off > p_on) {
    const size_t settle = SamplesOf(kPRefineReach, rate) + 1;
    const size_t window = std::max<size_t>(2, SamplesOf(kQuietWindowSeconds, rate));
    std::vector<float> back_raw, fwd_raw;
    OneSidedSlopes(m.leads, input.leads, n, back_raw, fwd_raw);
    double floor_b = 0, noise_b = 0, floor_f = 0, noise_f = 0;
    const size_t on_lo = ClampIndex(p_on - static_cast<double>(settle), n);
    const size_t on_hi = ClampIndex(p_on + static_cast<double>(settle), n);
    const size_t off_hi = ClampIndex(p_off + static_cast<double>(settle), n);
    const size_t accept = SamplesOf(kPRefineAccept, rate);
    const size_t off_stop = p_off > static_cast<double>(accept) ? ClampIndex(p_off - static_cast<double>(accept), n) : 0;
    QuietLevel(back_raw, ps, on_lo, window, floor_b, noise_b);
    QuietLevel(fwd_raw, off_stop, on > 2 ? on - 2 : 0, window, floor_f, noise_f);
    const double low_b = floor_b + kPRefineNoise * noise_b;
    const double low_f = floor_f + kPRefineNoise * noise_f;
    // The raw slope's first clear rise after the start of the reach, held
    // for a few samples, and its last clear fall before the QRS.
    const size_t hold = std::max<size_t>(2, SamplesOf(kPRefineHold, rate));
    auto held = [&](const std::vector<float>& v, size_t from, size_t to, double low) {
      for (size_t k = from; k <= to && k < n; ++k) {
        if (v[k] <= low) return false;
      }
      return true;
    };
    for (size_t k = on_lo; k <= on_hi && k + hold < n; ++k) {
      if (back_raw[k] <= low_b) continue;
      if (k > 0 && held(back_raw, k, k + hold - 1, low_b)) {
        p_on = Crossing(back_raw, k - 1, k, low_b);
        // Where the wave starts with a corner, the steps into it are a
        // share of the full step: that places the corner within a sample.
        if (k + 2 < n) {
          const double full = std::max(back_raw[k + 1], back_raw[k + 2]) - floor_b;
          const double at = static_cast<double>(k) - SlopeShare(back_raw[k] - floor_b, full) -
                            SlopeShare(back_raw[k - 1] - floor_b, full);
          p_on = std::clamp(at, static_cast<double>(k) - 1.5, static_cast<double>(k));
        }
      }
      break;
    }
    // (Not from the QRS onset itself: the complex may begin a little before it.)
    const size_t margin = SamplesOf(kPRefineBeforeQrs, rate);
    const size_t off_from = std::min(off_hi, on > margin ? on - margin : 0);
    for (size_t k = off_from; k > off_stop && k >= hold; --k) {
      if (fwd_raw[k] <= low_f) continue;
      if (held(fwd_raw, k + 1 - hold, k, low_f)) {
        p_off = Crossing(fwd_raw, k, k + 1, low_f);
        if (k >= 2 && k + 1 < n) {
          const double full = std::max(fwd_raw[k - 1], fwd_raw[k - 2]) - floor_f;
          const double at = static_cast<double>(k) + SlopeShare(fwd_raw[k] - floor_f, full) +
                            SlopeShare(fwd_raw[k + 1] - floor_f, full);
          p_off = std::clamp(at, static_cast<double>(k), static_cast<double>(k) + 1.5);
        }
      }
      break;
    }
  }
  d.p_on = p_on;
  d.p_off = p_off;
  d.p_peak = static_cast<double>(tp);
  float amplitude = 0;
  for (size_t li : input.leads) {
    for (size_t i = ClampIndex(p_on, n); i <= ClampIndex(p_off, n); ++i) {
      amplitude = std::max(amplitude, static_cast<float>(std::fabs(smooth[li][i] - line(li, i))));
    }
  }
  d.p_amplitude = amplitude;
  d.p_agreement = BeatAgreement(input, ClampIndex(p_on - seconds(kPAgreementMargin), n),
                                ClampIndex(p_off + seconds(kPAgreementMargin), n));
  d.p_present = amplitude >= kMinPAmplitude && (p_off - p_on) >= seconds(kMinPDuration) &&
                d.p_agreement >= kMinPAgreement;
}

}  // namespace

bool FindQrs(const std::vector<std::vector<float>>& raw, const std::vector<std::vector<float>>& smooth,
             std::span<const size_t> leads, size_t fiducial, double rate, double& onset, double& offset,
             double slope_fraction) {
  size_t n = 0;
  for (size_t li : leads) n = std::max(n, smooth[li].size());
  if (n < 8 || fiducial >= n || leads.empty()) return false;
  std::vector<float> back, fwd, back_raw, fwd_raw;
  auto at = [&](double seconds) { return ClampIndex(static_cast<double>(fiducial) + seconds * rate, n); };
  OneSidedSlopes(smooth, leads, n, back, fwd);
  OneSidedSlopes(raw, leads, n, back_raw, fwd_raw);
  size_t peak = at(-kQrsPeakSearch);
  for (size_t i = peak, end = at(kQrsPeakSearch); i <= end; ++i) {
    if (back[i] > back[peak]) peak = i;
  }
  if (!(back[peak] > 0)) return false;

  const size_t window = std::max<size_t>(2, SamplesOf(kQuietWindowSeconds, rate));
  double floor_on = 0, noise_on = 0, floor_off = 0, noise_off = 0;
  double raw_floor_on = 0, raw_noise_on = 0, raw_floor_off = 0, raw_noise_off = 0;
  QuietLevel(back, at(-kOnsetQuietFrom), at(-kOnsetQuietTo), window, floor_on, noise_on);
  QuietLevel(fwd, at(kOffsetQuietFrom), at(kOffsetQuietTo), window, floor_off, noise_off);
  QuietLevel(back_raw, at(-kOnsetQuietFrom), at(-kOnsetQuietTo), window, raw_floor_on, raw_noise_on);
  QuietLevel(fwd_raw, at(kOffsetQuietFrom), at(kOffsetQuietTo), window, raw_floor_off, raw_noise_off);
  const double height = back[peak];
  const double thr_on = floor_on + std::max(kNoiseFactor * noise_on, slope_fraction * (height - floor_on));
  const double thr_off = floor_off + std::max(kNoiseFactor * noise_off, slope_fraction * (height - floor_off));
  // The low threshold also keeps a share of the high one, so that slow
  // activity around the complex (atrial waves left in the median) does
  // not carry the boundary away.
  const double low_on = std::max(raw_floor_on + kLowNoiseFactor * raw_noise_on, kLowShare * thr_on);
  const double low_off = std::max(raw_floor_off + kLowNoiseFactor * raw_noise_off, kLowShare * thr_off);
  const size_t quiet = std::max<size_t>(1, SamplesOf(kQuietSeconds, rate));
  const size_t reach = SamplesOf(kLowReachSeconds, rate);
  const size_t settle = SamplesOf(kQrsSmoothSeconds / 2.0, rate) + 1;

  // Onset: out of the complex until the smoothed slope stays under the
  // threshold for a while; then, on the unsmoothed slope, to where it sinks
  // into the noise of the quiet stretch (hysteresis).
  size_t run = 0;
  size_t c = 0;
  bool found = false;
  for (size_t i = peak; i >= 1; --i) {
    if (back[i] < thr_on) {
      if (++run >= quiet) {
        c = i + quiet - 1;
        found = true;
        break;
      }
    } else {
      run = 0;
    }
  }
  if (!found || c + 1 >= n) return false;
  {
    size_t i = c;
    if (back_raw[i] <= low_on) {
      // The smoothing spread the corner early: forward to the raw rise.
      const size_t stop = std::min(peak, c + settle);
      while (i < stop && back_raw[i + 1] <= low_on) ++i;
    } else {
      const size_t stop = c > reach ? c - reach : 0;
      while (i > stop && back_raw[i] > low_on) --i;
    }
    onset = back_raw[i] <= low_on && i + 1 < n && back_raw[i + 1] > low_on
                ? Crossing(back_raw, i, i + 1, low_on)
                : Crossing(back, c, c + 1, thr_on);
  }
  run = 0;
  found = false;
  for (size_t i = peak; i + 1 < n; ++i) {
    if (fwd[i] < thr_off) {
      if (++run >= quiet) {
        c = i + 1 - quiet;
        found = true;
        break;
      }
    } else {
      run = 0;
    }
  }
  if (!found || c == 0) return false;
  {
    size_t i = c;
    if (fwd_raw[i] <= low_off) {
      const size_t stop = c > settle ? std::max(peak, c - settle) : peak;
      while (i > stop && fwd_raw[i - 1] <= low_off) --i;
    } else {
      const size_t stop = std::min(n - 1, c + reach);
      while (i < stop && fwd_raw[i] > low_off) ++i;
    }
    if (fwd_raw[i] <= low_off && i > 0 && fwd_raw[i - 1] > low_off) {
      offset = Crossing(fwd_raw, i - 1, i, low_off);
      // The complex ends with a corner: the last steps out of it are each
      // the share of a full step still before the corner.
      if (i >= 3) {
        const double full = std::max(fwd_raw[i - 2], fwd_raw[i - 3]) - raw_floor_off;
        const double at = static_cast<double>(i - 1) + SlopeShare(fwd_raw[i - 1] - raw_floor_off, full) +
                          SlopeShare(fwd_raw[i] - raw_floor_off, full);
        offset = std::clamp(at, static_cast<double>(i - 1), static_cast<double>(i) + 1.0);
      }
    } else {
      offset = Crossing(fwd, c - 1, c, thr_off);
    }
  }
  return offset > onset;
}

Delineation Delineate(const DelineationInput& input) {
  Delineation d;
  if (input.medians == nullptr || input.leads.empty()) return d;
  const MedianBeats& m = *input.medians;
  const double rate = m.rate;
  const size_t n = m.length;
  if (n < 16) return d;
  for (size_t li : input.leads) {
    if (li >= m.leads.size() || m.leads[li].size() != n) return d;
  }

  for (size_t li : input.boundary_leads) {
    if (li >= m.leads.size() || m.leads[li].size() != n) return d;
  }
  const auto qrs_smooth = Averaged(m, input.boundary_leads.empty() ? input.leads : input.boundary_leads, kQrsSmoothSeconds);
  d.qrs_found = FindQrs(m.leads, qrs_smooth, input.leads, m.fiducial, rate, d.qrs_on, d.qrs_off, kSlopeFraction);
  if (!d.qrs_found) return d;

  // Each lead's level just before the QRS onset.
  const size_t on = ClampIndex(d.qrs_on, n);
  const size_t level_from = ClampIndex(d.qrs_on - kPLevelSeconds * rate, n);
  // (On the medians as they are: smoothed, the level would take in the
  // first few milliseconds of the complex.)
  std::vector<double> base(m.leads.size(), 0.0);
  for (size_t li : input.leads) base[li] = Mean(m.leads[li], level_from, on);

  // T end first within a share of the interval, or before the time a P
  // wave and PR interval take ahead of the next QRS; then the P wave after
  // it; then, once the next beat's P onset is known, the T end again if it
  // ran into that P wave.
  const auto t_smooth = Averaged(m, input.leads, kTSmoothSeconds);
  const double rr = input.rr_samples > 0 ? input.rr_samples : rate;
  FindT(input, t_smooth, base, d.qrs_on + std::max(kTShareOfInterval * rr, rr - kTBeforeNextQrs * rate), d);
  FindP(input, rr, d);
  if (d.p_present) {
    const double t_before = d.t_off;
    FindT(input, t_smooth, base, d.p_on + rr - kTBeforeNextP * rate, d);
    // A T end that moved moves the start of the P search with it.
    if (d.t_found && d.t_off != t_before) FindP(input, rr, d);
  }
  // The leads' own QRS boundaries last. Behind a P wave a clean PR segment
  // is what each lead's departure is judged against; without one, atrial
  // activity could carry a single lead's onset away, so an onset counts
  // only where a second lead confirms it, and the end stays the summed
  // slopes'.
  // Behind a P wave the PR segment is clean, so the onset may be looked for
  // again with half the slope threshold: the summed slope's first rise out
  // of a still segment, not where the complex is already well under way.
  // Not earlier than the P wave's end nor by more than the leads may move
  // it. (Without P waves atrial activity would carry a low threshold away;
  // the end keeps the usual threshold, as the ST segment is seldom still.)
  if (d.p_present) {
    double onset = 0, end = 0;
    if (FindQrs(m.leads, qrs_smooth, input.leads, m.fiducial, rate, onset, end, kOnsetFractionBehindP)) {
      const double before = d.qrs_on;
      d.qrs_on = std::clamp(onset, std::max(d.p_off, d.qrs_on - kLeadMaxShift * rate), d.qrs_on);
      if (d.qrs_on < before) FindP(input, rr, d);
    }
  }
  {
    const double before = d.qrs_on;
    const std::span<const size_t> boundary_leads = input.boundary_leads.empty()
                                                        ? std::span<const size_t>(input.leads)
                                                        : std::span<const size_t>(input.boundary_leads);
    RefineQrsByLeads(m, qrs_smooth, boundary_leads, d.p_present, d);
    // However the slopes placed it, the complex starts no more than a short
    // lead-in before a lead clearly leaves its level: a slope threshold
    // alone can follow atrial activity or noise in the PR segment back to
    // the P wave, where no lead has yet left its level by an amount one
    // would see.
    const double clear = ClearDeparture(m, boundary_leads, d.qrs_on, d.qrs_off);
    if (clear >= 0) d.qrs_on = std::max(d.qrs_on, clear - kLeadInSeconds * rate);
    // The P wave ends before the complex that now starts elsewhere.
    if (d.p_present && d.qrs_on != before) FindP(input, rr, d);
  }
  if (!(d.qrs_off > d.qrs_on)) d.qrs_found = d.t_found = d.p_present = false;
  return d;
}

}  // namespace ecg::engine
