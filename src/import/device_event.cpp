#include "import/device_event.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/last_error.h"

using namespace ecg::platform;

// ------------------------------------------------------------------ SLeadData

bool SLeadData::InitLeads(uint32_t samples) {
  KillLeads();
  if (samples == 0) return Fail(kErrorInvalidParameter);
  m_samples.reset(new (std::nothrow) int16_t[samples]());
  if (!m_samples) return Fail(kErrorOutOfMemory);
  m_sampleCount = samples;
  return true;
}

void SLeadData::KillLeads() {
  m_samples.reset();
  m_sampleCount = 0;
}

// ------------------------------------------------------------------- SLeadObj

bool SLeadObj::InitLeads(uint32_t count, uint32_t samples) {
  KillLeads();
  if (count == 0 || samples == 0) return Fail(kErrorInvalidParameter);
  if (count > kMaxLeads) return Fail(kErrorOutOfStructures);
  std::unique_ptr<SLeadData[]> leads(new (std::nothrow) SLeadData[count]);
  if (!leads) return Fail(kErrorOutOfMemory);
  for (uint32_t i = 0; i < count; ++i) {
    if (!leads[i].InitLeads(samples)) return false;
  }
  m_leads = std::move(leads);
  m_count = static_cast<uint8_t>(count);
  m_filled = 0;
  return true;
}

void SLeadObj::KillLeads() {
  m_leads.reset();
  m_count = 0;
  m_filled = 0;
}

// ------------------------------------------------------------------- SECGInfo

void SECGInfo::SetDevice(uint8_t type, uint8_t lead_configuration, uint8_t top_bits) {
  m_device = static_cast<uint8_t>((type & 0x0F) | ((lead_configuration & 0x03) << 4) |
                                  ((top_bits & 0x03) << 6));
}

void SECGInfo::SetDeviceText(const char* text, size_t limit) {
  std::memset(m_deviceText, 0, sizeof m_deviceText);
  if (text == nullptr) return;
  limit = std::min(limit, kDeviceTextSize - 1);
  const size_t n = strnlen(text, limit);
  std::memcpy(m_deviceText, text, n);
}

void SECGInfo::Clear() { *this = SECGInfo(); }

void SECGInfo::Set(const SECGInfo& other) {
  if (&other != this) *this = other;
}

// --------------------------------------------------------------------- SEvent

bool SEvent::InitLeads(uint32_t count) { return m_leads.InitLeads(count, m_info.m_samplesPerLead); }

void SEvent::KillLeads() {
  m_leads.KillLeads();
  m_info.m_leadCount = 0;
  m_info.m_samplesPerLead = 0;
}
