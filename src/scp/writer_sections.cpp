// Building sections from the model, copying sections from the source record,
// Section 0 and writing the record.

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "platform/byte_stream.h"
#include "platform/last_error.h"
#include "platform/text_codec.h"
#include "scp/little_endian.h"
#include "scp/writer.h"

using namespace ecg::platform;
using ecg::scp::StoreU16;
using ecg::scp::StoreU32;

namespace {

constexpr uint8_t kEndTag = 255;

// A section being assembled in a growing byte vector.
class SectionBytes {
 public:
  SectionBytes() : bytes_(kSectionHeaderSize, 0) {}
  void U8(uint8_t v) { bytes_.push_back(v); }
  void U16(uint16_t v) {
    bytes_.push_back(static_cast<uint8_t>(v));
    bytes_.push_back(static_cast<uint8_t>(v >> 8));
  }
  void U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  void Raw(const void* p, size_t n) {
    const auto* b = static_cast<const uint8_t*>(p);
    bytes_.insert(bytes_.end(), b, b + n);
  }
  void Tag(uint8_t tag, const void* value, size_t n) {
    U8(tag);
    U16(static_cast<uint16_t>(n));
    Raw(value, n);
  }
  void PadEven() {
    if (bytes_.size() % 2 != 0) bytes_.push_back(0);
  }
  size_t size() const { return bytes_.size(); }
  std::vector<uint8_t>& bytes() { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

// A text tag value: the ANSI text with its NUL; empty when the text is absent
// or empty (the tag is then left out).
bool TextValue(const WideText& text, std::string& value) {
  value.clear();
  if (!text || text->empty()) return true;
  if (!WideToAnsiBestFit(*text, value)) return false;
  value.push_back('\0');
  return true;
}

void TextTag(SectionBytes& s, uint8_t tag, const std::string& value) {
  if (!value.empty()) s.Tag(tag, value.data(), value.size());
}

uint8_t SectionVersionFor(uint16_t id) {
  switch (id) {
    case 1: return 11;
    case 0: case 3: case 5: case 6: case 7: case 9: case 10: return 10;
    default: return 0;
  }
}

// Tag 29 as written: one mains bit (50 Hz wins), muscle and baseline copied.
uint8_t FilterBitMapByte(uint8_t held) {
  uint8_t out = (held & 0x02) ? 2 : (held & 0x01) ? 1 : 0;
  return static_cast<uint8_t>(out | (held & 0x04) | (held & 0x08));
}

bool IsKeptUnknownTag(int tag) {
  return tag == 3 || (tag >= 9 && tag <= 13) || (tag >= 15 && tag <= 20) ||
         (tag >= 22 && tag <= 24) || (tag >= 30 && tag <= 199) || (tag >= 220 && tag <= 254);
}

}  // namespace

// ------------------------------------------------------------------ table

void CWriter::EmptyStoredSections() { m_stored.KillData(); }

bool CWriter::AppendSection(uint16_t id, std::unique_ptr<uint8_t[]> buffer, uint32_t length) {
  if (!buffer) return Fail(kErrorOutOfMemory);
  if (m_stored.m_count + 1 >= kMaxStoredSections) return Fail(kErrorOutOfStructures);
  const uint32_t index = m_stored.m_count;
  auto* slot = m_stored.SectionSlot(index);
  if (slot == nullptr) return Fail(kErrorOutOfStructures);
  *slot = std::move(buffer);
  *m_stored.LengthSlot(index) = length;
  *m_stored.IdSlot(index) = id;
  m_stored.m_count = index + 1;
  return true;
}

bool CWriter::StoreSectionHeader(uint16_t index) {
  auto* slot = m_stored.SectionSlot(index);
  if (slot == nullptr) return Fail(kErrorOutOfStructures);
  uint8_t* section = slot->get();
  const uint32_t length = *m_stored.LengthSlot(index);
  if (section == nullptr || length < kSectionHeaderSize) return Fail(kErrorNoData);
  SSectionHeader header;
  header.m_id = *m_stored.IdSlot(index);
  header.m_length = length;
  header.m_sectionVersion = SectionVersionFor(header.m_id);
  header.m_protocolVersion = 0;
  header.Encode(section);
  StoreU16(section, CCRC::Compute(section + 2, length - 2));
  return true;
}

bool CWriter::StoreBuiltSection(uint16_t id, std::vector<uint8_t>& bytes) {
  if (bytes.size() > UINT32_MAX) return Fail(kErrorOutOfStructures);
  std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[bytes.size()]);
  if (!buffer) return Fail(kErrorOutOfMemory);
  std::memcpy(buffer.get(), bytes.data(), bytes.size());
  const uint32_t index = m_stored.m_count;
  if (!AppendSection(id, std::move(buffer), static_cast<uint32_t>(bytes.size()))) return false;
  if (!StoreSectionHeader(static_cast<uint16_t>(index))) {
    LastErrorKeeper keep;
    m_stored.SectionSlot(index)->reset();
    *m_stored.LengthSlot(index) = 0;
    *m_stored.IdSlot(index) = 0;
    m_stored.m_count = index;
    return false;
  }
  return true;
}

// -------------------------------------------------------------- Section 1

bool CWriter::CreateSec1() {
  if ((m_loaded & kSection1Bit) == 0) return Fail(kErrorNoData);
  if (m_stored.m_count + 1 >= kMaxStoredSections) return Fail(kErrorOutOfStructures);

  const CPatientInfo& p = m_patientInfo;
  const CRecordInfo& r = m_recordInfo;
  const CGeneralInfo& g = m_generalInfo;
  // The calculated leads' entries are added when leads I and II have theirs;
  // without them the list is written as it is.
  m_leadErrors.AddCalcLeads();

  // An updated record names this writer as its last editor and keeps its
  // creator; a new record names this writer as its creator.
  const WideText writer_app = m_hasWriter ? WideText(m_writerApplication) : WideText();
  const WideText writer_ver = m_hasWriter ? WideText(m_writerVersion) : WideText();

  // Text tags by number.
  auto text_for = [&](int tag) -> const WideText* {
    switch (tag) {
      case 0: return &p.m_lastName;
      case 1: return &p.m_firstName;
      case 2: return &p.m_patientId;
      case 21: return &g.m_confirmingPhysician;
      case 202: return &g.m_comment;
      case 205: return &g.m_recordingId;
      case 208: return m_updateMode ? &writer_app : &g.m_editingApplication;
      case 209: return m_updateMode ? &writer_ver : &g.m_editingVersion;
      case 210: return m_updateMode ? &g.m_creatingApplication : &writer_app;
      case 211: return m_updateMode ? &g.m_creatingVersion : &writer_ver;
      case 213: return &g.m_secondPhysician;
      case 214: return &g.m_thirdPhysician;
      case 215: return &g.m_recordingLocation;
      case 216: return &g.m_interpretationApplication;
      case 217: return &g.m_interpretationVersion;
      case 218: return &g.m_recordingApplication;
      case 219: return &g.m_recordingVersion;
      default: return nullptr;
    }
  };

  SectionBytes s;
  std::string text;
  for (int tag = 0; tag <= 254; ++tag) {
    const auto t = static_cast<uint8_t>(tag);
    if (const WideText* value = text_for(tag)) {
      if (!TextValue(*value, text)) return false;
      TextTag(s, t, text);
      continue;
    }
    if (IsKeptUnknownTag(tag)) {
      if (m_unknownTags.m_lengths[tag] > 0) {
        s.Tag(t, m_unknownTags.m_values[tag].get(), m_unknownTags.m_lengths[tag]);
      }
      continue;
    }
    uint8_t v[12];
    switch (tag) {
      case 4:  // age in whole years at the acquisition
        if (p.m_birthYear != 0 && p.m_birthMonth != 0 && r.m_year != 0) {
          const int age =
              r.m_month != 0
                  ? ((r.m_year - p.m_birthYear) * 12 + (r.m_month - p.m_birthMonth)) / 12
                  : r.m_year - p.m_birthYear;
          StoreU16(v, static_cast<uint16_t>(age));
          v[2] = 1;
          s.Tag(t, v, 3);
        } else if (m_unknownTags.m_lengths[4] > 0) {
          s.Tag(t, m_unknownTags.m_values[4].get(), m_unknownTags.m_lengths[4]);
        }
        break;
      case 5:
        StoreU16(v, p.m_birthYear);
        v[2] = static_cast<uint8_t>(p.m_birthMonth);
        v[3] = static_cast<uint8_t>(p.m_birthDay);
        s.Tag(t, v, 4);
        break;
      case 6:
        if (p.m_height != 0) {
          StoreU16(v, static_cast<uint16_t>(p.m_height / 10));
          v[2] = 1;
          s.Tag(t, v, 3);
        }
        break;
      case 7:
        if (p.m_weight != 0) {
          StoreU16(v, static_cast<uint16_t>(p.m_weight / 1000));
          v[2] = 1;
          s.Tag(t, v, 3);
        }
        break;
      case 8:
        s.Tag(t, &p.m_sex, 1);
        break;
      case 14: {
        std::vector<uint8_t> block;
        if (!DeviceBlock(block)) return false;
        s.Tag(t, block.data(), block.size());
        break;
      }
      case 25:
        StoreU16(v, r.m_year);
        v[2] = static_cast<uint8_t>(r.m_month);
        v[3] = static_cast<uint8_t>(r.m_day);
        s.Tag(t, v, 4);
        break;
      case 26:
        v[0] = static_cast<uint8_t>(r.m_hour);
        v[1] = static_cast<uint8_t>(r.m_minute);
        v[2] = static_cast<uint8_t>(r.m_second);
        s.Tag(t, v, 3);
        break;
      case 27:
      case 28: {
        const uint16_t filter = tag == 27 ? r.m_baselineFilter : r.m_lowPassFilter;
        if (filter != 0) {
          StoreU16(v, filter);
          s.Tag(t, v, 2);
        }
        break;
      }
      case 29:
        if (r.m_filterBitMap != 0) {
          v[0] = FilterBitMapByte(r.m_filterBitMap);
          s.Tag(t, v, 1);
        }
        break;
      case 200: {
        std::vector<uint8_t> list;
        list.push_back(m_leadErrors.m_count);
        for (uint32_t i = 0; i < m_leadErrors.m_count; ++i) {
          const uint16_t bits = m_leadErrors.m_entries[i].m_errorBits;
          list.push_back(m_leadErrors.m_entries[i].m_leadId);
          list.push_back(static_cast<uint8_t>(bits));
          list.push_back(static_cast<uint8_t>(bits >> 8));
        }
        s.Tag(t, list.data(), list.size());
        break;
      }
      case 201:
        if (!TextValue(g.m_interpretation, text)) return false;
        if (!text.empty()) {
          std::string value(1, static_cast<char>(g.m_interpretationEdited));
          value += text;
          if (value.size() > 0xFFFF) {
            value.resize(0xFFFF);
            value.back() = '\0';
          }
          s.Tag(t, value.data(), value.size());
        }
        break;
      case 203: {
        const uint16_t fields[6] = {g.m_receivedYear, g.m_receivedMonth,  g.m_receivedDay,
                                    g.m_receivedHour, g.m_receivedMinute, g.m_receivedSecond};
        for (int i = 0; i < 6; ++i) StoreU16(v + 2 * i, fields[i]);
        s.Tag(t, v, 12);
        break;
      }
      case 204:
        s.Tag(t, &g.m_confirmed, 1);
        break;
      case 206:
        if (p.m_weight != 0) {
          StoreU32(v, p.m_weight);
          s.Tag(t, v, 4);
        }
        break;
      case 207:
        if (p.m_height != 0) {
          StoreU16(v, p.m_height);
          s.Tag(t, v, 2);
        }
        break;
      case 212:
        s.Tag(t, &r.m_writerFilter, 1);
        break;
      default:
        break;
    }
  }
  s.Tag(kEndTag, nullptr, 0);
  s.PadEven();
  return StoreBuiltSection(1, s.bytes());
}

bool CWriter::DeviceBlock(std::vector<uint8_t>& block) const {
  const CRecordInfo& r = m_recordInfo;
  block.assign(36, 0);
  StoreU16(block.data(), 1);      // institution
  StoreU16(block.data() + 2, 1);  // department
  StoreU16(block.data() + 4, r.m_deviceId);
  block[6] = 1;                   // device type
  block[7] = 100;                 // manufacturer
  if (!r.m_modelDescription || r.m_modelDescription->empty()) {
    std::memcpy(block.data() + 8, "UKV  ", 5);
  } else {
    std::string model;
    if (!WideToAnsiBestFit(r.m_modelDescription->substr(0, 5), model)) return false;
    std::memcpy(block.data() + 8, model.data(), std::min<size_t>(model.size(), 5));
  }
  block[14] = 10;   // protocol revision
  block[15] = 255;  // compatibility level
  block[16] = 0;    // language support
  block[17] = 255;  // capabilities
  block[18] = 0;    // mains frequency
  std::memcpy(block.data() + 19, "255.255.255.255", 16);  // its NUL included
  std::string revision, serial;
  if (!TextValue(r.m_analysingProgramRevision, revision) || !TextValue(r.m_serialNumber, serial)) {
    return false;
  }
  if (revision.size() > 255) {
    revision.resize(255);
    revision.back() = '\0';
  }
  block[35] = static_cast<uint8_t>(revision.size());
  block.insert(block.end(), revision.begin(), revision.end());
  block.insert(block.end(), serial.begin(), serial.end());
  if (block.size() > 0xFFFF) {
    block.resize(0xFFFF);
    block.back() = 0;
  }
  return true;
}

// ------------------------------------------------------- Sections 3, 5, 6

namespace {

// The sample section layout shared by Sections 5 and 6.
bool AppendSampleData(SectionBytes& s, const SEncodedData& data) {
  s.U16(data.m_amplitudeMultiplier);
  s.U16(data.m_sampleInterval);
  s.U8(data.m_differenceUsed);
  s.U8(data.m_bimodal);
  for (uint32_t lead = 0; lead < data.m_leadCount; ++lead) {
    const uint32_t bytes = data.m_samples[lead] ? data.m_sampleCounts[lead] * 2u : 0u;
    if (bytes > 0xFFFF) return Fail(kErrorOutOfStructures);  // a lead's length is 16-bit
    s.U16(static_cast<uint16_t>(bytes));
  }
  for (uint32_t lead = 0; lead < data.m_leadCount; ++lead) {
    if (!data.m_samples[lead]) continue;
    for (uint32_t i = 0; i < data.m_sampleCounts[lead]; ++i) {
      s.U16(static_cast<uint16_t>(data.m_samples[lead][i]));
    }
  }
  s.PadEven();
  return true;
}

bool HasLeadArrays(const SEncodedData& data) {
  return data.m_leadCount > 0 && data.m_samples && data.m_sampleCounts;
}

}  // namespace

bool CWriter::CreateSec3_6(bool /*rhythm_only: no effect on what is written*/) {
  if (!m_rhythmReady || (m_loaded & kSection6Bit) == 0 || (m_loaded & kSection3Bit) == 0 ||
      !m_leadDefinitions.m_leads || !HasLeadArrays(m_rhythmData)) {
    return Fail(kErrorNoData);
  }
  if (m_stored.m_count + 2 >= kMaxStoredSections) return Fail(kErrorOutOfStructures);
  SectionBytes six;
  if (!AppendSampleData(six, m_rhythmData)) return false;
  SectionBytes three;
  three.U8(m_leadDefinitions.m_count);
  three.U8(m_leadDefinitions.m_flags);
  for (uint32_t i = 0; i < m_leadDefinitions.m_count; ++i) {
    const SLeadDef& lead = m_leadDefinitions.m_leads[i];
    three.U32(lead.m_startSample);
    three.U32(lead.m_endSample);
    three.U8(lead.m_leadId);
  }
  three.PadEven();
  const uint32_t six_index = m_stored.m_count;
  if (!StoreBuiltSection(6, six.bytes())) return false;
  if (!StoreBuiltSection(3, three.bytes())) {
    m_stored.SectionSlot(six_index)->reset();
    *m_stored.LengthSlot(six_index) = 0;
    *m_stored.IdSlot(six_index) = 0;
    m_stored.m_count = six_index;
    return false;
  }
  return true;
}

bool CWriter::CreateSec5() {
  if (!m_medianReady || (m_loaded & kSection5Bit) == 0 || !HasLeadArrays(m_medianData)) {
    return Fail(kErrorNoData);
  }
  if (m_stored.m_count + 1 >= kMaxStoredSections) return Fail(kErrorOutOfStructures);
  SectionBytes five;
  if (!AppendSampleData(five, m_medianData)) return false;
  return StoreBuiltSection(5, five.bytes());
}

// ---------------------------------------------------- copying and dropping

bool CWriter::StoreSection(uint16_t id) {
  if (!m_file) return Fail(kErrorInvalidAccess);
  if (id == 0) return Fail(kErrorInvalidParameter);
  if (m_stored.m_count + 1 >= kMaxStoredSections) return Fail(kErrorOutOfStructures);
  if ((m_loaded & kSection0Bit) == 0) {
    if (!m_file->Seek(kRecordHeaderSize) || !GetSection0(m_file, &m_index)) return false;
    m_loaded |= kSection0Bit;
  }
  const SIndexEntry* found = nullptr;
  for (uint32_t i = 0; i < m_index.m_count; ++i) {
    const SIndexEntry* entry = m_index.Entry(i);
    if (entry == nullptr) return Fail(kErrorOutOfStructures);
    if (entry->m_id == id) {
      found = entry;
      break;
    }
  }
  if (found == nullptr || found->m_length == 0) return true;
  // The section must lie inside the file before a buffer is made for it.
  uint64_t size = 0;
  if (!m_file->Size(&size)) return false;
  if (found->m_position == 0 || found->m_length < kSectionHeaderSize ||
      uint64_t{found->m_position} - 1 + found->m_length > size) {
    return Fail(kErrorInvalidData);
  }
  std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[found->m_length]);
  if (!buffer) return Fail(kErrorOutOfMemory);
  size_t got = 0;
  if (!m_file->ReadAt(found->m_position - 1, buffer.get(), found->m_length, &got)) return false;
  if (got != found->m_length) return Fail(kErrorInvalidData);
  return AppendSection(id, std::move(buffer), found->m_length);
}

