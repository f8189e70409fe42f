#pragma once
// Where a device event's bytes come from: a file (its acquisition time is
// the file's last-write time) or a caller's buffer (the current time), read
// through the record layer's byte streams.

#include <cstddef>
#include <cstdint>

#include "import/device_event.h"
#include "platform/byte_stream.h"
#include "platform/clock.h"

namespace ecg::import {

struct EventSource {
  std::unique_ptr<platform::ByteStream> stream;
  uint64_t size = 0;
  platform::SystemTime time;  // local time of the acquisition
};

// Opens a file for reading: null path 87; the platform's error otherwise.
bool OpenEventFile(const char* path, EventSource& source);
// A view of the caller's bytes: 87 for a null pointer or a size of 0.
bool OpenEventMemory(const uint8_t* data, size_t size, EventSource& source);

// The chunk for the next read: `chunk` halved until it fits in `remaining`
// (1000, 500, 250, 125, 62, 31, 15, 7, 3, 1).
size_t NextChunk(size_t chunk, size_t remaining);

// Copies a local time into the event metadata's acquisition fields.
void SetAcquisitionTime(const platform::SystemTime& time, SECGInfo& info);

// Reads exactly n bytes; a short read fails with 13 (the data ended early).
bool ReadBytes(platform::ByteStream& stream, void* buffer, size_t n);

// What a reader's ReadEvent hands back: null when the read failed (the
// last-error code already says why); otherwise the event's leads, with the
// metadata copied to `info` when given and the last-error code 0.
SLeadObj* FinishEventRead(bool ok, SEvent& event, SECGInfo* info);

}  // namespace ecg::import
