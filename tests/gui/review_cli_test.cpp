// ecg review run as a program: the screenshot of a record, its exit codes,
// and a read-only review that leaves the record as it was.

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include "run_program.h"
#include "review_test_support.h"

namespace {

using ecg::test::RunProgram;

TEST(ReviewCommand, ScreenshotOfARecordAt1600x1000) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string record = ecg::test::WriteRecord(dir, "cli.scp");
  const auto before = ecg::test::FileBytes(record);
  const std::string png = dir.filePath("cli.png").toStdString();
  const auto result = RunProgram(ECG_PROGRAM, {"review", record, "--read-only", "--screenshot", png});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  QImage image(QString::fromStdString(png));
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QSize(1600, 1000));
  EXPECT_EQ(ecg::test::FileBytes(record), before);
  // For a person to look at.
  QDir().mkpath(QStringLiteral(ECG_REVIEW_SHOT_DIR));
  image.save(QDir(QStringLiteral(ECG_REVIEW_SHOT_DIR)).filePath("ecg-review-cli.png"));
}

TEST(ReviewCommand, BadUsageAndUnreadableRecordsExitWithTwo) {
  QTemporaryDir dir;
  const std::string png = dir.filePath("none.png").toStdString();
  EXPECT_EQ(RunProgram(ECG_PROGRAM, {"review"}).exit_code, 2);
  EXPECT_EQ(RunProgram(ECG_PROGRAM, {"review", "a.scp", "--sideways"}).exit_code, 2);
  EXPECT_EQ(RunProgram(ECG_PROGRAM, {"review", "a.scp", "--screenshot"}).exit_code, 2);
  EXPECT_EQ(RunProgram(ECG_PROGRAM, {"review", "a.scp", "b.scp"}).exit_code, 2);
  const auto missing = RunProgram(ECG_PROGRAM, {"review", dir.filePath("missing.scp").toStdString(), "--screenshot", png});
  EXPECT_EQ(missing.exit_code, 2);
  EXPECT_NE(missing.err.find("cannot be read"), std::string::npos) << missing.err;
  EXPECT_FALSE(QFile::exists(QString::fromStdString(png))) << "no picture of a record that was not shown";
  const auto help = RunProgram(ECG_PROGRAM, {"review", "--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("--read-only"), std::string::npos);
}

}  // namespace
