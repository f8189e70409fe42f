// The live plot and the frozen strip drawn from known frames: column
// decimation, gaps, derived leads, calibration steps, the fixed 5 mm grid,
// the restart at the left edge, the filtered copy and the paged printout.

#include <gtest/gtest.h>

#include <QFile>
#include <QPrinter>
#include <algorithm>

#include "acquisition/cable_frame.h"
#include "acquisition/circular_buffer.h"
#include "acquisition/ecg_settings.h"
#include "dsp/filter_settings.h"
#include "qt_test_app.h"
#include "recording/plot_display_settings.h"
#include "recording/plot_wnd.h"
#include "recording/save_plot_wnd.h"
#include "recording_test_support.h"
#include "support/test_files.h"

namespace {

using ecg::acquisition::FrameSamples;

// Makes the application before the fixture's widgets exist (each test may
// run alone in its own process).
struct QtApplicationFirst {
  QtApplicationFirst() { ecg::test::EnsureQtApplication(); }
};

class LivePlot : public ::testing::Test, protected QtApplicationFirst {
 protected:
  void SetUp() override {
    ecg::test::EnsureQtApplication();
    ecg_.SetDevice(0.25, 0.25);  // 4 pixels per mm
    display_.SetLeadsPerGroup(3);
    display_.SetLeadGroup(0);    // I, II, III
    plot_.SetSettings(&ecg_, &display_);
    plot_.resize(400, 300);
    ASSERT_TRUE(plot_.InitPlotWnd());
  }
  // One frame with channel I and II at the given offsets from zero (or a
  // raw status value when >= 4080).
  void Add(int lead_i, int lead_ii, int frames = 1) {
    uint16_t samples[8];
    uint32_t status[8] = {};
    std::fill(std::begin(samples), std::end(samples), uint16_t{2048});
    auto put = [&](int c, int v) {
      if (v >= 4080) {
        samples[c] = 2048;
        status[c] = 1u << (v - 4080);
      } else {
        samples[c] = static_cast<uint16_t>(2048 + v);
      }
    };
    put(0, lead_i);
    put(1, lead_ii);
    for (int i = 0; i < frames; ++i) plot_.AddLeadData(samples, status, 8, 12);
  }
  int Band(const QImage& image, int row, int x0, int x1) {
    const int spacing = plot_.RowSpacing();
    const int y0 = (row + 1) * spacing;
    return ecg::test::DarkPixels(image, y0 - spacing / 2, y0 + spacing / 2, x0, x1);
  }

