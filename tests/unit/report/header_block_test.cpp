#include "report/header_block.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QLocale>

#include "qt_test_app.h"
#include "report_test_records.h"

namespace ecg::report {
namespace {

class HeaderBlock : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureQtApplication();
    ASSERT_TRUE(LoadReportRecord(test::WriteRecord(folder_, "typical.scp"), &record_));
  }
  test::TempFolder folder_;
  ReportRecord record_;
};

TEST_F(HeaderBlock, PatientRecordingAndMeasurementsOfATypicalRecord) {
  EXPECT_EQ(record_.lead_count, 12);
  EXPECT_TRUE(record_.has_measurements);
  HeaderOptions options;
  options.imperial = true;
  const HeaderInfo info = GetInfo(record_, options);
  EXPECT_TRUE(info.patient_details_shown);
  ASSERT_EQ(info.patient.labels.size(), 7);
  ASSERT_EQ(info.patient.values.size(), 7);
  EXPECT_EQ(info.patient.labels[0], "Patient Details");
  EXPECT_EQ(info.patient.values[0], " ");
  EXPECT_EQ(info.patient.values[1], "Maren Lindqvist");
  EXPECT_EQ(info.patient.values[2], "TM-004211");
  EXPECT_EQ(info.patient.values[3], "Female");
  const QString birth = QLocale::system().toString(QDate(1961, 4, 17), QLocale::ShortFormat);
  EXPECT_EQ(info.patient.values[4], birth + "   (65 years)");
  EXPECT_EQ(info.patient.values[5], "5 ft 9 in");
  EXPECT_EQ(info.patient.values[6], "159 lbs");  // 72 kg

  ASSERT_EQ(info.recording.values.size(), 3);
  EXPECT_TRUE(info.recording.values[1].startsWith(
      QLocale::system().toString(QDate(2026, 11, 30), QLocale::ShortFormat) + " "));
  EXPECT_EQ(info.recording.values[2], "TM12SN-30077");

  ASSERT_TRUE(info.measurements.has_value());
  // RR 833; P 150-250; QRS 310-400; T off 720; axes 52, 48, 39.
  const QStringList expected = {" ",      "72 bpm",          "100 ms", "160 ms", "90 ms", "410 ms",
                                QString::fromStdString(GetQTcString(310, 720, 833, QtcMethod::kBazett)),
                                "52\u00B0, 48\u00B0, 39\u00B0"};
  EXPECT_EQ(info.measurements->values, expected);
  EXPECT_EQ(info.measurements->values[6], "449 ms (Bazett)");
  EXPECT_EQ(info.measurements->labels.size(), expected.size());
}

TEST_F(HeaderBlock, OptionsLeaveOutBlocks) {
  HeaderOptions options;
  options.measurements = false;
  options.interpretation = false;
  options.comments = false;
  const HeaderInfo info = GetInfo(record_, options);
  EXPECT_FALSE(info.measurements.has_value());
  EXPECT_FALSE(info.show_interpretation);
  EXPECT_FALSE(info.show_comments);

  options = HeaderOptions{};
  options.qtc = QtcMethod::kFridericia;
  record_.general.m_confirmed = 1;
  record_.general.m_interpretationEdited = 1;
  const HeaderInfo edited = GetInfo(record_, options);
  EXPECT_EQ(edited.interpretation_heading, "Interpretation (Confirmed) *");
  EXPECT_TRUE(edited.measurements->values[6].endsWith("(Fridericia)"));
  record_.general.m_confirmed = 0;
  record_.general.m_interpretationEdited = 0;
  EXPECT_EQ(GetInfo(record_, options).interpretation_heading, "Interpretation (Unconfirmed)");
}

TEST_F(HeaderBlock, NoPatientDetailsGiveBlankLines) {
  record_.patient.m_firstName.reset();
  record_.patient.m_lastName = std::u16string();
  record_.patient.m_patientId.reset();
  const HeaderInfo info = GetInfo(record_, HeaderOptions{});
  EXPECT_FALSE(info.patient_details_shown);
  ASSERT_EQ(info.patient.values.size(), 8);
  for (const QString& v : info.patient.values) EXPECT_TRUE(v.isEmpty());
}

TEST_F(HeaderBlock, RecordWithoutMeasurementsShowsNone) {
  test::EcgRecordSpec spec;
  spec.measurements = false;
  ReportRecord bare;
  ASSERT_TRUE(LoadReportRecord(test::WriteRecord(folder_, "bare.scp", spec), &bare));
  EXPECT_FALSE(bare.has_measurements);
  EXPECT_FALSE(GetInfo(bare, HeaderOptions{}).measurements.has_value());
}

TEST(HeaderBlockValues, GenderCodes) {
  test::EnsureQtApplication();
  EXPECT_EQ(GenderText(0), "Unknown");
  EXPECT_EQ(GenderText(1), "Male");
  EXPECT_EQ(GenderText(2), "Female");
  EXPECT_EQ(GenderText(9), "");
}

TEST(ReportRecordLoad, UnreadableFilesFail) {
  test::TempFolder folder;
  ReportRecord record;
  EXPECT_FALSE(LoadReportRecord(folder.File("missing.scp"), &record));
  EXPECT_FALSE(LoadReportRecord(folder.Write("junk.scp", {1, 2, 3, 4, 5}), &record));
  EXPECT_EQ(record.lead_count, 0);
}

}  // namespace
}  // namespace ecg::report
