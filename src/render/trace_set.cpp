#include "render/trace_set.h"

#include <cmath>
#include <limits>

#include "scp/lead_model.h"
#include "scp/reader.h"

namespace ecg::render {

namespace {

bool ValidMark(int ms) { return ms > 0 && ms != 29999 && ms != 29998 && ms != 19999; }

bool HasLead(const SLeadDefinitions& defs, uint8_t code) {
  for (uint32_t i = 0; i < defs.m_count; ++i) {
    if (defs.m_leads[i].m_leadId == code) return true;
  }
  return false;
}

}  // namespace

const TraceLead* TraceSet::Find(uint8_t code) const {
  for (const auto& lead : leads) {
    if (lead.code == code) return &lead;
  }
  return nullptr;
}

size_t TraceSet::MaxSamples() const {
  size_t n = 0;
  for (const auto& lead : leads) n = std::max(n, lead.microvolts.size());
  return n;
}

std::vector<int> FiducialMarks::Drawn() const {
  std::vector<int> marks;
  for (int v : {p_onset, p_offset, qrs_onset, qrs_offset, t_offset}) {
    if (ValidMark(v)) marks.push_back(v);
  }
  return marks;
}

TraceSet ToTraceSet(const SEncodedData& data, const SLeadDefinitions& definitions) {
  TraceSet set;
  if (data.m_sampleInterval > 0) set.rate_hz = 1e6 / data.m_sampleInterval;
  // A record that does not state its resolution is taken as 1 µV per unit.
  const double uv_per_unit = data.m_amplitudeMultiplier > 0 ? data.m_amplitudeMultiplier / 1000.0 : 1.0;
  const uint32_t count = std::min<uint32_t>(data.m_leadCount, definitions.m_count);
  for (uint32_t i = 0; i < count; ++i) {
    TraceLead lead;
    lead.code = definitions.m_leads[i].m_leadId;
    const int16_t* samples = data.Samples(i);
    const uint16_t n = data.SampleCount(i);
    if (samples != nullptr) {
      lead.microvolts.resize(n);
      for (uint16_t k = 0; k < n; ++k) {
        const int16_t v = samples[k];
        lead.microvolts[k] = v > ecg::scp::kLastOrdinarySample
                                 ? std::numeric_limits<float>::quiet_NaN()
                                 : static_cast<float>(v * uv_per_unit);
      }
    }
    set.leads.push_back(std::move(lead));
  }
  return set;
}

bool LoadRecordTraces(CReader& reader, RecordTraces* traces) {
  *traces = RecordTraces{};
  SLeadDefinitions* defs = reader.GetLeadDefinitionsPtr();
  if (defs == nullptr || reader.GetRhythmDataPtr() == nullptr) return false;
  const bool lacks_limb = HasLead(*defs, ecg::scp::kLeadI) && HasLead(*defs, ecg::scp::kLeadII) &&
                          (!HasLead(*defs, ecg::scp::kLeadIII) || !HasLead(*defs, ecg::scp::kLeadAVR) ||
                           !HasLead(*defs, ecg::scp::kLeadAVL) || !HasLead(*defs, ecg::scp::kLeadAVF));
  // A failed derivation leaves the leads the record has; they still print.
  if (lacks_limb) reader.CalculateLeads();
  defs = reader.GetLeadDefinitionsPtr();
  if (defs == nullptr) return false;
  traces->rhythm = ToTraceSet(*reader.GetRhythmDataPtr(), *defs);
  if (const SEncodedData* median = reader.GetMedianDataPtr(); median != nullptr) {
    traces->median = ToTraceSet(*median, *defs);
  }
  if (const CAnalysisInfo* info = reader.GetAnalysisInfoPtr();
      info != nullptr && info->m_global.m_blockCount > 0) {
    const SGlobalMeasurements& g = info->m_global;
    traces->fiducials = FiducialMarks{g.m_pOnset, g.m_pOffset, g.m_qrsOnset, g.m_qrsOffset, g.m_tOffset};
  }
  return true;
}

std::string LeadLabel(uint8_t code) {
  if (const char* name = ecg::scp::LeadCodeName(code)) return name;
  return "#" + std::to_string(code);
}

}  // namespace ecg::render
