#include "acquisition/cable_thread.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <thread>

#include "acquisition/usb_cable.h"

namespace {

constexpr uint8_t kCancel = 0x18;
constexpr int kEnqEchoLimit = 100;
constexpr int kEchoLimit = 50;
constexpr int kReplyIdleLimit = 10;
constexpr size_t kReplySize = 128;
constexpr auto kLockTimeout = std::chrono::milliseconds(100);

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// The number after `tag` ("HW v1.2" -> 1.2), or 0.
double NumberAfter(const std::string& text, const char* tag) {
  const size_t at = text.find(tag);
  if (at == std::string::npos) return 0;
  return std::atof(text.c_str() + at + std::strlen(tag));
}

std::string WithoutTerminator(const char* reply) {
  std::string s(reply);
  while (!s.empty() && (s.back() == '\r' || s.back() == '\n')) s.pop_back();
  return s;
}

}  // namespace

CCableThread::~CCableThread() {
  StopMe();
  Join();
}

void CCableThread::SetCallbacks(NotifyCallback notify, StatusCallback status,
                                ecg::acquisition::ErrorCallback error, void* error_context) {
  m_notify = notify;
  m_status = status;
  m_error = error;
  m_errorContext = error_context;
  m_serial.SetErrorCallback(error, error_context);
  m_replay.SetErrorCallback(error, error_context);
}

void CCableThread::SetDataBuffer(CCircularBuffer* ring, std::timed_mutex* lock) {
  m_ring = ring;
  m_lock = lock;
}

void CCableThread::SetSettings(CCableSettings* cable, CECGSettings* ecg) {
  m_cable = cable;
  m_ecg = ecg;
}

bool CCableThread::Allocate(uint32_t receive_size, uint32_t text_size) {
  if (m_cable == nullptr) return false;
  if (m_cable->m_connectionType == 0)
    return m_serial.AllocateReceive(receive_size) && m_serial.AllocateText(text_size);
  return m_cable->m_connectionType == 1;
}

void CCableThread::ExitInstance() {
  m_connected = false;
  CThreadBase::ExitInstance();
}

void CCableThread::Status(int kind, int code) {
  if (m_status != nullptr) m_status(m_owner, kind, code);
}

void CCableThread::NotifyOwner(int event) {
  if (m_notify != nullptr) m_notify(m_owner, event);
}

bool CCableThread::SettingsLock() { return m_lock != nullptr && m_lock->try_lock_for(kLockTimeout); }

bool CCableThread::SleepUnlessStopped(int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    if (StopRequested()) return false;
    SleepMs(std::min(ms, 10));
  }
  return true;
}

// ------------------------------------------------------------ commands

bool CCableThread::Command(const char* text, int echo_limit, char* reply, size_t reply_size) {
  if (!m_serial.SendCommand(text, std::strlen(text), echo_limit)) return false;
  return m_serial.ReadResponse(reply, "\r", reply_size, kReplyIdleLimit);
}

bool CCableThread::RequestEnq() {
  Status(kStatusProgress, 2);
  char reply[kReplySize];
  if (!Command("ENQ\r", kEnqEchoLimit, reply, sizeof reply)) return false;
  if (strcasecmp(reply, "OK\r") != 0) return false;
  Status(kStatusProgress, 3);
  return true;
}

bool CCableThread::RequestSerialNumber() {
  char reply[kReplySize];
  if (!Command("SERNUM\r", kEchoLimit, reply, sizeof reply)) return false;
  const std::string text = WithoutTerminator(reply);
  if (Contains(text, "ERROR")) return false;
  if (text.empty()) return true;
  if (!SettingsLock()) return false;
  m_cable->SetSerialNumber(m_usbIdentified ? std::string(m_usbSerial) : text);
  SettingsUnlock();
  return true;
}

void CCableThread::ParseVersions(const std::string& reply) {
  m_cable->m_hardwareVersion = static_cast<int32_t>(10.0 * NumberAfter(reply, "HW v") + 1e-6);
  m_cable->m_softwareVersion = static_cast<int32_t>(10.0 * NumberAfter(reply, "SW v") + 1e-6);
}

bool CCableThread::RequestId() {
  char reply[kReplySize];
  if (!Command("ID\r", kEchoLimit, reply, sizeof reply)) return false;
  const std::string text = WithoutTerminator(reply);
  if (text.empty()) return false;
  if (!SettingsLock()) return false;
  m_cable->SetLeads(12);
  if (!Contains(text, "12L")) Status(kStatusProgress, 4);
  ParseVersions(text);
  SettingsUnlock();
  return true;
}

bool CCableThread::RequestResolution() {
  char reply[kReplySize];
  if (!Command("RES\r", kEchoLimit, reply, sizeof reply)) return false;
  const std::string text = WithoutTerminator(reply);
  if (Contains(text, "ERROR")) return false;
  if (text.empty()) return true;
  if (!SettingsLock()) return false;
  m_ecg->SetResolution(std::atof(text.c_str()) / 1000.0);
  SettingsUnlock();
  return true;
}

