#include "import/raw12l_reader.h"

#include <algorithm>

#include "import/event_arguments.h"
#include "import/event_source.h"
#include "import/raw12l_frames.h"
#include "import/single_lead_file.h"
#include "platform/last_error.h"

using namespace ecg::platform;
using namespace ecg::import;

namespace {

constexpr uint8_t kEightLeadIndexes[8] = {kLeadIndexI,      kLeadIndexII,     kLeadIndexV1,
                                          kLeadIndexV1 + 1, kLeadIndexV1 + 2, kLeadIndexV1 + 3,
                                          kLeadIndexV1 + 4, kLeadIndexV1 + 5};

bool ReadRaw12L(EventSource& source, int16_t lead_count, double rate, double resolution,
                SEvent& event, uint32_t* dropped) {
  FrameLayout layout;
  uint16_t interval = 0;
  uint16_t nanovolts = 0;
  if (!FrameLayoutFor(lead_count, &layout) || !SampleIntervalArgument(rate, &interval) ||
      !ResolutionArgument(resolution, &nanovolts)) {
    return false;
  }
  const auto frames =
      static_cast<uint32_t>(std::min<uint64_t>(source.size / layout.frame_bytes, kMaxEventSamples));

  SECGInfo& info = event.m_info;
  info.Clear();
  info.SetDevice(kDeviceTypeNone, kLeadConfigSimultaneous);
  info.m_sampleInterval = interval;
  info.m_amplitudeResolution = nanovolts;
  info.m_bitsPerSample = 12;
  info.m_leadCount = static_cast<uint8_t>(layout.leads);
  info.m_singleLeadIndex = layout.leads == 1 ? kLeadIndexUnspecified : kLeadIndexNotGiven;
  info.m_samplesPerLead = static_cast<uint16_t>(frames);
  SetAcquisitionTime(source.time, info);

  if (!event.InitLeads(layout.leads)) return false;  // 87 without a whole frame
  for (uint32_t i = 0; i < layout.leads; ++i) {
    event.m_leads.m_leads[i].m_leadIndex =
        layout.leads == 1 ? kLeadIndexUnspecified : kEightLeadIndexes[i];
  }
  if (!ReadFrames(source, layout, frames, event, dropped)) {
    LastErrorKeeper keep;
    event.KillLeads();
    return false;
  }
  event.m_leads.m_filled = static_cast<uint8_t>(layout.leads);
  return true;
}

}  // namespace

SLeadObj* C12LReader::ReadEvent(const char* file, SECGInfo* info, int16_t leads, double rate,
                                double resolution) {
  m_event.KillLeads();
  m_dropped = 0;
  EventSource source;
  const bool ok = OpenEventFile(file, source) &&
                  ReadRaw12L(source, leads, rate, resolution, m_event, &m_dropped);
  return FinishEventRead(ok, m_event, info);
}

SLeadObj* C12LMemReader::ReadEvent(const uint8_t* data, size_t size, SECGInfo* info, int16_t leads,
                                   double rate, double resolution) {
  m_event.KillLeads();
  m_dropped = 0;
  EventSource source;
  const bool ok = OpenEventMemory(data, size, source) &&
                  ReadRaw12L(source, leads, rate, resolution, m_event, &m_dropped);
  return FinishEventRead(ok, m_event, info);
}
