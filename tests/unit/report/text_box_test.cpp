#include "report/text_box.h"

#include <gtest/gtest.h>

#include <QFont>

#include "qt_test_app.h"

namespace ecg::report {
namespace {

class TextBox : public ::testing::Test {
 protected:
  void SetUp() override { test::EnsureQtApplication(); }
  QFontMetricsF Metrics() const {
    QFont font("Courier New");
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(20);
    return QFontMetricsF(font);
  }
};

TEST_F(TextBox, WrapsByWordsWithinTheWidth) {
  const QFontMetricsF m = Metrics();
  const double width = m.horizontalAdvance("aaaa bbbb cccc");
  const QStringList lines = WrapText("aaaa bbbb cccc dddd eeee ffff", m, width, 7);
  EXPECT_EQ(lines, (QStringList{"aaaa bbbb cccc", "dddd eeee ffff"}));
  for (const QString& line : lines) EXPECT_LE(m.horizontalAdvance(line), width);
  EXPECT_EQ(WrapText("one\ntwo", m, width, 7), (QStringList{"one", "two"}));
  EXPECT_TRUE(WrapText("", m, width, 7).isEmpty());
}

TEST_F(TextBox, CutTextEndsInAnEllipsisAtAWord) {
  const QFontMetricsF m = Metrics();
  const double width = m.horizontalAdvance("aaaa bbbb cccc");
  const QStringList lines = WrapText("aaaa bbbb cccc dddd eeee ffff gggg hhhh", m, width, 2);
  ASSERT_EQ(lines.size(), 2);
  EXPECT_EQ(lines[0], "aaaa bbbb cccc");
  EXPECT_EQ(lines[1], "dddd eeee...");
  EXPECT_LE(m.horizontalAdvance(lines[1]), width);
}

TEST_F(TextBox, LongWordsBreakAndDegenerateBoxesAreEmpty) {
  const QFontMetricsF m = Metrics();
  const double width = m.horizontalAdvance("aaaa");
  const QStringList lines = WrapText("abcdefghij", m, width, 7);
  EXPECT_EQ(lines.join(""), "abcdefghij");
  for (const QString& line : lines) EXPECT_LE(m.horizontalAdvance(line), width);
  EXPECT_TRUE(WrapText("text", m, width, 0).isEmpty());
  EXPECT_TRUE(WrapText("text", m, 0, 3).isEmpty());
}

}  // namespace
}  // namespace ecg::report
