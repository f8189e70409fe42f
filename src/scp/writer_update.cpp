// In-place updates: read a record's Section 0 and Section 1 into the model,
// change one fact, rebuild Section 1 (and for two operations the lead
// sections), copy every other section as it is, and replace the record.

#include "platform/last_error.h"
#include "scp/little_endian.h"
#include "scp/writer.h"

using namespace ecg::platform;

namespace {

constexpr uint32_t Bits(std::initializer_list<uint16_t> ids) {
  uint32_t bits = 0;
  for (uint16_t id : ids) bits |= 1u << id;
  return bits;
}

}  // namespace

bool CWriter::OpenWithEmptyModel(const char* path) {
  if (!OpenRd(path, false)) return false;
  // Drop the model, keep the file open.
  KillSection(0xFFFF);
  m_loaded = 0;
  m_medianReady = m_rhythmReady = false;
  EmptyStoredSections();
  if (!m_file->Seek(kRecordHeaderSize) || !GetSection0(m_file, &m_index)) return false;
  m_loaded |= kSection0Bit;
  return true;
}

bool CWriter::BeginUpdate(const char* path) {
  if (!OpenWithEmptyModel(path)) return false;
  SSectionHeader header;
  if (GetSection(m_file, &m_index, 1, &header)) {
    if (!GetSec1Data(m_file, header, nullptr, 0, &m_patientInfo, &m_recordInfo, &m_leadErrors,
                     &m_generalInfo, &m_unknownTags, &m_tagsValid)) {
      return false;
    }
  } else if (GetLastError() != kErrorSuccess) {
    return false;  // listed but unreadable
  }
  m_loaded |= kSection1Bit;
  return true;
}

bool CWriter::ReserveForIndex() {
  bool has_section1 = false;
  for (uint32_t i = 0; i < m_index.m_count; ++i) {
    const SIndexEntry* entry = m_index.Entry(i);
    if (entry != nullptr && entry->m_id == 1 && entry->m_length != 0) has_section1 = true;
  }
  uint32_t extra = 0;
  if (m_index.m_count > kInlineIndexEntries) extra = m_index.m_count - kInlineIndexEntries;
  if (m_index.m_count >= kInlineIndexEntries && !has_section1) ++extra;
  if (extra == 0) return true;
  if (extra > 0xFFFF) return Fail(kErrorOutOfStructures);
  return m_stored.Allocate(static_cast<uint16_t>(extra));
}

bool CWriter::StoreListedSections(uint32_t skip_bits) {
  for (uint32_t i = 0; i < m_index.m_count; ++i) {
    const SIndexEntry* entry = m_index.Entry(i);
    if (entry == nullptr) return Fail(kErrorOutOfStructures);
    const uint16_t id = entry->m_id;
    if (entry->m_length == 0 || id == 0) continue;
    if (id < 32 && (skip_bits & (1u << id)) != 0) continue;
    if (!StoreSection(id)) return false;
  }
  return true;
}

bool CWriter::ReadModelSection(uint16_t id, bool required, bool* present) {
  if (present) *present = false;
  SSectionHeader header;
  if (!GetSection(m_file, &m_index, id, &header)) {
    if (GetLastError() != kErrorSuccess) return false;
    return required ? Fail(kErrorNoData) : true;
  }
  bool ok = false;
  switch (id) {
    case 3: ok = GetSec3Data(m_file, header, &m_leadDefinitions); break;
    case 5: ok = GetSec5Data(m_file, header, &m_leadDefinitions, &m_medianData); break;
    case 6: ok = GetSec6Data(m_file, header, &m_leadDefinitions, &m_rhythmData); break;
    default: return Fail(kErrorInvalidParameter);
  }
  if (!ok) return false;
  m_loaded |= static_cast<uint16_t>(1u << id);
  if (id == 5) m_medianReady = m_medianPresent = true;
  if (id == 6) m_rhythmReady = m_rhythmPresent = true;
  if (present) *present = true;
  return true;
}

template <typename Change>
bool CWriter::UpdateSection1(const char* path, Change change) {
  bool ok = BeginUpdate(path) && change() && ReserveForIndex();
  if (ok) {
    m_updateMode = true;
    ok = CreateSec1() && StoreListedSections(Bits({0, 1})) && WriteSections(path);
  }
  LastErrorKeeper keep;
  Close();
  return ok;
}

bool CWriter::UpdateFile(const char* path, const CPatientInfo* patient,
                         const CRecordInfo* recording) {
  return UpdateSection1(path, [&] {
    if (patient != nullptr) m_patientInfo.Set(patient);
    if (recording != nullptr) m_recordInfo.Set(recording);
    // The objects stay writable whatever version the caller's had.
    m_patientInfo.m_version = 1;
    m_recordInfo.m_version = 1;
    return true;
  });
}

namespace {
template <typename Writer>
auto ReplaceText(WideText& member, const std::u16string& text) {
  return [&member, &text] {
    member = text;
    return true;
  };
}
}  // namespace

bool CWriter::UpdateInterpretationText(const char* path, const std::u16string& text) {
  return UpdateSection1(path, [&] {
    m_generalInfo.m_interpretation = text;
    m_generalInfo.m_interpretationEdited = 1;
    return true;
  });
}

bool CWriter::UpdateCommentText(const char* path, const std::u16string& text) {
  return UpdateSection1(path, ReplaceText<CWriter>(m_generalInfo.m_comment, text));
}

bool CWriter::UpdateRecordingId(const char* path, const std::u16string& text) {
  return UpdateSection1(path, ReplaceText<CWriter>(m_generalInfo.m_recordingId, text));
}

