// Low-level record file operations: headers, the Section 0 index, positions
// and CRC checks.

#include <algorithm>

#include "platform/last_error.h"
#include "scp/reader.h"

using namespace ecg::platform;

namespace {

constexpr uint32_t kCrcBlock = 1024;

// Section ids whose CRC the check covers.
bool IsCheckedSection(uint16_t id) {
  switch (id) {
    case 0: case 1: case 3: case 5: case 6: case 7: case 9: case 10: return true;
    default: return false;
  }
}

template <typename Feed>
bool FeedBytes(FileHandle& handle, uint32_t count, uint32_t position, Feed feed) {
  if (!handle) return Fail(kErrorInvalidParameter);
  if (count == 0) return true;
  if (!handle->Seek(position)) return false;
  uint8_t block[kCrcBlock];
  uint32_t left = count;
  while (left > 0) {
    uint32_t n = std::min(left, kCrcBlock);
    if (!ReadExact(*handle, block, n)) return false;
    feed(block, n);
    left -= n;
  }
  return true;
}

// Feeds `length - 2` protected bytes from `first` and then the stored CRC
// high byte first; a valid block leaves the register at 0.
bool CrcOfBlock(FileHandle& handle, uint64_t first, uint64_t length, bool& ok) {
  if (length < 2 || first + length > UINT32_MAX) return Fail(kErrorInvalidData);
  CCRC crc;
  auto update = [&crc](const uint8_t* b, size_t n) { crc.UpdateCRC(b, n); };
  const auto start = static_cast<uint32_t>(first);
  if (!FeedBytes(handle, static_cast<uint32_t>(length - 2), start + 2, update)) return false;
  if (!FeedBytes(handle, 1, start + 1, update)) return false;
  if (!FeedBytes(handle, 1, start, update)) return false;
  ok = crc.GetCRC() == 0;
  return true;
}

}  // namespace

bool CReader::Open(FileHandle& handle, const RecordSource& source, SRecordHeader* header) {
  Close(handle);
  if (source.IsNull() || header == nullptr) return Fail(kErrorInvalidParameter);
  handle = source.OpenRead();
  if (!handle) return false;
  if (!GetRecordHeader(handle, header)) {
    Close(handle);
    return Fail(kErrorInvalidData);
  }
  uint64_t size = 0;
  if (!handle->Size(&size)) {
    LastErrorKeeper keep;
    Close(handle);
    return false;
  }
  if (size < header->m_length || header->m_length < kRecordHeaderSize) {
    Close(handle);
    return Fail(kErrorInvalidData);
  }
  return true;
}

void CReader::Close(FileHandle& handle) {
  LastErrorKeeper keep;
  if (handle) {
    handle->Flush();
    handle.reset();
  }
}

bool CReader::GetRecordHeader(FileHandle& handle, SRecordHeader* header) {
  if (!handle || header == nullptr) return Fail(kErrorInvalidParameter);
  uint8_t bytes[kRecordHeaderSize];
  if (!ReadExact(*handle, bytes, sizeof bytes)) return false;
  header->Decode(bytes);
  return true;
}

bool CReader::GetSectionHeader(FileHandle& handle, SSectionHeader* header) {
  if (!handle || header == nullptr) return Fail(kErrorInvalidParameter);
  uint8_t bytes[kSectionHeaderSize];
  if (!ReadExact(*handle, bytes, sizeof bytes)) return false;
  header->Decode(bytes);
  return true;
}

bool CReader::GetSection0(FileHandle& handle, SSectionIndexes* index) {
  if (!handle || index == nullptr) return Fail(kErrorInvalidParameter);
  index->KillData();
  SSectionHeader header;
  if (!GetSectionHeader(handle, &header)) return false;
  if (header.m_id != 0 || header.m_length < kSectionHeaderSize) return Fail(kErrorInvalidData);
  const uint32_t count = (header.m_length - static_cast<uint32_t>(kSectionHeaderSize)) /
                         static_cast<uint32_t>(kIndexEntrySize);
  if (count > kInlineIndexEntries && !index->Allocate(count - kInlineIndexEntries)) {
    index->KillData();
    return false;
  }
  // Read the entries straight into the inline table and the overflow array.
  uint8_t raw[kIndexEntrySize];
  for (uint32_t i = 0; i < count; ++i) {
    if (!ReadExact(*handle, raw, sizeof raw)) {
      index->KillData();
      return false;
    }
    SIndexEntry& entry = i < kInlineIndexEntries ? index->m_entries[i]
                                                 : index->m_overflow[i - kInlineIndexEntries];
    entry.Decode(raw);
  }
  index->m_count = count;
  return true;
}