bool CCableThread::RequestSamplingRate() {
  char reply[kReplySize];
  const bool answered = Command("SRATE\r", kEchoLimit, reply, sizeof reply);
  const std::string text = answered ? WithoutTerminator(reply) : std::string();
  double rate = kDefaultRate;
  if (answered && !text.empty() && !Contains(text, "ERROR")) rate = std::atof(text.c_str()) / 2.0;
  if (!SettingsLock()) return false;
  m_ecg->SetSamplingRate(rate);
  SettingsUnlock();
  return true;
}

bool CCableThread::SelectAllLeads() {
  char reply[kReplySize];
  return Command("ECG ALL\r", kEchoLimit, reply, sizeof reply) && strcasecmp(reply, "OK\r") == 0;
}

bool CCableThread::RequestData() {
  char reply[kReplySize];
  return Command("DATA\r", kEchoLimit, reply, sizeof reply) && strcasecmp(reply, "OK\r") == 0;
}

// ------------------------------------------------------------ connection

int CCableThread::ConnectSerial() {
  m_serial.SetRawMode(true);
  m_serial.SetReadChunk(50);
  m_serial.Flush();
  m_usbIdentified = false;
  if (ecg::acquisition::IdentifyUsbCable(m_cable->m_portName, m_usbSerial, sizeof m_usbSerial,
                                         m_usbText, sizeof m_usbText)) {
    m_usbIdentified = true;
  }
  if (!m_serial.Open(m_cable->m_portName, 115200, false)) return -2;
  Status(kStatusProgress, 1);
  SleepMs(500);
  const uint8_t cancel = kCancel;
  if (!m_serial.WriteRaw(&cancel, 1)) return -9;
  SleepMs(200);
  m_serial.Flush();
  if (!m_serial.StartReader()) return -2;
  m_serial.Flush();

  struct Step {
    bool (CCableThread::*run)();
    int failure;
  };
  static constexpr Step kSteps[] = {
      {&CCableThread::RequestEnq, -3},         {&CCableThread::RequestSerialNumber, -4},
      {&CCableThread::RequestId, -5},          {&CCableThread::RequestResolution, -6},
      {&CCableThread::RequestSamplingRate, -10}, {&CCableThread::SelectAllLeads, -7},
      {&CCableThread::RequestData, -8},
  };
  for (const Step& step : kSteps) {
    bool done = false;
    for (int attempt = 0; attempt < 3 && !done; ++attempt) {
      done = (this->*step.run)();
      if (!done) m_serial.Flush();
    }
    if (!done) return step.failure;
  }
  m_connected = true;
  return 0;
}

bool CCableThread::ReadReplayRecord(std::string* text) {
  uint8_t length = 0;
  if (!m_replay.ReadRecordLength(&length, 1)) return false;
  char buffer[CFileComms::kMaxRecordText + 1] = {};
  if (!m_replay.ReadRecordText(buffer, length)) return false;
  buffer[CFileComms::kMaxRecordText] = '\0';
  // Record texts end with their zero; a longer record's rest is skipped.
  if (length > CFileComms::kMaxRecordText) {
    for (uint32_t i = CFileComms::kMaxRecordText; i < length; ++i) {
      char skip;
      if (!m_replay.ReadRecordText(&skip, 1)) return false;
    }
  }
  *text = std::string(buffer, strnlen(buffer, std::min<size_t>(length, CFileComms::kMaxRecordText)));
  return true;
}

int CCableThread::ConnectReplay() {
  if (!m_replay.Open(m_cable->m_replayFileName)) return -2;
  Status(kStatusProgress, 1);
  m_replay.SetLoop(m_cable->m_replayLoops);
  std::string text;
  Status(kStatusProgress, 2);
  if (!ReadReplayRecord(&text) || strcasecmp(text.c_str(), "OK") != 0) return -3;
  Status(kStatusProgress, 3);
  if (!ReadReplayRecord(&text)) return -4;
  if (!SettingsLock()) return -4;
  m_cable->SetSerialNumber("Serial: " + text);
  SettingsUnlock();
  if (!ReadReplayRecord(&text)) return -5;
  if (!SettingsLock()) return -5;
  m_cable->SetLeads(12);
  m_replay.SetChannels(8);
  Status(kStatusProgress, 4);
  ParseVersions(text);
  SettingsUnlock();
  if (!ReadReplayRecord(&text)) return -6;
  if (!SettingsLock()) return -6;
  m_ecg->SetResolution(std::atof(text.c_str()) / 1000.0);
  SettingsUnlock();
  double rate = kDefaultRate;
  if (ReadReplayRecord(&text) && std::atof(text.c_str()) > 0) rate = std::atof(text.c_str()) / 2.0;
  if (SettingsLock()) {
    m_ecg->SetSamplingRate(rate);
    SettingsUnlock();
  }
  m_replay.SetRate(rate);
  if (!ReadReplayRecord(&text) || strcasecmp(text.c_str(), "OK") != 0) return -8;
  if (!m_replay.StartReplay(m_cable->FramesPerBatch())) return -8;
  m_connected = true;
  return 0;
}

