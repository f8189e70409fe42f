// The review display: caliper readings, display filters on a copy of the
// samples, the trace view's settings and the lead order from the options.

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>
#include <cmath>
#include <numbers>

#include "qt_test_app.h"
#include "render/trace_layout.h"
#include "review/caliper.h"
#include "review/display_filtering.h"
#include "review/oskscp_view.h"
#include "review/trace_view.h"

namespace {

using namespace ecg::review;
using ecg::render::TraceSet;

TEST(ReviewCaliper, TimeAndAmplitudeFromPaperDistance) {
  const CaliperReading r = ReadCaliper(25.0, -10.0, 25.0, 10.0);
  EXPECT_DOUBLE_EQ(r.milliseconds, 1000.0);
  EXPECT_DOUBLE_EQ(r.microvolts, 1000.0);  // up is positive
  EXPECT_DOUBLE_EQ(r.millimetres, 10.0);
  const CaliperReading fast = ReadCaliper(10.0, 5.0, 50.0, 20.0);
  EXPECT_DOUBLE_EQ(fast.milliseconds, 200.0);
  EXPECT_DOUBLE_EQ(fast.microvolts, -250.0);
  EXPECT_EQ(CaliperText(r, CaliperUnits::kMicrovolts), QString::fromUtf8("1000 ms, 1000 \u03BCV"));
  EXPECT_EQ(CaliperText(fast, CaliperUnits::kMillimetres), "200 ms, -5.0 mm");
  // Degenerate scales give zero rather than infinities.
  EXPECT_DOUBLE_EQ(ReadCaliper(5, 5, 0, 0).milliseconds, 0.0);
}

TraceSet Sine(double rate, double hz, double amplitude, size_t n, double offset = 0.0) {
  TraceSet set;
  set.rate_hz = rate;
  ecg::render::TraceLead lead;
  lead.code = 1;
  for (size_t i = 0; i < n; ++i) {
    lead.microvolts.push_back(static_cast<float>(offset + amplitude * std::sin(2 * std::numbers::pi * hz * i / rate)));
  }
  set.leads.push_back(lead);
  return set;
}

// Peak-to-peak half amplitude after the first second.
double SettledAmplitude(const std::vector<float>& v, double rate) {
  float lo = 1e9f, hi = -1e9f;
  for (size_t i = static_cast<size_t>(rate); i < v.size(); ++i) {
    lo = std::min(lo, v[i]);
    hi = std::max(hi, v[i]);
  }
  return (hi - lo) / 2.0;
}

TEST(ReviewDisplayFilters, NotchRemovesTheChosenMainsOnly) {
  const TraceSet hum = Sine(500, 60, 1000, 2500, 300);
  const TraceSet notched = FilterForDisplay(hum, {false, 60});
  EXPECT_LT(SettledAmplitude(notched.leads[0].microvolts, 500), 100.0);
  const TraceSet wrong = FilterForDisplay(hum, {false, 50});
  EXPECT_GT(SettledAmplitude(wrong.leads[0].microvolts, 500), 700.0);
  // The source is left as it was: filtering is for display only.
  EXPECT_FLOAT_EQ(hum.leads[0].microvolts[100], static_cast<float>(300 + 1000 * std::sin(2 * std::numbers::pi * 60 * 100 / 500.0)));
  // The offset passes (unity gain at 0 Hz) and starts without a step.
  EXPECT_NEAR(notched.leads[0].microvolts[0], 300.0, 60.0);
}

TEST(ReviewDisplayFilters, MuscleFilterAttenuatesFastWavesAndKeepsSlowOnes) {
  const TraceSet fast = FilterForDisplay(Sine(500, 120, 1000, 2500), {true, 0});
  EXPECT_LT(SettledAmplitude(fast.leads[0].microvolts, 500), 150.0);
  const TraceSet slow = FilterForDisplay(Sine(500, 5, 1000, 2500), {true, 0});
  EXPECT_GT(SettledAmplitude(slow.leads[0].microvolts, 500), 900.0);
}

TEST(ReviewDisplayFilters, GapsStayGapsAndRatesTooLowStayUnfiltered) {
  TraceSet gap = Sine(500, 60, 1000, 1000);
  gap.leads[0].microvolts[400] = std::nanf("");
  const TraceSet out = FilterForDisplay(gap, {true, 60});
  EXPECT_TRUE(std::isnan(out.leads[0].microvolts[400]));
  EXPECT_FALSE(std::isnan(out.leads[0].microvolts[401]));
  EXPECT_EQ(FilterForDisplay(gap, {false, 0}).leads[0].microvolts.size(), gap.leads[0].microvolts.size());

  // 80 Hz cannot carry a 35 Hz low-pass or a mains notch: shown as recorded.
  const TraceSet slow_rate = Sine(80, 5, 1000, 400);
  EXPECT_FALSE(DisplayFiltersSuit(80));
  EXPECT_FALSE(DisplayFiltersSuit(150));
  EXPECT_TRUE(DisplayFiltersSuit(250));
  EXPECT_EQ(FilterForDisplay(slow_rate, {true, 60}).leads[0].microvolts, slow_rate.leads[0].microvolts);
  // 100 Hz carries the low-pass but not a 50 Hz notch: the low-pass alone.
  const TraceSet hundred = Sine(100, 30, 1000, 500);
  EXPECT_EQ(FilterForDisplay(hundred, {false, 50}).leads[0].microvolts, hundred.leads[0].microvolts);
  EXPECT_NE(FilterForDisplay(hundred, {true, 50}).leads[0].microvolts, hundred.leads[0].microvolts);
}

// The record rates met in practice, the Welch Allyn 599.88 Hz among them.
class ReviewDisplayFiltersAtRate : public ::testing::TestWithParam<double> {};

TEST_P(ReviewDisplayFiltersAtRate, NotchAndMuscleFilterWorkAtTheRecordsRate) {
  const double rate = GetParam();
  const auto n = static_cast<size_t>(5 * rate);
  for (int mains : {50, 60}) {
    const int other = mains == 50 ? 60 : 50;
    const TraceSet hum = Sine(rate, mains, 1000, n, 300);
    const TraceSet notched = FilterForDisplay(hum, {false, mains});
    EXPECT_LT(SettledAmplitude(notched.leads[0].microvolts, rate), 50.0) << mains << " Hz at " << rate;
    EXPECT_NEAR(notched.leads[0].microvolts[0], 300.0, 60.0) << "no step at the start";
    EXPECT_GT(SettledAmplitude(FilterForDisplay(hum, {false, other}).leads[0].microvolts, rate), 900.0);
  }
  // Low-pass: slow waves pass, the corner is at 35 Hz, fast ones go.
  EXPECT_GT(SettledAmplitude(FilterForDisplay(Sine(rate, 5, 1000, n), {true, 0}).leads[0].microvolts, rate), 980.0);
  EXPECT_NEAR(SettledAmplitude(FilterForDisplay(Sine(rate, 35, 1000, n), {true, 0}).leads[0].microvolts, rate),
              707.0, 40.0);
  const double fast_hz = std::min(100.0, rate * 0.4);
  EXPECT_LT(SettledAmplitude(FilterForDisplay(Sine(rate, fast_hz, 1000, n), {true, 0}).leads[0].microvolts, rate),
            150.0);
  // A constant passes unchanged (unity gain at 0 Hz).
  const TraceSet flat = FilterForDisplay(Sine(rate, 0, 0, n, 500), {true, 50});
  EXPECT_NEAR(flat.leads[0].microvolts[n / 2], 500.0, 0.01);
}

INSTANTIATE_TEST_SUITE_P(Rates, ReviewDisplayFiltersAtRate, ::testing::Values(250.0, 496.55, 599.88, 1000.0));

TEST(ReviewLeadOrder, OptionOrderBecomesLeadCodes) {
  CECGDefaultSettings::LeadList order = {6, 7, 8, 9, 10, 11, 0, 1, 2, 3, 4, 5};
  EXPECT_EQ(LeadCodesOfOrder(order), (std::vector<uint8_t>{3, 4, 5, 6, 7, 8, 1, 2, 61, 62, 63, 64}));
  CECGDefaultSettings::LeadList repeated = {0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  EXPECT_EQ(LeadCodesOfOrder(repeated), (std::vector<uint8_t>{1, 2, 61, 62, 63, 64, 3, 4, 5, 6, 7, 8}));
  CECGDefaultSettings::LeadList outside = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12};
  EXPECT_EQ(LeadCodesOfOrder(outside).front(), 1);
}

TEST(ReviewTraceView, SettingsStepAndClamp) {
  ecg::test::EnsureQtApplication();
  CTraceView view;
  EXPECT_EQ(view.LayoutCode(), ecg::render::kLayout3x4);
  view.SetShowAveraged(true);
  EXPECT_EQ(view.LayoutCode(), ecg::render::kLayoutAveraged);
  view.SetMode(CTraceView::Mode::kZoom);
  EXPECT_EQ(view.LayoutCode(), ecg::render::kLayoutAveragedZoom);
  view.SetShowAveraged(false);
  EXPECT_EQ(view.LayoutCode(), ecg::render::kLayoutZoom);
  for (int i = 0; i < 5; ++i) view.ZoomIn();
  EXPECT_DOUBLE_EQ(view.ZoomFactor(), 8.0);
  for (int i = 0; i < 5; ++i) view.ZoomOut();
  EXPECT_DOUBLE_EQ(view.ZoomFactor(), 1.0);
  view.SetSelectedLead(11);
  view.NextLead();
  EXPECT_EQ(view.SelectedLead(), 0);
  view.PreviousLead();
  EXPECT_EQ(view.SelectedLeadCode(), 8);  // V6
  view.SetSelectedLead(40);  // outside: ignored
  EXPECT_EQ(view.SelectedLead(), 11);
}

TEST(ReviewTraceView, CaliperPointsReadAtTheViewScale) {
  ecg::test::EnsureQtApplication();
  CTraceView view;
  view.SetPixelsPerMm(4.0);
  view.SetSpeed(25.0);
  view.SetSensitivity(10.0);
  QString shown;
  QObject::connect(&view, &CTraceView::caliperChanged, [&](const QString& text) { shown = text; });
  view.SetCaliperPoints(QPoint(10, 200), QPoint(110, 160));  // 25 mm right, 10 mm up
  ASSERT_TRUE(view.Caliper().has_value());
  EXPECT_NEAR(view.Caliper()->milliseconds, 1000.0, 1e-9);
  EXPECT_NEAR(view.Caliper()->microvolts, 1000.0, 1e-9);
  EXPECT_EQ(shown, QString::fromUtf8("1000 ms, 1000 \u03BCV"));
  view.SetCaliperUnits(CaliperUnits::kMillimetres);
  EXPECT_EQ(shown, "1000 ms, 10.0 mm");
  view.ZoomIn();  // twice the pixels per millimetre: the same drag is half the time
  view.SetCaliperPoints(QPoint(10, 200), QPoint(110, 200));
  EXPECT_NEAR(view.Caliper()->milliseconds, 500.0, 1e-9);
}

// Ten seconds of lead II at `rate`, for the scrolling tests.
std::shared_ptr<const ecg::render::RecordTraces> TenSeconds(double rate) {
  auto traces = std::make_shared<ecg::render::RecordTraces>();
  traces->rhythm = Sine(rate, 1.0, 1000, static_cast<size_t>(10 * rate));
  traces->rhythm.leads[0].code = 2;
  return traces;
}

// The span a strip of `width_px` shows at 4 px/mm: the trace width after the
// calibration area, at the paper speed.
size_t StripSamples(int width_px, double speed, double rate) {
  const double mm = (width_px - 8) / 4.0 - ecg::render::CalibrationAreaMm(speed);
  return static_cast<size_t>(mm / speed * rate);
}

TEST(ReviewTraceScrolling, TheVisibleSpanFollowsTheWidthAtPaperSpeed) {
  ecg::test::EnsureQtApplication();
  CTraceView view;
  view.SetMode(CTraceView::Mode::kRhythm);
  view.SetPixelsPerMm(4.0);
  view.resize(600, 200);
  view.SetTraces(TenSeconds(500));
  EXPECT_TRUE(view.Scrolls());
  EXPECT_EQ(view.TotalSamples(), 5000u);
  EXPECT_EQ(view.VisibleSamples(), StripSamples(600, 25, 500));
  EXPECT_EQ(view.MaxStartSample(), 5000u - StripSamples(600, 25, 500));
  view.resize(900, 200);  // wider: more time, same scale
  EXPECT_EQ(view.VisibleSamples(), StripSamples(900, 25, 500));
  view.SetSpeed(50.0);    // faster paper: less time in the same width
  EXPECT_EQ(view.VisibleSamples(), StripSamples(900, 50, 500));
  view.SetSpeed(25.0);
  view.ZoomIn();          // twice the pixels per millimetre: half the time
  EXPECT_NEAR(static_cast<double>(view.VisibleSamples()),
              ((900 - 8) / 8.0 - ecg::render::CalibrationAreaMm(25)) / 25.0 * 500, 1.0);

  // The whole record in the window: nothing to scroll.
  view.ZoomOut();
  view.SetSpeed(12.5);
  view.resize(2400, 200);
  EXPECT_EQ(view.MaxStartSample(), 0u);
  view.SetStartSample(100);
  EXPECT_EQ(view.StartSample(), 0u);
}

TEST(ReviewTraceScrolling, StartClampsKeysStepAndMedianLayoutsStayPut) {
  ecg::test::EnsureQtApplication();
  CTraceView view;
  view.SetMode(CTraceView::Mode::kStrips);
  view.SetPixelsPerMm(4.0);
  view.resize(400, 300);
  view.show();  // resizing a shown view sends its resize event at once
  view.SetTraces(TenSeconds(250));
  const size_t page = view.VisibleSamples();
  ASSERT_GT(page, 100u);
  std::vector<qulonglong> moves;
  QObject::connect(&view, &CTraceView::startChanged, [&](qulonglong s) { moves.push_back(s); });

  view.SetStartSample(1u << 30);  // past the end: the last page
  EXPECT_EQ(view.StartSample(), view.MaxStartSample());
  EXPECT_EQ(view.StartSample() + page, view.TotalSamples());
  QTest::keyClick(&view, Qt::Key_Home);
  EXPECT_EQ(view.StartSample(), 0u);
  QTest::keyClick(&view, Qt::Key_Right);
  EXPECT_EQ(view.StartSample(), page / 10);
  QTest::keyClick(&view, Qt::Key_PageDown);
  EXPECT_EQ(view.StartSample(), page / 10 + page);
  QTest::keyClick(&view, Qt::Key_Left);
  EXPECT_EQ(view.StartSample(), page);
  QTest::keyClick(&view, Qt::Key_PageUp);
  QTest::keyClick(&view, Qt::Key_Left);  // at the start: stays
  EXPECT_EQ(view.StartSample(), 0u);
  QTest::keyClick(&view, Qt::Key_End);
  EXPECT_EQ(view.StartSample(), view.MaxStartSample());
  EXPECT_EQ(moves.size(), 7u);  // every move signalled once, none for a stay

  // Widening the view at the last page keeps the end of the record in view.
  view.resize(900, 300);
  EXPECT_EQ(view.StartSample() + view.VisibleSamples(), view.TotalSamples());

  // The averaged complexes are one beat: no scrolling.
  view.SetMode(CTraceView::Mode::kTwelveLead);
  view.SetShowAveraged(true);
  EXPECT_FALSE(view.Scrolls());
  EXPECT_EQ(view.StartSample(), 0u);
}

TEST(ReviewTraceScrolling, CalipersReadRecordTimesAfterScrolling) {
  ecg::test::EnsureQtApplication();
  CTraceView view;
  view.SetMode(CTraceView::Mode::kRhythm);
  view.SetPixelsPerMm(4.0);
  view.resize(800, 200);
  view.SetTraces(TenSeconds(500));
  ASSERT_GE(view.MaxStartSample(), 1000u);
  view.SetCaliperPoints(QPoint(100, 100), QPoint(200, 100));
  ASSERT_TRUE(view.Caliper().has_value());
  const double left = view.TimeAt(100);

  view.SetStartSample(1000);  // 2 s on
  EXPECT_FALSE(view.Caliper().has_value()) << "the old points marked waves that moved away";
  EXPECT_NEAR(view.TimeAt(100), left + 2.0, 1e-9);
  EXPECT_NEAR(view.TimeAt(200) - view.TimeAt(100), 1.0, 1e-9);  // 100 px = 25 mm = 1 s
  view.SetCaliperPoints(QPoint(100, 100), QPoint(200, 60));
  EXPECT_NEAR(view.Caliper()->milliseconds, 1000.0, 1e-9);
  EXPECT_NEAR(view.Caliper()->microvolts, 1000.0, 1e-9);
}

}  // namespace
