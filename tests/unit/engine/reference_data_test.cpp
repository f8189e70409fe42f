// The engine on real ECGs, when the shared reference data is present: the
// annotated 12-lead development set (LUDB) and the beat-labelled QT
// database. The bounds are the figures the engine reaches (engine/eval
// prints them) with a margin, so that a change that makes it worse fails
// here; the targets it does not reach are in engine/README.md.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "engine/eval/beat_records.h"
#include "engine/eval/ludb_evaluation.h"
#include "engine/eval/statement_agreement.h"
#include "support/test_files.h"

namespace ecg::test::engine {
namespace {

namespace fs = std::filesystem;
using namespace ecg::engine::eval;

std::string DataFolder(const char* name) {
  const std::string shared = SharedDataFolder();
  if (shared.empty() || !fs::is_directory(fs::path(shared) / name)) return {};
  return (fs::path(shared) / name).string();
}

std::vector<std::string> Records(const std::string& folder) {
  std::vector<std::string> out;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() == ".scp") out.push_back(entry.path().string());
  }
  std::sort(out.begin(), out.end());
  return out;
}

class LudbDevelopmentSet : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = DataFolder("ludb-dev");
    if (folder_.empty()) return;
    TempFolder scratch;
    for (const std::string& record : Records(folder_)) {
      RecordEvaluation r;
      ecg::engine::RecordAnalysis run;
      std::string error;
      if (!EvaluateRecord(record, fs::path(record).replace_extension(".json").string(), scratch.File("work.scp"), r,
                          run, error)) {
        ADD_FAILURE() << error;
        continue;
      }
      totals_->Add(r);
      LudbReference ref;
      if (ReadLudbReference(fs::path(record).replace_extension(".json").string(), ref, error)) {
        agreement_->Add(ref.diagnoses, r.status.ok() ? run.result.interpretation.statements : std::vector<uint16_t>{});
      }
    }
  }
  // The counts of a class of the agreement table, by its printed name.
  static const ClassCounts& Class(const std::string& name) {
    const auto& classes = StatementClasses();
    for (size_t i = 0; i < classes.size(); ++i) {
      if (name == classes[i].name) return agreement_->counts()[i];
    }
    ADD_FAILURE() << "no class " << name;
    static const ClassCounts none;
    return none;
  }
  void SetUp() override {
    if (folder_.empty()) GTEST_SKIP() << "the shared data folder has no ludb-dev; skipped";
  }
  static std::string folder_;
  static std::unique_ptr<EvaluationTotals> totals_;
  static std::unique_ptr<StatementAgreement> agreement_;
};

std::string LudbDevelopmentSet::folder_;
std::unique_ptr<EvaluationTotals> LudbDevelopmentSet::totals_ = std::make_unique<EvaluationTotals>();
std::unique_ptr<StatementAgreement> LudbDevelopmentSet::agreement_ = std::make_unique<StatementAgreement>();

TEST_F(LudbDevelopmentSet, EveryRecordIsAnalysed) {
  EXPECT_EQ(totals_->records, 100u);
  EXPECT_EQ(totals_->codes[0], totals_->records);
}

TEST_F(LudbDevelopmentSet, BeatsAreFoundAsAnnotated) {
  EXPECT_GE(totals_->Sensitivity(), 99.5);
  EXPECT_GE(totals_->PositivePredictivity(), 99.5);
}

TEST_F(LudbDevelopmentSet, PWavesArePresentWhereTheCardiologistsMarkedThem) {
  EXPECT_GE(totals_->p_both + totals_->p_neither, 90u);
  EXPECT_LE(totals_->p_reference_only, 4u);
}

TEST_F(LudbDevelopmentSet, GlobalIntervalsAgreeWithTheReference) {
  const Differences* g = totals_->global;
  // Targets met: P duration and PR (|mean| 10 ms, SD 15 ms).
  EXPECT_LE(std::fabs(g[kPDuration].mean()), 10.0);
  EXPECT_LE(g[kPDuration].sd(), 15.0);
  EXPECT_LE(std::fabs(g[kPrInterval].mean()), 10.0);
  EXPECT_LE(g[kPrInterval].sd(), 15.0);
  // QT met (|mean| 15 ms, SD 30 ms), narrowly: one record (ludb-133, T
  // waves barely above the noise) moves the SD by several milliseconds.
  EXPECT_LE(std::fabs(g[kQtInterval].mean()), 15.0);
  EXPECT_LE(g[kQtInterval].sd(), 30.0);
  EXPECT_LE(g[kQtInterval].mean_abs(), 23.0);
  // QRS: the mean within its target (10 ms), the SD not (10 ms); bounds at
  // what is reached.
  EXPECT_LE(std::fabs(g[kQrsDuration].mean()), 8.0);
  EXPECT_LE(g[kQrsDuration].sd(), 14.5);
  // Only ludb-035's reference QT (longer than its RR) is left out.
  EXPECT_EQ(totals_->qt_left_out, 1u);
  EXPECT_EQ(g[kQtInterval].count(), 99u);
  EXPECT_LE(std::fabs(g[kRrInterval].mean()), 8.0);
}

