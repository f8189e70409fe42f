// The review window in the host's language: every text the window asks to
// have translated, while it is built and shows an analysed record, has an
// entry in the German language module under the context it asks with; and
// with the module installed the menus read German.

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDockWidget>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTranslator>
#include <memory>
#include <set>
#include <string>
#include <utility>

#include "interface/facade/language_module.h"
#include "interface/facade/translation_file.h"
#include "platform/prompt.h"
#include "qt_test_app.h"
#include "review/ecg_app.h"
#include "review/main_frame.h"
#include "review/oskscp_view.h"
#include "review/trace_view.h"
#include "review_test_support.h"

namespace {

// Notes each lookup and answers none, so the translators behind it still run.
class RecordingTranslator final : public QTranslator {
 public:
  QString translate(const char* context, const char* source, const char*, int) const override {
    if (context != nullptr && source != nullptr) asked.emplace(context, source);
    return {};
  }
  bool isEmpty() const override { return false; }
  mutable std::set<std::pair<std::string, std::string>> asked;
};

const std::set<std::string>& ReviewContexts() {
  static const std::set<std::string> contexts = {"CMainFrame",    "COskScpView",       "CSCPDialogBar",
                                                 "CTraceView",    "CMeasurementsBar",  "CChildFrame",
                                                 "CECGApp",       "CReviewOptionsBar"};
  return contexts;
}

TEST(ReviewTranslation, GermanModuleCoversEveryReviewText) {
  ecg::test::EnsureQtApplication();
  ecg::facade::TranslationTable german;
  ASSERT_TRUE(ecg::facade::ReadTranslationFile(ECG_TRANSLATIONS_DIR "/ECGDeu.ts", german));

  RecordingTranslator recorder;
  QCoreApplication::installTranslator(&recorder);
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  {
    ecg::platform::ScriptedPrompt prompt;
    ecg::platform::ScopedPrompt scoped{&prompt};
    ecg::test::ScopedReviewHooks hooks;
    ecg::test::FakeReviewHost host;
    CECGApp app;
    COskScpView* view = app.OpenDocument(ecg::test::WriteRecord(dir, "review.scp"), {}, &host);
    ASSERT_NE(view, nullptr);
    // Texts made on demand: the measurements in millimetres, an empty view.
    view->Execute(ReviewCommand::kUnitsMillimetres);
    view->Traces()->SetTraces(nullptr);
    view->Traces()->grab();
    // The reasons a refused record is given.
    for (uint32_t code : {2u, 3u, 5u, 11u, 13u, 14u, 84u, 232u}) EXPECT_FALSE(CECGApp::ReasonOfReadError(code).isEmpty());
  }
  QCoreApplication::removeTranslator(&recorder);

  size_t checked = 0;
  std::string missing;
  for (const auto& [context, source] : recorder.asked) {
    if (ReviewContexts().count(context) == 0) continue;
    ++checked;
    const auto c = german.find(context);
    if (c == german.end() || c->second.count(source) == 0) missing += "\n  " + context + ": \"" + source + "\"";
  }
  EXPECT_GT(checked, 80u) << "the window asked for its texts";
  EXPECT_TRUE(missing.empty()) << "not in ECGDeu.ts:" << missing;
}

TEST(ReviewTranslation, InstalledModuleGivesGermanMenusAndBars) {
  ecg::test::EnsureQtApplication();
  ecg::facade::LanguageModule* module = ecg::facade::LoadLanguageModule("ECGDeu.dll");
  ASSERT_NE(module, nullptr);
  ecg::facade::InstallLanguageModule(module);
  {
    CMainFrame frame;
    QStringList menus;
    for (QAction* action : frame.menuBar()->actions()) menus << action->text();
    EXPECT_TRUE(menus.contains("&Datei")) << menus.join(", ").toStdString();
    EXPECT_TRUE(menus.contains("&Ansicht"));
    EXPECT_EQ(frame.OptionsDock()->windowTitle(), QString::fromUtf8("Anzeigeoptionen"));
    EXPECT_EQ(frame.MeasurementsDock()->windowTitle(), "Messwerte");
  }
  ecg::facade::RemoveLanguageModule(module);
  CMainFrame english;
  EXPECT_EQ(english.OptionsDock()->windowTitle(), "Review Options");
}

}  // namespace
