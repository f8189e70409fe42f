// Section 3 (lead definitions): the section reader, the lead queries on a
// loaded record and the one-shot readers built on them.

#include <vector>

#include "platform/last_error.h"
#include "scp/little_endian.h"
#include "scp/reader.h"

using namespace ecg::platform;
using ecg::scp::LoadU32;

namespace {

constexpr size_t kSection3HeadSize = 2;  // lead count, flags
constexpr size_t kLeadEntrySize = sizeof(SLeadDef);

}  // namespace

bool CReader::GetSec3Data(FileHandle& handle, const SSectionHeader& header,
                          SLeadDefinitions* definitions) {
  if (!handle || definitions == nullptr) return Fail(kErrorInvalidParameter);
  definitions->KillData();
  // Like every section reader, lengths are compared with the section length
  // as the header states it (header bytes included).
  const uint64_t section_length = header.m_length;
  if (section_length < kSection3HeadSize) return Fail(kErrorInvalidData);
  uint8_t head[kSection3HeadSize];
  if (!ReadExact(*handle, head, sizeof head)) return false;
  if (!definitions->Allocate(head[0])) return false;
  definitions->m_flags = head[1];
  const uint64_t table_size = uint64_t{definitions->m_count} * kLeadEntrySize;
  if (kSection3HeadSize + table_size > section_length) {
    definitions->KillData();
    return Fail(kErrorInvalidData);
  }
  std::vector<uint8_t> table(table_size);
  if (!ReadExact(*handle, table.data(), table.size())) {
    LastErrorKeeper keep;
    definitions->KillData();
    return false;
  }
  for (uint32_t i = 0; i < definitions->m_count; ++i) {
    const uint8_t* entry = table.data() + i * kLeadEntrySize;
    definitions->m_leads[i].m_startSample = LoadU32(entry);
    definitions->m_leads[i].m_endSample = LoadU32(entry + 4);
    definitions->m_leads[i].m_leadId = entry[8];
  }
  SetLastError(kErrorSuccess);
  return true;
}

int16_t CReader::GetLeads() {
  if ((m_loaded & kSection3Bit) == 0) {
    SetLastError(kErrorNoData);
    return 0;
  }
  SetLastError(kErrorSuccess);
  return m_leadDefinitions.m_count;
}

int16_t CReader::GetLeadId(int32_t index) {
  constexpr int16_t kNoLead = 255;
  if ((m_loaded & kSection3Bit) == 0) {
    SetLastError(kErrorNoData);
    return kNoLead;
  }
  if (index < 0 || index >= m_leadDefinitions.m_count) {
    SetLastError(kErrorOutOfStructures);
    return kNoLead;
  }
  SetLastError(kErrorSuccess);
  return m_leadDefinitions.m_leads[static_cast<uint32_t>(index)].m_leadId;
}

namespace {

// Whether every code (low byte of each element) names a lead of the
// definitions; false with last error 0 at the first one that does not.
bool HoldsLeadSet(const SLeadDefinitions& definitions, int32_t count, const int16_t* codes) {
  for (int32_t i = 0; i < count; ++i) {
    const auto code = static_cast<uint8_t>(codes[i] & 0xFF);
    // The lookup leaves last error 0 for an absent code, 232 without leads.
    if (definitions.GetIdIndexFromId(code) == SLeadDefinitions::kNotFound) return false;
  }
  SetLastError(kErrorSuccess);
  return true;
}

}  // namespace

bool CReader::GetLeadSet(int32_t count, const int16_t* codes) {
  if (codes == nullptr || count < 0) return Fail(kErrorInvalidParameter);
  if ((m_loaded & kSection3Bit) == 0) return Fail(kErrorNoData);
  return HoldsLeadSet(m_leadDefinitions, count, codes);
}

bool CReader::ReadLeadDefs(const RecordSource& source, SLeadDefinitions* definitions) {
  if (source.IsNull() || definitions == nullptr) return Fail(kErrorInvalidParameter);
  FileHandle handle;
  SSectionIndexes index;
  if (!OpenWithIndex(handle, source, &index)) return false;
  SSectionHeader header;
  const bool ok = GetSection(handle, &index, 3, &header) &&
                  GetSec3Data(handle, header, definitions);
  Close(handle);
  return ok;
}

int16_t CReader::ReadLeads(const RecordSource& source) {
  SLeadDefinitions definitions;
  if (!ReadLeadDefs(source, &definitions)) return 0;
  return definitions.m_count;
}

bool CReader::ReadLeadSet(const RecordSource& source, int32_t count, const int16_t* codes) {
  if (codes == nullptr || count < 0) return Fail(kErrorInvalidParameter);
  SLeadDefinitions definitions;
  if (!ReadLeadDefs(source, &definitions)) return false;
  return HoldsLeadSet(definitions, count, codes);
}
