#include "interface/ecg_default_settings.h"

#include <atomic>

#include "interface/registry_values.h"

namespace {
std::atomic<CECGDefaultSettings*> g_application_options{nullptr};
}  // namespace

CECGDefaultSettings::CECGDefaultSettings() {
  ecg::interface::DetectStillwaterVersion();
  PowerFilterChoice = DefaultPowerFilterChoice();
}

CECGDefaultSettings::~CECGDefaultSettings() {
  CECGDefaultSettings* self = this;
  g_application_options.compare_exchange_strong(self, nullptr);
}

int32_t CECGDefaultSettings::DefaultPowerFilterChoice() {
  return g_iStillwaterVersion == 1 ? 0 : 1;
}

namespace ecg::interface {

CECGDefaultSettings* ApplicationOptions() { return g_application_options.load(); }

void SetApplicationOptions(CECGDefaultSettings* options) { g_application_options.store(options); }

}  // namespace ecg::interface