bool CWriter::UnstoreSection(uint16_t id) {
  if (!m_file) return Fail(kErrorInvalidAccess);
  for (uint32_t i = 0; i < m_stored.m_count; ++i) {
    if (*m_stored.IdSlot(i) != id) continue;
    m_stored.SectionSlot(i)->reset();
    *m_stored.LengthSlot(i) = 0;
    if (id != 0) {
      for (uint32_t k = i; k + 1 < m_stored.m_count; ++k) {
        *m_stored.SectionSlot(k) = std::move(*m_stored.SectionSlot(k + 1));
        *m_stored.LengthSlot(k) = *m_stored.LengthSlot(k + 1);
        *m_stored.IdSlot(k) = *m_stored.IdSlot(k + 1);
      }
      const uint32_t last = m_stored.m_count - 1;
      m_stored.SectionSlot(last)->reset();
      *m_stored.LengthSlot(last) = 0;
      *m_stored.IdSlot(last) = 0;
      m_stored.m_count = last;
    }
    return true;
  }
  return true;
}

// ------------------------------------------------------ Section 0, writing

bool CWriter::CreateSec0() {
  // Entries: ids 0-11, then every stored section with id 12 or more.
  struct Entry {
    uint16_t id;
    uint32_t stored;  // table index, or UINT32_MAX when not stored
  };
  std::vector<Entry> entries;
  for (uint16_t id = 0; id < 12; ++id) {
    Entry e{id, UINT32_MAX};
    for (uint32_t i = 1; i < m_stored.m_count && id != 0; ++i) {
      if (*m_stored.IdSlot(i) == id && *m_stored.LengthSlot(i) != 0) {
        e.stored = i;
        break;
      }
    }
    entries.push_back(e);
  }
  for (uint32_t i = 1; i < m_stored.m_count; ++i) {
    if (*m_stored.IdSlot(i) >= 12 && *m_stored.LengthSlot(i) != 0) {
      entries.push_back({*m_stored.IdSlot(i), i});
    }
  }
  const uint64_t length0 = kSectionHeaderSize + kIndexEntrySize * entries.size();
  SectionBytes zero;
  uint64_t position = 1 + kRecordHeaderSize;
  for (const auto& e : entries) {
    uint32_t length = e.id == 0 ? static_cast<uint32_t>(length0)
                      : e.stored == UINT32_MAX ? 0
                                               : *m_stored.LengthSlot(e.stored);
    zero.U16(e.id);
    zero.U32(length);
    zero.U32(length == 0 ? 0u : static_cast<uint32_t>(position));
    position += length;
    if (position > UINT32_MAX) return Fail(kErrorOutOfStructures);
  }
  std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[zero.size()]);
  if (!buffer) return Fail(kErrorOutOfMemory);
  std::memcpy(buffer.get(), zero.bytes().data(), zero.size());
  m_stored.m_sections[0] = std::move(buffer);
  m_stored.m_lengths[0] = static_cast<uint32_t>(zero.size());
  m_stored.m_ids[0] = 0;
  return StoreSectionHeader(0);
}

