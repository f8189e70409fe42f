#pragma once
// Measurement sections in memory: global measurements of the median beat
// (Section 7), interpretation statement codes (Section 9) and per-lead
// measurements (Section 10).

#include <cstdint>
#include <memory>
#include <optional>

// Section 7 up to the end of its first measurement block, packed as in the
// file. Times in milliseconds (onsets and offsets from the start of the
// median beat), axes in degrees.
#pragma pack(push, 1)
struct SGlobalMeasurements {
  uint8_t m_blockCount = 0;  // 0: no measurements
  uint8_t m_spikeCount = 0;  // pacemaker spikes
  uint16_t m_rr = 0;         // average RR interval
  uint16_t m_pp = 0;         // average PP interval
  uint16_t m_pOnset = 0;
  uint16_t m_pOffset = 0;
  uint16_t m_qrsOnset = 0;
  uint16_t m_qrsOffset = 0;
  uint16_t m_tOffset = 0;
  int16_t m_pAxis = 0;
  int16_t m_qrsAxis = 0;
  int16_t m_tAxis = 0;

  SGlobalMeasurements() = default;
  ~SGlobalMeasurements() { KillData(); }
  SGlobalMeasurements(const SGlobalMeasurements&) = default;
  SGlobalMeasurements& operator=(const SGlobalMeasurements&) = default;

  void KillData();
  // The values consumers derive. The heart rate is empty when RR is 0.
  std::optional<uint32_t> HeartRate() const;  // 60000 / RR, rounded
  int32_t PDuration() const { return int32_t{m_pOffset} - m_pOnset; }
  int32_t PRInterval() const { return int32_t{m_qrsOnset} - m_pOnset; }
  int32_t QRSDuration() const { return int32_t{m_qrsOffset} - m_qrsOnset; }
  int32_t QTInterval() const { return int32_t{m_tOffset} - m_qrsOnset; }
};
#pragma pack(pop)
static_assert(sizeof(SGlobalMeasurements) == 22);

class CAnalysisInfo {
 public:
  static constexpr uint32_t kSizeStamp = 60;
  static constexpr uint16_t kMaxMorphologyCodes = 7;
  static constexpr uint16_t kMaxRhythmCodes = 3;

  CAnalysisInfo() = default;
  CAnalysisInfo(const CAnalysisInfo& other) { Set(&other); }
  CAnalysisInfo& operator=(const CAnalysisInfo& other) {
    Set(&other);
    return *this;
  }
  virtual ~CAnalysisInfo() = default;

  // Zeroes the global measurements and both statement counts.
  void SetDefault();
  // Copies every member when both objects have version >= 1; the version is
  // then 1, otherwise 0. Returns whether the copy took place.
  bool Set(const CAnalysisInfo* other);
  int32_t GetVersion() const { return m_version; }

  uint32_t m_size = kSizeStamp;
  int32_t m_version = 1;
  SGlobalMeasurements m_global;
  uint16_t m_morphologyCodes[kMaxMorphologyCodes] = {};
  uint16_t m_morphologyCount = 0;
  uint16_t m_rhythmCodes[kMaxRhythmCodes] = {};
  uint16_t m_rhythmCount = 0;
};

// One lead's measurements as Section 10 stores them: the first 62 bytes of a
// lead block. Durations and intervals in milliseconds, amplitudes in
// microvolts; values the analysis could not give carry the SCP missing-value
// codes (29999 not computed, 29998 lead rejected, 19999 wave absent).
#pragma pack(push, 1)
struct SLeadMeasurement {
  uint16_t m_leadId = 0;
  uint16_t m_length = 0;  // length of the rest of the block
  int16_t m_pDuration = 0;
  int16_t m_prInterval = 0;
  int16_t m_qrsDuration = 0;
  int16_t m_qtInterval = 0;
  int16_t m_qDuration = 0;
  int16_t m_rDuration = 0;
  int16_t m_sDuration = 0;
  int16_t m_r2Duration = 0;  // R'
  int16_t m_s2Duration = 0;  // S'
  int16_t m_qAmplitude = 0;
  int16_t m_rAmplitude = 0;
  int16_t m_sAmplitude = 0;
  int16_t m_r2Amplitude = 0;
  int16_t m_s2Amplitude = 0;
  int16_t m_jAmplitude = 0;
  int16_t m_pPlusAmplitude = 0;
  int16_t m_pMinusAmplitude = 0;
  int16_t m_tPlusAmplitude = 0;
  int16_t m_tMinusAmplitude = 0;
  int16_t m_stSlope = 0;
  int16_t m_pMorphology = 0;
  int16_t m_tMorphology = 0;
  int16_t m_isoQrsOnset = 0;   // iso-electric segment at QRS onset
  int16_t m_isoQrsOffset = 0;  // iso-electric segment at QRS offset
  int16_t m_intrinsicoidDeflection = 0;
  int16_t m_qualityCode = 0;
  int16_t m_stJ20 = 0;  // ST amplitude at J + 20 ms
  int16_t m_stJ60 = 0;
  int16_t m_stJ80 = 0;
};
#pragma pack(pop)
static_assert(sizeof(SLeadMeasurement) == 62);

struct SLeadMeasurements {
  static constexpr uint32_t kMaxLeads = 254;
  static constexpr uint16_t kBlockSize = sizeof(SLeadMeasurement);

  uint16_t m_count = 0;
  uint16_t m_blockSize = kBlockSize;  // bytes per lead block in the file
  std::unique_ptr<SLeadMeasurement[]> m_leads;

  SLeadMeasurements() = default;
  SLeadMeasurements(const SLeadMeasurements& other) { Set(&other); }
  SLeadMeasurements& operator=(const SLeadMeasurements& other) {
    if (this != &other) Set(&other);
    return *this;
  }

  // Discards the blocks and makes room for n zeroed ones (count n).
  bool Allocate(uint32_t n);
  // n more zeroed blocks after the existing ones.
  bool AddLeads(uint32_t n);
  // Copies count, block size and blocks.
  bool Set(const SLeadMeasurements* other);
  void KillLeads();
  void KillData();
};
