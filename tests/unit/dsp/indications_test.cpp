// What the recording window takes from the detector side: which frames are
// fed, the lead-off test and the heart rate text.

#include <gtest/gtest.h>

#include <array>

#include "dsp/indications.h"

namespace {

using namespace ecg::dsp;

TEST(Indications, EverySecondFrameFeedsTheDetector) {
  DetectorFeed feed;
  std::string pattern;
  for (int i = 0; i < 8; ++i) pattern += feed.Take() ? 'x' : '.';
  EXPECT_EQ(pattern, ".x.x.x.x");
  feed.Reset();
  EXPECT_FALSE(feed.Take());
}

TEST(Indications, StatusCodesReachTheDetectorAsTheZeroLine) {
  EXPECT_EQ(DetectorSample(4080), 2048);
  EXPECT_EQ(DetectorSample(4095), 2048);
  EXPECT_EQ(DetectorSample(4079), 4079);
  EXPECT_EQ(DetectorSample(0), 0);
}

TEST(Indications, LeadOffBitsAreCodesZeroOneThreeAndMissingChannels) {
  std::array<uint32_t, 8> status{};
  EXPECT_FALSE(AnyLeadOff(status));
  for (uint32_t bit : {0x1u, 0x2u, 0x8u, 0x80000000u}) {
    status[5] = bit;
    EXPECT_TRUE(AnyLeadOff(status)) << std::hex << bit;
  }
  status[5] = 0x4u | 0x10u | 0x7FFFFFF0u;  // calibration and other codes
  EXPECT_FALSE(AnyLeadOff(status));
}

TEST(Indications, HeartRateTextKeepsThreeCharacters) {
  EXPECT_EQ(HeartRateText(72.4, true), " 72");
  EXPECT_EQ(HeartRateText(72.5, true), " 72");  // "%3.0f" rounds half to even
  EXPECT_EQ(HeartRateText(8.0, true), "  8");
  EXPECT_EQ(HeartRateText(187.6, true), "188");
  EXPECT_EQ(HeartRateText(1234.0, true), "234");
  EXPECT_EQ(HeartRateText(0.0, true), "---");
  EXPECT_EQ(HeartRateText(72.0, false), "---");
}

}  // namespace
