#include "acquisition/thread_base.h"

CThreadBase::~CThreadBase() {
  // A derived class must stop and join its thread in its own destructor,
  // while its members still exist; this is the last resort.
  StopMe();
  Join();
}

bool CThreadBase::CreateThread() {
  if (m_thread.joinable()) {
    if (m_running.load()) return false;
    m_thread.join();
  }
  m_exitEvent.Reset();
  m_running = true;
  try {
    m_thread = std::thread([this] {
      int code = -1;
      if (InitInstance()) code = Run();
      m_exitCode = code;
    });
  } catch (...) {
    m_running = false;
    return false;
  }
  return true;
}

void CThreadBase::Join() {
  if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) m_thread.join();
}

bool CThreadBase::WaitForExitEvent(std::chrono::milliseconds timeout) {
  const bool signalled = m_exitEvent.Wait(timeout);
  std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return signalled;
}

bool CThreadBase::InitInstance() {
  m_running = true;
  return true;
}

void CThreadBase::ExitInstance() {
  m_running = false;
  m_exitEvent.Set();
}
