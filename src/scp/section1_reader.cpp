// Section 1: the tag reader and the one-shot readers built on it.

#include <algorithm>
#include <span>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/last_error.h"
#include "platform/text_codec.h"
#include "scp/little_endian.h"
#include "scp/reader.h"
#include "scp/record_text.h"

using namespace ecg::platform;
using ecg::scp::LoadU16;
using ecg::scp::LoadU32;

namespace {

constexpr size_t kTagHeaderSize = 3;
constexpr uint8_t kEndTag = 255;
constexpr size_t kDeviceBlockSize = 36;
constexpr size_t kVersion10NameLimit = 40;

// Converts record text (up to its first NUL) to a wide string: in the record
// code page when the record's language-support code says ASCII (this
// system's records), else in the character set the code names.
bool DecodeText(const uint8_t* bytes, size_t n, uint8_t language, WideText& out) {
  if (!ecg::scp::UsesRecordCodePage(language)) {
    out = ecg::scp::ForeignTextToWide(std::span<const uint8_t>(bytes, n), language);
    return true;
  }
  size_t len = strnlen(reinterpret_cast<const char*>(bytes), n);
  std::u16string wide;
  if (!AnsiToWide(std::string_view(reinterpret_cast<const char*>(bytes), len), wide)) {
    return false;
  }
  out = std::move(wide);
  return true;
}

// A tag text value: the last byte stands for the terminating NUL whatever it
// holds; a value of length 0 leaves the member null.
bool ReadTextValue(const std::vector<uint8_t>& value, uint8_t language, WideText& out) {
  if (value.empty()) {
    out.reset();
    return true;
  }
  return DecodeText(value.data(), value.size() - 1, language, out);
}

// The language-support code of tag 14 (0 when the section has none), read
// ahead of the texts it governs; the stream is back where it was after.
uint8_t ScanLanguageCode(FileHandle& handle, uint64_t section_length) {
  LastErrorKeeper keep;
  const uint64_t start = handle->Tell();
  uint8_t language = 0;
  uint64_t consumed = 0;
  while (consumed + kTagHeaderSize <= section_length) {
    uint8_t tag_header[kTagHeaderSize];
    if (!ReadExact(*handle, tag_header, sizeof tag_header)) break;
    consumed += kTagHeaderSize;
    const uint16_t length = LoadU16(tag_header + 1);
    if (tag_header[0] == kEndTag || consumed + length > section_length) break;
    if (tag_header[0] == 14 && length >= kDeviceBlockSize) {
      uint8_t block[17];
      if (ReadExact(*handle, block, sizeof block)) language = block[16];
      break;
    }
    consumed += length;
    if (!handle->Seek(start + consumed)) break;
  }
  handle->Seek(start);
  return language;
}

// Version 1.0 name fields: at most 40 characters, no trailing blanks.
void CutName(WideText& text) {
  if (!text) return;
  if (text->size() > kVersion10NameLimit) text->resize(kVersion10NameLimit);
  while (!text->empty() && text->back() == u' ') text->pop_back();
}

// Tags 29 and 212: one of the mains filter bits (50 Hz wins over 60 Hz) plus
// the muscle and baseline filter bits.
uint8_t ConvertFilterByte(uint8_t raw) {
  uint8_t stored = (raw & 0x02) ? 2 : (raw & 0x01) ? 1 : 0;
  return static_cast<uint8_t>(stored + (raw & 0x08) + (raw & 0x04));
}

bool ReadDeviceBlock(const std::vector<uint8_t>& v, uint8_t language, CRecordInfo& info) {
  // The block's fields are single-byte (the model has six bytes); under the
  // two-byte set they are read as ISO 8859-1.
  if (language == 0x07) language = 0x01;
  info.m_deviceId = LoadU16(v.data() + 4);
  if (!DecodeText(v.data() + 8, 6, language, info.m_modelDescription)) return false;
  const size_t revision_length = v[35];
  if (revision_length > v.size() - kDeviceBlockSize) return Fail(kErrorInvalidData);
  if (revision_length == 0) {
    info.m_analysingProgramRevision.reset();
  } else if (!DecodeText(v.data() + kDeviceBlockSize, revision_length, language,
                         info.m_analysingProgramRevision)) {
    return false;
  }
  const size_t rest = kDeviceBlockSize + revision_length;
  if (rest >= v.size()) {
    info.m_serialNumber.reset();
    return true;
  }
  return DecodeText(v.data() + rest, v.size() - rest, language, info.m_serialNumber);
}

bool ReadLeadErrorTag(const std::vector<uint8_t>& v, SLeadErrors& errors) {
  const uint8_t count = v[0];
  errors.KillData();
  if (count == 0) return true;
  if (1 + size_t{count} * 3 > v.size()) return Fail(kErrorInvalidData);
  if (!errors.Allocate(count)) return false;
  for (size_t i = 0; i < count; ++i) {
    errors.m_entries[i].m_leadId = v[1 + 3 * i];
    errors.m_entries[i].m_errorBits = LoadU16(v.data() + 2 + 3 * i);
  }
  return true;
}

bool IsUnknownTag(uint8_t tag) {
  return tag == 3 || tag == 4 || (tag >= 9 && tag <= 13) || (tag >= 15 && tag <= 20) ||
         (tag >= 22 && tag <= 24) || (tag >= 30 && tag <= 199) || (tag >= 220 && tag <= 254);
}

}  // namespace

