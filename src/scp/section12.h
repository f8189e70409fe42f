#pragma once
// Section 12 of version 3 records: long-term rhythm data, the leads stored
// multiplexed sample by sample with 1 to 4 bytes per value and an amplitude
// multiplier of their own. Layout of the section's data part (after its
// 16-byte header), little-endian:
//    0  sample rate (u32, Hz)       4  lead count (u8)
//    5  samples per lead (u32)      9  bytes per sample (u8, 1-4)
//   10  start date and time (year u16, month, day, hour, minute, second)
//   62  LN (u32)                   66  LMI (u32): lengths of two blocks
//       that follow at 70 and are skipped here
//   70 + LN + LMI: 4 bytes per lead (lead ID u8, multiplier u16 nV, spare)
//   then the samples: for each instant, one value per lead.
// No public record of this version exists to check against; the reader
// takes the layout as published and refuses whatever does not fit it.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ecg::scp {

struct LongTermRhythm {
  uint32_t sampleRate = 0;  // Hz
  uint8_t bytesPerSample = 0;
  uint16_t year = 0;
  uint8_t month = 0, day = 0, hour = 0, minute = 0, second = 0;
  std::vector<uint8_t> leadIds;
  std::vector<uint16_t> multipliers;       // nV per unit, per lead
  std::vector<std::vector<float>> leads;   // µV
};

// False with the reason in `why` when the data do not fit the layout or
// would exceed `max_per_lead` samples per lead or `max_total` in all.
bool ParseSection12(std::span<const uint8_t> data, size_t max_per_lead, size_t max_total,
                    LongTermRhythm& out, std::string& why);

}  // namespace ecg::scp
