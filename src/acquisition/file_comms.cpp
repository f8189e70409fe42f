#include "acquisition/file_comms.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <new>
#include <time.h>

#include "platform/last_error.h"

namespace {

uint64_t NowNs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint64_t>(ts.tv_sec) * 1'000'000'000u + static_cast<uint64_t>(ts.tv_nsec);
}

void SleepUntilNs(uint64_t at) {
  timespec ts{static_cast<time_t>(at / 1'000'000'000u), static_cast<long>(at % 1'000'000'000u)};
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
  }
}

}  // namespace

CFileComms::~CFileComms() {
  StopReplay();
  Close();
}

bool CFileComms::Open(const std::string& path) {
  auto file = ecg::platform::PosixFile::Open(path, ecg::platform::FileMode::kRead);
  if (!file) return false;
  return Open(std::move(file));
}

bool CFileComms::Open(std::unique_ptr<ecg::platform::ByteStream> stream) {
  Close();
  if (!stream) return false;
  uint8_t h[4];
  if (!ecg::platform::ReadExact(*stream, h, 4)) return false;
  m_dataStart = static_cast<uint32_t>(h[0] | h[1] << 8 | h[2] << 16) | static_cast<uint32_t>(h[3]) << 24;
  m_file = std::move(stream);
  return true;
}

void CFileComms::Close() { m_file.reset(); }

bool CFileComms::ReadRecordLength(void* buffer, uint32_t size) {
  if (!m_file || buffer == nullptr) return false;
  const uint32_t n = std::min<uint32_t>(size, 4);
  size_t got = 0;
  return m_file->Read(buffer, n, &got) && got == n;
}

bool CFileComms::ReadRecordText(char* buffer, uint32_t length) {
  if (!m_file || buffer == nullptr) return false;
  const uint32_t n = std::min(length, kMaxRecordText);
  size_t got = 0;
  return m_file->Read(buffer, n, &got) && got == n;
}

bool CFileComms::StartReplay(uint32_t frames_per_tick) {
  if (!m_file) return false;
  m_ended = false;
  m_position = 0;
  StartTimer(frames_per_tick);
  uint8_t d[4];
  if (!ecg::platform::ReadExact(*m_file, d, 4)) return false;
  m_dataLength = static_cast<uint32_t>(d[0] | d[1] << 8 | d[2] << 16) | static_cast<uint32_t>(d[3]) << 24;
  if (m_dataLength % 13 != 0) return false;
  m_data.reset();
  // The copy is only attempted for bytes the file really holds, so a false
  // length never causes a large allocation.
  uint64_t size = 0;
  const bool fits = m_file->Size(&size) && uint64_t{m_dataStart} + m_dataLength <= size;
  if (fits && m_dataLength > 0) m_data.reset(new (std::nothrow) uint8_t[m_dataLength]);
  if (!m_file->Seek(m_dataStart)) return false;
  if (m_data && !ecg::platform::ReadExact(*m_file, m_data.get(), m_dataLength)) {
    m_data.reset();
    if (!m_file->Seek(m_dataStart)) return false;
  }
  return true;
}

void CFileComms::ReportReadFailure() {
  const uint32_t code = ecg::platform::GetLastError();
  if (m_callback != nullptr) m_callback(m_context, CSerialComms::kSourceReplay, 25, code);
}

uint32_t CFileComms::ReadBytes(uint8_t* buffer, uint32_t count) {
  if (m_ended || buffer == nullptr) return 0;
  if (m_data) {
    if (m_dataLength == 0) {
      m_ended = true;
      return 0;
    }
    uint32_t done = 0;
    while (done < count) {
      const uint32_t n = std::min(count - done, m_dataLength - m_position);
      std::copy_n(m_data.get() + m_position, n, buffer + done);
      done += n;
      m_position += n;
      if (m_position == m_dataLength) {
        if (!m_loop) {
          m_ended = true;
          break;
        }
        m_position = 0;
      }
    }
    return done;
  }
  if (!m_file) return 0;
  uint32_t done = 0;
  bool rewound = false;
  while (done < count) {
    size_t got = 0;
    if (!m_file->Read(buffer + done, count - done, &got)) {
      ReportReadFailure();
      return 0;
    }
    done += static_cast<uint32_t>(got);
    if (done == count) break;
    // End of the file (or of the stated data).
    if (!m_loop || rewound) {
      m_ended = true;
      break;
    }
    rewound = true;  // an empty data block must not loop for ever
    if (!m_file->Seek(m_dataStart)) {
      ReportReadFailure();
      return 0;
    }
  }
  return done;
}

uint32_t CFileComms::ReadFrameBytes(uint8_t* buffer) { return ReadBytes(buffer, 13); }

bool CFileComms::ReadOneByte(uint8_t* buffer) { return ReadBytes(buffer, 1) == 1; }

void CFileComms::StartTimer(uint32_t frames_per_tick) {
  StopTimer();
  m_tickPeriod = m_rate > 0 ? frames_per_tick / m_rate * 1000.0 : 0;
  m_paceStartNs = NowNs();
  m_tickCount = 0;
  m_tick.Reset();
  const double period_ms = std::floor(m_tickPeriod);
  m_timerActive = false;
  if (!m_timerAllowed || !(period_ms >= 1.0) || period_ms > 60'000.0) return;
  const uint64_t period_ns = static_cast<uint64_t>(period_ms) * 1'000'000u;
  m_timerStop = false;
  try {
    m_timer = std::thread([this, period_ns] {
      uint64_t next = NowNs() + period_ns;
      while (!m_timerStop.load()) {
        SleepUntilNs(next);
        if (m_timerStop.load()) break;
        m_tick.Set();
        next += period_ns;
      }
    });
    m_timerActive = true;
  } catch (...) {
    m_timerActive = false;
  }
}

void CFileComms::StopTimer() {
  m_timerStop = true;
  if (m_timer.joinable()) m_timer.join();
}

void CFileComms::WaitTick() {
  if (m_timerActive) {
    if (m_tick.Wait(std::chrono::milliseconds(250))) return;
    // The timer has stopped ticking: pace by sleeping from now on.
    m_timerActive = false;
    m_paceStartNs = NowNs();
    m_tickCount = 0;
  }
  ++m_tickCount;
  const uint64_t due = m_paceStartNs + static_cast<uint64_t>(m_tickCount * m_tickPeriod * 1e6);
  const uint64_t now = NowNs();
  if (now < due) {
    const uint64_t ms = (due - now) / 1'000'000u;
    if (ms > 0) SleepUntilNs(now + ms * 1'000'000u);
  }
  if (m_tickCount >= 10) {
    m_paceStartNs = NowNs();
    m_tickCount = 0;
  }
}

void CFileComms::StopReplay() {
  StopTimer();
  m_timerActive = false;
  m_data.reset();
}