bool CReader::GetSec1Data(FileHandle& handle, const SSectionHeader& header,
                          uint32_t* tag_positions, uint16_t tag_position_count,
                          CPatientInfo* patient, CRecordInfo* recording,
                          SLeadErrors* lead_errors, CGeneralInfo* general,
                          SUnknownTags* unknown_tags, bool* tags_valid) {
  if (patient == nullptr && recording == nullptr && lead_errors == nullptr &&
      general == nullptr) {
    return Fail(kErrorInvalidParameter);
  }
  if (!handle) return Fail(kErrorInvalidParameter);
  if (patient) patient->SetDefault();
  if (recording) recording->SetDefault();
  if (general) general->SetDefault();
  if (lead_errors) lead_errors->KillData();
  if (unknown_tags) unknown_tags->KillData();
  if (tag_positions) std::fill_n(tag_positions, tag_position_count, 0u);
  if (tags_valid) *tags_valid = false;

  const uint64_t section_length = header.m_length;
  const bool version10 = header.m_sectionVersion == 10;
  bool seen14 = false, seen25 = false, seen26 = false;
  bool read14 = false, read25 = false, read26 = false;
  bool read200 = false;
  std::vector<uint8_t> value;
  uint64_t consumed = 0;
  const uint8_t language = ScanLanguageCode(handle, section_length);

  for (;;) {
    if (consumed + kTagHeaderSize > section_length) return Fail(kErrorInvalidData);
    uint32_t position = 0;
    if (!GetPosition(handle, &position)) return false;
    uint8_t tag_header[kTagHeaderSize];
    if (!ReadExact(*handle, tag_header, sizeof tag_header)) return false;
    consumed += kTagHeaderSize;
    const uint8_t tag = tag_header[0];
    const uint16_t length = LoadU16(tag_header + 1);
    if (tag < tag_position_count) tag_positions[tag] = position;
    if (consumed + length > section_length) return Fail(kErrorInvalidData);
    seen14 |= tag == 14;
    seen25 |= tag == 25;
    seen26 |= tag == 26;

    value.resize(length);
    if (length > 0 && !ReadExact(*handle, value.data(), length)) return false;
    consumed += length;
    const uint8_t* v = value.data();

    switch (tag) {
      case 0:
      case 1:
      case 2:
        if (patient) {
          WideText& text = tag == 0 ? patient->m_lastName
                           : tag == 1 ? patient->m_firstName
                                      : patient->m_patientId;
          if (!ReadTextValue(value, language, text)) return false;
          if (version10) CutName(text);
        }
        break;
      case 5:
        if (patient && length >= 4) {
          patient->m_birthYear = LoadU16(v);
          patient->m_birthMonth = v[2];
          patient->m_birthDay = v[3];
        }
        break;
      case 6:
        // Unit conversions in integers: the exact product of the decimal
        // factor, truncated.
        if (patient && length >= 3 && patient->m_height == 0) {
          const uint32_t h = LoadU16(v);
          switch (v[2]) {
            case 1: patient->m_height = static_cast<uint16_t>(h * 10); break;
            case 2: patient->m_height = static_cast<uint16_t>(h * 254u / 10u); break;
            case 3: patient->m_height = static_cast<uint16_t>(h); break;
            default: break;
          }
        }
        break;
      case 7:
        if (patient && length >= 3 && patient->m_weight == 0) {
          const uint32_t w = LoadU16(v);
          switch (v[2]) {
            case 1: patient->m_weight = w * 1000; break;
            case 2: patient->m_weight = w; break;
            case 3: patient->m_weight = static_cast<uint32_t>(uint64_t{w} * 45359237u / 100000u); break;
            case 4: patient->m_weight = static_cast<uint32_t>(uint64_t{w} * 28349523u / 1000000u); break;
            default: break;
          }
        }
        break;
      case 8:
        if (patient && length >= 1) patient->m_sex = v[0];
        break;
      case 14:
        if (recording && length >= kDeviceBlockSize) {
          if (!ReadDeviceBlock(value, language, *recording)) return false;
          read14 = true;
        }
        break;
      case 21:
        if (general && !ReadTextValue(value, language, general->m_confirmingPhysician)) return false;
        break;
      case 25:
        if (recording && length >= 4) {
          recording->m_year = LoadU16(v);
          recording->m_month = v[2];
          recording->m_day = v[3];
          read25 = true;
        }
        break;
      case 26:
        if (recording && length >= 3) {
          recording->m_hour = v[0];
          recording->m_minute = v[1];
          recording->m_second = v[2];
          read26 = true;
        }
        break;
      case 27:
        if (recording && length >= 2) recording->m_baselineFilter = LoadU16(v);
        break;
      case 28:
        if (recording && length >= 2) recording->m_lowPassFilter = LoadU16(v);
        break;
      case 29:
        if (recording && length >= 1) recording->m_filterBitMap = ConvertFilterByte(v[0]);
        break;
      case 200:
        if (lead_errors && length >= 1) {
          if (!ReadLeadErrorTag(value, *lead_errors)) return false;
          read200 = true;
        }
        break;
      case 201:
        if (general && length >= 1) {
          general->m_interpretationEdited = v[0];
          if (length == 1) {
            general->m_interpretation.reset();
          } else if (!DecodeText(v + 1, length - 2u, language, general->m_interpretation)) {
            return false;
          }
        }
        break;
      case 202:
        if (general && !ReadTextValue(value, language, general->m_comment)) return false;
        break;
      case 203:
        if (general && length >= 12) {
          general->m_receivedYear = LoadU16(v);
          general->m_receivedMonth = LoadU16(v + 2);
          general->m_receivedDay = LoadU16(v + 4);
          general->m_receivedHour = LoadU16(v + 6);
          general->m_receivedMinute = LoadU16(v + 8);
          general->m_receivedSecond = LoadU16(v + 10);
        }
        break;
      case 204:
        if (general && length >= 1) general->m_confirmed = v[0];
        break;
      case 205:
        if (general && !ReadTextValue(value, language, general->m_recordingId)) return false;
        break;
      case 206:
        if (patient && length >= 4) patient->m_weight = LoadU32(v);
        break;
      case 207:
        if (patient && length >= 2) patient->m_height = LoadU16(v);
        break;
      case 208: case 209: case 210: case 211:
      case 213: case 214: case 215: case 216: case 217: case 218: case 219:
        if (general) {
          WideText* text = nullptr;
          switch (tag) {
            case 208: text = &general->m_editingApplication; break;
            case 209: text = &general->m_editingVersion; break;
            case 210: text = &general->m_creatingApplication; break;
            case 211: text = &general->m_creatingVersion; break;
            case 213: text = &general->m_secondPhysician; break;
            case 214: text = &general->m_thirdPhysician; break;
            case 215: text = &general->m_recordingLocation; break;
            case 216: text = &general->m_interpretationApplication; break;
            case 217: text = &general->m_interpretationVersion; break;
            case 218: text = &general->m_recordingApplication; break;
            default: text = &general->m_recordingVersion; break;
          }
          if (!ReadTextValue(value, language, *text)) return false;
        }
        break;
      case 212:
        if (recording && length >= 1) recording->m_writerFilter = ConvertFilterByte(v[0]);
        break;
      default:
        if (unknown_tags && length > 0 && IsUnknownTag(tag)) {
          if (!unknown_tags->Allocate(tag, length)) return false;
          std::memcpy(unknown_tags->m_values[tag].get(), v, length);
        }
        break;
    }
    if (tag == kEndTag) break;
  }

  if (patient) {
    for (WideText* text : {&patient->m_lastName, &patient->m_firstName, &patient->m_patientId}) {
      if (!*text) text->emplace();
    }
  }
  if (recording && !(read14 && read25 && read26)) recording->SetDefault();
  if (lead_errors && !read200) lead_errors->KillData();
  if (tags_valid) *tags_valid = seen14 && seen25 && seen26;
  SetLastError(kErrorSuccess);
  return true;
}

bool CReader::ReadPatientAndRecordInfo(const RecordSource& source, CPatientInfo* patient,
                                       CRecordInfo* recording) {
  if (source.IsNull() || (patient == nullptr && recording == nullptr)) {
    return Fail(kErrorInvalidParameter);
  }
  FileHandle handle;
  SSectionIndexes index;
  if (!OpenWithIndex(handle, source, &index)) return false;
  SSectionHeader header;
  bool ok = GetSection(handle, &index, 1, &header) &&
            GetSec1Data(handle, header, nullptr, 0, patient, recording, nullptr, nullptr,
                        nullptr, nullptr);
  Close(handle);
  return ok;
}

bool CReader::ReadGeneralInfo(const RecordSource& source, CGeneralInfo* general) {
  if (source.IsNull() || general == nullptr) return Fail(kErrorInvalidParameter);
  FileHandle handle;
  SSectionIndexes index;
  if (!OpenWithIndex(handle, source, &index)) return false;
  SSectionHeader header;
  bool ok = GetSection(handle, &index, 1, &header) &&
            GetSec1Data(handle, header, nullptr, 0, nullptr, nullptr, nullptr, general, nullptr,
                        nullptr);
  Close(handle);
  return ok;
}
