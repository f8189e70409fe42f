// The bare 8-bit and 16-bit single-lead event files, from files and memory.

#include <gtest/gtest.h>
#include <sys/time.h>

#include <ctime>
#include <vector>

#include "import/bit16_reader.h"
#include "import/bit8_reader.h"
#include "import/event_source.h"
#include "platform/last_error.h"
#include "support/test_files.h"

using namespace ecg::platform;
using namespace ecg::test;

namespace {

std::vector<uint8_t> Ramp(size_t n) {
  std::vector<uint8_t> bytes(n);
  for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(i * 7);
  return bytes;
}

// The chunk sizes a read of n items goes through.
std::vector<size_t> Chunks(size_t n, size_t first) {
  std::vector<size_t> sizes;
  size_t chunk = first;
  for (size_t done = 0; done < n; done += chunk) {
    chunk = ecg::import::NextChunk(chunk, n - done);
    sizes.push_back(chunk);
  }
  return sizes;
}

TEST(ChunkedReads, TheChunkIsHalvedUntilItFitsWhatRemains) {
  EXPECT_EQ(Chunks(10, 1000), (std::vector<size_t>{7, 3}));
  EXPECT_EQ(Chunks(2500, 1000), (std::vector<size_t>{1000, 1000, 500}));
  EXPECT_EQ(Chunks(1, 1000), (std::vector<size_t>{1}));
  // Once halved the chunk stays small: 1000 then 62 for the remaining 63
  // and 1 for the last one.
  EXPECT_EQ(Chunks(1063, 1000), (std::vector<size_t>{1000, 62, 1}));
}

// ----------------------------------------------------------------- 8-bit

TEST(EightBitFile, EveryByteIsOneSampleOfTheUnspecifiedLead) {
  TempFolder folder;
  const auto bytes = Ramp(10);
  const std::string path = folder.Write("e.bin", bytes);
  C8BitReader reader;
  SECGInfo info;
  SLeadObj* leads = reader.ReadEvent(path.c_str(), &info, false, 5000, 250);
  ASSERT_NE(leads, nullptr) << GetLastError();
  EXPECT_EQ(GetLastError(), kErrorSuccess);
  ASSERT_EQ(leads->m_count, 1);
  EXPECT_EQ(leads->m_filled, 1);
  EXPECT_EQ(leads->m_leads[0].m_leadIndex, 12);
  EXPECT_EQ(leads->m_leads[0].m_scpLeadId, 255);
  for (int k = 0; k < 10; ++k) EXPECT_EQ(leads->m_leads[0].m_samples[k], bytes[k]) << k;
  EXPECT_EQ(info.m_samplesPerLead, 10);
  EXPECT_EQ(info.m_leadCount, 1);
  EXPECT_EQ(info.m_bitsPerSample, 8);
  EXPECT_EQ(info.m_singleLeadIndex, 12);
  EXPECT_EQ(info.m_sampleInterval, 4000);
  EXPECT_EQ(info.m_amplitudeResolution, 5000);
  EXPECT_EQ(info.DeviceType(), 15);
  EXPECT_EQ(info.LeadConfiguration(), 2);
}

TEST(EightBitFile, LongFilesStopAt32767SamplesAndDefaultsApply) {
  TempFolder folder;
  const std::string path = folder.Write("long.bin", Ramp(40000));
  C8BitReader reader;
  SECGInfo info;
  SLeadObj* leads = reader.ReadEvent(path.c_str(), &info, false, 0, 0);
  ASSERT_NE(leads, nullptr);
  EXPECT_EQ(info.m_samplesPerLead, 32767);
  EXPECT_EQ(leads->m_leads[0].m_samples[32766], static_cast<uint8_t>(32766 * 7));
  EXPECT_EQ(info.m_amplitudeResolution, 20000);
  EXPECT_EQ(info.m_sampleInterval, 3333);
}

TEST(EightBitFile, TheOffsetFlagCentresTheSamples) {
  const std::vector<uint8_t> bytes = {0x80, 0x00, 0xFF, 0x81};
  C8BitMemReader reader;
  SLeadObj* leads = reader.ReadEvent(bytes.data(), bytes.size(), nullptr, true, 0, 0);
  ASSERT_NE(leads, nullptr);
  const int16_t* s = leads->m_leads[0].m_samples.get();
  EXPECT_EQ(s[0], 0);
  EXPECT_EQ(s[1], -128);
  EXPECT_EQ(s[2], 127);
  EXPECT_EQ(s[3], 1);
}

TEST(EightBitFile, TheAcquisitionTimeIsTheFilesLastWriteTime) {
  TempFolder folder;
  const std::string path = folder.Write("dated.bin", Ramp(4));
  struct tm when {};
  when.tm_year = 2019 - 1900;
  when.tm_mon = 6;  // July
  when.tm_mday = 21;
  when.tm_hour = 8;
  when.tm_min = 9;
  when.tm_sec = 10;
  when.tm_isdst = -1;
  const time_t t = mktime(&when);
  const struct timeval times[2] = {{t, 0}, {t, 0}};
  ASSERT_EQ(utimes(path.c_str(), times), 0);
  C8BitReader reader;
  SECGInfo info;
  ASSERT_NE(reader.ReadEvent(path.c_str(), &info, false, 0, 0), nullptr);
  EXPECT_EQ(info.m_year, 2019);
  EXPECT_EQ(info.m_month, 7);
  EXPECT_EQ(info.m_day, 21);
  EXPECT_EQ(info.m_hour, 8);
  EXPECT_EQ(info.m_minute, 9);
  EXPECT_EQ(info.m_second, 10);
}

TEST(EightBitFile, FailuresReturnNullWithTheirCodesAndFreeTheLastEvent) {
  TempFolder folder;
  C8BitMemReader reader;
  const std::vector<uint8_t> bytes = {1, 2, 3};
  SLeadObj* leads = reader.ReadEvent(bytes.data(), bytes.size(), nullptr, false, 0, 0);
  ASSERT_NE(leads, nullptr);

  EXPECT_EQ(reader.ReadEvent(folder.File("absent.bin").c_str(), nullptr, false, 0, 0), nullptr);
  EXPECT_EQ(GetLastError(), kErrorFileNotFound);
  EXPECT_EQ(leads->m_count, 0) << "a new read drops the previous event";

  EXPECT_EQ(reader.ReadEvent(static_cast<const char*>(nullptr), nullptr, false, 0, 0), nullptr);
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_EQ(reader.ReadEvent(nullptr, 5, nullptr, false, 0, 0), nullptr);
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_EQ(reader.ReadEvent(bytes.data(), 0, nullptr, false, 0, 0), nullptr);
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);

