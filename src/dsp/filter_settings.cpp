#include "dsp/filter_settings.h"

#include <cstdio>

#include "platform/ini_file.h"

CFilterSettings::CFilterSettings() {
  m_sampleVector.fill(kSampleZero);
  SetUp(kDefaultRate);
}

bool CFilterSettings::LoadSettings(const std::string& ini_path) {
  ecg::platform::IniFile ini;
  ini.Load(ini_path);  // on failure the file is empty and the defaults apply
  ApplySettings(ini);
  return true;
}

void CFilterSettings::ApplySettings(const ecg::platform::IniFile& ini) {
  m_muscle = ini.Int("Filters", "Muscle", 0) != 0;
  m_power = ini.Int("Filters", "Power", 0) != 0;
  m_mainsHz = ini.Int("Filters", "PowerType", 50) == 60 ? 60 : 50;
  SetAnyFilter();
}

void CFilterSettings::SetUp(double rate_hz) {
  m_design = ecg::dsp::SelectFilterDesign(rate_hz);
  const auto& design = ecg::dsp::GetFilterDesign(m_design);
  m_muscleFilter.SetUp(design);
  m_baselineFilter.SetUp(design);
  m_power60.SetUp(design, 60);
  m_power50.SetUp(design, 50);
  m_storePower60.SetUp(design, 60);
  m_storePower50.SetUp(design, 50);
}

void CFilterSettings::Filter() {
  if (!m_anyFilter) return;
  short* v = m_sampleVector.data();
  for (auto& s : m_sampleVector) s = static_cast<int16_t>(s - kSampleZero);
  if (m_power) {
    if (m_mainsHz == 50) {
      m_power50.Filter(v);
    } else {
      m_power60.Filter(v);
    }
  }
  if (m_muscle) m_muscleFilter.Filter(v);
  if (m_baseline) m_baselineFilter.Filter(v);
  for (auto& s : m_sampleVector) s = static_cast<int16_t>(s + kSampleZero);
}

void CFilterSettings::Reset() {
  m_muscleFilter.ClearDelayLines();
  m_baselineFilter.ClearDelayLines();
  m_power60.ClearDelayLines();
  m_power50.ClearDelayLines();
  SetAnyFilter();
}

void CFilterSettings::SetAnyFilter() { m_anyFilter = m_muscle || m_baseline || m_power; }

void CFilterSettings::SwitchFilters(bool muscle, bool baseline, bool power, uint8_t mains_hz) {
  Lock();
  m_muscle = muscle;
  m_baseline = baseline;
  m_power = power;
  SetMainsFrequency(mains_hz);
  SetAnyFilter();
  Reset();
  Unlock();
}

std::string CFilterSettings::FilterLabel() const {
  std::string label = "Filters: ";
  if (m_power) {
    char mains[16];
    std::snprintf(mains, sizeof mains, "%dHz; ", static_cast<int>(m_mainsHz));
    label += mains;
  }
  label += m_muscle ? "0.05 - 35 Hz" : "0.05 - 150 Hz";
  if (m_baseline) label += " Baseline";
  return label;
}
