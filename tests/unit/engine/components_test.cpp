// The engine's building blocks on inputs whose answers are known: filters,
// the spline baseline, medians, wave morphology, axes, lead quality; and
// the evaluation program's reference reader.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "engine/axes.h"
#include "engine/baseline.h"
#include "engine/delineation.h"
#include "engine/ecg_signal.h"
#include "engine/eval/json_value.h"
#include "engine/eval/ludb_reference.h"
#include "engine/filters.h"
#include "engine/lead_measurements.h"
#include "engine/lead_quality.h"
#include "engine/median_beats.h"

namespace ecg::test::engine {
namespace {

using namespace ecg::engine;
using namespace ecg::engine::eval;

double Rms(const std::vector<float>& v, size_t from, size_t to) {
  double sum = 0;
  for (size_t i = from; i < to; ++i) sum += double{v[i]} * v[i];
  return std::sqrt(sum / static_cast<double>(to - from));
}

std::vector<float> Sine(double hz, double rate, size_t n, double amplitude = 1.0) {
  std::vector<float> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<float>(amplitude * std::sin(2 * std::numbers::pi * hz * i / rate));
  return v;
}

TEST(EngineFilters, ButterworthCornersPassHalfThePower) {
  const double rate = 500;
  for (double corner : {1.0, 20.0, 40.0}) {
    std::vector<float> low = Sine(corner, rate, 20000), high = low;
    // One pass each way: the corner is 3 dB down twice, so a quarter power.
    FilterZeroPhase(low, {ButterworthLowPass(corner, rate)});
    FilterZeroPhase(high, {ButterworthHighPass(corner, rate)});
    EXPECT_NEAR(Rms(low, 5000, 15000), 0.5 / std::sqrt(2.0), 0.01) << corner;
    EXPECT_NEAR(Rms(high, 5000, 15000), 0.5 / std::sqrt(2.0), 0.01) << corner;
  }
  std::vector<float> far = Sine(100, rate, 20000);
  FilterZeroPhase(far, {ButterworthLowPass(10, rate)});
  EXPECT_LT(Rms(far, 5000, 15000), 0.001);
}

TEST(EngineFilters, ZeroPhaseKeepsASymmetricPulseInPlace) {
  std::vector<float> pulse(1001, 0.0f);
  for (int i = -20; i <= 20; ++i) pulse[500 + i] = static_cast<float>(1.0 - std::abs(i) / 20.0);
  FilterZeroPhase(pulse, {ButterworthLowPass(25, 500), ButterworthHighPass(1, 500)});
  const auto peak = std::max_element(pulse.begin(), pulse.end()) - pulse.begin();
  EXPECT_EQ(peak, 500);
  EXPECT_NEAR(pulse[480], pulse[520], 1e-4);
}

TEST(EngineFilters, StartsFromTheFirstSampleWithoutRinging) {
  std::vector<float> level(2000, 700.0f);
  FilterZeroPhase(level, {ButterworthLowPass(20, 500)});
  for (float v : level) EXPECT_NEAR(v, 700.0f, 0.05f);
  std::vector<float> offset(2000, 700.0f);
  FilterZeroPhase(offset, {ButterworthHighPass(0.5, 500)});
  for (float v : offset) EXPECT_NEAR(v, 0.0f, 0.05f);
}

TEST(EngineFilters, CornersAtOrAboveTheLimitPassEverything) {
  std::vector<float> v = Sine(100, 250, 1000), kept = v;
  FilterZeroPhase(v, {ButterworthLowPass(120, 250)});
  EXPECT_EQ(v, kept);
}

TEST(EngineFilters, MovingAverageAndOrderStatistics) {
  const std::vector<float> v = {1, 2, 3, 4, 5, 6};
  std::vector<float> out(6);
  MovingAverage(v, 3, out);
  EXPECT_EQ(out, (std::vector<float>{1.5f, 2, 3, 4, 5, 5.5f}));
  std::vector<float> scratch;
  EXPECT_EQ(Quantile(v, 0.0, scratch), 1);
  EXPECT_EQ(Quantile(v, 1.0, scratch), 6);
  EXPECT_EQ(Quantile({}, 0.5, scratch), 0);
  std::vector<float> odd = {5, 1, 3}, even = {4, 1, 3, 2};
  EXPECT_EQ(MedianInPlace(odd), 3);
  EXPECT_EQ(MedianInPlace(even), 2.5f);
}

TEST(EngineBaseline, TheSplinePassesThroughItsKnotsAndHoldsBeyondThem) {
  const std::vector<double> x = {100, 300, 700, 900}, y = {10, -20, 35, 5};
  std::vector<float> out(1000);
  EvaluateSpline(x, y, out);
  for (size_t k = 0; k < x.size(); ++k) EXPECT_NEAR(out[static_cast<size_t>(x[k])], y[k], 1e-3);
  EXPECT_NEAR(out[0], 10, 1e-6);
  EXPECT_NEAR(out[999], 5, 1e-6);
  // A straight line through the knots is reproduced between them.
  const std::vector<double> line = {0, 200, 600, 800};
  EvaluateSpline(x, line, out);
  EXPECT_NEAR(out[500], 400, 1e-2);
  EXPECT_NEAR(out[200], 100, 1e-2);
}

TEST(EngineBaseline, KnotLevelsAverageAroundEachPositionInsideTheLead) {
  std::vector<float> lead(100);
  for (size_t i = 0; i < lead.size(); ++i) lead[i] = static_cast<float>(i);
  std::vector<double> x, y;
  const std::vector<size_t> at = {0, 50, 50, 99, 150};
  KnotLevels(lead, at, 2, x, y);
  EXPECT_EQ(x, (std::vector<double>{0, 50, 99}));
  EXPECT_NEAR(y[0], 1.0, 1e-9);   // 0, 1, 2
  EXPECT_NEAR(y[1], 50.0, 1e-9);
  EXPECT_NEAR(y[2], 98.0, 1e-9);  // 97, 98, 99
}

TEST(EngineMedians, TheMedianIgnoresAnOutlierBeatAndFlaggedSamples) {
  std::vector<float> lead(1000, 0.0f);
  const std::vector<size_t> fiducials = {100, 300, 500, 700, 900};
  for (size_t f : fiducials) lead[f] = 10.0f;
  lead[502] = 999.0f;  // one beat disturbed
  Lead flags;
  flags.invalid.assign(1000, 0);
  lead[301] = 777.0f;
  flags.invalid[301] = 1;
  std::vector<float> out;
  MedianOfWindows(lead, &flags, fiducials, 4, 10, out);
  ASSERT_EQ(out.size(), 10u);
  EXPECT_EQ(out[4], 10.0f);
  EXPECT_EQ(out[6], 0.0f);
  EXPECT_EQ(out[5], 0.0f);
  // A window reaching before the record holds its first covered value's
  // predecessor (nothing: 0) instead of reading outside the lead.
  lead[2] = 33.0f;
  MedianOfWindows(lead, nullptr, std::vector<size_t>{2}, 4, 10, out);
  EXPECT_EQ(out[0], 0.0f);
  EXPECT_EQ(out[1], 0.0f);
  EXPECT_EQ(out[2], 0.0f);  // lead[0]
  EXPECT_EQ(out[4], 33.0f);
}

// Beats of known shape for the delineation: a QRS of 80 ms from `qrs_on`
// and a T wave of `t_uv` ending `qt` seconds after it (a cosine rise, then a
// straight fall with a corner at the end), every lead alike, plus `noise`
// (µV, slow: 3-8 Hz) in lead `noisy_lead` over the ST-T part of the beat,
// new in every beat.
struct DelineationCase {
  double rate = 500;
  double rr = 1.0;       // seconds
  double qt = 0.40;
  double t_uv = 30;
  double noise = 0;
  size_t noisy_lead = 3;
  double noise_from = 0.05;  // after the complex
  // A P wave of `p_uv` (100 ms, ending 60 ms before the QRS) in every lead;
  // lead 0 leaving its level `early` seconds before the others with a slow
  // straight deflection to -`early_uv` that the complex then takes back.
  double p_uv = 0;
  double early = 0;
  double early_uv = 30;
  // Leads 1..`tail_leads` not back at their level when the others are: a
  // further half sine wave of -`tail_uv` lasting `tail` seconds.
  size_t tail_leads = 0;
  double tail = 0.05;
  double tail_uv = 100;
  // A ripple of `ripple_uv` at `ripple_hz` over the `ripple` seconds before
  // the complex, in every lead and alike in every beat (so the median keeps
  // it): activity in the PR segment that no lead leaves its level by.
  double ripple = 0;
  double ripple_uv = 6;
  double ripple_hz = 40;
  // Each lead's T wave ending this much later than `qt` (seconds), and
  // its height where it is not `t_uv`.
  std::vector<double> t_later;
  std::vector<double> t_uv_of;
  // Each lead's U wave: a half sine wave of this height (µV), 160 ms long,
  // from 40 ms after the lead's T end (its peak 190 ms after the T peak).
  std::vector<double> u_uv_of;
};

struct DelineationBench {
  MedianBeats medians;
  std::vector<std::vector<float>> corrected;
  std::vector<size_t> fiducials;
  DelineationInput input;
  double qrs_on = 0;  // sample of the median beat
};

void BuildDelineationBench(const DelineationCase& c, DelineationBench& b) {
  constexpr size_t kLeads = 4, kBeats = 9;
  const auto beat_len = static_cast<size_t>(std::lround(c.rr * c.rate));
  const size_t n = beat_len * (kBeats + 2);
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  b.corrected.assign(kLeads, std::vector<float>(n, 0.0f));
  b.fiducials.clear();
  const double qrs = 0.08, t_width = 0.18;
  for (size_t k = 1; k <= kBeats; ++k) {
    const double on = static_cast<double>(k * beat_len) / c.rate;
    b.fiducials.push_back(static_cast<size_t>(std::lround((on + qrs / 2) * c.rate)));
    double phase[3], hz[3];
    for (int j = 0; j < 3; ++j) {
      phase[j] = 2 * std::numbers::pi * unit(rng);
      hz[j] = 3.0 + 5.0 * unit(rng);
    }
    for (size_t i = k * beat_len; i < (k + 1) * beat_len; ++i) {
      const double t = static_cast<double>(i) / c.rate - on;
      double v = 0;
      if (t >= 0 && t <= qrs) v = 1000.0 * std::sin(std::numbers::pi * t / qrs);
      const auto t_wave = [&](double qt, double uv) {
        const double t_from = qt - t_width, rise = 0.6 * t_width;
        if (t >= t_from && t < t_from + rise) return uv * 0.5 * (1 - std::cos(std::numbers::pi * (t - t_from) / rise));
        if (t >= t_from + rise && t <= qt) return uv * (qt - t) / (t_width - rise);
        return 0.0;
      };
      const auto u_wave = [&](double t_end, double uv) {
        const double from = t_end + 0.04, length = 0.16;
        return t >= from && t <= from + length ? uv * std::sin(std::numbers::pi * (t - from) / length) : 0.0;
      };
      // (Before the next beat's complex: time from its onset.)
      const double ahead = t - c.rr, p_from = -0.06 - 0.1;
      if (c.p_uv > 0 && ahead >= p_from && ahead < -0.06) {
        v += c.p_uv * 0.5 * (1 - std::cos(2 * std::numbers::pi * (ahead - p_from) / 0.1));
      }
      if (c.ripple > 0 && ahead >= -c.ripple && ahead < 0) {
        v += c.ripple_uv * std::sin(2 * std::numbers::pi * c.ripple_hz * (ahead + c.ripple));
      }
      double lead0 = 0;
      if (c.early > 0 && ahead >= -c.early) lead0 = -c.early_uv * (ahead + c.early) / c.early;
      if (c.early > 0 && t >= 0 && t <= qrs) lead0 = -c.early_uv * (1 - t / qrs);
      for (size_t li = 0; li < kLeads; ++li) {
        double noise = li == 0 ? lead0 : 0.0;
        if (li >= 1 && li <= c.tail_leads && t > qrs && t <= qrs + c.tail) {
          noise -= c.tail_uv * std::sin(std::numbers::pi * (t - qrs) / c.tail);
        }
        if (li == c.noisy_lead && c.noise > 0 && t > qrs + c.noise_from && t < 0.75 * c.rr) {
          for (int j = 0; j < 3; ++j) noise += c.noise / 3.0 * std::sin(2 * std::numbers::pi * hz[j] * t + phase[j]);
        }
        const double later = li < c.t_later.size() ? c.t_later[li] : 0.0;
        const double t_uv = li < c.t_uv_of.size() ? c.t_uv_of[li] : c.t_uv;
        const double u_uv = li < c.u_uv_of.size() ? c.u_uv_of[li] : 0.0;
        b.corrected[li][i] = static_cast<float>(v + t_wave(c.qt + later, t_uv) + u_wave(c.qt + later, u_uv) + noise);
      }
    }
  }
  b.medians.rate = c.rate;
  b.medians.length = static_cast<size_t>(std::lround(kMedianSeconds * c.rate));
  b.medians.fiducial = static_cast<size_t>(std::lround(kMedianFiducialSeconds * c.rate));
  b.medians.leads.resize(kLeads);
  for (size_t li = 0; li < kLeads; ++li) {
    MedianOfWindows(b.corrected[li], nullptr, b.fiducials, b.medians.fiducial, b.medians.length, b.medians.leads[li]);
  }
  b.qrs_on = static_cast<double>(b.medians.fiducial) - qrs / 2 * c.rate;
  b.input.medians = &b.medians;
  b.input.leads = {0, 1, 2, 3};
  b.input.rr_samples = c.rr * c.rate;
  b.input.corrected = &b.corrected;
  b.input.fiducials = b.fiducials;
}

double QtMs(const Delineation& d, double rate) { return (d.t_off - d.qrs_on) * 1000.0 / rate; }

// The case's beats, delineated from their medians.
Delineation DelineateCase(const DelineationCase& c, DelineationBench& b) {
  BuildDelineationBench(c, b);
  return Delineate(b.input);
}

// The plain beats at `rate` behind a P wave of 100 µV.
DelineationCase BehindAPWave(double rate) {
  DelineationCase c;
  c.rate = rate;
  c.p_uv = 100;
  return c;
}

// The leads' T end is the latest lead's where a second lead's lies within
// 20 ms of it, not a lone latest lead's; the global end is the mean of it
// and the end of the leads' RMS.
TEST(EngineDelineation, TheLatestTEndCountsWhereASecondLeadConfirmsIt) {
  for (double rate : {500.0, 250.0}) {
    SCOPED_TRACE(testing::Message() << rate << " Hz");
    const auto t_end = [&](std::vector<double> later) {
      DelineationCase c;
      c.rate = rate;
      c.t_uv = 200;
      c.t_later = std::move(later);
      DelineationBench b;
      const Delineation d = DelineateCase(c, b);
      EXPECT_TRUE(d.t_found);
      return d.t_off * 1000.0 / rate;
    };
    const double alike = t_end({});
    const double confirmed = t_end({0, 0, 0.012, 0.024});
    const double lone = t_end({0, 0, 0, 0.040});
    // Two leads 12 ms apart: the latest, in the leads' term and in the RMS
    // of the leads alike.
    EXPECT_NEAR(confirmed - alike, 24.0, 2.0);
    // A lone lead 40 ms late: the leads' term stays with the others, the
    // RMS of the leads (which it is part of) follows it; half of it.
    EXPECT_NEAR(lone - alike, 20.0, 2.0);
  }
}

// A low T wave counts as much as a tall one: two leads whose T waves of
// 40 µV (a fifth of the others') end 30 ms later carry the leads' end with
// them, and the RMS of the leads follows them too. Two leads whose T wave is
// flat and whose U wave is larger than it (60 µV, peaking 190 ms after the
// T waves) do not: a wave that peaks that late is no T wave.
TEST(EngineDelineation, LowLateTWavesCountButUWavesDoNot) {
  for (double rate : {500.0, 250.0}) {
    SCOPED_TRACE(testing::Message() << rate << " Hz");
    const auto qt = [&](DelineationCase c) {
      c.rate = rate;
      c.t_uv = 200;
      DelineationBench b;
      const Delineation d = DelineateCase(c, b);
      EXPECT_TRUE(d.t_found);
      return QtMs(d, rate);
    };
    DelineationCase low;
    low.t_uv_of = {200, 200, 40, 40};
    low.t_later = {0, 0, 0.03, 0.03};
    EXPECT_NEAR(qt(low), 430.0, 3.0);
    DelineationCase u;
    u.t_uv_of = {200, 200, 25, 25};
    u.u_uv_of = {0, 0, 60, 60};
    EXPECT_NEAR(qt(u), 400.0, 2.0);
  }
}

// T waves of 30 µV (3 % of the complex) that every beat shares are
// measured; their end is a corner, placed to within 2 ms at 500 and 250 Hz
// wherever it falls between samples.
TEST(EngineDelineation, LowTWavesTheBeatsShareAreMeasuredToTheirCorner) {
  for (double rate : {500.0, 250.0}) {
    for (double qt : {0.400, 0.401, 0.402, 0.403}) {
      SCOPED_TRACE(testing::Message() << rate << " Hz, QT " << qt);
      DelineationCase c;
      c.rate = rate;
      c.qt = qt;
      DelineationBench b;
      const Delineation d = DelineateCase(c, b);
      ASSERT_TRUE(d.qrs_found);
      EXPECT_NEAR(d.qrs_on, b.qrs_on, 0.5);
      ASSERT_TRUE(d.t_found);
      EXPECT_NEAR(QtMs(d, rate), qt * 1000.0, 2.0);
    }
  }
}

// Behind a P wave, a lead that leaves its level before the others, too
// slowly for the leads' summed slope, starts the complex (the global onset
// is the earliest lead's); by no more than 20 ms, and a calculated lead
// that is not among the summed ones counts too.
TEST(EngineDelineation, TheEarliestLeadStartsTheComplexWithinALimit) {
  for (double rate : {500.0, 250.0}) {
    SCOPED_TRACE(testing::Message() << rate << " Hz");
    DelineationCase c = BehindAPWave(rate);
    DelineationBench plain;
    const Delineation d0 = DelineateCase(c, plain);
    ASSERT_TRUE(d0.qrs_found);
    ASSERT_TRUE(d0.p_present);
    EXPECT_NEAR(d0.qrs_on, plain.qrs_on, 0.5);

    c.early = 0.012;
    DelineationBench early;
    const Delineation d1 = DelineateCase(c, early);
    ASSERT_TRUE(d1.p_present);
    EXPECT_NEAR(d1.qrs_on, early.qrs_on - c.early * rate, 0.5);
    // The end stays where the complex ends.
    EXPECT_NEAR(d1.qrs_off, d0.qrs_off, 0.5);

    // Only the summed leads 1-3; lead 0 as a calculated lead.
    early.input.leads = {1, 2, 3};
    early.input.boundary_leads = {0, 1, 2, 3};
    EXPECT_NEAR(Delineate(early.input).qrs_on, early.qrs_on - c.early * rate, 0.5);
    early.input.boundary_leads.clear();
    EXPECT_NEAR(Delineate(early.input).qrs_on, early.qrs_on, 0.5);

    c.early = 0.03;
    c.early_uv = 60;
    DelineationBench far;
    const Delineation d2 = DelineateCase(c, far);
    ASSERT_TRUE(d2.p_present);
    // 20 ms before the summed slopes' onset (which the slow deflection
    // delays a little), well after the lead's own 30 ms.
    EXPECT_GE(d2.qrs_on, far.qrs_on - 0.02 * rate - 0.5);
    EXPECT_LE(d2.qrs_on, far.qrs_on - 0.016 * rate);
  }
}

// A ripple in the PR segment (9 µV, under what any lead is seen to leave
// its level by) carries the slopes back towards the P wave, at 250 Hz by
// 27 ms; the complex starts no more than 20 ms before the first lead
// clearly leaves its level, and never after its true onset.
TEST(EngineDelineation, RippleInThePrSegmentDoesNotStartTheComplexFarAhead) {
  for (double rate : {250.0, 500.0, 1000.0}) {
    SCOPED_TRACE(testing::Message() << rate << " Hz");
    DelineationCase c = BehindAPWave(rate);
    c.ripple = 0.03;
    c.ripple_uv = 9;
    DelineationBench b;
    const Delineation d = DelineateCase(c, b);
    ASSERT_TRUE(d.qrs_found);
    ASSERT_TRUE(d.p_present);
    EXPECT_GE(d.qrs_on, b.qrs_on - 0.02 * rate - 0.5);
    EXPECT_LE(d.qrs_on, b.qrs_on + 0.5);
    // The P wave is still found ahead of the complex.
    EXPECT_LT(d.p_off, d.qrs_on);
  }
}

// Behind a P wave a lead whose own end lies far past every other lead's
// does not end the complex alone; where a second lead agrees, the complex
// ends later, by no more than 20 ms.
TEST(EngineDelineation, ALateEndCountsOnlyWhereASecondLeadConfirmsIt) {
  for (double rate : {500.0, 250.0}) {
    SCOPED_TRACE(testing::Message() << rate << " Hz");
    DelineationCase c = BehindAPWave(rate);
    DelineationBench plain;
    const Delineation d0 = DelineateCase(c, plain);
    ASSERT_TRUE(d0.p_present);

    c.tail_leads = 1;
    DelineationBench lone;
    const Delineation d1 = DelineateCase(c, lone);
    ASSERT_TRUE(d1.p_present);
    // (The summed slopes see a little of it.)
    EXPECT_LE(d1.qrs_off, d0.qrs_off + 0.006 * rate);

    c.tail_leads = 2;
    DelineationBench pair;
    const Delineation d2 = DelineateCase(c, pair);
    ASSERT_TRUE(d2.p_present);
    EXPECT_GE(d2.qrs_off, d0.qrs_off + 0.015 * rate);
    EXPECT_LE(d2.qrs_off, d0.qrs_off + 0.025 * rate);
  }
}

// Noise that one lead's beats carry from just after the complex keeps the
// summed slopes up well past its end; the clean leads, whose ends confirm
// each other, pull the end back by up to 20 ms (the limit either way).
TEST(EngineDelineation, ConfirmedLeadEndsPullALateSummedEndBackBy20Ms) {
  for (double rate : {500.0, 250.0, 1000.0}) {
    SCOPED_TRACE(testing::Message() << rate << " Hz");
    DelineationCase c = BehindAPWave(rate);
    DelineationBench clean;
    const Delineation d0 = DelineateCase(c, clean);
    ASSERT_TRUE(d0.p_present);

    c.noise = 800;
    c.noise_from = 0.005;
    DelineationBench noisy;
    const Delineation d = DelineateCase(c, noisy);
    ASSERT_TRUE(d.p_present);
    // The summed slopes' own end, on the medians smoothed over 10 ms as
    // the delineation smooths them.
    const auto half = static_cast<size_t>(std::lround(0.005 * rate));
    std::vector<std::vector<float>> smooth(noisy.medians.leads.size());
    for (size_t li = 0; li < smooth.size(); ++li) {
      smooth[li].resize(noisy.medians.leads[li].size());
      MovingAverage(noisy.medians.leads[li], 2 * half + 1, smooth[li]);
    }
    double summed_on = 0, summed_off = 0;
    ASSERT_TRUE(FindQrs(noisy.medians.leads, smooth, noisy.input.leads, noisy.medians.fiducial, rate, summed_on,
                        summed_off));
    ASSERT_GT(summed_off, d0.qrs_off + 0.02 * rate);
    EXPECT_NEAR(d.qrs_off, std::max(d0.qrs_off, summed_off - 0.02 * rate), 0.5);
  }
}

// Without P waves a single lead's early departure is taken for atrial
// activity: the complex starts where the leads' summed slope says.
TEST(EngineDelineation, WithoutPWavesALoneEarlyLeadDoesNotStartTheComplex) {
  for (double rate : {500.0, 250.0}) {
    SCOPED_TRACE(testing::Message() << rate << " Hz");
    DelineationCase c;
    c.rate = rate;
    c.early = 0.012;
    DelineationBench b;
    const Delineation d = DelineateCase(c, b);
    ASSERT_TRUE(d.qrs_found);
    ASSERT_FALSE(d.p_present);
    EXPECT_NEAR(d.qrs_on, b.qrs_on, 0.5);
  }
}

// A lead whose median still carries slow noise of the single beats, larger
// than the true T waves, does not place the T end: its beats do not agree
// with its median.
TEST(EngineDelineation, NoiseLeftInOneLeadsMedianDoesNotMoveTheTEnd) {
  DelineationCase c;
  c.noise = 240;
  DelineationBench b;
  const Delineation d = DelineateCase(c, b);
  ASSERT_TRUE(d.qrs_found);
  ASSERT_TRUE(d.t_found);
  EXPECT_NEAR(QtMs(d, c.rate), c.qt * 1000.0, 2.0);
  // The noise did survive in that lead's median, larger than the T waves.
  double largest = 0;
  const auto from = static_cast<size_t>(b.qrs_on + 0.2 * c.rate);
  for (size_t i = from; i < b.medians.length; ++i) largest = std::max(largest, double{std::fabs(b.medians.leads[3][i])});
  EXPECT_GT(largest, 2 * c.t_uv);
}

TEST(EngineWaves, MorphologyCodesFollowTheSignPattern) {
  auto wave = [](std::vector<double> lobes) {
    std::vector<float> v;
    for (double a : lobes) {
      for (int i = 0; i < 20; ++i) v.push_back(static_cast<float>(a * std::sin(std::numbers::pi * (i + 0.5) / 20)));
    }
    return v;
  };
  auto code = [&](std::vector<double> lobes, float threshold = 15) {
    const std::vector<float> v = wave(lobes);
    return MorphologyCode(v, 0, static_cast<double>(v.size() - 1), threshold);
  };
  EXPECT_EQ(code({100}), kMorphologyPositive);
  EXPECT_EQ(code({-100}), kMorphologyNegative);
  EXPECT_EQ(code({100, -60}), kMorphologyPositiveNegative);
  EXPECT_EQ(code({-60, 100}), kMorphologyNegativePositive);
  EXPECT_EQ(code({50, -50, 50}), kMorphologyPosNegPos);
  EXPECT_EQ(code({-50, 50, -50}), kMorphologyNegPosNeg);
  // A lobe under the threshold does not count; nothing at all is unknown.
  EXPECT_EQ(code({100, -10}), kMorphologyPositive);
  EXPECT_EQ(code({5}), kMorphologyUnknown);
}

TEST(EngineAxes, KnownFrontalVectorsGiveTheirAngles) {
  // A vector at angle a projects onto I as cos a and onto aVF as
  // (sqrt 3 / 2) sin a.
  for (int degrees : {-90, -30, 0, 45, 60, 90, 135, 180}) {
    const double a = degrees * std::numbers::pi / 180.0;
    const std::vector<float> one(50, static_cast<float>(400 * std::cos(a)));
    const std::vector<float> avf(50, static_cast<float>(400 * std::sqrt(3.0) / 2 * std::sin(a)));
    EXPECT_EQ(FrontalAxis(one, avf, 0, 49, 0, 0, 5), degrees == -180 ? 180 : degrees) << degrees;
  }
  const std::vector<float> tiny(50, 1.0f);
  EXPECT_EQ(FrontalAxis(tiny, tiny, 0, 49, 0, 0, 5), kAxisUndefined);
  EXPECT_EQ(FrontalAxis(tiny, tiny, 10, 5, 0, 0, 5), kAxisUndefined);
}

TEST(EngineQuality, FlatNoisyAndFlaggedLeads) {
  EcgSignal s;
  s.rate = 500;
  s.samples = 5000;
  Lead flat, noisy, off;
  flat.uv.assign(5000, 12.0f);
  noisy.uv = Sine(1.2, 500, 5000, 800);
  std::mt19937 rng(5);
  std::normal_distribution<float> gauss(0.0f, 60.0f);
  for (float& v : noisy.uv) v += gauss(rng);
  off.uv = Sine(1.2, 500, 5000, 800);
  off.invalid.assign(5000, 0);
  for (size_t i = 0; i < 2000; ++i) off.invalid[i] = 1;
  off.marker_count = 2000;
  s.leads = {flat, noisy, off};
  const std::vector<LeadQuality> q = AssessLeads(s);
  EXPECT_TRUE(q[0].flat);
  EXPECT_FALSE(q[0].usable());
  EXPECT_TRUE(q[0].Code(s.leads[0]) & kQualityRejected);
  EXPECT_FALSE(q[1].flat);
  EXPECT_NEAR(q[1].noise_uv, 60, 8);
  EXPECT_TRUE(q[1].Code(s.leads[1]) & kQualityNoise);
  EXPECT_TRUE(q[2].off);
  EXPECT_EQ(q[2].Code(s.leads[2]) & (kQualityMarkers | kQualityRejected), kQualityMarkers | kQualityRejected);
}

TEST(EngineEvalJson, ParsesTheReferenceLayout) {
  JsonValue v;
  std::string error;
  ASSERT_TRUE(ParseJson(R"({"a": [1, -2.5e1, true, null, "x\u00e9\n"], "b": {"c": {}}})", v, error)) << error;
  ASSERT_TRUE(v.IsObject());
  const JsonValue* a = v.Find("a");
  ASSERT_NE(a, nullptr);
  ASSERT_EQ(a->items().size(), 5u);
  EXPECT_EQ(a->items()[1].number(), -25);
  EXPECT_EQ(a->items()[4].text(), "x\xc3\xa9\n");
  EXPECT_EQ(v.Find("missing"), nullptr);
}

TEST(EngineEvalJson, RefusesBrokenDocumentsWithAPosition) {
  const char* broken[] = {"",          "{",         "[1,]",   "{\"a\" 1}", "\"abc",     "01x",
                          "[1] 2",     "{\"a\":}",  "nul",    "\"\\q\"",   "\"\\ud800\"", "1e999",
                          "[\"a\nb\"]"};
  for (const char* text : broken) {
    JsonValue v;
    std::string error;
    EXPECT_FALSE(ParseJson(text, v, error)) << text;
    EXPECT_NE(error.find("at byte"), std::string::npos) << text;
  }
  std::string deep(kMaxJsonDepth + 2, '[');
  deep += std::string(kMaxJsonDepth + 2, ']');
  JsonValue v;
  std::string error;
  EXPECT_FALSE(ParseJson(deep, v, error));
  EXPECT_NE(error.find("nesting"), std::string::npos);
}

TEST(EngineEvalReference, GroupsLeadMarksIntoBeats) {
  const char* text = R"({
    "fs": 500,
    "annotations": {
      "I":  {"P": [[80, 100, 130]], "QRS": [[150, 160, 190], [550, 560, 592]], "T": [[250, 300, 340]]},
      "V1": {"P": [[75, 98, 128]], "QRS": [[148, 158, 188], [552, 561, 590]], "T": [[260, 310, 345], [660, 700, 745]]}
    },
    "reference": {"qrs_peaks": [158, 561], "QRS_duration_ms": 84.0, "RR_ms": 806.0}
  })";
  JsonValue root;
  std::string error;
  ASSERT_TRUE(ParseJson(text, root, error)) << error;
  LudbReference ref;
  ASSERT_TRUE(LudbReferenceFromJson(root, ref, error)) << error;
  EXPECT_EQ(ref.qrs_ms, 84.0);
  EXPECT_FALSE(ref.pr_ms);
  const std::vector<ReferenceBeat> beats = ReferenceBeats(ref);
  ASSERT_EQ(beats.size(), 2u);
  EXPECT_EQ(beats[0].qrs_on, 148);
  EXPECT_EQ(beats[0].qrs_off, 190);
  EXPECT_EQ(beats[0].p_on, 75);
  EXPECT_EQ(beats[0].p_off, 130);
  EXPECT_EQ(beats[0].t_off, 345);
  EXPECT_EQ(beats[1].qrs_on, 550);
  EXPECT_FALSE(beats[1].p_on);
  EXPECT_EQ(beats[1].t_off, 745);
  int first = 0, last = 0;
  ASSERT_TRUE(AnnotatedSpan(ref, 37, first, last));
  EXPECT_EQ(first, 121);
  EXPECT_EQ(last, 598);
}

TEST(EngineEvalReference, RefusesFilesWithoutWhatItNeeds) {
  for (const char* text : {"[]", "{}", R"({"fs": 500})", R"({"fs": -1, "reference": {}})",
                           R"({"fs": 500, "reference": {"qrs_peaks": ["x"]}})",
                           R"({"fs": 500, "annotations": {"I": {"QRS": [[1, 2]]}}, "reference": {}})"}) {
    JsonValue root;
    std::string error;
    ASSERT_TRUE(ParseJson(text, root, error)) << text;
    LudbReference ref;
    EXPECT_FALSE(LudbReferenceFromJson(root, ref, error)) << text;
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace ecg::test::engine
