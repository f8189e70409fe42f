#pragma once
// Content bytes (after the 16-byte section header) of the lead, sample and
// measurement sections, for RecordBuilder::AddSection; and a whole synthetic
// resting ECG record built from them.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/record_builder.h"

namespace ecg::test {

// ----------------------------------------------------------------- Section 3

struct LeadRange {
  uint8_t code = 0;
  uint32_t start = 1;  // 1-based, inclusive
  uint32_t end = 0;
};

// Lead count, flags, then 9 bytes per lead.
Bytes Section3(const std::vector<LeadRange>& leads, uint8_t flags = 0);
// Flags for `n` leads all recorded simultaneously (bit 2 and bits 3-7).
uint8_t SimultaneousFlags(uint8_t n);

// ------------------------------------------------------------ Sections 5, 6

struct SampleSection {
  uint16_t multiplier = 1000;  // nV
  uint16_t interval = 2000;    // µs
  uint8_t difference = 0;
  uint8_t bimodal = 0;
  std::vector<std::vector<int16_t>> leads;
  // Byte lengths to state instead of 2 x each lead's sample count.
  std::optional<std::vector<uint16_t>> byte_lengths;
};

Bytes SampleSectionBytes(const SampleSection& section);

// ----------------------------------------------------------------- Section 7

struct GlobalBlock {
  uint16_t p_onset = 0, p_offset = 0, qrs_onset = 0, qrs_offset = 0, t_offset = 0;
  int16_t p_axis = 0, qrs_axis = 0, t_axis = 0;
};

struct GlobalSection {
  uint8_t spikes = 0;
  uint16_t rr = 0, pp = 0;
  std::vector<GlobalBlock> blocks;
  // Stated block count instead of blocks.size().
  std::optional<uint8_t> block_count;
};

Bytes Section7(const GlobalSection& section);

// ----------------------------------------------------------------- Section 9

// Ten 3-character entries, rhythm entries first: `entries` is used as given
// (30 characters make a complete section).
Bytes Section9(const std::string& entries);
// A complete Section 9 from codes: rhythm and morphology codes as three
// digits each, unused entries blank.
Bytes Section9Codes(const std::vector<uint16_t>& rhythm, const std::vector<uint16_t>& morphology);

// ---------------------------------------------------------------- Section 10

// The 31 values of one lead block (lead code first, then the length field,
// then the 29 measurements in file order).
using LeadBlock = std::array<int16_t, 31>;

// A lead block with plausible measurements for a lead code.
LeadBlock TypicalLeadBlock(uint8_t code);

// Lead count, block size, then `block_size` bytes per lead: the block's
// values as far as they go, zeros after them.
Bytes Section10(const std::vector<LeadBlock>& leads, uint16_t block_size = 62);

// ------------------------------------------------------------ Whole records

// The codes of the eight leads a cart acquires (I, II, V1-V6) and of all
// twelve (the eight, then III, aVR, aVL, aVF).
std::vector<uint8_t> AcquiredLeadCodes();
std::vector<uint8_t> TwelveLeadCodes();

// A synthetic resting ECG: PQRST beats at `heart_rate`, shaped per lead;
// the limb leads III, aVR, aVL and aVF follow from I and II as a cart
// derives them. Samples in µV.
std::vector<int16_t> SyntheticLead(uint8_t code, uint32_t samples, uint32_t rate_hz,
                                   uint32_t heart_rate = 72);

struct EcgRecordSpec {
  std::vector<uint8_t> leads = TwelveLeadCodes();
  uint32_t seconds = 10;
  uint32_t rate_hz = 500;
  bool medians = true;       // Section 5: one 1.2 s beat per lead
  bool measurements = true;  // Sections 7, 9 and 10
  bool p_wave = true;        // false: Section 7's P marks are "not computed"
  bool section1 = true;
};

// Sections 1, 3, 6 and (as asked) 5, 7, 9, 10 of a synthetic resting ECG.
Bytes SyntheticEcgRecord(const EcgRecordSpec& spec = {});

}  // namespace ecg::test