bool CReader::GetSection(FileHandle& handle, const SSectionIndexes* index, uint16_t id,
                         SSectionHeader* header) {
  if (!handle || index == nullptr || header == nullptr) return Fail(kErrorInvalidParameter);
  for (uint32_t i = 0; i < index->m_count; ++i) {
    const SIndexEntry* entry = index->Entry(i);
    if (entry == nullptr) return Fail(kErrorOutOfStructures);
    if (entry->m_id != id) continue;
    if (entry->m_length == 0 || entry->m_position == 0) return Fail(kErrorSuccess);
    if (!handle->Seek(entry->m_position - 1)) return false;
    if (!GetSectionHeader(handle, header)) return false;
    SetLastError(header->m_id != id ? kErrorBadFormat : kErrorSuccess);
    return true;
  }
  return Fail(kErrorSuccess);
}

bool CReader::GetPosition(FileHandle& handle, uint32_t* position) {
  if (!handle || position == nullptr) return Fail(kErrorInvalidParameter);
  uint64_t at = handle->Tell() + 1;
  if (at > UINT32_MAX) return Fail(kErrorInvalidData);
  *position = static_cast<uint32_t>(at);
  return true;
}

bool CReader::SetPosition(FileHandle& handle, uint32_t position) {
  if (!handle) return Fail(kErrorInvalidParameter);
  return handle->Seek(position);
}

bool CReader::AddPosition(FileHandle& handle, int32_t offset) {
  if (!handle) return Fail(kErrorInvalidParameter);
  if (offset == 0) return true;
  int64_t target = static_cast<int64_t>(handle->Tell()) + offset;
  if (target < 0) return Fail(kErrorInvalidParameter);
  return handle->Seek(static_cast<uint64_t>(target));
}

bool CReader::GetCRC(FileHandle& handle, CCRC& crc, uint32_t count, uint32_t position) {
  return FeedBytes(handle, count, position,
                   [&crc](const uint8_t* b, size_t n) { crc.UpdateCRC(b, n); });
}

bool CReader::GetChecksum(FileHandle& handle, CCRC& crc, uint32_t count, uint32_t position) {
  return FeedBytes(handle, count, position,
                   [&crc](const uint8_t* b, size_t n) { crc.UpdateChecksum(b, n); });
}

bool CReader::CheckCRC(FileHandle& handle, bool& valid, const SRecordHeader* header,
                       const SSectionIndexes* index) {
  valid = false;
  if (!handle || header == nullptr || index == nullptr) return Fail(kErrorInvalidParameter);
  bool ok = false;
  if (!CrcOfBlock(handle, 0, header->m_length, ok)) return false;
  if (!ok) return true;
  for (uint32_t i = 0; i < index->m_count; ++i) {
    const SIndexEntry* entry = index->Entry(i);
    if (entry == nullptr) return Fail(kErrorOutOfStructures);
    if (entry->m_length == 0 || !IsCheckedSection(entry->m_id)) continue;
    if (entry->m_position == 0) return Fail(kErrorInvalidData);
    if (!CrcOfBlock(handle, uint64_t{entry->m_position} - 1, entry->m_length, ok)) return false;
    if (!ok) return true;
  }
  valid = true;
  SetLastError(kErrorSuccess);
  return true;
}

bool CReader::ReadCRCReport(const RecordSource& source, SCrcReport& report) {
  report = SCrcReport{};
  FileHandle handle;
  SRecordHeader header;
  SSectionIndexes index;
  if (!OpenWithIndex(handle, source, &index)) return false;
  handle->Seek(0);
  if (!GetRecordHeader(handle, &header) ||
      !CrcOfBlock(handle, 0, header.m_length, report.recordValid)) {
    LastErrorKeeper keep;
    Close(handle);
    return false;
  }
  for (uint32_t i = 0; i < index.m_count; ++i) {
    const SIndexEntry* entry = index.Entry(i);
    if (entry == nullptr) break;
    SCrcReport::Entry e;
    e.id = entry->m_id;
    e.length = entry->m_length;
    e.position = entry->m_position;
    e.checked = entry->m_length != 0 && IsCheckedSection(entry->m_id);
    if (entry->m_length != 0 && entry->m_position != 0) {
      bool ok = false;
      e.readable = CrcOfBlock(handle, uint64_t{entry->m_position} - 1, entry->m_length, ok);
      e.valid = e.readable && ok;
    }
    report.entries.push_back(e);
  }
  Close(handle);
  SetLastError(kErrorSuccess);
  return true;
}

bool CReader::OpenWithIndex(FileHandle& handle, const RecordSource& source,
                            SSectionIndexes* index) {
  SRecordHeader header;
  if (!Open(handle, source, &header)) return false;
  if (!GetSection0(handle, index)) {
    Close(handle);
    return false;
  }
  return true;
}
