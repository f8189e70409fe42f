#pragma once
// CECGGeneralSettingsPage, "General": amplitude units, measurement system,
// speed, sensitivity and whether the review window may export XML. After the
// host removed the units choice the "Measurement System" group is hidden.

#include "dialogs/radio_choice.h"
#include "dialogs/settings_page.h"

class QCheckBox;
class QPushButton;

class CECGGeneralSettingsPage : public ecg::dialogs::SettingsPage {
  Q_OBJECT

 public:
  explicit CECGGeneralSettingsPage(QWidget* parent = nullptr);

  void Load(const CECGDefaultSettings& options) override;
  void Store(CECGDefaultSettings& options) const override;
  void RestoreDefaults() override;
  void SetUnitsRemoved(bool removed);

  ecg::dialogs::RadioChoice* AmplitudeUnits() const { return m_units; }
  ecg::dialogs::RadioChoice* MeasurementSystem() const { return m_system; }
  ecg::dialogs::RadioChoice* Speed() const { return m_speed; }
  ecg::dialogs::RadioChoice* Sensitivity() const { return m_sensitivity; }
  QCheckBox* AllowXmlExport() const { return m_xml; }
  QPushButton* RestoreDefaultsButton() const { return m_restore; }

 private:
  ecg::dialogs::RadioChoice* m_units = nullptr;
  ecg::dialogs::RadioChoice* m_system = nullptr;
  ecg::dialogs::RadioChoice* m_speed = nullptr;
  ecg::dialogs::RadioChoice* m_sensitivity = nullptr;
  QCheckBox* m_xml = nullptr;
  QPushButton* m_restore = nullptr;
};
