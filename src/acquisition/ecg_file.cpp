#include "acquisition/ecg_file.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "acquisition/cable_frame.h"
#include "acquisition/cable_settings.h"
#include "acquisition/ecg_settings.h"
#include "dsp/filter_settings.h"
#include "platform/last_error.h"

using ecg::platform::ByteStream;
using ecg::platform::Fail;
using ecg::platform::SystemTime;

namespace {

constexpr int64_t kTicksPerSecond = 10'000'000;  // 100-ns units

// Days since 1970-01-01 of a proleptic Gregorian date.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int* y, unsigned* m, unsigned* d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  *d = doy - (153 * mp + 2) / 5 + 1;
  *m = mp < 10 ? mp + 3 : mp - 9;
  *y = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (*m <= 2));
}

int64_t ToTicks(const SystemTime& t) {
  const int64_t days = DaysFromCivil(t.year, t.month, t.day);
  const int64_t seconds = days * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
  return seconds * kTicksPerSecond + int64_t{t.milliseconds} * 10'000;
}

SystemTime FromTicks(int64_t ticks) {
  int64_t seconds = ticks / kTicksPerSecond;
  int64_t rest = ticks % kTicksPerSecond;
  if (rest < 0) {
    rest += kTicksPerSecond;
    --seconds;
  }
  int64_t days = seconds / 86400;
  int64_t in_day = seconds % 86400;
  if (in_day < 0) {
    in_day += 86400;
    --days;
  }
  int y = 0;
  unsigned m = 0, d = 0;
  CivilFromDays(days, &y, &m, &d);
  SystemTime t;
  t.year = static_cast<uint16_t>(y);
  t.month = static_cast<uint16_t>(m);
  t.day = static_cast<uint16_t>(d);
  t.day_of_week = static_cast<uint16_t>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
  t.hour = static_cast<uint16_t>(in_day / 3600);
  t.minute = static_cast<uint16_t>(in_day / 60 % 60);
  t.second = static_cast<uint16_t>(in_day % 60);
  t.milliseconds = static_cast<uint16_t>(rest / 10'000);
  return t;
}

void PutU16(uint8_t* at, uint32_t v) {
  at[0] = static_cast<uint8_t>(v);
  at[1] = static_cast<uint8_t>(v >> 8);
}

uint32_t Truncate(double v, uint32_t max) {
  if (!(v > 0)) return 0;
  return v >= max ? max : static_cast<uint32_t>(v);
}

}  // namespace

uint8_t CECGFile::FilterFlags(const CFilterSettings& filters) {
  uint8_t flags = 0;
  if (filters.Power()) flags |= filters.MainsFrequency() == 60 ? 4 : 8;
  if (filters.Muscle()) flags |= 16;
  if (filters.Baseline()) flags |= 32;
  return flags;
}

SystemTime CECGFile::FirstSampleTime(const SystemTime& end, uint32_t frames, double rate) {
  const int64_t period = rate > 0 ? static_cast<int64_t>(std::ceil(kTicksPerSecond / rate)) : 0;
  return FromTicks(ToTicks(end) - int64_t{frames} * period);
}

bool CECGFile::Write(ByteStream& out, CCircularBuffer& ring, const CCableSettings& cable,
                     const CECGSettings& ecg, const CDisplaySettings& display,
                     const CFilterSettings& filters) {
  const uint32_t unread = ring.Size();
  if (m_offset > unread) return Fail(ecg::platform::kErrorInvalidParameter);
  const uint32_t all_frames = (unread - m_offset) / 13;
  const uint32_t frames = std::min(all_frames, kMaxFrames);
  const SystemTime first = FirstSampleTime(m_endTime, all_frames, ecg.GetSamplingRate());

  std::vector<uint8_t> head(1 + 3 + kInfoLength + 3, 0);
  head[0] = 2;
  PutU16(&head[1], kInfoLength);
  head[3] = kInfoType;
  uint8_t* info = &head[4];
  info[0] = FilterFlags(filters);
  const double rate = ecg.GetSamplingRate();
  PutU16(info + 1, rate > 0 ? Truncate(1'000'000.0 / rate, 0xFFFF) : 0);
  PutU16(info + 3, Truncate(ecg.GetResolution() * 1000.0, 0xFFFF));
  std::memcpy(info + 5, cable.m_serialNumber, CCableSettings::kTextSize - 1);
  info[5 + 255] = 0;
  info[261] = static_cast<uint8_t>(cable.m_hardwareVersion);
  info[262] = static_cast<uint8_t>(cable.m_softwareVersion);
  info[263] = static_cast<uint8_t>(first.day);
  info[264] = static_cast<uint8_t>(first.month);
  PutU16(info + 265, first.year);
  info[267] = static_cast<uint8_t>(first.hour);
  info[268] = static_cast<uint8_t>(first.minute);
  info[269] = static_cast<uint8_t>(first.second);
  info[270] = static_cast<uint8_t>(display.LeadsPerGroup());
  info[271] = static_cast<uint8_t>(display.LeadGroup());
  info[272] = static_cast<uint8_t>(Truncate(ecg.GetGain() * 1000.0 + 1e-9, 255));
  PutU16(info + 273, Truncate(ecg.GetSpeed() * 10.0 + 1e-9, 0xFFFF));
  PutU16(info + 275, frames);
  info[280] = 8;
  uint8_t* data_head = &head[4 + kInfoLength];
  PutU16(data_head, frames * 13);
  data_head[2] = kFramesType;
  if (!out.Write(head.data(), head.size())) return false;

  if (frames > 0 && !ring.SetPeekOffset(m_offset)) return Fail(ecg::platform::kErrorInvalidData);
  constexpr uint32_t kBlockFrames = 256;
  std::vector<uint8_t> block(kBlockFrames * 13);
  uint32_t filled = 0;
  for (uint32_t f = 0; f < frames; ++f) {
    if (!ring.Read(block.data() + filled * 13, 13)) return Fail(ecg::platform::kErrorInvalidData);
    if (++filled == kBlockFrames) {
      if (!out.Write(block.data(), block.size())) return false;
      filled = 0;
    }
  }
  if (filled > 0 && !out.Write(block.data(), filled * 13)) return false;
  return out.Flush();
}

bool CECGFile::WriteFile(const std::string& path, CCircularBuffer& ring,
                         const CCableSettings& cable, const CECGSettings& ecg,
                         const CDisplaySettings& display, const CFilterSettings& filters) {
  ecg::platform::MemoryStream memory;
  if (!Write(memory, ring, cable, ecg, display, filters)) return false;
  return ecg::platform::ReplaceFileContents(path, memory.bytes());
}
