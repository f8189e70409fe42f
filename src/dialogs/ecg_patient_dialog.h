#pragma once
// CECGPatientDialog: the modal "Patient Information" dialog over the current
// patient's block, in metric or imperial units. Pressing OK validates the
// fields in a fixed order; the first failure is shown through the platform
// prompt (caption "Error") and the focus goes to the failing control.

#include <QDate>
#include <QDialog>
#include <functional>

#include "interface/patient_block.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

class CECGPatientDialog : public QDialog {
  Q_OBJECT

 public:
  // `measurement_system` 1 shows imperial units, anything else metric.
  explicit CECGPatientDialog(int measurement_system, QWidget* parent = nullptr);

  // Controls from the block (texts, height and weight in the dialog's units,
  // gender index gender - 1, the date of birth).
  void Fill(const ecg::interface::PatientBlock& block);
  // Controls to the block. Call only after the dialog was accepted.
  void CopyTo(ecg::interface::PatientBlock& block) const;

  // Runs the checks of OK; false after showing the first failure.
  bool Validate();

  // "Today" for the birth-date checks (tests set a fixed day).
  void SetToday(std::function<QDate()> today) { m_today = std::move(today); }

  bool imperial() const { return m_imperial; }
  QLineEdit* PatientIdEdit() const { return m_patientId; }
  QLineEdit* FirstNameEdit() const { return m_firstName; }
  QLineEdit* LastNameEdit() const { return m_lastName; }
  QLineEdit* HeightEdit() const { return m_height; }
  QLineEdit* InchesEdit() const { return m_inches; }
  QLineEdit* WeightEdit() const { return m_weight; }
  QComboBox* GenderBox() const { return m_gender; }
  QDateEdit* BirthDateEdit() const { return m_birthDate; }
  QLabel* HeightUnitLabel() const { return m_heightUnit; }
  QLabel* InchesUnitLabel() const { return m_inchesUnit; }
  QLabel* WeightUnitLabel() const { return m_weightUnit; }
  QPushButton* OkButton() const { return m_ok; }
  QPushButton* CancelButton() const { return m_cancel; }

 public slots:
  void accept() override;

 private:
  bool Fail(QWidget* control, const QString& text);

  bool m_imperial = false;
  std::function<QDate()> m_today;
  QLineEdit* m_patientId = nullptr;
  QLineEdit* m_firstName = nullptr;
  QLineEdit* m_lastName = nullptr;
  QLineEdit* m_height = nullptr;
  QLineEdit* m_inches = nullptr;
  QLineEdit* m_weight = nullptr;
  QComboBox* m_gender = nullptr;
  QDateEdit* m_birthDate = nullptr;
  QLabel* m_heightUnit = nullptr;
  QLabel* m_inchesUnit = nullptr;
  QLabel* m_weightUnit = nullptr;
  QPushButton* m_ok = nullptr;
  QPushButton* m_cancel = nullptr;
};

// The facade's patient dialog: fills the dialog from `block`, runs it modally
// and on OK copies the values back. Returns 1 for OK, 0 for Cancel (the block
// is then left as it was).
int RunPatientInfoDialog(ecg::interface::PatientBlock& block, int measurement_system,
                         QWidget* parent = nullptr);
