#pragma once
// Lead definitions (Section 3) and encoded sample data (Sections 5 and 6).
// The reader keeps these members; the lead and sample decoding fills them.

#include <cstdint>
#include <memory>

#pragma pack(push, 1)
struct SLeadDef {
  uint32_t m_startSample = 0;  // 1-based, inclusive
  uint32_t m_endSample = 0;    // 1-based, inclusive
  uint8_t m_leadId = 0;        // SCP lead code
};
#pragma pack(pop)
static_assert(sizeof(SLeadDef) == 9);

struct SLeadDefinitions {
  static constexpr uint32_t kMaxLeads = 254;

  uint8_t m_count = 0;
  uint8_t m_flags = 0;
  std::unique_ptr<SLeadDef[]> m_leads;

  void KillLeads() {
    m_leads.reset();
    m_count = 0;
  }
  void KillData() {
    KillLeads();
    m_flags = 0;
  }
};

struct SEncodedData {
  uint16_t m_amplitudeMultiplier = 0;  // nanovolts per unit
  uint16_t m_sampleInterval = 0;       // microseconds
  uint8_t m_differenceUsed = 0;
  uint8_t m_bimodal = 0;
  uint8_t m_leadCount = 0;
  std::unique_ptr<std::unique_ptr<int16_t[]>[]> m_samples;
  std::unique_ptr<uint32_t[]> m_sampleCounts;

  void KillData() {
    m_samples.reset();
    m_sampleCounts.reset();
    m_leadCount = 0;
    m_amplitudeMultiplier = m_sampleInterval = 0;
    m_differenceUsed = m_bimodal = 0;
  }
};
