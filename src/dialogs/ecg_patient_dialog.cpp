#include "dialogs/ecg_patient_dialog.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/prompt.h"

using ecg::interface::BirthDateCheck;
using ecg::interface::BodyMeasures;
using ecg::interface::CalendarDate;
using ecg::interface::PatientBlock;

namespace {

constexpr int kMaxTextBytes = static_cast<int>(ecg::interface::kPatientTextSize) - 1;
constexpr int kMaxInches = 11;

int NumberIn(const QLineEdit* edit) {
  bool ok = false;
  const int value = edit->text().trimmed().toInt(&ok);
  return ok ? value : 0;
}

QString Text(const char (&field)[ecg::interface::kPatientTextSize]) {
  const std::string_view text = ecg::interface::PatientText(field);
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

CalendarDate ToCalendar(const QDate& date) { return {date.year(), date.month(), date.day()}; }

}  // namespace

CECGPatientDialog::CECGPatientDialog(int measurement_system, QWidget* parent)
    : QDialog(parent),
      m_imperial(measurement_system == ecg::interface::kImperialUnits),
      m_today([] { return QDate::currentDate(); }) {
  setWindowTitle(tr("Patient Information"));
  setModal(true);

  m_patientId = new QLineEdit;
  m_firstName = new QLineEdit;
  m_lastName = new QLineEdit;
  for (QLineEdit* edit : {m_patientId, m_firstName, m_lastName}) edit->setMaxLength(kMaxTextBytes);

  // Whole non-negative numbers only; the range of the inches is checked on OK
  // so that a wrong value gets its message instead of refusing keystrokes.
  auto number_edit = [this](int digits) {
    auto* edit = new QLineEdit;
    edit->setValidator(new QIntValidator(0, 999999, edit));
    edit->setMaxLength(digits);
    edit->setMaximumWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 8 + 12);
    return edit;
  };
  m_height = number_edit(6);
  m_inches = number_edit(3);
  m_weight = number_edit(6);
  m_heightUnit = new QLabel(m_imperial ? tr("ft.") : tr("cm"));
  m_inchesUnit = new QLabel(tr("in."));
  m_weightUnit = new QLabel(m_imperial ? tr("lbs.") : tr("kg"));

  m_gender = new QComboBox;
  m_gender->addItem(tr("Male"));
  m_gender->addItem(tr("Female"));
  m_gender->setCurrentIndex(-1);

  m_birthDate = new QDateEdit;
  m_birthDate->setCalendarPopup(true);
  m_birthDate->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
  m_birthDate->setMinimumDate(QDate(100, 1, 1));
  m_birthDate->setDate(m_today());

  auto* height_row = new QHBoxLayout;
  height_row->addWidget(m_height);
  height_row->addWidget(m_heightUnit);
  height_row->addWidget(m_inches);
  height_row->addWidget(m_inchesUnit);
  height_row->addStretch();
  auto* weight_row = new QHBoxLayout;
  weight_row->addWidget(m_weight);
  weight_row->addWidget(m_weightUnit);
  weight_row->addStretch();
  if (!m_imperial) {
    m_inches->hide();
    m_inchesUnit->hide();
  }

  auto* form = new QFormLayout;
  form->addRow(tr("Patient ID*"), m_patientId);
  form->addRow(tr("First Name*"), m_firstName);
  form->addRow(tr("Last Name*"), m_lastName);
  form->addRow(tr("Height*"), height_row);
  form->addRow(tr("Weight*"), weight_row);
  form->addRow(tr("Gender*"), m_gender);
  form->addRow(tr("Date of Birth*"), m_birthDate);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  m_ok = buttons->button(QDialogButtonBox::Ok);
  m_cancel = buttons->button(QDialogButtonBox::Cancel);
  m_ok->setText(tr("OK"));
  m_cancel->setText(tr("Cancel"));
  connect(buttons, &QDialogButtonBox::accepted, this, &CECGPatientDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CECGPatientDialog::reject);

  auto* top = new QVBoxLayout(this);
  top->addLayout(form);
  top->addWidget(buttons);
}

