#include "report/measurements_table.h"

#include <gtest/gtest.h>

#include "qt_test_app.h"
#include "report_test_records.h"

namespace ecg::report {
namespace {

TEST(MeasurementsTable, RowsRulesAndColumns) {
  test::EnsureQtApplication();
  test::TempFolder folder;
  ReportRecord record;
  ASSERT_TRUE(LoadReportRecord(test::WriteRecord(folder, "typical.scp"), &record));
  const QStringList lines = MeasurementTableLines(record, AmplitudeUnits::kMicrovolts, 10.0);
  // 3 heading lines, 12 rows, 3 rules between groups, a closing rule.
  ASSERT_EQ(lines.size(), 3 + 12 + 3 + 1);
  EXPECT_TRUE(lines[0].contains("Amplitude (\u03BCV)"));
  EXPECT_TRUE(lines[0].contains("Slope (\u03BCV/s)"));
  EXPECT_TRUE(lines[1].startsWith("Lead Type  | P+    P-    Q"));
  const QString rule(5 + 6 + 123, '-');
  for (int i : {2, 6, 10, 14, 18}) EXPECT_EQ(lines[i], rule) << i;
  // Row of lead I: Q -80, R 910, S -300 -> "qRs"; P+ 120, P- -10.
  const QString first = lines[3];
  EXPECT_TRUE(first.startsWith("I    qRs   | 120   -10   -80   910   -300  0     0     20    30    60    80    250   0     "))
      << first.toStdString();
  EXPECT_TRUE(first.endsWith("5           20    40    30    -     -     ")) << first.toStdString();
  EXPECT_TRUE(lines[4].startsWith("II   qRs   | 120   -10   -80   920"));
  EXPECT_TRUE(lines[7].startsWith("aVR  qRs   |"));
  EXPECT_TRUE(lines[17].startsWith("V6   "));
  // Every amplitude cell lines up under its heading.
  EXPECT_EQ(first.indexOf("120"), lines[1].indexOf("P+"));
}

TEST(MeasurementsTable, MillimetreHeadingAndLeadCounts) {
  test::EnsureQtApplication();
  test::TempFolder folder;
  test::EcgRecordSpec spec;
  spec.leads = {1, 2, 61, 62, 63, 64};
  ReportRecord record;
  ASSERT_TRUE(LoadReportRecord(test::WriteRecord(folder, "six.scp", spec), &record));
  const QStringList lines = MeasurementTableLines(record, AmplitudeUnits::kMillimetres, 20.0);
  EXPECT_TRUE(lines[0].contains("Amplitude (mm) @ 20.0 mm/mV"));
  EXPECT_TRUE(lines[0].contains("Slope (mm/s)"));
  ASSERT_EQ(lines.size(), 3 + 6 + 1 + 1);
  // R 910 µV at 20 mm/mV = 18.20 mm.
  EXPECT_TRUE(lines[3].contains(" 18.20")) << lines[3].toStdString();

  EXPECT_EQ(MeasurementRowLeads(12).size(), 12u);
  EXPECT_EQ(MeasurementRowLeads(8).size(), 12u);
  EXPECT_EQ(MeasurementRowLeads(6), (std::vector<uint8_t>{1, 2, 61, 62, 63, 64}));
  EXPECT_EQ(MeasurementRowLeads(2).size(), 6u);
  EXPECT_EQ(MeasurementRowLeads(1), (std::vector<uint8_t>{1}));
  EXPECT_TRUE(MeasurementRowLeads(4).empty());
}

TEST(MeasurementsTable, LeadsWithoutMeasurementsGiveEmptyRows) {
  test::EnsureQtApplication();
  ReportRecord record;
  record.lead_count = 12;
  const QStringList lines = MeasurementTableLines(record, AmplitudeUnits::kMicrovolts, 10.0);
  EXPECT_EQ(lines[3], "I    ");
  EXPECT_EQ(SizeText(QString::fromUtf8("\u03BCV"), 4), QString::fromUtf8("\u03BCV  "));
}

}  // namespace
}  // namespace ecg::report
