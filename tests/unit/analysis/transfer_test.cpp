// The record operations around the analysis call: moving results from the
// working copy into the record, Section 10, the calculated leads of a
// working copy, and removing earlier results.

#include <gtest/gtest.h>

#include "analysis_test_support.h"
#include "platform/last_error.h"
#include "scp/reader.h"
#include "support/section_builders.h"

using namespace ecg::test;
using ecg::platform::GetLastError;

namespace {

const std::vector<uint8_t> kCartOrder = {1, 2, 3, 4, 5, 6, 7, 8, 61, 62, 63, 64};
// The display order: the record's leads in an order the library does not use.
const std::vector<uint8_t> kDisplayOrder = {1, 2, 61, 62, 63, 64, 3, 4, 5, 6, 7, 8};

std::vector<uint16_t> MeasuredLeads(const std::string& path) {
  SLeadMeasurements measured;
  std::vector<uint16_t> codes;
  if (!CReader::ReadLeadMeasurements(path.c_str(), &measured)) return codes;
  for (uint32_t i = 0; i < measured.m_count; ++i) codes.push_back(measured.m_leads[i].m_leadId);
  return codes;
}

class TransferTest : public ::testing::Test {
 protected:
  std::string Record(const InputSpec& spec) { return folder_.Write("record.scp", InputRecord(spec)); }
  std::string Copy(const OutputSpec& spec) { return folder_.Write("copy.scp", AnalysedRecord(spec)); }
  std::string Copy(const Bytes& bytes) { return folder_.Write("copy.scp", bytes); }

