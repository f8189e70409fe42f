// Lead slots and sample counts of the engine's signal model.

#include "engine/ecg_signal.h"

#include <cmath>

namespace ecg::engine {

namespace {
constexpr uint8_t kCodes[kSlotCount] = {1, 2, 61, 62, 63, 64, 3, 4, 5, 6, 7, 8};
constexpr const char* kNames[kSlotCount] = {"I",  "II", "III", "aVR", "aVL", "aVF",
                                            "V1", "V2", "V3",  "V4",  "V5",  "V6"};
}  // namespace

uint8_t SlotCode(int slot) { return slot >= 0 && slot < kSlotCount ? kCodes[slot] : 0; }

int SlotOfCode(uint32_t code) {
  for (int s = 0; s < kSlotCount; ++s) {
    if (kCodes[s] == code) return s;
  }
  return -1;
}

bool IsIndependentSlot(int slot) {
  return slot == kSlotI || slot == kSlotII || (slot >= kSlotV1 && slot <= kSlotV6);
}

const char* SlotName(int slot) { return slot >= 0 && slot < kSlotCount ? kNames[slot] : ""; }

size_t EcgSignal::Samples(double seconds, size_t minimum) const {
  const double n = std::round(seconds * rate);
  if (!(n >= static_cast<double>(minimum))) return minimum;
  return static_cast<size_t>(n);
}

}  // namespace ecg::engine
