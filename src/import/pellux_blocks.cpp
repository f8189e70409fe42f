#include "import/pellux_blocks.h"

#include <cstring>

#include "scp/little_endian.h"

using ecg::scp::LoadU16;

SPelluxBlock2 SPelluxBlock2::Decode(const uint8_t* b) {
  SPelluxBlock2 out;
  out.m_sampleInterval = LoadU16(b);
  out.m_serialLow = LoadU16(b + 2);
  out.m_hardwareVersion = b[4];
  out.m_softwareVersion = b[5];
  out.m_flags = b[6];
  out.m_day = b[7];
  out.m_month = b[8];
  out.m_year = b[9];
  out.m_hour = b[10];
  out.m_minute = b[11];
  out.m_leadNumber = b[12];
  out.m_resolution = b[13];
  out.m_deviceSpecific = b[14];
  out.m_samplesPerLead = LoadU16(b + 15);
  out.m_serialHigh = b[17];
  return out;
}

SPelluxBlockExt SPelluxBlockExt::Decode(const uint8_t* b) {
  SPelluxBlockExt out;
  out.m_serialLow = LoadU16(b);
  out.m_serialHigh = b[2];
  out.m_hardwareVersion = b[3];
  out.m_softwareVersion = b[4];
  out.m_amplitudeResolution = LoadU16(b + 5);
  return out;
}

SPelluxBlock3 SPelluxBlock3::Decode(const uint8_t* b) {
  SPelluxBlock3 out;
  out.m_common = SPelluxBlock2::Decode(b);  // its bytes 14-17 mean other things here
  out.m_common.m_deviceSpecific = 0;
  out.m_common.m_samplesPerLead = 0;
  out.m_common.m_serialHigh = 0;
  out.m_deviceSpecific = b[14];
  out.m_samplesPerLead = LoadU16(b + 15);
  out.m_sampleInterval = LoadU16(b + 17);
  out.m_leads = b[19];
  std::memcpy(out.m_kept, b + 20, sizeof out.m_kept);
  out.m_samplesPerLead2 = LoadU16(b + 32);
  out.m_serialHigh = b[34];
  return out;
}

SPelluxBlock20 SPelluxBlock20::Decode(const uint8_t* b) {
  SPelluxBlock20 out;
  out.m_filters = b[0];
  out.m_sampleInterval = LoadU16(b + 1);
  out.m_amplitudeResolution = LoadU16(b + 3);
  std::memcpy(out.m_deviceText, b + 5, kTextSize);
  out.m_hardwareVersion = b[261];
  out.m_softwareVersion = b[262];
  out.m_day = b[263];
  out.m_month = b[264];
  out.m_year = LoadU16(b + 265);
  out.m_hour = b[267];
  out.m_minute = b[268];
  out.m_second = b[269];
  out.m_samplesPerLead = LoadU16(b + 275);
  out.m_singleLeadIndex = b[279];
  out.m_leadCount = b[280];
  return out;
}

SPelluxBlock15 SPelluxBlock15::Decode(const uint8_t* b) {
  SPelluxBlock15 out;
  out.m_serial = static_cast<uint16_t>((b[0] << 8) | b[1]);
  out.m_hardwareVersion = b[3];
  out.m_softwareVersion = b[4];
  out.m_mains = b[6];
  out.m_amplitudeResolution = LoadU16(b + 7);
  out.m_sampleInterval = LoadU16(b + 9);
  out.m_bitsPerSample = b[11];
  out.m_leadCount = b[12];
  out.m_eventCount = b[13];
  return out;
}

SPelluxBlock16 SPelluxBlock16::Decode(const uint8_t* b) {
  SPelluxBlock16 out;
  out.m_samplesPerLead = LoadU16(b + 1);
  out.m_mark = b[5];
  out.m_day = b[10];
  out.m_month = b[11];
  out.m_year = b[12];
  out.m_hour = b[13];
  out.m_minute = b[14];
  return out;
}

uint16_t FullYear(uint32_t two_digits) {
  return static_cast<uint16_t>(two_digits < 80 ? 2000 + two_digits : 1900 + two_digits);
}

uint8_t FromBcd(uint8_t bcd) { return static_cast<uint8_t>((bcd >> 4) * 10 + (bcd & 0x0F)); }
