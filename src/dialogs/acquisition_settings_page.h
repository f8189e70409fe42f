#pragma once
// CECGAcquisitionSettingsPage, "Acquisition Settings": the recording
// window's colours, grid, sounds, custom lead group, rhythm strip lead, PDF
// creation, filters and lead group. The lead lists show the labels of the
// display order; a stored lead identifier is shown at the position whose
// m_leadIds entry equals it and is stored back the same way. The 50/60 Hz
// choice is enabled only while the power filter is on.

#include <array>

#include "dialogs/radio_choice.h"
#include "dialogs/settings_page.h"

class QCheckBox;
class QComboBox;
class QPushButton;

class CECGAcquisitionSettingsPage : public ecg::dialogs::SettingsPage {
  Q_OBJECT

 public:
  static constexpr int kCustomLeads = 3;

  explicit CECGAcquisitionSettingsPage(QWidget* parent = nullptr);

  void Load(const CECGDefaultSettings& options) override;
  void Store(CECGDefaultSettings& options) const override;
  void RestoreDefaults() override;

  ecg::dialogs::RadioChoice* Colors() const { return m_colors; }
  ecg::dialogs::RadioChoice* Grid() const { return m_grid; }
  ecg::dialogs::RadioChoice* PowerFrequency() const { return m_frequency; }
  QCheckBox* QrsBeep() const { return m_qrsBeep; }
  QCheckBox* LeadsOffBeep() const { return m_leadsOffBeep; }
  QCheckBox* MidiSound() const { return m_midi; }
  QCheckBox* CreatePdf() const { return m_pdf; }
  QCheckBox* MuscleFilter() const { return m_muscle; }
  QCheckBox* PowerFilter() const { return m_power; }
  QComboBox* CustomLead(int entry) const { return m_custom[static_cast<size_t>(entry)]; }
  QComboBox* RhythmLead() const { return m_rhythm; }
  QComboBox* LeadGroup() const { return m_leadGroup; }
  QPushButton* RestoreDefaultsButton() const { return m_restore; }

 private:
  void UpdateEnabled();

  ecg::dialogs::RadioChoice* m_colors = nullptr;
  ecg::dialogs::RadioChoice* m_grid = nullptr;
  ecg::dialogs::RadioChoice* m_frequency = nullptr;
  QCheckBox* m_qrsBeep = nullptr;
  QCheckBox* m_leadsOffBeep = nullptr;
  QCheckBox* m_midi = nullptr;
  QCheckBox* m_pdf = nullptr;
  QCheckBox* m_muscle = nullptr;
  QCheckBox* m_power = nullptr;
  std::array<QComboBox*, kCustomLeads> m_custom{};
  QComboBox* m_rhythm = nullptr;
  QComboBox* m_leadGroup = nullptr;
  QPushButton* m_restore = nullptr;
};
