// The form-independent measure of an irregularly irregular rhythm and the
// frontal sector by the polarity of I, II and aVF.

#include <gtest/gtest.h>

#include <cmath>

#include "engine/frontal_quadrant.h"
#include "engine/interpretation.h"
#include "engine/interpretation_rules.h"
#include "interpretation_fixture.h"

namespace ecg::test::engine {
namespace {

using namespace ecg::engine;

std::vector<bool> All(size_t n) { return std::vector<bool>(n, true); }

TEST(RrIrregularity, NormalisedRmssdAndShareOfLargeChanges) {
  // Successive differences +200, -200, +200: RMSSD 200 over a mean of 900.
  const std::vector<double> rr = {800, 1000, 800, 1000};
  const RrIrregularity m = MeasureRrIrregularity(rr, All(rr.size()));
  EXPECT_EQ(m.differences, 3u);
  EXPECT_NEAR(m.normalised_rmssd, 200.0 / 900.0, 1e-9);
  EXPECT_DOUBLE_EQ(m.large_change_share, 1.0);
}

TEST(RrIrregularity, LeftOutIntervalsBreakTheSuccessiveDifferences) {
  const std::vector<double> rr = {800, 400, 1200, 800, 810};
  std::vector<bool> usable = All(rr.size());
  usable[1] = usable[2] = false;  // a premature complex and its pause
  const RrIrregularity m = MeasureRrIrregularity(rr, usable);
  EXPECT_EQ(m.differences, 1u);  // only 800 -> 810
  EXPECT_NEAR(m.normalised_rmssd, 10.0 / (2410.0 / 3.0), 1e-9);
  EXPECT_DOUBLE_EQ(m.large_change_share, 0.0);
}

TEST(RrIrregularity, LimitsOfTheIrregularlyIrregularRhythm) {
  RrIrregularity m;
  m.differences = 6;
  m.normalised_rmssd = 0.20;
  m.large_change_share = 0.5;
  EXPECT_TRUE(IrregularlyIrregular(m));
  m.normalised_rmssd = 0.19;
  EXPECT_FALSE(IrregularlyIrregular(m));
  m.normalised_rmssd = 0.20;
  m.large_change_share = 0.49;
  EXPECT_FALSE(IrregularlyIrregular(m));
  m.large_change_share = 0.5;
  m.differences = 5;
  EXPECT_FALSE(IrregularlyIrregular(m));
}

// Irregular intervals in which every other complex has another form (as
// aberrantly conducted beats are typed) but comes late, not early.
TEST(InterpretationRhythm, AtrialFibrillationWithAberrantBeatsFromAllIntervals) {
  InterpretationFixture f;
  const std::vector<double> rr = {700, 1000, 650, 950, 600, 1050, 720, 980, 640, 1000};
  f.SetIntervals(rr);
  for (size_t k = 2; k <= rr.size(); k += 2) f.MarkBeat(k, kBeatEctopic);  // after the long intervals
  EXPECT_TRUE(f.Says(kAtrialFibrillation));
  EXPECT_FALSE(f.Says(kSinusRhythm));
}

TEST(InterpretationRhythm, PhasicSinusArrhythmiaAndPrematureBeatsAreNoFibrillation) {
  InterpretationFixture f;
  // Breathing: the interval rises and falls by 60 ms a beat (RMSSD 7 %).
  f.SetIntervals({800, 860, 920, 980, 920, 860, 800, 860, 920, 980});
  EXPECT_FALSE(f.Says(kAtrialFibrillation));
  EXPECT_TRUE(f.Says(kSinusRhythm));
  // Regular beats with two premature ventricular complexes and their pauses.
  InterpretationFixture g;
  g.SetIntervals({800, 800, 480, 1120, 800, 800, 800, 480, 1120, 800, 800});
  g.MarkBeat(3, kBeatEctopic);
  g.MarkBeat(8, kBeatEctopic);
  EXPECT_FALSE(g.Says(kAtrialFibrillation));
  EXPECT_TRUE(g.Says(kPrematureVentricularComplexes));
}

TEST(FrontalQuadrant, PolarityHasAnEquiphasicBand) {
  EXPECT_EQ(PolarityOf(0.21), QrsPolarity::kPositive);
  EXPECT_EQ(PolarityOf(0.19), QrsPolarity::kEquiphasic);
  EXPECT_EQ(PolarityOf(-0.19), QrsPolarity::kEquiphasic);
  EXPECT_EQ(PolarityOf(-0.21), QrsPolarity::kNegative);
}

TEST(FrontalQuadrant, SectorsFromTheLeadsPolarities) {
  using P = QrsPolarity;
  using S = FrontalSector;
  const P pos = P::kPositive, neg = P::kNegative, eq = P::kEquiphasic, unk = P::kUnknown;
  EXPECT_EQ(SectorOf(pos, pos, neg), S::kNormal);  // 0..-30: aVF does not matter
  EXPECT_EQ(SectorOf(pos, neg, neg), S::kLeft);
  EXPECT_EQ(SectorOf(neg, pos, pos), S::kRight);
  EXPECT_EQ(SectorOf(neg, neg, pos), S::kRight);  // +150..+180
  EXPECT_EQ(SectorOf(neg, neg, neg), S::kNorthwest);
  // Near a boundary or without a lead, the sector is left to the angle.
  EXPECT_EQ(SectorOf(pos, eq, neg), S::kUnknown);
  EXPECT_EQ(SectorOf(eq, pos, pos), S::kUnknown);
  EXPECT_EQ(SectorOf(neg, neg, eq), S::kUnknown);
  EXPECT_EQ(SectorOf(unk, pos, pos), S::kUnknown);
}

TEST(FrontalQuadrant, SectorOfAngleFollowsTheStatementLimits) {
  EXPECT_EQ(SectorOfAngle(-30), FrontalSector::kNormal);
  EXPECT_EQ(SectorOfAngle(-31), FrontalSector::kLeft);
  EXPECT_EQ(SectorOfAngle(-91), FrontalSector::kNorthwest);
  EXPECT_EQ(SectorOfAngle(90), FrontalSector::kNormal);
  EXPECT_EQ(SectorOfAngle(91), FrontalSector::kRight);
  EXPECT_EQ(SectorOfAngle(999), FrontalSector::kUnknown);
}

TEST(FrontalQuadrant, NetAreaIsRelativeToTheLeadsOwnQrs) {
  MedianBeats m;
  m.rate = 500;
  m.length = 40;
  // From a level of 100 µV: an R of +300 for 10 samples and an S of -100
  // for 10: net 2000 over rectified 4000.
  std::vector<float> lead(40, 100.0F);
  for (size_t k = 11; k <= 20; ++k) lead[k] = 400.0F;
  for (size_t k = 21; k <= 30; ++k) lead[k] = 0.0F;
  m.leads.push_back(lead);
  bool ok = false;
  EXPECT_NEAR(NetQrsFraction(m, 0, 10, 30, ok), 0.5, 1e-9);
  EXPECT_TRUE(ok);
  // The same shape ten times smaller gives the same fraction.
  for (float& v : m.leads[0]) v /= 10.0F;
  EXPECT_NEAR(NetQrsFraction(m, 0, 10, 30, ok), 0.5, 1e-6);
  // No lead, a QRS past the median, or a flat lead: not known.
  NetQrsFraction(m, 1, 10, 30, ok);
  EXPECT_FALSE(ok);
  NetQrsFraction(m, 0, 10, 40, ok);
  EXPECT_FALSE(ok);
  m.leads[0].assign(40, 5.0F);
  NetQrsFraction(m, 0, 10, 30, ok);
  EXPECT_FALSE(ok);
}

}  // namespace
}  // namespace ecg::test::engine
