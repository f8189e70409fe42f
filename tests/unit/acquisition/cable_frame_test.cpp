// The 13-byte cable frame: packing, checksum and channel status codes.

#include <gtest/gtest.h>

#include "acquisition/cable_frame.h"

using namespace ecg::acquisition;

namespace {

TEST(CableFrame, PacksTwoChannelsPerThreeBytes) {
  const Frame f = PackFrame({0xABC, 0xDEF, 0x000, 0xFFF, 2048, 2049, 1, 4095});
  EXPECT_EQ(f[0], 0xAB);
  EXPECT_EQ(f[1], 0xCD);
  EXPECT_EQ(f[2], 0xEF);
  EXPECT_EQ(f[3], 0x00);
  EXPECT_EQ(f[4], 0x0F);
  EXPECT_EQ(f[5], 0xFF);
  unsigned sum = 0;
  for (int i = 0; i < 12; ++i) sum += f[i];
  EXPECT_EQ(f[12], sum % 256);
  EXPECT_TRUE(FrameChecks(f.data()));
  EXPECT_EQ(UnpackFrame(f.data()), (FrameSamples{0xABC, 0xDEF, 0x000, 0xFFF, 2048, 2049, 1, 4095}));
}

TEST(CableFrame, AnyChangedByteFailsTheChecksum) {
  Frame f = PackFrame({100, 200, 300, 400, 500, 600, 700, 800});
  for (size_t i = 0; i < kFrameBytes; ++i) {
    Frame g = f;
    g[i] ^= 0x01;
    EXPECT_FALSE(FrameChecks(g.data())) << "byte " << i;
  }
}

TEST(CableFrame, StatusCodesBecomeAStatusBitAndTheZeroSample) {
  EXPECT_EQ(DecodeChannel(4080).status, 1u);
  EXPECT_EQ(DecodeChannel(4083).status, 8u);
  EXPECT_EQ(DecodeChannel(4095).status, 0x8000u);
  EXPECT_EQ(DecodeChannel(4083).sample, 2048u);
  EXPECT_EQ(DecodeChannel(4079).status, 0u);
  EXPECT_EQ(DecodeChannel(4079).sample, 4079u);
}

}  // namespace
