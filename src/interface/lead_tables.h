#pragma once
// The lead tables shared by the facade, the settings sheet and the windows.
//
// Three numberings of the twelve leads meet in the options:
//  - display index 0..11: I, II, III, aVR, aVL, aVF, V1..V6 (m_leadLabels);
//  - lead identifier = acquisition channel 0..11: I, II, V1..V6 on the cable's
//    channels 0..7, the calculated III, aVR, aVL, aVF on channels 8..11;
//  - m_leadIds maps a display index to its lead identifier.
// CustomLeadGroup and RhythmStripLead hold lead identifiers; LeadOrder holds
// display indices.

#include <array>
#include <cstddef>
#include <cstdint>

class CLeadTables {
 public:
  static constexpr int kLeadCount = 12;

  // The label of each display index.
  static constexpr std::array<const char*, kLeadCount> m_leadLabels = {
      "I", "II", "III", "aVR", "aVL", "aVF", "V1", "V2", "V3", "V4", "V5", "V6"};

  // The lead identifier (acquisition channel) of each display index.
  static constexpr std::array<int16_t, kLeadCount> m_leadIds = {0, 1, 8, 9, 10, 11,
                                                                2, 3, 4, 5, 6,  7};

  // The acquisition display lead groups, in the order of the LeadGroup values.
  static constexpr int kLeadGroupCount = 9;
  static constexpr int kCustomLeadGroup = 4;
  static constexpr std::array<const char*, kLeadGroupCount> m_leadGroups = {
      "I, II, III",   "aVR, aVL, aVF", "V1, V2, V3", "V4, V5, V6", "Custom Group",
      "Limb Leads",   "Chest Leads",   "12 Leads",   "3x4 View"};

  // The display index whose m_leadIds entry equals `lead_id`; -1 when none does.
  static int PositionOfLeadId(int lead_id);
  // The lead identifier shown at a display index; -1 outside 0..11.
  static int LeadIdAtPosition(int position);
  // The label of a lead identifier; null when it is not one.
  static const char* LabelOfLeadId(int lead_id);
  // The label of a display index; null outside 0..11.
  static const char* LabelAtPosition(int position);
  // The text of a LeadGroup value; null outside the list.
  static const char* LeadGroupName(int lead_group);
};
