#include "scp/measurement_model.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/last_error.h"

using namespace ecg::platform;

// -------------------------------------------------------- SGlobalMeasurements

void SGlobalMeasurements::KillData() {
  m_blockCount = m_spikeCount = 0;
  m_rr = m_pp = 0;
  m_pOnset = m_pOffset = m_qrsOnset = m_qrsOffset = m_tOffset = 0;
  m_pAxis = m_qrsAxis = m_tAxis = 0;
}

std::optional<uint32_t> SGlobalMeasurements::HeartRate() const {
  if (m_rr == 0) return std::nullopt;
  return (60000u + m_rr / 2u) / m_rr;
}

// -------------------------------------------------------------- CAnalysisInfo

void CAnalysisInfo::SetDefault() {
  m_global.KillData();
  m_morphologyCount = 0;
  m_rhythmCount = 0;
}

bool CAnalysisInfo::Set(const CAnalysisInfo* other) {
  if (other == nullptr || m_version < 1 || other->m_version < 1) {
    m_version = 0;
    return false;
  }
  if (other != this) {
    m_global = other->m_global;
    std::copy_n(other->m_morphologyCodes, kMaxMorphologyCodes, m_morphologyCodes);
    m_morphologyCount = other->m_morphologyCount;
    std::copy_n(other->m_rhythmCodes, kMaxRhythmCodes, m_rhythmCodes);
    m_rhythmCount = other->m_rhythmCount;
  }
  m_version = 1;
  return true;
}

// ---------------------------------------------------------- SLeadMeasurements

bool SLeadMeasurements::Allocate(uint32_t n) {
  KillLeads();
  if (n == 0) return Fail(kErrorInvalidParameter);
  if (n > kMaxLeads) return Fail(kErrorOutOfStructures);
  m_leads.reset(new (std::nothrow) SLeadMeasurement[n]());
  if (!m_leads) return Fail(kErrorOutOfMemory);
  m_count = static_cast<uint16_t>(n);
  return true;
}

bool SLeadMeasurements::AddLeads(uint32_t n) {
  if (n == 0) return Fail(kErrorInvalidParameter);
  const uint32_t total = uint32_t{m_count} + n;
  if (total > kMaxLeads) return Fail(kErrorOutOfStructures);
  std::unique_ptr<SLeadMeasurement[]> grown(new (std::nothrow) SLeadMeasurement[total]());
  if (!grown) return Fail(kErrorOutOfMemory);
  if (m_count > 0) std::copy_n(m_leads.get(), m_count, grown.get());
  m_leads = std::move(grown);
  m_count = static_cast<uint16_t>(total);
  return true;
}

bool SLeadMeasurements::Set(const SLeadMeasurements* other) {
  if (other == this) return true;
  KillData();
  if (other == nullptr) return Fail(kErrorInvalidParameter);
  m_blockSize = other->m_blockSize;
  if (other->m_count == 0) return true;
  if (!Allocate(other->m_count)) return false;
  std::copy_n(other->m_leads.get(), other->m_count, m_leads.get());
  return true;
}

void SLeadMeasurements::KillLeads() {
  m_leads.reset();
  m_count = 0;
}

void SLeadMeasurements::KillData() {
  KillLeads();
  m_blockSize = kBlockSize;
}