bool CWriter::WriteSections(const char* path) {
  struct Emptier {
    CWriter* writer;
    ~Emptier() { writer->EmptyStoredSections(); }
  } emptier{this};
  if (path == nullptr) return Fail(kErrorInvalidParameter);
  if (!CreateSec0()) return false;

  // File order is Section 0's entry order.
  std::vector<uint32_t> order;
  const uint8_t* index = m_stored.m_sections[0].get();
  const uint32_t entries = (m_stored.m_lengths[0] - static_cast<uint32_t>(kSectionHeaderSize)) /
                           static_cast<uint32_t>(kIndexEntrySize);
  for (uint32_t e = 0; e < entries; ++e) {
    const uint8_t* entry = index + kSectionHeaderSize + kIndexEntrySize * e;
    const uint16_t id = ecg::scp::LoadU16(entry);
    const uint32_t length = ecg::scp::LoadU32(entry + 2);
    if (length == 0) continue;
    if (id == 0) {
      order.push_back(0);
      continue;
    }
    // The first stored section with this id not already placed.
    for (uint32_t i = 1; i < m_stored.m_count; ++i) {
      if (*m_stored.IdSlot(i) == id && *m_stored.LengthSlot(i) == length &&
          std::find(order.begin(), order.end(), i) == order.end()) {
        order.push_back(i);
        break;
      }
    }
  }
  uint64_t total = kRecordHeaderSize;
  for (uint32_t i : order) total += *m_stored.LengthSlot(i);
  if (total > UINT32_MAX) return Fail(kErrorOutOfStructures);
  std::vector<uint8_t> file;
  try {
    file.reserve(static_cast<size_t>(total));
  } catch (const std::bad_alloc&) {
    return Fail(kErrorOutOfMemory);
  }
  file.resize(kRecordHeaderSize);
  for (uint32_t i : order) {
    const uint8_t* section = m_stored.SectionSlot(i)->get();
    file.insert(file.end(), section, section + *m_stored.LengthSlot(i));
  }
  StoreU32(file.data() + 2, static_cast<uint32_t>(total));
  StoreU16(file.data(), CCRC::Compute(file.data() + 2, file.size() - 2));
  return ReplaceFileContents(path, file, m_durableWrites);
}
