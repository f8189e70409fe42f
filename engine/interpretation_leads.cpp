// Section 10 blocks by standard lead.

#include "engine/interpretation_leads.h"

#include <algorithm>

#include "engine/lead_measurements.h"

namespace ecg::engine {

namespace {

bool Missing(int16_t v) { return v == kNotComputed || v == kLeadRejected || v == kWaveAbsent; }

LeadValues FromBlock(const SLeadMeasurement& m) {
  LeadValues v;
  if ((m.m_qualityCode & 32) != 0 || m.m_qrsDuration == kLeadRejected) return v;
  v.usable = true;
  v.qrs_ms = m.m_qrsDuration;
  v.q = m.m_qAmplitude;
  v.q_ms = m.m_qDuration;
  v.r1 = std::max<int16_t>(m.m_rAmplitude, 0);
  v.r2 = std::max<int16_t>(m.m_r2Amplitude, 0);
  v.r = std::max(v.r1, v.r2);
  v.s = std::min<double>(std::min<int16_t>(m.m_sAmplitude, 0), std::min<int16_t>(m.m_s2Amplitude, 0));
  v.r_ms = m.m_rDuration;
  v.s_ms = m.m_sDuration;
  v.s_last_ms = m.m_s2Duration > 0 ? m.m_s2Duration : m.m_sDuration;
  v.qs = v.r == 0 && v.q < 0;
  if (m.m_s2Amplitude < 0) {
    v.ends_positive = false;
  } else if (m.m_r2Amplitude > 0) {
    v.ends_positive = true;
  } else {
    v.ends_positive = m.m_sAmplitude >= 0 && m.m_rAmplitude > 0;
  }
  v.r_peak_ms = Missing(m.m_intrinsicoidDeflection) ? -1 : m.m_intrinsicoidDeflection;
  v.j = m.m_jAmplitude;
  v.st20 = m.m_stJ20;
  v.st60 = m.m_stJ60;
  v.st80 = m.m_stJ80;
  v.t_known = !Missing(m.m_tPlusAmplitude) && !Missing(m.m_tMinusAmplitude);
  if (v.t_known) {
    v.t_pos = m.m_tPlusAmplitude;
    v.t_neg = m.m_tMinusAmplitude;
  }
  v.t_morphology = m.m_tMorphology;
  if (!Missing(m.m_pPlusAmplitude) && !Missing(m.m_pMinusAmplitude)) {
    v.p_pos = m.m_pPlusAmplitude;
    v.p_neg = m.m_pMinusAmplitude;
  }
  v.p_morphology = m.m_pMorphology;
  return v;
}

}  // namespace

RecordLeads CollectLeads(const EcgSignal& signal, const AnalysisResult& result) {
  RecordLeads leads;
  for (int s = 0; s < kSlotCount; ++s) {
    const int at = signal.slot[s];
    if (at < 0 || static_cast<size_t>(at) >= result.leads.size()) continue;
    leads.at[static_cast<size_t>(s)] = FromBlock(result.leads[static_cast<size_t>(at)]);
  }
  return leads;
}

}  // namespace ecg::engine
