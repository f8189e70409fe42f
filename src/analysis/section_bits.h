#pragma once
// Sets of section ids as bit masks (bit n for Section n, n < 32), for the
// "copy every section except ..." steps of the analysis.

#include <cstdint>
#include <initializer_list>

namespace ecg::analysis {

constexpr uint32_t SectionBits(std::initializer_list<uint16_t> ids) {
  uint32_t bits = 0;
  for (uint16_t id : ids) bits |= 1u << id;
  return bits;
}

constexpr bool HasSection(uint32_t bits, uint16_t id) { return id < 32 && (bits & (1u << id)) != 0; }

// The sections an analysis produces and a new analysis replaces.
constexpr uint32_t kAnalysisSections = SectionBits({4, 5, 7, 9, 10});

}  // namespace ecg::analysis
