#include "recording/lead_list.h"

#include <cstddef>

namespace ecg::recording {

const std::array<LeadListEntry, kLeadListEntries>& LeadList() {
  static const std::array<LeadListEntry, kLeadListEntries> kList = {{
      {"I, II, III", 3, 0, false, false},
      {"aVR, aVL, aVF", 3, 1, false, false},
      {"V1, V2, V3", 3, 2, false, false},
      {"V4, V5, V6", 3, 3, false, false},
      {"Custom Group", 3, 0, true, false},
      {"Limb Leads", 6, 0, false, false},
      {"Chest Leads", 6, 1, false, false},
      {"12 Leads", 12, 0, false, false},
      {"3x4 View", 12, 0, false, true},
  }};
  return kList;
}

int GroupUp(int entry) {
  switch (entry) {
    case 0: return 3;
    case 1: return 0;
    case 2: return 1;
    case 3: return 2;
    case 5: return 6;
    case 6: return 5;
    default: return entry;
  }
}

int GroupDown(int entry) {
  switch (entry) {
    case 0: return 1;
    case 1: return 2;
    case 2: return 3;
    case 3: return 0;
    case 5: return 6;
    case 6: return 5;
    default: return entry;
  }
}

int LeadListEntryFor(int leads_per_group, int group, bool custom_group, bool three_by_four) {
  const auto& list = LeadList();
  for (int i = 0; i < kLeadListEntries; ++i) {
    const auto& e = list[static_cast<std::size_t>(i)];
    if (e.leads_per_group != leads_per_group || e.custom_group != custom_group) continue;
    if (leads_per_group == 12) {
      if (e.three_by_four == three_by_four) return i;
      continue;
    }
    if (custom_group || e.group == group) return i;
  }
  return -1;
}

}  // namespace ecg::recording
