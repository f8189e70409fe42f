#pragma once
// CPlotDisplaySettings: what the live plot and the strip window need beyond
// the recording file's display facts (leads per group and group index):
// grid and plot styles, colours, the custom group and 3 x 4 layout flags,
// the display order of the twelve rows, the custom group's leads, the lead
// colours and the rhythm-strip lead.
//
// Lead numbers here are acquisition channels: 0 I, 1 II, 2..7 V1..V6,
// 8 III, 9 aVR, 10 aVL, 11 aVF.

#include <array>
#include <cstdint>

#include "acquisition/ecg_settings.h"

class CPlotDisplaySettings : public CDisplaySettings {
 public:
  enum GridPen : int { kGridNone = 0, kGridDotted = 1, kGridSolid = 2 };

  CPlotDisplaySettings();

  // 0 no grid, 2 solid lines, anything else dotted.
  void SetGridStyle(int style);
  // The channel of display row `row` of the current group (custom group
  // included), at most 11.
  int RowChannel(int row) const;
  // Rows the plot shows: min(leads per group, 12), at least 1.
  int Rows() const;
  bool ThreeByFour() const { return m_customLayout && LeadsPerGroup() == 12; }

  // "I", "II", "V1".."V6", "III", "aVR", "aVL", "aVF".
  static const char* ChannelLabel(int channel);

  int m_gridStyle = kGridDotted;
  int m_plotStyle = 1;
  uint32_t m_gridColour = 0xFFB0B0u;        // 0xRRGGBB
  uint32_t m_backgroundColour = 0xFFFFFFu;
  bool m_customGroup = false;
  bool m_customLayout = false;
  // Channels of the display order (display index -> channel).
  std::array<int16_t, 12> m_order{0, 1, 8, 9, 10, 11, 2, 3, 4, 5, 6, 7};
  std::array<int16_t, 3> m_customLeads{0, 1, 8};
  std::array<uint32_t, 12> m_colours{};
  int m_rhythmLead = 1;
};
