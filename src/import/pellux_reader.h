#pragma once
// CPelluxReader: the handheld event recorder's block-structured file, one
// event (leads and metadata) per recorded event.
//
// Layout, little-endian: block count N (u8, the information block
// included); the information block (u16 body length, u8 type 2, 3, 20 or
// 30, body); then N - 1 blocks of the same shape: event blocks (type 31)
// and lead data blocks (types 6, 7, 10, 11, 21, 22, 23). Lead data blocks
// are read by their content (the event's samples per lead and the block's
// coding), not by their stated length.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "import/device_event.h"
#include "platform/byte_stream.h"

class CPelluxReader {
 public:
  CPelluxReader() = default;
  virtual ~CPelluxReader() = default;
  CPelluxReader(const CPelluxReader&) = delete;
  CPelluxReader& operator=(const CPelluxReader&) = delete;

  // Reads a file; `events`, when given, receives the number of events.
  // Failures: 87 null name; 13 an unsupported block type, a lead count
  // outside 1-12, a type 3 lead count that does not match the block count,
  // a type 31 block whose byte 5 is 0, a resolution byte of 0, or bytes that
  // end inside a block; 84 more type 31 blocks than events or more leads
  // than an event holds; the platform's errors of opening and reading. A
  // failed read leaves no events.
  bool ReadFile(const char* path, int16_t* events);
  // The same from bytes in memory (87 for null or empty).
  bool ReadMemory(const uint8_t* data, size_t size, int16_t* events);
  bool Read(ecg::platform::ByteStream& stream, uint64_t size, int16_t* events);

  // Event n's leads, owned by the reader, with its metadata copied into
  // `info`: 87 null `info`, 232 no events, 84 n outside 0 ... count - 1.
  SLeadObj* GetEvent(int16_t n, SECGInfo* info);
  int16_t GetEventCount() const { return m_eventCount; }
  void ClearEvents();

  // Why the last read failed, in words ("" after a success).
  const std::string& FailureReason() const { return m_failure; }

 private:
  bool ReadBlocks(ecg::platform::ByteStream& stream, uint64_t size);
  bool Failure(uint32_t code, std::string reason);

  int16_t m_eventCount = 0;
  std::unique_ptr<SEvent[]> m_events;
  std::string m_failure;
};
