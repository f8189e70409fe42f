// Arbitrary bytes as a module file whose version table is looked for.

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/module_version.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ecg::platform::VersionTable table;
  ecg::platform::ParseModuleVersionTable(std::span<const uint8_t>(data, size), table);
  return 0;
}
