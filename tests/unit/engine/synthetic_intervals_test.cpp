// The engine on synthetic records whose fiducials are known exactly: the
// intervals it writes into Section 7 must be the ones the waves were built
// with, at every rate and in the conditions a resting ECG meets.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/axes.h"
#include "engine/lead_measurements.h"
#include "engine/lead_quality.h"
#include "engine_test_support.h"
#include "synthetic_record.h"

namespace ecg::test::engine {
namespace {

using ecg::engine::kBeatDominant;
using ecg::engine::kBeatEctopic;
using ecg::engine::kBeatNoise;
using ecg::engine::kBeatPremature;
using ecg::engine::kNotComputed;

constexpr uint16_t kMissing = static_cast<uint16_t>(kNotComputed);

void ExpectIntervals(const EngineRun& run, const WaveTimes& w, double tolerance_ms) {
  ASSERT_TRUE(run.status.ok()) << run.status.reason;
  ASSERT_TRUE(run.global_read);
  const SGlobalMeasurements& g = run.global;
  SCOPED_TRACE(testing::Message() << "P " << g.m_pOnset << "-" << g.m_pOffset << " QRS " << g.m_qrsOnset
                                  << "-" << g.m_qrsOffset << " T end " << g.m_tOffset);
  EXPECT_NEAR(g.QRSDuration(), w.qrs_duration_ms, tolerance_ms);
  EXPECT_NEAR(g.QTInterval(), w.qt_ms, tolerance_ms);
  if (w.p_present) {
    EXPECT_NEAR(g.PRInterval(), w.pr_ms, tolerance_ms);
    EXPECT_NEAR(g.PDuration(), w.p_duration_ms, tolerance_ms);
  }
}

// The QRS onset the engine placed in the median beat lies where the beats'
// true onsets lie relative to their fiducials.
void ExpectOnsetPlacedOnBeats(const EngineRun& run, const SyntheticRecord& record, double rate,
                              double tolerance_ms) {
  const auto& beats = run.analysis.result.beats.beats;
  const auto& m = run.analysis.result.medians;
  const double onset_ms = run.global.m_qrsOnset;
  size_t checked = 0;
  for (const auto& beat : beats) {
    if (beat.type != kBeatDominant) continue;
    // The synthetic beat whose onset is nearest this fiducial.
    double nearest = 1e9;
    for (double on : record.qrs_onsets_s) {
      const double rel_ms = (on * rate - static_cast<double>(beat.fiducial)) * 1000.0 / rate;
      if (std::fabs(rel_ms) < std::fabs(nearest)) nearest = rel_ms;
    }
    const double expected_ms = m.Ms(static_cast<double>(m.fiducial)) + nearest;
    EXPECT_NEAR(onset_ms, expected_ms, tolerance_ms);
    ++checked;
  }
  EXPECT_GE(checked, 3u);
}

struct RateCase {
  double rate;
  double tolerance_ms;
};

class EngineAtRate : public testing::TestWithParam<RateCase> {};

TEST_P(EngineAtRate, RecoversIntervalsAndBeats) {
  TempFolder folder;
  SyntheticSpec spec;
  spec.rate = GetParam().rate;
  const SyntheticRecord record = MakeSyntheticRecord(spec);
  const EngineRun run = RunEngine(folder, record.bytes);
  ExpectIntervals(run, spec.waves, GetParam().tolerance_ms);
  EXPECT_NEAR(run.global.m_rr, spec.rr_ms, 2.0);
  EXPECT_NEAR(run.global.m_pp, spec.rr_ms, 2.0);
  EXPECT_EQ(run.analysis.result.beats.beats.size(), record.qrs_onsets_s.size());
  ExpectOnsetPlacedOnBeats(run, record, spec.rate, GetParam().tolerance_ms);
  // The median beat is at the record's rate: 1.2 s.
  EXPECT_EQ(run.analysis.result.medians.length, static_cast<size_t>(std::lround(1.2 * spec.rate)));
}

INSTANTIATE_TEST_SUITE_P(Rates, EngineAtRate,
                         testing::Values(RateCase{500, 2.0}, RateCase{250, 2.0}, RateCase{1000, 2.0}),
                         [](const testing::TestParamInfo<RateCase>& info) {
                           return std::to_string(static_cast<int>(info.param.rate)) + "Hz";
                         });

struct ShapeCase {
  const char* name;
  WaveTimes waves;
  double rr_ms;
};

class EngineShapes : public testing::TestWithParam<ShapeCase> {};

TEST_P(EngineShapes, RecoversIntervals) {
  TempFolder folder;
  SyntheticSpec spec;
  spec.waves = GetParam().waves;
  spec.rr_ms = GetParam().rr_ms;
  ExpectIntervals(RunEngine(folder, MakeSyntheticRecord(spec).bytes), spec.waves, 2.0);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, EngineShapes,
    testing::Values(ShapeCase{"WideQrs", {true, 180, 90, 150, 440, 170}, 900},
                    ShapeCase{"LongPr", {true, 280, 110, 90, 400, 160}, 1000},
                    ShapeCase{"ShortPr", {true, 110, 80, 84, 360, 150}, 800},
                    ShapeCase{"LongQt", {true, 170, 100, 96, 560, 220}, 1300},
                    ShapeCase{"Tachycardia", {true, 120, 80, 80, 280, 120}, 500},
                    ShapeCase{"NarrowQrs", {true, 150, 90, 64, 370, 160}, 860},
                    // Long QTs (QTc near 570 and 600 ms) stay inside the
                    // T-end search however the interval bounds it.
                    ShapeCase{"LongQtAtAFastRate", {true, 140, 90, 90, 440, 200}, 650},
                    ShapeCase{"QtcOf600", {true, 160, 100, 90, 600, 240}, 1000}),
    [](const testing::TestParamInfo<ShapeCase>& info) { return std::string(info.param.name); });

// At 250 Hz a sample is 4 ms: boundaries that fall between samples (at a
// quarter, a half, three quarters of one) still come back within 2 ms, as
// the corners are placed to a fraction of a sample.
struct BetweenSamplesCase {
  const char* name;
  WaveTimes waves;
  double first_qrs_s;
};

class EngineBetweenSamples : public testing::TestWithParam<BetweenSamplesCase> {};

TEST_P(EngineBetweenSamples, RecoversIntervalsAt250Hz) {
  TempFolder folder;
  SyntheticSpec spec;
  spec.rate = 250;
  spec.waves = GetParam().waves;
  spec.first_qrs_s = GetParam().first_qrs_s;
  const SyntheticRecord record = MakeSyntheticRecord(spec);
  const EngineRun run = RunEngine(folder, record.bytes);
  ExpectIntervals(run, spec.waves, 2.0);
  ExpectOnsetPlacedOnBeats(run, record, spec.rate, 2.0);
}

INSTANTIATE_TEST_SUITE_P(
    Fractions, EngineBetweenSamples,
    testing::Values(BetweenSamplesCase{"Quarter", {true, 161, 101, 91, 381, 161}, 0.451},
                    BetweenSamplesCase{"Half", {true, 162, 98, 86, 386, 158}, 0.452},
                    BetweenSamplesCase{"ThreeQuarters", {true, 151, 95, 99, 403, 171}, 0.453},
                    BetweenSamplesCase{"Mixed", {true, 173, 113, 83, 397, 165}, 0.4505}),
    [](const testing::TestParamInfo<BetweenSamplesCase>& info) { return std::string(info.param.name); });

TEST(EngineSynthetic, InvertedTWavesKeepTheQtAndAreNegative) {
  TempFolder folder;
  SyntheticSpec spec;
  spec.invert_t = true;
  const EngineRun run = RunEngine(folder, MakeSyntheticRecord(spec).bytes);
  ExpectIntervals(run, spec.waves, 2.0);
  const auto& leads = run.analysis.result.leads;
  const auto& signal = run.analysis.signal;
  // Lead II's T wave was built upright and turned over.
  const auto& ii = leads[static_cast<size_t>(signal.slot[ecg::engine::kSlotII])];
  EXPECT_EQ(ii.m_tMorphology, ecg::engine::kMorphologyNegative);
  EXPECT_LT(ii.m_tMinusAmplitude, -200);
  EXPECT_EQ(ii.m_tPlusAmplitude, 0);
}

TEST(EngineSynthetic, NoPWavesInAnIrregularRhythmIsReportedAsNone) {
  TempFolder folder;
  SyntheticSpec spec;
  spec.fibrillation_uv = 40;
  spec.rr_jitter_ms = 160;
  spec.rr_ms = 700;
  const EngineRun run = RunEngine(folder, MakeSyntheticRecord(spec).bytes);
  ASSERT_TRUE(run.status.ok()) << run.status.reason;
  EXPECT_FALSE(run.analysis.result.delineation.p_present);
  EXPECT_EQ(run.global.m_pOnset, kMissing);
  EXPECT_EQ(run.global.m_pOffset, kMissing);
  EXPECT_EQ(run.global.m_pp, kMissing);
  EXPECT_EQ(run.global.m_pAxis, ecg::engine::kAxisUndefined);
  EXPECT_NEAR(run.global.QRSDuration(), spec.waves.qrs_duration_ms, 2.0);
  for (const auto& lead : run.analysis.result.leads) {
    EXPECT_EQ(lead.m_pDuration, ecg::engine::kWaveAbsent);
    EXPECT_EQ(lead.m_prInterval, ecg::engine::kWaveAbsent);
  }
  // Irregular: no beat is called premature.
  for (const auto& b : run.analysis.result.beats.beats) EXPECT_NE(b.type, kBeatPremature);
  EXPECT_NE(run.analysis.result.findings.find("No P waves found"), std::string::npos);
}

// Without P waves, narrow and wide complexes at every rate: a wide one
// starts with a small slow wave that the leads' own onsets find (at 250 Hz
// the stretch the leads' level is taken over once reached into it).
TEST(EngineSynthetic, PWavesAbsentInARegularRhythm) {
  for (const double rate : {250.0, 500.0, 1000.0}) {
    for (const double qrs_ms : {90.0, 150.0}) {
      SCOPED_TRACE(testing::Message() << rate << " Hz, QRS " << qrs_ms << " ms");
      TempFolder folder;
      SyntheticSpec spec;
      spec.rate = rate;
      spec.waves.p_present = false;
      spec.waves.qrs_duration_ms = qrs_ms;
      const EngineRun run = RunEngine(folder, MakeSyntheticRecord(spec).bytes);
      ASSERT_TRUE(run.status.ok()) << run.status.reason;
      EXPECT_FALSE(run.analysis.result.delineation.p_present);
      EXPECT_NEAR(run.global.QRSDuration(), qrs_ms, 2.0);
      EXPECT_NEAR(run.global.QTInterval(), spec.waves.qt_ms, 2.0);
    }
  }
}

TEST(EngineSynthetic, ModerateNoiseAndWanderStayWithinAFewMilliseconds) {
  TempFolder folder;
  SyntheticSpec spec;
  spec.noise_uv = 10;
  spec.wander_uv = 300;
  const EngineRun run = RunEngine(folder, MakeSyntheticRecord(spec).bytes);
  ASSERT_TRUE(run.status.ok()) << run.status.reason;
  const SGlobalMeasurements& g = run.global;
  EXPECT_NEAR(g.QRSDuration(), spec.waves.qrs_duration_ms, 4.0);
  EXPECT_NEAR(g.QTInterval(), spec.waves.qt_ms, 8.0);
  // In noise the P wave's corners are no longer found on the unsmoothed
  // median; the smoothed boundaries lie outside them.
  EXPECT_NEAR(g.PRInterval(), spec.waves.pr_ms, 15.0);
  EXPECT_NEAR(g.PDuration(), spec.waves.p_duration_ms, 30.0);
  EXPECT_GE(g.PDuration(), spec.waves.p_duration_ms - 4.0);
  // The spline baseline takes the wander out of the ST level.
  const auto& ii = run.analysis.result.leads[static_cast<size_t>(run.analysis.signal.slot[ecg::engine::kSlotII])];
  EXPECT_LT(std::abs(ii.m_stJ60), 40);
  EXPECT_TRUE(ii.m_qualityCode & ecg::engine::kQualityWander) << ii.m_qualityCode;
}

TEST(EngineSynthetic, NoiseBurstsDisturbNeitherDetectionNorMeasurement) {
  TempFolder folder;
  SyntheticSpec spec;
  spec.bursts = {{3.0, 1.2, 400}};
  const SyntheticRecord record = MakeSyntheticRecord(spec);
  const EngineRun run = RunEngine(folder, record.bytes);
  ExpectIntervals(run, spec.waves, 2.0);
  EXPECT_EQ(run.analysis.result.beats.beats.size(), record.qrs_onsets_s.size());
}

TEST(EngineSynthetic, ComplexesDrownedInNoiseAreKeptOutOfTheMedians) {
  TempFolder folder;
  SyntheticSpec spec;
  spec.bursts = {{3.0, 1.6, 1500}};
  const SyntheticRecord record = MakeSyntheticRecord(spec);
  const EngineRun run = RunEngine(folder, record.bytes);
  ExpectIntervals(run, spec.waves, 2.0);
  for (const auto& b : run.analysis.result.beats.beats) {
    const double t = static_cast<double>(b.fiducial) / spec.rate;
    if (t > 3.1 && t < 4.5) {
      EXPECT_NE(b.type, kBeatDominant) << "at " << t << " s";
    }
  }
  EXPECT_GE(run.analysis.result.beats.DominantCount(), 7u);
}

TEST(EngineSynthetic, EctopicAndPrematureBeatsAreTyped) {
  TempFolder folder;
  SyntheticSpec spec;
  spec.rr_ms = 850;
  spec.ectopic = {{4, 280, true}, {8, 240, false}};
  const SyntheticRecord record = MakeSyntheticRecord(spec);
  const EngineRun run = RunEngine(folder, record.bytes);
  ExpectIntervals(run, spec.waves, 2.0);
  const auto& beats = run.analysis.result.beats.beats;
  ASSERT_EQ(beats.size(), record.qrs_onsets_s.size());
  for (size_t i = 0; i < beats.size(); ++i) {
    const auto expected = i == 4 ? kBeatEctopic : (i == 8 ? kBeatPremature : kBeatDominant);
    EXPECT_EQ(beats[i].type, expected) << "beat " << i;
  }
  EXPECT_NE(run.analysis.result.findings.find("1 premature beat"), std::string::npos);
  EXPECT_NE(run.analysis.result.findings.find("1 beat of another QRS form"), std::string::npos);
}

// A complex the start or the end of the record cuts off is no complex of
// another form: too little of it is there to compare.
TEST(EngineSynthetic, AComplexCutOffByTheRecordsEdgeIsNotAnotherForm) {
  // The first QRS onset: the last complex starts 70, 50 or 30 ms before the
  // end; the first one 20 or 40 ms after the start.
  for (double first_onset_s : {9.93 - 9.6, 9.95 - 9.6, 9.97 - 9.6, 0.02, 0.04}) {
    SCOPED_TRACE(testing::Message() << "first QRS onset " << first_onset_s << " s");
    TempFolder folder;
    SyntheticSpec spec;
    spec.first_qrs_s = first_onset_s;
    const EngineRun run = RunEngine(folder, MakeSyntheticRecord(spec).bytes);
    ExpectIntervals(run, spec.waves, 2.0);
    const auto& beats = run.analysis.result.beats.beats;
    ASSERT_GE(beats.size(), 12u);
    for (const auto& beat : beats) EXPECT_NE(beat.type, kBeatEctopic) << beat.fiducial;
    EXPECT_EQ(run.analysis.result.findings.find("another QRS form"), std::string::npos);
  }
}

TEST(EngineSynthetic, FiveAndTwentySecondRecordsAreAnalysed) {
  for (double seconds : {5.0, 20.0}) {
    TempFolder folder;
    SyntheticSpec spec;
    spec.seconds = seconds;
    ExpectIntervals(RunEngine(folder, MakeSyntheticRecord(spec).bytes), spec.waves, 2.0);
  }
}

}  // namespace
}  // namespace ecg::test::engine
