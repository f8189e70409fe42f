#pragma once
// CThreadBase: the acquisition worker thread's frame. Run() runs on its own
// thread between InitInstance and ExitInstance; StopMe only sets the two
// stop flags, which the thread's loops test on every pass; the exit event
// (manual reset) is signalled by ExitInstance so that the owner can wait
// for the end.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

#include "acquisition/sync_event.h"

class CThreadBase {
 public:
  CThreadBase() = default;
  virtual ~CThreadBase();
  CThreadBase(const CThreadBase&) = delete;
  CThreadBase& operator=(const CThreadBase&) = delete;

  // Starts the thread: InitInstance, then Run, whose result becomes the exit
  // code. False when a thread of this object is still running.
  bool CreateThread();
  // Waits for the thread to end and releases it; the exit code stays.
  void Join();
  int ExitCode() const { return m_exitCode.load(); }

  void StopMe() {
    m_stopRequested = true;
    m_stop2 = true;
  }
  bool IsRunning() const { return m_running.load(); }
  void SetOwner(void* owner) { m_owner = owner; }
  void* Owner() const { return m_owner; }
  // Waits for the exit event (at most `timeout`), then sleeps 10 ms. True
  // when the event was signalled.
  bool WaitForExitEvent(std::chrono::milliseconds timeout = std::chrono::hours(24));

  virtual bool InitInstance();
  virtual void ExitInstance();
  virtual int Run() = 0;

 protected:
  bool StopRequested() const { return m_stopRequested.load() || m_stop2.load(); }

  std::atomic<bool> m_running{false};
  std::atomic<bool> m_stopRequested{false};
  std::atomic<bool> m_stop2{false};
  ecg::acquisition::SyncEvent m_exitEvent{true};
  void* m_owner = nullptr;

 private:
  std::thread m_thread;
  std::atomic<int> m_exitCode{0};
};
