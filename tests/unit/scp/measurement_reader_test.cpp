// Sections 7, 9 and 10: layouts, the Section 9 entry rules, Section 10
// block sizes, length checks, and the one-shot readers.

#include <gtest/gtest.h>

#include "platform/last_error.h"
#include "section_probe.h"
#include "support/section_builders.h"
#include "support/test_files.h"

using namespace ecg::platform;
using namespace ecg::test;

namespace {

GlobalSection TypicalGlobal() {
  GlobalSection g;
  g.spikes = 2;
  g.rr = 833;
  g.pp = 840;
  g.blocks.push_back({150, 250, 310, 400, 720, -15, 48, 999});
  return g;
}

// ----------------------------------------------------------------- Section 7

TEST(Section7, FirstBlockIsRead) {
  SectionInMemory s(Section7(TypicalGlobal()));
  SGlobalMeasurements g;
  ASSERT_TRUE(SectionProbe::GetSec7Data(s.handle, s.header, &g));
  EXPECT_EQ(g.m_blockCount, 1);
  EXPECT_EQ(g.m_spikeCount, 2);
  EXPECT_EQ(g.m_rr, 833);
  EXPECT_EQ(g.m_pp, 840);
  EXPECT_EQ(g.m_pOnset, 150);
  EXPECT_EQ(g.m_pOffset, 250);
  EXPECT_EQ(g.m_qrsOnset, 310);
  EXPECT_EQ(g.m_qrsOffset, 400);
  EXPECT_EQ(g.m_tOffset, 720);
  EXPECT_EQ(g.m_pAxis, -15);
  EXPECT_EQ(g.m_qrsAxis, 48);
  EXPECT_EQ(g.m_tAxis, 999);
}

TEST(Section7, NoBlocksMeansAllMeasurementsZero) {
  GlobalSection global = TypicalGlobal();
  global.block_count = 0;  // a block follows, but the count says none
  SectionInMemory s(Section7(global));
  SGlobalMeasurements g;
  g.m_qrsOnset = 77;
  ASSERT_TRUE(SectionProbe::GetSec7Data(s.handle, s.header, &g));
  EXPECT_EQ(g.m_rr, 833);
  EXPECT_EQ(g.m_qrsOnset, 0);
  EXPECT_EQ(g.m_tAxis, 0);
}

TEST(Section7, TwoBlocksYieldTheFirst) {
  GlobalSection global = TypicalGlobal();
  global.blocks.push_back({1, 2, 3, 4, 5, 6, 7, 8});
  SectionInMemory s(Section7(global));
  SGlobalMeasurements g;
  ASSERT_TRUE(SectionProbe::GetSec7Data(s.handle, s.header, &g));
  EXPECT_EQ(g.m_blockCount, 2);
  EXPECT_EQ(g.m_pOnset, 150);
  EXPECT_EQ(g.m_tAxis, 999);
}

TEST(Section7, LengthsShortOfTheBlock) {
  const Bytes content = Section7(TypicalGlobal());
  SGlobalMeasurements g;
  {
    SectionInMemory s(content, 21);  // 6 + 16 > 21
    EXPECT_FALSE(SectionProbe::GetSec7Data(s.handle, s.header, &g));
    EXPECT_EQ(GetLastError(), kErrorInvalidData);
    EXPECT_EQ(g.m_rr, 0);  // emptied
  }
  {
    SectionInMemory s(content, 5);
    EXPECT_FALSE(SectionProbe::GetSec7Data(s.handle, s.header, &g));
    EXPECT_EQ(GetLastError(), kErrorInvalidData);
  }
  {
    Bytes cut(content.begin(), content.begin() + 12);  // the file ends in the block
    SectionInMemory s(cut, 16 + 22);
    EXPECT_FALSE(SectionProbe::GetSec7Data(s.handle, s.header, &g));
    EXPECT_EQ(g.m_rr, 0);
  }
  {
    SectionInMemory s(content);
    EXPECT_FALSE(SectionProbe::GetSec7Data(s.handle, s.header, nullptr));
    EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  }
}

// ----------------------------------------------------------------- Section 9

struct Statements {
  bool ok = false;
  uint16_t rhythm[3] = {};
  uint16_t rhythm_count = 99;
  uint16_t morphology[7] = {};
  uint16_t morphology_count = 99;
};

Statements ReadStatements(const std::string& entries, std::optional<uint32_t> length = {},
                          uint16_t rhythm_capacity = 3, uint16_t morphology_capacity = 7) {
  SectionInMemory s(Section9(entries), length);
  Statements st;
  st.ok = SectionProbe::GetSec9Data(s.handle, s.header, st.rhythm, rhythm_capacity,
                                    &st.rhythm_count, st.morphology, morphology_capacity,
                                    &st.morphology_count);
  return st;
}

TEST(Section9Entries, ThirdCharacterDecidesAndNonDigitsCountAsZero) {
  //              rhythm: "  1", "ABC", " 23"; morphology: "12 ", "101", "A1B",
  //              "9Z7", "000", "   ", "999"
  const Statements st = ReadStatements("  1ABC 2312 101A1B9Z7000   999");
  ASSERT_TRUE(st.ok);
  ASSERT_EQ(st.rhythm_count, 2);
  EXPECT_EQ(st.rhythm[0], 1);
  EXPECT_EQ(st.rhythm[1], 23);
  ASSERT_EQ(st.morphology_count, 4);
  EXPECT_EQ(st.morphology[0], 101);
  EXPECT_EQ(st.morphology[1], 907);
  EXPECT_EQ(st.morphology[2], 0);
  EXPECT_EQ(st.morphology[3], 999);
}

TEST(Section9Entries, CapacitiesLimitWhatIsStored) {
  const std::string entries = "001002003101102103104105106107";
  const Statements st = ReadStatements(entries, {}, 2, 3);
  ASSERT_TRUE(st.ok);
  EXPECT_EQ(st.rhythm_count, 2);
  EXPECT_EQ(st.rhythm[1], 2);
  EXPECT_EQ(st.rhythm[2], 0);  // untouched
  EXPECT_EQ(st.morphology_count, 3);
  EXPECT_EQ(st.morphology[2], 103);
  EXPECT_EQ(st.morphology[3], 0);
}

TEST(Section9Entries, SectionLengthAndShortFiles) {
  const std::string entries = "001002003101102103104105106107";
  // The 30 bytes fit in a stated length of 30 (the header is not deducted).
  EXPECT_TRUE(ReadStatements(entries, 30).ok);
  // Length 29: the last morphology entry does not fit; the rhythm count is
  // already stored.
  const Statements cut = ReadStatements(entries, 29);
  EXPECT_FALSE(cut.ok);
  EXPECT_EQ(GetLastError(), kErrorInvalidData);
  EXPECT_EQ(cut.rhythm_count, 3);
  EXPECT_EQ(cut.morphology_count, 99);
  const Statements none = ReadStatements(entries, 8);
  EXPECT_FALSE(none.ok);
  EXPECT_EQ(none.rhythm_count, 99);
  // A stated length beyond the file: the read comes up short.
  const Statements shrt = ReadStatements("001002003101", 46);
  EXPECT_FALSE(shrt.ok);
  EXPECT_EQ(shrt.rhythm_count, 3);
}

TEST(Section9Entries, OneBufferFormsAndNullArguments) {
  SectionInMemory a(Section9Codes({5, 6}, {201, 202, 203}));
  uint16_t rhythm[3] = {};
  ASSERT_TRUE(SectionProbe::GetSec9Data_RhythmBuf(a.handle, a.header, rhythm, 3));
  EXPECT_EQ(rhythm[0], 5);
  EXPECT_EQ(rhythm[1], 6);
  EXPECT_EQ(a.Consumed(), 30u);

  SectionInMemory b(Section9Codes({5, 6}, {201, 202, 203}));
  uint16_t morphology[7] = {};
  ASSERT_TRUE(SectionProbe::GetSec9Data_MorphologyBuf(b.handle, b.header, morphology, 7));
  EXPECT_EQ(morphology[2], 203);

  SectionInMemory c(Section9Codes({5}, {}));
  uint16_t count = 0;
  EXPECT_FALSE(SectionProbe::GetSec9Data(c.handle, c.header, nullptr, 3, &count, nullptr, 7,
                                         &count));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
}

// ---------------------------------------------------------------- Section 10

std::vector<LeadBlock> ThreeLeadBlocks() {
  return {TypicalLeadBlock(1), TypicalLeadBlock(2), TypicalLeadBlock(61)};
}

TEST(Section10Blocks, SixtyTwoBytesFillEachSlot) {
  SectionInMemory s(Section10(ThreeLeadBlocks(), 62));
  SLeadMeasurements m;
  ASSERT_TRUE(SectionProbe::GetSec10Data(s.handle, s.header, &m));
  ASSERT_EQ(m.m_count, 3);
  EXPECT_EQ(m.m_blockSize, 62);
  const SLeadMeasurement& lead = m.m_leads[2];
  const LeadBlock expected = TypicalLeadBlock(61);
  EXPECT_EQ(lead.m_leadId, 61);
  EXPECT_EQ(lead.m_length, 58);
  EXPECT_EQ(lead.m_pDuration, expected[2]);
  EXPECT_EQ(lead.m_qrsDuration, expected[4]);
  EXPECT_EQ(lead.m_qAmplitude, expected[11]);
  EXPECT_EQ(lead.m_rAmplitude, expected[12]);
  EXPECT_EQ(lead.m_sAmplitude, expected[13]);
  EXPECT_EQ(lead.m_pMinusAmplitude, expected[18]);
  EXPECT_EQ(lead.m_qualityCode, expected[27]);
  EXPECT_EQ(lead.m_stJ80, expected[30]);
}

TEST(Section10Blocks, SeventyByteBlocksKeepTheFirst62AndSkip8) {
  std::vector<LeadBlock> blocks = ThreeLeadBlocks();
  SectionInMemory s(Section10(blocks, 70));
  SLeadMeasurements m;
  ASSERT_TRUE(SectionProbe::GetSec10Data(s.handle, s.header, &m));
  ASSERT_EQ(m.m_count, 3);
  EXPECT_EQ(m.m_blockSize, 70);
  EXPECT_EQ(m.m_leads[1].m_leadId, 2);  // the skip lands on the next block
  EXPECT_EQ(m.m_leads[2].m_leadId, 61);
  EXPECT_EQ(m.m_leads[2].m_stJ80, blocks[2][30]);
  EXPECT_EQ(s.Consumed(), 4u + 3 * 70);
}

TEST(Section10Blocks, ShortFilesAreReadBlockByBlock) {
  std::vector<LeadBlock> blocks = ThreeLeadBlocks();
  Bytes content = Section10(blocks, 70);
  content.resize(content.size() - 4);  // the file ends in the last block's skipped tail
  const auto stated = static_cast<uint32_t>(16 + content.size() + 4);
  {
    SectionInMemory s(content, stated);
    SLeadMeasurements m;
    ASSERT_TRUE(SectionProbe::GetSec10Data(s.handle, s.header, &m));
    EXPECT_EQ(m.m_count, 3);
    EXPECT_EQ(m.m_leads[2].m_leadId, 61);
    EXPECT_EQ(m.m_leads[2].m_stJ80, blocks[2][30]);
  }
  content.resize(content.size() - 8);  // now it ends inside the kept bytes
  {
    SectionInMemory s(content, stated);
    SLeadMeasurements m;
    EXPECT_FALSE(SectionProbe::GetSec10Data(s.handle, s.header, &m));
    EXPECT_EQ(m.m_count, 0);
  }
}

TEST(Section10Blocks, FortyByteBlocksLeaveTheRestOfEachSlotZero) {
  SectionInMemory s(Section10(ThreeLeadBlocks(), 40));
  SLeadMeasurements m;
  ASSERT_TRUE(SectionProbe::GetSec10Data(s.handle, s.header, &m));
  ASSERT_EQ(m.m_count, 3);
  const SLeadMeasurement& lead = m.m_leads[1];
  EXPECT_EQ(lead.m_leadId, 2);
  EXPECT_EQ(lead.m_tPlusAmplitude, TypicalLeadBlock(2)[19]);  // bytes 38-39: kept
  EXPECT_EQ(lead.m_tMinusAmplitude, 0);                       // bytes 40 on: zero
  EXPECT_EQ(lead.m_stSlope, 0);
  EXPECT_EQ(lead.m_qualityCode, 0);
  EXPECT_EQ(lead.m_stJ80, 0);
}

// Found by fuzzing: blocks of 0 bytes made the one-read path copy from an
// empty buffer. Each lead gets an all-zero slot.
TEST(Section10Blocks, ZeroByteBlocksGiveEmptySlots) {
  SectionInMemory s(Bytes{2, 0, 0, 0});
  SLeadMeasurements m;
  ASSERT_TRUE(SectionProbe::GetSec10Data(s.handle, s.header, &m));
  ASSERT_EQ(m.m_count, 2);
  EXPECT_EQ(m.m_blockSize, 0);
  EXPECT_EQ(m.m_leads[1].m_leadId, 0);
  EXPECT_EQ(s.Consumed(), 4u);
}

TEST(Section10Lengths, CountsAndBlocksAgainstTheSection) {
  const Bytes content = Section10(ThreeLeadBlocks(), 62);
  SLeadMeasurements m;
  {
    // The last block is 1 byte short of the stated length (header slack
    // included).
    SectionInMemory s(content, 4 + 3 * 62 - 1);
    EXPECT_FALSE(SectionProbe::GetSec10Data(s.handle, s.header, &m));
    EXPECT_EQ(GetLastError(), kErrorInvalidData);
    EXPECT_EQ(m.m_count, 0);
    EXPECT_EQ(m.m_blockSize, 62);
  }
  {
    SectionInMemory s(content, 3);
    EXPECT_FALSE(SectionProbe::GetSec10Data(s.handle, s.header, &m));
    EXPECT_EQ(GetLastError(), kErrorInvalidData);
  }
  {
    Bytes many = content;
    many[0] = 0xFF;  // 65535 leads claimed
    many[1] = 0xFF;
    SectionInMemory s(many);
    EXPECT_FALSE(SectionProbe::GetSec10Data(s.handle, s.header, &m));
    EXPECT_EQ(GetLastError(), kErrorOutOfStructures);
  }
  {
    Bytes many = content;
    many[0] = 200;  // 200 leads claimed, 3 present
    SectionInMemory s(many);
    EXPECT_FALSE(SectionProbe::GetSec10Data(s.handle, s.header, &m));
    EXPECT_EQ(m.m_count, 0);
  }
  {
    SectionInMemory s(Bytes{0, 0, 62, 0});
    EXPECT_FALSE(SectionProbe::GetSec10Data(s.handle, s.header, &m));
    EXPECT_EQ(GetLastError(), kErrorInvalidParameter);  // no leads
  }
}

// ------------------------------------------------------- one-shot readers

Bytes MeasuredRecord(bool with7, bool with9, bool with10) {
  RecordBuilder b;
  b.AddSection1(TypicalSection1());
  if (with7) b.AddSection(7, Section7(TypicalGlobal()));
  if (with9) b.AddSection(9, Section9Codes({21, 22}, {1, 101, 300}));
  if (with10) b.AddSection(10, Section10(ThreeLeadBlocks()));
  return b.Build();
}

TEST(MeasurementOneShotReaders, AnalysisInfo) {
  TempFolder folder;
  CAnalysisInfo info;
  ASSERT_TRUE(CReader::ReadAnalysisInfo(folder.Write("a.scp", MeasuredRecord(true, true, true)),
                                        &info));
  EXPECT_EQ(info.m_global.m_qrsOffset, 400);
  ASSERT_EQ(info.m_rhythmCount, 2);
  EXPECT_EQ(info.m_rhythmCodes[1], 22);
  ASSERT_EQ(info.m_morphologyCount, 3);
  EXPECT_EQ(info.m_morphologyCodes[2], 300);

  // Without Section 9: no statements, success.
  info.m_rhythmCodes[0] = 5;
  ASSERT_TRUE(
      CReader::ReadAnalysisInfo(folder.Write("b.scp", MeasuredRecord(true, false, false)), &info));
  EXPECT_EQ(info.m_rhythmCount, 0);
  EXPECT_EQ(info.m_morphologyCount, 0);
  EXPECT_EQ(info.m_rhythmCodes[0], 0);
  EXPECT_EQ(info.m_morphologyCodes[0], 0);

  // Without Section 7: failure.
  EXPECT_FALSE(
      CReader::ReadAnalysisInfo(folder.Write("c.scp", MeasuredRecord(false, true, true)), &info));
  EXPECT_FALSE(CReader::ReadAnalysisInfo(nullptr, &info));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
}

TEST(MeasurementOneShotReaders, LeadMeasurementsAndLeadErrors) {
  TempFolder folder;
  const std::string path = folder.Write("m.scp", MeasuredRecord(true, true, true));
  SLeadMeasurements m;
  ASSERT_TRUE(CReader::ReadLeadMeasurements(path, &m));
  EXPECT_EQ(m.m_count, 3);
  EXPECT_EQ(m.m_leads[2].m_leadId, 61);
  EXPECT_FALSE(CReader::ReadLeadMeasurements(
      folder.Write("n.scp", MeasuredRecord(true, false, false)), &m));
  EXPECT_EQ(GetLastError(), kErrorSuccess);

  SLeadErrors errors;
  ASSERT_TRUE(CReader::ReadLeadErrorCodes(path, &errors));
  ASSERT_EQ(errors.m_count, 2);
  EXPECT_EQ(errors.m_entries[1].m_leadId, 2);
  EXPECT_EQ(uint16_t{errors.m_entries[1].m_errorBits}, 1);
  EXPECT_FALSE(CReader::ReadLeadErrorCodes(path, nullptr));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
}

}  // namespace
