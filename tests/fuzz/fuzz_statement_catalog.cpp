// Arbitrary bytes as a statement catalog. A refused catalog names its fault
// and keeps nothing; an accepted one, written out again, parses to the same
// entries, and composing a codes text from it never fails for any reason but
// a missing code text.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "analysis/statement_catalog.h"
#include "analysis/statement_text.h"
#include "platform/last_error.h"
#include "platform/text_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ecg::analysis;
  using namespace ecg::platform;
  StatementCatalog catalog;
  if (!catalog.Parse(std::span<const uint8_t>(data, size))) {
    const uint32_t error = GetLastError();
    if (catalog.fault() == CatalogFault::kNone || catalog.size() != 0) __builtin_trap();
    if (error != kErrorBadFormat && error != kErrorOutOfMemory) __builtin_trap();
    return 0;
  }

  std::string text;
  for (const auto& [id, statement] : catalog.texts()) {
    if (statement.empty() || statement.size() > StatementCatalog::kMaxTextLength) __builtin_trap();
    std::string utf8;
    if (!WideToUtf8(statement, utf8)) __builtin_trap();
    text += std::to_string(id) + "\t" + utf8 + "\n";
  }
  StatementCatalog again;
  if (!again.Parse(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size())) ||
      again.texts() != catalog.texts()) {
    __builtin_trap();
  }

  // Codes from the input's first bytes, through both prefixes.
  std::vector<uint16_t> rhythm, morphology;
  for (size_t i = 0; i < size && i < 10; ++i) (i < 3 ? rhythm : morphology).push_back(data[i] % 8 + 20);
  for (size_t prefix : {kCodesOptionPrefix, kPlainPrefix}) {
    std::u16string composed;
    if (!ComposeCodesText(catalog, rhythm, morphology, prefix, composed)) {
      if (GetLastError() != kErrorNoData) __builtin_trap();
      continue;
    }
    size_t bound = 0;
    for (uint16_t code : rhythm) bound += catalog.Find(code + kCodeTextBase)->size() + 2;
    for (uint16_t code : morphology) bound += catalog.Find(code + kCodeTextBase)->size() + 2;
    if (composed.size() > bound) __builtin_trap();
  }
  return 0;
}
