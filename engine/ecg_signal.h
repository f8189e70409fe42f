#pragma once
// The engine's view of a record: every lead's samples in microvolts at the
// record's own rate, with the samples that carry no signal (markers,
// saturation) flagged, and where the twelve standard leads are.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ecg::engine {

// The twelve standard leads in display order.
enum Slot : int {
  kSlotI,
  kSlotII,
  kSlotIII,
  kSlotAVR,
  kSlotAVL,
  kSlotAVF,
  kSlotV1,
  kSlotV2,
  kSlotV3,
  kSlotV4,
  kSlotV5,
  kSlotV6,
  kSlotCount
};

// SCP lead code of a slot, and the slot of a code (-1 for other codes).
uint8_t SlotCode(int slot);
int SlotOfCode(uint32_t code);
// I, II and V1-V6: the leads that carry independent information (the other
// limb leads follow from I and II).
bool IsIndependentSlot(int slot);
// "I", "II", ..., "V6"; "lead <code>" texts are the caller's business.
const char* SlotName(int slot);

struct Lead {
  uint8_t code = 0;
  bool derived = false;          // a limb lead the engine calculated from I and II
  std::vector<float> uv;         // microvolts; flagged samples hold interpolated values
  std::vector<uint8_t> invalid;  // 1 for a marker or saturated sample; empty: none
  uint32_t marker_count = 0;
  uint32_t saturated_count = 0;

  bool IsInvalid(size_t i) const { return !invalid.empty() && invalid[i] != 0; }
};

struct EcgSignal {
  double rate = 0;            // samples per second
  size_t samples = 0;         // per lead
  uint32_t first_sample = 1;  // 1-based record sample number of sample 0
  std::vector<Lead> leads;    // in the record's lead order
  std::array<int, kSlotCount> slot{};  // index into leads, -1 when absent

  EcgSignal() { slot.fill(-1); }
  const Lead* SlotLead(int s) const {
    return slot[s] < 0 ? nullptr : &leads[static_cast<size_t>(slot[s])];
  }
  double Seconds() const { return rate > 0 ? static_cast<double>(samples) / rate : 0.0; }
  // A duration in samples at this rate (rounded, at least `minimum`).
  size_t Samples(double seconds, size_t minimum = 1) const;
};

}  // namespace ecg::engine
