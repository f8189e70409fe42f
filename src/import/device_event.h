#pragma once
// A device event in memory: the samples of its leads (SLeadObj) and what is
// known about the recording (SECGInfo). The device file readers fill them;
// CWriter::Set turns the pair into a record model.
//
// Like the record layer, every operation reports failure through its result
// and the thread's last-error code; nothing throws.

#include <cstdint>
#include <memory>

struct SPelluxBlock2;
struct SPelluxBlock3;
struct SPelluxBlockExt;
struct SPelluxBlock20;
struct SPelluxBlock15;
struct SPelluxBlock16;

// Lead positions in the standard order I, II, III, aVR, aVL, aVF, V1-V6.
constexpr uint8_t kLeadIndexI = 0;
constexpr uint8_t kLeadIndexII = 1;
constexpr uint8_t kLeadIndexV1 = 6;
constexpr uint8_t kLeadIndexUnspecified = 12;
constexpr uint8_t kLeadIndexNotGiven = 255;

// One lead of an event.
struct SLeadData {
  std::unique_ptr<int16_t[]> m_samples;
  uint32_t m_sampleCount = 0;                // entries of m_samples
  uint8_t m_leadIndex = kLeadIndexNotGiven;  // 0-11, 12 unspecified, 255 not given
  uint8_t m_scpLeadId = 255;                 // 255: derived from the lead index

  // Zero-filled samples; 87 for a count of 0, 14 out of memory.
  bool InitLeads(uint32_t samples);
  void KillLeads();
};

// The leads of an event.
struct SLeadObj {
  static constexpr uint32_t kMaxLeads = 254;

  std::unique_ptr<SLeadData[]> m_leads;
  uint8_t m_count = 0;   // leads allocated
  uint8_t m_filled = 0;  // leads a reader has filled so far

  SLeadObj() = default;
  SLeadObj(const SLeadObj&) = delete;
  SLeadObj& operator=(const SLeadObj&) = delete;
  SLeadObj(SLeadObj&&) = default;
  SLeadObj& operator=(SLeadObj&&) = default;

  // `count` leads of `samples` zeroed samples each, replacing the old ones:
  // 87 when either is 0, 84 for 255 leads or more, 14 out of memory.
  bool InitLeads(uint32_t count, uint32_t samples);
  void KillLeads();
};

// Device type (bits 0-3) and lead configuration (bits 4-5) of the device byte.
constexpr uint8_t kDeviceTypeNone = 15;
constexpr uint8_t kLeadConfigSimultaneous = 1;
constexpr uint8_t kLeadConfigDefault = 2;

// Filter byte bits. Low nibble: filters as the writer filter byte takes them;
// high nibble: the same for the recording's filter bit map.
constexpr uint8_t kEventFilter50Hz = 0x01;
constexpr uint8_t kEventFilter60Hz = 0x02;
constexpr uint8_t kEventFilterMuscle = 0x04;
constexpr uint8_t kEventFilterBaseline = 0x08;
constexpr uint8_t kEventFilterMapShift = 4;

// What is known about an event: device, filters, time, sample layout.
struct SECGInfo {
  static constexpr size_t kDeviceTextSize = 256;

  char m_deviceText[kDeviceTextSize] = {};  // NUL-terminated
  uint8_t m_hardwareVersion = 0;            // tenths; 0 not given
  uint8_t m_softwareVersion = 0;            // tenths; 0 not given
  uint8_t m_filters = 0;                    // see the filter byte bits
  uint8_t m_device = kDeviceTypeNone | (kLeadConfigDefault << 4);
  uint8_t m_leadCount = 0;
  uint8_t m_bitsPerSample = 0;  // 8, 16 or 12 (0: not said)
  uint16_t m_year = 0;          // acquisition, local time
  uint8_t m_month = 0;
  uint8_t m_day = 0;
  uint8_t m_hour = 0;
  uint8_t m_minute = 0;
  uint8_t m_second = 0;
  uint8_t m_singleLeadIndex = kLeadIndexNotGiven;  // 12 for the single-lead formats
  uint8_t m_deviceSpecific = 0;                    // handheld blocks 2 and 3, carried as read
  uint8_t m_eventMark = 0;                         // handheld event block byte 5, carried as read
  uint16_t m_samplesPerLead = 0;
  uint16_t m_sampleInterval = 0;       // microseconds
  uint16_t m_amplitudeResolution = 0;  // nanovolts per sample unit
  uint8_t m_kept[8] = {};              // handheld block 3 bytes 20-27, carried as read
  uint32_t m_keptWord = 0;             // handheld block 3 bytes 28-31, carried as read

  uint8_t DeviceType() const { return static_cast<uint8_t>(m_device & 0x0F); }
  uint8_t LeadConfiguration() const { return static_cast<uint8_t>((m_device >> 4) & 0x03); }
  void SetDevice(uint8_t type, uint8_t lead_configuration, uint8_t top_bits = 0);
  // Copies text (at most `limit` characters, never past the buffer).
  void SetDeviceText(const char* text, size_t limit = kDeviceTextSize - 1);

  // Empty text, no versions, filters, time or counts; device type 15, lead
  // configuration 2, single-lead index 255.
  void Clear();
  void Set(const SECGInfo& other);
  // The handheld recorder's blocks (pellux_info.cpp).
  void Set(const SPelluxBlock2& block);
  void Set(const SPelluxBlock3& block);
  void Set(const SPelluxBlockExt& block);
  void Set(const SPelluxBlock20& block);
  void Set(const SPelluxBlock15& block);
  void Set(const SPelluxBlock16& block);
};

// One event: its leads and its metadata.
struct SEvent {
  SLeadObj m_leads;
  SECGInfo m_info;

  // `count` leads of the event's samples per lead (see SLeadObj::InitLeads).
  bool InitLeads(uint32_t count);
  // Frees the leads; the lead count and the samples per lead become 0.
  void KillLeads();
};
