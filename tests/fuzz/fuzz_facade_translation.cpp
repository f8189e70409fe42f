// Arbitrary bytes as a language module's translation file. A read either
// fails with one of its codes and an empty table, or succeeds with a table
// that keeps the limits and holds no empty translation.

#include <cstddef>
#include <cstdint>
#include <span>

#include "interface/facade/translation_file.h"
#include "platform/last_error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ecg::facade;
  TranslationTable table;
  if (!ParseTranslationFile(std::span<const uint8_t>(data, size), table)) {
    const uint32_t code = ecg::platform::GetLastError();
    if (!table.empty()) __builtin_trap();
    if (code != ecg::platform::kErrorInvalidData && code != ecg::platform::kErrorOutOfStructures &&
        code != ecg::platform::kErrorOutOfMemory) {
      __builtin_trap();
    }
    return 0;
  }
  size_t entries = 0;
  for (const auto& [context, messages] : table) {
    for (const auto& [source, translation] : messages) {
      if (translation.empty()) __builtin_trap();
      ++entries;
    }
  }
  if (entries > kMaxTranslationEntries) __builtin_trap();
  return 0;
}
