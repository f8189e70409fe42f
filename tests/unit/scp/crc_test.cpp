#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "scp/crc.h"

namespace {

// The plain one-byte-at-a-time definition, to hold the fast path against.
uint16_t ReferenceCrc(const std::vector<uint8_t>& data) {
  uint16_t r = 0xFFFF;
  for (uint8_t b : data) {
    r ^= static_cast<uint16_t>(b << 8);
    for (int i = 0; i < 8; ++i) r = static_cast<uint16_t>((r & 0x8000) ? (r << 1) ^ 0x1021 : r << 1);
  }
  return r;
}

TEST(Crc, CheckValueOfDigits) {
  const std::string digits = "123456789";
  EXPECT_EQ(CCRC::Compute(reinterpret_cast<const uint8_t*>(digits.data()), digits.size()), 0x29B1);
}

TEST(Crc, TableEntriesAndFreshRegister) {
  EXPECT_EQ(CCRC::TableEntry(1), 0x1021);
  EXPECT_EQ(CCRC::TableEntry(255), 0x1EF0);
  CCRC crc;
  EXPECT_EQ(crc.GetCRC(), 0xFFFF);
  EXPECT_EQ(crc.GetChecksum(), 0);
}

TEST(Crc, FastUpdateMatchesBitwiseDefinitionForAnyLengthAndSplit) {
  std::mt19937 rng(42);
  for (size_t length : {0u, 1u, 2u, 7u, 8u, 9u, 15u, 16u, 17u, 1000u, 4099u}) {
    std::vector<uint8_t> data(length);
    for (auto& b : data) b = static_cast<uint8_t>(rng());
    const uint16_t expected = ReferenceCrc(data);
    EXPECT_EQ(CCRC::Compute(data.data(), data.size()), expected) << length;
    // Fed in two uneven pieces: the register carries across calls.
    CCRC crc;
    size_t cut = length / 3;
    crc.UpdateCRC(data.data(), cut);
    crc.UpdateCRC(data.data() + cut, length - cut);
    EXPECT_EQ(crc.GetCRC(), expected) << length;
  }
}

TEST(Crc, StoredCrcHighByteFirstLeavesZero) {
  std::vector<uint8_t> data = {'S', 'C', 'P', 0x00, 0xFF, 0x10};
  uint16_t crc = CCRC::Compute(data.data(), data.size());
  CCRC check;
  check.UpdateCRC(data.data(), data.size());
  uint8_t tail[2] = {static_cast<uint8_t>(crc >> 8), static_cast<uint8_t>(crc & 0xFF)};
  check.UpdateCRC(tail, 2);
  EXPECT_EQ(check.GetCRC(), 0);
}

TEST(Crc, ChecksumWrapsModulo256) {
  CCRC crc;
  std::vector<uint8_t> data = {0xFF, 0x02, 0x10};
  crc.UpdateChecksum(data.data(), data.size());
  EXPECT_EQ(crc.GetChecksum(), 0x11);
  crc.ResetChecksum();
  EXPECT_EQ(crc.GetChecksum(), 0);
  crc.ResetCRC();
  EXPECT_EQ(crc.GetCRC(), 0xFFFF);
}

}  // namespace
