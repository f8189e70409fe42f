// Arbitrary bytes as a packed 12-bit event file: the first byte picks the
// lead count (valid or not), the rest are the frames.

#include <cstddef>
#include <cstdint>

#include "fuzz_import_checks.h"
#include "import/raw12l_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static constexpr int16_t kCounts[] = {1, 2, 6, 8, 12, 3, 0, -1};
  const int16_t leads_wanted = kCounts[data[0] % 8];
  C12LMemReader reader;
  SECGInfo info;
  const SLeadObj* leads = reader.ReadEvent(data + 1, size - 1, &info, leads_wanted, 500, 2500);
  if (leads == nullptr) return 0;
  ecg::fuzz::CheckEvent(info, *leads);
  if (info.m_samplesPerLead + reader.DroppedFrames() > 32767) std::abort();
  ecg::fuzz::EventRecordProbe probe;
  probe.Build(info, *leads);
  return 0;
}
