#pragma once
// Wall-clock and monotonic time.

#include <cstdint>

namespace ecg::platform {

// Calendar time in the shape the record and the hosts use.
struct SystemTime {
  uint16_t year = 0;
  uint16_t month = 0;
  uint16_t day_of_week = 0;  // 0 = Sunday
  uint16_t day = 0;
  uint16_t hour = 0;
  uint16_t minute = 0;
  uint16_t second = 0;
  uint16_t milliseconds = 0;
};

SystemTime LocalTimeNow();
// Milliseconds of a monotonic clock, for intervals.
uint64_t MonotonicMilliseconds();

}  // namespace ecg::platform
