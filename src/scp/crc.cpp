#include "scp/crc.h"

#include <array>

namespace {

// table[k][b]: the register change of byte b followed by k zero bytes. The
// first row is the classic byte table; the others let the update take eight
// bytes per step with the same result as one byte at a time.
constexpr std::array<std::array<uint16_t, 256>, 8> MakeTables() {
  std::array<std::array<uint16_t, 256>, 8> t{};
  for (unsigned b = 0; b < 256; ++b) {
    uint16_t r = static_cast<uint16_t>(b << 8);
    for (int bit = 0; bit < 8; ++bit) {
      r = static_cast<uint16_t>((r & 0x8000) ? (r << 1) ^ 0x1021 : (r << 1));
    }
    t[0][b] = r;
  }
  for (int k = 1; k < 8; ++k) {
    for (unsigned b = 0; b < 256; ++b) {
      uint16_t prev = t[k - 1][b];
      t[k][b] = static_cast<uint16_t>((prev << 8) ^ t[0][prev >> 8]);
    }
  }
  return t;
}

constexpr auto kTables = MakeTables();
static_assert(kTables[0][1] == 0x1021 && kTables[0][255] == 0x1EF0);

}  // namespace

uint16_t CCRC::TableEntry(uint8_t index) { return kTables[0][index]; }

void CCRC::UpdateCRC(const uint8_t* bytes, size_t n) {
  uint16_t r = m_crc;
  // Eight bytes per step: the register's two bytes fold into the first two.
  while (n >= 8) {
    uint8_t b0 = static_cast<uint8_t>(bytes[0] ^ (r >> 8));
    uint8_t b1 = static_cast<uint8_t>(bytes[1] ^ (r & 0xFF));
    r = static_cast<uint16_t>(kTables[7][b0] ^ kTables[6][b1] ^ kTables[5][bytes[2]] ^
                              kTables[4][bytes[3]] ^ kTables[3][bytes[4]] ^
                              kTables[2][bytes[5]] ^ kTables[1][bytes[6]] ^
                              kTables[0][bytes[7]]);
    bytes += 8;
    n -= 8;
  }
  for (size_t i = 0; i < n; ++i) {
    r = static_cast<uint16_t>((r << 8) ^ kTables[0][(r >> 8) ^ bytes[i]]);
  }
  m_crc = r;
}

void CCRC::UpdateChecksum(const uint8_t* bytes, size_t n) {
  uint8_t sum = m_checksum;
  for (size_t i = 0; i < n; ++i) sum = static_cast<uint8_t>(sum + bytes[i]);
  m_checksum = sum;
}

uint16_t CCRC::Compute(const uint8_t* bytes, size_t n) {
  CCRC crc;
  crc.UpdateCRC(bytes, n);
  return crc.GetCRC();
}
