#pragma once
// Encoders for the compressed forms of SCP-ECG sample data, for tests that
// build records as other systems write them: difference coding, the default
// Huffman table, sample sections of encoded lead blocks, Section 4, and the
// statement sections 8 and 11.

#include <cstdint>
#include <string>
#include <vector>

#include "support/record_builder.h"

namespace ecg::test {

// The inverse of difference coding 0, 1 or 2.
std::vector<int32_t> DifferenceEncode(const std::vector<int32_t>& samples, uint8_t coding);

// Bits written MSB-first into bytes; Pad fills the last byte.
class BitWriter {
 public:
  void Put(uint32_t value, unsigned bits);  // the lowest `bits` bits, highest first
  Bytes Finish(bool pad_with_ones);

 private:
  Bytes bytes_;
  unsigned used_ = 0;  // bits used in the last byte
};

// Values in the default table's codes (escapes for |v| > 8), padded to a
// whole byte with one or zero bits.
Bytes EncodeDefaultHuffman(const std::vector<int32_t>& values, bool pad_with_ones = true);

// Section 2 content that selects the default table.
Bytes Section2Default();

// Section 5 or 6 content from finished lead blocks.
Bytes EncodedSampleSection(uint16_t multiplier, uint16_t interval, uint8_t difference,
                           uint8_t bimodal, const std::vector<Bytes>& blocks);

struct QrsEntry {
  uint16_t type = 0;
  uint32_t sb = 0, fc = 0, se = 0;  // subtraction range and fiducial, 1-based
  uint32_t qb = 0, qe = 0;          // protected zone
};
Bytes Section4(uint16_t length_ms, uint16_t fiducial, const std::vector<QrsEntry>& qrs,
               bool protected_zones = true);

// Section 8 (texts) or 11 (type byte first in each value): the 9-byte header
// and one statement per entry, each with its NUL.
Bytes StatementSectionBytes(const std::vector<std::string>& texts, bool codes = false,
                            uint8_t code_type = 1);

}  // namespace ecg::test
