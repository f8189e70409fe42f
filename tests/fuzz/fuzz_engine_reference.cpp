// The evaluation program's reference files (JSON with per-lead wave marks)
// from arbitrary bytes: parsed, read as a reference and grouped into beats.
// A document either fails with a reason or gives beats whose marks come from
// it; nothing may crash or recurse without bound.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/eval/json_value.h"
#include "engine/eval/ludb_reference.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ecg::engine::eval;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  JsonValue root;
  std::string error;
  if (!ParseJson(text, root, error)) {
    if (error.empty()) std::abort();
    return 0;
  }
  LudbReference reference;
  if (!LudbReferenceFromJson(root, reference, error)) {
    if (error.empty()) std::abort();
    return 0;
  }
  const auto beats = ReferenceBeats(reference);
  if (beats.size() != reference.qrs_peaks.size()) std::abort();
  int first = 0, last = 0;
  if (AnnotatedSpan(reference, 10, first, last) && first > last) std::abort();
  return 0;
}
