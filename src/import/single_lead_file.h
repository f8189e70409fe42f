#pragma once
// The bare single-lead formats: every byte (8-bit) or every little-endian
// pair of bytes (16-bit) of the source is one sample of one lead.

#include <cstdint>

#include "import/device_event.h"
#include "import/event_source.h"

namespace ecg::import {

struct SingleLeadFormat {
  uint32_t bytes_per_sample;  // 1 or 2
  double default_resolution;  // nV, used when the caller gives 0
  double default_rate;        // Hz, used when the caller gives 0
  int32_t offset;             // subtracted with the offset flag
};

extern const SingleLeadFormat kFormat8Bit;
extern const SingleLeadFormat kFormat16Bit;

// At most this many samples are read; bytes beyond are ignored.
constexpr uint32_t kMaxEventSamples = 32767;
// Samples per read before the halving.
constexpr uint32_t kSamplesPerChunk = 1000;

// Reads the source into the event (leads and metadata). On failure the
// leads are freed and the last-error code says why.
bool ReadSingleLeadEvent(EventSource& source, const SingleLeadFormat& format, bool offset,
                         double resolution, double rate, SEvent& event);

// A reader's whole ReadEvent over a file or the caller's bytes: the event's
// old leads freed, the source read into it, the result as FinishEventRead
// gives it.
SLeadObj* ReadSingleLeadFile(const char* file, const SingleLeadFormat& format, bool offset,
                             double resolution, double rate, SEvent& event, SECGInfo* info);
SLeadObj* ReadSingleLeadMemory(const uint8_t* data, size_t size, const SingleLeadFormat& format,
                               bool offset, double resolution, double rate, SEvent& event,
                               SECGInfo* info);

}  // namespace ecg::import
