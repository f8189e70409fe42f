#include "import/bit16_reader.h"

#include "import/event_source.h"
#include "import/single_lead_file.h"
#include "platform/last_error.h"

using namespace ecg::platform;
using namespace ecg::import;

namespace {

SLeadObj* Finish(bool ok, SEvent& event, SECGInfo* info) {
  if (!ok) return nullptr;
  if (info != nullptr) info->Set(event.m_info);
  SetLastError(kErrorSuccess);
  return &event.m_leads;
}

}  // namespace

SLeadObj* C16BitReader::ReadEvent(const char* file, SECGInfo* info, bool offset, double resolution,
                                  double rate) {
  m_event.KillLeads();
  EventSource source;
  const bool ok = OpenEventFile(file, source) &&
                  ReadSingleLeadEvent(source, kFormat16Bit, offset, resolution, rate, m_event);
  return Finish(ok, m_event, info);
}

SLeadObj* C16BitMemReader::ReadEvent(const uint8_t* data, size_t size, SECGInfo* info, bool offset,
                                     double resolution, double rate) {
  m_event.KillLeads();
  EventSource source;
  const bool ok = OpenEventMemory(data, size, source) &&
                  ReadSingleLeadEvent(source, kFormat16Bit, offset, resolution, rate, m_event);
  return Finish(ok, m_event, info);
}
