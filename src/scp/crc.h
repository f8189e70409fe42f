#pragma once
// CRC-CCITT (polynomial 0x1021, most significant bit first, initial value
// 0xFFFF, no final XOR) as SCP-ECG records use it, and the 8-bit byte sum
// some device files carry.

#include <cstddef>
#include <cstdint>

class CCRC {
 public:
  CCRC() { ResetCRC(); }
  virtual ~CCRC() = default;

  void ResetCRC() { m_crc = 0xFFFF; }
  void UpdateCRC(const uint8_t* bytes, size_t n);
  uint16_t GetCRC() const { return m_crc; }

  void ResetChecksum() { m_checksum = 0; }
  void UpdateChecksum(const uint8_t* bytes, size_t n);
  uint8_t GetChecksum() const { return m_checksum; }

  // The CRC of a whole buffer, from a fresh register.
  static uint16_t Compute(const uint8_t* bytes, size_t n);
  // The table entry for one byte: table[1] = 0x1021, table[255] = 0x1EF0.
  static uint16_t TableEntry(uint8_t index);

 private:
  uint16_t m_crc = 0xFFFF;
  uint8_t m_checksum = 0;
};
