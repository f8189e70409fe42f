#pragma once
// Builds SCP-ECG records byte by byte for tests: Section 1 tags, whole
// sections, the Section 0 index and every CRC, with switches for the faults
// a test wants (wrong CRCs, mismatched ids, missing sections...).

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ecg::test {

using Bytes = std::vector<uint8_t>;

void PutU16(Bytes& b, uint16_t v);
void PutU32(Bytes& b, uint32_t v);

// Section 1 content: a sequence of tags.
class TagWriter {
 public:
  TagWriter& Tag(uint8_t tag, const Bytes& value);
  // A text value with its terminating NUL (bytes as given: CP1252 in tests).
  TagWriter& Text(uint8_t tag, const std::string& text);
  TagWriter& U8(uint8_t tag, uint8_t v) { return Tag(tag, {v}); }
  TagWriter& U16(uint8_t tag, uint16_t v);
  TagWriter& U32(uint8_t tag, uint32_t v);
  TagWriter& Date(uint8_t tag, uint16_t year, uint8_t month, uint8_t day);
  TagWriter& Time(uint8_t tag, uint8_t hour, uint8_t minute, uint8_t second);
  // Tag 14: the acquiring device block.
  TagWriter& Device(uint16_t device_id, const std::string& model, const std::string& revision,
                    const std::string& serial);
  // Tag 255.
  TagWriter& End();
  // A raw header with a stated length and whatever value bytes follow.
  TagWriter& RawHeader(uint8_t tag, uint16_t length);
  TagWriter& Raw(const Bytes& bytes);
  const Bytes& bytes() const { return bytes_; }

 private:
  Bytes bytes_;
};

struct SectionSpec {
  uint16_t id = 0;
  Bytes content;                         // after the 16-byte header
  uint8_t section_version = 20;
  uint8_t protocol_version = 20;
  std::optional<uint16_t> header_id;     // a different id in the header
  std::optional<uint32_t> header_length; // a different length in the header
  bool wrong_crc = false;
};

class RecordBuilder {
 public:
  RecordBuilder& Add(SectionSpec section);
  RecordBuilder& AddSection(uint16_t id, Bytes content, uint8_t section_version = 20);
  // Section 1 from tags; End() is added when the tags lack it and `end` is true.
  RecordBuilder& AddSection1(const TagWriter& tags, uint8_t section_version = 20);
  // Index entries with these ids and length 0 (absent sections) are listed
  // too; by default ids 0 to 11 are all listed.
  RecordBuilder& ListAbsent(std::vector<uint16_t> ids);
  // Makes Section 0's first entry describe another id.
  RecordBuilder& FirstIndexId(uint16_t id);
  // Lists a section in the index with a length but position 0.
  RecordBuilder& ZeroPosition(uint16_t id);
  RecordBuilder& WrongRecordCrc();

  Bytes Build() const;

 private:
  std::vector<SectionSpec> sections_;
  std::vector<uint16_t> absent_ = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
  std::optional<uint16_t> first_index_id_;
  std::vector<uint16_t> zero_position_;
  bool wrong_record_crc_ = false;
};

// Sets the record and section CRCs of finished record bytes again after a
// test has patched them (sections found through Section 0).
void FixCrcs(Bytes& record);

// The sections of finished record bytes by id (header and CRC included), as
// Section 0 places them; sections listed with length 0 are left out.
std::map<uint16_t, Bytes> SplitSections(const Bytes& record);

// A typical Section 1: names, ID, birth date, sex, height, weight, device,
// acquisition date and time, filters, lead errors and end tag.
TagWriter TypicalSection1();
// A record with Section 1 only (and Section 0).
Bytes TypicalRecord();

}  // namespace ecg::test
