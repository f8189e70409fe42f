#pragma once
// CECGPrintDialog: the modal "Report Options" dialog over the engine's
// report types, zoom lead and factor, speed, sensitivity, minor grid,
// included header blocks, report title and printer.

#include <QDialog>
#include <QString>
#include <map>
#include <memory>

class CECGPrint;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPrinter;
class QPushButton;

class CECGPrintDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CECGPrintDialog(bool print_setup_enabled, QWidget* parent = nullptr);
  ~CECGPrintDialog() override;

  // Controls from the engine; values that match no list entry leave speed
  // and sensitivity at their defaults and the zoom factor unselected.
  void LoadFrom(const CECGPrint& engine);
  // Controls to the engine. An unselected zoom factor keeps the engine's.
  void CopyTo(CECGPrint& engine) const;
  void RestoreDefaults();

  // For tests and callers that drive the dialog.
  QCheckBox* TypeBox(int type) const;
  QComboBox* SpeedBox() const { return m_speed; }
  QComboBox* SensitivityBox() const { return m_sensitivity; }
  QComboBox* MinorGridBox() const { return m_minorGrid; }
  QComboBox* LeadBox() const { return m_zoomLead; }
  QComboBox* ScaleBox() const { return m_zoomScale; }
  QLineEdit* TitleEdit() const { return m_title; }
  QPushButton* PrinterSetupButton() const { return m_printerSetup; }
  QPushButton* RestoreDefaultsButton() const { return m_restore; }
  QPushButton* OkButton() const { return m_ok; }
  QPushButton* CancelButton() const { return m_cancel; }
  QCheckBox* MeasurementsBox() const { return m_measurements; }
  QCheckBox* InterpretationBox() const { return m_interpretation; }
  QCheckBox* CommentsBox() const { return m_comments; }

 private slots:
  void UpdateZoomControls();
  void ChoosePrinter();

 private:
  std::map<int, QCheckBox*> m_types;
  QComboBox* m_zoomLead = nullptr;
  QComboBox* m_zoomScale = nullptr;
  QComboBox* m_speed = nullptr;
  QComboBox* m_sensitivity = nullptr;
  QComboBox* m_minorGrid = nullptr;
  QCheckBox* m_measurements = nullptr;
  QCheckBox* m_interpretation = nullptr;
  QCheckBox* m_comments = nullptr;
  QLineEdit* m_title = nullptr;
  QPushButton* m_printerSetup = nullptr;
  QPushButton* m_restore = nullptr;
  QPushButton* m_ok = nullptr;
  QPushButton* m_cancel = nullptr;
  std::unique_ptr<QPrinter> m_printer;  // the remembered printer setup
  bool m_printerChosen = false;
};
