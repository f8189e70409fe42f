#pragma once
// CReviewWindowOptions, "Review Window": the review window's colours, grid
// and whether it shows the details pane.

#include "dialogs/radio_choice.h"
#include "dialogs/settings_page.h"

class QCheckBox;
class QPushButton;

class CReviewWindowOptions : public ecg::dialogs::SettingsPage {
  Q_OBJECT

 public:
  explicit CReviewWindowOptions(QWidget* parent = nullptr);

  void Load(const CECGDefaultSettings& options) override;
  void Store(CECGDefaultSettings& options) const override;
  void RestoreDefaults() override;

  ecg::dialogs::RadioChoice* Colors() const { return m_colors; }
  ecg::dialogs::RadioChoice* Grid() const { return m_grid; }
  QCheckBox* ShowDetails() const { return m_details; }
  QPushButton* RestoreDefaultsButton() const { return m_restore; }

 private:
  ecg::dialogs::RadioChoice* m_colors = nullptr;
  ecg::dialogs::RadioChoice* m_grid = nullptr;
  QCheckBox* m_details = nullptr;
  QPushButton* m_restore = nullptr;
};
