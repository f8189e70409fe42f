#include "scp/huffman.h"

#include <algorithm>

#include "scp/little_endian.h"

namespace ecg::scp {

namespace {

constexpr size_t kCodeStructureSize = 9;
constexpr uint8_t kMaxPrefixBits = 32;
constexpr uint8_t kMaxValueBits = 31;

// The stored base code carries the first transmitted bit in its lowest bit.
uint32_t TransmissionOrder(uint32_t stored, uint8_t bits) {
  uint32_t out = 0;
  for (uint8_t i = 0; i < bits; ++i) out = (out << 1) | ((stored >> i) & 1u);
  return out;
}

class BitReader {
 public:
  explicit BitReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  bool Next(uint32_t& bit) {
    if (position_ >= bytes_.size() * 8) return false;
    bit = (bytes_[position_ / 8] >> (7 - position_ % 8)) & 1u;
    ++position_;
    return true;
  }

 private:
  std::span<const uint8_t> bytes_;
  size_t position_ = 0;
};

void SortByPrefixLength(std::vector<HuffmanCode>& table) {
  std::stable_sort(table.begin(), table.end(), [](const HuffmanCode& a, const HuffmanCode& b) {
    return a.prefixBits < b.prefixBits;
  });
}

}  // namespace

HuffmanTables HuffmanTables::Default() {
  HuffmanTables t;
  t.defaultTable = true;
  std::vector<HuffmanCode> table;
  table.push_back({1, 1, 1, 0, 0});
  for (int v = 1; v <= 8; ++v) {
    // v one-bits, a zero, then the sign bit.
    const auto bits = static_cast<uint8_t>(v + 2);
    const uint32_t ones = ((1u << v) - 1u) << 2;
    table.push_back({bits, bits, 1, static_cast<int16_t>(v), ones});
    table.push_back({bits, bits, 1, static_cast<int16_t>(-v), ones | 1u});
  }
  table.push_back({10, 18, 1, 0, 0x3FEu});  // nine ones, a zero, 8-bit value
  table.push_back({10, 26, 1, 0, 0x3FFu});  // ten ones, 16-bit value
  SortByPrefixLength(table);
  t.tables.push_back(std::move(table));
  return t;
}

bool ParseHuffmanSection(std::span<const uint8_t> data, HuffmanTables& tables, std::string& why) {
  if (data.size() < 2) {
    why = "Section 2 has no table count";
    return false;
  }
  const uint16_t count = LoadU16(data.data());
  if (count == HuffmanTables::kDefaultTableMarker) {
    tables = HuffmanTables::Default();
    return true;  // bytes after the marker are ignored
  }
  if (count == 0 || count > HuffmanTables::kMaxTables) {
    why = "Section 2 announces " + std::to_string(count) + " tables";
    return false;
  }
  HuffmanTables out;
  out.defaultTable = false;
  size_t at = 2;
  for (uint16_t t = 0; t < count; ++t) {
    if (at + 2 > data.size()) {
      why = "Section 2 ends inside table " + std::to_string(t + 1);
      return false;
    }
    const uint16_t codes = LoadU16(data.data() + at);
    at += 2;
    if (codes == 0 || codes > HuffmanTables::kMaxCodesPerTable) {
      why = "Section 2 table " + std::to_string(t + 1) + " has " + std::to_string(codes) + " codes";
      return false;
    }
    if (data.size() - at < static_cast<size_t>(codes) * kCodeStructureSize) {
      why = "Section 2 ends inside table " + std::to_string(t + 1);
      return false;
    }
    std::vector<HuffmanCode> table;
    table.reserve(codes);
    for (uint16_t c = 0; c < codes; ++c, at += kCodeStructureSize) {
      const uint8_t* p = data.data() + at;
      HuffmanCode code;
      code.prefixBits = p[0];
      code.totalBits = p[1];
      code.mode = p[2];
      code.baseValue = static_cast<int16_t>(LoadU16(p + 3));
      if (code.prefixBits == 0 || code.prefixBits > kMaxPrefixBits ||
          code.totalBits < code.prefixBits || code.totalBits - code.prefixBits > kMaxValueBits) {
        why = "Section 2 table " + std::to_string(t + 1) + " code " + std::to_string(c + 1) +
              " has " + std::to_string(code.prefixBits) + "/" + std::to_string(code.totalBits) +
              " bits";
        return false;
      }
      code.prefix = TransmissionOrder(LoadU32(p + 5), code.prefixBits);
      table.push_back(code);
    }
    SortByPrefixLength(table);
    out.tables.push_back(std::move(table));
  }
  // Table switches: 1..N name tables from 1, 0 the first table.
  for (const auto& table : out.tables) {
    for (const auto& code : table) {
      if (code.mode == 0 && (code.baseValue < 0 || code.baseValue > static_cast<int>(count))) {
        why = "Section 2 switches to table " + std::to_string(code.baseValue) + " of " +
              std::to_string(count);
        return false;
      }
    }
  }
  tables = std::move(out);
  return true;
}

HuffmanResult DecodeHuffmanBlock(const HuffmanTables& tables, std::span<const uint8_t> block,
                                 size_t count, std::vector<int32_t>& values) {
  values.clear();
  if (tables.tables.empty()) return HuffmanResult::kBadCode;
  // Every code takes at least one bit.
  values.reserve(std::min(count, block.size() * 8));
  BitReader bits(block);
  const std::vector<HuffmanCode>* table = &tables.tables[0];
  while (values.size() < count) {
    uint32_t prefix = 0;
    uint8_t length = 0;
    const HuffmanCode* match = nullptr;
    size_t next = 0;  // first code of the table not yet shorter than `length`
    while (match == nullptr) {
      uint32_t bit = 0;
      if (!bits.Next(bit)) return HuffmanResult::kTruncated;
      prefix = (prefix << 1) | bit;
      ++length;
      while (next < table->size() && (*table)[next].prefixBits < length) ++next;
      for (size_t i = next; i < table->size() && (*table)[i].prefixBits == length; ++i) {
        if ((*table)[i].prefix == prefix) {
          match = &(*table)[i];
          break;
        }
      }
      if (match == nullptr && (next >= table->size() || length >= kMaxPrefixBits)) {
        return HuffmanResult::kBadCode;
      }
    }
    if (match->mode == 0) {
      const size_t index = match->baseValue == 0 ? 0 : static_cast<size_t>(match->baseValue) - 1;
      if (index >= tables.tables.size()) return HuffmanResult::kBadCode;
      table = &tables.tables[index];
      continue;
    }
    const uint8_t extra = static_cast<uint8_t>(match->totalBits - match->prefixBits);
    if (extra == 0) {
      values.push_back(match->baseValue);
      continue;
    }
    uint32_t raw = 0;
    for (uint8_t i = 0; i < extra; ++i) {
      uint32_t bit = 0;
      if (!bits.Next(bit)) return HuffmanResult::kTruncated;
      raw = (raw << 1) | bit;
    }
    // Two's complement of `extra` bits.
    int64_t value = raw;
    if (raw & (1u << (extra - 1))) value -= int64_t{1} << extra;
    values.push_back(static_cast<int32_t>(value));
  }
  return HuffmanResult::kComplete;
}

void UndoDifferences(std::vector<int32_t>& values, uint8_t coding) {
  if (coding == 1) {
    for (size_t n = 1; n < values.size(); ++n) {
      values[n] = static_cast<int32_t>(static_cast<uint32_t>(values[n]) +
                                       static_cast<uint32_t>(values[n - 1]));
    }
  } else if (coding == 2) {
    for (size_t n = 2; n < values.size(); ++n) {
      values[n] = static_cast<int32_t>(static_cast<uint32_t>(values[n]) +
                                       2u * static_cast<uint32_t>(values[n - 1]) -
                                       static_cast<uint32_t>(values[n - 2]));
    }
  }
}

}  // namespace ecg::scp
