// The filter template against a plain difference equation, its per-channel
// independence and its conversion of the result back to samples.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "dsp/display_filters.h"
#include "dsp/filter_designs.h"
#include "dsp/iir_sample_filter.h"

namespace {

// y[n] = sum b[k] x[n-k] - sum a[k] y[n-k], in doubles, as a reference.
template <unsigned N>
std::vector<double> DirectFormOne(const double (&b)[N + 1], const double (&a)[N + 1],
                                  const std::vector<short>& x) {
  std::vector<double> y(x.size(), 0.0);
  for (size_t n = 0; n < x.size(); ++n) {
    double acc = 0.0;
    for (unsigned k = 0; k <= N; ++k) {
      if (n >= k) acc += b[k] * x[n - k];
      if (k > 0 && n >= k) acc -= a[k] * y[n - k];
    }
    y[n] = acc;
  }
  return y;
}

std::vector<short> NoisySignal(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> noise(-300, 300);
  std::vector<short> x(n);
  for (size_t i = 0; i < n; ++i) {
    x[i] = static_cast<short>(800 * std::sin(0.05 * static_cast<double>(i)) + noise(rng));
  }
  return x;
}

TEST(IirSampleFilter, MatchesTheDifferenceEquationForEveryDisplayFilter) {
  const auto& design = ecg::dsp::GetFilterDesign(0);
  const auto x = NoisySignal(3000, 1);

  auto check = [&](auto& filter, const std::vector<double>& expected, bool subtract) {
    for (size_t n = 0; n < x.size(); ++n) {
      short v[kFilterChannels];
      for (auto& s : v) s = x[n];
      filter.Filter(v);
      const double want = subtract ? x[n] - expected[n] : expected[n];
      // Only the final truncation separates the two.
      ASSERT_LE(std::fabs(v[0] - std::trunc(want)), 1.0) << "sample " << n;
    }
  };
  CMuscleFilter muscle;
  muscle.SetUp(design);
  check(muscle, DirectFormOne<4>(design.muscle_b, design.muscle_a, x), false);
  CPowerFilter notch;
  notch.SetUp(design, 60);
  check(notch, DirectFormOne<4>(design.notch60_b, design.notch60_a, x), false);
  CBaselineFilter baseline;
  baseline.SetUp(design);
  EXPECT_TRUE(baseline.IsSubtract());
  check(baseline, DirectFormOne<2>(design.baseline_b, design.baseline_a, x), true);
}

TEST(IirSampleFilter, ChannelsAreFilteredIndependently) {
  const auto& design = ecg::dsp::GetFilterDesign(1);
  CMuscleFilter all;
  all.SetUp(design);
  std::vector<CMuscleFilter> single(kFilterChannels);
  for (auto& f : single) f.SetUp(design);
  std::vector<std::vector<short>> signals;
  for (unsigned c = 0; c < kFilterChannels; ++c) signals.push_back(NoisySignal(500, 10 + c));

  for (size_t n = 0; n < 500; ++n) {
    short v[kFilterChannels];
    for (unsigned c = 0; c < kFilterChannels; ++c) v[c] = signals[c][n];
    all.Filter(v);
    for (unsigned c = 0; c < kFilterChannels; ++c) {
      // The channel alone, in slot 0 of a filter of its own.
      short alone[kFilterChannels] = {};
      alone[0] = signals[c][n];
      single[c].Filter(alone);
      ASSERT_EQ(v[c], alone[0]) << "channel " << c << " sample " << n;
    }
  }
}

TEST(IirSampleFilter, ResultsTruncateTowardZeroAndSaturate) {
  CIIRSampleFilter<short, 2, 1> half;
  const double b[2] = {0.5, 0.0};
  const double a[2] = {1.0, 0.0};
  half.SetCoefficients(b, a);
  short v[2] = {3, -3};
  half.Filter(v);
  EXPECT_EQ(v[0], 1);
  EXPECT_EQ(v[1], -1);  // toward zero, not down to -2

  CIIRSampleFilter<short, 2, 1> gain;
  const double big[2] = {100.0, 0.0};
  gain.SetCoefficients(big, a);
  short w[2] = {1000, -1000};
  gain.Filter(w);
  EXPECT_EQ(w[0], 32767);
  EXPECT_EQ(w[1], -32768);
}

TEST(IirSampleFilter, ClearingTheDelayLinesForgetsThePast) {
  const auto& design = ecg::dsp::GetFilterDesign(0);
  CMuscleFilter used, fresh;
  used.SetUp(design);
  fresh.SetUp(design);
  for (int n = 0; n < 37; ++n) {  // leaves the shared index mid-line
    short v[kFilterChannels] = {1000, -500, 0, 0, 0, 0, 0, 7};
    used.Filter(v);
  }
  used.ClearDelayLines();
  const auto x = NoisySignal(200, 3);
  for (short s : x) {
    short a[kFilterChannels], b[kFilterChannels];
    for (unsigned c = 0; c < kFilterChannels; ++c) a[c] = b[c] = s;
    used.Filter(a);
    fresh.Filter(b);
    ASSERT_EQ(a[0], b[0]);
    ASSERT_EQ(a[7], b[7]);
  }
}

}  // namespace
