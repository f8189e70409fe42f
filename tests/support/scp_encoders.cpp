#include "support/scp_encoders.h"

#include <cstdlib>

namespace ecg::test {

std::vector<int32_t> DifferenceEncode(const std::vector<int32_t>& x, uint8_t coding) {
  std::vector<int32_t> d(x);
  for (size_t n = 0; n < x.size(); ++n) {
    if (coding == 1 && n >= 1) d[n] = x[n] - x[n - 1];
    if (coding == 2 && n >= 2) d[n] = x[n] - 2 * x[n - 1] + x[n - 2];
  }
  return d;
}

void BitWriter::Put(uint32_t value, unsigned bits) {
  for (unsigned i = bits; i-- > 0;) {
    if (used_ == 0) bytes_.push_back(0);
    if ((value >> i) & 1u) bytes_.back() |= static_cast<uint8_t>(0x80u >> used_);
    used_ = (used_ + 1) % 8;
  }
}

Bytes BitWriter::Finish(bool pad_with_ones) {
  if (pad_with_ones && used_ != 0) bytes_.back() |= static_cast<uint8_t>(0xFFu >> used_);
  used_ = 0;
  return std::move(bytes_);
}

Bytes EncodeDefaultHuffman(const std::vector<int32_t>& values, bool pad_with_ones) {
  BitWriter w;
  for (int32_t v : values) {
    const int32_t a = std::abs(v);
    if (v == 0) {
      w.Put(0, 1);
    } else if (a <= 8) {
      w.Put((1u << a) - 1u, static_cast<unsigned>(a));
      w.Put(0, 1);
      w.Put(v < 0 ? 1u : 0u, 1);
    } else if (v >= -128 && v <= 127) {
      w.Put(0x3FE, 10);
      w.Put(static_cast<uint32_t>(v) & 0xFFu, 8);
    } else {
      w.Put(0x3FF, 10);
      w.Put(static_cast<uint32_t>(v) & 0xFFFFu, 16);
    }
  }
  return w.Finish(pad_with_ones);
}

Bytes Section2Default() {
  Bytes b;
  PutU16(b, 19999);
  return b;
}

Bytes EncodedSampleSection(uint16_t multiplier, uint16_t interval, uint8_t difference,
                           uint8_t bimodal, const std::vector<Bytes>& blocks) {
  Bytes b;
  PutU16(b, multiplier);
  PutU16(b, interval);
  b.push_back(difference);
  b.push_back(bimodal);
  for (const auto& block : blocks) PutU16(b, static_cast<uint16_t>(block.size()));
  for (const auto& block : blocks) b.insert(b.end(), block.begin(), block.end());
  return b;
}

Bytes Section4(uint16_t length_ms, uint16_t fiducial, const std::vector<QrsEntry>& qrs,
               bool protected_zones) {
  Bytes b;
  PutU16(b, length_ms);
  PutU16(b, fiducial);
  PutU16(b, static_cast<uint16_t>(qrs.size()));
  for (const auto& q : qrs) {
    PutU16(b, q.type);
    PutU32(b, q.sb);
    PutU32(b, q.fc);
    PutU32(b, q.se);
  }
  if (protected_zones) {
    for (const auto& q : qrs) {
      PutU32(b, q.qb);
      PutU32(b, q.qe);
    }
  }
  return b;
}

Bytes StatementSectionBytes(const std::vector<std::string>& texts, bool codes, uint8_t code_type) {
  Bytes b = {0};  // original, unconfirmed
  PutU16(b, 2024);
  for (uint8_t v : {5, 6, 7, 8, 9}) b.push_back(v);
  b.push_back(static_cast<uint8_t>(texts.size()));
  uint8_t sequence = 1;
  for (const auto& text : texts) {
    b.push_back(sequence++);
    PutU16(b, static_cast<uint16_t>(text.size() + 1 + (codes ? 1 : 0)));
    if (codes) b.push_back(code_type);
    b.insert(b.end(), text.begin(), text.end());
    b.push_back(0);
  }
  return b;
}

}  // namespace ecg::test
