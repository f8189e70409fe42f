#include "interface/lead_tables.h"

int CLeadTables::PositionOfLeadId(int lead_id) {
  for (int i = 0; i < kLeadCount; ++i) {
    if (m_leadIds[static_cast<size_t>(i)] == lead_id) return i;
  }
  return -1;
}

int CLeadTables::LeadIdAtPosition(int position) {
  if (position < 0 || position >= kLeadCount) return -1;
  return m_leadIds[static_cast<size_t>(position)];
}

const char* CLeadTables::LabelOfLeadId(int lead_id) {
  return LabelAtPosition(PositionOfLeadId(lead_id));
}

const char* CLeadTables::LabelAtPosition(int position) {
  if (position < 0 || position >= kLeadCount) return nullptr;
  return m_leadLabels[static_cast<size_t>(position)];
}

const char* CLeadTables::LeadGroupName(int lead_group) {
  if (lead_group < 0 || lead_group >= kLeadGroupCount) return nullptr;
  return m_leadGroups[static_cast<size_t>(lead_group)];
}
