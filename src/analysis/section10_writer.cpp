// Section 10 (per-lead measurements) built from the model.

#include <algorithm>
#include <cstring>
#include <vector>

#include "analysis/analysis.h"
#include "platform/last_error.h"
#include "scp/little_endian.h"

using namespace ecg::platform;

bool CAnalysis::CreateSec10() {
  const SLeadMeasurements& measurements = m_leadMeasurements;
  if (measurements.m_count == 0 || !measurements.m_leads || (m_loaded & kSection10Bit) == 0 ||
      measurements.m_blockSize == 0) {
    return Fail(kErrorNoData);
  }
  if (m_stored.m_count + 1 >= kMaxStoredSections) return Fail(kErrorOutOfStructures);

  // Every lead block is written with the section's block size, so that a
  // reader stepping by it finds each block where it starts; a block field
  // that says otherwise does not move the blocks.
  const uint16_t block_size =
      std::min<uint16_t>(measurements.m_blockSize, SLeadMeasurements::kBlockSize);
  std::vector<uint8_t> bytes(kSectionHeaderSize, 0);
  bytes.reserve(kSectionHeaderSize + 4 + size_t{measurements.m_count} * block_size + 1);
  uint8_t word[2];
  ecg::scp::StoreU16(word, measurements.m_count);
  bytes.insert(bytes.end(), word, word + 2);
  ecg::scp::StoreU16(word, block_size);
  bytes.insert(bytes.end(), word, word + 2);
  for (uint32_t lead = 0; lead < measurements.m_count; ++lead) {
    uint16_t values[SLeadMeasurements::kBlockSize / 2];
    static_assert(sizeof values == sizeof(SLeadMeasurement));
    std::memcpy(values, &measurements.m_leads[lead], sizeof values);
    uint8_t block[SLeadMeasurements::kBlockSize];
    for (size_t v = 0; v < std::size(values); ++v) ecg::scp::StoreU16(block + 2 * v, values[v]);
    bytes.insert(bytes.end(), block, block + block_size);
  }
  if (bytes.size() % 2 != 0) bytes.push_back(0);
  return StoreBuiltSection(10, bytes);
}