// Bounds at the figures reached (engine/README.md), a record's worth of
// margin below; the targets (F1 0.9) are not met.
TEST_F(LudbDevelopmentSet, StatementsAgreeWithTheDiagnosesAsFarAsReached) {
  EXPECT_GE(Class("Sinus rhythm").F1(), 0.82);
  EXPECT_GE(Class("Sinus rhythm").PositivePredictivity(), 90.0);
  EXPECT_GE(Class("Sinus bradycardia").Sensitivity(), 90.0);
  EXPECT_GE(Class("Atrial fibrillation").tp, 4u);
  EXPECT_LE(Class("Atrial fibrillation").fp, 1u);
  EXPECT_GE(Class("Axis normal").Sensitivity(), 95.0);
  EXPECT_EQ(Class("Left axis deviation").fp, 0u);
  EXPECT_GE(Class("First-degree AV block").tp, 5u);
  // Every complete bundle branch block found, at most one false of each.
  EXPECT_EQ(Class("Complete RBBB").fn, 0u);
  EXPECT_EQ(Class("Complete LBBB").fn, 0u);
  EXPECT_LE(Class("Complete RBBB").fp, 2u);
  EXPECT_LE(Class("Complete LBBB").fp, 3u);
  EXPECT_EQ(Class("Incomplete RBBB").fp, 0u);
  EXPECT_GE(Class("Left atrial abnormality").F1(), 0.75);
  EXPECT_GE(Class("Premature ventricular complexes").tp, 4u);
  EXPECT_LE(Class("Premature ventricular complexes").fp, 8u);
}

TEST(LudbReferenceFiles, BeatGroupingReproducesTheStatedQrsDurations) {
  const std::string folder = DataFolder("ludb-dev");
  if (folder.empty()) GTEST_SKIP() << "the shared data folder has no ludb-dev; skipped";
  size_t agree = 0, total = 0;
  for (const std::string& record : Records(folder)) {
    LudbReference ref;
    std::string error;
    ASSERT_TRUE(ReadLudbReference(fs::path(record).replace_extension(".json").string(), ref, error)) << error;
    if (!ref.qrs_ms) continue;
    std::vector<double> durations;
    for (const ReferenceBeat& b : ReferenceBeats(ref)) {
      if (b.qrs_on < b.qrs_off) durations.push_back((b.qrs_off - b.qrs_on) * 1000.0 / ref.rate);
    }
    ASSERT_FALSE(durations.empty());
    std::sort(durations.begin(), durations.end());
    const size_t n = durations.size();
    const double median = n % 2 ? durations[n / 2] : (durations[n / 2 - 1] + durations[n / 2]) / 2;
    ++total;
    if (std::fabs(median - *ref.qrs_ms) <= 1.0) ++agree;
  }
  EXPECT_GE(agree * 100, total * 95) << agree << " of " << total;
}

TEST(QtDatabaseBeats, DetectionAndTypingHoldUpOverLongRecordings) {
  const std::string folder = DataFolder("qtdb-beats");
  if (folder.empty()) GTEST_SKIP() << "the shared data folder has no qtdb-beats; skipped";
  BeatStress stress;
  ASSERT_TRUE(MeasureBeatStress(folder, false, stress));
  EXPECT_GE(stress.Sensitivity(), 99.5);
  EXPECT_GE(stress.PositivePredictivity(), 99.5);
  const auto& normal = stress.typing["normal"];
  const auto& ventricular = stress.typing["ventricular"];
  const double normal_dominant = static_cast<double>(normal[0] + normal[1]);
  const double normal_all = static_cast<double>(normal[0] + normal[1] + normal[2] + normal[3]);
  const double ventricular_other = static_cast<double>(ventricular[2]);
  const double ventricular_all = static_cast<double>(ventricular[0] + ventricular[1] + ventricular[2] + ventricular[3]);
  EXPECT_GE(normal_dominant / normal_all, 0.93);
  EXPECT_GE(ventricular_other / ventricular_all, 0.8);
}

}  // namespace
}  // namespace ecg::test::engine
