#include "dsp/indications.h"

#include <cstdio>

namespace ecg::dsp {

bool AnyLeadOff(std::span<const uint32_t> status_words) {
  for (uint32_t word : status_words) {
    if ((word & kLeadOffStatusBits) != 0) return true;
  }
  return false;
}

std::string HeartRateText(double rate, bool data_arriving) {
  if (!data_arriving || rate == 0.0) return "---";
  char text[64];
  std::snprintf(text, sizeof text, "%3.0f", rate);
  std::string s(text);
  return s.size() > 3 ? s.substr(s.size() - 3) : s;
}

}  // namespace ecg::dsp
