// The "Tidemark Settings" sheet: its pages, the control-to-option mapping,
// enabling rules, Restore Defaults per page, lead lists by display position,
// grid styles it cannot show, the hidden units group, OK and Cancel.

#include "dialogs/settings_sheet.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "dialogs/acquisition_settings_page.h"
#include "dialogs/analysis_settings_page.h"
#include "dialogs/general_settings_page.h"
#include "dialogs/lead_order_dialog.h"
#include "dialogs/review_window_options.h"
#include "dialogs_screenshot.h"
#include "qt_test_app.h"
#include "report/ecg_print.h"
#include "unit/interface/settings_sandbox.h"

namespace {

using ecg::dialogs::RadioChoice;

QString Checked(const RadioChoice* choice) {
  for (QRadioButton* button : choice->findChildren<QRadioButton*>()) {
    if (button->isChecked()) return button->text();
  }
  return {};
}

// As a click of the person (signals included), also on pages not in front.
void Click(QAbstractButton* button) { button->click(); }

// The options a person might have saved: nothing at its default.
CECGDefaultSettings Customised() {
  CECGDefaultSettings o;
  o.AmplitudeUnits = 1;
  o.MeasurementSystem = 0;
  o.Speed = 2;
  o.Sensitivity = 0;
  o.AllowXMLExport = 1;
  o.QTCMethod = 1;
  o.IncludeInterpretation = false;
  o.SuppressPatientDetailsWarning = false;
  o.IncludeInterpretationCodes = 0;
  o.AllowReanalyse = false;
  o.PlotStyle = 1;
  o.GridStyle = 0;
  o.QRSBeep = false;
  o.LeadsOffBeep = false;
  o.MIDISound = true;
  o.CustomLeadGroup = {8, 2, 11, 3, 4, 5, 6, 7, 0, 1, 9, 10};  // III, V1, aVF
  o.RhythmStripLead = 9;                                        // aVR
  o.CreatePDF = 1;
  o.MuscleFilter = true;
  o.PowerFilter = 1;
  o.PowerFilterChoice = 0;
  o.LeadGroup = 4;
  o.ReviewColor = 1;
  o.ReviewGridStyle = 2;
  o.ShowDetails = 0;
  o.LeadOrder = {11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
  return o;
}

class SettingsSheet : public ecg::test::SettingsSandbox {
 protected:
  void SetUp() override {
    SettingsSandbox::SetUp();
    ecg::test::EnsureQtApplication();
  }
};

TEST_F(SettingsSheet, FivePagesInOrder) {
  CECGDefaultSettings options;
  CSettingsSheet sheet(options, false);
  EXPECT_EQ(sheet.windowTitle(), "Tidemark Settings");
  QTabWidget* tabs = sheet.Tabs();
  ASSERT_EQ(tabs->count(), 5);
  EXPECT_EQ(tabs->tabText(0), "General");
  EXPECT_EQ(tabs->tabText(1), "Analysis");
  EXPECT_EQ(tabs->tabText(2), "Acquisition Settings");
  EXPECT_EQ(tabs->tabText(3), "Review Window");
  EXPECT_EQ(tabs->tabText(4), "Edit Lead Order");
  EXPECT_EQ(tabs->widget(0), sheet.GeneralPage());
  EXPECT_EQ(tabs->widget(4), sheet.LeadOrderPage());
  EXPECT_FALSE(sheet.LeadOrderPage()->OkButton()->isVisibleTo(&sheet));

  const char* names[] = {"general", "analysis", "acquisition", "review", "lead_order"};
  for (int i = 0; i < tabs->count(); ++i) {
    tabs->setCurrentIndex(i);
    EXPECT_FALSE(ecg::test::SaveDialogScreenshot(sheet, QStringLiteral("settings_%1").arg(names[i]))
                     .isEmpty());
  }
}

TEST_F(SettingsSheet, PagesShowTheOptions) {
  const CECGDefaultSettings options = Customised();
  CSettingsSheet sheet(options, false);
  auto* general = sheet.GeneralPage();
  EXPECT_EQ(Checked(general->AmplitudeUnits()), "Millimeters (mm)");
  EXPECT_EQ(Checked(general->MeasurementSystem()), "Metric (kg, cm)");
  EXPECT_EQ(Checked(general->Speed()), "50 mm/s");
  EXPECT_EQ(Checked(general->Sensitivity()), "5 mm/mV");
  EXPECT_TRUE(general->AllowXmlExport()->isChecked());
  EXPECT_EQ(general->AllowXmlExport()->text(), "Allow user to Export To XML");

  auto* analysis = sheet.AnalysisPage();
  EXPECT_EQ(Checked(analysis->QtcMethod()), "Fridericia");
  EXPECT_FALSE(analysis->IncludeInterpretation()->isChecked());
  EXPECT_FALSE(analysis->AllowReanalyse()->isChecked());

  auto* acquisition = sheet.AcquisitionPage();
  EXPECT_EQ(Checked(acquisition->Colors()), "Green on Black");
  EXPECT_EQ(Checked(acquisition->Grid()), "Solid Lines");
  EXPECT_TRUE(acquisition->MidiSound()->isChecked());
  EXPECT_FALSE(acquisition->QrsBeep()->isChecked());
  EXPECT_TRUE(acquisition->CreatePdf()->isChecked());
  EXPECT_TRUE(acquisition->MuscleFilter()->isChecked());
  EXPECT_TRUE(acquisition->PowerFilter()->isChecked());
  EXPECT_EQ(Checked(acquisition->PowerFrequency()), "50 Hz");
  EXPECT_EQ(acquisition->LeadGroup()->currentText(), "Custom Group");
  ASSERT_EQ(acquisition->LeadGroup()->count(), CLeadTables::kLeadGroupCount);
  for (int i = 0; i < CLeadTables::kLeadGroupCount; ++i) {
    EXPECT_EQ(acquisition->LeadGroup()->itemText(i), CLeadTables::LeadGroupName(i)) << i;
  }

  auto* review = sheet.ReviewPage();
  EXPECT_EQ(Checked(review->Colors()), "Green on Black");
  EXPECT_EQ(Checked(review->Grid()), "Dotted Lines");
  EXPECT_FALSE(review->ShowDetails()->isChecked());

  EXPECT_EQ(sheet.LeadOrderPage()->LeadOrder(), options.LeadOrder);
}

// Lead identifiers are shown at the display position whose m_leadIds entry
// equals them, and stored back the same way.
TEST_F(SettingsSheet, LeadListsUseDisplayPositions) {
  CECGDefaultSettings options = Customised();
  CSettingsSheet sheet(options, false);
  auto* page = sheet.AcquisitionPage();
  EXPECT_EQ(page->CustomLead(0)->currentIndex(), 2);
  EXPECT_EQ(page->CustomLead(0)->currentText(), "III");
  EXPECT_EQ(page->CustomLead(1)->currentText(), "V1");
  EXPECT_EQ(page->CustomLead(2)->currentText(), "aVF");
  EXPECT_EQ(page->RhythmLead()->currentText(), "aVR");
  ASSERT_EQ(page->RhythmLead()->count(), 12);
  EXPECT_EQ(page->RhythmLead()->itemText(6), "V1");

  page->CustomLead(0)->setCurrentIndex(3);  // aVR -> identifier 9
  page->CustomLead(2)->setCurrentIndex(6);  // V1 -> identifier 2
  page->RhythmLead()->setCurrentIndex(11);  // V6 -> identifier 7
  CECGDefaultSettings out = options;
  sheet.StoreAll(out);
  EXPECT_EQ(out.CustomLeadGroup[0], 9);
  EXPECT_EQ(out.CustomLeadGroup[1], 2);
  EXPECT_EQ(out.CustomLeadGroup[2], 2);
  EXPECT_EQ(out.RhythmStripLead, 7);
  // Entries past the three lists are not the page's.
  for (size_t i = 3; i < 12; ++i) EXPECT_EQ(out.CustomLeadGroup[i], options.CustomLeadGroup[i]);
}

TEST_F(SettingsSheet, ValuesItCannotShowAreKept) {
  CECGDefaultSettings options;
  options.RhythmStripLead = 42;
  options.CustomLeadGroup[1] = -3;
  options.Speed = 9;
  options.PlotStyle = 7;
  options.LeadGroup = 20;
  options.PowerFilterChoice = 4;
  CSettingsSheet sheet(options, false);
  EXPECT_EQ(sheet.AcquisitionPage()->RhythmLead()->currentIndex(), -1);
  EXPECT_EQ(sheet.AcquisitionPage()->CustomLead(1)->currentIndex(), -1);
  EXPECT_EQ(Checked(sheet.GeneralPage()->Speed()), "");
  EXPECT_EQ(sheet.AcquisitionPage()->LeadGroup()->currentIndex(), -1);
  CECGDefaultSettings out = options;
  sheet.StoreAll(out);
  EXPECT_EQ(out, options);
}

TEST_F(SettingsSheet, GridStylesOtherThanSolidOrDottedShowNoGrid) {
  for (int stored : {5, 1, 3, -1, 99}) {
    CECGDefaultSettings options;
    options.GridStyle = stored;
    options.ReviewGridStyle = stored;
    CSettingsSheet sheet(options, false);
    EXPECT_EQ(Checked(sheet.AcquisitionPage()->Grid()), "No Grid") << stored;
    EXPECT_EQ(Checked(sheet.ReviewPage()->Grid()), "No Grid") << stored;
  }
  CECGDefaultSettings options;
  options.GridStyle = 5;
  CSettingsSheet sheet(options, false);
  Click(sheet.AcquisitionPage()->Grid()->Button(2));  // "Dotted Lines"
  EXPECT_EQ(sheet.AcquisitionPage()->Grid()->Button(2)->text(), "Dotted Lines");
  sheet.StoreAll(options);
  EXPECT_EQ(options.GridStyle, 2);
  Click(sheet.ReviewPage()->Grid()->Button(5));
  sheet.StoreAll(options);
  EXPECT_EQ(options.ReviewGridStyle, 5);
}

TEST_F(SettingsSheet, EnablingRules) {
  CSettingsSheet sheet(Customised(), false);
  auto* analysis = sheet.AnalysisPage();
  EXPECT_FALSE(analysis->SuppressWarning()->isEnabled());
  EXPECT_FALSE(analysis->IncludeCodes()->isEnabled());
  EXPECT_TRUE(analysis->AllowReanalyse()->isEnabled());
  Click(analysis->IncludeInterpretation());
  EXPECT_TRUE(analysis->SuppressWarning()->isEnabled());
  EXPECT_TRUE(analysis->IncludeCodes()->isEnabled());

  auto* acquisition = sheet.AcquisitionPage();
  EXPECT_TRUE(acquisition->PowerFrequency()->isEnabled());
  Click(acquisition->PowerFilter());
  EXPECT_FALSE(acquisition->PowerFrequency()->isEnabled());
  EXPECT_FALSE(acquisition->PowerFrequency()->Button(1)->isEnabled());
  Click(acquisition->PowerFilter());
  EXPECT_TRUE(acquisition->PowerFrequency()->Button(1)->isEnabled());
}

TEST_F(SettingsSheet, RestoreDefaultsOfTheGeneralAnalysisAndReviewPages) {
  CSettingsSheet sheet(Customised(), false);
  Click(sheet.GeneralPage()->RestoreDefaultsButton());
  Click(sheet.AnalysisPage()->RestoreDefaultsButton());
  Click(sheet.ReviewPage()->RestoreDefaultsButton());
  CECGDefaultSettings out = Customised();
  sheet.StoreAll(out);
  EXPECT_EQ(out.AmplitudeUnits, 0);
  EXPECT_EQ(out.MeasurementSystem, 1);
  EXPECT_EQ(out.Speed, 1);
  EXPECT_EQ(out.Sensitivity, 1);
  EXPECT_EQ(out.AllowXMLExport, 0);
  EXPECT_TRUE(out.IncludeInterpretation);
  EXPECT_EQ(out.IncludeInterpretationCodes, 1);
  EXPECT_TRUE(out.SuppressPatientDetailsWarning);
  EXPECT_TRUE(out.AllowReanalyse);
  EXPECT_EQ(out.QTCMethod, 0);
  EXPECT_TRUE(sheet.AnalysisPage()->IncludeCodes()->isEnabled());
  // The review page's defaults differ from a fresh options record's (2).
  EXPECT_EQ(out.ReviewColor, 0);
  EXPECT_EQ(Checked(sheet.ReviewPage()->Colors()), "Black on Red");
  EXPECT_EQ(out.ReviewGridStyle, 0);
  EXPECT_EQ(Checked(sheet.ReviewPage()->Grid()), "Solid Lines");
  EXPECT_EQ(out.ShowDetails, 1);
  // Each button restores its own page only.
  EXPECT_EQ(out.PlotStyle, 1);
  EXPECT_TRUE(out.MIDISound);
}

TEST_F(SettingsSheet, RestoreDefaultsOfTheAcquisitionPage) {
  for (int flag : {0, 1}) {
    g_iStillwaterVersion = flag;
    CECGDefaultSettings start = Customised();
    start.PowerFilterChoice = flag == 1 ? 1 : 0;  // the other one
    CSettingsSheet sheet(start, false);
    Click(sheet.AcquisitionPage()->RestoreDefaultsButton());
    CECGDefaultSettings out = start;
    sheet.StoreAll(out);
    EXPECT_EQ(out.CustomLeadGroup[0], 0);  // I
    EXPECT_EQ(out.CustomLeadGroup[1], 1);  // II
    EXPECT_EQ(out.CustomLeadGroup[2], 8);  // III
    EXPECT_EQ(out.RhythmStripLead, 1);     // II
    EXPECT_FALSE(out.MuscleFilter);
    EXPECT_EQ(out.PowerFilter, 0);
    EXPECT_EQ(out.PowerFilterChoice, flag == 1 ? 0 : 1) << "50 Hz with the host product";
    EXPECT_EQ(out.LeadGroup, 8);
    EXPECT_EQ(sheet.AcquisitionPage()->LeadGroup()->currentText(), "3x4 View");
    EXPECT_EQ(out.PlotStyle, 2);
    EXPECT_TRUE(out.QRSBeep);
    EXPECT_TRUE(out.LeadsOffBeep);
    EXPECT_FALSE(out.MIDISound);
    EXPECT_EQ(out.GridStyle, 2);
    EXPECT_EQ(out.CreatePDF, 0);
    EXPECT_FALSE(sheet.AcquisitionPage()->PowerFrequency()->isEnabled());
    // Other pages keep what they showed.
    EXPECT_EQ(out.Speed, 2);
    EXPECT_EQ(out.ReviewColor, 1);
  }
}

TEST_F(SettingsSheet, RestoreDefaultsOfTheLeadOrderPage) {
  CSettingsSheet sheet(Customised(), false);
  Click(sheet.LeadOrderPage()->RestoreDefaultsButton());
  CECGDefaultSettings out = Customised();
  sheet.StoreAll(out);
  EXPECT_EQ(out.LeadOrder, CLeadOrderDialog::DefaultLeadOrder());
}

TEST_F(SettingsSheet, EscapeOnTheLeadOrderPageCancelsTheSheet) {
  CSettingsSheet sheet(CECGDefaultSettings(), false);
  sheet.show();
  sheet.Tabs()->setCurrentIndex(4);
  sheet.LeadOrderPage()->LeadsList()->setFocus();
  QTest::keyClick(sheet.LeadOrderPage()->LeadsList(), Qt::Key_Escape);
  EXPECT_EQ(sheet.result(), QDialog::Rejected);
  EXPECT_FALSE(sheet.isVisible());
  EXPECT_FALSE(sheet.LeadOrderPage()->isHidden()) << "the page itself stays in the sheet";
}

TEST_F(SettingsSheet, RemovedUnitsHideTheMeasurementSystemGroup) {
  CECGDefaultSettings options;
  CSettingsSheet with(options, false), without(options, true);
  with.show();
  without.show();
  EXPECT_EQ(with.GeneralPage()->MeasurementSystem()->title(), "Measurement System");
  EXPECT_TRUE(with.GeneralPage()->MeasurementSystem()->isVisible());
  EXPECT_FALSE(without.GeneralPage()->MeasurementSystem()->isVisible());
  EXPECT_TRUE(without.GeneralPage()->AmplitudeUnits()->isVisible());
  ecg::test::SaveDialogScreenshot(without, "settings_general_units_removed");
  // Hidden, the value stays as it was.
  CECGDefaultSettings out = options;
  without.StoreAll(out);
  EXPECT_EQ(out.MeasurementSystem, options.MeasurementSystem);
}

// Drives the modal sheet: `act` runs on the open sheet.
template <typename Act>
int RunSheet(CECGDefaultSettings& options, CECGPrint* engine, Act act) {
  QTimer::singleShot(0, [act] {
    auto* sheet = qobject_cast<CSettingsSheet*>(QApplication::activeModalWidget());
    ASSERT_NE(sheet, nullptr);
    act(*sheet);
  });
  return RunSettingsSheet(options, false, engine, nullptr);
}

TEST_F(SettingsSheet, OkWritesBackAndTellsTheReportEngine) {
  CECGDefaultSettings options;
  CECGPrint engine(&options);
  engine.m_amplitudeUnits = 0;
  engine.m_imperialUnits = 1;
  const int result = RunSheet(options, &engine, [](CSettingsSheet& sheet) {
    Click(sheet.GeneralPage()->AmplitudeUnits()->Button(1));
    Click(sheet.GeneralPage()->MeasurementSystem()->Button(0));
    sheet.AcquisitionPage()->RhythmLead()->setCurrentIndex(7);  // V2 -> 3
    sheet.LeadOrderPage()->LeadsList()->setCurrentRow(1);
    Click(sheet.LeadOrderPage()->UpButton());
    Click(sheet.OkButton());
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(options.AmplitudeUnits, 1);
  EXPECT_EQ(options.MeasurementSystem, 0);
  EXPECT_EQ(options.RhythmStripLead, 3);
  EXPECT_EQ(options.LeadOrder, CECGDefaultSettings::LeadList({1, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
  EXPECT_EQ(engine.m_amplitudeUnits, 1);
  EXPECT_EQ(engine.m_imperialUnits, 0);
}

TEST_F(SettingsSheet, CancelChangesNothing) {
  CECGDefaultSettings options = Customised();
  const CECGDefaultSettings before = options;
  CECGPrint engine(&options);
  engine.m_amplitudeUnits = 0;
  const int result = RunSheet(options, &engine, [](CSettingsSheet& sheet) {
    Click(sheet.GeneralPage()->RestoreDefaultsButton());
    Click(sheet.AcquisitionPage()->RestoreDefaultsButton());
    Click(sheet.LeadOrderPage()->RestoreDefaultsButton());
    Click(sheet.CancelButton());
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(options, before);
  EXPECT_EQ(engine.m_amplitudeUnits, 0);
}

TEST_F(SettingsSheet, WithoutAReportEngineOnlyPartOfThePagesIsKept) {
  CECGDefaultSettings options = Customised();
  const CECGDefaultSettings before = options;
  const int result = RunSheet(options, nullptr, [](CSettingsSheet& sheet) {
    for (auto* page : {static_cast<ecg::dialogs::SettingsPage*>(sheet.GeneralPage()),
                       static_cast<ecg::dialogs::SettingsPage*>(sheet.AnalysisPage()),
                       static_cast<ecg::dialogs::SettingsPage*>(sheet.AcquisitionPage()),
                       static_cast<ecg::dialogs::SettingsPage*>(sheet.ReviewPage())}) {
      page->RestoreDefaults();
    }
    sheet.LeadOrderPage()->RestoreDefaults();
    Click(sheet.OkButton());
  });
  EXPECT_EQ(result, 0);
  // Copied back: general units and XML, analysis, acquisition colours, grid,
  // sounds and filter switches, review.
  EXPECT_EQ(options.AmplitudeUnits, 0);
  EXPECT_EQ(options.MeasurementSystem, 1);
  EXPECT_EQ(options.AllowXMLExport, 0);
  EXPECT_TRUE(options.IncludeInterpretation);
  EXPECT_EQ(options.QTCMethod, 0);
  EXPECT_EQ(options.GridStyle, 2);
  EXPECT_EQ(options.PlotStyle, 2);
  EXPECT_EQ(options.ReviewColor, 0);
  EXPECT_EQ(options.ShowDetails, 1);
  // Left alone: lead lists, speed, sensitivity, 50/60 Hz, PDF, lead group.
  EXPECT_EQ(options.CustomLeadGroup, before.CustomLeadGroup);
  EXPECT_EQ(options.RhythmStripLead, before.RhythmStripLead);
  EXPECT_EQ(options.LeadOrder, before.LeadOrder);
  EXPECT_EQ(options.Speed, before.Speed);
  EXPECT_EQ(options.Sensitivity, before.Sensitivity);
  EXPECT_EQ(options.PowerFilterChoice, before.PowerFilterChoice);
  EXPECT_EQ(options.CreatePDF, before.CreatePDF);
  EXPECT_EQ(options.LeadGroup, before.LeadGroup);
}

}  // namespace
