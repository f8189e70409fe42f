// SECGInfo filled from the handheld recorder's information and event blocks.

#include <algorithm>
#include <cstdio>

#include "import/device_event.h"
#include "import/pellux_blocks.h"

namespace {

constexpr uint8_t kMap50Hz = kEventFilter50Hz << kEventFilterMapShift;
constexpr uint8_t kMap60Hz = kEventFilter60Hz << kEventFilterMapShift;

void SetSerialText(SECGInfo& info, uint32_t serial) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", static_cast<int>(serial));
  info.SetDeviceText(text);
}

// Bytes 0-13, shared by types 2 and 3.
void SetCommon(SECGInfo& info, const SPelluxBlock2& b) {
  info.m_sampleInterval = b.m_sampleInterval;
  info.m_hardwareVersion = b.m_hardwareVersion;
  info.m_softwareVersion = b.m_softwareVersion;
  // The mains frequency goes to the filter bit map; the writer filter nibble
  // stays empty.
  info.m_filters = (b.m_flags & 0x08) ? kMap60Hz : kMap50Hz;
  info.SetDevice(static_cast<uint8_t>(b.m_flags & 0x07), kLeadConfigDefault,
                 static_cast<uint8_t>((b.m_flags >> 4) & 0x03));
  info.m_day = FromBcd(b.m_day);
  info.m_month = FromBcd(b.m_month);
  info.m_year = FullYear(FromBcd(b.m_year));
  info.m_hour = FromBcd(b.m_hour);
  info.m_minute = FromBcd(b.m_minute);
  info.m_second = 0;
  info.m_singleLeadIndex =
      b.m_leadNumber == 0 ? kLeadIndexUnspecified : static_cast<uint8_t>(b.m_leadNumber - 1);
  info.m_bitsPerSample = 0;
  info.m_leadCount = 1;
}

}  // namespace

void SECGInfo::Set(const SPelluxBlock2& b) {
  SetCommon(*this, b);
  SetSerialText(*this, b.m_serialHigh * 256u + b.m_serialLow);
  m_deviceSpecific = b.m_deviceSpecific;
  m_samplesPerLead = b.m_samplesPerLead;
  // Sample units per millivolt to nanovolts per unit; a resolution byte of
  // 0 says nothing (the reader refuses such a block). Below 16 units per mV
  // the value passes the 16-bit field and is held at its largest.
  m_amplitudeResolution =
      b.m_resolution == 0 ? 0 : static_cast<uint16_t>(std::min(1000000u / b.m_resolution, 65535u));
}

void SECGInfo::Set(const SPelluxBlock3& b) {
  SetCommon(*this, b.m_common);
  SetSerialText(*this, b.m_serialHigh * 256u + b.m_common.m_serialLow);
  m_deviceSpecific = b.m_deviceSpecific;
  m_samplesPerLead = b.m_samplesPerLead2 != 0 ? b.m_samplesPerLead2 : b.m_samplesPerLead;
  if (b.m_sampleInterval != 0) m_sampleInterval = b.m_sampleInterval;
  SetDevice(DeviceType(), static_cast<uint8_t>(b.m_leads & 0x01),
            static_cast<uint8_t>(m_device >> 6));
  m_leadCount = b.LeadCount();
  std::copy_n(b.m_kept, sizeof m_kept, m_kept);
  m_keptWord = static_cast<uint32_t>(b.m_kept[8]) | (static_cast<uint32_t>(b.m_kept[9]) << 8) |
               (static_cast<uint32_t>(b.m_kept[10]) << 16) |
               (static_cast<uint32_t>(b.m_kept[11]) << 24);
  m_amplitudeResolution = 0;  // only an extension block gives it
}

void SECGInfo::Set(const SPelluxBlockExt& b) {
  SetSerialText(*this, b.m_serialHigh * 256u + b.m_serialLow);
  m_hardwareVersion = b.m_hardwareVersion;
  m_softwareVersion = b.m_softwareVersion;
  m_amplitudeResolution = b.m_amplitudeResolution;
}

void SECGInfo::Set(const SPelluxBlock20& b) {
  uint8_t filters = 0;
  if (b.m_filters & 0x02) {
    filters = kMap50Hz;
  } else if (b.m_filters & 0x08) {
    filters = kEventFilter50Hz;
  } else if (b.m_filters & 0x01) {
    filters = kMap60Hz;
  } else if (b.m_filters & 0x04) {
    filters = kEventFilter60Hz;
  }
  if (b.m_filters & 0x10) filters |= kEventFilterMuscle;
  if (b.m_filters & 0x20) filters |= kEventFilterBaseline;
  m_filters = filters;
  m_sampleInterval = b.m_sampleInterval;
  m_amplitudeResolution = b.m_amplitudeResolution;
  SetDeviceText(b.m_deviceText, 254);
  m_hardwareVersion = b.m_hardwareVersion;
  m_softwareVersion = b.m_softwareVersion;
  m_day = b.m_day;
  m_month = b.m_month;
  m_year = b.m_year;
  m_hour = b.m_hour;
  m_minute = b.m_minute;
  m_second = b.m_second;
  m_samplesPerLead = b.m_samplesPerLead;
  m_singleLeadIndex = b.m_singleLeadIndex;
  m_leadCount = b.m_leadCount;
  SetDevice(3, kLeadConfigSimultaneous);
  m_bitsPerSample = 12;
}

void SECGInfo::Set(const SPelluxBlock15& b) {
  SetSerialText(*this, b.m_serial);
  m_hardwareVersion = b.m_hardwareVersion;
  m_softwareVersion = b.m_softwareVersion;
  m_filters = b.m_mains == 1 ? kMap50Hz : b.m_mains == 2 ? kMap60Hz : 0;
  m_amplitudeResolution = b.m_amplitudeResolution;
  m_sampleInterval = b.m_sampleInterval;
  m_bitsPerSample = b.m_bitsPerSample;
  m_leadCount = b.m_leadCount;
  SetDevice(2, kLeadConfigSimultaneous);
  m_singleLeadIndex = kLeadIndexNotGiven;
}

void SECGInfo::Set(const SPelluxBlock16& b) {
  m_samplesPerLead = b.m_samplesPerLead;
  m_eventMark = b.m_mark;
  m_day = b.m_day;
  m_month = b.m_month;
  m_year = FullYear(b.m_year);
  m_hour = b.m_hour;
  m_minute = b.m_minute;
}