  const std::string empty = folder.Write("empty.bin", {});
  EXPECT_EQ(reader.ReadEvent(empty.c_str(), nullptr, false, 0, 0), nullptr);
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter) << "an event without samples";

  EXPECT_EQ(reader.ReadEvent(folder.path().c_str(), nullptr, false, 0, 0), nullptr)
      << "a folder is no event file";
  EXPECT_NE(GetLastError(), kErrorSuccess);

  // Arguments that no 16-bit field can hold.
  EXPECT_EQ(reader.ReadEvent(bytes.data(), bytes.size(), nullptr, false, -1, 0), nullptr);
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_EQ(reader.ReadEvent(bytes.data(), bytes.size(), nullptr, false, 70000, 0), nullptr);
  EXPECT_EQ(reader.ReadEvent(bytes.data(), bytes.size(), nullptr, false, 0, 10), nullptr);
  EXPECT_EQ(reader.ReadEvent(bytes.data(), bytes.size(), nullptr, false, 0, -300), nullptr);
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);

  ASSERT_NE(reader.ReadEvent(bytes.data(), bytes.size(), nullptr, false, 0, 0), nullptr);
  reader.ClearEvent();
  EXPECT_EQ(leads->m_count, 0);
}

// ---------------------------------------------------------------- 16-bit

TEST(SixteenBitFile, LittleEndianSamplesAndTheOddLastByteIsIgnored) {
  const std::vector<uint8_t> bytes = {0x34, 0x12, 0xFF, 0xFF, 0x00, 0x80, 0x99};
  C16BitMemReader reader;
  SECGInfo info;
  SLeadObj* leads = reader.ReadEvent(bytes.data(), bytes.size(), &info, false, 0, 0);
  ASSERT_NE(leads, nullptr);
  EXPECT_EQ(info.m_samplesPerLead, 3);
  EXPECT_EQ(info.m_bitsPerSample, 16);
  EXPECT_EQ(info.m_amplitudeResolution, 2995);
  EXPECT_EQ(info.m_sampleInterval, 2002);
  const int16_t* s = leads->m_leads[0].m_samples.get();
  EXPECT_EQ(s[0], 0x1234);
  EXPECT_EQ(s[1], -1) << "0xFFFF keeps its bit pattern";
  EXPECT_EQ(s[2], -32768);

  leads = reader.ReadEvent(bytes.data(), bytes.size(), &info, true, 0, 0);
  ASSERT_NE(leads, nullptr);
  s = leads->m_leads[0].m_samples.get();
  EXPECT_EQ(s[0], 0x1234 - 32768);
  EXPECT_EQ(s[1], 32767);
  EXPECT_EQ(s[2], 0);
}

TEST(SixteenBitFile, LongFilesStopAt32767SamplesReadInHalvedChunks) {
  TempFolder folder;
  std::vector<uint8_t> bytes(2 * 33000 + 1);
  for (size_t i = 0; i < 33000; ++i) {
    bytes[2 * i] = static_cast<uint8_t>(i);
    bytes[2 * i + 1] = static_cast<uint8_t>(i >> 8);
  }
  const std::string path = folder.Write("long16.bin", bytes);
  C16BitReader reader;
  SECGInfo info;
  SLeadObj* leads = reader.ReadEvent(path.c_str(), &info, false, 1000, 1000);
  ASSERT_NE(leads, nullptr);
  EXPECT_EQ(info.m_samplesPerLead, 32767);
  EXPECT_EQ(info.m_sampleInterval, 1000);
  for (int k : {0, 999, 1000, 31999, 32000, 32766}) {
    EXPECT_EQ(leads->m_leads[0].m_samples[k], k) << k;
  }
}

TEST(SixteenBitFile, ASingleByteIsNoSample) {
  const std::vector<uint8_t> bytes = {0x42};
  C16BitMemReader reader;
  EXPECT_EQ(reader.ReadEvent(bytes.data(), bytes.size(), nullptr, false, 0, 0), nullptr);
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
}

}  // namespace
