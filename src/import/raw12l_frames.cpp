#include "import/raw12l_frames.h"

#include <memory>
#include <new>

#include "import/sample_coding.h"
#include "platform/last_error.h"

namespace ecg::import {

using namespace ecg::platform;

namespace {

constexpr uint32_t kFramesPerChunk = 1000;

}  // namespace

bool FrameLayoutFor(int32_t lead_count, FrameLayout* layout) {
  switch (lead_count) {
    case 1: *layout = {1, 2}; return true;
    case 2:
    case 6: *layout = {2, 4}; return true;
    case 8:
    case 12: *layout = {8, 13}; return true;
    default: return Fail(kErrorInvalidData);
  }
}

bool DecodeFrame(const FrameLayout& layout, const uint8_t* frame, SLeadObj& leads, uint32_t k) {
  if (layout.leads == 1) {
    if (!IsValidSingleLeadFrame(frame[0], frame[1])) return false;
    leads.m_leads[0].m_samples[k] = DecodeSingleLeadFrame(frame[0], frame[1]);
    return true;
  }
  const uint32_t data_bytes = layout.frame_bytes - 1;
  uint32_t sum = 0;
  for (uint32_t i = 0; i < data_bytes; ++i) sum += frame[i];
  if (static_cast<uint8_t>(sum) != frame[data_bytes]) return false;
  for (uint32_t pair = 0; pair < layout.leads / 2; ++pair) {
    Decode12BitPair(frame + 3 * pair, &leads.m_leads[2 * pair].m_samples[k],
                    &leads.m_leads[2 * pair + 1].m_samples[k]);
  }
  return true;
}

bool ReadFrames(EventSource& source, const FrameLayout& layout, uint32_t frames, SEvent& event,
                uint32_t* dropped) {
  std::unique_ptr<uint8_t[]> buffer(new (std::nothrow)
                                        uint8_t[size_t{kFramesPerChunk} * layout.frame_bytes]);
  if (!buffer) return Fail(kErrorOutOfMemory);
  uint32_t decoded = 0;
  uint32_t bad = 0;
  size_t chunk = kFramesPerChunk;
  while (decoded + bad < frames) {
    chunk = NextChunk(chunk, frames - decoded - bad);
    if (!ReadBytes(*source.stream, buffer.get(), chunk * layout.frame_bytes)) return false;
    for (size_t f = 0; f < chunk; ++f) {
      if (DecodeFrame(layout, buffer.get() + f * layout.frame_bytes, event.m_leads, decoded)) {
        ++decoded;
      } else {
        ++bad;
      }
    }
  }
  event.m_info.m_samplesPerLead = static_cast<uint16_t>(decoded);
  *dropped = bad;
  return true;
}

}  // namespace ecg::import