void CECGPatientDialog::Fill(const PatientBlock& block) {
  m_patientId->setText(Text(block.patientId));
  m_firstName->setText(Text(block.firstName));
  m_lastName->setText(Text(block.lastName));
  const BodyMeasures measures = ecg::interface::ToDialogMeasures(
      block.height, block.weight, m_imperial ? ecg::interface::kImperialUnits : 0);
  m_height->setText(QString::number(measures.height));
  m_inches->setText(QString::number(measures.inches));
  m_weight->setText(QString::number(measures.weight));
  const int index = block.gender - 1;
  m_gender->setCurrentIndex(index >= 0 && index < m_gender->count() ? index : -1);
  // A date the calendar does not know starts the picker at today, which OK
  // refuses until a real date is chosen.
  const QDate birth(block.yearOfBirth, block.monthOfBirth, block.dayOfBirth);
  m_birthDate->setDate(birth.isValid() ? birth : m_today());
}

void CECGPatientDialog::CopyTo(PatientBlock& block) const {
  ecg::interface::SetPatientText(block.patientId, m_patientId->text().toStdString());
  ecg::interface::SetPatientText(block.firstName, m_firstName->text().toStdString());
  ecg::interface::SetPatientText(block.lastName, m_lastName->text().toStdString());
  BodyMeasures measures;
  measures.height = NumberIn(m_height);
  measures.inches = m_imperial ? NumberIn(m_inches) : 0;
  measures.weight = NumberIn(m_weight);
  ecg::interface::FromDialogMeasures(measures, m_imperial ? ecg::interface::kImperialUnits : 0,
                                     block.height, block.weight);
  const QDate birth = m_birthDate->date();
  block.yearOfBirth = birth.year();
  block.monthOfBirth = birth.month();
  block.dayOfBirth = birth.day();
  block.gender = m_gender->currentIndex() + 1;
}

bool CECGPatientDialog::Fail(QWidget* control, const QString& text) {
  ecg::platform::ShowMessage(text.toStdString(), tr("Error").toStdString(),
                             ecg::platform::PromptButtons::kOk, ecg::platform::PromptIcon::kError);
  control->setFocus(Qt::OtherFocusReason);
  if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->selectAll();
  return false;
}

bool CECGPatientDialog::Validate() {
  const QString incomplete = tr("Please enter all patient details.");
  for (QLineEdit* edit : {m_patientId, m_firstName, m_lastName}) {
    if (edit->text().isEmpty()) return Fail(edit, incomplete);
  }
  if (NumberIn(m_height) == 0) return Fail(m_height, incomplete);
  if (NumberIn(m_weight) == 0) return Fail(m_weight, incomplete);
  if (m_gender->currentIndex() < 0) return Fail(m_gender, incomplete);

  switch (ecg::interface::CheckBirthDate(ToCalendar(m_birthDate->date()), ToCalendar(m_today()))) {
    case BirthDateCheck::kAfterToday:
      return Fail(m_birthDate, tr("Birth date must be less than today's date."));
    case BirthDateCheck::kUnderOneYear:
      return Fail(m_birthDate, tr("\"Patient must be at least 1 year old.\""));
    case BirthDateCheck::kOverMaximumAge:
      return Fail(m_birthDate, tr("Maximum age is 130.  Please re-enter birth date."));
    case BirthDateCheck::kOk:
      break;
  }
  if (m_imperial) {
    const int inches = NumberIn(m_inches);
    if (inches < 0 || inches > kMaxInches) {
      return Fail(m_inches, tr("Please enter an integer between %1 and %2.").arg(0).arg(kMaxInches));
    }
  }
  return true;
}

void CECGPatientDialog::accept() {
  if (Validate()) QDialog::accept();
}

int RunPatientInfoDialog(PatientBlock& block, int measurement_system, QWidget* parent) {
  CECGPatientDialog dialog(measurement_system, parent);
  dialog.Fill(block);
  if (dialog.exec() != QDialog::Accepted) return 0;
  dialog.CopyTo(block);
  return 1;
}
