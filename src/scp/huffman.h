#pragma once
// Huffman tables of SCP-ECG Section 2 and the per-lead decoding of the
// sample sections' bit streams.
//
// A lead's block is read MSB-first from its first byte; the bit reader, the
// current table and the difference state restart with every lead. Decoding
// stops after the expected number of values, so padding after the last code
// (zero bits, one bits or whole bytes) is never read as samples.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ecg::scp {

struct HuffmanCode {
  uint8_t prefixBits = 0;   // 1..32
  uint8_t totalBits = 0;    // prefix plus the bits of a following value
  uint8_t mode = 1;         // 1 ordinary code, 0 switch to table baseValue
  int16_t baseValue = 0;
  uint32_t prefix = 0;      // the prefix in transmission order, first bit highest
};

// Section 2: the default table, or the tables a record defines.
struct HuffmanTables {
  static constexpr uint16_t kDefaultTableMarker = 19999;
  static constexpr uint32_t kMaxTables = 256;
  static constexpr uint32_t kMaxCodesPerTable = 1024;

  bool defaultTable = true;
  std::vector<std::vector<HuffmanCode>> tables;  // each sorted by prefix length

  // The default table of the format: 0, +-1..+-8 and the 8- and 16-bit escapes.
  static HuffmanTables Default();
};

// Reads Section 2's data part. False with a reason when a table is cut off
// or holds a code that cannot be decoded (prefix of 0 or more than 32 bits, a
// value of more than 31 bits, a switch to a table that does not exist).
bool ParseHuffmanSection(std::span<const uint8_t> data, HuffmanTables& tables, std::string& why);

enum class HuffmanResult {
  kComplete,   // all requested values decoded
  kTruncated,  // the block ended first; `values` holds those decoded
  kBadCode,    // a bit pattern that matches no code; `values` holds those before it
};

// Decodes up to `count` values of one lead block into `values` (replaced).
HuffmanResult DecodeHuffmanBlock(const HuffmanTables& tables, std::span<const uint8_t> block,
                                 size_t count, std::vector<int32_t>& values);

// Undoes difference coding 1 or 2 in place (32-bit wrapping arithmetic);
// 0 leaves the values as they are.
void UndoDifferences(std::vector<int32_t>& values, uint8_t coding);

}  // namespace ecg::scp
