// The statement agreement engine/eval prints: which records count for a
// class, and how TP, FN, FP and the figures follow.

#include <gtest/gtest.h>

#include "engine/eval/statement_agreement.h"
#include "engine/statement_codes.h"

namespace ecg::test::engine {
namespace {

using namespace ecg::engine;
using namespace ecg::engine::eval;

const ClassCounts& Counts(const StatementAgreement& a, const std::string& name) {
  const auto& classes = StatementClasses();
  for (size_t i = 0; i < classes.size(); ++i) {
    if (name == classes[i].name) return a.counts()[i];
  }
  ADD_FAILURE() << name;
  return a.counts().front();
}

TEST(StatementAgreement, CountsTruePositivesMissesAndFalseCalls) {
  StatementAgreement a;
  a.Add({"Rhythm: Atrial fibrillation"}, {kAtrialFibrillation, kAbnormalEcg});    // TP
  a.Add({"Rhythm: Atrial fibrillation"}, {kSinusRhythm, kNormalEcg});             // FN
  a.Add({"Rhythm: Sinus rhythm"}, {kAtrialFibrillation, kAbnormalEcg});           // FP
  a.Add({"Rhythm: Sinus rhythm"}, {kSinusRhythm, kNormalEcg});                    // TN
  const ClassCounts& af = Counts(a, "Atrial fibrillation");
  EXPECT_EQ(af.records, 4u);
  EXPECT_EQ(af.tp, 1u);
  EXPECT_EQ(af.fn, 1u);
  EXPECT_EQ(af.fp, 1u);
  EXPECT_DOUBLE_EQ(af.Sensitivity(), 50.0);
  EXPECT_DOUBLE_EQ(af.PositivePredictivity(), 50.0);
  EXPECT_DOUBLE_EQ(af.F1(), 0.5);
}

TEST(StatementAgreement, ADiagnosisCountsByItsBeginning) {
  const StatementClass& flutter = StatementClasses()[4];
  ASSERT_STREQ(flutter.name, "Atrial flutter");
  EXPECT_TRUE(ReferenceHas(flutter, {"Rhythm: Atrial flutter, typical"}));
  EXPECT_FALSE(ReferenceHas(flutter, {"History: Rhythm: Atrial flutter"}));
}

TEST(StatementAgreement, AxisClassesCountOnlyWhereTheReferenceStatesAnAxis) {
  StatementAgreement a;
  a.Add({"Electric axis of the heart: vertical"}, {kSinusRhythm, kNormalEcg});                       // normal TP
  a.Add({"Electric axis of the heart: left axis deviation"}, {kSinusRhythm, kLeftAxisDeviation});   // left TP
  a.Add({"Rhythm: Sinus rhythm"}, {kSinusRhythm, kRightAxisDeviation});                              // not counted
  EXPECT_EQ(Counts(a, "Axis normal").records, 1u);  // the left axis record is unclear there
  EXPECT_EQ(Counts(a, "Left axis deviation").records, 2u);
  EXPECT_EQ(Counts(a, "Axis normal").tp, 1u);
  EXPECT_EQ(Counts(a, "Axis normal").fp, 0u);
  EXPECT_EQ(Counts(a, "Left axis deviation").tp, 1u);
  EXPECT_EQ(Counts(a, "Right axis deviation").fp, 0u);
}

TEST(StatementAgreement, ARefusedRecordCallsNothing) {
  StatementAgreement a;
  a.Add({"Electric axis of the heart: normal", "Rhythm: Sinus rhythm"}, {});
  EXPECT_EQ(Counts(a, "Axis normal").fn, 1u);
  EXPECT_EQ(Counts(a, "Sinus rhythm").fn, 1u);
  EXPECT_NE(a.Table().find("| Sinus rhythm "), std::string::npos);
}

TEST(StatementAgreement, SinusArrhythmiaIsASinusRhythmAndTheOriginIsComparedAtAnyRate) {
  StatementAgreement a;
  a.Add({"Rhythm: Sinus arrhythmia"}, {kSinusRhythm, kNormalEcg});                // TP for both
  a.Add({"Rhythm: Sinus rhythm"}, {kSinusBradycardia, kOtherwiseNormalEcg});      // rate class differs
  a.Add({"Rhythm: Atrial fibrillation"}, {kSinusTachycardia, kOtherwiseNormalEcg});
  EXPECT_EQ(Counts(a, "Sinus rhythm").tp, 1u);
  EXPECT_EQ(Counts(a, "Sinus rhythm").fn, 1u);
  EXPECT_EQ(Counts(a, "Sinus (any rate)").tp, 2u);
  EXPECT_EQ(Counts(a, "Sinus (any rate)").fp, 1u);
  EXPECT_EQ(Counts(a, "Sinus (any rate)").fn, 0u);
}

TEST(StatementAgreement, AReferenceLeftAxisBelowZeroDoesNotCountForTheNormalAxis) {
  StatementAgreement a;
  // The reference's left axis deviation starts at 0 degrees: an axis the
  // engine calls normal (-30..0) may be right, so the record is left out
  // of "Axis normal"; it still counts for "Left axis deviation".
  a.Add({"Electric axis of the heart: left axis deviation"}, {kSinusRhythm, kNormalEcg});
  a.Add({"Electric axis of the heart: horizontal"}, {kSinusRhythm, kLeftAxisDeviation, kBorderlineEcg});
  EXPECT_EQ(Counts(a, "Axis normal").records, 1u);
  EXPECT_EQ(Counts(a, "Axis normal").fn, 1u);
  EXPECT_EQ(Counts(a, "Left axis deviation").records, 2u);
  EXPECT_EQ(Counts(a, "Left axis deviation").fn, 1u);
  EXPECT_EQ(Counts(a, "Left axis deviation").fp, 1u);
}

}  // namespace
}  // namespace ecg::test::engine
