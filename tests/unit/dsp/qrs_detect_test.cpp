// The QRS detector on synthetic lead II signals: rates across the clinical
// range, time-outs, candidates that are too early, too narrow or too wide,
// and the limits of the adaptive threshold.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "dsp/qrs_detect.h"
#include "synthetic_ecg.h"

namespace {

using ecg::test::MakeSyntheticEcg;
using ecg::test::SyntheticEcgOptions;

struct Fed {
  std::vector<size_t> beats;  // samples on which a beat was accepted
  double rate = -1.0;         // the last rate written
};

Fed Feed(CQRSDetect& detector, const std::vector<int16_t>& samples, size_t offset = 0) {
  Fed fed;
  for (size_t i = 0; i < samples.size(); ++i) {
    if (detector.QrsDetect(samples[i], fed.rate)) fed.beats.push_back(offset + i);
  }
  return fed;
}

class SyntheticRates : public ::testing::TestWithParam<double> {};

TEST_P(SyntheticRates, RateIsRightWithinOneBeatPerMinuteAndEveryBeatIsFound) {
  const double bpm = GetParam();
  SyntheticEcgOptions options;
  options.bpm = bpm;
  options.seconds = 30.0;
  const auto ecg = MakeSyntheticEcg(options);
  CQRSDetect detector;
  const Fed fed = Feed(detector, ecg.samples);

  EXPECT_NEAR(fed.rate, bpm, 1.0);
  EXPECT_NEAR(detector.HeartRate(), bpm, 1.0);
  EXPECT_NEAR(detector.GetLastRRms(), 60000.0 / bpm, 8.0);

  // After a settling time every R peak gives exactly one beat, a little
  // after the peak (the end of the complex must be seen first), and every
  // beat follows an R peak.
  const size_t settled = 5 * 250;
  auto beat_after = [&](size_t peak) {
    return std::count_if(fed.beats.begin(), fed.beats.end(),
                         [&](size_t b) { return b > peak && b < peak + 60; });
  };
  auto peak_before = [&](size_t beat) {
    return std::count_if(ecg.r_peaks.begin(), ecg.r_peaks.end(),
                         [&](size_t p) { return p < beat && p + 60 > beat; });
  };
  int checked = 0;
  for (size_t p : ecg.r_peaks) {
    if (p < settled || p + 60 >= ecg.samples.size()) continue;
    EXPECT_EQ(beat_after(p), 1) << "R peak at " << p;
    ++checked;
  }
  EXPECT_GE(checked, static_cast<int>(bpm / 3));
  for (size_t b : fed.beats) {
    if (b >= settled) {
      EXPECT_EQ(peak_before(b), 1) << "beat at " << b;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(FortyToTwoHundred, SyntheticRates,
                         ::testing::Values(40.0, 45.0, 52.0, 60.0, 72.0, 90.0, 110.0, 130.0,
                                           150.0, 170.0, 185.0, 200.0));

TEST(QrsDetect, NoiseWanderAndInvertedComplexesStillGiveTheRate) {
  SyntheticEcgOptions options;
  options.bpm = 75.0;
  options.seconds = 30.0;
  options.noise_uv = 40.0;
  options.wander_uv = 400.0;
  {
    CQRSDetect detector;
    EXPECT_NEAR(Feed(detector, MakeSyntheticEcg(options).samples).rate, 75.0, 1.0);
  }
  options.r_mv = -1.0;
  {
    CQRSDetect detector;
    EXPECT_NEAR(Feed(detector, MakeSyntheticEcg(options).samples).rate, 75.0, 1.0);
  }
}

TEST(QrsDetect, FlatSignalGivesNoBeatsAndTimesOutEvery518Samples) {
  CQRSDetect detector;
  double rate = -1.0;
  for (int i = 0; i < 4 * 518 + 10; ++i) {
    ASSERT_FALSE(detector.QrsDetect(2048, rate)) << "sample " << i;
  }
  EXPECT_EQ(rate, 0.0);
  for (int i = 0; i < CQRSDetect::kHistoryLength; ++i) {
    EXPECT_EQ(detector.RRHistory(i), CQRSDetect::kInvalid);
  }
  EXPECT_EQ(detector.GetLastRRms(), CQRSDetect::kInvalid);
  // Each time-out lowers the threshold by an eighth, down to the minimum.
  for (int i = 0; i < 30 * 518; ++i) detector.QrsDetect(2048, rate);
  EXPECT_EQ(detector.Threshold(), CQRSDetect::kMinThreshold);
}

TEST(QrsDetect, RateDropsToZeroExactlyAtTheFourthTimeOutAfterTheLastBeat) {
  SyntheticEcgOptions options;
  options.bpm = 60.0;
  options.seconds = 10.0;
  options.noise_uv = 0.0;
  auto ecg = MakeSyntheticEcg(options);
  CQRSDetect detector;
  Fed fed = Feed(detector, ecg.samples);
  ASSERT_FALSE(fed.beats.empty());
  ASSERT_NEAR(fed.rate, 60.0, 1.0);
  const size_t last_beat = fed.beats.back();

  // Flat from here on: the k-th sample after the last beat sees counter k.
  double rate = fed.rate;
  for (size_t i = ecg.samples.size(); i < last_beat + 4 * 518; ++i) {
    ASSERT_FALSE(detector.QrsDetect(2048, rate));
    const size_t k = i - last_beat;
    if (k >= 518 && k < 4 * 518) {
      ASSERT_GT(rate, 0.0) << "k=" << k;  // one valid interval is still among the newest four
    }
  }
  detector.QrsDetect(2048, rate);  // k = 4 × 518
  EXPECT_EQ(rate, 0.0);
  EXPECT_EQ(detector.RRHistory(4), 250);  // the last valid interval, now fifth
}

// Regular beats at 60 bpm with one extra complex 60 samples after an R peak.
struct EarlyRun {
  Fed fed;
  std::vector<size_t> r_peaks;
  size_t extra_at;
  std::vector<int32_t> last_rr_after_peak;  // GetLastRRms 50 samples after each peak
};

EarlyRun RunWithExtraComplex(double extra_r_mv) {
  SyntheticEcgOptions options;
  options.bpm = 60.0;
  options.seconds = 16.0;
  options.noise_uv = 5.0;
  auto ecg = MakeSyntheticEcg(options);
  EarlyRun run;
  run.r_peaks = ecg.r_peaks;
  run.extra_at = ecg.r_peaks[10] + 60;
  ecg::test::AddQrs(ecg.samples, 250.0, run.extra_at, extra_r_mv);
  CQRSDetect detector;
  size_t next_peak = 0;
  for (size_t i = 0; i < ecg.samples.size(); ++i) {
    if (detector.QrsDetect(ecg.samples[i], run.fed.rate)) run.fed.beats.push_back(i);
    if (next_peak < ecg.r_peaks.size() && i == ecg.r_peaks[next_peak] + 50) {
      run.last_rr_after_peak.push_back(detector.GetLastRRms());
      ++next_peak;
    }
  }
  return run;
}

TEST(QrsDetect, SamePolarityComplexTooEarlyIsNoBeatAndSpoilsTheInterval) {
  const EarlyRun run = RunWithExtraComplex(1.2);
  for (size_t b : run.fed.beats) {
    EXPECT_FALSE(b > run.extra_at && b < run.extra_at + 60) << "extra complex taken as a beat";
  }
  // Peak 10 is followed by the extra complex: the interval ending at peak 11
  // is not valid, the one ending at peak 12 is again.
  ASSERT_GT(run.last_rr_after_peak.size(), 12u);
  EXPECT_EQ(run.last_rr_after_peak[10], 1000);
  EXPECT_EQ(run.last_rr_after_peak[11], CQRSDetect::kInvalid);
  EXPECT_EQ(run.last_rr_after_peak[12], 1000);
}

TEST(QrsDetect, OppositePolarityComplexTooEarlyKeepsTheInterval) {
  const EarlyRun run = RunWithExtraComplex(-1.2);
  for (size_t b : run.fed.beats) {
    EXPECT_FALSE(b > run.extra_at && b < run.extra_at + 60) << "extra complex taken as a beat";
  }
  ASSERT_GT(run.last_rr_after_peak.size(), 12u);
  EXPECT_EQ(run.last_rr_after_peak[11], 1000);
  EXPECT_EQ(run.last_rr_after_peak[12], 1000);
}

TEST(QrsDetect, NarrowSpikeIsDroppedWithoutTouchingTheThreshold) {
  CQRSDetect detector;
  double rate = 0.0;
  for (int i = 0; i < 100; ++i) detector.QrsDetect(2048, rate);
  const int32_t threshold = detector.Threshold();
  // One sample off the line: the slope filter spreads it over ten samples,
  // still shorter than the narrowest QRS complex.
  std::vector<int16_t> spike(200, 2048);
  spike[20] = 2048 + 500;
  for (int16_t s : spike) {
    ASSERT_FALSE(detector.QrsDetect(s, rate));
    ASSERT_LE(std::abs(detector.LastSlope()), 6 * 500);
  }
  EXPECT_EQ(detector.Threshold(), threshold);
  EXPECT_EQ(detector.RRHistory(0), CQRSDetect::kInvalid);
  EXPECT_EQ(detector.RRHistory(1), CQRSDetect::kInvalid);
}

TEST(QrsDetect, ThresholdStaysWithinItsLimitsAfterEveryBeat) {
  for (double r_mv : {0.22, 0.5, 1.5, 5.5}) {
    SCOPED_TRACE(r_mv);
    SyntheticEcgOptions options;
    options.bpm = 80.0;
    options.seconds = 40.0;
    options.r_mv = r_mv;
    options.noise_uv = 3.0;
    const auto ecg = MakeSyntheticEcg(options);
    CQRSDetect detector;
    double rate = 0.0;
    int beats = 0;
    int32_t lowest = CQRSDetect::kMaxThreshold, highest = 0;
    for (int16_t s : ecg.samples) {
      if (detector.QrsDetect(s, rate)) {
        ++beats;
        lowest = std::min(lowest, detector.Threshold());
        highest = std::max(highest, detector.Threshold());
      }
    }
    ASSERT_GT(beats, 20);
    EXPECT_GE(lowest, CQRSDetect::kMinThreshold);
    EXPECT_LE(highest, CQRSDetect::kMaxThreshold);
    if (r_mv < 0.3) {
      EXPECT_EQ(detector.Threshold(), CQRSDetect::kMinThreshold);
    }
    if (r_mv > 5.0) {
      EXPECT_EQ(detector.Threshold(), CQRSDetect::kMaxThreshold);
    }
    EXPECT_NEAR(rate, 80.0, 1.0);
  }
}

TEST(QrsDetect, ResetForgetsEverything) {
  SyntheticEcgOptions options;
  options.bpm = 100.0;
  options.seconds = 8.0;
  const auto ecg = MakeSyntheticEcg(options);
  CQRSDetect used;
  Feed(used, ecg.samples);
  ASSERT_NE(used.GetLastRRms(), CQRSDetect::kInvalid);
  used.Reset();
  EXPECT_EQ(used.GetLastRRms(), CQRSDetect::kInvalid);
  EXPECT_EQ(used.Threshold(), CQRSDetect::kInitialThreshold);
  EXPECT_EQ(used.HeartRate(), 0.0);
  // From here it behaves exactly as a new detector.
  CQRSDetect fresh;
  double a = 0.0, b = 0.0;
  for (int16_t s : ecg.samples) {
    ASSERT_EQ(used.QrsDetect(s, a), fresh.QrsDetect(s, b));
    ASSERT_EQ(a, b);
  }
}

TEST(QrsDetect, StartsWithTheDescribedThreshold) {
  EXPECT_EQ(CQRSDetect::kInitialThreshold, 1469);
  CQRSDetect detector;
  EXPECT_EQ(detector.Threshold(), 1469);
  double rate = 5.0;
  detector.QrsDetect(2048, rate);  // the first sample is a time-out
  EXPECT_EQ(detector.Threshold(), 1469 - (1469 >> 3));
  EXPECT_EQ(rate, 0.0);
}

}  // namespace
