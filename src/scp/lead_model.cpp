#include "scp/lead_model.h"

#include <algorithm>
#include <new>

#include "platform/last_error.h"

using namespace ecg::platform;

namespace ecg::scp {

const char* LeadCodeName(uint32_t code) {
  switch (code) {
    case 1: return "I";
    case 2: return "II";
    case 3: return "V1";
    case 4: return "V2";
    case 5: return "V3";
    case 6: return "V4";
    case 7: return "V5";
    case 8: return "V6";
    case 61: return "III";
    case 62: return "aVR";
    case 63: return "aVL";
    case 64: return "aVF";
    default: return nullptr;
  }
}

}  // namespace ecg::scp

// ---------------------------------------------------------- SLeadDefinitions

bool SLeadDefinitions::Allocate(uint32_t n) {
  KillLeads();
  if (n == 0) return Fail(kErrorInvalidParameter);
  if (n > kMaxLeads) return Fail(kErrorOutOfStructures);
  m_leads.reset(new (std::nothrow) SLeadDef[n]());
  if (!m_leads) return Fail(kErrorOutOfMemory);
  m_count = static_cast<uint8_t>(n);
  return true;
}

bool SLeadDefinitions::AddLeads(uint32_t n) {
  if (n == 0) return Fail(kErrorInvalidParameter);
  const uint32_t total = uint32_t{m_count} + n;
  if (total > kMaxLeads) return Fail(kErrorOutOfStructures);
  std::unique_ptr<SLeadDef[]> grown(new (std::nothrow) SLeadDef[total]());
  if (!grown) return Fail(kErrorOutOfMemory);
  if (m_count > 0) std::copy_n(m_leads.get(), m_count, grown.get());
  m_leads = std::move(grown);
  m_count = static_cast<uint8_t>(total);
  return true;
}

bool SLeadDefinitions::Set(const SLeadDefinitions* other) {
  if (other == this) return true;
  KillData();
  if (other == nullptr) return Fail(kErrorInvalidParameter);
  m_flags = other->m_flags;
  if (other->m_count == 0) return true;
  if (!Allocate(other->m_count)) return false;
  std::copy_n(other->m_leads.get(), other->m_count, m_leads.get());
  return true;
}

void SLeadDefinitions::KillLeads() {
  m_leads.reset();
  m_count = 0;
}

void SLeadDefinitions::KillData() {
  KillLeads();
  m_flags = 0;
}

const SLeadDef* SLeadDefinitions::GetLeadFromId(uint8_t code) const {
  const int16_t index = GetIdIndexFromId(code);
  return index == kNotFound ? nullptr : &m_leads[static_cast<uint32_t>(index)];
}

int16_t SLeadDefinitions::GetIdIndexFromId(int32_t code) const {
  if (m_count == 0 || !m_leads) {
    SetLastError(kErrorNoData);
    return kNotFound;
  }
  if (code < 0 || code > 255) {
    SetLastError(kErrorInvalidParameter);
    return kNotFound;
  }
  for (uint32_t i = 0; i < m_count; ++i) {
    if (m_leads[i].m_leadId == code) {
      SetLastError(kErrorSuccess);
      return static_cast<int16_t>(i);
    }
  }
  SetLastError(kErrorSuccess);
  return kNotFound;
}

uint32_t SLeadDefinitions::GetMinSample() const {
  if (m_count == 0 || !m_leads) {
    SetLastError(kErrorNoData);
    return 0;
  }
  SetLastError(kErrorSuccess);
  uint32_t least = m_leads[0].m_startSample;
  for (uint32_t i = 1; i < m_count && least != 0; ++i) {
    const uint32_t start = m_leads[i].m_startSample;  // copied: the entries are packed
    least = std::min(least, start);
  }
  return least;
}

