// The "Patient Information" dialog driven through its widgets: units and
// conversions, the validation order with its messages and focus, OK and
// Cancel over the patient block.

#include "dialogs/ecg_patient_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstring>

#include "dialogs_screenshot.h"
#include "platform/prompt.h"
#include "qt_test_app.h"

namespace {

using ecg::interface::PatientBlock;
using ecg::platform::ScriptedPrompt;

constexpr int kMetric = 0;
constexpr int kImperial = 1;
const QDate kToday(2026, 6, 15);

class PatientDialog : public ::testing::Test {
 protected:
  void SetUp() override { ecg::test::EnsureQtApplication(); }

  // A complete, valid patient.
  static PatientBlock Complete() {
    PatientBlock block;
    ecg::interface::SetPatientText(block.patientId, "P-17");
    ecg::interface::SetPatientText(block.firstName, "Ann");
    ecg::interface::SetPatientText(block.lastName, "Smith");
    block.height = 170.0;
    block.weight = 70.9;
    block.gender = 2;
    block.yearOfBirth = 1960;
    block.monthOfBirth = 3;
    block.dayOfBirth = 4;
    return block;
  }

  // The dialog over `block`, shown, with the fixed day as "today".
  std::unique_ptr<CECGPatientDialog> Open(const PatientBlock& block, int units) {
    auto dialog = std::make_unique<CECGPatientDialog>(units);
    dialog->SetToday([] { return kToday; });
    dialog->Fill(block);
    dialog->show();
    return dialog;
  }

  // Presses OK and returns the one message it showed ("" when none).
  std::string PressOk(CECGPatientDialog& dialog) {
    prompt_.Clear();
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    const auto shown = prompt_.shown();
    if (shown.empty()) return {};
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown.front().caption, "Error");
    return shown.front().text;
  }

  ScriptedPrompt prompt_;
  ecg::platform::ScopedPrompt scoped_{&prompt_};
};

TEST_F(PatientDialog, ImperialUnitsShowFeetInchesAndPounds) {
  auto dialog = Open(Complete(), kImperial);
  EXPECT_EQ(dialog->windowTitle(), "Patient Information");
  EXPECT_EQ(dialog->HeightEdit()->text(), "5");
  EXPECT_EQ(dialog->InchesEdit()->text(), "6");
  EXPECT_EQ(dialog->WeightEdit()->text(), "156");
  EXPECT_EQ(dialog->HeightUnitLabel()->text(), "ft.");
  EXPECT_EQ(dialog->InchesUnitLabel()->text(), "in.");
  EXPECT_EQ(dialog->WeightUnitLabel()->text(), "lbs.");
  EXPECT_TRUE(dialog->InchesEdit()->isVisible());
  EXPECT_EQ(dialog->GenderBox()->currentText(), "Female");
  EXPECT_EQ(dialog->BirthDateEdit()->date(), QDate(1960, 3, 4));
  ecg::test::SaveDialogScreenshot(*dialog, "patient_imperial");

  // Confirming without a change stores the whole inches back: 66 x 2.54.
  EXPECT_EQ(PressOk(*dialog), "");
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  PatientBlock out;
  dialog->CopyTo(out);
  EXPECT_NEAR(out.height, 167.64, 1e-9);
  EXPECT_NEAR(out.weight, 156 * 0.4536, 1e-9);
  EXPECT_EQ(out.gender, 2);
  EXPECT_EQ(out.yearOfBirth, 1960);
  EXPECT_EQ(out.monthOfBirth, 3);
  EXPECT_EQ(out.dayOfBirth, 4);
  EXPECT_STREQ(out.lastName, "Smith");
}

TEST_F(PatientDialog, MetricUnitsShowWholeCentimetresAndKilograms) {
  auto dialog = Open(Complete(), kMetric);
  EXPECT_EQ(dialog->HeightEdit()->text(), "170");
  EXPECT_EQ(dialog->WeightEdit()->text(), "70");
  EXPECT_EQ(dialog->HeightUnitLabel()->text(), "cm");
  EXPECT_EQ(dialog->WeightUnitLabel()->text(), "kg");
  EXPECT_FALSE(dialog->InchesEdit()->isVisible());
  EXPECT_FALSE(dialog->InchesUnitLabel()->isVisible());
  ecg::test::SaveDialogScreenshot(*dialog, "patient_metric");

  EXPECT_EQ(PressOk(*dialog), "");
  PatientBlock out;
  dialog->CopyTo(out);
  EXPECT_EQ(out.height, 170.0);
  EXPECT_EQ(out.weight, 70.0);
}

TEST_F(PatientDialog, EditedValuesGoBackIntoTheBlock) {
  auto dialog = Open(Complete(), kImperial);
  dialog->PatientIdEdit()->setText("X9");
  dialog->FirstNameEdit()->setText("Zoë");
  dialog->HeightEdit()->setText("6");
  dialog->InchesEdit()->setText("0");
  dialog->WeightEdit()->setText("200");
  dialog->GenderBox()->setCurrentIndex(0);
  dialog->BirthDateEdit()->setDate(QDate(2000, 2, 29));
  EXPECT_EQ(PressOk(*dialog), "");
  PatientBlock out;
  dialog->CopyTo(out);
  EXPECT_STREQ(out.patientId, "X9");
  EXPECT_STREQ(out.firstName, "Zo\xC3\xAB");
  EXPECT_NEAR(out.height, 72 * 2.54, 1e-9);
  EXPECT_NEAR(out.weight, 200 * 0.4536, 1e-9);
  EXPECT_EQ(out.gender, 1);
  EXPECT_EQ(out.yearOfBirth, 2000);
  EXPECT_EQ(out.monthOfBirth, 2);
  EXPECT_EQ(out.dayOfBirth, 29);
}

