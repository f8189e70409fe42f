#pragma once
// C16BitReader: a bare 16-bit single-lead event file (no header, every
// little-endian pair of bytes one sample) as an event. C16BitMemReader
// reads the same bytes from memory.

#include <cstddef>
#include <cstdint>

#include "import/device_event.h"

class C16BitReader {
 public:
  C16BitReader() = default;
  virtual ~C16BitReader() = default;
  C16BitReader(const C16BitReader&) = delete;
  C16BitReader& operator=(const C16BitReader&) = delete;

  // The event's leads, owned by the reader until the next read or
  // ClearEvent; null with the last-error code on failure (0 on success).
  // `info`, when given, receives the metadata. With `offset` the samples
  // are made signed (minus 32768). A resolution (nV) or rate (Hz)
  // of 0 takes the default 2995 nV or 499.4219653179 Hz.
  SLeadObj* ReadEvent(const char* file, SECGInfo* info, bool offset, double resolution,
                      double rate);
  void ClearEvent() { m_event.KillLeads(); }

 protected:
  SEvent m_event;
};

class C16BitMemReader : public C16BitReader {
 public:
  using C16BitReader::ReadEvent;
  // As the file reader, from `size` bytes at `data` (87 for null or 0);
  // the acquisition time is the current time.
  SLeadObj* ReadEvent(const uint8_t* data, size_t size, SECGInfo* info, bool offset,
                      double resolution, double rate);
};
