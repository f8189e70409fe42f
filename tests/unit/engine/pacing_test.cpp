// Pacemaker stimuli: found as narrow steep pulses at every rate, tied to the
// complexes they precede, and not made up from QRS upstrokes or noise.

#include <gtest/gtest.h>

#include "engine/pacemaker_spikes.h"
#include "engine/statement_codes.h"
#include "engine_test_support.h"
#include "synthetic_record.h"

namespace ecg::test::engine {
namespace {

using ecg::engine::kPacedRhythm;
using ecg::engine::kSinusRhythm;

struct PacedCase {
  double rate;
  double spike_ms;
  double spike_uv;
  bool biphasic = false;
};

class PacedRecord : public testing::TestWithParam<PacedCase> {};

TEST_P(PacedRecord, EveryStimulusIsFoundAndThePacingStated) {
  TempFolder folder;
  SyntheticSpec spec;
  spec.rate = GetParam().rate;
  spec.pacing_spike_ms = GetParam().spike_ms;
  spec.pacing_spike_uv = GetParam().spike_uv;
  spec.pacing_spike_biphasic = GetParam().biphasic;
  spec.waves.p_present = false;
  spec.waves.qrs_duration_ms = 150;
  const SyntheticRecord record = MakeSyntheticRecord(spec);
  const EngineRun run = RunEngine(folder, record.bytes);
  ASSERT_TRUE(run.status.ok()) << run.status.reason;
  EXPECT_EQ(run.analysis.result.beats.beats.size(), record.qrs_onsets_s.size());

  const auto spikes = ecg::engine::FindPacemakerSpikes(run.analysis.signal);
  ASSERT_EQ(spikes.size(), record.qrs_onsets_s.size());
  for (size_t k = 0; k < spikes.size(); ++k) {
    const double expected = (record.qrs_onsets_s[k] - spec.spike_before_qrs_ms / 1000.0) * spec.rate;
    EXPECT_NEAR(static_cast<double>(spikes[k]), expected, spec.pacing_spike_ms / 1000.0 * spec.rate + 1.0);
  }
  const auto pacing = ecg::engine::FindPacing(run.analysis.signal, run.analysis.result);
  EXPECT_EQ(pacing.paced_beats, pacing.beats);
  EXPECT_TRUE(pacing.ventricular_paced);
  EXPECT_TRUE(run.analysis.result.interpretation.Has(kPacedRhythm));
  // The complex is measured, not the stimulus: from the stimulus at the
  // earliest, to the complex's end.
  EXPECT_GE(run.global.QRSDuration(), spec.waves.qrs_duration_ms - 2.0);
  EXPECT_LE(run.global.QRSDuration(), spec.waves.qrs_duration_ms + spec.spike_before_qrs_ms + 2.0);
}

// One- and two-sample stimuli at 500 Hz, the one-sample (4 ms) at 250 Hz,
// a bipolar-sized stimulus at 1000 Hz; filtered biphasic stimuli whose
// first lobe never leaves the level by 300 µV and whose second does not
// come back to it (the complex follows).
INSTANTIATE_TEST_SUITE_P(Rates, PacedRecord,
                         testing::Values(PacedCase{500, 2, 800}, PacedCase{500, 4, 600}, PacedCase{250, 4, 800},
                                         PacedCase{1000, 1, 400}, PacedCase{500, 6, 500, true},
                                         PacedCase{1000, 6, 500, true}),
                         [](const testing::TestParamInfo<PacedCase>& info) {
                           return std::to_string(static_cast<int>(info.param.rate)) + "Hz" +
                                  std::to_string(static_cast<int>(info.param.spike_ms)) + "ms" +
                                  (info.param.biphasic ? "Biphasic" : "");
                         });

TEST(Pacing, APacedComplexAfterAPWaveIsNoAvBlock) {
  TempFolder folder;
  SyntheticSpec spec;
  spec.pacing_spike_uv = 800;
  spec.waves.pr_ms = 260;
  spec.waves.qrs_duration_ms = 150;
  const EngineRun run = RunEngine(folder, MakeSyntheticRecord(spec).bytes);
  ASSERT_TRUE(run.status.ok()) << run.status.reason;
  ASSERT_TRUE(run.analysis.result.delineation.p_present);
  EXPECT_TRUE(run.analysis.result.interpretation.Has(kPacedRhythm));
  EXPECT_FALSE(run.analysis.result.interpretation.Has(ecg::engine::kFirstDegreeAvBlock));
  EXPECT_FALSE(run.analysis.result.interpretation.Has(ecg::engine::kLeftBundleBranchBlock));
}

// Without a P wave there is no still segment to judge the start against, and
// noise in front of the stimulus carried the onset ahead of it; a paced
// complex is measured from its stimulus.
TEST(Pacing, APacedComplexStartsNoEarlierThanItsStimulus) {
  for (const double rate : {500.0, 1000.0}) {
    TempFolder folder;
    SyntheticSpec spec;
    spec.rate = rate;
    spec.pacing_spike_uv = 600;
    spec.pacing_spike_ms = 6;
    spec.pacing_spike_biphasic = true;
    spec.waves.p_present = false;
    spec.waves.qrs_duration_ms = 150;
    spec.noise_uv = 25;
    const EngineRun run = RunEngine(folder, MakeSyntheticRecord(spec).bytes);
    ASSERT_TRUE(run.status.ok()) << run.status.reason;
    ASSERT_TRUE(run.analysis.result.interpretation.Has(kPacedRhythm));
    // From the stimulus's steepest step to the end of the complex.
    const double from_stimulus = spec.waves.qrs_duration_ms + spec.spike_before_qrs_ms - spec.pacing_spike_ms / 3.0;
    EXPECT_LE(run.global.QRSDuration(), from_stimulus + 1000.0 / rate + 2.0) << rate;
    EXPECT_GE(run.global.QRSDuration(), spec.waves.qrs_duration_ms - 4.0) << rate;
  }
}

// R waves of 1.2 mV a few samples wide rise and fall as steeply as a
// stimulus at 250 Hz, but their steps go on around the peak.
TEST(Pacing, SteepNarrowComplexesAreNotStimuli) {
  for (const double rate : {250.0, 500.0, 1000.0}) {
    for (const double qrs_ms : {40.0, 64.0}) {
      SCOPED_TRACE(testing::Message() << rate << " Hz, QRS " << qrs_ms << " ms");
      TempFolder folder;
      SyntheticSpec spec;
      spec.rate = rate;
      spec.waves.qrs_duration_ms = qrs_ms;
      const EngineRun run = RunEngine(folder, MakeSyntheticRecord(spec).bytes);
      ASSERT_TRUE(run.status.ok()) << run.status.reason;
      EXPECT_TRUE(ecg::engine::FindPacemakerSpikes(run.analysis.signal).empty());
      EXPECT_FALSE(run.analysis.result.interpretation.Has(kPacedRhythm));
      EXPECT_TRUE(run.analysis.result.interpretation.Has(kSinusRhythm));
    }
  }
}

TEST(Pacing, StimuliThatCaptureTooFewComplexesAreNoPacedRhythm) {
  TempFolder folder;
  SyntheticSpec spec;
  spec.waves.qrs_duration_ms = 64;
  // Noise with the odd steep sample does not line up with the complexes.
  spec.bursts = {{2.0, 1.0, 250}};
  const EngineRun run = RunEngine(folder, MakeSyntheticRecord(spec).bytes);
  ASSERT_TRUE(run.status.ok()) << run.status.reason;
  EXPECT_FALSE(ecg::engine::FindPacing(run.analysis.signal, run.analysis.result).ventricular_paced);
  EXPECT_FALSE(run.analysis.result.interpretation.Has(kPacedRhythm));
}

}  // namespace
}  // namespace ecg::test::engine
