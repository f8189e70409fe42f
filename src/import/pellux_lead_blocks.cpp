#include "import/pellux_lead_blocks.h"

#include "import/pellux_blocks.h"
#include "import/sample_coding.h"

namespace ecg::import {

bool LeadBlockCodingFor(uint8_t type, LeadBlockCoding* coding) {
  switch (type) {
    case kPelluxLead6:
    case kPelluxLead10:
    case kPelluxLead21: *coding = {1, false}; return true;
    case kPelluxLead7:
    case kPelluxLead11: *coding = {1, true}; return true;
    case kPelluxLead22: *coding = {2, false}; return true;
    case kPelluxLead23: *coding = {8, false}; return true;
    default: return false;
  }
}

uint64_t LeadBlockBytes(uint8_t type, uint32_t samples) {
  const uint64_t n = samples;
  switch (type) {
    case kPelluxLead6: return n;
    case kPelluxLead7: return 1 + n;
    case kPelluxLead10: return n / 2 * 3;
    case kPelluxLead11: return 1 + n / 2 * 3;
    case kPelluxLead21: return 2 * n;
    case kPelluxLead22: return 4 * n;
    case kPelluxLead23: return 13 * n;
    default: return 0;
  }
}

void DecodeLeadBlock(uint8_t type, const uint8_t* body, uint32_t samples, uint8_t single_lead_index,
                     SLeadObj& leads) {
  SLeadData* first = &leads.m_leads[leads.m_filled];
  switch (type) {
    case kPelluxLead7:
    case kPelluxLead11:
      first->m_leadIndex = body[0] == 0 ? kLeadIndexUnspecified : static_cast<uint8_t>(body[0] - 1);
      ++body;
      break;
    case kPelluxLead22:
      first[0].m_leadIndex = kLeadIndexI;
      first[1].m_leadIndex = kLeadIndexII;
      break;
    case kPelluxLead23:
      first[0].m_leadIndex = kLeadIndexI;
      first[1].m_leadIndex = kLeadIndexII;
      for (uint8_t v = 0; v < 6; ++v) first[2 + v].m_leadIndex = kLeadIndexV1 + v;
      break;
    default: first->m_leadIndex = single_lead_index; break;
  }
  switch (type) {
    case kPelluxLead6:
    case kPelluxLead7:
      for (uint32_t k = 0; k < samples; ++k) {
        first->m_samples[k] = static_cast<int16_t>(body[k] - 128);
      }
      leads.m_filled += 1;
      break;
    case kPelluxLead10:
    case kPelluxLead11:
      // Two consecutive samples per three bytes; an odd last sample stays 0.
      for (uint32_t k = 0; k + 1 < samples; k += 2, body += 3) {
        Decode12BitPair(body, &first->m_samples[k], &first->m_samples[k + 1]);
      }
      leads.m_filled += 1;
      break;
    case kPelluxLead21:
      for (uint32_t k = 0; k < samples; ++k, body += 2) {
        first->m_samples[k] = DecodeSingleLeadFrame(body[0], body[1]);
      }
      leads.m_filled += 1;
      break;
    case kPelluxLead22:
      for (uint32_t k = 0; k < samples; ++k, body += 4) {
        Decode12BitPair(body, &first[0].m_samples[k], &first[1].m_samples[k]);
      }
      leads.m_filled += 2;
      break;
    case kPelluxLead23:
      for (uint32_t k = 0; k < samples; ++k, body += 13) {
        for (uint32_t pair = 0; pair < 4; ++pair) {
          Decode12BitPair(body + 3 * pair, &first[2 * pair].m_samples[k],
                          &first[2 * pair + 1].m_samples[k]);
        }
      }
      leads.m_filled += 8;
      break;
    default: break;
  }
}

}  // namespace ecg::import
