// Section 3: reading the lead definitions, their length checks, the lead
// queries on a loaded record and the one-shot readers.

#include <gtest/gtest.h>

#include "platform/last_error.h"
#include "section_probe.h"
#include "support/section_builders.h"
#include "support/test_files.h"

using namespace ecg::platform;
using namespace ecg::test;

namespace {

const std::vector<LeadRange> kThreeLeads = {{1, 1, 5000}, {2, 1, 5000}, {61, 11, 4990}};

TEST(Section3Layout, CountFlagsAndEntries) {
  SectionInMemory s(Section3(kThreeLeads, 0x45));
  SLeadDefinitions d;
  ASSERT_TRUE(SectionProbe::GetSec3Data(s.handle, s.header, &d));
  ASSERT_EQ(d.m_count, 3);
  EXPECT_EQ(d.m_flags, 0x45);
  EXPECT_EQ(d.SimultaneousCount(), 8);
  EXPECT_EQ(uint32_t{d.m_leads[2].m_startSample}, 11u);
  EXPECT_EQ(uint32_t{d.m_leads[2].m_endSample}, 4990u);
  EXPECT_EQ(d.m_leads[2].m_leadId, 61);
  EXPECT_EQ(s.Consumed(), 2u + 27u);
}

TEST(Section3Layout, LargeSampleNumbersAreFullWidth) {
  SectionInMemory s(Section3({{3, 0x01020304, 0xA0B0C0D0}}));
  SLeadDefinitions d;
  ASSERT_TRUE(SectionProbe::GetSec3Data(s.handle, s.header, &d));
  EXPECT_EQ(uint32_t{d.m_leads[0].m_startSample}, 0x01020304u);
  EXPECT_EQ(uint32_t{d.m_leads[0].m_endSample}, 0xA0B0C0D0u);
}

TEST(Section3Lengths, EntriesBeyondTheStatedLengthAreInvalidData) {
  const Bytes content = Section3(kThreeLeads);
  // The stated length counts the 16 header bytes: 16 + 2 + 27 is exact.
  {
    SectionInMemory s(content, 16 + 29);
    SLeadDefinitions d;
    EXPECT_TRUE(SectionProbe::GetSec3Data(s.handle, s.header, &d));
  }
  {
    // The check compares offsets inside the content with the stated length,
    // so a length 16 bytes short of the content still covers 2 + 27 bytes...
    SectionInMemory s(content, 29);
    SLeadDefinitions d;
    EXPECT_TRUE(SectionProbe::GetSec3Data(s.handle, s.header, &d));
  }
  {
    // ...but one byte less does not.
    SectionInMemory s(content, 28);
    SLeadDefinitions d;
    EXPECT_FALSE(SectionProbe::GetSec3Data(s.handle, s.header, &d));
    EXPECT_EQ(GetLastError(), kErrorInvalidData);
    EXPECT_EQ(d.m_count, 0);
    EXPECT_EQ(d.m_flags, 0);
  }
  {
    SectionInMemory s({}, 1);
    SLeadDefinitions d;
    EXPECT_FALSE(SectionProbe::GetSec3Data(s.handle, s.header, &d));
    EXPECT_EQ(GetLastError(), kErrorInvalidData);
  }
}

TEST(Section3Lengths, TruncatedFileAndBadCounts) {
  Bytes content = Section3(kThreeLeads);
  content.resize(content.size() - 4);  // the file ends inside the last entry
  SectionInMemory cut(content, 16 + 29);
  SLeadDefinitions d;
  EXPECT_FALSE(SectionProbe::GetSec3Data(cut.handle, cut.header, &d));
  EXPECT_EQ(d.m_count, 0);

  SectionInMemory none(Bytes{0, 0});
  EXPECT_FALSE(SectionProbe::GetSec3Data(none.handle, none.header, &d));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);  // no leads to make room for

  Bytes too_many(2 + 9 * 255, 0);
  too_many[0] = 255;
  SectionInMemory many(too_many);
  EXPECT_FALSE(SectionProbe::GetSec3Data(many.handle, many.header, &d));
  EXPECT_EQ(GetLastError(), kErrorOutOfStructures);

