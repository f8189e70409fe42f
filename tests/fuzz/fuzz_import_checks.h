#pragma once
// Checks shared by the device file fuzz targets: what a reader returns is
// consistent, and the record model that CWriter::Set fills from it builds
// Sections 1, 3 and 6.

#include <cstdlib>

#include "import/device_event.h"
#include "scp/writer.h"

namespace ecg::fuzz {

// An event that a reader returned must hold what its metadata says.
inline void CheckEvent(const SECGInfo& info, const SLeadObj& leads) {
  if (leads.m_filled > leads.m_count) std::abort();
  if (leads.m_count > 0 && !leads.m_leads) std::abort();
  for (uint32_t i = 0; i < leads.m_count; ++i) {
    const SLeadData& lead = leads.m_leads[i];
    if (!lead.m_samples || lead.m_sampleCount < info.m_samplesPerLead) std::abort();
  }
}

// Fills the model from an event and builds the sections a record of it
// holds, in memory; writes it when `path` is given and loads it again.
class EventRecordProbe : public CWriter {
 public:
  void Build(const SECGInfo& info, const SLeadObj& leads, const char* path = nullptr) {
    SetDurableWrites(false);
    Close();
    if (!Set(info, &leads)) return;
    if (m_leadDefinitions.m_count != m_rhythmData.m_leadCount) std::abort();
    if (!CreateLeadErrorCodes()) std::abort();
    const bool built = CreateSec1() && CreateSec3_6(true);
    if (built && path != nullptr) {
      if (!WriteSections(path)) return;  // a full disk, say: not the reader's fault
      CReader record;
      int16_t loaded = 0;
      bool valid = false;
      if (!record.Load(path, loaded, static_cast<int16_t>(kAllSectionBits))) std::abort();
      if (!CReader::ReadCRCCheck(path, valid) || !valid) std::abort();
      if (record.GetLeads() != leads.m_filled) std::abort();
    }
    Close();
  }
};

}  // namespace ecg::fuzz
