// Arbitrary bytes as a demo (replay) file: the handshake reads and the frame
// replay must stay inside the bytes, end without looping, and deliver only
// whole frames from memory.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "acquisition/file_comms.h"
#include "platform/byte_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CFileComms source;
  source.SetTimerAllowed(false);
  if (!source.Open(std::make_unique<ecg::platform::MemoryStream>(std::vector<uint8_t>(data, data + size)))) {
    if (size >= 4) std::abort();
    return 0;
  }
  for (int r = 0; r < 6; ++r) {
    uint8_t length = 0;
    if (!source.ReadRecordLength(&length, 1)) return 0;
    char text[CFileComms::kMaxRecordText];
    if (!source.ReadRecordText(text, length)) return 0;
  }
  source.SetRate(500.0);
  source.SetLoop(false);
  if (!source.StartReplay(2)) return 0;
  if (source.DataLength() % 13 != 0) std::abort();
  // Without looping the replay ends within the file's bytes.
  uint8_t frame[13];
  size_t total = 0;
  while (!source.IsEnded()) {
    const uint32_t got = source.ReadFrameBytes(frame);
    if (got > 13) std::abort();
    total += got;
    if (total > size + 13) std::abort();
    if (got == 0 && !source.IsEnded()) break;  // a failed read
  }
  source.StopReplay();
  return 0;
}