  SectionInMemory s(Section3(kThreeLeads));
  EXPECT_FALSE(SectionProbe::GetSec3Data(s.handle, s.header, nullptr));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
}

Bytes RecordWithLeads(const std::vector<LeadRange>& leads) {
  RecordBuilder b;
  b.AddSection(3, Section3(leads, SimultaneousFlags(static_cast<uint8_t>(leads.size()))));
  return b.Build();
}

TEST(LeadQueries, OnALoadedRecord) {
  const Bytes bytes = RecordWithLeads(kThreeLeads);
  CReader reader;
  EXPECT_EQ(reader.GetLeads(), 0);
  EXPECT_EQ(GetLastError(), kErrorNoData);
  EXPECT_EQ(reader.GetLeadId(0), 255);
  EXPECT_EQ(GetLastError(), kErrorNoData);
  const int16_t set[] = {1, 2};
  EXPECT_FALSE(reader.GetLeadSet(2, set));
  EXPECT_EQ(GetLastError(), kErrorNoData);

  int16_t loaded = 0;
  ASSERT_TRUE(reader.Load(RecordSource::Memory(bytes), loaded, kAllSectionBits));
  ASSERT_EQ(loaded, kSection0Bit | kSection3Bit);
  EXPECT_EQ(reader.SectionFlag(), kSection0Bit | kSection3Bit);
  EXPECT_EQ(reader.GetLeads(), 3);
  EXPECT_EQ(reader.GetLeadId(2), 61);
  EXPECT_EQ(reader.GetLeadId(3), 255);
  EXPECT_EQ(GetLastError(), kErrorOutOfStructures);
  EXPECT_EQ(reader.GetLeadId(-1), 255);

  EXPECT_TRUE(reader.GetLeadSet(2, set));
  // Only the low byte of each element is a code: 0x0101 asks for lead 1.
  const int16_t high_bytes[] = {0x0101, 0x3D3D};
  EXPECT_TRUE(reader.GetLeadSet(2, high_bytes));
  const int16_t with_v1[] = {1, 3, 2};
  EXPECT_FALSE(reader.GetLeadSet(3, with_v1));
  EXPECT_EQ(GetLastError(), kErrorSuccess);
  EXPECT_FALSE(reader.GetLeadSet(1, nullptr));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_TRUE(reader.GetLeadSet(0, set));

  reader.KillSection(kSection3Bit);
  EXPECT_EQ(reader.GetLeads(), 0);
  EXPECT_EQ(reader.GetLeadDefinitionsPtr(), nullptr);
}

TEST(LeadOneShotReaders, ReadLeadDefsLeadsAndLeadSet) {
  TempFolder folder;
  const std::string path = folder.Write("leads.scp", RecordWithLeads(kThreeLeads));
  SLeadDefinitions d;
  ASSERT_TRUE(CReader::ReadLeadDefs(path, &d));
  EXPECT_EQ(d.m_count, 3);
  EXPECT_EQ(d.m_leads[1].m_leadId, 2);
  EXPECT_EQ(CReader::ReadLeads(path), 3);
  const int16_t limb[] = {2, 61};
  EXPECT_TRUE(CReader::ReadLeadSet(path, 2, limb));
  const int16_t v6[] = {8};
  EXPECT_FALSE(CReader::ReadLeadSet(path, 1, v6));
  EXPECT_EQ(GetLastError(), kErrorSuccess);

  EXPECT_FALSE(CReader::ReadLeadDefs(nullptr, &d));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_FALSE(CReader::ReadLeadDefs(path, nullptr));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_EQ(CReader::ReadLeads(folder.File("missing.scp")), 0);

  // A record without Section 3: absent, not broken (last error 0).
  const std::string bare = folder.Write("bare.scp", TypicalRecord());
  EXPECT_FALSE(CReader::ReadLeadDefs(bare, &d));
  EXPECT_EQ(GetLastError(), kErrorSuccess);
  EXPECT_EQ(CReader::ReadLeads(bare), 0);
}

}  // namespace
