#pragma once
// CFileComms: replays a demo file as if it were a cable. The cable thread
// reads the six handshake records through ReadRecordLength/ReadRecordText,
// then StartReplay loads the frames (into memory when they fit, else read
// from the file) and starts the pacing thread, which sets the tick event
// every frames-per-tick / rate seconds on an absolute monotonic schedule.
// When the pacing thread cannot run, WaitTick paces by sleeping.

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "acquisition/serial_comms.h"
#include "acquisition/sync_event.h"
#include "platform/byte_stream.h"

class CFileComms {
 public:
  static constexpr uint32_t kMaxRecordText = 128;

  CFileComms() = default;
  ~CFileComms();
  CFileComms(const CFileComms&) = delete;
  CFileComms& operator=(const CFileComms&) = delete;

  // Opens the file and reads the header length H; false (file closed) when
  // it cannot be opened or holds fewer than 4 bytes.
  bool Open(const std::string& path);
  // The same over any byte stream (tests, fuzzing).
  bool Open(std::unique_ptr<ecg::platform::ByteStream> stream);
  void Close();
  bool IsOpen() const { return m_file != nullptr; }

  // Handshake reads: min(size, 4) bytes, and min(length, 128) bytes; each
  // true only when exactly that many were read.
  bool ReadRecordLength(void* buffer, uint32_t size);
  bool ReadRecordText(char* buffer, uint32_t length);

  void SetChannels(uint32_t channels) { m_channels = channels; }
  void SetRate(double rate) { m_rate = rate; }
  void SetLoop(bool loop) { m_loop = loop; }
  // Test hook: paces by sleeping from the start, as when no timer exists.
  void SetTimerAllowed(bool allowed) { m_timerAllowed = allowed; }

  // Reads the data length D at the current position and the frames from
  // H; starts the pacing. False when D is not a multiple of 13 or the
  // length cannot be read.
  bool StartReplay(uint32_t frames_per_tick);
  // The next frame's bytes (13, or fewer at the end of a non-looping file
  // read from disk); 0 when nothing is left or the read failed.
  uint32_t ReadFrameBytes(uint8_t* buffer);
  bool ReadOneByte(uint8_t* buffer);
  // Waits for the next tick.
  void WaitTick();
  bool IsEnded() const { return m_ended; }
  void StopReplay();

  void SetErrorCallback(ecg::acquisition::ErrorCallback callback, void* context) {
    m_callback = callback;
    m_context = context;
  }

  bool TimerActive() const { return m_timerActive; }
  double TickPeriodMs() const { return m_tickPeriod; }
  uint32_t DataLength() const { return m_dataLength; }

 private:
  uint32_t ReadBytes(uint8_t* buffer, uint32_t count);
  void StartTimer(uint32_t frames_per_tick);
  void StopTimer();
  void ReportReadFailure();

  uint32_t m_dataStart = 0;
  uint32_t m_dataLength = 0;
  uint32_t m_position = 0;
  std::unique_ptr<uint8_t[]> m_data;
  double m_rate = 1.0;
  bool m_loop = true;
  bool m_ended = false;
  uint32_t m_channels = 8;
  ecg::acquisition::ErrorCallback m_callback = nullptr;
  void* m_context = nullptr;
  bool m_timerAllowed = true;
  bool m_timerActive = true;
  ecg::acquisition::SyncEvent m_tick{false};
  std::thread m_timer;
  std::atomic<bool> m_timerStop{false};
  uint64_t m_paceStartNs = 0;
  uint32_t m_tickCount = 0;
  double m_tickPeriod = 0;  // ms
  std::unique_ptr<ecg::platform::ByteStream> m_file;
};
