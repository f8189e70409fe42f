#include <gtest/gtest.h>

#include <cstring>

#include "platform/last_error.h"
#include "scp/container.h"

using namespace ecg::platform;

namespace {

TEST(SectionIndexes, AllocateLimitsAndCodes) {
  SSectionIndexes index;
  EXPECT_FALSE(index.Allocate(0));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_FALSE(index.Allocate(256));
  EXPECT_EQ(GetLastError(), kErrorOutOfStructures);
  EXPECT_EQ(index.m_overflowCount, 0u);
  ASSERT_TRUE(index.Allocate(255));
  EXPECT_EQ(index.m_overflowCount, 255u);
  EXPECT_FALSE(index.AddIndex(1));
  EXPECT_EQ(GetLastError(), kErrorOutOfStructures);
}

TEST(SectionIndexes, AddIndexKeepsEntriesAndEntryAccessStopsAtTheArrays) {
  SSectionIndexes index;
  ASSERT_TRUE(index.Allocate(1));
  index.m_overflow[0].m_id = 77;
  ASSERT_TRUE(index.AddIndex(2));
  EXPECT_EQ(index.m_overflowCount, 3u);
  EXPECT_EQ(index.m_overflow[0].m_id, 77);
  EXPECT_FALSE(index.AddIndex(0));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);

  index.m_count = 16;  // one past the overflow array
  index.m_entries[11].m_id = 11;
  ASSERT_NE(index.Entry(11), nullptr);
  EXPECT_EQ(index.Entry(11)->m_id, 11);
  ASSERT_NE(index.Entry(12), nullptr);
  EXPECT_EQ(index.Entry(12)->m_id, 77);
  EXPECT_NE(index.Entry(14), nullptr);
  EXPECT_EQ(index.Entry(15), nullptr);
  EXPECT_EQ(index.Entry(16), nullptr);

  index.KillData();
  EXPECT_EQ(index.m_count, 0u);
  EXPECT_EQ(index.m_overflowCount, 0u);
  EXPECT_EQ(index.Entry(0), nullptr);
}

TEST(ScpRecord, TableStartsWithSectionZeroAndGrowsToItsLimit) {
  SScpRecord record;
  EXPECT_EQ(record.m_count, 1u);
  EXPECT_EQ(record.m_ids[0], 0);
  EXPECT_FALSE(record.Allocate(0));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  ASSERT_TRUE(record.Allocate(10));
  *record.IdSlot(12) = 42;
  *record.LengthSlot(12) = 20;
  record.SectionSlot(12)->reset(new uint8_t[20]());
  ASSERT_TRUE(record.AddSections(200));
  EXPECT_EQ(record.m_capacity, 210);
  EXPECT_EQ(*record.IdSlot(12), 42);
  EXPECT_EQ(*record.LengthSlot(12), 20u);
  EXPECT_NE(record.SectionSlot(12)->get(), nullptr);
  EXPECT_EQ(record.IdSlot(12 + 210), nullptr);
  EXPECT_FALSE(record.AddSections(46));
  EXPECT_EQ(GetLastError(), kErrorOutOfStructures);

  record.m_sections[3].reset(new uint8_t[4]());
  record.m_count = 5;
  record.KillData();
  EXPECT_EQ(record.m_count, 1u);
  EXPECT_EQ(record.m_capacity, 0);
  EXPECT_EQ(record.m_sections[3], nullptr);
}

TEST(Headers, DecodeAndEncodeLittleEndian) {
  const uint8_t raw[16] = {0x34, 0x12, 0x05, 0x00, 0x10, 0x20, 0x30, 0x00, 11, 20, 1, 2, 3, 4, 5, 6};
  SSectionHeader h;
  h.Decode(raw);
  EXPECT_EQ(h.m_crc, 0x1234);
  EXPECT_EQ(h.m_id, 5);
  EXPECT_EQ(h.m_length, 0x302010u);
  EXPECT_EQ(h.m_sectionVersion, 11);
  EXPECT_EQ(h.m_protocolVersion, 20);
  uint8_t back[16] = {};
  h.Encode(back);
  EXPECT_EQ(0, memcmp(raw, back, 16));
}

}  // namespace
