// What the engine does with the records it meets besides clean ones: flat
// leads, leads off (marker samples), saturation, missing leads, rates and
// durations outside its range, files that are not records, bad arguments.

#include <gtest/gtest.h>

#include <cmath>

#include "engine/lead_measurements.h"
#include "engine/lead_quality.h"
#include "engine/result_codes.h"
#include "engine_test_support.h"
#include "scp/lead_model.h"
#include "support/section_builders.h"
#include "synthetic_record.h"

namespace ecg::test::engine {
namespace {

using namespace ecg::engine;

const SLeadMeasurement& LeadBlock(const EngineRun& run, uint8_t code) {
  const auto& leads = run.analysis.signal.leads;
  for (size_t i = 0; i < leads.size(); ++i) {
    if (leads[i].code == code) return run.analysis.result.leads[i];
  }
  ADD_FAILURE() << "no lead " << int{code};
  return run.analysis.result.leads.front();
}

void ExpectRejected(const SLeadMeasurement& m) {
  EXPECT_TRUE(m.m_qualityCode & kQualityRejected) << m.m_qualityCode;
  EXPECT_EQ(m.m_qrsDuration, kLeadRejected);
  EXPECT_EQ(m.m_rAmplitude, kLeadRejected);
  EXPECT_EQ(m.m_stJ80, kLeadRejected);
  EXPECT_EQ(m.m_tMorphology, kLeadRejected);
}

TEST(EngineLeads, AFlatLeadIsRejectedAndTheOthersMeasured) {
  TempFolder folder;
  SyntheticSpec spec;
  spec.flat = {ecg::scp::kLeadV1 + 2};  // V3
  const EngineRun run = RunEngine(folder, MakeSyntheticRecord(spec).bytes);
  ASSERT_TRUE(run.status.ok()) << run.status.reason;
  const SLeadMeasurement& v3 = LeadBlock(run, 5);
  ExpectRejected(v3);
  EXPECT_TRUE(v3.m_qualityCode & kQualityFlat);
  EXPECT_NEAR(run.global.QRSDuration(), spec.waves.qrs_duration_ms, 2.0);
  EXPECT_GT(LeadBlock(run, 6).m_rAmplitude, 1000);  // V4 as built: 1200 µV
}

TEST(EngineLeads, ALeadOffIsRejectedAndItsMarkersNamed) {
  TempFolder folder;
  SyntheticSpec spec;
  spec.markers = {{6, 0.0, 6.0, 2034}};  // V4 off for 6 of 10 s
  const EngineRun run = RunEngine(folder, MakeSyntheticRecord(spec).bytes);
  ASSERT_TRUE(run.status.ok()) << run.status.reason;
  const SLeadMeasurement& v4 = LeadBlock(run, 6);
  ExpectRejected(v4);
  EXPECT_TRUE(v4.m_qualityCode & kQualityMarkers);
  EXPECT_NEAR(run.global.QRSDuration(), spec.waves.qrs_duration_ms, 2.0);
}

TEST(EngineLeads, ShortMarkerRunsAreBridgedAndLeftOutOfTheMedian) {
  TempFolder folder;
  SyntheticSpec spec;
  // Lead I drops out for 0.4 s (status 2033) and II for 0.3 s (2032).
  spec.markers = {{1, 2.3, 0.4, 2033}, {2, 6.1, 0.3, 2032}};
  const EngineRun run = RunEngine(folder, MakeSyntheticRecord(spec).bytes);
  ASSERT_TRUE(run.status.ok()) << run.status.reason;
  EXPECT_NEAR(run.global.QRSDuration(), spec.waves.qrs_duration_ms, 2.0);
  EXPECT_NEAR(run.global.QTInterval(), spec.waves.qt_ms, 2.0);
  const SLeadMeasurement& one = LeadBlock(run, 1);
  EXPECT_TRUE(one.m_qualityCode & kQualityMarkers);
  EXPECT_FALSE(one.m_qualityCode & kQualityRejected);
  // The median of lead I is the clean beat: R as built (700 µV).
  EXPECT_NEAR(one.m_rAmplitude, 700, 15);
  // The derived limb leads carry the markers of I and II in their samples
  // (Section 6) and are measured from the medians of I and II.
  EXPECT_FALSE(LeadBlock(run, 61).m_qualityCode & kQualityRejected);
  EXPECT_NEAR(LeadBlock(run, 61).m_rAmplitude, 300, 20);  // III = II - I
}

TEST(EngineLeads, LimbLeadsOffLeaveTheChestLeadsAndUndefinedAxes) {
  TempFolder folder;
  SyntheticSpec spec;
  spec.markers = {{1, 0.0, 10.0, 2032}, {2, 0.0, 10.0, 2032}};
  const EngineRun run = RunEngine(folder, MakeSyntheticRecord(spec).bytes);
  ASSERT_TRUE(run.status.ok()) << run.status.reason;
  EXPECT_EQ(run.global.m_qrsAxis, 999);
  EXPECT_EQ(run.global.m_tAxis, 999);
  for (uint8_t code : {1, 2, 61, 62, 63, 64}) ExpectRejected(LeadBlock(run, code));
  EXPECT_NEAR(run.global.QRSDuration(), spec.waves.qrs_duration_ms, 2.0);
}

TEST(EngineLeads, SaturatedStretchesAreFlagged) {
  TempFolder folder;
  SyntheticSpec spec;
  spec.wander_uv = 2500;  // drives lead values against the 12-bit limits
  const EngineRun run = RunEngine(folder, MakeSyntheticRecord(spec).bytes);
  bool flagged = false;
  for (const auto& lead : run.analysis.signal.leads) flagged = flagged || lead.saturated_count > 0;
  EXPECT_TRUE(flagged);
  if (run.status.ok()) {
    bool coded = false;
    for (const auto& m : run.analysis.result.leads) coded = coded || (m.m_qualityCode & kQualitySaturation);
    EXPECT_TRUE(coded);
  }
}

TEST(EngineLeads, NoSignalAnywhereIsASignalQualityRefusal) {
  TempFolder folder;
  SyntheticSpec spec;
  spec.flat = {1, 2, 3, 4, 5, 6, 7, 8};
  const EngineRun run = RunEngine(folder, MakeSyntheticRecord(spec).bytes);
  EXPECT_EQ(run.status.code, kResultSignalQuality);
  EXPECT_NE(run.status.reason.find("usable leads"), std::string::npos) << run.status.reason;
}

TEST(EngineLeads, TooFewBeatsIsASignalQualityRefusal) {
  TempFolder folder;
  SyntheticSpec spec;
  spec.seconds = 5;
  spec.rr_ms = 2400;  // two beats in five seconds
  const EngineRun run = RunEngine(folder, MakeSyntheticRecord(spec).bytes);
  EXPECT_EQ(run.status.code, kResultSignalQuality);
  EXPECT_NE(run.status.reason.find("three clean beats"), std::string::npos) << run.status.reason;
}

TEST(EngineLeads, IIAndIIIAreEnoughForTheLimbLeads) {
  TempFolder folder;
  SyntheticSpec spec;
  spec.leads = {2, 61, 3, 4, 5, 6, 7, 8};
  const EngineRun run = RunEngine(folder, MakeSyntheticRecord(spec).bytes);
  ASSERT_TRUE(run.status.ok()) << run.status.reason;
  // I is calculated and added after the record's own leads, then aVR, aVL
  // and aVF.
  std::vector<uint8_t> codes;
  for (const auto& lead : run.analysis.signal.leads) codes.push_back(lead.code);
  EXPECT_EQ(codes, (std::vector<uint8_t>{2, 61, 3, 4, 5, 6, 7, 8, 1, 62, 63, 64}));
}

TEST(EngineLeads, ATwelveLeadRecordKeepsItsLeadsAndOrder) {
  TempFolder folder;
  SyntheticSpec spec;
  spec.leads = {1, 2, 61, 62, 63, 64, 3, 4, 5, 6, 7, 8};
  const EngineRun run = RunEngine(folder, MakeSyntheticRecord(spec).bytes);
  ASSERT_TRUE(run.status.ok()) << run.status.reason;
  std::vector<uint8_t> codes;
  for (const auto& m : run.analysis.result.leads) codes.push_back(static_cast<uint8_t>(m.m_leadId));
  EXPECT_EQ(codes, spec.leads);
}

struct Outside {
  const char* name;
  double rate, seconds;
  std::vector<uint8_t> leads;
  const char* reason;
};

class EngineOutside : public testing::TestWithParam<Outside> {};

TEST_P(EngineOutside, IsRefusedWithCode7AndTheFileUntouched) {
  TempFolder folder;
  SyntheticSpec spec;
  spec.rate = GetParam().rate;
  spec.seconds = GetParam().seconds;
  spec.leads = GetParam().leads;
  const Bytes bytes = MakeSyntheticRecord(spec).bytes;
  const EngineRun run = RunEngine(folder, bytes);
  EXPECT_EQ(run.status.code, kResultUnsupported);
  EXPECT_NE(run.status.reason.find(GetParam().reason), std::string::npos) << run.status.reason;
  EXPECT_EQ(ReadFile(run.path), bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Records, EngineOutside,
    testing::Values(Outside{"Rate200", 200, 10, {1, 2, 3, 4, 5, 6, 7, 8}, "sampling rate"},
                    Outside{"Rate2000", 2000, 6, {1, 2, 3, 4, 5, 6, 7, 8}, "sampling rate"},
                    Outside{"FourSeconds", 500, 4, {1, 2, 3, 4, 5, 6, 7, 8}, "duration"},
                    Outside{"TwentyOneSeconds", 500, 21, {1, 2, 3, 4, 5, 6, 7, 8}, "duration"},
                    Outside{"ChestLeadsOnly", 500, 10, {3, 4, 5, 6, 7, 8}, "leads I and II"},
                    Outside{"OneLimbLead", 500, 10, {2, 3, 4}, "leads I and II"}),
    [](const testing::TestParamInfo<Outside>& info) { return std::string(info.param.name); });

TEST(EngineFiles, WhatIsNotARecordIsRefusedUntouched) {
  TempFolder folder;
  const Bytes junk = {'n', 'o', 't', ' ', 'a', 'n', ' ', 'E', 'C', 'G'};
  const EngineRun run = RunEngine(folder, junk);
  EXPECT_EQ(run.status.code, kResultUnreadable);
  EXPECT_EQ(ReadFile(run.path), junk);

  const std::string missing = folder.File("absent.scp");
  EXPECT_EQ(AnalyseRecordFile(missing.c_str(), 1).code, kResultUnreadable);
}

TEST(EngineFiles, ARecordWithoutRhythmDataIsRefused) {
  TempFolder folder;
  RecordBuilder builder;
  builder.AddSection1(TypicalSection1());
  builder.AddSection(3, Section3({{1, 1, 5000}, {2, 1, 5000}}));
  const Bytes bytes = builder.Build();
  const EngineRun run = RunEngine(folder, bytes);
  EXPECT_EQ(run.status.code, kResultUnreadable);
  EXPECT_NE(run.status.reason.find("Section 6"), std::string::npos) << run.status.reason;
  EXPECT_EQ(ReadFile(run.path), bytes);
}

TEST(EngineFiles, BadArgumentsAreCode1) {
  TempFolder folder;
  const std::string path = folder.Write("r.scp", MakeSyntheticRecord({}).bytes);
  EXPECT_EQ(AnalyseRecordFile(nullptr, 1).code, kResultBadArgument);
  EXPECT_EQ(AnalyseRecordFile("", 1).code, kResultBadArgument);
  EXPECT_EQ(AnalyseRecordFile(path.c_str(), 0).code, kResultBadArgument);
  EXPECT_EQ(AnalyseRecordFile(path.c_str(), 3).code, kResultBadArgument);
  EXPECT_EQ(AnalyseRecordFile(path.c_str(), 2).code, kResultSuccess);
}

}  // namespace
}  // namespace ecg::test::engine
