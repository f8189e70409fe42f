// The review window's pane texts from a record: title, measurements panel,
// filter line and the three details tabs.

#include "review/review_panes.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "qt_test_app.h"
#include "report/report_record.h"
#include "review_test_support.h"

namespace {

using ecg::report::AmplitudeUnits;
using ecg::report::ReportRecord;
using namespace ecg::review;

class ReviewPanes : public ::testing::Test {
 protected:
  void SetUp() override {
    ecg::test::EnsureQtApplication();
    ASSERT_TRUE(dir_.isValid());
    path_ = ecg::test::WriteRecord(dir_, "panes.scp");
    ASSERT_TRUE(ecg::report::LoadReportRecord(path_, &record_));
  }
  QTemporaryDir dir_;
  std::string path_;
  ReportRecord record_;
};

TEST_F(ReviewPanes, TitleNamesThePatientAndTheAcquisition) {
  const QString title = ReviewWindowTitle(record_);
  EXPECT_TRUE(title.startsWith("Patient Maren Lindqvist Test on ")) << title.toStdString();
  EXPECT_TRUE(title.contains(" at ")) << title.toStdString();
  EXPECT_TRUE(title.contains("41")) << "the acquisition time 9:41";
}

TEST_F(ReviewPanes, MeasurementPanelFollowsTheHeaderFormats) {
  const MeasurementPanel panel = MeasurementPanelValues(record_, ecg::report::QtcMethod::kBazett);
  EXPECT_STREQ(MeasurementPanel::kLabels[0], "Heart Rate:");
  EXPECT_STREQ(MeasurementPanel::kLabels[8], "QTc Interval:");
  EXPECT_EQ(panel.values[0], "72 bpm");  // 60000 / 833
  EXPECT_EQ(panel.values[1], "100 ms");  // P 150..250
  EXPECT_EQ(panel.values[2], "160 ms");  // PR 150..310
  EXPECT_EQ(panel.values[3], QString::fromUtf8("52\u00B0"));
  EXPECT_EQ(panel.values[4], "90 ms");
  EXPECT_EQ(panel.values[5], QString::fromUtf8("48\u00B0"));
  EXPECT_EQ(panel.values[6], "410 ms");  // QT 310..720
  EXPECT_EQ(panel.values[7], QString::fromUtf8("39\u00B0"));
  EXPECT_EQ(panel.values[8], "449 ms (Bazett)");  // 410 / sqrt(0.833)
  EXPECT_TRUE(MeasurementPanelValues(record_, ecg::report::QtcMethod::kFridericia).values[8].endsWith("(Fridericia)"));
}

TEST_F(ReviewPanes, UnanalysedRecordLeavesThePanelEmpty) {
  QTemporaryDir dir;
  ecg::test::EcgRecordSpec spec;
  spec.measurements = false;
  ReportRecord bare;
  ASSERT_TRUE(ecg::report::LoadReportRecord(ecg::test::WriteRecord(dir, "bare.scp", spec), &bare));
  const MeasurementPanel panel = MeasurementPanelValues(bare, ecg::report::QtcMethod::kBazett);
  for (const QString& value : panel.values) EXPECT_TRUE(value.isEmpty()) << value.toStdString();
}

TEST_F(ReviewPanes, FilterLineFromTheRecordedFilters) {
  record_.recording.m_writerFilter = 0;
  EXPECT_EQ(ReviewFilterLine(record_), "0.05 - 150 Hz");
  record_.recording.m_writerFilter = 0x04;
  EXPECT_EQ(ReviewFilterLine(record_), "0.05 - 35 Hz");
  record_.recording.m_writerFilter = 0x04 | 0x08 | 0x01;
  EXPECT_EQ(ReviewFilterLine(record_), "60Hz; 0.05 - 35 Hz;Baseline");
  record_.recording.m_writerFilter = 0x02 | 0x08;
  EXPECT_EQ(ReviewFilterLine(record_), "50Hz; 0.05 - 150 Hz;Baseline");
}

TEST_F(ReviewPanes, PatientTabRowsInBothUnitSystems) {
  const QStringList metric = PatientTabText(record_, false).split('\n');
  ASSERT_EQ(metric.size(), 4);
  EXPECT_EQ(metric[0], "Gender:\tFemale\tPatient ID:\tTM-004211");
  EXPECT_EQ(metric[1], "Height:\t175 cm\tFirst Name:\tMaren");
  EXPECT_EQ(metric[2], "Weight:\t72 kg\tLast Name:\tLindqvist");
  EXPECT_TRUE(metric[3].startsWith("Age:\t65 years\tDate of Birth:\t")) << metric[3].toStdString();
  const QStringList imperial = PatientTabText(record_, true).split('\n');
  EXPECT_EQ(imperial[1], "Height:\t5' 9\"\tFirst Name:\tMaren");  // 68.9 in
  EXPECT_EQ(imperial[2], "Weight:\t159 lbs\tLast Name:\tLindqvist");  // 158.7 lb
}

TEST(ReviewPaneValues, HeightsAndWeightsRoundAndCarry) {
  EXPECT_EQ(TabHeight(0, false), "");
  EXPECT_EQ(TabHeight(1704, false), "170 cm");
  EXPECT_EQ(TabHeight(1705, false), "171 cm");
  EXPECT_EQ(TabHeight(1820, true), "6' 0\"");  // 71.65 in: 5 ft 11.65 rounds up to 6 ft
  EXPECT_EQ(TabHeight(1524, true), "5' 0\"");
  EXPECT_EQ(TabWeight(0, true), "");
  EXPECT_EQ(TabWeight(70900, false), "71 kg");
  EXPECT_EQ(TabWeight(70000, true), "154 lbs");
}

TEST_F(ReviewPanes, RecordingTabRows) {
  const QStringList rows = RecordingTabText(record_).split('\n');
  ASSERT_EQ(rows.size(), 4);
  EXPECT_TRUE(rows[0].startsWith("Revision:\tQRS 2.1\tAcquired:\t")) << rows[0].toStdString();
  EXPECT_TRUE(rows[0].contains("   ")) << "date and time three spaces apart";
  EXPECT_TRUE(rows[1].startsWith("Recorded With:\t"));
  EXPECT_EQ(rows[2], "Device Type:\tTM12");
  EXPECT_EQ(rows[3], "Serial Number:\tSN-30077");
}

TEST_F(ReviewPanes, MeasurementsTabHeadingsAndRows) {
  const QStringList uv = MeasurementsTabLines(record_, AmplitudeUnits::kMicrovolts, 10.0);
  ASSERT_EQ(uv.size(), 2 + 12);
  EXPECT_EQ(uv[0], QString::fromUtf8("\t\tAmplitude (\u03BCV)") + QString(12, '\t') +
                       QString::fromUtf8("Slope (\u03BCV/s)\tDuration (ms)"));
  EXPECT_EQ(uv[0].count('\t'), 2 + 12 + 1);
  EXPECT_EQ(uv[1],
            "Lead \tType \tP+\tP-\tQ\tR\tS\tR'\tS'\tJ\tST20\tST60\tST80\tT+\tT-\tST\t\tQ1\tR1\tS1\tR'1\tS'1");
  const QStringList lead_i = uv[2].split('\t');
  const QStringList columns = uv[1].split('\t');
  ASSERT_EQ(lead_i.size(), columns.size());
  EXPECT_EQ(lead_i[0], "I");
  EXPECT_EQ(lead_i[1], "qRs");  // Q -80, R 910, S -300
  EXPECT_EQ(lead_i[columns.indexOf("R")], "910");
  EXPECT_EQ(lead_i[columns.indexOf("T+")], "250");
  EXPECT_EQ(lead_i[columns.indexOf("R1")], "40");
  EXPECT_EQ(uv[13].split('\t')[0], "V6");

  const QStringList mm = MeasurementsTabLines(record_, AmplitudeUnits::kMillimetres, 20.0);
  EXPECT_EQ(mm[0], "\t\tAmplitude (mm) @ 20.0 mm/mV" + QString(10, '\t') + "Slope (mm/s)\tDuration (ms)");
  EXPECT_EQ(mm[2].split('\t')[columns.indexOf("R")], "18.20");  // 910 uV at 20 mm/mV
}

}  // namespace
