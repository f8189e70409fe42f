#pragma once
// Lead definitions (Section 3) and sample data (Sections 5 and 6) in memory.
//
// Samples are held as they are stored: signed 16-bit values, one buffer per
// lead. Both tables hold at most 254 leads; every operation reports failure
// through its result and the last-error code.

#include <cstdint>
#include <memory>

namespace ecg::scp {

// SCP lead codes this system records and derives.
enum : uint8_t {
  kLeadI = 1,
  kLeadII = 2,
  kLeadV1 = 3,
  kLeadV6 = 8,
  kLeadIII = 61,
  kLeadAVR = 62,
  kLeadAVL = 63,
  kLeadAVF = 64,
};

// Marker sample values: a stored sample of 2032, 2033 or 2034 flags a
// problem at that sample (the cable's channel status codes 0, 1 and 2).
// Every value above kLastOrdinarySample counts as a marker.
constexpr int16_t kMarkerFirst = 2032;
constexpr int16_t kMarkerLast = 2034;
constexpr int16_t kLastOrdinarySample = 2031;

// "I", "II", "V1".."V6", "III", "aVR", "aVL", "aVF"; null for other codes.
const char* LeadCodeName(uint32_t code);

}  // namespace ecg::scp

#pragma pack(push, 1)
struct SLeadDef {
  uint32_t m_startSample = 0;  // 1-based, inclusive
  uint32_t m_endSample = 0;    // 1-based, inclusive
  uint8_t m_leadId = 0;        // SCP lead code
};
#pragma pack(pop)
static_assert(sizeof(SLeadDef) == 9);

// Section 3 flag bits.
enum : uint8_t {
  kLeadFlagReferenceBeatSubtraction = 0x01,
  kLeadFlagAllSimultaneous = 0x04,
};

struct SLeadDefinitions {
  static constexpr uint32_t kMaxLeads = 254;
  static constexpr int16_t kNotFound = 256;  // GetIdIndexFromId: no such lead

  uint8_t m_count = 0;
  uint8_t m_flags = 0;  // bit 0 reference beat subtraction, bit 2 all
                        // simultaneous, bits 3-7 leads recorded simultaneously
  std::unique_ptr<SLeadDef[]> m_leads;

  SLeadDefinitions() = default;
  SLeadDefinitions(const SLeadDefinitions& other) { Set(&other); }
  SLeadDefinitions& operator=(const SLeadDefinitions& other) {
    if (this != &other) Set(&other);
    return *this;
  }

  // Discards the entries and makes room for n zeroed ones (the count becomes
  // n; the flags stay).
  bool Allocate(uint32_t n);
  // n more zeroed entries after the existing ones.
  bool AddLeads(uint32_t n);
  // Copies count, flags and entries.
  bool Set(const SLeadDefinitions* other);
  void KillLeads();
  void KillData();

  // The entry of a lead code; null when absent (last error 0) or when there
  // are no entries (last error 232).
  const SLeadDef* GetLeadFromId(uint8_t code) const;
  // The index of the first entry with that code, or kNotFound: with last
  // error 0 when simply absent, 87 for a code outside 0-255, 232 without
  // entries.
  int16_t GetIdIndexFromId(int32_t code) const;
  // Smallest start sample, largest end sample (0 with error 232 without
  // entries) and the span between them (0 with error 13 when either end is 0
  // or they are reversed).
  uint32_t GetMinSample() const;
  uint32_t GetMaxSample() const;
  uint32_t GetSamples() const;

  // Bits 3-7 of the flags.
  uint8_t SimultaneousCount() const { return static_cast<uint8_t>(m_flags >> 3); }
};

// One sample section: rhythm (Section 6) or median beats (Section 5).
struct SEncodedData {
  static constexpr uint32_t kMaxLeads = 254;
  static constexpr uint32_t kMaxSamples = 0xFFFF;  // per lead: counts are 16-bit

  uint16_t m_amplitudeMultiplier = 0;  // nanovolts per sample unit
  uint16_t m_sampleInterval = 0;       // microseconds
  uint8_t m_differenceUsed = 0;        // kept as read; samples are never undone
  uint8_t m_bimodal = 0;               // Section 6: bimodal flag; Section 5: reserved
  std::unique_ptr<uint16_t[]> m_sampleCounts;                // per lead
  std::unique_ptr<std::unique_ptr<int16_t[]>[]> m_samples;   // per lead; null: no data
  uint8_t m_leadCount = 0;

  SEncodedData() = default;
  SEncodedData(const SEncodedData&) = delete;
  SEncodedData& operator=(const SEncodedData&) = delete;

  // Discards every lead and makes room for n leads without samples.
  bool Allocate(uint32_t n);
  // n more leads without samples after the existing ones.
  bool AddLeads(uint32_t n);
  // (Re)allocates one lead's buffer for `samples` zeroed values and sets its
  // count: 87 for 0 or more than kMaxSamples samples, 84 for a lead past the
  // count, 232 when nothing is allocated, 14 out of memory (count 0).
  bool AllocateLead(uint32_t lead, uint32_t samples);
  void FreeLead(uint32_t lead);
  void KillLeads();
  void KillData();

  // A lead's samples, or null (no such lead or no data).
  const int16_t* Samples(uint32_t lead) const;
  uint16_t SampleCount(uint32_t lead) const;
};

// What GetDetails reports about the loaded sample sections.
struct SDetails {
  uint16_t m_rhythmSampleRate = 0;          // Hz; 0: unknown
  uint16_t m_medianSampleRate = 0;          // Hz; 0: unknown
  uint16_t m_rhythmAmplitudeMultiplier = 0; // nV
  uint16_t m_medianAmplitudeMultiplier = 0; // nV
  uint32_t m_rhythmSamples = 0;
  uint32_t m_medianSamples = 0;
  uint16_t m_leadCount = 0;
  uint16_t m_medianPresent = 0;             // 0 or 1
};
