#pragma once
// C12LReader: a packed 12-bit multi-lead event file as an event. The file is
// a stream of fixed-size frames, one per sample instant, without a header:
//
//   lead count 1      2 bytes: one single-lead frame (lead unspecified)
//   lead count 2, 6   4 bytes: I and II as one 12-bit pair, checksum
//   lead count 8, 12  13 bytes: I/II, V1/V2, V3/V4, V5/V6 pairs, checksum
//
// With 6 or 12 leads the limb leads III, aVR, aVL and aVF are not stored;
// they are calculated from I and II later. An invalid frame (bad checksum,
// or a single-lead frame with the wrong top bits) is dropped and the event
// is one sample shorter for each. C12LMemReader reads the same from memory.

#include <cstddef>
#include <cstdint>

#include "import/device_event.h"

class C12LReader {
 public:
  C12LReader() = default;
  virtual ~C12LReader() = default;
  C12LReader(const C12LReader&) = delete;
  C12LReader& operator=(const C12LReader&) = delete;

  // The event's leads, owned by the reader until the next read or
  // ClearEvent; null with the last-error code on failure (0 on success):
  // 13 for a lead count other than 1, 2, 6, 8 or 12. No defaults apply; a
  // rate of 0 leaves the sample interval 0. Note the order of the rate and
  // the resolution, the reverse of the single-lead readers.
  SLeadObj* ReadEvent(const char* file, SECGInfo* info, int16_t leads, double rate,
                      double resolution);
  void ClearEvent() { m_event.KillLeads(); }
  // Frames dropped by the last read.
  uint32_t DroppedFrames() const { return m_dropped; }

 protected:
  SEvent m_event;
  uint32_t m_dropped = 0;
};

class C12LMemReader : public C12LReader {
 public:
  using C12LReader::ReadEvent;
  // As the file reader, from `size` bytes at `data` (87 for null or 0);
  // the acquisition time is the current time.
  SLeadObj* ReadEvent(const uint8_t* data, size_t size, SECGInfo* info, int16_t leads, double rate,
                      double resolution);
};