// Each missing field fails with the same message, in the stated order, and
// the focus lands on that field.
TEST_F(PatientDialog, MissingDetailsFailInOrderWithFocusOnTheField) {
  auto dialog = Open(Complete(), kImperial);
  dialog->PatientIdEdit()->clear();
  dialog->FirstNameEdit()->clear();
  dialog->LastNameEdit()->clear();
  dialog->HeightEdit()->setText("0");
  dialog->WeightEdit()->clear();
  dialog->GenderBox()->setCurrentIndex(-1);

  struct Step {
    QWidget* control;
    std::function<void()> fix;
  };
  const Step steps[] = {
      {dialog->PatientIdEdit(), [&] { dialog->PatientIdEdit()->setText("1"); }},
      {dialog->FirstNameEdit(), [&] { dialog->FirstNameEdit()->setText("A"); }},
      {dialog->LastNameEdit(), [&] { dialog->LastNameEdit()->setText("B"); }},
      {dialog->HeightEdit(), [&] { dialog->HeightEdit()->setText("5"); }},
      {dialog->WeightEdit(), [&] { dialog->WeightEdit()->setText("150"); }},
      {dialog->GenderBox(), [&] { dialog->GenderBox()->setCurrentIndex(1); }},
  };
  for (const Step& step : steps) {
    EXPECT_EQ(PressOk(*dialog), "Please enter all patient details.");
    EXPECT_FALSE(dialog->isHidden()) << "the dialog stays open";
    EXPECT_EQ(dialog->focusWidget(), step.control);
    step.fix();
  }
  EXPECT_EQ(PressOk(*dialog), "");
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(PatientDialog, GenderZeroShowsNoEntryAndFails) {
  PatientBlock block = Complete();
  block.gender = 0;
  auto dialog = Open(block, kMetric);
  EXPECT_EQ(dialog->GenderBox()->currentIndex(), -1);
  EXPECT_EQ(dialog->GenderBox()->currentText(), "");
  EXPECT_EQ(PressOk(*dialog), "Please enter all patient details.");
  EXPECT_EQ(dialog->focusWidget(), dialog->GenderBox());

  block.gender = 3;  // no such entry either
  dialog = Open(block, kMetric);
  EXPECT_EQ(dialog->GenderBox()->currentIndex(), -1);
}

TEST_F(PatientDialog, BirthDateChecks) {
  auto dialog = Open(Complete(), kMetric);
  auto check = [&](QDate birth) {
    dialog->BirthDateEdit()->setDate(birth);
    const std::string message = PressOk(*dialog);
    if (!message.empty()) {
      EXPECT_EQ(dialog->focusWidget(), dialog->BirthDateEdit());
    }
    return message;
  };
  EXPECT_EQ(check(kToday.addDays(1)), "Birth date must be less than today's date.");
  EXPECT_EQ(check(kToday), "\"Patient must be at least 1 year old.\"");
  EXPECT_EQ(check(QDate(2025, 6, 16)), "\"Patient must be at least 1 year old.\"");
  // 131 years by the calendar years, birthday not yet come this year.
  EXPECT_EQ(check(QDate(1895, 12, 31)), "Maximum age is 130.  Please re-enter birth date.");
  EXPECT_EQ(check(QDate(1895, 1, 1)), "Maximum age is 130.  Please re-enter birth date.");
  EXPECT_EQ(check(QDate(1896, 1, 1)), "");
}

TEST_F(PatientDialog, InchesOutsideZeroToElevenComeLast) {
  auto dialog = Open(Complete(), kImperial);
  dialog->InchesEdit()->setText("12");
  dialog->BirthDateEdit()->setDate(kToday);  // the date is checked first
  EXPECT_EQ(PressOk(*dialog), "\"Patient must be at least 1 year old.\"");
  dialog->BirthDateEdit()->setDate(QDate(1980, 1, 1));
  EXPECT_EQ(PressOk(*dialog), "Please enter an integer between 0 and 11.");
  EXPECT_EQ(dialog->focusWidget(), dialog->InchesEdit());
  dialog->InchesEdit()->setText("11");
  EXPECT_EQ(PressOk(*dialog), "");
}

TEST_F(PatientDialog, InvalidStoredDateLeavesThePickerUsable) {
  PatientBlock block = Complete();
  block.monthOfBirth = 13;
  auto dialog = Open(block, kMetric);
  EXPECT_TRUE(dialog->BirthDateEdit()->date().isValid());
  // "Today" is where the picker starts: OK refuses until a date is chosen.
  EXPECT_EQ(PressOk(*dialog), "\"Patient must be at least 1 year old.\"");
}

TEST_F(PatientDialog, RunReturnsOneOnOkAndCopiesBack) {
  PatientBlock block = Complete();
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<CECGPatientDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->WeightEdit()->setText("80");
    dialog->OkButton()->click();
  });
  EXPECT_EQ(RunPatientInfoDialog(block, kMetric, nullptr), 1);
  EXPECT_EQ(block.weight, 80.0);
  EXPECT_EQ(block.height, 170.0);  // 170.0 shown as 170 and stored as entered
}

TEST_F(PatientDialog, RunReturnsZeroOnCancelAndLeavesTheBlock) {
  PatientBlock block = Complete();
  PatientBlock before = block;
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<CECGPatientDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->LastNameEdit()->setText("Changed");
    dialog->HeightEdit()->setText("100");
    dialog->CancelButton()->click();
  });
  EXPECT_EQ(RunPatientInfoDialog(block, kImperial, nullptr), 0);
  EXPECT_EQ(std::memcmp(&block, &before, sizeof block), 0);
}

}  // namespace