// ------------------------------------------------------------ data phase

bool CCableThread::AppendFrame(const uint8_t* frame) {
  m_lock->lock();
  const bool stored = m_ring->Write(frame, 13);
  m_lock->unlock();
  if (stored) ++m_framesTotal;
  return stored;
}

void CCableThread::ReceiveSerialData() {
  NotifyOwner(kNotifyReady);
  m_stop2 = false;
  if (!m_lock->try_lock_for(kLockTimeout)) return;
  m_lock->unlock();
  m_assembler.Clear();
  const uint32_t batch = m_cable->FramesPerBatch();
  uint32_t counter = 0;
  while (!StopRequested()) {
    const size_t want = m_assembler.Wanted();
    if (m_serial.BytesWaiting() < want || !m_serial.ReadBytes(m_assembler.FillPointer(), static_cast<uint32_t>(want))) {
      // Nothing to take: wait for the receive thread instead of spinning.
      m_serial.DataReceived().Wait(std::chrono::milliseconds(20));
      continue;
    }
    m_assembler.Added(want);
    if (!m_assembler.AssembleFrame()) {
      m_bytesDropped = m_assembler.DroppedBytes();
      continue;
    }
    AppendFrame(m_assembler.Frame());
    m_assembler.Clear();
    if (++counter >= batch) {
      NotifyOwner(kNotifyUpdate);
      counter = 0;
    }
  }
}

int CCableThread::ReceiveReplayData() {
  NotifyOwner(kNotifyReady);
  m_stop2 = false;
  m_assembler.Clear();
  const uint32_t batch = m_cable->FramesPerBatch();
  uint32_t counter = 0;
  while (!StopRequested() && !m_replay.IsEnded()) {
    if (m_assembler.Filled() == 0) {
      m_assembler.Added(m_replay.ReadFrameBytes(m_assembler.FillPointer()));
    } else if (m_replay.ReadOneByte(m_assembler.FillPointer())) {
      m_assembler.Added(1);
    }
    const bool good = m_assembler.AssembleFrame();
    if (good) {
      AppendFrame(m_assembler.Frame());
      m_assembler.Clear();
      ++counter;
    } else {
      m_bytesDropped = m_assembler.DroppedBytes();
    }
    if ((good && counter >= batch) || (m_replay.IsEnded() && counter != 0)) {
      NotifyOwner(kNotifyUpdate);
      m_replay.WaitTick();
      counter = 0;
    }
    if (m_replay.IsEnded()) break;
    if (!good && m_assembler.Filled() == 0) {
      // A failed read delivers nothing; wait a tick rather than spin.
      m_replay.WaitTick();
    }
  }
  return m_replay.IsEnded() ? -14 : 0;
}

void CCableThread::CloseSource() {
  if (m_cable != nullptr && m_cable->m_connectionType == 1) {
    m_replay.SetErrorCallback(nullptr, nullptr);
    m_replay.StopReplay();
    m_replay.Close();
    m_replay.SetErrorCallback(m_error, m_errorContext);
    return;
  }
  m_serial.SetErrorCallback(nullptr, nullptr);
  m_serial.StopReader();
  if (m_serial.IsOpen()) {
    const uint8_t cancel = kCancel;
    m_serial.WriteRaw(&cancel, 1);
    SleepMs(100);
    m_serial.DropControlLines();
    m_serial.Close();
  }
  m_serial.SetRawMode(false);
  m_serial.Flush();
  m_serial.SetErrorCallback(m_error, m_errorContext);
}

int CCableThread::Run() {
  m_stopRequested = false;
  m_framesTotal = 0;
  m_bytesDropped = 0;
  if (m_owner == nullptr || m_cable == nullptr || m_ecg == nullptr || m_ring == nullptr ||
      m_lock == nullptr) {
    Status(kStatusResult, -1);
    ExitInstance();
    NotifyOwner(kNotifyExit);
    return -1;
  }
  m_exitEvent.Reset();
  Status(kStatusProgress, 5);
  int result = 0;
  const int16_t type = m_cable->m_connectionType;
  if (type == 0) {
    result = ConnectSerial();
  } else if (type == 1) {
    result = ConnectReplay();
  }
  if (result == 0 && m_connected.load()) {
    if (type == 0 && SleepUnlessStopped(2000)) m_serial.Flush();
    if (!StopRequested()) {
      Status(kStatusProgress, 0);
      if (type == 0) {
        ReceiveSerialData();
      } else {
        result = ReceiveReplayData();
      }
    }
  }
  CloseSource();
  Status(kStatusResult, result);
  ExitInstance();
  NotifyOwner(kNotifyExit);
  return result;
}