bool CWriter::UpdateRecordingLocation(const char* path, const std::u16string& text) {
  return UpdateSection1(path, ReplaceText<CWriter>(m_generalInfo.m_recordingLocation, text));
}

bool CWriter::UpdateInterpretationApp(const char* path, const std::u16string& text) {
  return UpdateSection1(path,
                        ReplaceText<CWriter>(m_generalInfo.m_interpretationApplication, text));
}

bool CWriter::UpdateInterpretationVer(const char* path, const std::u16string& text) {
  return UpdateSection1(path, ReplaceText<CWriter>(m_generalInfo.m_interpretationVersion, text));
}

bool CWriter::UpdateRecordingApp(const char* path, const std::u16string& text) {
  return UpdateSection1(path, ReplaceText<CWriter>(m_generalInfo.m_recordingApplication, text));
}

bool CWriter::UpdateRecordingVer(const char* path, const std::u16string& text) {
  return UpdateSection1(path, ReplaceText<CWriter>(m_generalInfo.m_recordingVersion, text));
}

bool CWriter::UpdateReceived(const char* path, const SDateTime* received) {
  if (received == nullptr) return Fail(kErrorInvalidParameter);
  return UpdateSection1(path, [&] {
    m_generalInfo.m_receivedYear = received->m_year;
    m_generalInfo.m_receivedMonth = received->m_month;
    m_generalInfo.m_receivedDay = received->m_day;
    m_generalInfo.m_receivedHour = received->m_hour;
    m_generalInfo.m_receivedMinute = received->m_minute;
    m_generalInfo.m_receivedSecond = received->m_second;
    return true;
  });
}

bool CWriter::UpdateInterpretationConfirmed(const char* path, int16_t confirmed) {
  return UpdateSection1(path, [&] {
    m_generalInfo.m_confirmed = confirmed != 0 ? 1 : 0;
    return true;
  });
}

bool CWriter::UpdatePhysicianName(const char* path, int16_t kind, const std::u16string& name) {
  if (kind < 0 || kind > 2) return Fail(kErrorInvalidParameter);
  return UpdateSection1(path, [&] {
    WideText& member = kind == 0   ? m_generalInfo.m_confirmingPhysician
                       : kind == 1 ? m_generalInfo.m_secondPhysician
                                   : m_generalInfo.m_thirdPhysician;
    member = name;
    return true;
  });
}

bool CWriter::UpdateMuscleFilter(const char* path, int16_t on) {
  return UpdateSection1(path, [&] {
    uint8_t& f = m_recordInfo.m_writerFilter;
    f = static_cast<uint8_t>(on != 0 ? (f | kWriterFilterMuscle) : (f & ~kWriterFilterMuscle));
    return true;
  });
}

bool CWriter::UpdateBaselineFilter(const char* path, int16_t on) {
  return UpdateSection1(path, [&] {
    uint8_t& f = m_recordInfo.m_writerFilter;
    f = static_cast<uint8_t>(on != 0 ? (f | kWriterFilterBaseline) : (f & ~kWriterFilterBaseline));
    return true;
  });
}

bool CWriter::UpdatePowerFilter(const char* path, int16_t frequency) {
  return UpdateSection1(path, [&] {
    uint8_t& f = m_recordInfo.m_writerFilter;
    f = static_cast<uint8_t>(f & ~(kWriterFilter50Hz | kWriterFilter60Hz));
    if (frequency == 50) f |= kWriterFilter50Hz;
    if (frequency == 60) f |= kWriterFilter60Hz;
    return true;
  });
}

bool CWriter::UpdateLeadErrors(const char* path) {
  return UpdateSection1(path, [&] {
    return ReadModelSection(3, true, nullptr) && ReadModelSection(6, true, nullptr) &&
           CreateLeadErrorCodes();
  });
}

bool CWriter::UpdateCalculatedLeads(const char* path) {
  bool has_median = false;
  bool ok = BeginUpdate(path) && ReadModelSection(3, true, nullptr) &&
            ReadModelSection(5, false, &has_median) && ReadModelSection(6, true, nullptr) &&
            CalculateLeads() && ReserveForIndex();
  if (ok) {
    m_updateMode = true;
    ok = CreateSec1() && CreateSec3_6(true) && (!has_median || CreateSec5()) &&
         StoreListedSections(Bits({0, 1, 3, 5, 6})) && WriteSections(path);
  }
  LastErrorKeeper keep;
  Close();
  return ok;
}

bool CWriter::UpdateCRC(const char* path) {
  bool ok = OpenRd(path, false);
  if (ok) {
    KillSection(0xFFFF);
    m_loaded = 0;
    EmptyStoredSections();
    ok = m_file->Seek(kRecordHeaderSize) && GetSection0(m_file, &m_index);
  }
  if (ok) {
    m_loaded |= kSection0Bit;
    if (m_index.m_count > kInlineIndexEntries) {
      ok = m_stored.Allocate(static_cast<uint16_t>(m_index.m_count - kInlineIndexEntries));
    }
  }
  ok = ok && StoreListedSections(Bits({0}));
  if (ok) {
    for (uint32_t i = 1; i < m_stored.m_count; ++i) {
      uint8_t* section = m_stored.SectionSlot(i)->get();
      const uint32_t length = *m_stored.LengthSlot(i);
      if (*m_stored.IdSlot(i) == 0 || section == nullptr || length <= 2) continue;
      ecg::scp::StoreU16(section, CCRC::Compute(section + 2, length - 2));
    }
    ok = WriteSections(path);
  }
  LastErrorKeeper keep;
  Close();
  return ok;
}
