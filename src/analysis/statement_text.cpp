#include "analysis/statement_text.h"

#include <algorithm>
#include <new>

#include "platform/last_error.h"

using namespace ecg::platform;

namespace ecg::analysis {

std::u16string AppendStatement(std::u16string_view interpretation, std::u16string_view statement) {
  std::u16string text(interpretation);
  if (!text.empty()) text += kLineSeparator;
  text += statement;
  return text;
}

namespace {

// Walks the codes in composition order and hands each contributing part to
// `take`; false when a code has no text.
template <typename Take>
bool ForEachPart(const StatementCatalog& catalog, std::span<const uint16_t> rhythm,
                 std::span<const uint16_t> morphology, size_t prefix, Take take) {
  auto part = [&](uint16_t code) {
    const std::u16string* text = catalog.Find(uint32_t{code} + kCodeTextBase);
    if (text == nullptr) return Fail(kErrorNoData);
    if (text->size() > prefix) take(std::u16string_view(*text).substr(prefix));
    return true;
  };
  for (size_t i = 0; i < rhythm.size(); ++i) {
    if (std::find(rhythm.begin(), rhythm.begin() + static_cast<ptrdiff_t>(i), rhythm[i]) !=
        rhythm.begin() + static_cast<ptrdiff_t>(i)) {
      continue;
    }
    if (!part(rhythm[i])) return false;
  }
  for (size_t i = 0; i < morphology.size(); ++i) {
    const uint16_t code = morphology[i];
    if (std::find(rhythm.begin(), rhythm.end(), code) != rhythm.end()) continue;
    if (std::find(morphology.begin(), morphology.begin() + static_cast<ptrdiff_t>(i), code) !=
        morphology.begin() + static_cast<ptrdiff_t>(i)) {
      continue;
    }
    if (!part(code)) return false;
  }
  return true;
}

}  // namespace

bool ComposeCodesText(const StatementCatalog& catalog, std::span<const uint16_t> rhythm,
                      std::span<const uint16_t> morphology, size_t prefix, std::u16string& text) {
  text.clear();
  // First pass: the exact length (parts and separators), so the text is
  // allocated once; second pass: the text itself.
  size_t length = 0;
  size_t parts = 0;
  if (!ForEachPart(catalog, rhythm, morphology, prefix, [&](std::u16string_view p) {
        length += p.size();
        ++parts;
      })) {
    return false;
  }
  if (parts > 1) length += kLineSeparator.size() * (parts - 1);
  try {
    text.reserve(length);
  } catch (const std::bad_alloc&) {
    return Fail(kErrorOutOfMemory);
  }
  ForEachPart(catalog, rhythm, morphology, prefix, [&](std::u16string_view p) {
    if (!text.empty()) text += kLineSeparator;
    text += p;
  });
  SetLastError(kErrorSuccess);
  return true;
}

}  // namespace ecg::analysis
