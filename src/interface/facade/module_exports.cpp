// The component's exported functions and its module state: the instance
// CreateECGInterface made last.

#include <mutex>
#include <new>

#include "interface/facade/ecg_interface.h"

namespace {
std::mutex g_currentMutex;
CECGInterface* g_current = nullptr;
}  // namespace

extern "C" CECGInterface* CreateECGInterface() {
  CECGInterface* made = new (std::nothrow) CECGInterface();
  std::lock_guard<std::mutex> guard(g_currentMutex);
  g_current = made;
  return made;
}

extern "C" void DestroyECGInterface() {
  CECGInterface* current = nullptr;
  {
    std::lock_guard<std::mutex> guard(g_currentMutex);
    current = g_current;
    g_current = nullptr;
  }
  delete current;
}

extern "C" CECGPrint* GetCECGPrintObj() {
  std::lock_guard<std::mutex> guard(g_currentMutex);
  return g_current != nullptr ? g_current->m_pECGPrint : nullptr;
}
