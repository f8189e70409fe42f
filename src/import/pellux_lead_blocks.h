#pragma once
// The handheld recorder's lead data blocks: how many bytes each holds for an
// event and how they become lead samples.

#include <cstdint>

#include "import/device_event.h"

namespace ecg::import {

struct LeadBlockCoding {
  uint32_t leads = 0;        // leads the block adds: 1, 2 or 8
  bool lead_number = false;  // the body starts with a 1-based lead number
};

// The coding of a lead data block type; false for other types.
bool LeadBlockCodingFor(uint8_t type, LeadBlockCoding* coding);
// Body bytes of a block for `samples` instants (lead number included).
uint64_t LeadBlockBytes(uint8_t type, uint32_t samples);
// Decodes a block's body into leads m_filled ... of the event, which must
// have room for them and `samples` samples each; advances m_filled.
void DecodeLeadBlock(uint8_t type, const uint8_t* body, uint32_t samples, uint8_t single_lead_index,
                     SLeadObj& leads);

}  // namespace ecg::import