  CECGSettings ecg_;
  CPlotDisplaySettings display_;
  CPlotWnd plot_;
};

TEST_F(LivePlot, ScaleRowsAndEraseBar) {
  EXPECT_EQ(plot_.Rows(), 3);
  EXPECT_EQ(plot_.RowSpacing(), 75);
  EXPECT_DOUBLE_EQ(plot_.PixelsPerSample(), 25.0 / 500 / 0.25);
  EXPECT_DOUBLE_EQ(plot_.PixelsPerStep(), 3.0 * 0.01 / 0.25);
  EXPECT_EQ(plot_.EraseBarWidth(), 15);
  display_.m_customLayout = true;
  display_.SetLeadsPerGroup(12);
  plot_.ResetDisplay();
  EXPECT_EQ(plot_.RowSpacing(), 60);  // height / 5 in the 3 x 4 layout
}

TEST_F(LivePlot, SpikeInsideAColumnIsDrawnWhole) {
  ecg_.SetSpeed(12.5);  // 0.1 pixel per sample: ten frames per column
  plot_.ResetDisplay();
  Add(0, 0, 4);
  Add(200, 0);  // 200 steps x 0.12 px = 24 px
  Add(0, 0, 6);  // ten frames and one more: 10 x 0.1 stays just below 1.0
  const QImage image = plot_.Snapshot();
  const int column = ecg::test::DarkPixels(image, 75 - 30, 76, 0, 1);
  EXPECT_GE(column, 24);
  EXPECT_EQ(plot_.SweepX(), 1);
}

TEST_F(LivePlot, LeadOffLeavesAGapInItsRowAndTheDerivedLeads) {
  Add(100, 50, 100);        // 20 columns of trace
  Add(4081, 50, 250);       // I off for 50 columns
  Add(100, 50, 100);
  const QImage image = plot_.Snapshot();
  ecg::test::SavePicture(image, "recording_plot_lead_off.png");
  // Columns 21-69 (the gap, less the column where it starts and ends).
  EXPECT_EQ(Band(image, 0, 22, 69), 0) << "I";
  EXPECT_EQ(Band(image, 2, 22, 69), 0) << "III from I and II";
  EXPECT_GT(Band(image, 1, 22, 69), 40) << "II goes on";
  EXPECT_GT(Band(image, 0, 0, 19), 15);
  EXPECT_GT(Band(image, 0, 71, 89), 15) << "the trace resumes after the gap";
}

TEST_F(LivePlot, CalibrationStatusDrawsAOneMillivoltStep) {
  Add(0, 0, 10);
  Add(4082, 0, 5);  // status code 2 on I: one column
  const QImage image = plot_.Snapshot();
  // 1000 / 3 steps x 0.12 px = 40 px above the baseline.
  EXPECT_GE(ecg::test::DarkPixels(image, 75 - 45, 76, 2, 3), 40);
}

TEST_F(LivePlot, GridStaysAtFiveMillimetresWhateverSpeedAndGain) {
  plot_.Clean();
  const QImage before = plot_.Snapshot();
  ecg_.SetSpeed(50.0);
  ecg_.SetGain(0.005);
  plot_.ResetDisplay();
  plot_.SetUpGrid();
  plot_.Clean();
  EXPECT_EQ(plot_.Snapshot(), before);
  // A line every 20 pixels (5 mm at 4 px/mm), none between.
  const QRgb background = before.pixel(10, 10);
  int marked_20 = 0, marked_10 = 0;
  for (int y = 0; y < before.height(); ++y) {
    marked_20 += before.pixel(20, y) != background;
    marked_10 += before.pixel(10, y) != background;
  }
  EXPECT_GT(marked_20, 30);
  EXPECT_LT(marked_10, 30);
  display_.SetGridStyle(0);
  plot_.SetUpGrid();
  plot_.Clean();
  const QImage plain = plot_.Snapshot();
  EXPECT_EQ(plain.pixel(20, 37), plain.pixel(10, 10));
}

TEST_F(LivePlot, TraceRestartsAtTheLeftEdgeWithoutALineBack) {
  // 0.2 px per sample: 2000 frames fill the 400-pixel width.
  Add(250, 0, 1995);
  Add(-250, 0, 40);  // after the restart, 30 steps lower than before
  EXPECT_LT(plot_.SweepX(), 20);
  const QImage image = plot_.Snapshot();
  // Column 0 holds the new flat trace only: no line up to the old level.
  EXPECT_LE(ecg::test::DarkPixels(image, 0, 150, 0, 1), 2);
}

TEST_F(LivePlot, ThreeByFourDrawsColumnsAndTheRhythmStrip) {
  display_.SetLeadsPerGroup(12);
  display_.m_customLayout = true;
  display_.m_rhythmLead = 1;
  plot_.ResetDisplay();
  plot_.Clean();
  Add(100, 150, 200);
  const QImage image = plot_.Snapshot();
  ecg::test::SavePicture(image, "recording_plot_3x4.png");
  const int spacing = plot_.RowSpacing();
  // Row 4 (rhythm, II) and the second column's first row (aVR).
  EXPECT_GT(ecg::test::DarkPixels(image, 4 * spacing - 30, 4 * spacing + 10, 0, 40), 20);
  EXPECT_GT(ecg::test::DarkPixels(image, spacing - 30, spacing + 30, 100, 140), 20);
}

// ------------------------------------------------------------ frozen strip

class FrozenStrip : public ::testing::Test, protected QtApplicationFirst {
 protected:
  void SetUp() override {
    ecg::test::EnsureQtApplication();
    ecg_.SetDevice(0.25, 0.25);
    display_.SetLeadsPerGroup(12);
    strip_.SetSettings(&ecg_, &display_);
    strip_.UseExternalTransformation();
    strip_.resize(600, 400);
    filters_.SetUp(500.0);
  }
  void Fill(uint32_t frames) {
    ring_.Allocate(frames * 13 + 1);
    frames_ = ecg::test::SyntheticFrames(frames, [](uint32_t i, FrameSamples& s) {
      if (i % 1000 < 50) s[4] = 4081;  // V3 off now and then
    });
    for (const auto& s : frames_) ring_.Write(ecg::acquisition::PackFrame(s).data(), 13);
  }

