#include "spike_record.h"

#include "support/section_builders.h"

namespace ecg::test {

Bytes SquarePulseRecord(const std::vector<uint8_t>& codes,
                        const std::vector<std::pair<uint32_t, uint32_t>>& error_ranges) {
  constexpr uint32_t kRate = 500;
  constexpr uint32_t kSamples = 10 * kRate;
  std::vector<LeadRange> ranges;
  SampleSection rhythm;
  rhythm.interval = 1000000 / kRate;
  rhythm.multiplier = 1000;
  for (uint8_t code : codes) {
    ranges.push_back({code, 1, kSamples});
    std::vector<int16_t> lead(kSamples, 0);
    for (uint32_t k = 0; k < kSamples; ++k) {
      const uint32_t in_second = k % kRate;
      if (in_second >= kRate / 2 && in_second < kRate / 2 + kRate / 5) lead[k] = 1000;
    }
    if (code == 1) {
      for (const auto& [first, last] : error_ranges) {
        for (uint32_t k = first; k < last && k < kSamples; ++k) lead[k] = 2032;
      }
    }
    rhythm.leads.push_back(std::move(lead));
  }
  RecordBuilder builder;
  builder.AddSection1(TypicalSection1());
  builder.AddSection(3, Section3(ranges, SimultaneousFlags(static_cast<uint8_t>(codes.size()))));
  builder.AddSection(6, SampleSectionBytes(rhythm));
  return builder.Build();
}

}  // namespace ecg::test
