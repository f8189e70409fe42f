#include "recording/indications_line.h"

#include <cstdio>

namespace ecg::recording {

std::string IndicationsText(const std::array<uint32_t, 12>& status, uint32_t frames_received,
                            bool frozen) {
  if (frozen) return "Review";
  bool lead_off = false;
  bool zeroing = false;
  for (size_t c = 0; c < 8; ++c) {
    lead_off = lead_off || (status[c] & 0x2u) != 0;
    zeroing = zeroing || (status[c] & 0x1u) != 0;
  }
  std::string items;
  auto add = [&items](const char* item) {
    if (!items.empty()) items += "; ";
    items += item;
  };
  if (lead_off) add("Lead off");
  if (zeroing) add("Lead Zeroing");
  if (frames_received < 5000) add("Data dropped");
  if (items.empty()) items = "OK";
  return "Cable Status: " + items;
}

std::string RecordedClockText(uint64_t bytes) {
  const uint64_t seconds = (bytes / 13 + 250) / 500;
  char text[16];
  std::snprintf(text, sizeof text, "%02u:%02u", static_cast<unsigned>((seconds / 60) % 60),
                static_cast<unsigned>(seconds % 60));
  return text;
}

}  // namespace ecg::recording