  TempFolder folder_;
  AnalysisProbe probe_;
};

TEST_F(TransferTest, MediansAndMeasurementsFollowTheRecordsLeadOrder) {
  InputSpec input;
  input.leads = kDisplayOrder;
  const std::string record = Record(input);
  OutputSpec out;
  out.leads = kCartOrder;
  out.measured = kCartOrder;
  const std::string copy = Copy(out);

  ASSERT_TRUE(probe_.TransferAnalysis(record.c_str(), copy.c_str(), true));

  SEncodedData medians;
  ASSERT_TRUE(CReader::ReadMedianData(record.c_str(), &medians));
  ASSERT_EQ(medians.m_leadCount, 12);
  for (uint32_t i = 0; i < 12; ++i) {
    EXPECT_EQ(medians.Samples(i)[40], MedianValue(kDisplayOrder[i], 40)) << "lead " << i;
  }
  EXPECT_EQ(MeasuredLeads(record), std::vector<uint16_t>(kDisplayOrder.begin(), kDisplayOrder.end()));
}

TEST_F(TransferTest, WideMeasurementBlocksAreCutTo62BytesAndReadBackUnchanged) {
  InputSpec input;
  const std::string record = Record(input);
  // Blocks of 70 bytes whose own length fields say 70.
  std::vector<LeadBlock> blocks;
  for (uint8_t code : kCartOrder) {
    LeadBlock block = TypicalLeadBlock(code);
    block[1] = 70;
    blocks.push_back(block);
  }
  OutputSpec out;
  out.leads = input.leads;
  out.with_measurements = false;
  RecordBuilder b;
  for (const auto& [id, bytes] : Sections(AnalysedRecord(out))) {
    if (id != 0) b.AddSection(id, Bytes(bytes.begin() + 16, bytes.end()), bytes[8]);
  }
  b.AddSection(10, Section10(blocks, 70));
  const std::string copy = Copy(b.Build());

  ASSERT_TRUE(probe_.TransferAnalysis(record.c_str(), copy.c_str(), false));

  const Bytes section10 = Sections(ReadFile(record)).at(10);
  ASSERT_GE(section10.size(), 20u);
  EXPECT_EQ(section10[16] | (section10[17] << 8), 12);  // 8 leads + 4 derived
  EXPECT_EQ(section10[18] | (section10[19] << 8), 62);
  EXPECT_EQ(section10.size(), 16u + 4u + 12u * 62u);
  SLeadMeasurements measured;
  ASSERT_TRUE(CReader::ReadLeadMeasurements(record.c_str(), &measured));
  ASSERT_EQ(measured.m_count, 12);
  for (uint32_t i = 0; i < 12; ++i) {
    const LeadBlock expected = TypicalLeadBlock(kCartOrder[i]);
    EXPECT_EQ(measured.m_leads[i].m_leadId, kCartOrder[i]);
    EXPECT_EQ(measured.m_leads[i].m_length, 62);
    EXPECT_EQ(measured.m_leads[i].m_rAmplitude, expected[12]);
    EXPECT_EQ(measured.m_leads[i].m_stJ80, expected[30]);
  }
}

TEST_F(TransferTest, AMissingRecordLeadLeavesTheRecordAsItWas) {
  const std::string record = Record({});
  const Bytes before = ReadFile(record);
  // Section 10 without V4.
  OutputSpec no_measurement;
  no_measurement.leads = {1, 2, 3, 4, 5, 6, 7, 8};
  no_measurement.measured = {1, 2, 3, 4, 5, 7, 8, 61, 62, 63, 64};
  // Section 5 without V6.
  OutputSpec no_median = no_measurement;
  no_median.leads = {1, 2, 3, 4, 5, 6, 7};
  no_median.measured = {1, 2, 3, 4, 5, 6, 7, 8};
  for (const OutputSpec& out : {no_measurement, no_median}) {
    const std::string copy = Copy(out);
    EXPECT_FALSE(probe_.TransferAnalysis(record.c_str(), copy.c_str(), true));
    EXPECT_EQ(GetLastError(), ecg::platform::kErrorInvalidData);
    EXPECT_EQ(ReadFile(record), before);
  }
}

TEST_F(TransferTest, WorkingCopyWithoutLeadDefinitionsFailsWith232) {
  const std::string record = Record({});
  const Bytes before = ReadFile(record);
  RecordBuilder b;
  b.AddSection1(InputSection1({}));
  b.AddSection(7, Bytes(22, 0));
  const std::string copy = Copy(b.Build());
  EXPECT_FALSE(probe_.TransferAnalysis(record.c_str(), copy.c_str(), true));
  EXPECT_EQ(GetLastError(), ecg::platform::kErrorNoData);
  EXPECT_EQ(ReadFile(record), before);
}

TEST_F(TransferTest, InterpretationFlagDecidesWhetherSection1Changes) {
  InputSpec input;
  input.interpretation = "Record text";
  const std::string record = Record(input);
  const Bytes section1 = Sections(ReadFile(record)).at(1);
  OutputSpec out;
  out.input.interpretation_edited = 1;
  out.input.confirmed = 1;
  out.leads = input.leads;
  out.measured = input.leads;
  const std::string copy = Copy(out);

  ASSERT_TRUE(probe_.TransferAnalysis(record.c_str(), copy.c_str(), false));
  EXPECT_EQ(Sections(ReadFile(record)).at(1), section1);

  ASSERT_TRUE(probe_.TransferAnalysis(record.c_str(), copy.c_str(), true));
  const RecordFacts facts = ReadFacts(record);
  EXPECT_EQ(facts.interpretation, u"Engine interpretation");
  EXPECT_EQ(facts.confirmed, 1);
  EXPECT_EQ(facts.edited, 1);
}

TEST_F(TransferTest, RecordsWithMoreThanTwelveSectionsKeepThemAll) {
  RecordBuilder b;
  const Bytes input = InputRecord({});
  for (const auto& [id, bytes] : Sections(input)) {
    if (id != 0) b.AddSection(id, Bytes(bytes.begin() + 16, bytes.end()), bytes[8]);
  }
  for (uint16_t id = 128; id < 140; ++id) b.AddSection(id, Bytes(8, static_cast<uint8_t>(id)));
  const Bytes original = b.Build();
  const std::string record = folder_.Write("record.scp", original);
  OutputSpec out;
  out.leads = {1, 2, 3, 4, 5, 6, 7, 8};
  out.measured = out.leads;
  const std::string copy = Copy(out);

  ASSERT_TRUE(probe_.TransferAnalysis(record.c_str(), copy.c_str(), true));
  const auto sections = Sections(ReadFile(record));
  const auto kept = Sections(original);
  for (uint16_t id = 128; id < 140; ++id) EXPECT_EQ(sections.at(id), kept.at(id)) << id;
  for (uint16_t id : {4, 5, 7, 10}) EXPECT_EQ(sections.count(id), 1u) << id;
}

TEST_F(TransferTest, WorkingCopyWithoutMediansOrMeasurementsGivesOnlyItsOtherSections) {
  const std::string record = Record({});
  OutputSpec out;
  out.leads = {1, 2, 3, 4, 5, 6, 7, 8};
  out.with_medians = false;
  out.with_measurements = false;
  out.rhythm = {21};
  const Bytes analysed = AnalysedRecord(out);
  const std::string copy = Copy(analysed);
  ASSERT_TRUE(probe_.TransferAnalysis(record.c_str(), copy.c_str(), true));
  const auto sections = Sections(ReadFile(record));
  EXPECT_EQ(sections.count(5), 0u);
  EXPECT_EQ(sections.count(10), 0u);
  for (uint16_t id : {4, 7, 9}) EXPECT_EQ(sections.at(id), Sections(analysed).at(id));
}

TEST_F(TransferTest, Section10NeedsMeasurements) {
  EXPECT_FALSE(probe_.CreateSec10());
  EXPECT_EQ(GetLastError(), ecg::platform::kErrorNoData);
  ASSERT_TRUE(probe_.Measurements().Allocate(2));
  EXPECT_FALSE(probe_.CreateSec10());  // not marked as present
  probe_.MarkMeasurementsLoaded();
  probe_.Measurements().m_blockSize = 0;
  EXPECT_FALSE(probe_.CreateSec10());
  probe_.Measurements().m_blockSize = 40;
  probe_.Measurements().m_leads[1].m_leadId = 2;
  probe_.Measurements().m_leads[1].m_qrsDuration = -3;
  ASSERT_TRUE(probe_.CreateSec10());
  const SScpRecord& stored = probe_.Stored();
  ASSERT_EQ(stored.m_count, 2u);
  const uint8_t* section = stored.m_sections[1].get();
  EXPECT_EQ(stored.m_lengths[1], 16u + 4u + 2u * 40u);
  EXPECT_EQ(section[16], 2);
  EXPECT_EQ(section[18], 40);
  EXPECT_EQ(section[8], 10);  // section version
  const uint8_t* second = section + 20 + 40;
  EXPECT_EQ(second[0], 2);
  EXPECT_EQ(second[8], 0xFD);  // -3, little-endian
  EXPECT_EQ(second[9], 0xFF);
}

TEST_F(TransferTest, CalculatedLeadsComplete_I_II_V1ToV6OnTheWorkingCopy) {
  InputSpec input;
  input.leads = {1, 61};  // I and III
  const std::string copy = folder_.Write("copy.scp", InputRecord(input));
  ASSERT_TRUE(probe_.CreateVLeads(copy.c_str()));

  CReader reader;
  int16_t loaded = 0;
  ASSERT_TRUE(reader.Load(copy.c_str(), loaded, static_cast<int16_t>(kAllSectionBits)));
  const SLeadDefinitions* leads = reader.GetLeadDefinitionsPtr();
  ASSERT_NE(leads, nullptr);
  std::vector<uint8_t> codes;
  for (uint32_t i = 0; i < leads->m_count; ++i) codes.push_back(leads->m_leads[i].m_leadId);
  EXPECT_EQ(codes, (std::vector<uint8_t>{1, 61, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(leads->SimultaneousCount(), 9);
  const SEncodedData* rhythm = reader.GetRhythmDataPtr();
  ASSERT_NE(rhythm, nullptr);
  for (uint32_t k = 0; k < rhythm->SampleCount(2); ++k) {
    ASSERT_EQ(rhythm->Samples(2)[k], rhythm->Samples(0)[k] + rhythm->Samples(1)[k]) << k;
  }
  for (uint32_t lead = 3; lead < 9; ++lead) {
    for (uint32_t k = 0; k < rhythm->SampleCount(lead); ++k) ASSERT_EQ(rhythm->Samples(lead)[k], 0);
  }
  const SLeadErrors* errors = reader.GetLeadErrorsPtr();
  ASSERT_NE(errors, nullptr);
  EXPECT_NE(errors->Find(8), nullptr);
}

TEST_F(TransferTest, CalculatedLeadsNeedRhythmData) {
  RecordBuilder b;
  b.AddSection1(InputSection1({}));
  b.AddSection(3, Section3({{1, 1, 10}, {2, 1, 10}}));
  const Bytes original = b.Build();
  const std::string copy = folder_.Write("copy.scp", original);
  EXPECT_FALSE(probe_.CreateVLeads(copy.c_str()));
  EXPECT_EQ(GetLastError(), ecg::platform::kErrorNoData);
  EXPECT_EQ(ReadFile(copy), original);
}

TEST_F(TransferTest, RemovingResultsKeepsEveryOtherSectionByteForByte) {
  EcgRecordSpec spec;
  spec.seconds = 2;
  RecordBuilder b;
  const Bytes analysed = SyntheticEcgRecord(spec);
  for (const auto& [id, bytes] : Sections(analysed)) {
    if (id != 0) b.AddSection(id, Bytes(bytes.begin() + 16, bytes.end()), bytes[8]);
  }
  b.AddSection(4, Bytes(10, 4));
  b.AddSection(11, Bytes(10, 11));
  const Bytes original = b.Build();
  const std::string record = folder_.Write("record.scp", original);

  ASSERT_TRUE(probe_.RemoveAnalysisData(record.c_str()));
  const auto sections = Sections(ReadFile(record));
  const auto kept = Sections(original);
  for (uint16_t id : {4, 5, 7, 9, 10}) EXPECT_EQ(sections.count(id), 0u) << id;
  for (uint16_t id : {1, 3, 6, 11}) EXPECT_EQ(sections.at(id), kept.at(id)) << id;
}

}  // namespace
