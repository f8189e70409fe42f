#include "support/record_builder.h"

#include <algorithm>

#include "scp/crc.h"

namespace ecg::test {

void PutU16(Bytes& b, uint16_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}

void PutU32(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

namespace {

void SetU16(Bytes& b, size_t at, uint16_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}

void SetU32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

uint32_t GetU32(const Bytes& b, size_t at) {
  return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
         (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

uint16_t CrcOf(const Bytes& b, size_t from, size_t to) {
  return CCRC::Compute(b.data() + from, to - from);
}

}  // namespace

// ------------------------------------------------------------------ TagWriter

TagWriter& TagWriter::Tag(uint8_t tag, const Bytes& value) {
  bytes_.push_back(tag);
  PutU16(bytes_, static_cast<uint16_t>(value.size()));
  bytes_.insert(bytes_.end(), value.begin(), value.end());
  return *this;
}

TagWriter& TagWriter::Text(uint8_t tag, const std::string& text) {
  Bytes value(text.begin(), text.end());
  value.push_back(0);
  return Tag(tag, value);
}

TagWriter& TagWriter::U16(uint8_t tag, uint16_t v) {
  Bytes value;
  PutU16(value, v);
  return Tag(tag, value);
}

TagWriter& TagWriter::U32(uint8_t tag, uint32_t v) {
  Bytes value;
  PutU32(value, v);
  return Tag(tag, value);
}

TagWriter& TagWriter::Date(uint8_t tag, uint16_t year, uint8_t month, uint8_t day) {
  Bytes value;
  PutU16(value, year);
  value.push_back(month);
  value.push_back(day);
  return Tag(tag, value);
}

TagWriter& TagWriter::Time(uint8_t tag, uint8_t hour, uint8_t minute, uint8_t second) {
  return Tag(tag, {hour, minute, second});
}

TagWriter& TagWriter::Device(uint16_t device_id, const std::string& model,
                             const std::string& revision, const std::string& serial) {
  Bytes v;
  PutU16(v, 11);         // institution
  PutU16(v, 22);         // department
  PutU16(v, device_id);
  v.push_back(0);        // device type: cart
  v.push_back(255);      // manufacturer: other
  Bytes m(6, 0);
  std::copy_n(model.begin(), std::min<size_t>(model.size(), 5), m.begin());
  v.insert(v.end(), m.begin(), m.end());
  v.push_back(20);       // protocol revision
  v.push_back(0xA0);     // compatibility
  v.push_back(0);        // language support
  v.push_back(0xD0);     // capabilities
  v.push_back(1);        // mains 50 Hz
  v.insert(v.end(), 16, 0);
  Bytes rev(revision.begin(), revision.end());
  if (!revision.empty()) rev.push_back(0);
  v.push_back(static_cast<uint8_t>(rev.size()));
  v.insert(v.end(), rev.begin(), rev.end());
  if (!serial.empty()) {
    v.insert(v.end(), serial.begin(), serial.end());
    v.push_back(0);
  }
  return Tag(14, v);
}

TagWriter& TagWriter::End() { return Tag(255, {}); }

TagWriter& TagWriter::RawHeader(uint8_t tag, uint16_t length) {
  bytes_.push_back(tag);
  PutU16(bytes_, length);
  return *this;
}

TagWriter& TagWriter::Raw(const Bytes& bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return *this;
}

// -------------------------------------------------------------- RecordBuilder

RecordBuilder& RecordBuilder::Add(SectionSpec section) {
  sections_.push_back(std::move(section));
  return *this;
}

RecordBuilder& RecordBuilder::AddSection(uint16_t id, Bytes content, uint8_t section_version) {
  SectionSpec s;
  s.id = id;
  s.content = std::move(content);
  s.section_version = section_version;
  return Add(std::move(s));
}

RecordBuilder& RecordBuilder::AddSection1(const TagWriter& tags, uint8_t section_version) {
  return AddSection(1, tags.bytes(), section_version);
}

RecordBuilder& RecordBuilder::ListAbsent(std::vector<uint16_t> ids) {
  absent_ = std::move(ids);
  return *this;
}

RecordBuilder& RecordBuilder::FirstIndexId(uint16_t id) {
  first_index_id_ = id;
  return *this;
}

RecordBuilder& RecordBuilder::ZeroPosition(uint16_t id) {
  zero_position_.push_back(id);
  return *this;
}

RecordBuilder& RecordBuilder::WrongRecordCrc() {
  wrong_record_crc_ = true;
  return *this;
}

Bytes RecordBuilder::Build() const {
  // Index: Section 0 first, then the sections in the order added, then ids
  // listed as absent that no section has.
  std::vector<uint16_t> ids = {0};
  for (const auto& s : sections_) ids.push_back(s.id);
  for (uint16_t id : absent_) {
    if (std::find(ids.begin(), ids.end(), id) == ids.end()) ids.push_back(id);
  }
  const uint32_t section0_length = static_cast<uint32_t>(16 + 10 * ids.size());

  Bytes out(6, 0);
  const size_t section0_at = out.size();
  out.resize(out.size() + section0_length, 0);

  struct Placed {
    uint16_t id;
    uint32_t position;  // 1-based
    uint32_t length;
    bool wrong_crc;
  };
  std::vector<Placed> placed;
  for (const auto& s : sections_) {
    const size_t at = out.size();
    const uint32_t length = static_cast<uint32_t>(16 + s.content.size());
    out.resize(at + 16, 0);
    SetU16(out, at + 2, s.header_id.value_or(s.id));
    SetU32(out, at + 4, s.header_length.value_or(length));
    out[at + 8] = s.section_version;
    out[at + 9] = s.protocol_version;
    out.insert(out.end(), s.content.begin(), s.content.end());
    placed.push_back({s.id, static_cast<uint32_t>(at + 1), length, s.wrong_crc});
  }

  // Section 0 header and entries.
  SetU16(out, section0_at + 2, 0);
  SetU32(out, section0_at + 4, section0_length);
  out[section0_at + 8] = 20;
  out[section0_at + 9] = 20;
  for (size_t i = 0; i < ids.size(); ++i) {
    const size_t e = section0_at + 16 + 10 * i;
    uint16_t id = ids[i];
    uint32_t length = 0, position = 0;
    if (i == 0) {
      length = section0_length;
      position = static_cast<uint32_t>(section0_at + 1);
      if (first_index_id_) id = *first_index_id_;
    } else {
      for (const auto& p : placed) {
        if (p.id == id) {
          length = p.length;
          position = p.position;
          break;
        }
      }
      if (std::find(zero_position_.begin(), zero_position_.end(), id) != zero_position_.end()) {
        position = 0;
      }
    }
    SetU16(out, e, id);
    SetU32(out, e + 2, length);
    SetU32(out, e + 6, position);
  }

  // CRCs: sections first, then the record.
  SetU16(out, section0_at, CrcOf(out, section0_at + 2, section0_at + section0_length));
  for (const auto& p : placed) {
    const size_t at = p.position - 1;
    uint16_t crc = CrcOf(out, at + 2, at + p.length);
    SetU16(out, at, p.wrong_crc ? static_cast<uint16_t>(crc ^ 0x5A5A) : crc);
  }
  SetU32(out, 2, static_cast<uint32_t>(out.size()));
  uint16_t crc = CrcOf(out, 2, out.size());
  SetU16(out, 0, wrong_record_crc_ ? static_cast<uint16_t>(crc ^ 0x1234) : crc);
  return out;
}

void FixCrcs(Bytes& record) {
  if (record.size() < 6 + 16) return;
  const uint32_t section0_length = GetU32(record, 6 + 4);
  const size_t entries = (section0_length - 16) / 10;
  for (size_t i = 0; i < entries; ++i) {
    const size_t e = 6 + 16 + 10 * i;
    if (e + 10 > record.size()) break;
    const uint32_t length = GetU32(record, e + 2);
    const uint32_t position = GetU32(record, e + 6);
    if (length < 2 || position == 0 || position - 1 + length > record.size()) continue;
    SetU16(record, position - 1, CrcOf(record, position + 1, position - 1 + length));
  }
  SetU16(record, 0, CrcOf(record, 2, record.size()));
}

std::map<uint16_t, Bytes> SplitSections(const Bytes& record) {
  std::map<uint16_t, Bytes> out;
  if (record.size() < 6 + 16) return out;
  const uint32_t length0 = GetU32(record, 6 + 4);
  for (size_t e = 6 + 16; e + 10 <= 6 + size_t{length0} && e + 10 <= record.size(); e += 10) {
    const uint16_t id = static_cast<uint16_t>(record[e] | (record[e + 1] << 8));
    const uint32_t length = GetU32(record, e + 2);
    const uint32_t position = GetU32(record, e + 6);
    if (length == 0 || position == 0 || position - 1 + size_t{length} > record.size()) continue;
    out[id] = Bytes(record.begin() + position - 1, record.begin() + position - 1 + length);
  }
  return out;
}

TagWriter TypicalSection1() {
  TagWriter t;
  t.Text(0, "Lindqvist").Text(1, "Maren").Text(2, "TM-004211");
  t.Date(5, 1961, 4, 17);
  t.Tag(6, {0xAF, 0x00, 1});   // 175 cm
  t.Tag(7, {0x48, 0x00, 1});   // 72 kg
  t.U8(8, 2);                  // female
  t.Device(4711, "TM12", "QRS 2.1", "SN-30077");
  t.Date(25, 2026, 11, 30).Time(26, 9, 41, 7);
  t.U16(27, 5).U16(28, 150).U8(29, 0x0E);
  t.Tag(200, {2, 1, 0x00, 0x00, 2, 0x01, 0x00});
  t.End();
  return t;
}

Bytes TypicalRecord() {
  RecordBuilder b;
  b.AddSection1(TypicalSection1());
  return b.Build();
}

}  // namespace ecg::test
