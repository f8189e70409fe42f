#include "interface/facade/window_services.h"

#include <atomic>

namespace ecg::facade {
namespace {
std::atomic<WindowServices*> g_installed{nullptr};
}  // namespace

WindowServices& CurrentWindowServices() {
  WindowServices* installed = g_installed.load();
  return installed != nullptr ? *installed : ComponentWindowServices();
}

WindowServices* SetWindowServices(WindowServices* services) { return g_installed.exchange(services); }

}  // namespace ecg::facade