uint32_t SLeadDefinitions::GetMaxSample() const {
  if (m_count == 0 || !m_leads) {
    SetLastError(kErrorNoData);
    return 0;
  }
  SetLastError(kErrorSuccess);
  uint32_t most = 0;
  for (uint32_t i = 0; i < m_count; ++i) {
    const uint32_t end = m_leads[i].m_endSample;  // copied: the entries are packed
    most = std::max(most, end);
  }
  return most;
}

uint32_t SLeadDefinitions::GetSamples() const {
  const uint32_t least = GetMinSample();
  if (least == 0) {
    if (GetLastError() == kErrorSuccess) SetLastError(kErrorInvalidData);
    return 0;
  }
  const uint32_t most = GetMaxSample();
  // A range that runs backwards is no span either.
  if (most == 0 || most < least) {
    if (GetLastError() == kErrorSuccess) SetLastError(kErrorInvalidData);
    return 0;
  }
  return most - least + 1;
}

// --------------------------------------------------------------- SEncodedData

bool SEncodedData::Allocate(uint32_t n) {
  KillLeads();
  if (n == 0) return Fail(kErrorInvalidParameter);
  if (n > kMaxLeads) return Fail(kErrorOutOfStructures);
  m_sampleCounts.reset(new (std::nothrow) uint16_t[n]());
  m_samples.reset(new (std::nothrow) std::unique_ptr<int16_t[]>[n]());
  if (!m_sampleCounts || !m_samples) {
    KillLeads();
    return Fail(kErrorOutOfMemory);
  }
  m_leadCount = static_cast<uint8_t>(n);
  return true;
}

bool SEncodedData::AddLeads(uint32_t n) {
  if (n == 0) return Fail(kErrorInvalidParameter);
  const uint32_t total = uint32_t{m_leadCount} + n;
  if (total > kMaxLeads) return Fail(kErrorOutOfStructures);
  std::unique_ptr<uint16_t[]> counts(new (std::nothrow) uint16_t[total]());
  std::unique_ptr<std::unique_ptr<int16_t[]>[]> samples(
      new (std::nothrow) std::unique_ptr<int16_t[]>[total]());
  if (!counts || !samples) return Fail(kErrorOutOfMemory);
  for (uint32_t i = 0; i < m_leadCount; ++i) {
    counts[i] = m_sampleCounts[i];
    samples[i] = std::move(m_samples[i]);
  }
  m_sampleCounts = std::move(counts);
  m_samples = std::move(samples);
  m_leadCount = static_cast<uint8_t>(total);
  return true;
}

bool SEncodedData::AllocateLead(uint32_t lead, uint32_t samples) {
  if (samples == 0 || samples > kMaxSamples) return Fail(kErrorInvalidParameter);
  if (lead >= m_leadCount) return Fail(kErrorOutOfStructures);
  if (!m_sampleCounts || !m_samples) return Fail(kErrorNoData);
  m_samples[lead].reset(new (std::nothrow) int16_t[samples]());
  if (!m_samples[lead]) {
    m_sampleCounts[lead] = 0;
    return Fail(kErrorOutOfMemory);
  }
  m_sampleCounts[lead] = static_cast<uint16_t>(samples);
  return true;
}

void SEncodedData::FreeLead(uint32_t lead) {
  if (lead >= m_leadCount || !m_samples) return;
  m_samples[lead].reset();
  m_sampleCounts[lead] = 0;
}

void SEncodedData::KillLeads() {
  m_samples.reset();
  m_sampleCounts.reset();
  m_leadCount = 0;
}

void SEncodedData::KillData() {
  KillLeads();
  m_amplitudeMultiplier = 0;
  m_sampleInterval = 0;
  m_differenceUsed = 0;
  m_bimodal = 0;
}

const int16_t* SEncodedData::Samples(uint32_t lead) const {
  if (lead >= m_leadCount || !m_samples) return nullptr;
  return m_samples[lead].get();
}

uint16_t SEncodedData::SampleCount(uint32_t lead) const {
  if (lead >= m_leadCount || !m_sampleCounts) return 0;
  return m_sampleCounts[lead];
}
