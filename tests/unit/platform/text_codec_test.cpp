#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/last_error.h"
#include "platform/text_codec.h"

using namespace ecg::platform;

namespace {

TEST(TextCodec, Cp1252BothWaysIncludingItsUndefinedBytes) {
  std::u16string wide;
  ASSERT_TRUE(AnsiToWide("\x80\x81\x9F\xE9\xFF", wide));
  EXPECT_EQ(wide, u"\u20AC\u0081\u0178\u00E9\u00FF");
  std::string back;
  ASSERT_TRUE(WideToAnsi(wide, back));
  EXPECT_EQ(back, "\x80\x81\x9F\xE9\xFF");
  EXPECT_FALSE(WideToAnsi(u"\u65E5", back));  // not in the code page
  EXPECT_EQ(GetLastError(), kErrorInvalidData);
}

TEST(TextCodec, CodePageFromTheEnvironment) {
  ::setenv("ECG_ANSI_CODEPAGE", "ISO-8859-7", 1);
  std::u16string wide;
  bool ok = AnsiToWide("\xE1", wide);
  ::setenv("ECG_ANSI_CODEPAGE", "NO-SUCH-PAGE", 1);
  std::u16string ignored;
  bool unknown = AnsiToWide("a", ignored);
  uint32_t unknown_error = GetLastError();
  ::unsetenv("ECG_ANSI_CODEPAGE");
  ASSERT_TRUE(ok);
  EXPECT_EQ(wide, u"\u03B1");  // Greek alpha
  EXPECT_FALSE(unknown);
  EXPECT_EQ(unknown_error, kErrorInvalidParameter);
  EXPECT_EQ(AnsiCodePage(), "CP1252");
}

TEST(TextCodec, Utf8AndSurrogates) {
  std::u16string wide;
  ASSERT_TRUE(Utf8ToWide("Gr\xC3\xBC\xC3\x9F \xF0\x9F\x92\x93", wide));
  EXPECT_EQ(wide, u"Gr\u00FC\u00DF \U0001F493");
  std::string utf8;
  ASSERT_TRUE(WideToUtf8(wide, utf8));
  EXPECT_EQ(utf8, "Gr\xC3\xBC\xC3\x9F \xF0\x9F\x92\x93");
  EXPECT_EQ(WideToUtf8Lossy(wide), utf8);
  EXPECT_EQ(WideToUtf8Lossy(std::u16string(1, char16_t{0xD800})), "\xEF\xBF\xBD");
  EXPECT_FALSE(Utf8ToWide("\xC3", wide));
  EXPECT_EQ(Utf8ToWideLossy("a\xFF"), u"a\uFFFD");
}

}  // namespace
