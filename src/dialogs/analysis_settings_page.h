#pragma once
// CAnalysisSettingsPage, "Analysis": the QTc method, the narrative
// interpretation and its two sub-options (enabled only while the
// interpretation is included), and whether re-analysis is allowed.

#include "dialogs/radio_choice.h"
#include "dialogs/settings_page.h"

class QCheckBox;
class QPushButton;

class CAnalysisSettingsPage : public ecg::dialogs::SettingsPage {
  Q_OBJECT

 public:
  explicit CAnalysisSettingsPage(QWidget* parent = nullptr);

  void Load(const CECGDefaultSettings& options) override;
  void Store(CECGDefaultSettings& options) const override;
  void RestoreDefaults() override;

  ecg::dialogs::RadioChoice* QtcMethod() const { return m_qtc; }
  QCheckBox* IncludeInterpretation() const { return m_interpretation; }
  QCheckBox* SuppressWarning() const { return m_suppress; }
  QCheckBox* IncludeCodes() const { return m_codes; }
  QCheckBox* AllowReanalyse() const { return m_reanalyse; }
  QPushButton* RestoreDefaultsButton() const { return m_restore; }

 private:
  void UpdateEnabled();

  ecg::dialogs::RadioChoice* m_qtc = nullptr;
  QCheckBox* m_interpretation = nullptr;
  QCheckBox* m_suppress = nullptr;
  QCheckBox* m_codes = nullptr;
  QCheckBox* m_reanalyse = nullptr;
  QPushButton* m_restore = nullptr;
};