  CECGSettings ecg_;
  CPlotDisplaySettings display_;
  CFilterSettings filters_;
  CCircularBuffer ring_{false, true};
  std::vector<FrameSamples> frames_;
  CSavePlotWnd strip_;
};

TEST_F(FrozenStrip, FilteredCopyKeepsStatusCodesAndFollowsTheFilters) {
  Fill(3000);
  ASSERT_TRUE(strip_.SetData(ring_, 8, filters_));
  ASSERT_EQ(strip_.Frames(), 3000u);
  auto raw = strip_.ReadFrames(10, 1);
  ASSERT_EQ(raw.size(), 13u);
  EXPECT_EQ(ecg::acquisition::UnpackFrame(raw.data())[4], 4081);
  EXPECT_TRUE(ecg::acquisition::FrameChecks(raw.data()));
  // No filter on: the copy is the recording.
  const auto plain = strip_.ReadFrames(0, 3000);
  for (uint32_t i = 0; i < 3000; i += 97) {
    EXPECT_EQ(ecg::acquisition::UnpackFrame(plain.data() + 13 * i)[0], frames_[i][0]) << i;
  }
  strip_.ScrollToOffset(1234);
  filters_.SwitchFilters(true, false, false, 50);
  ASSERT_TRUE(strip_.ResetData(ring_, filters_));
  EXPECT_EQ(strip_.GetScrollOffset(), 1234u);
  EXPECT_EQ(strip_.Frames(), 3000u);
  EXPECT_NE(strip_.ReadFrames(0, 3000), plain) << "the muscle filter changes the copy";
  strip_.ScrollToOffset(99999);
  EXPECT_EQ(strip_.GetScrollOffset(), 3000u);
  strip_.KillData();
  EXPECT_EQ(strip_.Frames(), 0u);
}

TEST_F(FrozenStrip, ScrollingMovesTheStrip) {
  Fill(12000);
  ASSERT_TRUE(strip_.SetData(ring_, 8, filters_));
  ASSERT_TRUE(strip_.InitPlotWnd());
  strip_.ScrollToOffset(0);
  const QImage first = strip_.grab().toImage();
  strip_.ScrollToOffset(2500);
  const QImage later = strip_.grab().toImage();
  EXPECT_NE(first, later);
  ecg::test::SavePicture(later, "recording_strip_scrolled.png");
}

int PdfPages(const std::string& path) {
  QFile f(QString::fromStdString(path));
  if (!f.open(QIODevice::ReadOnly)) return -1;
  const QByteArray bytes = f.readAll();
  int pages = 0;
  for (qsizetype at = bytes.indexOf("/Type /Page"); at >= 0; at = bytes.indexOf("/Type /Page", at + 1)) {
    if (bytes.mid(at, 12) != "/Type /Pages") ++pages;
  }
  return pages;
}

TEST_F(FrozenStrip, TwentyFiveSecondsPrintAsWholeSecondPages) {
  Fill(12500);
  ASSERT_TRUE(strip_.SetData(ring_, 8, filters_));
  strip_.SetRawPrintoutTime(ecg::platform::LocalTimeNow());
  const std::string path = ecg::test::TestOutputFolder() + "/recording_strip_printout.pdf";
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(path));
  printer.setPageSize(QPageSize(QPageSize::A4));
  ASSERT_TRUE(strip_.PrintPages(printer, {}, "Record ECG", "stage 2", "Filters: 0.05 - 150 Hz"));
  const int seconds = strip_.SecondsPerPage();
  EXPECT_GE(seconds, 9);
  EXPECT_LE(seconds, 11);
  const int expected = (25 + seconds - 1) / seconds;
  EXPECT_EQ(static_cast<int>(strip_.PrintedPages()), expected);
  EXPECT_EQ(PdfPages(path), expected);

  // A page range beyond the recording is cut at its end; wholly past it fails.
  QPrinter second(QPrinter::HighResolution);
  second.setOutputFormat(QPrinter::PdfFormat);
  second.setOutputFileName(QString::fromStdString(ecg::test::TestOutputFolder() + "/recording_strip_range.pdf"));
  ASSERT_TRUE(strip_.PrintPages(second, {ecg::recording::StripPrintRange::kPages, 2, 40}, "T", "", ""));
  EXPECT_EQ(static_cast<int>(strip_.PrintedPages()), expected - 1);
  QPrinter third(QPrinter::HighResolution);
  third.setOutputFormat(QPrinter::PdfFormat);
  third.setOutputFileName(QString::fromStdString(ecg::test::TestOutputFolder() + "/recording_strip_none.pdf"));
  EXPECT_FALSE(strip_.PrintPages(third, {ecg::recording::StripPrintRange::kPages, 30, 40}, "T", "", ""));
}

}  // namespace
