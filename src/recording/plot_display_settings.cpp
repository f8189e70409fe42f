#include "recording/plot_display_settings.h"

#include <algorithm>

CPlotDisplaySettings::CPlotDisplaySettings() { m_colours.fill(0x000000u); }

void CPlotDisplaySettings::SetGridStyle(int style) {
  m_gridStyle = style == 0 ? kGridNone : style == 2 ? kGridSolid : kGridDotted;
}

int CPlotDisplaySettings::Rows() const { return std::clamp(LeadsPerGroup(), 1, 12); }

int CPlotDisplaySettings::RowChannel(int row) const {
  if (m_customGroup && LeadsPerGroup() == 3) {
    return std::clamp<int>(m_customLeads[static_cast<size_t>(std::clamp(row, 0, 2))], 0, 11);
  }
  const int index = std::clamp(LeadGroup() * LeadsPerGroup() + row, 0, 11);
  return std::clamp<int>(m_order[static_cast<size_t>(index)], 0, 11);
}

const char* CPlotDisplaySettings::ChannelLabel(int channel) {
  static const char* const kLabels[12] = {"I",  "II", "V1",  "V2",  "V3",  "V4",
                                          "V5", "V6", "III", "aVR", "aVL", "aVF"};
  return channel >= 0 && channel < 12 ? kLabels[channel] : "";
}
