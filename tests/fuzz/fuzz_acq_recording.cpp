// Arbitrary bytes as the recording ring's contents: the 12-lead recording
// file written from them must read back through the handheld recorder
// reader with one event of 8 leads holding exactly the ring's whole frames.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "acquisition/cable_settings.h"
#include "acquisition/circular_buffer.h"
#include "acquisition/ecg_file.h"
#include "acquisition/ecg_settings.h"
#include "dsp/filter_settings.h"
#include "import/pellux_reader.h"
#include "platform/byte_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  // The first byte picks the offset in frames; the rest fills the ring.
  const uint32_t offset = (data[0] % 8) * 13;
  CCircularBuffer ring(false, true);
  if (!ring.Allocate(6000 * 13)) return 0;
  const uint32_t n = static_cast<uint32_t>(std::min<size_t>(size - 1, 6000 * 13 - 1));
  if (!ring.Write(data + 1, n)) std::abort();
  CCableSettings cable;
  CECGSettings ecg;
  CDisplaySettings display;
  CFilterSettings filters;
  CECGFile file;
  file.SetOffset(offset);
  ecg::platform::MemoryStream out;
  const bool written = file.Write(out, ring, cable, ecg, display, filters);
  if (offset > n) {
    if (written) std::abort();
    return 0;
  }
  if (!written) std::abort();
  const uint32_t frames = std::min<uint32_t>((n - offset) / 13, CECGFile::kMaxFrames);
  CPelluxReader reader;
  int16_t events = 0;
  const auto& bytes = out.bytes();
  if (frames == 0) return 0;  // a record of no samples is refused by the reader
  if (!reader.ReadMemory(bytes.data(), bytes.size(), &events) || events != 1) std::abort();
  SECGInfo info;
  const SLeadObj* leads = reader.GetEvent(0, &info);
  if (leads == nullptr || info.m_leadCount != 8) std::abort();
  return 0;
}
