#include "scp/container.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/last_error.h"
#include "scp/little_endian.h"

using ecg::platform::Fail;
using namespace ecg::platform;
using ecg::scp::LoadU16;
using ecg::scp::LoadU32;
using ecg::scp::StoreU16;
using ecg::scp::StoreU32;

void SRecordHeader::Decode(const uint8_t* b) {
  m_crc = LoadU16(b);
  m_length = LoadU32(b + 2);
}

void SRecordHeader::Encode(uint8_t* b) const {
  StoreU16(b, m_crc);
  StoreU32(b + 2, m_length);
}

void SSectionHeader::Decode(const uint8_t* b) {
  m_crc = LoadU16(b);
  m_id = LoadU16(b + 2);
  m_length = LoadU32(b + 4);
  m_sectionVersion = b[8];
  m_protocolVersion = b[9];
  std::memcpy(m_reserved, b + 10, 6);
}

void SSectionHeader::Encode(uint8_t* b) const {
  StoreU16(b, m_crc);
  StoreU16(b + 2, m_id);
  StoreU32(b + 4, m_length);
  b[8] = m_sectionVersion;
  b[9] = m_protocolVersion;
  std::memcpy(b + 10, m_reserved, 6);
}

void SIndexEntry::Decode(const uint8_t* b) {
  m_id = LoadU16(b);
  m_length = LoadU32(b + 2);
  m_position = LoadU32(b + 6);
}

void SIndexEntry::Encode(uint8_t* b) const {
  StoreU16(b, m_id);
  StoreU32(b + 2, m_length);
  StoreU32(b + 6, m_position);
}

// ------------------------------------------------------------ SSectionIndexes

bool SSectionIndexes::Allocate(uint32_t n) {
  KillDynamic();
  if (n == 0) return Fail(kErrorInvalidParameter);
  if (n > kMaxIndexOverflow) return Fail(kErrorOutOfStructures);
  m_overflow.reset(new (std::nothrow) SIndexEntry[n]());
  if (!m_overflow) {
    m_count = 0;
    return Fail(kErrorOutOfMemory);
  }
  m_overflowCount = n;
  return true;
}

bool SSectionIndexes::AddIndex(uint32_t n) {
  if (n == 0) return Fail(kErrorInvalidParameter);
  uint64_t total = uint64_t{m_overflowCount} + n;
  if (total > kMaxIndexOverflow) return Fail(kErrorOutOfStructures);
  std::unique_ptr<SIndexEntry[]> grown(new (std::nothrow) SIndexEntry[total]());
  if (!grown) return Fail(kErrorOutOfMemory);
  std::copy_n(m_overflow.get(), m_overflowCount, grown.get());
  m_overflow = std::move(grown);
  m_overflowCount = static_cast<uint32_t>(total);
  return true;
}

void SSectionIndexes::KillDynamic() {
  m_overflow.reset();
  m_overflowCount = 0;
}

void SSectionIndexes::KillData() {
  KillDynamic();
  m_count = 0;
  std::fill(std::begin(m_entries), std::end(m_entries), SIndexEntry{});
}

const SIndexEntry* SSectionIndexes::Entry(uint32_t i) const {
  if (i >= m_count) return nullptr;
  if (i < kInlineIndexEntries) return &m_entries[i];
  if (i - kInlineIndexEntries >= m_overflowCount) return nullptr;
  return &m_overflow[i - kInlineIndexEntries];
}

SIndexEntry* SSectionIndexes::Entry(uint32_t i) {
  return const_cast<SIndexEntry*>(static_cast<const SSectionIndexes*>(this)->Entry(i));
}

// ----------------------------------------------------------------- SScpRecord

bool SScpRecord::Allocate(uint16_t n) {
  KillDynamic();
  if (n == 0) return Fail(kErrorInvalidParameter);
  m_overflowSections.reset(new (std::nothrow) std::unique_ptr<uint8_t[]>[n]());
  m_overflowLengths.reset(new (std::nothrow) uint32_t[n]());
  m_overflowIds.reset(new (std::nothrow) uint16_t[n]());
  if (!m_overflowSections || !m_overflowLengths || !m_overflowIds) {
    KillDynamic();
    return Fail(kErrorOutOfMemory);
  }
  m_capacity = n;
  return true;
}

bool SScpRecord::AddSections(uint16_t n) {
  if (n == 0) return Fail(kErrorInvalidParameter);
  uint32_t total = uint32_t{m_capacity} + n;
  if (total >= 256) return Fail(kErrorOutOfStructures);
  std::unique_ptr<std::unique_ptr<uint8_t[]>[]> sections(
      new (std::nothrow) std::unique_ptr<uint8_t[]>[total]());
  std::unique_ptr<uint32_t[]> lengths(new (std::nothrow) uint32_t[total]());
  std::unique_ptr<uint16_t[]> ids(new (std::nothrow) uint16_t[total]());
  if (!sections || !lengths || !ids) return Fail(kErrorOutOfMemory);
  for (uint32_t i = 0; i < m_capacity; ++i) {
    sections[i] = std::move(m_overflowSections[i]);
    lengths[i] = m_overflowLengths[i];
    ids[i] = m_overflowIds[i];
  }
  m_overflowSections = std::move(sections);
  m_overflowLengths = std::move(lengths);
  m_overflowIds = std::move(ids);
  m_capacity = static_cast<uint16_t>(total);
  return true;
}

void SScpRecord::KillDynamic() {
  m_overflowSections.reset();
  m_overflowLengths.reset();
  m_overflowIds.reset();
  m_capacity = 0;
  m_count = std::min<uint32_t>(m_count, kInlineIndexEntries);
}

void SScpRecord::KillData() {
  KillDynamic();
  for (uint32_t i = 0; i < kInlineIndexEntries; ++i) {
    m_sections[i].reset();
    m_lengths[i] = 0;
    m_ids[i] = 0;
  }
  m_count = 1;
}

std::unique_ptr<uint8_t[]>* SScpRecord::SectionSlot(uint32_t i) {
  if (i < kInlineIndexEntries) return &m_sections[i];
  return i - kInlineIndexEntries < m_capacity ? &m_overflowSections[i - kInlineIndexEntries]
                                              : nullptr;
}

uint32_t* SScpRecord::LengthSlot(uint32_t i) {
  if (i < kInlineIndexEntries) return &m_lengths[i];
  return i - kInlineIndexEntries < m_capacity ? &m_overflowLengths[i - kInlineIndexEntries]
                                              : nullptr;
}

uint16_t* SScpRecord::IdSlot(uint32_t i) {
  if (i < kInlineIndexEntries) return &m_ids[i];
  return i - kInlineIndexEntries < m_capacity ? &m_overflowIds[i - kInlineIndexEntries] : nullptr;
}
