#pragma once
// The recording window's lead list: which leads each entry shows, and how
// the group arrows move between entries.

#include <array>

namespace ecg::recording {

struct LeadListEntry {
  const char* text;
  int leads_per_group;
  int group;
  bool custom_group;
  bool three_by_four;
};

inline constexpr int kLeadListEntries = 9;

// Entries 0..8: "I, II, III" ... "3x4 View".
const std::array<LeadListEntry, kLeadListEntries>& LeadList();

// The entry the group-up / group-down arrow moves to (unchanged for the
// custom group, "12 Leads" and "3x4 View").
int GroupUp(int entry);
int GroupDown(int entry);

// The entry that shows leads per group / group / custom flags, or -1.
int LeadListEntryFor(int leads_per_group, int group, bool custom_group, bool three_by_four);

}  // namespace ecg::recording
