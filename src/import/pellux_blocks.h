#pragma once
// The fixed parts of the handheld recorder's information and event blocks,
// decoded from their little-endian bytes. Every block starts with a u16 body
// length and a u8 type; these are the bodies.

#include <cstddef>
#include <cstdint>

// Block types.
constexpr uint8_t kPelluxInfo2 = 2;
constexpr uint8_t kPelluxInfo3 = 3;
constexpr uint8_t kPelluxInfo20 = 20;
constexpr uint8_t kPelluxInfo30 = 30;
constexpr uint8_t kPelluxEvent31 = 31;
constexpr uint8_t kPelluxLead6 = 6;    // 8-bit samples, the event's single lead
constexpr uint8_t kPelluxLead7 = 7;    // 8-bit samples, lead number first
constexpr uint8_t kPelluxLead10 = 10;  // 12-bit pairs, the event's single lead
constexpr uint8_t kPelluxLead11 = 11;  // 12-bit pairs, lead number first
constexpr uint8_t kPelluxLead21 = 21;  // single-lead frames
constexpr uint8_t kPelluxLead22 = 22;  // I and II
constexpr uint8_t kPelluxLead23 = 23;  // I, II, V1-V6

// Type 2: a single-lead recorder.
struct SPelluxBlock2 {
  static constexpr size_t kSize = 18;
  uint16_t m_sampleInterval = 0;  // microseconds
  uint16_t m_serialLow = 0;
  uint8_t m_hardwareVersion = 0;  // tenths
  uint8_t m_softwareVersion = 0;
  uint8_t m_flags = 0;       // bits 0-2 device type, bit 3 60 Hz, bits 4-5 kept
  uint8_t m_day = 0;         // BCD
  uint8_t m_month = 0;       // BCD
  uint8_t m_year = 0;        // BCD, two digits
  uint8_t m_hour = 0;        // BCD
  uint8_t m_minute = 0;      // BCD
  uint8_t m_leadNumber = 0;  // 1-based; 0 unspecified
  uint8_t m_resolution = 0;  // sample units per millivolt
  uint8_t m_deviceSpecific = 0;
  uint16_t m_samplesPerLead = 0;
  uint8_t m_serialHigh = 0;

  static SPelluxBlock2 Decode(const uint8_t* body);
};

// Extension after a type 2 (body >= 25 bytes) or type 3 (body >= 42) block.
struct SPelluxBlockExt {
  static constexpr size_t kSize = 7;
  uint16_t m_serialLow = 0;
  uint8_t m_serialHigh = 0;
  uint8_t m_hardwareVersion = 0;
  uint8_t m_softwareVersion = 0;
  uint16_t m_amplitudeResolution = 0;  // nanovolts

  static SPelluxBlockExt Decode(const uint8_t* body);
};

// Type 3: a multi-lead recorder.
struct SPelluxBlock3 {
  static constexpr size_t kSize = 35;
  SPelluxBlock2 m_common;          // bytes 0-13 as type 2 (14-17 below)
  uint8_t m_deviceSpecific = 0;    // 14
  uint16_t m_samplesPerLead = 0;   // 15
  uint16_t m_sampleInterval = 0;   // 17, replaces byte 0's when not 0
  uint8_t m_leads = 0;             // 19: bit 0 lead configuration, bits 1-4 lead count
  uint8_t m_kept[12] = {};         // 20-31
  uint16_t m_samplesPerLead2 = 0;  // 32, replaces byte 15's when not 0
  uint8_t m_serialHigh = 0;        // 34

  uint8_t LeadCount() const { return static_cast<uint8_t>((m_leads >> 1) & 0x0F); }
  static SPelluxBlock3 Decode(const uint8_t* body);
};

// Type 20: a recording of this system's own window.
struct SPelluxBlock20 {
  static constexpr size_t kSize = 281;
  static constexpr size_t kTextSize = 256;
  uint8_t m_filters = 0;
  uint16_t m_sampleInterval = 0;
  uint16_t m_amplitudeResolution = 0;
  char m_deviceText[kTextSize] = {};  // not necessarily terminated
  uint8_t m_hardwareVersion = 0;
  uint8_t m_softwareVersion = 0;
  uint8_t m_day = 0;
  uint8_t m_month = 0;
  uint16_t m_year = 0;  // full year
  uint8_t m_hour = 0;
  uint8_t m_minute = 0;
  uint8_t m_second = 0;
  uint16_t m_samplesPerLead = 0;
  uint8_t m_singleLeadIndex = 0;
  uint8_t m_leadCount = 0;

  static SPelluxBlock20 Decode(const uint8_t* body);
};

// Type 30: a recorder of several events (block type 31 before each).
struct SPelluxBlock15 {
  static constexpr size_t kSize = 14;
  uint16_t m_serial = 0;  // stored high byte first
  uint8_t m_hardwareVersion = 0;
  uint8_t m_softwareVersion = 0;
  uint8_t m_mains = 0;                 // 1 50 Hz, 2 60 Hz, other none
  uint16_t m_amplitudeResolution = 0;  // nanovolts
  uint16_t m_sampleInterval = 0;       // microseconds
  uint8_t m_bitsPerSample = 0;
  uint8_t m_leadCount = 0;
  uint8_t m_eventCount = 0;  // 0 means 1

  static SPelluxBlock15 Decode(const uint8_t* body);
};

// Type 31: the start of an event.
struct SPelluxBlock16 {
  static constexpr size_t kSize = 15;
  uint16_t m_samplesPerLead = 0;
  uint8_t m_mark = 0;  // byte 5, never 0 in a valid block
  uint8_t m_day = 0;
  uint8_t m_month = 0;
  uint8_t m_year = 0;  // two digits
  uint8_t m_hour = 0;
  uint8_t m_minute = 0;

  static SPelluxBlock16 Decode(const uint8_t* body);
};

// A two-digit year: below 80 means 20xx, the others 19xx.
uint16_t FullYear(uint32_t two_digits);
// Two decimal digits in one byte.
uint8_t FromBcd(uint8_t bcd);
