// Arbitrary bytes as a wave file for the sound output.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "dsp/wave_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ecg::dsp::WaveData wave;
  const std::span<const uint8_t> bytes(data, size);
  if (ecg::dsp::ParseWave(bytes, wave)) {
    // The samples lie inside the input and hold whole frames.
    if (wave.samples.data() < bytes.data() ||
        wave.samples.data() + wave.samples.size() > bytes.data() + bytes.size() ||
        wave.format.block_align == 0 || wave.samples.size() % wave.format.block_align != 0) {
      std::abort();
    }
    volatile uint8_t sum = 0;
    for (uint8_t b : wave.samples) sum = static_cast<uint8_t>(sum + b);
    (void)sum;
  }
  return 0;
}
