#include "import/single_lead_file.h"

#include <algorithm>
#include <memory>
#include <new>

#include "import/event_arguments.h"
#include "platform/last_error.h"

namespace ecg::import {

using namespace ecg::platform;

const SingleLeadFormat kFormat8Bit{1, 20000.0, 300.0, 128};
const SingleLeadFormat kFormat16Bit{2, 2995.0, 499.4219653179, 32768};

namespace {

void FillMetadata(const EventSource& source, uint32_t samples, uint32_t bits, SECGInfo& info) {
  info.Clear();
  info.m_leadCount = 1;
  info.m_bitsPerSample = static_cast<uint8_t>(bits);
  info.m_singleLeadIndex = kLeadIndexUnspecified;
  info.m_samplesPerLead = static_cast<uint16_t>(samples);
  SetAcquisitionTime(source.time, info);
}

}  // namespace

bool ReadSingleLeadEvent(EventSource& source, const SingleLeadFormat& format, bool offset,
                         double resolution, double rate, SEvent& event) {
  event.KillLeads();
  if (resolution == 0.0) resolution = format.default_resolution;
  if (rate == 0.0) rate = format.default_rate;
  uint16_t nanovolts = 0;
  uint16_t interval = 0;
  if (!ResolutionArgument(resolution, &nanovolts) || !SampleIntervalArgument(rate, &interval)) {
    return false;
  }
  const uint64_t available = source.size / format.bytes_per_sample;
  const auto samples = static_cast<uint32_t>(std::min<uint64_t>(available, kMaxEventSamples));

  FillMetadata(source, samples, format.bytes_per_sample * 8, event.m_info);
  event.m_info.m_sampleInterval = interval;
  event.m_info.m_amplitudeResolution = nanovolts;
  if (!event.InitLeads(1)) return false;  // 87 for an empty source
  SLeadData& lead = event.m_leads.m_leads[0];
  lead.m_leadIndex = kLeadIndexUnspecified;

  std::unique_ptr<uint8_t[]> chunk_bytes(new (std::nothrow)
                                             uint8_t[kSamplesPerChunk * format.bytes_per_sample]);
  if (!chunk_bytes) {
    event.KillLeads();
    return Fail(kErrorOutOfMemory);
  }
  const int32_t subtract = offset ? format.offset : 0;
  uint32_t done = 0;
  size_t chunk = kSamplesPerChunk;
  while (done < samples) {
    chunk = NextChunk(chunk, samples - done);
    if (!ReadBytes(*source.stream, chunk_bytes.get(), chunk * format.bytes_per_sample)) {
      LastErrorKeeper keep;
      event.KillLeads();
      return false;
    }
    for (size_t k = 0; k < chunk; ++k) {
      int32_t value = chunk_bytes[k * format.bytes_per_sample];
      if (format.bytes_per_sample == 2) value |= chunk_bytes[k * 2 + 1] << 8;
      // 16-bit samples keep their bit pattern; the offset maps them to
      // -32768 ... 32767.
      lead.m_samples[done + k] = static_cast<int16_t>(static_cast<uint16_t>(value - subtract));
    }
    done += static_cast<uint32_t>(chunk);
  }
  event.m_leads.m_filled = 1;
  return true;
}

SLeadObj* ReadSingleLeadFile(const char* file, const SingleLeadFormat& format, bool offset,
                             double resolution, double rate, SEvent& event, SECGInfo* info) {
  event.KillLeads();
  EventSource source;
  const bool ok = OpenEventFile(file, source) &&
                  ReadSingleLeadEvent(source, format, offset, resolution, rate, event);
  return FinishEventRead(ok, event, info);
}

SLeadObj* ReadSingleLeadMemory(const uint8_t* data, size_t size, const SingleLeadFormat& format,
                               bool offset, double resolution, double rate, SEvent& event,
                               SECGInfo* info) {
  event.KillLeads();
  EventSource source;
  const bool ok = OpenEventMemory(data, size, source) &&
                  ReadSingleLeadEvent(source, format, offset, resolution, rate, event);
  return FinishEventRead(ok, event, info);
}

}  // namespace ecg::import
