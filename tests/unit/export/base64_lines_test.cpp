#include <gtest/gtest.h>

#include <vector>

#include "export/base64_lines.h"

using ecg::xml::Base64Lines;

namespace {

std::string Encode(const std::string& text) {
  return Base64Lines(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

TEST(Base64Lines, StandardAlphabetAndPadding) {
  EXPECT_EQ(Encode(""), "");
  EXPECT_EQ(Encode("f"), "Zg==");
  EXPECT_EQ(Encode("fo"), "Zm8=");
  EXPECT_EQ(Encode("foo"), "Zm9v");
  EXPECT_EQ(Encode("foobar"), "Zm9vYmFy");
  const std::vector<uint8_t> high = {0xFB, 0xFF, 0xBF};
  EXPECT_EQ(Base64Lines(high.data(), high.size()), "+/+/");
}

TEST(Base64Lines, FullLinesEndWithCrLfAndThePaddedGroupFollowsDirectly) {
  // 57 bytes make exactly one line of 76 characters.
  std::vector<uint8_t> bytes(114, 0x41);
  std::string two_lines = Base64Lines(bytes.data(), 114);
  ASSERT_EQ(two_lines.size(), 2 * 78u);
  EXPECT_EQ(two_lines.substr(76, 2), "\r\n");
  EXPECT_EQ(two_lines.substr(154, 2), "\r\n");  // the last full line keeps its CR LF

  bytes.push_back(0x41);  // one byte more: the padded group right after the CR LF
  std::string padded = Base64Lines(bytes.data(), 115);
  EXPECT_EQ(padded.substr(156), "QQ==");

  bytes.resize(10000);  // a lead of 5000 samples
  std::string lead = Base64Lines(bytes.data(), bytes.size());
  size_t chars = 0, breaks = 0;
  for (size_t i = 0; i < lead.size(); ++i) {
    if (lead[i] == '\r') {
      ASSERT_EQ(lead[i + 1], '\n');
      ++breaks;
      ++i;
    } else {
      ++chars;
    }
  }
  EXPECT_EQ(chars, 13336u);
  EXPECT_EQ(breaks, 175u);  // 13332 characters of full groups: 175 full lines
  EXPECT_EQ(lead.substr(lead.size() - 4), "AA==");
}

}  // namespace
