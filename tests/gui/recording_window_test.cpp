// The recording window run against demo replay and the cable simulator on a
// pseudo-terminal (real serial path): the ten-second rule for Save, freezing
// and scrolling, saving at the scroll position, Cancel while connecting,
// lead-off indications, reconnection after a fault, and cables that answer
// "6L" or refuse SRATE. Pictures of the live and frozen windows go to the
// test output folder.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <cstdlib>
#include <memory>

#include "acquisition/cable_frame.h"
#include "cable_simulator.h"
#include "platform/prompt.h"
#include "qt_test_app.h"
#include "recording/plot_wnd.h"
#include "recording/save_plot_wnd.h"
#include "recording/simulated_cable.h"
#include "recording/tm_realtime_dlg.h"
#include "recording_test_support.h"
#include "support/test_files.h"

namespace {

using ecg::acquisition::FrameSamples;

// Frames of the saved recording file (after the 281-byte information block).
std::vector<uint8_t> SavedFrames(const std::string& path) {
  const auto bytes = ecg::test::ReadFile(path);
  const size_t start = 1 + 3 + 281 + 3;
  if (bytes.size() < start) return {};
  return std::vector<uint8_t>(bytes.begin() + static_cast<long>(start), bytes.end());
}

class RecordingWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ecg::test::EnsureQtApplication();
    setenv("ECG_COM_DIR", folder_.path().c_str(), 1);
  }
  void TearDown() override {
    window_.reset();
    cable_.Stop();
    unsetenv("ECG_COM_DIR");
  }
  // A window on a demo file replayed at `rate` frames per second.
  void OpenDemo(const std::vector<FrameSamples>& frames, double rate, int seconds = 900,
                int lead_entry = 7) {
    const std::string demo = folder_.File("demo.ecg");
    ASSERT_TRUE(ecg::test::WriteDemoRecording(demo, frames, rate));
    window_ = std::make_unique<CTM_RealTimeDlg>();
    window_->SetOutputFile(out_);
    window_->SetECGBufferSize(seconds);
    window_->SetDemoFile(demo, true);
    window_->LeadGroup(lead_entry);
    window_->show();
  }
  // A window on the simulated cable as COM4. The simulator may stream up to
  // twice as fast as a cable: the 2 s pause after DATA must still fit the
  // 60000-byte receive ring.
  void OpenSimulated(ecg::cablesim::SimulatorOptions options) {
    std::string reason;
    ASSERT_TRUE(cable_.Start(folder_.path(), 4, options, &reason)) << reason;
    window_ = std::make_unique<CTM_RealTimeDlg>();
    window_->SetOutputFile(out_);
    window_->SetECGBufferSize(900);
    window_->SetPortName("COM4");
    window_->show();
  }
  bool WaitSaveEnabled(int ms) {
    return QTest::qWaitFor([&] { return window_->SaveButton()->isEnabled(); }, ms);
  }
  // What the window said, for failure messages.
  std::string Said() {
    std::string text = "status: " + window_->StatusText().toStdString();
    for (const auto& s : prompt_.shown()) text += "\nprompt: " + s.text;
    return text + "\nbytes: " + std::to_string(window_->RingBytes());
  }

  ecg::test::TempFolder folder_;
  std::string out_ = folder_.File("rt-ecg.tmp");
  ecg::platform::ScriptedPrompt prompt_;
  ecg::platform::ScopedPrompt scoped_{&prompt_};
  ecg::recording::SimulatedCable cable_;
  std::unique_ptr<CTM_RealTimeDlg> window_;
};

