#pragma once
// CCableThread: connects to the ECG cable (or replays a demo file through
// the same handshake), identifies and configures it, then assembles checked
// 13-byte frames into the recording ring until stopped. Progress, the final
// result and each batch of frames reach the owner through callbacks that run
// on this thread.
//
// Progress codes (status kind 1): 5 opening, 1 opened, 2 sending ENQ,
// 3 cable found, 4 lead count not 12 (using 12), 0 receiving.
// Result codes (status kind 2 and the exit code): 0 connected and received
// until stopped; -1 no owner; -2 port/file not opened or receive thread not
// started; -3 ENQ; -4 SERNUM; -5 ID; -6 RES; -10 SRATE (settings lock);
// -7 ECG ALL; -8 DATA (replay: last record or timer); -9 cancel not sent;
// -14 end of a non-looping replay.

#include <cstdint>
#include <mutex>
#include <string>

#include "acquisition/cable_settings.h"
#include "acquisition/circular_buffer.h"
#include "acquisition/ecg_settings.h"
#include "acquisition/file_comms.h"
#include "acquisition/frame_assembler.h"
#include "acquisition/serial_comms.h"
#include "acquisition/thread_base.h"

class CCableThread : public CThreadBase {
 public:
  enum Notify : int { kNotifyReady = 0, kNotifyUpdate = 1, kNotifyExit = 2 };
  enum StatusKind : int { kStatusProgress = 1, kStatusResult = 2 };
  static constexpr double kDefaultRate = 496.55172413795;

  using NotifyCallback = void (*)(void* owner, int event);
  using StatusCallback = void (*)(void* owner, int kind, int code);

  CCableThread() = default;
  ~CCableThread() override;

  void SetCallbacks(NotifyCallback notify, StatusCallback status,
                    ecg::acquisition::ErrorCallback error, void* error_context);
  void SetDataBuffer(CCircularBuffer* ring, std::timed_mutex* lock);
  void SetSettings(CCableSettings* cable, CECGSettings* ecg);
  bool Allocate(uint32_t receive_size, uint32_t text_size);
  bool IsConnected() const { return m_connected.load(); }

  bool InitInstance() override { return true; }
  void ExitInstance() override;
  int Run() override;

  // Frames appended to the ring in this run, and bytes dropped while
  // regaining framing.
  uint64_t FramesReceived() const { return m_framesTotal.load(); }
  uint64_t BytesDropped() const { return m_bytesDropped.load(); }
  bool UsbIdentified() const { return m_usbIdentified; }
  CSerialComms& Serial() { return m_serial; }
  CFileComms& Replay() { return m_replay; }

  // The command routines (serial), each true on success.
  bool RequestEnq();
  bool RequestSerialNumber();
  bool RequestId();
  bool RequestResolution();
  bool RequestSamplingRate();
  bool SelectAllLeads();
  bool RequestData();

 private:
  int ConnectSerial();
  int ConnectReplay();
  void ReceiveSerialData();
  int ReceiveReplayData();
  void CloseSource();
  bool Command(const char* text, int echo_limit, char* reply, size_t reply_size);
  bool SettingsLock();
  void SettingsUnlock() { m_lock->unlock(); }
  void Status(int kind, int code);
  void NotifyOwner(int event);
  bool AppendFrame(const uint8_t* frame);
  bool ReadReplayRecord(std::string* text);
  bool SleepUnlessStopped(int ms);
  void ParseVersions(const std::string& reply);

  void* m_errorContext = nullptr;
  bool m_usbIdentified = false;
  char m_usbSerial[256] = {};
  char m_usbText[256] = {};
  std::atomic<bool> m_connected{false};
  CSerialComms m_serial;
  CFileComms m_replay;
  NotifyCallback m_notify = nullptr;
  StatusCallback m_status = nullptr;
  ecg::acquisition::ErrorCallback m_error = nullptr;
  CCableSettings* m_cable = nullptr;
  CECGSettings* m_ecg = nullptr;
  CCircularBuffer* m_ring = nullptr;
  std::timed_mutex* m_lock = nullptr;
  ecg::acquisition::FrameAssembler m_assembler;
  std::atomic<uint64_t> m_framesTotal{0};
  std::atomic<uint64_t> m_bytesDropped{0};
};
