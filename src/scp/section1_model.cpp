#include "scp/section1_model.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/last_error.h"

using namespace ecg::platform;

// -------------------------------------------------------------- CPatientInfo

void CPatientInfo::SetDefault() {
  m_size = kSizeStamp;
  m_version = 1;
  m_sex = 0;
  m_birthYear = m_birthMonth = m_birthDay = 0;
  m_height = 0;
  m_weight = 0;
  m_patientId.reset();
  m_lastName.reset();
  m_firstName.reset();
}

bool CPatientInfo::Set(const CPatientInfo* other) {
  if (other == nullptr || m_version < 1 || other->m_version < 1) {
    m_version = 0;
    return false;
  }
  if (other != this) {
    m_sex = other->m_sex;
    m_birthYear = other->m_birthYear;
    m_birthMonth = other->m_birthMonth;
    m_birthDay = other->m_birthDay;
    m_height = other->m_height;
    m_weight = other->m_weight;
    m_patientId = other->m_patientId;
    m_lastName = other->m_lastName;
    m_firstName = other->m_firstName;
  }
  m_version = 1;
  return true;
}

CPatientInfo& CPatientInfo::operator=(const CPatientInfo& other) {
  Set(&other);
  return *this;
}

// --------------------------------------------------------------- CRecordInfo

void CRecordInfo::SetDefault() {
  m_size = kSizeStamp;
  m_version = 1;
  m_year = m_month = m_day = 0;
  m_hour = m_minute = m_second = 0;
  m_baselineFilter = m_lowPassFilter = 0;
  m_deviceId = 0;
  m_serialNumber.reset();
  m_modelDescription.reset();
  m_analysingProgramRevision.reset();
  m_writerFilter = 0;
  m_filterBitMap = 0;
}

bool CRecordInfo::Set(const CRecordInfo* other) {
  if (other == nullptr || m_version < 1 || other->m_version < 1) {
    m_version = 0;
    return false;
  }
  if (other != this) {
    m_year = other->m_year;
    m_month = other->m_month;
    m_day = other->m_day;
    m_hour = other->m_hour;
    m_minute = other->m_minute;
    m_second = other->m_second;
    m_baselineFilter = other->m_baselineFilter;
    m_lowPassFilter = other->m_lowPassFilter;
    m_deviceId = other->m_deviceId;
    m_serialNumber = other->m_serialNumber;
    m_modelDescription = other->m_modelDescription;
    m_analysingProgramRevision = other->m_analysingProgramRevision;
    m_writerFilter = other->m_writerFilter;
    m_filterBitMap = other->m_filterBitMap;
  }
  m_version = 1;
  return true;
}

CRecordInfo& CRecordInfo::operator=(const CRecordInfo& other) {
  Set(&other);
  return *this;
}

// -------------------------------------------------------------- CGeneralInfo

void CGeneralInfo::SetDefault() {
  m_size = kSizeStamp;
  m_version = 1;
  m_receivedYear = m_receivedMonth = m_receivedDay = 0;
  m_receivedHour = m_receivedMinute = m_receivedSecond = 0;
  m_confirmed = 0;
  m_interpretationEdited = 0;
  for (WideText* text :
       {&m_interpretation, &m_comment, &m_confirmingPhysician, &m_secondPhysician,
        &m_thirdPhysician, &m_recordingLocation, &m_recordingId, &m_interpretationVersion,
        &m_interpretationApplication, &m_recordingApplication, &m_recordingVersion,
        &m_creatingApplication, &m_creatingVersion, &m_editingApplication, &m_editingVersion}) {
    text->reset();
  }
}

bool CGeneralInfo::Set(const CGeneralInfo* other) {
  if (other == nullptr || m_version < 1 || other->m_version < 1) {
    m_version = 0;
    return false;
  }
  if (other != this) {
    m_receivedYear = other->m_receivedYear;
    m_receivedMonth = other->m_receivedMonth;
    m_receivedDay = other->m_receivedDay;
    m_receivedHour = other->m_receivedHour;
    m_receivedMinute = other->m_receivedMinute;
    m_receivedSecond = other->m_receivedSecond;
    m_confirmed = other->m_confirmed;
    m_interpretationEdited = other->m_interpretationEdited;
    m_interpretation = other->m_interpretation;
    m_comment = other->m_comment;
    m_confirmingPhysician = other->m_confirmingPhysician;
    m_secondPhysician = other->m_secondPhysician;
    m_thirdPhysician = other->m_thirdPhysician;
    m_recordingLocation = other->m_recordingLocation;
    m_recordingId = other->m_recordingId;
    m_interpretationVersion = other->m_interpretationVersion;
    m_interpretationApplication = other->m_interpretationApplication;
    m_recordingApplication = other->m_recordingApplication;
    m_recordingVersion = other->m_recordingVersion;
    m_creatingApplication = other->m_creatingApplication;
    m_creatingVersion = other->m_creatingVersion;
    m_editingApplication = other->m_editingApplication;
    m_editingVersion = other->m_editingVersion;
  }
  m_version = 1;
  return true;
}

