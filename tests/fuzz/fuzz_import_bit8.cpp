// Arbitrary bytes as a bare 8-bit event file, read from memory with and
// without the offset flag, then turned into a record model.

#include <cstddef>
#include <cstdint>

#include "fuzz_import_checks.h"
#include "import/bit8_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  C8BitMemReader reader;
  ecg::fuzz::EventRecordProbe probe;
  for (bool offset : {false, true}) {
    SECGInfo info;
    const SLeadObj* leads = reader.ReadEvent(data, size, &info, offset, 0, 0);
    if (leads == nullptr) continue;
    ecg::fuzz::CheckEvent(info, *leads);
    probe.Build(info, *leads);
  }
  return 0;
}
