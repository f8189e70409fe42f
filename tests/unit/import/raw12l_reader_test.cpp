// Packed 12-bit multi-lead event files: frame layouts, checksums, the
// single-lead coding and dropped frames.

#include "import/raw12l_reader.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/last_error.h"
#include "support/test_files.h"
#include "unit/import/device_files.h"

using namespace ecg::platform;
using namespace ecg::test;

namespace {

std::vector<uint8_t> Concat(const std::vector<std::vector<uint8_t>>& parts) {
  std::vector<uint8_t> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

TEST(Raw12LeadFile, EightStoredLeadsDecodeInTheirStandardPositions) {
  const std::vector<int> first = {0, -2048, 2047, 1, -1, 100, -100, 2032};
  const std::vector<int> second = {5, 6, 7, 8, 9, 10, 11, 12};
  const auto bytes = Concat({PackedFrame(first), PackedFrame(second)});
  ASSERT_EQ(bytes.size(), 26u);
  for (int16_t count : {8, 12}) {
    C12LMemReader reader;
    SECGInfo info;
    SLeadObj* leads = reader.ReadEvent(bytes.data(), bytes.size(), &info, count, 500, 2500);
    ASSERT_NE(leads, nullptr) << count;
    ASSERT_EQ(leads->m_count, 8);
    EXPECT_EQ(leads->m_filled, 8);
    const uint8_t indexes[8] = {0, 1, 6, 7, 8, 9, 10, 11};
    for (int lead = 0; lead < 8; ++lead) {
      EXPECT_EQ(leads->m_leads[lead].m_leadIndex, indexes[lead]);
      EXPECT_EQ(leads->m_leads[lead].m_scpLeadId, 255);
      EXPECT_EQ(leads->m_leads[lead].m_samples[0], first[lead]) << lead;
      EXPECT_EQ(leads->m_leads[lead].m_samples[1], second[lead]) << lead;
    }
    EXPECT_EQ(info.m_leadCount, 8);
    EXPECT_EQ(info.m_samplesPerLead, 2);
    EXPECT_EQ(info.m_bitsPerSample, 12);
    EXPECT_EQ(info.m_singleLeadIndex, 255);
    EXPECT_EQ(info.LeadConfiguration(), 1);
    EXPECT_EQ(info.m_sampleInterval, 2000);
    EXPECT_EQ(info.m_amplitudeResolution, 2500);
    EXPECT_EQ(reader.DroppedFrames(), 0u);
  }
}

TEST(Raw12LeadFile, TwoAndSixLeadSettingsStoreIAndII) {
  const auto bytes = Concat({PackedFrame({-3, 4}), PackedFrame({7, -8}), {0x00}});
  for (int16_t count : {2, 6}) {
    C12LMemReader reader;
    SECGInfo info;
    SLeadObj* leads = reader.ReadEvent(bytes.data(), bytes.size(), &info, count, 250, 1000);
    ASSERT_NE(leads, nullptr);
    ASSERT_EQ(leads->m_count, 2);
    EXPECT_EQ(info.m_samplesPerLead, 2) << "the trailing byte makes no frame";
    EXPECT_EQ(leads->m_leads[0].m_leadIndex, 0);
    EXPECT_EQ(leads->m_leads[1].m_leadIndex, 1);
    EXPECT_EQ(leads->m_leads[0].m_samples[1], 7);
    EXPECT_EQ(leads->m_leads[1].m_samples[1], -8);
  }
}

TEST(Raw12LeadFile, AFrameWithAWrongChecksumShortensTheEventByOneSample) {
  const auto bytes = Concat({PackedFrame({1, 2}), PackedFrame({99, 99}, true), PackedFrame({3, 4}),
                             PackedFrame({98, 98}, true), PackedFrame({5, 6})});
  C12LMemReader reader;
  SECGInfo info;
  SLeadObj* leads = reader.ReadEvent(bytes.data(), bytes.size(), &info, 2, 500, 1000);
  ASSERT_NE(leads, nullptr);
  EXPECT_EQ(info.m_samplesPerLead, 3);
  EXPECT_EQ(reader.DroppedFrames(), 2u);
  const int16_t* lead_i = leads->m_leads[0].m_samples.get();
  EXPECT_EQ(lead_i[0], 1);
  EXPECT_EQ(lead_i[1], 3) << "the next good frame takes the dropped frame's place";
  EXPECT_EQ(lead_i[2], 5);
}

TEST(Raw12LeadFile, SingleLeadFramesDecodeSamplesAndMarkers) {
  const std::vector<uint8_t> bytes = {
      0x80, 0x00,  // 1024
      0x80, 0x01,  // marker 2033
      0x80, 0x02,  // 2032
      0x80, 0x03,  // 2034
      0xFF, 0x7C,  // (0x7F8 & 0xFE0) + 0x1F = 2016 + 31
      0x7F, 0x00,  // invalid: b0 top bit clear
      0x81, 0x80,  // invalid: b1 top bit set
      0x9A, 0x14,  // (0x4D0 & 0xFE0) + 5
  };
  C12LMemReader reader;
  SECGInfo info;
  SLeadObj* leads = reader.ReadEvent(bytes.data(), bytes.size(), &info, 1, 300, 5000);
  ASSERT_NE(leads, nullptr);
  ASSERT_EQ(leads->m_count, 1);
  EXPECT_EQ(leads->m_leads[0].m_leadIndex, 12);
  EXPECT_EQ(info.m_singleLeadIndex, 12);
  EXPECT_EQ(info.m_leadCount, 1);
  EXPECT_EQ(info.m_samplesPerLead, 6);
  EXPECT_EQ(reader.DroppedFrames(), 2u);
  const std::vector<int16_t> expected = {1024, 2033, 2032, 2034, 2047, 0x4C0 + 5};
  for (size_t k = 0; k < expected.size(); ++k) {
    EXPECT_EQ(leads->m_leads[0].m_samples[k], expected[k]) << k;
  }
}

TEST(Raw12LeadFile, LeadCountsWithoutALayoutAreInvalidData) {
  const auto bytes = PackedFrame({1, 2});
  C12LMemReader reader;
  for (int16_t count : {0, 3, 4, 5, 7, 9, 13, -1}) {
    EXPECT_EQ(reader.ReadEvent(bytes.data(), bytes.size(), nullptr, count, 500, 1000), nullptr);
    EXPECT_EQ(GetLastError(), kErrorInvalidData) << count;
  }
}

TEST(Raw12LeadFile, NoDefaultsApplyAndTheFileGivesItsTime) {
  TempFolder folder;
  const std::string path =
      folder.Write("raw.12l", Concat({PackedFrame({1, 2}), PackedFrame({3, 4})}));
  C12LReader reader;
  SECGInfo info;
  ASSERT_NE(reader.ReadEvent(path.c_str(), &info, 2, 0, 0), nullptr);
  EXPECT_EQ(info.m_sampleInterval, 0) << "a rate of 0 is not replaced";
  EXPECT_EQ(info.m_amplitudeResolution, 0);
  EXPECT_GE(info.m_year, 2024);

  EXPECT_EQ(reader.ReadEvent(folder.File("none").c_str(), &info, 2, 500, 1000), nullptr);
  EXPECT_EQ(GetLastError(), kErrorFileNotFound);
}

TEST(Raw12LeadFile, FilesShorterThanOneFrameOrEveryFrameBadGiveNoSamples) {
  C12LMemReader reader;
  const std::vector<uint8_t> short_bytes = {1, 2, 3};
  EXPECT_EQ(reader.ReadEvent(short_bytes.data(), short_bytes.size(), nullptr, 2, 500, 1), nullptr);
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);

  const auto bad = Concat({PackedFrame({1, 2}, true), PackedFrame({1, 2}, true)});
  SECGInfo info;
  SLeadObj* leads = reader.ReadEvent(bad.data(), bad.size(), &info, 2, 500, 1);
  ASSERT_NE(leads, nullptr);
  EXPECT_EQ(info.m_samplesPerLead, 0);
  EXPECT_EQ(reader.DroppedFrames(), 2u);
}

TEST(Raw12LeadFile, ALongFileStopsAt32767Frames) {
  std::vector<uint8_t> bytes;
  const auto frame = PackedFrame({10, -10});
  for (int i = 0; i < 33000; ++i) bytes.insert(bytes.end(), frame.begin(), frame.end());
  C12LMemReader reader;
  SECGInfo info;
  SLeadObj* leads = reader.ReadEvent(bytes.data(), bytes.size(), &info, 2, 500, 1);
  ASSERT_NE(leads, nullptr);
  EXPECT_EQ(info.m_samplesPerLead, 32767);
  EXPECT_EQ(leads->m_leads[1].m_samples[32766], -10);
}

}  // namespace
