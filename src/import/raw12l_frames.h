#pragma once
// Decoding of the packed 12-bit frames of a raw multi-lead event file.

#include <cstdint>

#include "import/device_event.h"
#include "import/event_source.h"

namespace ecg::import {

struct FrameLayout {
  uint32_t leads = 0;        // leads stored per frame: 1, 2 or 8
  uint32_t frame_bytes = 0;  // 2, 4 or 13
};

// The layout for a lead count; false with 13 for a count without one.
bool FrameLayoutFor(int32_t lead_count, FrameLayout* layout);

// Decodes one frame into sample `k` of the event's leads; false when the
// frame is invalid (the sample is then left to the next frame).
bool DecodeFrame(const FrameLayout& layout, const uint8_t* frame, SLeadObj& leads, uint32_t k);

// Reads every frame of the source into the event, whose metadata and leads
// are set up for `frames` samples; counts the dropped frames and shortens
// the event by them.
bool ReadFrames(EventSource& source, const FrameLayout& layout, uint32_t frames, SEvent& event,
                uint32_t* dropped);

}  // namespace ecg::import