TEST_F(RecordingWindow, SaveWaitsForTenSecondsFreezeShowsTheNewestAndSavesAtTheScrollPosition) {
  // 2500 frames per second: ten seconds of frames in two.
  OpenDemo(ecg::test::SyntheticFrames(30000), 2500.0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return window_->IsDataFlowing(); }, 10000));
  EXPECT_FALSE(window_->PrintButton()->isEnabled());
  // Save never comes before 65000 bytes, and comes after them.
  bool early = false;
  ASSERT_TRUE(QTest::qWaitFor([&] {
    const bool enabled = window_->SaveButton()->isEnabled();
    if (enabled && window_->RingBytes() < CTM_RealTimeDlg::kRequiredBytes) early = true;
    return enabled;
  }, 20000));
  EXPECT_FALSE(early);
  EXPECT_TRUE(window_->RecordButton()->isEnabled());
  EXPECT_TRUE(window_->ReviewButton()->isEnabled());
  ASSERT_TRUE(QTest::qWaitFor([&] { return window_->RingBytes() >= 13u * 9000; }, 20000));
  QTest::qWait(1100);  // one indicator tick
  EXPECT_TRUE(window_->IndicationsText().startsWith("Cable Status: ")) << window_->IndicationsText().toStdString();
  EXPECT_NE(window_->HeartRateLabel()->text(), "");
  ecg::test::SavePicture(window_->grab().toImage(), "recording_window_live_demo.png");

  QTest::mouseClick(window_->RecordButton(), Qt::LeftButton);
  ASSERT_FALSE(window_->IsLive());
  const uint32_t frames = window_->RingBytes() / 13;
  ASSERT_GE(frames, 9000u);
  QScrollBar* bar = window_->StripScrollBar();
  EXPECT_TRUE(bar->isVisible());
  EXPECT_EQ(bar->maximum(), static_cast<int>(frames - 5000));
  EXPECT_EQ(bar->value(), static_cast<int>(frames - 5000));
  EXPECT_EQ(bar->pageStep(), 5000);
  EXPECT_EQ(window_->SavePlotWnd()->GetScrollOffset(), frames - 5000);
  EXPECT_EQ(window_->SavePlotWnd()->Frames(), frames);
  EXPECT_TRUE(window_->PrintButton()->isEnabled());
  EXPECT_FALSE(window_->SpeedList()->isEnabled());
  EXPECT_EQ(window_->IndicationsText(), "Review");
  ecg::test::SavePicture(window_->grab().toImage(), "recording_window_frozen.png");

  const QImage newest = window_->SavePlotWnd()->grab().toImage();
  bar->setValue(1234);
  EXPECT_EQ(window_->SavePlotWnd()->GetScrollOffset(), 1234u);
  EXPECT_NE(window_->SavePlotWnd()->grab().toImage(), newest);
  const auto expected = window_->SavePlotWnd()->ReadFrames(1234, 5000);

  QTest::mouseClick(window_->SaveButton(), Qt::LeftButton);
  EXPECT_EQ(window_->EndCode(), CTM_RealTimeDlg::kEndSave);
  EXPECT_EQ(window_->result(), CTM_RealTimeDlg::kEndSave);
  const auto saved = SavedFrames(out_);
  ASSERT_EQ(saved.size(), 5000u * 13);
  // No filter is on, so the strip's copy is the recording itself.
  EXPECT_EQ(saved, expected);
}

TEST_F(RecordingWindow, FreezingEarlyShowsEverythingFromZeroAndLiveWaitsAgain) {
  OpenDemo(ecg::test::SyntheticFrames(20000), 1000.0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return window_->RingBytes() >= 13u * 1000; }, 10000));
  EXPECT_FALSE(window_->SaveButton()->isEnabled());
  window_->OnRecordBtn();  // freeze with fewer than ten seconds
  ASSERT_FALSE(window_->IsLive());
  EXPECT_EQ(window_->StripScrollBar()->value(), 0);
  EXPECT_EQ(window_->StripScrollBar()->maximum(), 0);
  EXPECT_EQ(window_->SavePlotWnd()->GetScrollOffset(), 0u);
  window_->OnRecordBtn();  // live again: a new connection
  EXPECT_TRUE(window_->IsLive());
  EXPECT_FALSE(window_->SaveButton()->isEnabled());
  EXPECT_FALSE(window_->PrintButton()->isEnabled());
  ASSERT_TRUE(QTest::qWaitFor([&] { return window_->IsDataFlowing(); }, 10000));
  EXPECT_LT(window_->RingBytes(), CTM_RealTimeDlg::kRequiredBytes);
  EXPECT_FALSE(window_->SaveButton()->isEnabled());
  window_->reject();
  EXPECT_EQ(window_->result(), CTM_RealTimeDlg::kEndCancel);
}

