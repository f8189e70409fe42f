// The recording window's rules that need no running cable: the lead list
// and its arrows, the indications line and clock, the derived leads, the
// strip printout's page ranges, the title of the printout and the window's
// configuration.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>

#include "acquisition/cable_frame.h"
#include "qt_test_app.h"
#include "recording/indications_line.h"
#include "recording/lead_list.h"
#include "recording/lead_values.h"
#include "recording/plot_display_settings.h"
#include "recording/report_title_dlg.h"
#include "recording/strip_pages.h"
#include "recording/tm_realtime_dlg.h"

namespace {

using namespace ecg::recording;

TEST(RecordingLeadList, ArrowsMoveBetweenGroupsAndLeaveTheOthers) {
  const int up[] = {3, 0, 1, 2, 4, 6, 5, 7, 8};
  const int down[] = {1, 2, 3, 0, 4, 6, 5, 7, 8};
  for (int e = 0; e < kLeadListEntries; ++e) {
    EXPECT_EQ(GroupUp(e), up[e]) << e;
    EXPECT_EQ(GroupDown(e), down[e]) << e;
  }
  EXPECT_STREQ(LeadList()[4].text, "Custom Group");
  EXPECT_STREQ(LeadList()[8].text, "3x4 View");
  for (int e = 0; e < kLeadListEntries; ++e) {
    const auto& entry = LeadList()[static_cast<size_t>(e)];
    EXPECT_EQ(LeadListEntryFor(entry.leads_per_group, entry.group, entry.custom_group, entry.three_by_four), e);
  }
}

TEST(RecordingLeadList, RowsFollowTheDisplayOrderAndTheCustomGroup) {
  CPlotDisplaySettings d;
  d.SetLeadsPerGroup(3);
  d.SetLeadGroup(1);
  // Default display order: I, II, III, aVR, aVL, aVF, V1..V6.
  EXPECT_EQ(d.RowChannel(0), 9);
  EXPECT_EQ(d.RowChannel(2), 11);
  d.m_customGroup = true;
  d.m_customLeads = {7, 2, 0};
  EXPECT_EQ(d.RowChannel(0), 7);
  EXPECT_EQ(d.RowChannel(1), 2);
  d.SetLeadsPerGroup(6);
  d.SetLeadGroup(5);  // past the last group: the last one
  EXPECT_EQ(d.LeadGroup(), 1);
  EXPECT_EQ(d.RowChannel(0), 2);  // custom flag only counts for 3-lead groups
  EXPECT_STREQ(CPlotDisplaySettings::ChannelLabel(10), "aVL");
}

TEST(RecordingIndications, ItemsInOrderOkAndReview) {
  std::array<uint32_t, 12> status{};
  EXPECT_EQ(IndicationsText(status, 5000, false), "Cable Status: OK");
  EXPECT_EQ(IndicationsText(status, 4999, false), "Cable Status: Data dropped");
  status[3] = 1u << 1;  // status code 1 on V2
  EXPECT_EQ(IndicationsText(status, 5000, false), "Cable Status: Lead off");
  status[0] = 1u << 0;  // status code 0 on I
  EXPECT_EQ(IndicationsText(status, 10, false), "Cable Status: Lead off; Lead Zeroing; Data dropped");
  EXPECT_EQ(IndicationsText(status, 10, true), "Review");
  std::array<uint32_t, 12> calibration{};
  calibration[1] = 1u << 2;  // a calibration step is no lead problem
  EXPECT_EQ(IndicationsText(calibration, 5000, false), "Cable Status: OK");
}

TEST(RecordingIndications, ClockRoundsToWholeSeconds) {
  EXPECT_EQ(RecordedClockText(0), "00:00");
  EXPECT_EQ(RecordedClockText(13 * 5000), "00:10");
  EXPECT_EQ(RecordedClockText(13 * 249), "00:00");
  EXPECT_EQ(RecordedClockText(13 * 250), "00:01");
  EXPECT_EQ(RecordedClockText(uint64_t{13} * 500 * 900), "15:00");
}

TEST(RecordingLeadValues, DerivedLeadsAndTheirStatus) {
  EXPECT_EQ(DerivedLead(8, 100, 300), 200);
  EXPECT_EQ(DerivedLead(9, 100, 300), -200);
  EXPECT_EQ(DerivedLead(10, 100, 300), -50);
  EXPECT_EQ(DerivedLead(11, 100, 300), 250);
  ecg::acquisition::FrameSamples s{};
  s.fill(2048);
  s[0] = 2148;
  s[1] = 4081;  // II off
  const auto f = ecg::acquisition::PackFrame(s);
  const FrameLeads leads = DecodeFrameLeads(f.data());
  EXPECT_EQ(leads.value[0], 100);
  EXPECT_EQ(leads.value[1], 0);
  EXPECT_EQ(leads.status[1], 2u);
  for (int c = 8; c < 12; ++c) EXPECT_NE(leads.status[static_cast<size_t>(c)] & kGapStatusBits, 0u) << c;
  EXPECT_EQ(leads.status[2], 0u);
}

TEST(RecordingStripPages, AllSelectionAndRangesAreCut) {
  const uint32_t page = 5000;  // 10 s at 500 Hz
  // 25 s: 3 pages, the last partly empty.
  auto plan = PlanStripPages(12500, page, 0, {});
  EXPECT_EQ(plan.pages, 3u);
  EXPECT_EQ(plan.first_frame, 0u);
  EXPECT_EQ(plan.end_frame, 12500u);
  // More than 150 pages: the newest 150 pages' worth.
  plan = PlanStripPages(151 * page + 10, page, 0, {});
  EXPECT_EQ(plan.pages, 150u);
  EXPECT_EQ(plan.first_frame, page + 10);
  EXPECT_EQ(plan.end_frame, 151 * page + 10);
  // Selection: one page from the scroll position, moved back to fit.
  StripPrintRange selection{StripPrintRange::kSelection, 1, 1};
  plan = PlanStripPages(12500, page, 1000, selection);
  EXPECT_EQ(plan.first_frame, 1000u);
  EXPECT_EQ(plan.end_frame, 6000u);
  plan = PlanStripPages(12500, page, 11000, selection);
  EXPECT_EQ(plan.first_frame, 7500u);
  EXPECT_EQ(plan.pages, 1u);
  plan = PlanStripPages(3000, page, 2000, selection);
  EXPECT_EQ(plan.first_frame, 0u);
  EXPECT_EQ(plan.end_frame, 3000u);
  // Page ranges: cut at the end; wholly beyond it prints nothing.
  plan = PlanStripPages(12500, page, 0, {StripPrintRange::kPages, 2, 9});
  EXPECT_EQ(plan.first_frame, 5000u);
  EXPECT_EQ(plan.end_frame, 12500u);
  EXPECT_EQ(plan.pages, 2u);
  plan = PlanStripPages(12500, page, 0, {StripPrintRange::kPages, 4, 5});
  EXPECT_EQ(plan.pages, 0u);
  plan = PlanStripPages(0, page, 0, {});
  EXPECT_EQ(plan.pages, 0u);
  plan = PlanStripPages(400 * page, page, 0, {StripPrintRange::kPages, 1, 400});
  EXPECT_EQ(plan.pages, 150u);
  EXPECT_EQ(plan.end_frame, 150 * page);
}

TEST(RecordingReportTitle, TitleWithAndWithoutAdditionalText) {
  ecg::test::EnsureQtApplication();
  CReportTitleDlg dialog("Record ECG");
  EXPECT_EQ(dialog.windowTitle(), "Report Title");
  EXPECT_EQ(dialog.PrintedTitle(), "Record ECG");
  dialog.TextEdit()->setText("Exercise stage 2");
  EXPECT_EQ(dialog.PrintedTitle(), "Record ECG: Exercise stage 2");
  dialog.TextEdit()->setText(QString(60, 'x'));
  EXPECT_EQ(dialog.AdditionalText().size(), CReportTitleDlg::kMaxAdditionalText);
  EXPECT_EQ(dialog.OkButton()->text(), "&OK");
}

TEST(RecordingWindowConfiguration, BufferSizeOutputNamesAndLeadGroup) {
  ecg::test::EnsureQtApplication();
  CTM_RealTimeDlg window;
  EXPECT_EQ(window.BufferFrames(), 5000u);
  window.SetECGBufferSize(900);
  EXPECT_EQ(window.BufferFrames(), 450000u);
  EXPECT_TRUE(window.CustomBufferSize());
  window.SetECGBufferSize(5000);
  EXPECT_EQ(window.BufferFrames(), 450000u);
  window.SetECGBufferSize(3);
  EXPECT_EQ(window.BufferFrames(), 5000u);
  EXPECT_FALSE(window.CustomBufferSize());
  window.SetECGBufferSize(11);
  EXPECT_EQ(window.BufferFrames(), 5500u);
  EXPECT_TRUE(window.CustomBufferSize());

  window.SetOutputFile("/home/u/Documents/Tidemark/rt-ecg.tmp");
  EXPECT_EQ(window.NumberedOutputFile(), "/home/u/Documents/Tidemark/rt-ecg%d.tmp");
  window.SetOutputFile("/data.d/record");
  EXPECT_EQ(window.NumberedOutputFile(), "/data.d/record%d");

  window.LeadGroup(8);
  EXPECT_TRUE(window.DisplaySettings().ThreeByFour());
  window.LeadGroup(6);
  EXPECT_EQ(window.DisplaySettings().LeadsPerGroup(), 6);
  EXPECT_EQ(window.DisplaySettings().LeadGroup(), 1);
  window.LeadGroup(4);
  EXPECT_TRUE(window.DisplaySettings().m_customGroup);
  const int16_t custom[] = {5, 6, 99};
  window.SetCustomLeadGroup(custom, 3);
  EXPECT_EQ(window.DisplaySettings().RowChannel(2), 11);  // clamped
  window.SetGain(0.02);
  window.SetSpeed(50.0);
  EXPECT_DOUBLE_EQ(window.EcgSettings().GetGain(), 0.02);
  EXPECT_DOUBLE_EQ(window.EcgSettings().GetSpeed(), 50.0);
  EXPECT_EQ(window.EndCode(), CTM_RealTimeDlg::kEndCancel);
}

}  // namespace
