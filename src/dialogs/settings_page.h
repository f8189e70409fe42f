#pragma once
// What every page of the settings sheet does: show the options it edits,
// write them back, and put its own defaults into its controls.

#include <QWidget>

class CECGDefaultSettings;

namespace ecg::dialogs {

class SettingsPage : public QWidget {
  Q_OBJECT

 public:
  using QWidget::QWidget;
  virtual void Load(const CECGDefaultSettings& options) = 0;
  virtual void Store(CECGDefaultSettings& options) const = 0;

 public slots:
  virtual void RestoreDefaults() = 0;
};

}  // namespace ecg::dialogs
