// Atrial flutter from the periodicity of the atrial activity: synthetic
// flutter with fixed and variable conduction is found; sinus rhythm (slow
// and fast, where P and T waves alternate), irregular fibrillation-like
// activity and a record without V1 are not called flutter.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "engine/atrial_flutter.h"
#include "engine/lead_measurements.h"
#include "engine/statement_codes.h"
#include "engine_test_support.h"
#include "synthetic_record.h"

namespace ecg::test::engine {
namespace {

using ecg::engine::AnalyseAtrialFlutter;
using ecg::engine::FlutterAnalysis;

struct FlutterRun {
  EngineRun run;
  FlutterAnalysis flutter;
  bool Says(uint16_t code) const {
    const auto& s = run.analysis.result.interpretation.statements;
    return std::find(s.begin(), s.end(), code) != s.end();
  }
};

FlutterRun RunSpec(const SyntheticSpec& spec) {
  TempFolder folder;
  FlutterRun r;
  r.run = RunEngine(folder, MakeSyntheticRecord(spec).bytes);
  EXPECT_TRUE(r.run.status.ok()) << r.run.status.reason;
  r.flutter = AnalyseAtrialFlutter(r.run.analysis.signal, r.run.analysis.result);
  return r;
}

// Flutter waves of 250 µV in II (the T wave is 300 µV) at the cycle, conducted in turn by the
// ratios given, with a little noise.
FlutterRun RunFlutter(std::initializer_list<int> conduction, double cycle_ms, bool with_v1 = true) {
  SyntheticSpec spec;
  spec.flutter_uv = 250;
  spec.flutter_cycle_ms = cycle_ms;
  spec.flutter_conduction.assign(conduction.begin(), conduction.end());
  spec.noise_uv = 8;
  if (!with_v1) spec.leads.erase(std::find(spec.leads.begin(), spec.leads.end(), uint8_t{3}));
  return RunSpec(spec);
}

// Atrial activity that is no P wave: no P onset, P duration or PR interval
// in Section 7, in any lead's block or in the findings.
void ExpectNoPWaveMeasured(const FlutterRun& r) {
  const auto missing = static_cast<uint16_t>(ecg::engine::kNotComputed);
  EXPECT_EQ(r.run.global.m_pOnset, missing);
  EXPECT_EQ(r.run.global.m_pOffset, missing);
  EXPECT_EQ(r.run.global.m_pp, missing);
  for (const SLeadMeasurement& lead : r.run.analysis.result.leads) {
    EXPECT_EQ(lead.m_pDuration, ecg::engine::kWaveAbsent);
    EXPECT_EQ(lead.m_prInterval, ecg::engine::kWaveAbsent);
  }
  EXPECT_EQ(r.run.analysis.result.findings.find("PR interval"), std::string::npos);
}

void ExpectFlutterCalled(const FlutterRun& r, double cycle_ms) {
  EXPECT_TRUE(r.flutter.flutter) << "cycle " << r.flutter.cycle_ms << " ms, mean " << r.flutter.at_cycle << "/"
                                 << r.flutter.at_two_cycles << ", V1 " << r.flutter.v1_at_cycle << "/"
                                 << r.flutter.v1_at_two_cycles;
  EXPECT_NEAR(r.flutter.cycle_ms, cycle_ms, 15.0);
  EXPECT_EQ(r.flutter.leads, 4u);
  EXPECT_TRUE(r.Says(ecg::engine::kAtrialFlutter));
  // Flutter stands instead of fibrillation and of every sinus statement.
  for (uint16_t other : {ecg::engine::kAtrialFibrillation, ecg::engine::kSinusRhythm, ecg::engine::kSinusBradycardia,
                         ecg::engine::kSinusTachycardia, ecg::engine::kEctopicAtrialRhythm,
                         ecg::engine::kPrematureAtrialComplexes}) {
    EXPECT_FALSE(r.Says(other)) << other;
  }
  ExpectNoPWaveMeasured(r);
}

TEST(AtrialFlutter, FixedConductionTwoThreeAndFourToOne) {
  // 2:1: every other wave falls into the QRS or the T wave.
  ExpectFlutterCalled(RunFlutter({2}, 220), 220);
  ExpectFlutterCalled(RunFlutter({2}, 260), 260);
  // 4:1 and 3:1: three and two waves in every interval besides the one
  // hidden in the complex.
  ExpectFlutterCalled(RunFlutter({4}, 200), 200);
  ExpectFlutterCalled(RunFlutter({3}, 200), 200);
}

TEST(AtrialFlutter, VariableConductionIsFlutterNotFibrillation) {
  const FlutterRun r = RunFlutter({2, 4, 3, 4, 2, 3}, 230);
  ExpectFlutterCalled(r, 230);
  EXPECT_GE(r.flutter.v1_at_two_cycles, ecg::engine::kFlutterMinCorrelation);
}

TEST(AtrialFlutter, SinusRhythmSlowAndFastIsNotFlutter) {
  for (double rr : {1000.0, 800.0, 600.0, 450.0}) {
    SyntheticSpec spec;
    spec.rr_ms = rr;
    if (rr < 500) {
      // At 133 per minute the P wave follows the T wave closely.
      spec.waves.qt_ms = 300;
      spec.waves.t_duration_ms = 130;
      spec.waves.pr_ms = 140;
    }
    spec.noise_uv = 8;
    const FlutterRun r = RunSpec(spec);
    EXPECT_FALSE(r.flutter.flutter) << rr;
    EXPECT_FALSE(r.Says(ecg::engine::kAtrialFlutter)) << rr;
    EXPECT_TRUE(r.Says(ecg::engine::kSinusRhythm) || r.Says(ecg::engine::kSinusBradycardia) ||
                r.Says(ecg::engine::kSinusTachycardia))
        << rr;
  }
}

TEST(AtrialFlutter, IrregularAtrialActivityIsFibrillationNotFlutter) {
  for (unsigned seed : {3u, 7u, 11u}) {
    SyntheticSpec spec;
    spec.chaotic_atrial_uv = 120;
    spec.rr_ms = 700;
    spec.rr_jitter_ms = 160;
    spec.noise_uv = 8;
    spec.seed = seed;
    const FlutterRun r = RunSpec(spec);
    EXPECT_FALSE(r.flutter.flutter) << seed;
    EXPECT_LT(r.flutter.at_two_cycles, ecg::engine::kFlutterMinCorrelation) << seed;
    EXPECT_FALSE(r.Says(ecg::engine::kAtrialFlutter)) << seed;
    EXPECT_TRUE(r.Says(ecg::engine::kAtrialFibrillation)) << seed;
    ExpectNoPWaveMeasured(r);
  }
}

TEST(AtrialFlutter, NeedsV1AndTwoInferiorLeads) {
  const FlutterRun r = RunFlutter({2}, 220, false);
  EXPECT_FALSE(r.flutter.v1);
  EXPECT_EQ(r.flutter.inferior_leads, 3u);  // II and the derived III and aVF
  EXPECT_FALSE(r.flutter.flutter);
  EXPECT_FALSE(r.Says(ecg::engine::kAtrialFlutter));
}

TEST(AtrialFlutter, NothingToMeasureIsNoFlutter) {
  const ecg::engine::EcgSignal empty;
  const ecg::engine::AnalysisResult none;
  const FlutterAnalysis f = AnalyseAtrialFlutter(empty, none);
  EXPECT_FALSE(f.flutter);
  EXPECT_EQ(f.leads, 0u);
  // A flutter record cut to 1.2 s: too short for lags of two cycles.
  const FlutterRun r = RunFlutter({2}, 220);
  ecg::engine::EcgSignal cut = r.run.analysis.signal;
  cut.samples = static_cast<size_t>(1.2 * cut.rate);
  for (auto& lead : cut.leads) lead.uv.resize(cut.samples);
  ecg::engine::AnalysisResult kept = r.run.analysis.result;
  auto& beats = kept.beats.beats;
  beats.erase(std::remove_if(beats.begin(), beats.end(), [&](const auto& b) { return b.offset >= cut.samples; }), beats.end());
  EXPECT_FALSE(AnalyseAtrialFlutter(cut, kept).flutter);
}

}  // namespace
}  // namespace ecg::test::engine
