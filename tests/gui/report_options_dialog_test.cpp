// The "Report Options" dialog driven through its widgets.

#include "report/report_options_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "qt_test_app.h"
#include "report/ecg_print.h"
#include "report/report_types.h"

namespace {

using namespace ecg::report;

constexpr int kAllDialogTypes[] = {1, 2, 4, 8, 16, 32, 64, 128, 1024, 2048, 4096, 8192};

class ReportOptionsDialog : public ::testing::Test {
 protected:
  void SetUp() override { ecg::test::EnsureQtApplication(); }
};

TEST_F(ReportOptionsDialog, DefaultsAndRestoreDefaults) {
  CECGPrintDialog dialog(true);
  EXPECT_EQ(dialog.windowTitle(), "Report Options");
  for (int type : kAllDialogTypes) {
    ASSERT_NE(dialog.TypeBox(type), nullptr) << type;
    EXPECT_EQ(dialog.TypeBox(type)->isChecked(), type == 1 || type == 64) << type;
  }
  EXPECT_EQ(dialog.TypeBox(4)->text(), "6x2 Format");
  EXPECT_FALSE(dialog.TypeBox(2048)->isEnabled());
  EXPECT_EQ(dialog.SpeedBox()->currentText(), "25 mm/s");
  EXPECT_EQ(dialog.SensitivityBox()->currentText(), "10 mm/mV");
  EXPECT_EQ(dialog.MinorGridBox()->currentText(), "None");
  EXPECT_EQ(dialog.LeadBox()->currentText(), "II");
  EXPECT_EQ(dialog.ScaleBox()->currentText(), "1x");
  EXPECT_EQ(dialog.ScaleBox()->count(), 5);
  EXPECT_EQ(dialog.ScaleBox()->itemText(4), "16x");
  EXPECT_EQ(dialog.TitleEdit()->maxLength(), 100);
  EXPECT_FALSE(dialog.LeadBox()->isEnabled());

  // Ticking "Strip" enables the zoom controls; "Restore Defaults" undoes all.
  dialog.TypeBox(4096)->click();
  EXPECT_TRUE(dialog.TypeBox(4096)->isChecked());
  EXPECT_TRUE(dialog.LeadBox()->isEnabled());
  EXPECT_TRUE(dialog.ScaleBox()->isEnabled());
  dialog.SpeedBox()->setCurrentIndex(2);
  dialog.TypeBox(1)->setChecked(false);
  dialog.CommentsBox()->setChecked(false);
  dialog.TitleEdit()->setText("Ward 4");
  dialog.RestoreDefaultsButton()->click();
  EXPECT_FALSE(dialog.TypeBox(4096)->isChecked());
  EXPECT_TRUE(dialog.TypeBox(1)->isChecked());
  EXPECT_TRUE(dialog.CommentsBox()->isChecked());
  EXPECT_EQ(dialog.SpeedBox()->currentIndex(), 1);
  EXPECT_TRUE(dialog.TitleEdit()->text().isEmpty());
  EXPECT_FALSE(dialog.LeadBox()->isEnabled());
}

TEST_F(ReportOptionsDialog, PrinterSetupButtonFollowsTheCaller) {
  CECGPrintDialog with(true), without(false);
  EXPECT_FALSE(with.PrinterSetupButton()->isHidden());
  EXPECT_TRUE(without.PrinterSetupButton()->isHidden());
}

TEST_F(ReportOptionsDialog, ValuesOutsideTheListsSnapToDefaultsOnOk) {
  CECGPrint engine;
  engine.m_speed = 30.0;  // read from a file as it stood
  engine.m_sensitivity = 20.0;
  engine.m_zoomScale = 3.0;
  engine.m_zoomLead = 7;
  engine.m_minorGrid = 2;
  engine.m_reportMask = 1 | 4 | 8192;
  engine.m_printInterpretation = false;
  engine.m_reportTitle = "Clinic";
  CECGPrintDialog dialog(false);
  dialog.LoadFrom(engine);
  EXPECT_EQ(dialog.SpeedBox()->currentText(), "25 mm/s");
  EXPECT_EQ(dialog.SensitivityBox()->currentText(), "20 mm/mV");
  EXPECT_EQ(dialog.ScaleBox()->currentIndex(), -1);
  EXPECT_EQ(dialog.LeadBox()->currentText(), "V2");
  EXPECT_EQ(dialog.MinorGridBox()->currentText(), "Dotted");
  EXPECT_TRUE(dialog.TypeBox(4)->isChecked());
  EXPECT_TRUE(dialog.LeadBox()->isEnabled());  // "Averaged Complex" is ticked
  EXPECT_FALSE(dialog.InterpretationBox()->isChecked());
  EXPECT_EQ(dialog.TitleEdit()->text(), "Clinic");

  dialog.CopyTo(engine);
  EXPECT_EQ(engine.m_speed, 25.0);
  EXPECT_EQ(engine.m_sensitivity, 20.0);
  EXPECT_EQ(engine.m_zoomScale, 3.0);  // no factor picked: kept
  EXPECT_EQ(engine.m_reportMask, 1 | 4 | 8192);
  EXPECT_EQ(engine.m_zoomLead, 7);
  EXPECT_FALSE(engine.m_printInterpretation);
  EXPECT_EQ(engine.m_reportTitle, "Clinic");
}

TEST_F(ReportOptionsDialog, ApplyCopiesWithoutShowing) {
  CECGPrint engine;
  engine.m_speed = 30.0;
  EXPECT_TRUE(engine.ShowOptionsDialog(true, 12, true));
  EXPECT_EQ(engine.m_speed, 25.0);
  EXPECT_EQ(engine.m_reportMask, kDefaultReportMask);
}

// Clicks a button of the modal dialog once it is shown.
void ClickWhenShown(bool ok) {
  QTimer::singleShot(0, [ok] {
    auto* dialog = qobject_cast<CECGPrintDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) {
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* d = qobject_cast<CECGPrintDialog*>(w); d && d->isVisible()) dialog = d;
      }
    }
    ASSERT_NE(dialog, nullptr);
    dialog->SpeedBox()->setCurrentIndex(0);
    QTest::mouseClick(ok ? dialog->OkButton() : dialog->CancelButton(), Qt::LeftButton);
  });
}

TEST_F(ReportOptionsDialog, CancelChangesNothingAndOkCopiesBack) {
  CECGPrint engine;
  ClickWhenShown(false);
  EXPECT_FALSE(engine.ShowOptionsDialog(true, 12, false));
  EXPECT_EQ(engine.m_speed, 25.0);
  ClickWhenShown(true);
  EXPECT_TRUE(engine.ShowOptionsDialog(true, 12, false));
  EXPECT_EQ(engine.m_speed, 12.5);
}

}  // namespace