TEST_F(RecordingWindow, LiveSaveWithTheTenSecondRingStoresTheNewestTenSeconds) {
  OpenDemo(ecg::test::SyntheticFrames(20000), 2500.0, 10);
  ASSERT_TRUE(WaitSaveEnabled(20000));
  QTest::mouseClick(window_->ReviewButton(), Qt::LeftButton);
  EXPECT_EQ(window_->result(), CTM_RealTimeDlg::kEndSaveReview);
  EXPECT_EQ(SavedFrames(out_).size(), 5000u * 13);
}

TEST_F(RecordingWindow, LeadOffCrossesTheLabelAndLeavesAGap) {
  // "I, II, III": rows far enough apart that II stays out of I's band.
  OpenDemo(ecg::test::SyntheticFrames(5000, [](uint32_t, FrameSamples& s) { s[0] = 4081; }), 500.0,
           900, 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return window_->RingBytes() >= 13u * 1500; }, 15000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return window_->IndicationsText().contains("Lead off"); }, 3000))
      << window_->IndicationsText().toStdString();
  CPlotWnd* plot = window_->PlotWnd();
  const QImage image = plot->Snapshot();
  const int spacing = plot->RowSpacing();
  const int sweep = plot->SweepX();
  auto band = [&](int row) {
    const int y0 = (row + 1) * spacing;
    return ecg::test::DarkPixels(image, y0 - spacing / 2, y0 + spacing / 2, 0, std::max(1, sweep - 2));
  };
  EXPECT_EQ(band(0), 0) << "I";
  EXPECT_EQ(band(2), 0) << "III, derived from I";
  EXPECT_GT(band(1), 20) << "II";
  // The label of I is crossed in red; that of II is not.
  const QImage shown = plot->grab().toImage();
  ecg::test::SavePicture(shown, "recording_window_lead_off.png");
  auto red = [&](int row) {
    int n = 0;
    const int top = (row + 1) * spacing - spacing / 2 - 10;
    for (int y = std::max(0, top); y < top + 40 && y < shown.height(); ++y) {
      for (int x = 0; x < 40; ++x) {
        const QColor c = shown.pixelColor(x, y);
        n += c.red() > 200 && c.green() < 80 && c.blue() < 80;
      }
    }
    return n;
  };
  EXPECT_GT(red(0), 20);
  EXPECT_EQ(red(1), 0);
}

TEST_F(RecordingWindow, CancelWhileConnectingEndsWithTwoAndNoFile) {
  ecg::cablesim::SimulatorOptions options;
  options.faults.no_enq_answer = true;
  OpenSimulated(options);
  QTest::qWait(500);
  EXPECT_FALSE(window_->IsDataFlowing());
  QTest::mouseClick(window_->CancelButton(), Qt::LeftButton);
  EXPECT_EQ(window_->result(), CTM_RealTimeDlg::kEndCancel);
  EXPECT_EQ(window_->EndCode(), CTM_RealTimeDlg::kEndCancel);
  EXPECT_FALSE(window_->IsCableRunning());
  EXPECT_TRUE(ecg::test::ReadFile(out_).empty());
}

TEST_F(RecordingWindow, SixLeadCableAndSrateErrorStillReachLive) {
  ecg::cablesim::SimulatorOptions options;
  options.faults.six_lead_id = true;
  options.faults.srate_error = true;
  options.speed = 2.0;
  OpenSimulated(options);
  ASSERT_TRUE(WaitSaveEnabled(30000)) << Said();
  EXPECT_TRUE(window_->IsLive());
  EXPECT_GT(window_->ProgressBar()->value(), 0);
  ecg::test::SavePicture(window_->grab().toImage(), "recording_window_live_serial.png");
  QTest::mouseClick(window_->SavePrintButton(), Qt::LeftButton);
  EXPECT_EQ(window_->result(), CTM_RealTimeDlg::kEndSavePrint);
  EXPECT_EQ(SavedFrames(out_).size(), 5000u * 13);
}

