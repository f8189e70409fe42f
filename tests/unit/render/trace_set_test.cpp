#include "render/trace_set.h"

#include <gtest/gtest.h>

#include <cmath>

#include "render/trace_painter.h"
#include "scp/reader.h"
#include "spike_record.h"
#include "support/section_builders.h"

namespace ecg::render {
namespace {

constexpr int16_t kAllSections = -1;

TEST(TraceSet, EightLeadRecordGainsTheLimbLeadsAndKeepsMicrovolts) {
  test::EcgRecordSpec spec;
  spec.leads = test::AcquiredLeadCodes();
  const test::Bytes bytes = test::SyntheticEcgRecord(spec);
  CReader reader;
  int16_t loaded = 0;
  ASSERT_TRUE(reader.Load(RecordSource::Memory(bytes), loaded, kAllSections));
  RecordTraces traces;
  ASSERT_TRUE(LoadRecordTraces(reader, &traces));
  EXPECT_EQ(traces.rhythm.leads.size(), 12u);
  EXPECT_DOUBLE_EQ(traces.rhythm.rate_hz, 500.0);
  EXPECT_NEAR(traces.rhythm.Seconds(), 10.0, 1e-9);
  EXPECT_EQ(traces.median.leads.size(), 12u);
  ASSERT_TRUE(traces.fiducials.has_value());
  EXPECT_EQ(traces.fiducials->Drawn(), (std::vector<int>{150, 250, 310, 400, 720}));
  // III = II - I, sample by sample.
  const TraceLead* i = traces.rhythm.Find(1);
  const TraceLead* ii = traces.rhythm.Find(2);
  const TraceLead* iii = traces.rhythm.Find(61);
  ASSERT_TRUE(i && ii && iii);
  for (size_t k = 0; k < i->microvolts.size(); k += 97) {
    EXPECT_NEAR(iii->microvolts[k], ii->microvolts[k] - i->microvolts[k], 1.01) << k;
  }
}

TEST(TraceSet, MarkerSamplesBecomeGapsAndTheMultiplierScales) {
  const test::Bytes bytes = test::SquarePulseRecord({1, 2}, {{100, 150}});
  CReader reader;
  int16_t loaded = 0;
  ASSERT_TRUE(reader.Load(RecordSource::Memory(bytes), loaded, kAllSections));
  RecordTraces traces;
  ASSERT_TRUE(LoadRecordTraces(reader, &traces));
  const TraceLead* i = traces.rhythm.Find(1);
  ASSERT_NE(i, nullptr);
  EXPECT_TRUE(std::isnan(i->microvolts[100]));
  EXPECT_TRUE(std::isnan(i->microvolts[149]));
  EXPECT_FALSE(std::isnan(i->microvolts[150]));
  EXPECT_FLOAT_EQ(i->microvolts[260], 1000.0f);
  EXPECT_FALSE(traces.fiducials.has_value());
  EXPECT_TRUE(traces.median.empty());
}

TEST(TraceSet, FiducialMarksLeaveOutMissingValues) {
  FiducialMarks marks{0, 29999, 300, 19999, 700};
  EXPECT_EQ(marks.Drawn(), (std::vector<int>{300, 700}));
}

TEST(TraceSet, PrintOrderPutsPreferredLeadsFirstAndKeepsTheRest) {
  TraceSet set;
  for (uint8_t code : {3, 1, 2, 99}) set.leads.push_back({code, {}});
  EXPECT_EQ(PrintOrder(set, {1, 2, 61, 62, 63, 64, 3, 4}), (std::vector<uint8_t>{1, 2, 3, 99}));
  EXPECT_EQ(PrintOrder(set, {}), (std::vector<uint8_t>{3, 1, 2, 99}));
  EXPECT_EQ(LeadLabel(63), "aVL");
  EXPECT_EQ(LeadLabel(99), "#99");
}

}  // namespace
}  // namespace ecg::render
