#pragma once
// CSerialComms: the cable's serial port over termios (raw 115200 8N1) with
// its own receive thread, which polls the port and appends what arrives to
// the receive ring; the cable thread takes from that ring. Writes go out one
// character at a time. Faults go to the error callback:
//   source 0 (write path): 1 port not open, 2 write failed, 3 write result
//     failed, 4 incomplete write, 5 write time-out (1 s), 6 wait failed;
//   source 1 (receive path): 21 line errors (flags as detail: 0x0010
//     break, 0x0008 framing, 0x0400 I/O error / hang-up, 0x0002 overrun,
//     0x0001 input overflow, 0x0004 parity), 22 text ring full, 23 receive
//     ring full, 24 the port could not be watched, 25 read failed, 26 read
//     result failed, 27 short read, 28 no data for 500 ms, 29 wait failed,
//     41 line-state query failed, 42 line-state result failed.
// A true answer aborts; without a callback codes 1-6, 23 and 24 abort.

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "acquisition/circular_buffer.h"
#include "acquisition/sync_event.h"

namespace ecg::acquisition {
// (context, source, code, detail) -> abort?
using ErrorCallback = bool (*)(void* context, int source, int code, uint32_t detail);
}  // namespace ecg::acquisition

class CSerialComms {
 public:
  enum : int { kSourceOutput = 0, kSourceInput = 1, kSourceReplay = 2 };

  CSerialComms();
  ~CSerialComms();
  CSerialComms(const CSerialComms&) = delete;
  CSerialComms& operator=(const CSerialComms&) = delete;

  bool Open(const std::string& port_name, uint32_t baud, bool start_reader);
  bool StartReader();
  void StopReader();
  void Close();
  bool IsOpen() const { return m_fd >= 0; }
  bool IsReaderRunning() const { return m_running.load(); }

  void SetRawMode(bool raw);
  void SetReadChunk(uint32_t bytes) { m_readChunk = bytes == 0 ? 1 : bytes; }
  void Flush();
  bool AllocateReceive(uint32_t size) { return m_receive.Allocate(size); }
  bool AllocateText(uint32_t size) { return m_text.Allocate(size); }

  // The echoed command exchange: each character is written, then its echo
  // awaited (echo_limit polls of 1 ms), up to 3 attempts per character.
  bool SendCommand(const char* text, size_t length, int echo_limit);
  // Reads a reply line into `buffer` (zero-terminated) until it ends with
  // `terminator` (case aside); fails after idle_limit empty polls of 1 ms or
  // when size - 1 characters arrive without it.
  bool ReadResponse(char* buffer, const char* terminator, size_t size, int idle_limit);
  // Writes bytes one by one with a 5 ms pause after each, without echo check.
  bool WriteRaw(const uint8_t* bytes, size_t length);
  bool ReadBytes(uint8_t* buffer, uint32_t count) { return m_receive.Take(buffer, count); }
  bool ReadByte(uint8_t* buffer) { return m_receive.Take(buffer, 1); }
  uint32_t BytesWaiting() { return m_receive.Size(); }
  // Drops DTR and RTS (the cable sees the host go away).
  void DropControlLines();

  void SetErrorCallback(ecg::acquisition::ErrorCallback callback, void* context);
  // Signalled whenever bytes were appended to the receive ring.
  ecg::acquisition::SyncEvent& DataReceived() { return m_dataReceived; }
  CCircularBuffer& ReceiveRing() { return m_receive; }

 private:
  void ReceiveLoop();
  bool Fault(int source, int code, uint32_t detail);
  bool WriteChar(uint8_t c);
  void StoreBytes(const uint8_t* bytes, size_t n, bool* abort);

  std::atomic<bool> m_stop{false};
  ecg::acquisition::SyncEvent m_started{false};
  ecg::acquisition::SyncEvent m_exited{true};
  std::atomic<bool> m_running{false};
  uint32_t m_readChunk = 512;
  ecg::acquisition::SyncEvent m_dataReceived{false};
  std::atomic<ecg::acquisition::ErrorCallback> m_callback{nullptr};
  std::atomic<void*> m_callbackContext{nullptr};
  bool m_raw = false;
  bool m_escape = false;
  CCircularBuffer m_receive{true, false};
  CCircularBuffer m_text{true, false};
  int m_fd = -1;
  int m_wakeFd = -1;  // eventfd that ends the receive thread's poll
  std::thread m_thread;
  std::atomic<int> m_exitCode{0};
};
