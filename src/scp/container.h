#pragma once
// The SCP-ECG record container: the record header, the section header, the
// Section 0 index in memory, and the table of whole sections a writer fills.

#include <cstddef>
#include <cstdint>
#include <memory>

// Loaded-section bits: bit n stands for Section n.
enum : uint16_t {
  kSection0Bit = 0x0001,
  kSection1Bit = 0x0002,
  kSection3Bit = 0x0008,
  kSection5Bit = 0x0020,
  kSection6Bit = 0x0040,
  kSection7Bit = 0x0080,
  kSection9Bit = 0x0200,
  kSection10Bit = 0x0400,
  kAllSectionBits = kSection0Bit | kSection1Bit | kSection3Bit | kSection5Bit | kSection6Bit |
                    kSection7Bit | kSection9Bit | kSection10Bit,
};

constexpr size_t kRecordHeaderSize = 6;
constexpr size_t kSectionHeaderSize = 16;
constexpr size_t kIndexEntrySize = 10;
constexpr uint32_t kInlineIndexEntries = 12;
constexpr uint32_t kMaxIndexOverflow = 255;  // overflow entries held at most
constexpr uint32_t kMaxIndexEntries = 255;   // entries a record may list

struct SRecordHeader {
  uint16_t m_crc = 0;     // CRC over file bytes 2 .. end
  uint32_t m_length = 0;  // the whole file, these 6 bytes included

  void Decode(const uint8_t* bytes);
  void Encode(uint8_t* bytes) const;
};

struct SSectionHeader {
  uint16_t m_crc = 0;     // CRC over section bytes 2 .. end
  uint16_t m_id = 0;
  uint32_t m_length = 0;  // the header included
  uint8_t m_sectionVersion = 0;
  uint8_t m_protocolVersion = 0;
  uint8_t m_reserved[6] = {};

  void Decode(const uint8_t* bytes);
  void Encode(uint8_t* bytes) const;
};

#pragma pack(push, 1)
struct SIndexEntry {
  uint16_t m_id = 0;
  uint32_t m_length = 0;    // 0: section absent
  uint32_t m_position = 0;  // 1-based file position of the section; 0: absent

  void Decode(const uint8_t* bytes);
  void Encode(uint8_t* bytes) const;
};
#pragma pack(pop)
static_assert(sizeof(SIndexEntry) == kIndexEntrySize);

// The Section 0 index in memory: 12 entries inline, the rest in an overflow
// array of at most 255 entries.
struct SSectionIndexes {
  uint32_t m_count = 0;          // entries read
  uint32_t m_overflowCount = 0;  // entries the overflow array holds
  SIndexEntry m_entries[kInlineIndexEntries] = {};
  std::unique_ptr<SIndexEntry[]> m_overflow;

  SSectionIndexes() = default;
  SSectionIndexes(const SSectionIndexes&) = delete;
  SSectionIndexes& operator=(const SSectionIndexes&) = delete;

  // Discards the overflow array and makes room for n entries (zeroed).
  bool Allocate(uint32_t n);
  // Grows the overflow array by n entries, keeping the existing ones.
  bool AddIndex(uint32_t n);
  void KillDynamic();
  void KillData();

  // Entry i (0-based) of those read; null when i is past the count or past
  // the overflow array.
  SIndexEntry* Entry(uint32_t i);
  const SIndexEntry* Entry(uint32_t i) const;
};

// Whole sections (header included) ready to be written, in file order.
// Entry 0 is always Section 0.
struct SScpRecord {
  std::unique_ptr<uint8_t[]> m_sections[kInlineIndexEntries];
  uint32_t m_lengths[kInlineIndexEntries] = {};
  uint16_t m_ids[kInlineIndexEntries] = {};
  uint32_t m_count = 1;
  std::unique_ptr<std::unique_ptr<uint8_t[]>[]> m_overflowSections;
  std::unique_ptr<uint32_t[]> m_overflowLengths;
  std::unique_ptr<uint16_t[]> m_overflowIds;
  uint16_t m_capacity = 0;  // overflow entries

  SScpRecord() = default;
  SScpRecord(const SScpRecord&) = delete;
  SScpRecord& operator=(const SScpRecord&) = delete;

  bool Allocate(uint16_t n);
  bool AddSections(uint16_t n);
  void KillDynamic();
  void KillData();

  // Slot i (inline or overflow); null pointers when i is past the capacity.
  std::unique_ptr<uint8_t[]>* SectionSlot(uint32_t i);
  uint32_t* LengthSlot(uint32_t i);
  uint16_t* IdSlot(uint32_t i);
};
