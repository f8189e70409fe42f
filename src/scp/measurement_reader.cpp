// Sections 7 (global measurements), 9 (statement codes) and 10 (per-lead
// measurements): the section readers and the one-shot readers.

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/last_error.h"
#include "scp/little_endian.h"
#include "scp/reader.h"

using namespace ecg::platform;
using ecg::scp::LoadU16;

namespace {

constexpr size_t kSection7HeadSize = 6;    // block count, spikes, RR, PP
constexpr size_t kMeasurementBlockSize = 16;
constexpr size_t kStatementEntrySize = 3;
constexpr uint16_t kRhythmEntries = 3;
constexpr uint16_t kMorphologyEntries = 7;
constexpr size_t kSection10HeadSize = 4;   // lead count, block size

bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }

// The three characters as a decimal number, a non-digit counting as 0.
uint16_t EntryValue(const uint8_t* e) {
  uint16_t value = 0;
  for (size_t i = 0; i < kStatementEntrySize; ++i) {
    value = static_cast<uint16_t>(value * 10 + (IsDigit(e[i]) ? e[i] - '0' : 0));
  }
  return value;
}

}  // namespace

bool CReader::GetSec7Data(FileHandle& handle, const SSectionHeader& header,
                          SGlobalMeasurements* measurements) {
  if (!handle || measurements == nullptr) return Fail(kErrorInvalidParameter);
  measurements->KillData();
  // Lengths are compared with the section length as the header states it.
  const uint64_t section_length = header.m_length;
  if (section_length < kSection7HeadSize) return Fail(kErrorInvalidData);
  uint8_t head[kSection7HeadSize];
  if (!ReadExact(*handle, head, sizeof head)) return false;
  measurements->m_blockCount = head[0];
  measurements->m_spikeCount = head[1];
  measurements->m_rr = LoadU16(head + 2);
  measurements->m_pp = LoadU16(head + 4);
  if (measurements->m_blockCount == 0) {
    SetLastError(kErrorSuccess);
    return true;
  }
  // Only the first measurement block is read (the median beat of the
  // dominant type); further blocks and pacemaker data are not.
  if (kSection7HeadSize + kMeasurementBlockSize > section_length) {
    measurements->KillData();
    return Fail(kErrorInvalidData);
  }
  uint8_t block[kMeasurementBlockSize];
  if (!ReadExact(*handle, block, sizeof block)) {
    LastErrorKeeper keep;
    measurements->KillData();
    return false;
  }
  measurements->m_pOnset = LoadU16(block);
  measurements->m_pOffset = LoadU16(block + 2);
  measurements->m_qrsOnset = LoadU16(block + 4);
  measurements->m_qrsOffset = LoadU16(block + 6);
  measurements->m_tOffset = LoadU16(block + 8);
  measurements->m_pAxis = static_cast<int16_t>(LoadU16(block + 10));
  measurements->m_qrsAxis = static_cast<int16_t>(LoadU16(block + 12));
  measurements->m_tAxis = static_cast<int16_t>(LoadU16(block + 14));
  SetLastError(kErrorSuccess);
  return true;
}

bool CReader::GetSec9Data(FileHandle& handle, const SSectionHeader& header,
                          uint16_t* rhythm_codes, uint16_t rhythm_capacity,
                          uint16_t* rhythm_count, uint16_t* morphology_codes,
                          uint16_t morphology_capacity, uint16_t* morphology_count) {
  if (!handle || (rhythm_codes == nullptr && morphology_codes == nullptr)) {
    return Fail(kErrorInvalidParameter);
  }
  const uint64_t section_length = header.m_length;
  // The entries are read in one go, as far as the section length lets them;
  // the checks below then go entry by entry.
  constexpr size_t kAllEntries = (kRhythmEntries + kMorphologyEntries) * kStatementEntrySize;
  uint8_t entries[kAllEntries] = {};
  const size_t wanted = static_cast<size_t>(
      std::min<uint64_t>(kAllEntries, section_length / kStatementEntrySize * kStatementEntrySize));
  size_t got = 0;
  if (wanted > 0 && !handle->Read(entries, wanted, &got)) return false;

  uint64_t consumed = 0;
  auto read_list = [&](uint16_t entry_count, uint16_t* codes, uint16_t capacity,
                       uint16_t* count) {
    uint16_t stored = 0;
    for (uint16_t e = 0; e < entry_count; ++e) {
      if (consumed + kStatementEntrySize > section_length) return Fail(kErrorInvalidData);
      if (consumed + kStatementEntrySize > got) return Fail(kErrorInvalidData);  // short read
      const uint8_t* entry = entries + consumed;
      consumed += kStatementEntrySize;
      if (IsDigit(entry[2]) && codes != nullptr && stored < capacity) {
        codes[stored++] = EntryValue(entry);
      }
    }
    if (count != nullptr) *count = stored;
    return true;
  };
  if (!read_list(kRhythmEntries, rhythm_codes, rhythm_capacity, rhythm_count)) return false;
  if (!read_list(kMorphologyEntries, morphology_codes, morphology_capacity, morphology_count)) {
    return false;
  }
  SetLastError(kErrorSuccess);
  return true;
}

