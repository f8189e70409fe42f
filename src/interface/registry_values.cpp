#include "interface/registry_values.h"

#include "platform/last_error.h"
#include "platform/registry.h"

int32_t g_iStillwaterVersion = 0;

namespace {

using ecg::platform::RegistryHive;

// The settings store reads a key's file whole and keeps no handle open, so
// unlike a registry key there is no closing step that could fail here.
template <typename ReadFn>
bool ReadUserThenMachine(ReadFn read) {
  if (read(RegistryHive::kCurrentUser)) return true;
  return read(RegistryHive::kLocalMachine);
}

}  // namespace

bool GetRegistryStringValue(std::string& text, std::string_view value_name,
                            std::string_view key_path) {
  if (value_name.empty()) return ecg::platform::Fail(ecg::platform::kErrorInvalidParameter);
  return ReadUserThenMachine([&](RegistryHive hive) {
    return ecg::platform::RegistryReadString(hive, key_path, value_name, text);
  });
}

bool ReadRegistryEntry(std::string_view value_name, uint32_t* out, std::string_view key_path) {
  if (out == nullptr || value_name.empty()) {
    return ecg::platform::Fail(ecg::platform::kErrorInvalidParameter);
  }
  if (key_path.empty()) key_path = kDefaultRegistryKey;
  return ReadUserThenMachine([&](RegistryHive hive) {
    return ecg::platform::RegistryReadDword(hive, key_path, value_name, *out);
  });
}

namespace ecg::interface {

int32_t DetectStillwaterVersion() {
  platform::LastErrorKeeper keep;  // a missing key is the usual case, not an error to report
  std::string language;
  uint32_t region = 0;
  if (GetRegistryStringValue(language, "StillwaterLanguage", kStillwaterKey) ||
      (ReadRegistryEntry("StillwaterRegion", &region, kStillwaterKey) && region != 0)) {
    g_iStillwaterVersion = 1;
  }
  return g_iStillwaterVersion;
}

}  // namespace ecg::interface