TEST_F(RecordingWindow, FaultThatAsksForReconnectionReconnectsAndKeepsRunning) {
  ecg::cablesim::SimulatorOptions options;
  options.speed = 2.0;
  OpenSimulated(options);
  ASSERT_TRUE(WaitSaveEnabled(30000)) << Said();
  // The line goes away and a cable comes back on the same port.
  cable_.Stop();
  std::string reason;
  ASSERT_TRUE(cable_.Start(folder_.path(), 4, options, &reason)) << reason;
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window_->SaveButton()->isEnabled(); }, 10000))
      << "the fault did not reconnect";
  ASSERT_TRUE(WaitSaveEnabled(30000)) << Said();
  EXPECT_TRUE(window_->isVisible());
  EXPECT_TRUE(window_->IsLive());
  EXPECT_GE(window_->RingBytes(), CTM_RealTimeDlg::kRequiredBytes);
  window_->reject();
}

TEST_F(RecordingWindow, DisplayControlsRescaleTheLivePlotAndFiltersRebuildTheFrozenStrip) {
  OpenDemo(ecg::test::SyntheticFrames(20000), 2500.0, 900, 0);
  // More than ten seconds, so that the frozen strip can scroll.
  ASSERT_TRUE(QTest::qWaitFor([&] { return window_->RingBytes() >= 13u * 6000; }, 15000));
  CPlotWnd* plot = window_->PlotWnd();
  const double pps = plot->PixelsPerSample();
  const double ppstep = plot->PixelsPerStep();
  emit window_->SpeedList()->activated(2);  // 50 mm/s
  EXPECT_DOUBLE_EQ(plot->PixelsPerSample(), 2 * pps);
  emit window_->SensitivityList()->activated(0);  // 5 mm/mV
  EXPECT_DOUBLE_EQ(plot->PixelsPerStep(), ppstep / 2);
  EXPECT_DOUBLE_EQ(window_->EcgSettings().GetGain(), 0.005);
  // "I, II, III" -> down -> "aVR, aVL, aVF"; up twice -> "V4, V5, V6".
  QTest::mouseClick(window_->GroupDownArrow(), Qt::LeftButton);
  EXPECT_EQ(window_->LeadList()->currentIndex(), 1);
  EXPECT_EQ(window_->DisplaySettings().RowChannel(0), 9);
  QTest::mouseClick(window_->GroupUpArrow(), Qt::LeftButton);
  QTest::mouseClick(window_->GroupUpArrow(), Qt::LeftButton);
  EXPECT_EQ(window_->LeadList()->currentIndex(), 3);
  EXPECT_EQ(window_->DisplaySettings().RowChannel(2), 7);
  window_->LeadList()->setCurrentIndex(7);
  emit window_->LeadList()->activated(7);
  EXPECT_FALSE(window_->GroupUpArrow()->isEnabled());
  EXPECT_EQ(plot->Rows(), 12);

  window_->OnRecordBtn();
  ASSERT_FALSE(window_->IsLive());
  window_->StripScrollBar()->setValue(100);
  ASSERT_EQ(window_->SavePlotWnd()->GetScrollOffset(), 100u);
  const auto plain = window_->SavePlotWnd()->ReadFrames(0, 2000);
  QTest::mouseClick(window_->MuscleBox(), Qt::LeftButton);
  EXPECT_TRUE(window_->FilterSettings().Muscle());
  EXPECT_EQ(window_->SavePlotWnd()->GetScrollOffset(), 100u);
  EXPECT_NE(window_->SavePlotWnd()->ReadFrames(0, 2000), plain);
  window_->reject();
}

TEST_F(RecordingWindow, UnderConstructionButtonsAndPrintOnlyWhileFrozen) {
  OpenDemo(ecg::test::SyntheticFrames(2000), 500.0);
  window_->OnPrintRhythmStripBtn();
  window_->OnPrint60SecondsBtn();
  const auto shown = prompt_.shown();
  ASSERT_GE(shown.size(), 2u);
  EXPECT_EQ(shown[shown.size() - 2].text, "Print Rhythm Strip is currently UNDER CONSTRUCTION");
  EXPECT_EQ(shown.back().text, "Print 60 Seconds is currently UNDER CONSTRUCTION");
  EXPECT_FALSE(window_->PrintButton()->isEnabled());
  window_->reject();
}

}  // namespace
