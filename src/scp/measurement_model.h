#pragma once
// Measurement sections: global measurements (Section 7), interpretation
// statement codes (Section 9) and per-lead measurements (Section 10).

#include <cstdint>
#include <cstring>
#include <memory>

#pragma pack(push, 1)
struct SGlobalMeasurements {
  uint8_t m_blockCount = 0;
  uint8_t m_spikeCount = 0;
  uint16_t m_rr = 0;
  uint16_t m_pp = 0;
  uint16_t m_pOnset = 0;
  uint16_t m_pOffset = 0;
  uint16_t m_qrsOnset = 0;
  uint16_t m_qrsOffset = 0;
  uint16_t m_tOffset = 0;
  int16_t m_pAxis = 0;
  int16_t m_qrsAxis = 0;
  int16_t m_tAxis = 0;

  void KillData() { *this = SGlobalMeasurements{}; }
};
#pragma pack(pop)
static_assert(sizeof(SGlobalMeasurements) == 22);

class CAnalysisInfo {
 public:
  static constexpr uint32_t kSizeStamp = 60;

  virtual ~CAnalysisInfo() = default;
  void SetDefault() {
    m_global.KillData();
    m_morphologyCount = 0;
    m_rhythmCount = 0;
  }
  int32_t GetVersion() const { return m_version; }

  uint32_t m_size = kSizeStamp;
  int32_t m_version = 1;
  SGlobalMeasurements m_global;
  uint16_t m_morphologyCodes[7] = {};
  uint16_t m_morphologyCount = 0;
  uint16_t m_rhythmCodes[3] = {};
  uint16_t m_rhythmCount = 0;
};

struct SLeadMeasurements {
  uint8_t m_count = 0;
  std::unique_ptr<uint8_t[]> m_entries;

  void KillData() {
    m_entries.reset();
    m_count = 0;
  }
};