CGeneralInfo& CGeneralInfo::operator=(const CGeneralInfo& other) {
  Set(&other);
  return *this;
}

// --------------------------------------------------------------- SLeadErrors

bool SLeadErrors::Allocate(uint32_t n) {
  KillData();
  if (n == 0) return Fail(kErrorInvalidParameter);
  if (n > kMaxEntries) return Fail(kErrorOutOfStructures);
  m_entries.reset(new (std::nothrow) SLeadError[n]());
  if (!m_entries) return Fail(kErrorOutOfMemory);
  m_count = static_cast<uint8_t>(n);
  return true;
}

bool SLeadErrors::AddLeads(uint32_t n) {
  if (n == 0) return Fail(kErrorInvalidParameter);
  uint32_t total = uint32_t{m_count} + n;
  if (total > kMaxEntries) return Fail(kErrorOutOfStructures);
  std::unique_ptr<SLeadError[]> grown(new (std::nothrow) SLeadError[total]());
  if (!grown) return Fail(kErrorOutOfMemory);
  std::copy_n(m_entries.get(), m_count, grown.get());
  m_entries = std::move(grown);
  m_count = static_cast<uint8_t>(total);
  return true;
}

bool SLeadErrors::Set(const SLeadErrors* other) {
  if (other == this) return true;
  KillData();
  if (other == nullptr || other->m_count == 0) return true;
  if (!Allocate(other->m_count)) return false;
  std::copy_n(other->m_entries.get(), other->m_count, m_entries.get());
  return true;
}

void SLeadErrors::KillData() {
  m_entries.reset();
  m_count = 0;
}

const SLeadError* SLeadErrors::Find(uint8_t lead_id) const {
  for (uint32_t i = 0; i < m_count; ++i) {
    if (m_entries[i].m_leadId == lead_id) return &m_entries[i];
  }
  return nullptr;
}

bool SLeadErrors::AddCalcLeads() {
  static constexpr uint8_t kDerived[4] = {61, 62, 63, 64};
  uint32_t missing = 0;
  for (uint8_t id : kDerived) missing += Find(id) == nullptr ? 1 : 0;
  if (missing == 0) return true;
  const SLeadError* lead1 = Find(1);
  const SLeadError* lead2 = Find(2);
  if (lead1 == nullptr || lead2 == nullptr) return Fail(kErrorNoData);
  uint16_t bits = static_cast<uint16_t>(lead1->m_errorBits | lead2->m_errorBits);
  uint32_t first_new = m_count;
  if (!AddLeads(missing)) return false;
  uint32_t slot = first_new;
  for (uint8_t id : kDerived) {
    bool present = false;
    for (uint32_t i = 0; i < first_new; ++i) present |= m_entries[i].m_leadId == id;
    if (present) continue;
    m_entries[slot].m_leadId = id;
    m_entries[slot].m_errorBits = bits;
    ++slot;
  }
  return true;
}

// -------------------------------------------------------------- SUnknownTags

bool SUnknownTags::Allocate(uint8_t tag, uint16_t length) {
  KillTag(tag);
  if (length == 0) return Fail(kErrorInvalidParameter);
  m_values[tag].reset(new (std::nothrow) uint8_t[length]());
  if (!m_values[tag]) return Fail(kErrorOutOfMemory);
  m_lengths[tag] = length;
  return true;
}

void SUnknownTags::KillTag(uint8_t tag) {
  m_values[tag].reset();
  m_lengths[tag] = 0;
}

void SUnknownTags::KillData() {
  for (int tag = 0; tag < 256; ++tag) KillTag(static_cast<uint8_t>(tag));
}
