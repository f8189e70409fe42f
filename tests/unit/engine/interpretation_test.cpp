// The interpretation criteria at their limits (just inside, just outside),
// the exclusions between statements and the summary line, on analysis
// results set by hand.

#include <gtest/gtest.h>

#include "engine/interpretation.h"
#include "interpretation_fixture.h"

namespace ecg::test::engine {
namespace {

using namespace ecg::engine;

using Codes = std::vector<uint16_t>;

// V1 rSR', wide terminal S in I and V6.
void RightBlockShape(InterpretationFixture& f) {
  SLeadMeasurement& v1 = f.Lead(kSlotV1);
  v1.m_rAmplitude = 200;
  v1.m_rDuration = 25;
  v1.m_sAmplitude = -400;
  v1.m_sDuration = 30;
  v1.m_r2Amplitude = 600;
  v1.m_r2Duration = 50;
  for (int s : {kSlotI, kSlotV6}) {
    f.Lead(s).m_sAmplitude = -300;
    f.Lead(s).m_sDuration = 50;
  }
}

// V1-V3 QS; I, V5, V6 a broad R without q or S; R peak late in V4-V6.
void LeftBlockShape(InterpretationFixture& f) {
  for (int s : {kSlotV1, kSlotV2, kSlotV3}) {
    SLeadMeasurement& m = f.Lead(s);
    m.m_qAmplitude = s == kSlotV1 ? -1500 : -1000;
    m.m_qDuration = 120;
    m.m_rAmplitude = m.m_sAmplitude = 0;
    m.m_rDuration = m.m_sDuration = 0;
  }
  for (int s : {kSlotI, kSlotV5, kSlotV6}) {
    SLeadMeasurement& m = f.Lead(s);
    m.m_qAmplitude = m.m_sAmplitude = 0;
    m.m_qDuration = m.m_sDuration = 0;
    m.m_rDuration = 120;
    m.m_intrinsicoidDeflection = 75;
  }
  f.Lead(kSlotV4).m_intrinsicoidDeflection = 75;
}

TEST(InterpretationBaseline, ANormalAdultRecordIsSinusRhythmAndANormalEcg) {
  InterpretationFixture f;
  EXPECT_EQ(f.Run().statements, (Codes{kSinusRhythm, kNormalEcg}));
  f.Options().set = StatementSet::kExtended;
  EXPECT_EQ(f.Run().statements, (Codes{kSinusRhythm, kNormalEcg}));
}

TEST(InterpretationRhythm, SinusRateLimits) {
  InterpretationFixture f;
  f.SetRate(59);
  EXPECT_TRUE(f.Says(kSinusBradycardia));
  f.SetRate(60);
  EXPECT_TRUE(f.Says(kSinusRhythm));
  EXPECT_FALSE(f.Says(kSinusBradycardia));
  f.SetRate(100);
  EXPECT_TRUE(f.Says(kSinusRhythm));
  f.SetRate(101);
  EXPECT_TRUE(f.Says(kSinusTachycardia));
  EXPECT_FALSE(f.Says(kSinusRhythm));
}

// Five intervals of 800 ms and four of 800 + d, alternating: every
// beat-to-beat change is d, the usual interval 800 ms.
std::vector<double> Alternating(double d) {
  std::vector<double> v;
  for (int k = 0; k < 9; ++k) v.push_back(k % 2 == 0 ? 800 : 800 + d);
  return v;
}

TEST(InterpretationRhythm, AtrialFibrillationFromBeatToBeatChangesOfFifteenPercent) {
  InterpretationFixture f;
  f.SetIntervals(Alternating(120));  // 15 %
  EXPECT_TRUE(f.Says(kAtrialFibrillation));
  f.SetIntervals(Alternating(112));  // 14 %
  EXPECT_FALSE(f.Says(kAtrialFibrillation));
  EXPECT_TRUE(f.Says(kSinusRhythm));
}

TEST(InterpretationRhythm, AtrialFibrillationExcludesSinusAndPWaveStatements) {
  InterpretationFixture f;
  f.SetPr(260);                            // would be a first-degree AV block
  f.Lead(kSlotII).m_pPlusAmplitude = 300;  // would be right atrial abnormality
  f.SetIntervals(Alternating(200));
  f.MarkBeat(4, kBeatPremature);
  const Interpretation i = f.Run();
  EXPECT_TRUE(i.Has(kAtrialFibrillation));
  for (uint16_t code : {kSinusRhythm, kSinusBradycardia, kSinusTachycardia, kSinusArrhythmia,
                        kPrematureAtrialComplexes, kFirstDegreeAvBlock, kRightAtrialAbnormality}) {
    EXPECT_FALSE(i.Has(code)) << code;
  }
  EXPECT_EQ(i.statements.back(), kAbnormalEcg);
}

TEST(InterpretationRhythm, WithoutPWavesARegularRhythmIsJunctionalUpTo100PerMinute) {
  InterpretationFixture f;
  f.NoPWaves();
  f.SetRate(100);
  EXPECT_TRUE(f.Says(kJunctionalRhythm));
  f.SetRate(101);
  EXPECT_FALSE(f.Says(kJunctionalRhythm));
  EXPECT_TRUE(f.Says(kUndeterminedRhythm));
  f.SetRate(70);
  f.SetQrs(120);  // wide: not junctional
  EXPECT_TRUE(f.Says(kUndeterminedRhythm));
}

TEST(InterpretationRhythm, PAxisOutsideTheSinusRangeIsAnEctopicAtrialRhythm) {
  InterpretationFixture f;
  f.Global().p_axis = -30;
  EXPECT_TRUE(f.Says(kSinusRhythm));
  f.Global().p_axis = -31;
  EXPECT_TRUE(f.Says(kEctopicAtrialRhythm));
  EXPECT_FALSE(f.Says(kSinusRhythm));
  f.Global().p_axis = 105;
  EXPECT_TRUE(f.Says(kSinusRhythm));
  f.Global().p_axis = 106;
  EXPECT_TRUE(f.Says(kEctopicAtrialRhythm));
}

TEST(InterpretationRhythm, PrematureComplexesFromTheBeatTypes) {
  InterpretationFixture f;  // beats 800 ms apart
  f.MarkBeat(3, kBeatEctopic);
  EXPECT_FALSE(f.Says(kPrematureVentricularComplexes));  // another form, on time
  f.Advance(3, 90);                                       // 710 ms: 89 %
  EXPECT_FALSE(f.Says(kPrematureVentricularComplexes));
  f.Advance(3, 10);                                       // 700 ms: 87.5 %
  EXPECT_TRUE(f.Says(kPrematureVentricularComplexes));
  EXPECT_FALSE(f.Says(kPrematureAtrialComplexes));
  f.MarkBeat(3, kBeatPremature);
  EXPECT_TRUE(f.Says(kPrematureAtrialComplexes));
  EXPECT_FALSE(f.Says(kPrematureVentricularComplexes));
}

TEST(InterpretationRhythm, SinusArrhythmiaOnlyInTheExtendedSet) {
  InterpretationFixture f;
  f.SetIntervals({800, 820, 850, 880, 910, 940, 961, 930, 900});  // range 161 ms, gradual
  EXPECT_FALSE(f.Says(kSinusArrhythmia));
  f.Options().set = StatementSet::kExtended;
  EXPECT_TRUE(f.Says(kSinusArrhythmia));
  f.SetIntervals({800, 820, 850, 880, 910, 940, 960, 930, 900});  // range 160 ms
  EXPECT_FALSE(f.Says(kSinusArrhythmia));
}

TEST(InterpretationConduction, PrLimits) {
  InterpretationFixture f;
  f.SetPr(200);
  EXPECT_FALSE(f.Says(kFirstDegreeAvBlock));
  f.SetPr(201);
  EXPECT_TRUE(f.Says(kFirstDegreeAvBlock));
  f.SetPr(119);
  EXPECT_FALSE(f.Says(kShortPr));  // standard set
  f.Options().set = StatementSet::kExtended;
  EXPECT_TRUE(f.Says(kShortPr));
  f.SetPr(120);
  EXPECT_FALSE(f.Says(kShortPr));
}

TEST(InterpretationConduction, ShortPrWithAWideQrsIsPreExcitationAndSilencesWhatItMimics) {
  InterpretationFixture f;
  f.SetPr(110);
  f.SetQrs(100);
  f.Lead(kSlotII).m_qDuration = 40;  // delta waves imitate Q waves
  f.Lead(kSlotII).m_qAmplitude = -200;
  f.Lead(kSlotAVF).m_qDuration = 40;
  f.Lead(kSlotAVF).m_qAmplitude = -200;
  const Interpretation i = f.Run();
  EXPECT_TRUE(i.Has(kPreExcitation));
  EXPECT_FALSE(i.Has(kInfarctInferior));
  EXPECT_FALSE(i.Has(kIntraventricularConductionDelay));
  f.SetQrs(99);
  EXPECT_FALSE(f.Says(kPreExcitation));
  EXPECT_TRUE(f.Says(kInfarctInferior));
}

TEST(InterpretationConduction, RightBundleBranchBlockCompleteFrom120IncompleteFrom100) {
  InterpretationFixture f;
  RightBlockShape(f);
  f.SetQrs(120);
  EXPECT_TRUE(f.Says(kRightBundleBranchBlock));
  f.SetQrs(119);
  EXPECT_TRUE(f.Says(kIncompleteRightBundleBranchBlock));
  EXPECT_FALSE(f.Says(kRightBundleBranchBlock));
  f.SetQrs(99);
  EXPECT_FALSE(f.Says(kIncompleteRightBundleBranchBlock));
}

TEST(InterpretationConduction, RightBlockNeedsTheTerminalRInV1AndTheWideSOnTheLeft) {
  InterpretationFixture f;
  RightBlockShape(f);
  f.SetQrs(130);
  EXPECT_TRUE(f.Says(kRightBundleBranchBlock));
  // The wide terminal S is needed in both I and V6: 41 ms (R 45 ms) is wide,
  // 40 ms is not.
  for (int narrow : {kSlotI, kSlotV6}) {
    f.Lead(narrow).m_sDuration = 40;
    EXPECT_FALSE(f.Says(kRightBundleBranchBlock)) << narrow;
    f.Lead(narrow).m_sDuration = 41;
    EXPECT_TRUE(f.Says(kRightBundleBranchBlock)) << narrow;
  }
  // An S longer than the R counts under 40 ms as well.
  f.Lead(kSlotV6).m_rDuration = 30;
  f.Lead(kSlotV6).m_sDuration = 31;
  EXPECT_TRUE(f.Says(kRightBundleBranchBlock));
  f.Lead(kSlotV6).m_sDuration = 30;
  EXPECT_FALSE(f.Says(kRightBundleBranchBlock));
  for (int s : {kSlotI, kSlotV6}) f.Lead(s).m_sDuration = 30;  // S narrower than R and 40 ms
  EXPECT_FALSE(f.Says(kRightBundleBranchBlock));
  EXPECT_TRUE(f.Says(kIntraventricularConductionDelay));
}

TEST(InterpretationConduction, LeftBundleBranchBlockAndItsExclusions) {
  InterpretationFixture f;
  LeftBlockShape(f);
  f.Lead(kSlotV5).m_rAmplitude = 2500;  // Sokolow-Lyon 1500 + 2500: LVH voltage
  f.Lead(kSlotV2).m_jAmplitude = 300;   // discordant ST elevation
  f.Lead(kSlotV3).m_jAmplitude = 300;
  f.SetQrs(120);
  const Interpretation i = f.Run();
  EXPECT_TRUE(i.Has(kLeftBundleBranchBlock));
  EXPECT_FALSE(i.Has(kLvhVoltage));
  EXPECT_FALSE(i.Has(kLvhWithRepolarisation));
  EXPECT_FALSE(i.Has(kStElevationAnterior));
  EXPECT_FALSE(i.Has(kInfarctAnterior));  // the QS in V1-V3 belongs to the block
  f.SetQrs(119);
  EXPECT_TRUE(f.Says(kIncompleteLeftBundleBranchBlock));
  EXPECT_TRUE(f.Says(kLvhVoltage));  // only the complete block silences voltage
}

TEST(InterpretationConduction, AnStLiftAtTheEndOfV1IsNoTerminalR) {
  InterpretationFixture f;
  LeftBlockShape(f);
  SLeadMeasurement& v1 = f.Lead(kSlotV1);
  // rS with a last "R'" that is only the ST segment starting above the PR
  // level; I and V6 with a wide S as a left block may show (shallow in I).
  v1.m_qAmplitude = 0;
  v1.m_qDuration = 0;
  v1.m_rAmplitude = 60;
  v1.m_rDuration = 20;
  v1.m_sAmplitude = -1200;
  v1.m_sDuration = 90;
  v1.m_r2Amplitude = 140;
  v1.m_r2Duration = 20;
  v1.m_jAmplitude = 41;  // R' 99 µV above J
  f.Lead(kSlotV6).m_sAmplitude = -300;
  f.Lead(kSlotV6).m_sDuration = 50;
  f.Lead(kSlotI).m_sAmplitude = -100;
  f.Lead(kSlotI).m_sDuration = 50;
  f.SetQrs(140);
  EXPECT_TRUE(f.Says(kLeftBundleBranchBlock));
  EXPECT_FALSE(f.Says(kRightBundleBranchBlock));
  v1.m_jAmplitude = 40;  // 100 µV above J: a terminal R wave
  EXPECT_TRUE(f.Says(kRightBundleBranchBlock));
  EXPECT_FALSE(f.Says(kLeftBundleBranchBlock));
}

TEST(InterpretationConduction, LeftBlockEndsWithoutADeepWideSInLeadI) {
  InterpretationFixture f;
  LeftBlockShape(f);  // R of I 700 µV
  f.SetQrs(130);
  SLeadMeasurement& i = f.Lead(kSlotI);
  i.m_sAmplitude = -175;  // a quarter of the R
  i.m_sDuration = 60;
  EXPECT_TRUE(f.Says(kLeftBundleBranchBlock));
  i.m_sAmplitude = -176;
  EXPECT_FALSE(f.Says(kLeftBundleBranchBlock));
  i.m_sDuration = 40;  // deep but not wide
  EXPECT_TRUE(f.Says(kLeftBundleBranchBlock));
  i.m_sDuration = 41;
  f.SetQrs(115);
  EXPECT_FALSE(f.Says(kIncompleteLeftBundleBranchBlock));
  i.m_sDuration = 40;
  EXPECT_TRUE(f.Says(kIncompleteLeftBundleBranchBlock));
}

TEST(InterpretationConduction, IncompleteLeftBlockNeedsALateRPeakInV4ToV6) {
  InterpretationFixture f;
  LeftBlockShape(f);
  f.SetQrs(115);
  for (int s : {kSlotV4, kSlotV5, kSlotV6}) f.Lead(s).m_intrinsicoidDeflection = 61;
  EXPECT_TRUE(f.Says(kIncompleteLeftBundleBranchBlock));
  for (int s : {kSlotV4, kSlotV5, kSlotV6}) {
    f.Lead(s).m_intrinsicoidDeflection = 60;
    EXPECT_FALSE(f.Says(kIncompleteLeftBundleBranchBlock)) << s;
    f.Lead(s).m_intrinsicoidDeflection = 61;
  }
}

TEST(InterpretationConduction, IncompleteLeftBlockNeedsTheSeptalQGone) {
  InterpretationFixture f;
  LeftBlockShape(f);
  f.SetQrs(110);
  EXPECT_TRUE(f.Says(kIncompleteLeftBundleBranchBlock));
  f.Lead(kSlotV6).m_qAmplitude = -26;  // a septal q in V6
  f.Lead(kSlotV6).m_qDuration = 10;
  EXPECT_FALSE(f.Says(kIncompleteLeftBundleBranchBlock));
}

TEST(InterpretationConduction, NonspecificDelayFrom120WithoutABlockPattern) {
  InterpretationFixture f;
  f.SetQrs(119);
  EXPECT_FALSE(f.Says(kIntraventricularConductionDelay));
  f.SetQrs(120);
  EXPECT_TRUE(f.Says(kIntraventricularConductionDelay));
}

TEST(InterpretationConduction, ConductionUsesTheDurationThreeLeadsShow) {
  InterpretationFixture f;
  f.SetQrs(90);
  f.Global().qrs_off_ms = f.Global().qrs_on_ms + 140;  // global extent wide, leads narrow
  f.Lead(kSlotV2).m_qrsDuration = 140;
  f.Lead(kSlotV3).m_qrsDuration = 140;
  EXPECT_FALSE(f.Says(kIntraventricularConductionDelay));
  f.Lead(kSlotV4).m_qrsDuration = 140;
  EXPECT_TRUE(f.Says(kIntraventricularConductionDelay));
}

TEST(InterpretationConduction, LeftAnteriorFascicularBlockFromMinus45) {
  InterpretationFixture f;
  for (int s : {kSlotII, kSlotIII, kSlotAVF}) {
    f.Lead(s).m_rAmplitude = 200;
    f.Lead(s).m_sAmplitude = -700;
  }
  f.Lead(kSlotAVL).m_rAmplitude = 800;
  f.Global().qrs_axis = -45;
  EXPECT_TRUE(f.Says(kLeftAnteriorFascicularBlock));
  EXPECT_TRUE(f.Says(kLeftAxisDeviation));
  f.Global().qrs_axis = -44;
  EXPECT_FALSE(f.Says(kLeftAnteriorFascicularBlock));
  EXPECT_TRUE(f.Says(kLeftAxisDeviation));
}

TEST(InterpretationConduction, LeftPosteriorFascicularBlockBeyond90) {
  InterpretationFixture f;
  for (int s : {kSlotI, kSlotAVL}) {
    f.Lead(s).m_rAmplitude = 200;
    f.Lead(s).m_sAmplitude = -600;
  }
  f.Global().qrs_axis = 91;
  EXPECT_TRUE(f.Says(kLeftPosteriorFascicularBlock));
  f.Global().qrs_axis = 90;
  EXPECT_FALSE(f.Says(kLeftPosteriorFascicularBlock));
}

TEST(InterpretationConduction, QtcLimitsBySex) {
  InterpretationFixture f;  // RR 800 ms: Bazett QTc = QT / 0.894
  f.SetQt(411);             // QTc 460
  EXPECT_TRUE(f.Says(kProlongedQt));
  f.SetQt(410);             // QTc 458
  EXPECT_FALSE(f.Says(kProlongedQt));
  f.Options().patient.sex = PatientFacts::Sex::kMale;
  f.SetQt(403);             // QTc 451
  EXPECT_TRUE(f.Says(kProlongedQt));
  f.SetQt(402);             // QTc 449
  EXPECT_FALSE(f.Says(kProlongedQt));
  f.Options().set = StatementSet::kExtended;
  f.SetQt(349);             // QTc 390
  EXPECT_TRUE(f.Says(kShortQt));
  f.SetQt(350);             // QTc 391
  EXPECT_FALSE(f.Says(kShortQt));
}

TEST(InterpretationConduction, QtcFormulas) {
  EXPECT_EQ(CorrectedQt(400, 1000, QtcFormula::kBazett), 400);
  EXPECT_EQ(CorrectedQt(400, 640, QtcFormula::kBazett), 500);
  EXPECT_EQ(CorrectedQt(400, 640, QtcFormula::kFridericia), 464);
  EXPECT_EQ(CorrectedQt(400, 640, QtcFormula::kFramingham), 455);
  EXPECT_EQ(CorrectedQt(400, 640, QtcFormula::kHodges), 459);
  EXPECT_EQ(CorrectedQt(400, 0, QtcFormula::kBazett), -1);
}

TEST(InterpretationAxis, Limits) {
  struct Case {
    int32_t axis;
    int expected;  // the axis statement, 0 none
  };
  for (const Case& c : {Case{-30, 0}, Case{-31, kLeftAxisDeviation}, Case{-90, kLeftAxisDeviation},
                        Case{-91, kExtremeAxis}, Case{90, 0}, Case{91, kRightAxisDeviation},
                        Case{180, kRightAxisDeviation}, Case{999, kIndeterminateAxis}}) {
    InterpretationFixture f;
    f.Global().qrs_axis = c.axis;
    const Interpretation i = f.Run();
    for (uint16_t code : {kLeftAxisDeviation, kRightAxisDeviation, kExtremeAxis, kIndeterminateAxis}) {
      EXPECT_EQ(i.Has(code), code == c.expected) << "axis " << c.axis << " statement " << code;
    }
  }
}

TEST(InterpretationHypertrophy, SokolowLyonFrom3500) {
  InterpretationFixture f;  // R V5 1200
  f.Lead(kSlotV1).m_sAmplitude = -2300;
  EXPECT_TRUE(f.Says(kLvhVoltage));
  f.Lead(kSlotV1).m_sAmplitude = -2299;
  EXPECT_FALSE(f.Says(kLvhVoltage));
}

TEST(InterpretationHypertrophy, CornellBySex) {
  InterpretationFixture f;  // R aVL 300 + S V3
  f.Lead(kSlotV3).m_sAmplitude = -2501;
  EXPECT_TRUE(f.Says(kLvhVoltage));
  f.Lead(kSlotV3).m_sAmplitude = -2500;
  EXPECT_FALSE(f.Says(kLvhVoltage));
  f.Options().patient.sex = PatientFacts::Sex::kFemale;
  f.Lead(kSlotV3).m_sAmplitude = -1701;
  EXPECT_TRUE(f.Says(kLvhVoltage));
  f.Lead(kSlotV3).m_sAmplitude = -1700;
  EXPECT_FALSE(f.Says(kLvhVoltage));
}

TEST(InterpretationHypertrophy, VoltageWithLateralRepolarisationAbnormality) {
  InterpretationFixture f;
  f.Lead(kSlotV1).m_sAmplitude = -2500;
  for (int s : {kSlotV5, kSlotV6}) {
    f.Lead(s).m_tPlusAmplitude = 0;
    f.Lead(s).m_tMinusAmplitude = -150;
  }
  const Interpretation i = f.Run();
  EXPECT_TRUE(i.Has(kLvhWithRepolarisation));
  EXPECT_FALSE(i.Has(kLvhVoltage));
  EXPECT_FALSE(i.Has(kTInversionLateral));  // part of the hypertrophy statement
}

TEST(InterpretationHypertrophy, RightVentricularHypertrophyNeedsTallRInV1AndARightAxis) {
  InterpretationFixture f;
  f.Lead(kSlotV1).m_rAmplitude = 700;
  f.Lead(kSlotV1).m_sAmplitude = -300;
  f.Global().qrs_axis = 100;
  EXPECT_TRUE(f.Says(kRightVentricularHypertrophy));
  f.Lead(kSlotV1).m_rAmplitude = 699;
  f.Lead(kSlotV1).m_sAmplitude = -800;  // not dominant either
  EXPECT_FALSE(f.Says(kRightVentricularHypertrophy));
}

TEST(InterpretationHypertrophy, AtrialAbnormalities) {
  InterpretationFixture f;
  f.Lead(kSlotII).m_pPlusAmplitude = 250;
  EXPECT_TRUE(f.Says(kRightAtrialAbnormality));
  f.Lead(kSlotII).m_pPlusAmplitude = 249;
  EXPECT_FALSE(f.Says(kRightAtrialAbnormality));
  f.Global().p_off_ms = f.Global().p_on_ms + 120;
  EXPECT_TRUE(f.Says(kLeftAtrialAbnormality));
  f.Global().p_off_ms = f.Global().p_on_ms + 119;
  EXPECT_FALSE(f.Says(kLeftAtrialAbnormality));
  f.Lead(kSlotV1).m_pMorphology = 3;  // +/- with a deep terminal part
  f.Lead(kSlotV1).m_pMinusAmplitude = -100;
  EXPECT_TRUE(f.Says(kLeftAtrialAbnormality));
}

TEST(InterpretationStT, StElevationLimitsOfTheUniversalDefinition) {
  InterpretationFixture f;
  f.Options().patient = {PatientFacts::Sex::kMale, 55};
  f.Lead(kSlotV2).m_jAmplitude = 200;
  f.Lead(kSlotV3).m_jAmplitude = 200;
  EXPECT_TRUE(f.Says(kStElevationAnterior));
  f.Lead(kSlotV3).m_jAmplitude = 199;
  EXPECT_FALSE(f.Says(kStElevationAnterior));
  f.Options().patient = {PatientFacts::Sex::kMale, 35};
  f.Lead(kSlotV3).m_jAmplitude = 249;
  f.Lead(kSlotV2).m_jAmplitude = 250;
  EXPECT_FALSE(f.Says(kStElevationAnterior));
  f.Options().patient = {PatientFacts::Sex::kFemale, 35};
  f.Lead(kSlotV2).m_jAmplitude = 150;
  f.Lead(kSlotV3).m_jAmplitude = 150;
  EXPECT_TRUE(f.Says(kStElevationAnterior));
  f.Lead(kSlotII).m_jAmplitude = 100;
  f.Lead(kSlotAVF).m_jAmplitude = 100;
  EXPECT_TRUE(f.Says(kStElevationInferior));
  f.Lead(kSlotAVF).m_jAmplitude = 99;
  EXPECT_FALSE(f.Says(kStElevationInferior));
}

TEST(InterpretationStT, DepressionAndInversionInTwoLeadsOfATerritory) {
  InterpretationFixture f;
  for (int s : {kSlotII, kSlotAVF}) {
    SLeadMeasurement& m = f.Lead(s);
    m.m_jAmplitude = m.m_stJ20 = m.m_stJ60 = m.m_stJ80 = -50;
  }
  EXPECT_TRUE(f.Says(kStDepressionInferior));
  f.Lead(kSlotAVF).m_stJ60 = -49;
  EXPECT_FALSE(f.Says(kStDepressionInferior));
  f.Lead(kSlotV5).m_tPlusAmplitude = 0;
  f.Lead(kSlotV5).m_tMinusAmplitude = -100;
  EXPECT_FALSE(f.Says(kTInversionLateral));  // one lead
  f.Lead(kSlotV6).m_tPlusAmplitude = 0;
  f.Lead(kSlotV6).m_tMinusAmplitude = -100;
  EXPECT_TRUE(f.Says(kTInversionLateral));
  f.Lead(kSlotV6).m_tMinusAmplitude = -99;
  EXPECT_FALSE(f.Says(kTInversionLateral));
}

TEST(InterpretationInfarction, PathologicQWaves) {
  InterpretationFixture f;
  for (int s : {kSlotII, kSlotAVF}) {
    f.Lead(s).m_qDuration = 30;
    f.Lead(s).m_qAmplitude = -100;
  }
  EXPECT_TRUE(f.Says(kInfarctInferior));
  f.Lead(kSlotAVF).m_qDuration = 29;
  EXPECT_FALSE(f.Says(kInfarctInferior));
  f.Lead(kSlotV2).m_qDuration = 21;
  f.Lead(kSlotV2).m_qAmplitude = -60;
  EXPECT_TRUE(f.Says(kInfarctAnterior));
  f.Lead(kSlotV2).m_qDuration = 20;
  EXPECT_FALSE(f.Says(kInfarctAnterior));
}

TEST(InterpretationVoltage, LowVoltageInAllSixLimbLeads) {
  InterpretationFixture f;
  for (int s : {kSlotI, kSlotII, kSlotIII, kSlotAVR, kSlotAVL, kSlotAVF}) {
    SLeadMeasurement& m = f.Lead(s);
    m.m_qAmplitude = 0;
    m.m_rAmplitude = 300;
    m.m_sAmplitude = -199;
  }
  EXPECT_TRUE(f.Says(kLowVoltage));
  f.Lead(kSlotAVR).m_sAmplitude = -200;  // 500 µV
  EXPECT_FALSE(f.Says(kLowVoltage));
}

TEST(InterpretationVoltage, PoorRProgressionInTheExtendedSet) {
  InterpretationFixture f;
  f.Options().set = StatementSet::kExtended;
  f.Lead(kSlotV3).m_rAmplitude = 300;
  EXPECT_TRUE(f.Says(kPoorRProgression));
  f.Lead(kSlotV3).m_rAmplitude = 301;
  EXPECT_FALSE(f.Says(kPoorRProgression));
}

TEST(InterpretationSummary, TheHeaviestStatementDecides) {
  InterpretationFixture f;
  EXPECT_EQ(f.Run().statements.back(), kNormalEcg);
  f.SetRate(55);
  EXPECT_EQ(f.Run().statements.back(), kOtherwiseNormalEcg);
  f.Global().qrs_axis = -40;
  EXPECT_EQ(f.Run().statements.back(), kBorderlineEcg);
  f.NoPWaves();  // junctional rhythm
  EXPECT_EQ(f.Run().statements.back(), kAbnormalEcg);
}

TEST(InterpretationStatements, AreMadeInPriorityOrderEachOnce) {
  InterpretationFixture f;
  f.SetRate(55);
  f.Global().qrs_axis = -40;
  f.SetPr(230);
  f.MarkBeat(2, kBeatEctopic);
  f.Advance(2, 300);
  const Interpretation i = f.Run();
  EXPECT_EQ(i.statements, (Codes{kSinusBradycardia, kPrematureVentricularComplexes, kFirstDegreeAvBlock,
                                 kLeftAxisDeviation, kBorderlineEcg}));
}

}  // namespace
}  // namespace ecg::test::engine
