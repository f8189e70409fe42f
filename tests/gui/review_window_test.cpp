// The review window driven through its frame, menus and widgets on the
// offscreen platform, over records written to a temporary folder. Prompts
// answer from a script; dialogs, save-as and the viewer go through hooks.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QDockWidget>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <algorithm>
#include <memory>
#include <set>

#include "dialogs/lead_order_dialog.h"
#include "platform/prompt.h"
#include "qt_test_app.h"
#include "report/header_block.h"
#include "report/print_options_file.h"
#include "review/child_frame.h"
#include "review/ecg_app.h"
#include "review/main_frame.h"
#include "review/measurements_bar.h"
#include "review/oskscp_doc.h"
#include "review/oskscp_view.h"
#include "review/review_options_bar.h"
#include "review/review_panes.h"
#include "review/scp_dialog_bar.h"
#include "review/trace_view.h"
#include "review_test_support.h"
#include "support/test_files.h"

namespace {

using ecg::platform::ScriptedPrompt;

class ReviewWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ecg::test::EnsureQtApplication();
    ASSERT_TRUE(dir_.isValid());
    path_ = ecg::test::WriteRecord(dir_, "review.scp");
    app_ = std::make_unique<CECGApp>();
    app_->SetOptions(options_);
  }
  void TearDown() override {
    app_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  COskScpView* Open(const ReviewStartParameters& params = {}, IReviewHost* host = nullptr,
                    const std::string& path = {}) {
    return app_->OpenDocument(path.empty() ? path_ : path, params, host != nullptr ? host : &host_);
  }
  CMainFrame* Frame() const { return app_->MainFrame(); }
  void CloseFrame() {
    Frame()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  static CChildFrame* ChildOf(COskScpView* view) { return qobject_cast<CChildFrame*>(view->parentWidget()); }
  bool Shown(const std::string& text) const {
    for (const auto& s : prompt_.shown()) {
      if (s.text == text) return true;
    }
    return false;
  }

  QTemporaryDir dir_;
  std::string path_;
  CECGDefaultSettings options_;
  ScriptedPrompt prompt_;
  ecg::platform::ScopedPrompt scoped_prompt_{&prompt_};
  ecg::test::ScopedReviewHooks hooks_;
  ecg::test::FakeReviewHost host_;
  std::unique_ptr<CECGApp> app_;
};

TEST_F(ReviewWindow, ReadOnlyReviewNeverChangesTheFile) {
  const auto before = ecg::test::FileBytes(path_);
  ReviewStartParameters params;
  params.read_only = true;
  COskScpView* view = Open(params);
  ASSERT_NE(view, nullptr);
  QTest::keyClicks(view->InterpretationEdit(), "typed by the user");
  view->CommentsEdit()->setPlainText("changed from code");
  view->ConfirmedBox()->click();
  EXPECT_FALSE(view->ConfirmedBox()->isChecked());
  EXPECT_FALSE(view->GetDocument()->IsModified());
  EXPECT_FALSE(view->State(ReviewCommand::kFileSave).enabled);
  EXPECT_FALSE(view->Execute(ReviewCommand::kFileSave));
  EXPECT_TRUE(view->SaveEdits());  // nothing to do, nothing written
  EXPECT_FALSE(view->State(ReviewCommand::kRemoveAnalysis).enabled);
  EXPECT_FALSE(view->State(ReviewCommand::kReanalyse).enabled);
  CloseFrame();
  EXPECT_TRUE(prompt_.shown().empty()) << "no save question for a read-only document";
  EXPECT_EQ(ecg::test::FileBytes(path_), before);
}

TEST_F(ReviewWindow, ConfirmSaveAndReopenShowsTheBoxTicked) {
  COskScpView* view = Open();
  ASSERT_NE(view, nullptr);
  const auto before = ecg::test::FileBytes(path_);
  EXPECT_FALSE(view->ConfirmedBox()->isChecked());
  EXPECT_FALSE(Frame()->Action(ReviewCommand::kFileSave)->isEnabled());
  view->ConfirmedBox()->click();
  EXPECT_TRUE(view->ConfirmedBox()->isChecked());
  EXPECT_TRUE(view->GetDocument()->IsModified());
  EXPECT_TRUE(Frame()->Action(ReviewCommand::kFileSave)->isEnabled());
  QTest::keyClicks(view->CommentsEdit(), "Reviewed");
  view->InterpretationEdit()->setPlainText("Sinus rhythm");
  EXPECT_TRUE(ChildOf(view)->windowTitle().endsWith(" *"));
  EXPECT_EQ(ecg::test::FileBytes(path_), before) << "nothing reaches the file before Save";

  Frame()->Action(ReviewCommand::kFileSave)->trigger();
  EXPECT_FALSE(view->GetDocument()->IsModified());
  EXPECT_FALSE(ChildOf(view)->windowTitle().endsWith(" *"));
  EXPECT_NE(ecg::test::FileBytes(path_), before);
  CloseFrame();
  EXPECT_TRUE(prompt_.shown().empty()) << "a saved document closes without asking";

  CECGApp second;
  COskScpView* again = second.OpenDocument(path_, {}, &host_);
  ASSERT_NE(again, nullptr);
  EXPECT_TRUE(again->ConfirmedBox()->isChecked());
  EXPECT_EQ(again->CommentsEdit()->toPlainText(), "Reviewed");
  EXPECT_EQ(again->InterpretationEdit()->toPlainText(), "Sinus rhythm");
  ecg::report::ReportRecord record;
  ASSERT_TRUE(ecg::report::LoadReportRecord(path_, &record));
  EXPECT_EQ(ecg::report::GetInfo(record, {}).interpretation_heading.left(26), "Interpretation (Confirmed)");

  // Toggling again unconfirms.
  again->ConfirmedBox()->click();
  EXPECT_TRUE(again->SaveEdits());
  ASSERT_TRUE(ecg::report::LoadReportRecord(path_, &record));
  EXPECT_EQ(record.general.m_confirmed, 0);
}

TEST_F(ReviewWindow, ClosingAModifiedDocumentAsks) {
  COskScpView* view = Open();
  const auto before = ecg::test::FileBytes(path_);
  view->CommentsEdit()->setPlainText("not kept");
  prompt_.QueueAnswer(ecg::platform::kAnswerCancel);
  Frame()->close();
  EXPECT_TRUE(app_->IsFrameOpen());
  EXPECT_EQ(app_->ReviewWindowCount(), 1);
  ASSERT_EQ(prompt_.shown().size(), 1u);
  EXPECT_EQ(prompt_.shown()[0].text, "Save changes to review.scp?");
  prompt_.QueueAnswer(ecg::platform::kAnswerNo);
  CloseFrame();
  EXPECT_FALSE(app_->IsFrameOpen());
  EXPECT_EQ(ecg::test::FileBytes(path_), before);
}

TEST_F(ReviewWindow, ReanalysisNeedsMoreThanSixLeadsTheOptionAndAHost) {
  ecg::test::EcgRecordSpec six;
  six.leads = {1, 2, 61, 62, 63, 64};
  const std::string six_path = ecg::test::WriteRecord(dir_, "six.scp", six);
  COskScpView* limb = Open({}, nullptr, six_path);
  ASSERT_NE(limb, nullptr);
  EXPECT_FALSE(limb->State(ReviewCommand::kReanalyse).enabled);
  EXPECT_FALSE(Frame()->Action(ReviewCommand::kReanalyse)->isEnabled());
  EXPECT_FALSE(limb->Execute(ReviewCommand::kReanalyse));
  EXPECT_FALSE(host_.CalledStartingWith("EditPatient"));

  COskScpView* twelve = Open();
  EXPECT_TRUE(twelve->State(ReviewCommand::kReanalyse).enabled);
  EXPECT_TRUE(Frame()->Action(ReviewCommand::kReanalyse)->isEnabled());

  CECGApp no_host;
  EXPECT_FALSE(no_host.OpenDocument(path_, {}, nullptr)->State(ReviewCommand::kReanalyse).enabled);
  CECGDefaultSettings refused;
  refused.AllowReanalyse = false;
  CECGApp not_allowed;
  not_allowed.SetOptions(refused);
  EXPECT_FALSE(not_allowed.OpenDocument(path_, {}, &host_)->State(ReviewCommand::kReanalyse).enabled);
}

TEST_F(ReviewWindow, ReanalysisAsksThenAnalysesThroughTheHost) {
  COskScpView* view = Open();
  host_.edit_patient_answer = 0;  // patient dialog cancelled: nothing else happens
  EXPECT_TRUE(view->Execute(ReviewCommand::kReanalyse));
  EXPECT_TRUE(prompt_.shown().empty());
  EXPECT_FALSE(host_.CalledStartingWith("Analyse"));

  host_.edit_patient_answer = 1;
  prompt_.QueueAnswer(ecg::platform::kAnswerNo);
  view->Execute(ReviewCommand::kReanalyse);
  ASSERT_EQ(prompt_.shown().size(), 1u);
  EXPECT_EQ(prompt_.shown()[0].text,
            "Re-analyzing deletes all edits made to the narrative interpretation. Are you sure you want to "
            "re-analyze?");
  EXPECT_EQ(prompt_.shown()[0].caption, "Warning");
  EXPECT_EQ(prompt_.shown()[0].buttons, ecg::platform::PromptButtons::kYesNo);
  EXPECT_FALSE(host_.CalledStartingWith("Analyse"));
  // The dialog was filled from the record.
  ASSERT_TRUE(host_.edited.m_firstName.has_value());
  EXPECT_EQ(*host_.edited.m_firstName, u"Maren");

  prompt_.QueueAnswer(ecg::platform::kAnswerYes);
  view->Execute(ReviewCommand::kReanalyse);
  EXPECT_TRUE(host_.Called("Analyse " + path_ + " patient"));
}

TEST_F(ReviewWindow, XmlExportIsOffByDefault) {
  EXPECT_EQ(CECGDefaultSettings().AllowXMLExport, 0);
  COskScpView* view = Open();
  EXPECT_FALSE(view->State(ReviewCommand::kExportXml).enabled);
  EXPECT_FALSE(Frame()->Action(ReviewCommand::kExportXml)->isEnabled());
  EXPECT_FALSE(view->Execute(ReviewCommand::kExportXml));
  EXPECT_FALSE(host_.CalledStartingWith("ExportToXml"));
}

TEST_F(ReviewWindow, XmlExportWhenAllowedAsksForTheFile) {
  ReviewStartParameters params;
  params.xml_export_allowed = true;
  COskScpView* view = Open(params);
  ASSERT_TRUE(Frame()->Action(ReviewCommand::kExportXml)->isEnabled());
  hooks_.save_answer = QString();  // cancelled
  Frame()->Action(ReviewCommand::kExportXml)->trigger();
  EXPECT_FALSE(host_.CalledStartingWith("ExportToXml"));
  const QString chosen = QDir(dir_.path()).filePath("exported");
  hooks_.save_answer = chosen;
  view->Execute(ReviewCommand::kExportXml);
  EXPECT_TRUE(host_.Called("ExportToXml " + path_ + " " + chosen.toStdString() + ".xml"));
  ASSERT_FALSE(hooks_.filters.empty());
  EXPECT_EQ(hooks_.filters.back(), "*.xml");
  EXPECT_TRUE(hooks_.suggestions.back().endsWith("review.xml"));
}

TEST_F(ReviewWindow, FrameTitlesMenusPanelsAndTabs) {
  COskScpView* view = Open();
  // A maximized document adds its title in brackets, as MDI frames do.
  EXPECT_TRUE(Frame()->windowTitle().startsWith("Review ECG")) << Frame()->windowTitle().toStdString();
  EXPECT_EQ(Frame()->ControlDock()->windowTitle(), "Controls");
  EXPECT_EQ(Frame()->MeasurementsDock()->windowTitle(), "Measurements");
  QStringList menus;
  for (QAction* a : Frame()->menuBar()->actions()) menus << a->text();
  EXPECT_EQ(menus, (QStringList{"&File", "&View", "ECG Options", "&Window", "&Help"}));
  EXPECT_EQ(Frame()->Action(ReviewCommand::kPrinterSetup)->text(), "Prin&ter Setup ...");
  EXPECT_EQ(Frame()->Action(ReviewCommand::kReanalyse)->text(), "Update Patient Demographics and Re-Analyze");
  EXPECT_EQ(Frame()->Action(ReviewCommand::kUnitsMicrovolts)->text(), "Micro&volts");

  EXPECT_TRUE(ChildOf(view)->windowTitle().startsWith("Patient Maren Lindqvist Test on "));
  EXPECT_EQ(Frame()->MeasurementsPanel()->Value(0), "72 bpm");
  EXPECT_EQ(Frame()->MeasurementsPanel()->Value(8), "449 ms (Bazett)");
  EXPECT_EQ(Frame()->MeasurementsPanel()->Filter(), "0.05 - 150 Hz");
  ASSERT_EQ(view->DetailsTabs()->count(), 3);
  EXPECT_EQ(view->DetailsTabs()->tabText(2), "Measurements");
  EXPECT_TRUE(view->DetailsTabText(0).contains("First Name:\tMaren"));
  EXPECT_TRUE(view->DetailsTabText(1).contains("Serial Number:\tSN-30077"));
  EXPECT_TRUE(view->DetailsTabText(2).contains("Lead \tType \tP+"));
  QStringList leads;
  for (int i = 0; i < view->LeadsShownBox()->count(); ++i) leads << view->LeadsShownBox()->itemText(i);
  EXPECT_EQ(leads, (QStringList{"2", "3", "6", "9", "12"}));

  // Units switch the measurements table; the caliper follows.
  Frame()->Action(ReviewCommand::kUnitsMillimetres)->trigger();
  EXPECT_TRUE(view->DetailsTabText(2).startsWith("\t\tAmplitude (mm) @ 10.0 mm/mV"));
  EXPECT_EQ(view->Traces()->CaliperUnitsShown(), ecg::review::CaliperUnits::kMillimetres);
  EXPECT_TRUE(Frame()->Action(ReviewCommand::kUnitsMillimetres)->isChecked());
  EXPECT_FALSE(Frame()->Action(ReviewCommand::kUnitsMicrovolts)->isChecked());
}

TEST_F(ReviewWindow, OptionsSetTheDisplay) {
  options_.LeadOrder = {6, 7, 8, 9, 10, 11, 0, 1, 2, 3, 4, 5};
  options_.ReviewGridStyle = 5;
  options_.Speed = 2;
  options_.Sensitivity = 0;
  options_.AmplitudeUnits = 1;
  options_.ShowDetails = 0;
  options_.RhythmStripLead = 2;  // lead identifier 2: V1
  options_.MuscleFilter = true;
  app_->SetOptions(options_);
  COskScpView* view = Open();
  EXPECT_EQ(view->Traces()->LeadOrder(), (std::vector<uint8_t>{3, 4, 5, 6, 7, 8, 1, 2, 61, 62, 63, 64}));
  EXPECT_EQ(view->RhythmStrip()->SelectedLeadCode(), 3);
  EXPECT_FALSE(view->Traces()->ShowGrid());
  EXPECT_DOUBLE_EQ(view->Traces()->Speed(), 50.0);
  EXPECT_DOUBLE_EQ(view->Traces()->Sensitivity(), 5.0);
  EXPECT_TRUE(view->Traces()->DisplayFilters().muscle);
  EXPECT_TRUE(view->DetailsTabText(2).startsWith("\t\tAmplitude (mm) @ 5.0 mm/mV"));
  EXPECT_FALSE(view->DetailsTabs()->isVisibleTo(view));
  EXPECT_TRUE(Frame()->Action(ReviewCommand::kSpeed50)->isChecked());
  EXPECT_TRUE(Frame()->ControlPanel()->Button(ReviewCommand::kSensitivity5)->isChecked());
  EXPECT_TRUE(Frame()->ControlPanel()->RhythmButton(6)->isChecked());  // V1

  // The control panel drives the same settings as the menus.
  Frame()->ControlPanel()->RhythmButton(9)->click();  // V4
  EXPECT_EQ(view->RhythmStrip()->SelectedLeadCode(), 6);
  Frame()->ControlPanel()->Button(ReviewCommand::kSpeed25)->click();
  EXPECT_DOUBLE_EQ(view->Traces()->Speed(), 25.0);
  EXPECT_TRUE(Frame()->Action(ReviewCommand::kSpeed25)->isChecked());
  // "Leads Shown:" picks the strips layout with that many leads.
  view->SetLeadsShown(6);
  EXPECT_EQ(view->Traces()->mode(), CTraceView::Mode::kStrips);
  EXPECT_EQ(view->Traces()->LeadsShown(), 6);
  EXPECT_EQ(view->LeadsShownBox()->currentText(), "6");
}

TEST_F(ReviewWindow, EditLeadOrderReordersTheDisplay) {
  COskScpView* view = Open();
  const uint8_t rhythm = view->RhythmStrip()->SelectedLeadCode();
  auto& hooks = ecg::review::UiHooks();
  hooks.run_dialog = [](QDialog& dialog) {
    auto* order = dynamic_cast<CLeadOrderDialog*>(&dialog);
    EXPECT_NE(order, nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Edit Lead Order");
    if (order == nullptr) return static_cast<int>(QDialog::Rejected);
    order->LeadsList()->setCurrentRow(0);
    order->MoveDown();  // I after II
    return static_cast<int>(QDialog::Accepted);
  };
  ASSERT_TRUE(Frame()->Action(ReviewCommand::kEditLeadOrder)->isEnabled());
  Frame()->Action(ReviewCommand::kEditLeadOrder)->trigger();
  EXPECT_EQ(view->Traces()->LeadOrder(), (std::vector<uint8_t>{2, 1, 61, 62, 63, 64, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(view->RhythmStrip()->SelectedLeadCode(), rhythm) << "the rhythm strip keeps its lead";

  // Cancel changes nothing.
  hooks.run_dialog = [](QDialog& dialog) {
    if (auto* order = dynamic_cast<CLeadOrderDialog*>(&dialog)) order->RestoreDefaults();
    return static_cast<int>(QDialog::Rejected);
  };
  view->Execute(ReviewCommand::kEditLeadOrder);
  EXPECT_EQ(view->Traces()->LeadOrder().front(), 2);
}

TEST_F(ReviewWindow, PrintAndPreviewGoThroughTheOptionsDialogFirst) {
  COskScpView* view = Open();
  host_.print_options_answer = 0;
  view->Execute(ReviewCommand::kPrint);
  EXPECT_EQ(host_.calls, (std::vector<std::string>{"ShowPrintOptionsDialog 1 12 0"}));
  host_.calls.clear();
  host_.print_options_answer = 1;
  view->CommentsEdit()->setPlainText("saved before printing");
  view->Execute(ReviewCommand::kPrint);
  EXPECT_EQ(host_.calls, (std::vector<std::string>{"ShowPrintOptionsDialog 1 12 0", "ClearReports",
                                                   "AddReport " + path_, "Print", "ClearReports",
                                                   "SavePrintOptions " + ecg::report::DefaultPrintOptionsPath()}));
  EXPECT_FALSE(view->GetDocument()->IsModified());
  ecg::report::ReportRecord record;
  ASSERT_TRUE(ecg::report::LoadReportRecord(path_, &record));
  EXPECT_EQ(*record.general.m_comment, u"saved before printing");
  host_.calls.clear();
  Frame()->Action(ReviewCommand::kPrintPreview)->trigger();
  EXPECT_TRUE(host_.Called("PrintPreview"));
  EXPECT_FALSE(host_.Called("Print"));
}

TEST_F(ReviewWindow, PrintToFileNamesThePdfAfterTheRecordAndOpensIt) {
  ReviewStartParameters params;
  params.pdf_named_after_scp = true;
  COskScpView* view = Open(params);
  const std::string pdf = path_.substr(0, path_.size() - 4) + ".pdf";
  view->Execute(ReviewCommand::kPrintToFile);
  EXPECT_EQ(host_.pdf_name, pdf);
  EXPECT_TRUE(host_.Called("PrintSCPFileToFile " + path_));
  ASSERT_EQ(hooks_.opened.size(), 1u);
  EXPECT_EQ(hooks_.opened[0].toStdString(), pdf);
  hooks_.open_answer = false;
  view->Execute(ReviewCommand::kPrintToFile);
  ASSERT_FALSE(prompt_.shown().empty());
  EXPECT_EQ(prompt_.shown().back().text, "Error opening PDF file.");
  EXPECT_EQ(prompt_.shown().back().caption, "Error");
}

TEST_F(ReviewWindow, PrintToFileWithoutViewerOpensNothing) {
  ReviewStartParameters params;
  params.viewer_after_pdf = false;
  COskScpView* view = Open(params);
  host_.last_output = dir_.filePath("out.pdf").toStdString();
  view->Execute(ReviewCommand::kPrintToFile);
  EXPECT_TRUE(host_.CalledStartingWith("PrintSCPFileToFile"));
  EXPECT_FALSE(host_.CalledStartingWith("SetPDFFileName"));
  EXPECT_TRUE(hooks_.opened.empty());
}

TEST_F(ReviewWindow, ManualsCarryTheLanguageSuffix) {
  EXPECT_EQ(ecg::review::ManualSuffix(0), "");
  EXPECT_EQ(ecg::review::ManualSuffix(1), "Fra");
  EXPECT_EQ(ecg::review::ManualSuffix(6), "Jpn");
  EXPECT_EQ(ecg::review::ManualSuffix(7), "");
  EXPECT_EQ(ecg::review::ManualSuffix(-1), "");
  ReviewStartParameters german;
  german.language = 2;
  COskScpView* view = Open(german);
  for (const char* name : {"ECG User's ManualDeu.pdf", "ECG Physician's GuideDeu.pdf", "ECG User's Manual.pdf"}) {
    std::ofstream(dir_.filePath(QString::fromUtf8(name)).toStdString()) << "%PDF-1.4";
  }
  const QString old = QDir::currentPath();
  QDir::setCurrent(dir_.path());
  view->Execute(ReviewCommand::kUserManual);
  view->Execute(ReviewCommand::kPhysiciansGuide);
  QDir::setCurrent(old);
  EXPECT_TRUE(prompt_.shown().empty());
  ASSERT_EQ(hooks_.opened.size(), 2u);
  EXPECT_TRUE(hooks_.opened[0].endsWith("/ECG User's ManualDeu.pdf")) << hooks_.opened[0].toStdString();
  EXPECT_TRUE(hooks_.opened[1].endsWith("/ECG Physician's GuideDeu.pdf"));
}

TEST_F(ReviewWindow, RemovingTheAnalysisRefreshesThePanes) {
  COskScpView* view = Open();
  ASSERT_TRUE(view->State(ReviewCommand::kRemoveAnalysis).enabled);
  Frame()->Action(ReviewCommand::kRemoveAnalysis)->trigger();
  EXPECT_TRUE(Frame()->MeasurementsPanel()->Value(0).isEmpty());
  EXPECT_FALSE(view->State(ReviewCommand::kRemoveAnalysis).enabled);
  EXPECT_FALSE(view->State(ReviewCommand::kShowAveraged).enabled);
  ecg::report::ReportRecord record;
  ASSERT_TRUE(ecg::report::LoadReportRecord(path_, &record));
  EXPECT_FALSE(record.has_measurements);
  EXPECT_TRUE(record.traces.median.empty());
}

TEST_F(ReviewWindow, MissingManualIsReported) {
  COskScpView* view = Open();
  const QString old = QDir::currentPath();
  QDir::setCurrent(dir_.path());
  view->Execute(ReviewCommand::kUserManual);
  QDir::setCurrent(old);
  ASSERT_EQ(prompt_.shown().size(), 1u);
  EXPECT_EQ(prompt_.shown()[0].text,
            "Cannot open file " + QDir(dir_.path()).filePath("ECG User's Manual.pdf").toStdString() + ". ");
  EXPECT_TRUE(hooks_.opened.empty());
}

TEST_F(ReviewWindow, UnreadableRecordOpensNothing) {
  const std::string bad = dir_.filePath("bad.scp").toStdString();
  {
    std::ofstream out(bad, std::ios::binary);
    out << "not a record";
  }
  EXPECT_EQ(Open({}, nullptr, bad), nullptr);
  EXPECT_EQ(app_->ReviewWindowCount(), 0);
  ASSERT_EQ(prompt_.shown().size(), 1u);
  EXPECT_EQ(prompt_.shown()[0].caption, "Error");
  EXPECT_NE(prompt_.shown()[0].text.find("or the record is damaged"), std::string::npos) << prompt_.shown()[0].text;
}

TEST_F(ReviewWindow, WindowCountAndTheClosingSignal) {
  EXPECT_EQ(app_->ReviewWindowCount(), 0);
  EXPECT_FALSE(app_->IsFrameOpen());
  Open();
  Open();
  EXPECT_EQ(app_->ReviewWindowCount(), 2);
  CMainFrame* frame = Frame();
  Open();
  EXPECT_EQ(Frame(), frame) << "one frame for every document";
  Frame()->Action(ReviewCommand::kFileClose)->trigger();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(app_->ReviewWindowCount(), 2);
  QSignalSpy closed(app_.get(), &CECGApp::FrameClosed);
  Frame()->Action(ReviewCommand::kExit)->trigger();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(closed.count(), 1);
  EXPECT_FALSE(app_->IsFrameOpen());
  EXPECT_EQ(app_->ReviewWindowCount(), 0);
  app_->WaitForClose();  // returns at once: the frame is closed
  // The frame comes back for the next review.
  ASSERT_NE(Open(), nullptr);
  EXPECT_TRUE(app_->IsFrameOpen());
  EXPECT_EQ(app_->ReviewWindowCount(), 1);
}

TEST_F(ReviewWindow, RemoveHelpMenuDropsOnlyTheHelpMenu) {
  ReviewStartParameters params;
  params.remove_help_menu = true;
  Open(params);
  Open(params);  // a second time removes nothing more
  QStringList menus;
  for (QAction* a : Frame()->menuBar()->actions()) menus << a->text();
  EXPECT_EQ(menus, (QStringList{"&File", "&View", "ECG Options", "&Window"}));
}

std::vector<QAction*> MenuActions(QMenuBar* bar) {
  std::vector<QAction*> out;
  std::function<void(const QList<QAction*>&)> walk = [&](const QList<QAction*>& actions) {
    for (QAction* a : actions) {
      if (a->isSeparator()) continue;
      if (a->menu() != nullptr) {
        walk(a->menu()->actions());
      } else {
        out.push_back(a);
      }
    }
  };
  walk(bar->actions());
  return out;
}

TEST_F(ReviewWindow, EveryMenuCommandRunsOnAnAnalysedRecord) {
  ReviewStartParameters params;
  params.xml_export_allowed = true;
  Open(params);
  hooks_.save_answer = QDir(dir_.path()).filePath("export.xml");
  const std::vector<QAction*> actions = MenuActions(Frame()->menuBar());
  EXPECT_GE(actions.size(), 45u);
  std::set<QString> seen;
  QAction* close = Frame()->Action(ReviewCommand::kFileClose);
  QAction* exit = Frame()->Action(ReviewCommand::kExit);
  for (QAction* action : actions) {
    if (action == close || action == exit) continue;
    EXPECT_TRUE(seen.insert(action->text()).second || action->text() == "&Zoom") << action->text().toStdString();
    Frame()->UpdateFromView();
    action->trigger();
    action->trigger();  // toggles back, steps twice
  }
  EXPECT_TRUE(host_.Called("AboutBox"));
  EXPECT_TRUE(host_.Called("ChoosePrinter"));
  EXPECT_TRUE(host_.CalledStartingWith("ExportToXml"));
  EXPECT_EQ(app_->ReviewWindowCount(), 1);
  close->trigger();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(app_->ReviewWindowCount(), 0);
  for (QAction* action : actions) {
    if (action != exit) action->trigger();  // no document: nothing to do, nothing breaks
  }
  exit->trigger();
  EXPECT_FALSE(app_->IsFrameOpen());
  ecg::report::ReportRecord record;
  EXPECT_TRUE(ecg::report::LoadReportRecord(path_, &record)) << "the record is still readable";
}

// ---- screenshots under the build folder, for a person to look at

QImage Shoot(CMainFrame* frame, const char* name) {
  frame->showNormal();
  frame->resize(1600, 1000);
  QCoreApplication::processEvents();
  QImage image = frame->grab().toImage();
  QDir().mkpath(QStringLiteral(ECG_REVIEW_SHOT_DIR));
  image.save(QDir(QStringLiteral(ECG_REVIEW_SHOT_DIR)).filePath(QString::fromLatin1(name) + ".png"));
  return image;
}

int DistinctColours(const QImage& image, const QRect& area) {
  std::set<QRgb> colours;
  for (int y = area.top(); y < area.bottom(); y += 3) {
    for (int x = area.left(); x < area.right(); x += 3) colours.insert(image.pixel(x, y));
  }
  return static_cast<int>(colours.size());
}

TEST_F(ReviewWindow, TheScrollBarMovesBothViewsToTheEndOfTheRecord) {
  COskScpView* view = Open();
  Frame()->resize(1200, 900);
  view->Traces()->SetPixelsPerMm(4.0);
  view->RhythmStrip()->SetPixelsPerMm(4.0);
  view->Traces()->SetSpeed(50.0);
  view->RhythmStrip()->SetSpeed(50.0);
  Frame()->Action(ReviewCommand::kViewStrips)->trigger();
  ASSERT_GT(view->Traces()->MaxStartSample(), view->Traces()->VisibleSamples());
  QScrollBar* bar = view->TimeScrollBar();
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(bar->isEnabled()) << "ten seconds do not fit the window";
  EXPECT_EQ(static_cast<size_t>(bar->pageStep()), view->Traces()->VisibleSamples());

  bar->setValue(1000);
  EXPECT_EQ(view->Traces()->StartSample(), 1000u);
  EXPECT_EQ(view->RhythmStrip()->StartSample(), std::min<size_t>(1000, view->RhythmStrip()->MaxStartSample()));
  bar->setValue(bar->maximum());  // the last page ends with the record
  for (CTraceView* v : {view->Traces(), view->RhythmStrip()}) {
    EXPECT_EQ(v->StartSample() + v->VisibleSamples(), v->TotalSamples());
  }
  // The keys of a view move the bar with it.
  QTest::keyClick(view->Traces(), Qt::Key_Home);
  EXPECT_EQ(bar->value(), 0);
  QTest::keyClick(view->Traces(), Qt::Key_PageDown);
  EXPECT_EQ(bar->value(), bar->pageStep());
  EXPECT_EQ(view->RhythmStrip()->StartSample(), static_cast<size_t>(bar->pageStep()));
}

TEST_F(ReviewWindow, ReviewOptionsBarAppliesColoursGridAndDetailsLive) {
  COskScpView* view = Open();
  ASSERT_NE(Frame()->OptionsDock(), nullptr);
  EXPECT_EQ(Frame()->OptionsDock()->windowTitle(), "Review Options");
  EXPECT_TRUE(Frame()->OptionsDock()->features() & QDockWidget::DockWidgetMovable);
  CReviewOptionsBar* bar = Frame()->OptionsPanel();
  EXPECT_TRUE(bar->isEnabled());
  // The bar starts from the options' colours and grid.
  EXPECT_EQ(bar->ColorsBox()->currentIndex(), options_.ReviewColor);
  EXPECT_EQ(CReviewOptionsBar::GridStyleOfEntry(bar->GridBox()->currentIndex()), options_.ReviewGridStyle);
  EXPECT_EQ(bar->ColorsBox()->itemText(0), "Black on Red");
  EXPECT_EQ(bar->ColorsBox()->itemText(2), "Blue on Grey");
  EXPECT_TRUE(bar->DetailsBox()->isChecked());

  bar->ColorsBox()->setCurrentIndex(bar->ColorsBox()->findText("Green on Black"));
  EXPECT_EQ(view->ColorScheme(), 1);
  const QImage green = view->Traces()->grab().toImage();
  EXPECT_EQ(QColor(green.pixel(1, 1)), QColor(0, 0, 0)) << "black paper";

  bar->GridBox()->setCurrentIndex(bar->GridBox()->findText("No Grid"));
  EXPECT_EQ(view->GridStyle(), 5);
  EXPECT_FALSE(view->Traces()->ShowGrid());
  EXPECT_FALSE(view->RhythmStrip()->ShowGrid());
  bar->GridBox()->setCurrentIndex(bar->GridBox()->findText("Dotted Lines"));
  EXPECT_EQ(view->GridStyle(), 2);
  EXPECT_TRUE(view->Traces()->ShowGrid());
  EXPECT_EQ(view->ColorScheme(), 1) << "the colours stay";

  bar->DetailsBox()->click();
  EXPECT_FALSE(view->DetailsTabs()->isVisibleTo(view));
  EXPECT_FALSE(bar->DetailsBox()->isChecked());
  Frame()->Action(ReviewCommand::kViewDetails)->trigger();  // the menu and the bar agree
  EXPECT_TRUE(bar->DetailsBox()->isChecked());

  // The View menu shows and hides the bar.
  QAction* toggle = Frame()->Action(ReviewCommand::kShowReviewOptions);
  ASSERT_NE(toggle, nullptr);
  toggle->trigger();
  EXPECT_TRUE(Frame()->OptionsDock()->isHidden());
  EXPECT_FALSE(toggle->isChecked());
  toggle->trigger();
  EXPECT_FALSE(Frame()->OptionsDock()->isHidden());

  // Without a record the bar has nothing to set.
  Frame()->Action(ReviewCommand::kFileClose)->trigger();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  Frame()->UpdateFromView();
  EXPECT_FALSE(bar->isEnabled());
}

TEST_F(ReviewWindow, ScreenshotsOfTheLayouts) {
  COskScpView* view = Open();
  const QImage twelve = Shoot(Frame(), "review-12lead");
  ASSERT_EQ(twelve.size(), QSize(1600, 1000));
  const QRect traces(view->Traces()->mapTo(Frame(), QPoint(0, 0)), view->Traces()->size());
  EXPECT_GT(traces.width(), 800);
  EXPECT_GT(DistinctColours(twelve, traces), 4) << "grid and traces drawn";

  Frame()->Action(ReviewCommand::kViewStrips)->trigger();
  view->SetLeadsShown(6);
  const QImage strips = Shoot(Frame(), "review-strips");
  EXPECT_NE(strips.copy(traces), twelve.copy(traces));

  Frame()->Action(ReviewCommand::kViewZoom)->trigger();
  Frame()->Action(ReviewCommand::kZoomIn)->trigger();
  const QImage zoom = Shoot(Frame(), "review-zoom");
  EXPECT_NE(zoom.copy(traces), strips.copy(traces));

  Frame()->Action(ReviewCommand::kView12Lead)->trigger();
  Frame()->Action(ReviewCommand::kZoomOut)->trigger();
  Frame()->Action(ReviewCommand::kShowAveraged)->trigger();
  Shoot(Frame(), "review-averaged");
  view->DetailsTabs()->setCurrentIndex(2);
  Frame()->Action(ReviewCommand::kCursorMeasure)->trigger();
  view->Traces()->SetCaliperPoints(QPoint(200, 150), QPoint(300, 100));
  const QImage details = Shoot(Frame(), "review-details");
  EXPECT_EQ(details.size(), QSize(1600, 1000));
}

// Records from other systems, copied out of the shared data first.
std::string CopyForeignRecord(const QTemporaryDir& dir, const std::string& name) {
  const std::string shared = ecg::test::SharedDataFolder();
  if (shared.empty()) return {};
  const QString source = QString::fromStdString(shared + "/scp-foreign/" + name);
  if (!QFileInfo::exists(source)) return {};
  const QString copy = dir.filePath(QString::fromStdString(name));
  return QFile::copy(source, copy) ? copy.toStdString() : std::string();
}

TEST_F(ReviewWindow, CompressedRecordFromAnotherSystemShowsItsTraces) {
  const std::string path = CopyForeignRecord(dir_, "PFE105_high.scp");
  if (path.empty()) GTEST_SKIP() << "shared data folder has no scp-foreign/PFE105_high.scp";
  const auto before = ecg::test::FileBytes(path);
  ReviewStartParameters read_only;
  read_only.read_only = true;
  COskScpView* view = Open(read_only, nullptr, path);
  ASSERT_NE(view, nullptr) << (prompt_.shown().empty() ? "" : prompt_.shown()[0].text);
  ASSERT_TRUE(view->Traces()->HasTraces());
  const auto& rhythm = view->GetDocument()->Traces()->rhythm;
  EXPECT_GE(rhythm.leads.size(), 8u);
  EXPECT_GT(rhythm.Seconds(), 5.0);
  // The decoded samples are a signal, not a flat line or noise of zeros.
  const auto* lead2 = rhythm.Find(2);
  ASSERT_NE(lead2, nullptr);
  const auto [lo, hi] = std::minmax_element(lead2->microvolts.begin(), lead2->microvolts.end());
  EXPECT_GT(*hi - *lo, 300.0f) << "microvolts peak to peak";
  EXPECT_LT(*hi - *lo, 20000.0f);

  Frame()->Action(ReviewCommand::kViewStrips)->trigger();
  const QImage shot = Shoot(Frame(), "review-foreign-pfe105");
  const QRect traces(view->Traces()->mapTo(Frame(), QPoint(0, 0)), view->Traces()->size());
  EXPECT_GT(DistinctColours(shot, traces), 4);
  CloseFrame();
  EXPECT_EQ(ecg::test::FileBytes(path), before) << "read-only review leaves the record alone";
}

TEST_F(ReviewWindow, RefusedRecordGivesAClearMessageAndNoWindow) {
  const std::string path = CopyForeignRecord(dir_, "corrupt_section1_resized_test_log.SCP");
  if (path.empty()) GTEST_SKIP() << "shared data folder has no scp-foreign/corrupt_section1_resized_test_log.SCP";
  const auto before = ecg::test::FileBytes(path);
  EXPECT_EQ(Open({}, nullptr, path), nullptr);
  EXPECT_EQ(app_->ReviewWindowCount(), 0);
  ASSERT_EQ(prompt_.shown().size(), 1u);
  const std::string text = prompt_.shown()[0].text;
  EXPECT_EQ(prompt_.shown()[0].caption, "Error");
  EXPECT_NE(text.find("corrupt_section1_resized_test_log.SCP"), std::string::npos) << text;
  EXPECT_NE(text.find("cannot be read"), std::string::npos) << text;
  const size_t at = text.find("(error ");
  ASSERT_NE(at, std::string::npos) << text;
  const QString reason = CECGApp::ReasonOfReadError(static_cast<uint32_t>(std::stoul(text.substr(at + 7))));
  EXPECT_FALSE(reason.isEmpty()) << "says why: " << text;
  EXPECT_NE(text.find(reason.toStdString()), std::string::npos) << text;
  EXPECT_EQ(ecg::test::FileBytes(path), before);
}

}  // namespace
