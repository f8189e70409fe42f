// Per-lead error bits: rebuilt from the marker samples of the rhythm data,
// or read from Section 1 (tag 200) alone.

#include "platform/last_error.h"
#include "scp/reader.h"

using namespace ecg::platform;
using namespace ecg::scp;

namespace {

// Bit (value - 2032) for every marker 2032, 2033 and 2034 in the samples.
uint16_t MarkerBits(const int16_t* samples, uint32_t count) {
  uint16_t bits = 0;
  for (uint32_t k = 0; k < count; ++k) {
    const int16_t v = samples[k];
    if (v >= kMarkerFirst && v <= kMarkerLast) {
      bits = static_cast<uint16_t>(bits | (1u << (v - kMarkerFirst)));
      if (bits == 0x7) break;  // every marker bit is set already
    }
  }
  return bits;
}

}  // namespace

bool CReader::CreateLeadErrorCodes() {
  if ((m_loaded & kSection3Bit) == 0 || (m_loaded & kSection6Bit) == 0) {
    return Fail(kErrorNoData);
  }
  const uint32_t leads = m_rhythmData.m_leadCount;
  SLeadErrors errors;
  if (leads > 0 && !errors.Allocate(leads)) return false;
  for (uint32_t i = 0; i < leads; ++i) {
    errors.m_entries[i].m_leadId =
        i < m_leadDefinitions.m_count ? m_leadDefinitions.m_leads[i].m_leadId : 0;
    const int16_t* samples = m_rhythmData.Samples(i);
    errors.m_entries[i].m_errorBits =
        samples == nullptr ? 0 : MarkerBits(samples, m_rhythmData.SampleCount(i));
  }
  if (!m_leadErrors.Set(&errors)) return false;
  SetLastError(kErrorSuccess);
  return true;
}

bool CReader::ReadLeadErrorCodes(const RecordSource& source, SLeadErrors* errors) {
  if (source.IsNull() || errors == nullptr) return Fail(kErrorInvalidParameter);
  FileHandle handle;
  SSectionIndexes index;
  if (!OpenWithIndex(handle, source, &index)) return false;
  SSectionHeader header;
  const bool ok = GetSection(handle, &index, 1, &header) &&
                  GetSec1Data(handle, header, nullptr, 0, nullptr, nullptr, errors, nullptr,
                              nullptr, nullptr);
  Close(handle);
  return ok;
}
