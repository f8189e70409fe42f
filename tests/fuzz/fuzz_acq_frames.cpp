// Arbitrary bytes as the cable's stream: every frame the assembly accepts
// carries a good checksum and is a 13-byte run of the input, and no more
// frames come out than the bytes can hold.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string.h>

#include "acquisition/cable_frame.h"
#include "acquisition/frame_assembler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  size_t checked = 0;
  const size_t frames = ecg::acquisition::AssembleBytes(data, size, [&](const uint8_t* frame) {
    if (!ecg::acquisition::FrameChecks(frame)) std::abort();
    const auto samples = ecg::acquisition::UnpackFrame(frame);
    for (uint16_t s : samples) {
      if (s > 4095) std::abort();
      const auto v = ecg::acquisition::DecodeChannel(s);
      if (s >= 4080 && v.sample != 2048) std::abort();
    }
    if (size >= 13 && memmem(data, size, frame, 13) == nullptr) std::abort();
    ++checked;
  });
  if (frames != checked || frames > size / 13) std::abort();
  return 0;
}
