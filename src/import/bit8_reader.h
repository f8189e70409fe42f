#pragma once
// C8BitReader: a bare 8-bit single-lead event file (no header, every
// byte one sample 0-255) as an event. C8BitMemReader reads the same
// bytes from memory.

#include <cstddef>
#include <cstdint>

#include "import/device_event.h"

class C8BitReader {
 public:
  C8BitReader() = default;
  virtual ~C8BitReader() = default;
  C8BitReader(const C8BitReader&) = delete;
  C8BitReader& operator=(const C8BitReader&) = delete;

  // The event's leads, owned by the reader until the next read or
  // ClearEvent; null with the last-error code on failure (0 on success).
  // `info`, when given, receives the metadata. With `offset` the samples
  // are made signed (minus 128). A resolution (nV) or rate (Hz) of
  // 0 takes the default 20000 nV or 300 Hz.
  SLeadObj* ReadEvent(const char* file, SECGInfo* info, bool offset, double resolution,
                      double rate);
  void ClearEvent() { m_event.KillLeads(); }

 protected:
  SEvent m_event;
};

class C8BitMemReader : public C8BitReader {
 public:
  using C8BitReader::ReadEvent;
  // As the file reader, from `size` bytes at `data` (87 for null or 0);
  // the acquisition time is the current time.
  SLeadObj* ReadEvent(const uint8_t* data, size_t size, SECGInfo* info, bool offset,
                      double resolution, double rate);
};
