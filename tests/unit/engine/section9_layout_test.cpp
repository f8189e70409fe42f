// How the statements fill Section 9's three rhythm and seven morphology
// entries, the bytes of the section, and the component reading them back.

#include <gtest/gtest.h>

#include <string>

#include "engine/interpretation.h"
#include "engine_test_support.h"
#include "scp/reader.h"
#include "synthetic_record.h"

namespace ecg::test::engine {
namespace {

using namespace ecg::engine;
using Codes = std::vector<uint16_t>;

std::string EntriesText(const Interpretation& i) {
  const std::vector<uint8_t> bytes = Section9Entries(i);
  return std::string(bytes.begin(), bytes.end());
}

TEST(Section9Layout, ThreeRhythmThenSevenMorphologyEntriesOfThreeDigits) {
  Interpretation i;
  i.statements = {kSinusBradycardia, kPrematureVentricularComplexes, kFirstDegreeAvBlock, kLeftAxisDeviation,
                  kBorderlineEcg};
  FillEntries(i);
  EXPECT_EQ(i.rhythm, (Codes{kSinusBradycardia, kPrematureVentricularComplexes}));
  EXPECT_EQ(i.morphology, (Codes{kFirstDegreeAvBlock, kLeftAxisDeviation, kBorderlineEcg}));
  const std::string text = EntriesText(i);
  ASSERT_EQ(text.size(), 30u);
  EXPECT_EQ(text, "011031   101130902            ");
}

TEST(Section9Layout, RhythmStatementsBeyondThreeLeadTheMorphologyEntries) {
  Interpretation i;
  i.statements = {kSinusRhythm, kSinusArrhythmia, kPrematureVentricularComplexes, kPrematureAtrialComplexes,
                  kLeftAxisDeviation, kBorderlineEcg};
  FillEntries(i);
  EXPECT_EQ(i.rhythm, (Codes{kSinusRhythm, kSinusArrhythmia, kPrematureVentricularComplexes}));
  EXPECT_EQ(i.morphology, (Codes{kPrematureAtrialComplexes, kLeftAxisDeviation, kBorderlineEcg}));
}

TEST(Section9Layout, TooManyStatementsLeaveOutTheLightestAndKeepTheSummaryLast) {
  Interpretation i;
  i.statements = {kSinusRhythm,        kRightBundleBranchBlock, kLeftAnteriorFascicularBlock,
                  kFirstDegreeAvBlock, kInfarctInferior,        kStElevationInferior,
                  kLvhVoltage,         kLeftAtrialAbnormality,  kLeftAxisDeviation,
                  kAbnormalEcg};
  FillEntries(i);
  ASSERT_EQ(i.morphology.size(), kMorphologyEntries);
  EXPECT_EQ(i.morphology.back(), kAbnormalEcg);
  // Three borderline statements go, the later ones first; the abnormal ones stay.
  EXPECT_EQ(i.morphology, (Codes{kRightBundleBranchBlock, kLeftAnteriorFascicularBlock, kFirstDegreeAvBlock,
                                 kInfarctInferior, kStElevationInferior, kLvhVoltage, kAbnormalEcg}));
  // The statements themselves (and the text of tag 201) keep them all.
  EXPECT_EQ(i.statements.size(), 10u);
}

TEST(Section9Layout, TheComponentReadsTheCodesBack) {
  TempFolder folder;
  SyntheticSpec spec;
  spec.rr_ms = 1100;  // 55 bpm: sinus bradycardia
  const EngineRun run = RunEngine(folder, MakeSyntheticRecord(spec).bytes);
  ASSERT_TRUE(run.status.ok()) << run.status.reason;
  const Interpretation& made = run.analysis.result.interpretation;
  EXPECT_EQ(made.rhythm, (Codes{kSinusBradycardia}));
  CAnalysisInfo info;
  ASSERT_TRUE(CReader::ReadAnalysisInfo(run.path.c_str(), &info));
  ASSERT_EQ(info.m_rhythmCount, made.rhythm.size());
  ASSERT_EQ(info.m_morphologyCount, made.morphology.size());
  for (size_t k = 0; k < made.rhythm.size(); ++k) EXPECT_EQ(info.m_rhythmCodes[k], made.rhythm[k]);
  for (size_t k = 0; k < made.morphology.size(); ++k) EXPECT_EQ(info.m_morphologyCodes[k], made.morphology[k]);
  EXPECT_EQ(made.morphology.back(), kOtherwiseNormalEcg);
}

TEST(Section9Layout, AnIrregularRecordWithoutPWavesIsAtrialFibrillationEndToEnd) {
  TempFolder folder;
  SyntheticSpec spec;
  spec.waves.p_present = false;
  spec.fibrillation_uv = 40;
  spec.rr_jitter_ms = 200;
  const EngineRun run = RunEngine(folder, MakeSyntheticRecord(spec).bytes);
  ASSERT_TRUE(run.status.ok()) << run.status.reason;
  const Interpretation& made = run.analysis.result.interpretation;
  EXPECT_TRUE(made.Has(kAtrialFibrillation));
  EXPECT_FALSE(made.Has(kSinusRhythm));
  EXPECT_EQ(run.analysis.result.findings.rfind("Atrial fibrillation\r\n", 0), 0u) << run.analysis.result.findings;
}

TEST(Section9Layout, ModeTwoAddsTheExtendedStatements) {
  TempFolder folder;
  SyntheticSpec spec;
  spec.waves.pr_ms = 110;  // short PR with a narrow QRS
  const Bytes record = MakeSyntheticRecord(spec).bytes;
  const EngineRun standard = RunEngine(folder, record, "one.scp", 1);
  const EngineRun extended = RunEngine(folder, record, "two.scp", 2);
  ASSERT_TRUE(standard.status.ok() && extended.status.ok());
  EXPECT_FALSE(standard.analysis.result.interpretation.Has(kShortPr));
  EXPECT_TRUE(extended.analysis.result.interpretation.Has(kShortPr));
}

}  // namespace
}  // namespace ecg::test::engine