bool CReader::GetSec9Data_RhythmBuf(FileHandle& handle, const SSectionHeader& header,
                                    uint16_t* codes, uint16_t capacity) {
  return GetSec9Data(handle, header, codes, capacity, nullptr, nullptr, 0, nullptr);
}

bool CReader::GetSec9Data_MorphologyBuf(FileHandle& handle, const SSectionHeader& header,
                                        uint16_t* codes, uint16_t capacity) {
  return GetSec9Data(handle, header, nullptr, 0, nullptr, codes, capacity, nullptr);
}

bool CReader::GetSec10Data(FileHandle& handle, const SSectionHeader& header,
                           SLeadMeasurements* measurements) {
  if (!handle || measurements == nullptr) return Fail(kErrorInvalidParameter);
  measurements->KillData();
  const uint64_t section_length = header.m_length;
  if (section_length < kSection10HeadSize) return Fail(kErrorInvalidData);
  uint8_t head[kSection10HeadSize];
  if (!ReadExact(*handle, head, sizeof head)) return false;
  const uint16_t count = LoadU16(head);
  const uint16_t block_size = LoadU16(head + 2);
  if (!measurements->Allocate(count)) {
    LastErrorKeeper keep;
    measurements->KillData();
    return false;
  }
  measurements->m_blockSize = block_size;

  // Empties the measurements; the failure's code is the read's own, or
  // invalid data for a block past the section.
  auto fail = [measurements](bool keep_code) {
    {
      LastErrorKeeper keep;
      measurements->KillData();
    }
    if (!keep_code) SetLastError(kErrorInvalidData);
    return false;
  };
  // Each slot takes the first 62 bytes of its block (a shorter block leaves
  // the rest zero); the rest of a longer block is skipped and counted.
  const size_t kept = std::min<size_t>(block_size, SLeadMeasurements::kBlockSize);
  const uint32_t skipped = block_size - static_cast<uint32_t>(kept);
  auto store = [measurements, kept](uint32_t lead, const uint8_t* block) {
    uint8_t raw[SLeadMeasurements::kBlockSize] = {};
    if (kept > 0) std::memcpy(raw, block, kept);
    uint16_t words[SLeadMeasurements::kBlockSize / 2];
    for (size_t w = 0; w < std::size(words); ++w) words[w] = LoadU16(raw + 2 * w);
    static_assert(sizeof words == sizeof(SLeadMeasurement));
    std::memcpy(&measurements->m_leads[lead], words, sizeof words);
  };
  uint64_t consumed = kSection10HeadSize;

  // Usually every block lies inside the section and the file: one read.
  const uint64_t all = uint64_t{count} * block_size;
  uint64_t file_size = 0;
  if (consumed + all <= section_length && handle->Size(&file_size) &&
      handle->Tell() + all <= file_size) {
    std::vector<uint8_t> blocks(all);
    if (all > 0 && !ReadExact(*handle, blocks.data(), blocks.size())) return fail(true);
    for (uint32_t i = 0; i < count; ++i) store(i, blocks.data() + uint64_t{i} * block_size);
    SetLastError(kErrorSuccess);
    return true;
  }

  // Otherwise block by block, up to the first that does not fit.
  for (uint32_t i = 0; i < count; ++i) {
    if (consumed + kept > section_length) return fail(false);
    uint8_t raw[SLeadMeasurements::kBlockSize] = {};
    if (kept > 0 && !ReadExact(*handle, raw, kept)) return fail(true);
    consumed += kept;
    store(i, raw);
    if (skipped > 0) {
      if (!AddPosition(handle, static_cast<int32_t>(skipped))) return fail(true);
      consumed += skipped;
    }
  }
  SetLastError(kErrorSuccess);
  return true;
}

bool CReader::ReadAnalysisInfo(const RecordSource& source, CAnalysisInfo* info) {
  if (source.IsNull() || info == nullptr) return Fail(kErrorInvalidParameter);
  FileHandle handle;
  SSectionIndexes index;
  if (!OpenWithIndex(handle, source, &index)) return false;
  SSectionHeader header;
  bool ok = GetSection(handle, &index, 7, &header) &&
            GetSec7Data(handle, header, &info->m_global);
  if (ok) {
    if (GetSection(handle, &index, 9, &header)) {
      ok = GetSec9Data(handle, header, info->m_rhythmCodes, CAnalysisInfo::kMaxRhythmCodes,
                       &info->m_rhythmCount, info->m_morphologyCodes,
                       CAnalysisInfo::kMaxMorphologyCodes, &info->m_morphologyCount);
    } else if (GetLastError() == kErrorSuccess) {
      // No interpretation in the record: no statements.
      info->m_rhythmCount = info->m_morphologyCount = 0;
      info->m_rhythmCodes[0] = info->m_morphologyCodes[0] = 0;
    } else {
      ok = false;
    }
  }
  Close(handle);
  return ok;
}

bool CReader::ReadLeadMeasurements(const RecordSource& source,
                                   SLeadMeasurements* measurements) {
  if (source.IsNull() || measurements == nullptr) return Fail(kErrorInvalidParameter);
  FileHandle handle;
  SSectionIndexes index;
  if (!OpenWithIndex(handle, source, &index)) return false;
  SSectionHeader header;
  const bool ok = GetSection(handle, &index, 10, &header) &&
                  GetSec10Data(handle, header, measurements);
  Close(handle);
  return ok;
}
