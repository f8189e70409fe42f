// The demo file and the 12-lead recording file written from the recording
// ring: their bytes, the frame limit, the first-sample time, write failures,
// and the conversion of a recording file into an SCP-ECG record.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "acquisition/cable_frame.h"
#include "acquisition/cable_settings.h"
#include "acquisition/demo_file.h"
#include "acquisition/ecg_file.h"
#include "acquisition/ecg_settings.h"
#include "dsp/filter_settings.h"
#include "platform/byte_stream.h"
#include "platform/last_error.h"
#include "platform/text_codec.h"
#include "scp/writer.h"
#include "support/test_files.h"

using namespace ecg::acquisition;
using namespace ecg::platform;
using ecg::test::TempFolder;

namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint16_t U16(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

// Frame n carries n in channel I, -n in II and lead-off (4080) in V6 on
// every 10th frame.
Frame NumberedFrame(uint32_t n) {
  FrameSamples s{};
  s[0] = static_cast<uint16_t>(2048 + n % 1000);
  s[1] = static_cast<uint16_t>(2048 - n % 1000);
  for (size_t c = 2; c < 8; ++c) s[c] = static_cast<uint16_t>(2048 + c * 10);
  if (n % 10 == 0) s[7] = 4080;
  return PackFrame(s);
}

void Fill(CCircularBuffer& ring, uint32_t first, uint32_t count) {
  for (uint32_t n = first; n < first + count; ++n) {
    const Frame f = NumberedFrame(n);
    ASSERT_TRUE(ring.Write(f.data(), 13));
  }
}

struct Settings {
  CCableSettings cable;
  CECGSettings ecg;
  CDisplaySettings display;
  CFilterSettings filters;
  Settings() {
    cable.SetSerialNumber("SIM-004711");
    cable.m_hardwareVersion = 12;
    cable.m_softwareVersion = 34;
    ecg.SetSamplingRate(500.0);
    ecg.SetResolution(4.88);
    ecg.SetGain(0.02);
    ecg.SetSpeed(50.0);
    display.SetLeadsPerGroup(6);
    display.SetLeadGroup(1);
  }
};

TEST(DemoFile, HoldsTheSixAnswerRecordsAndTheFrames) {
  Settings s;
  CCircularBuffer ring(false, true);
  ASSERT_TRUE(ring.Allocate(100 * 13));
  Fill(ring, 0, 20);
  MemoryStream out;
  ASSERT_TRUE(CDemoFile::Write(out, ring, s.cable, s.ecg));
  const auto& b = out.bytes();
  const std::vector<std::string> texts = {"OK", "SIM-004711", "12LSIM;HW v1.2;SW v3.4", "4880;12",
                                          "1000.0000000000", "OK"};
  size_t at = 4;
  uint32_t expected_h = 8;
  for (const auto& t : texts) {
    ASSERT_LT(at, b.size());
    EXPECT_EQ(b[at], t.size() + 1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[at + 1]), t.size()), t);
    EXPECT_EQ(b[at + 1 + t.size()], 0);
    at += t.size() + 2;
    expected_h += static_cast<uint32_t>(t.size() + 2);
  }
  EXPECT_EQ(U32(b, 0), expected_h);
  EXPECT_EQ(U32(b, at), 20u * 13);
  ASSERT_EQ(b.size(), expected_h + 20u * 13);
  const Frame f7 = NumberedFrame(7);
  EXPECT_EQ(0, std::memcmp(&b[expected_h + 7 * 13], f7.data(), 13));
  EXPECT_EQ(ring.Size(), 20u * 13) << "the ring keeps its frames";
}

TEST(DemoFile, FailingSinkReportsAndTheFileIsNotReplaced) {
  Settings s;
  CCircularBuffer ring(false, true);
  ASSERT_TRUE(ring.Allocate(100 * 13));
  Fill(ring, 0, 50);
  MemoryStream out;
  out.SetWriteLimit(300);
  EXPECT_FALSE(CDemoFile::Write(out, ring, s.cable, s.ecg));

  TempFolder folder;
  const std::string path = folder.Write("old.ecg", {1, 2, 3});
  InjectWriteFailureAfter(100);
  EXPECT_FALSE(CDemoFile::WriteFile(path, ring, s.cable, s.ecg));
  InjectWriteFailureAfter(UINT64_MAX);
  EXPECT_EQ(ecg::test::ReadFile(path), (std::vector<uint8_t>{1, 2, 3}));
}

TEST(DemoFile, TooLongSerialNumberIsRefused) {
  Settings s;
  s.cable.SetSerialNumber(std::string(255, 'x'));
  CCircularBuffer ring;
  ASSERT_TRUE(ring.Allocate(100));
  MemoryStream out;
  EXPECT_FALSE(CDemoFile::Write(out, ring, s.cable, s.ecg));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
}

TEST(RecordingFile, HeaderFieldsFollowTheSettings) {
  Settings s;
  s.filters.SetPower(true);
  s.filters.SetMainsFrequency(60);
  s.filters.SetBaseline(true);
  CCircularBuffer ring(false, true);
  ASSERT_TRUE(ring.Allocate(100 * 13));
  Fill(ring, 0, 30);
  CECGFile file;
  file.SetOffset(13 * 10);
  SystemTime end{};
  end.year = 2024;
  end.month = 3;
  end.day = 1;
  end.hour = 0;
  end.minute = 0;
  end.second = 0;
  file.SetEndBufferTime(end);
  MemoryStream out;
  ASSERT_TRUE(file.Write(out, ring, s.cable, s.ecg, s.display, s.filters));
  const auto& b = out.bytes();
  ASSERT_EQ(b.size(), 1u + 3 + 281 + 3 + 20 * 13);
  EXPECT_EQ(b[0], 2);
  EXPECT_EQ(U16(b, 1), 281);
  EXPECT_EQ(b[3], 20);
  const size_t i = 4;
  EXPECT_EQ(b[i + 0], 4 | 32);
  EXPECT_EQ(U16(b, i + 1), 2000);
  EXPECT_EQ(U16(b, i + 3), 4880);
  EXPECT_STREQ(reinterpret_cast<const char*>(&b[i + 5]), "SIM-004711");
  EXPECT_EQ(b[i + 261], 12);
  EXPECT_EQ(b[i + 262], 34);
  // 20 frames of 2 ms before midnight of 1 March 2024: 29 Feb (leap year) 23:59:59.
  EXPECT_EQ(b[i + 263], 29);
  EXPECT_EQ(b[i + 264], 2);
  EXPECT_EQ(U16(b, i + 265), 2024);
  EXPECT_EQ(b[i + 267], 23);
  EXPECT_EQ(b[i + 268], 59);
  EXPECT_EQ(b[i + 269], 59);
  EXPECT_EQ(b[i + 270], 6);
  EXPECT_EQ(b[i + 271], 1);
  EXPECT_EQ(b[i + 272], 20);
  EXPECT_EQ(U16(b, i + 273), 500);
  EXPECT_EQ(U16(b, i + 275), 20);
  EXPECT_EQ(b[i + 280], 8);
  const size_t d = i + 281;
  EXPECT_EQ(U16(b, d), 20 * 13);
  EXPECT_EQ(b[d + 2], 23);
  const Frame first = NumberedFrame(10);  // after the offset
  EXPECT_EQ(0, std::memcmp(&b[d + 3], first.data(), 13));
}

TEST(RecordingFile, FilterFlagsForEachCombination) {
  CFilterSettings f;
  EXPECT_EQ(CECGFile::FilterFlags(f), 0);
  f.SetPower(true);
  EXPECT_EQ(CECGFile::FilterFlags(f), 8);  // 50 Hz by default
  f.SetMuscle(true);
  EXPECT_EQ(CECGFile::FilterFlags(f), 8 | 16);
}

TEST(RecordingFile, FirstSampleTimeRoundsThePeriodUp) {
  SystemTime end{};
  end.year = 2023;
  end.month = 1;
  end.day = 1;
  end.hour = 0;
  end.minute = 0;
  end.second = 10;
  // 496.55 Hz: ceil(10^7 / 496.55...) = 20139 ticks; 5000 frames = 10.0695 s.
  const SystemTime first = CECGFile::FirstSampleTime(end, 5000, 496.55172413795);
  EXPECT_EQ(first.year, 2022);
  EXPECT_EQ(first.month, 12);
  EXPECT_EQ(first.day, 31);
  EXPECT_EQ(first.hour, 23);
  EXPECT_EQ(first.minute, 59);
  EXPECT_EQ(first.second, 59);
  EXPECT_EQ(first.milliseconds, 930);
}

TEST(RecordingFile, MoreThan5000FramesKeepsTheOldestAndTheirTime) {
  Settings s;
  CCircularBuffer ring(false, true);
  ASSERT_TRUE(ring.Allocate(6000 * 13));
  Fill(ring, 0, 5600);
  CECGFile file;
  SystemTime end{};
  end.year = 2024;
  end.month = 6;
  end.day = 10;
  end.hour = 12;
  end.minute = 0;
  end.second = 20;
  file.SetEndBufferTime(end);
  MemoryStream out;
  ASSERT_TRUE(file.Write(out, ring, s.cable, s.ecg, s.display, s.filters));
  const auto& b = out.bytes();
  const size_t i = 4;
  EXPECT_EQ(U16(b, i + 275), 5000);
  EXPECT_EQ(b[i + 268], 0);
  EXPECT_EQ(b[i + 269], 8);  // 5600 frames x 2 ms = 11.2 s before 12:00:20
  const size_t d = i + 281;
  EXPECT_EQ(U16(b, d), 65000);
  ASSERT_EQ(b.size(), d + 3 + 65000);
  const Frame last = NumberedFrame(4999);
  EXPECT_EQ(0, std::memcmp(&b[d + 3 + 4999 * 13], last.data(), 13));
}

TEST(RecordingFile, OffsetBeyondTheUnreadBytesFails) {
  Settings s;
  CCircularBuffer ring(false, true);
  ASSERT_TRUE(ring.Allocate(100 * 13));
  Fill(ring, 0, 2);
  CECGFile file;
  file.SetOffset(27);
  MemoryStream out;
  EXPECT_FALSE(file.Write(out, ring, s.cable, s.ecg, s.display, s.filters));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
}

TEST(RecordingFile, ConvertsToARecordWithLeadsRateResolutionAndTime) {
  Settings s;
  CCircularBuffer ring(false, true);
  ASSERT_TRUE(ring.Allocate(5000 * 13));
  Fill(ring, 0, 5000 + 700);  // overwritten: frames 700 ... 5699 remain
  CECGFile file;
  SystemTime end{};
  end.year = 2025;
  end.month = 2;
  end.day = 14;
  end.hour = 9;
  end.minute = 30;
  end.second = 10;
  file.SetEndBufferTime(end);
  TempFolder folder;
  const std::string tmp = folder.File("rt-ecg.tmp");
  ASSERT_TRUE(file.WriteFile(tmp, ring, s.cable, s.ecg, s.display, s.filters));

  CWriter writer;
  const std::string scp = folder.File("rec.scp");
  ASSERT_TRUE(writer.CreateFromPelluxFile(scp.c_str(), tmp.c_str(), nullptr)) << GetLastError();
  CReader record;
  int16_t loaded = 0;
  ASSERT_TRUE(record.Load(scp, loaded, static_cast<int16_t>(kAllSectionBits)));
  SDetails details;
  ASSERT_TRUE(record.GetDetails(&details));
  EXPECT_EQ(details.m_rhythmSampleRate, 500);
  EXPECT_EQ(details.m_rhythmAmplitudeMultiplier, 4880);
  EXPECT_EQ(details.m_rhythmSamples, 5000u);
  EXPECT_EQ(details.m_leadCount, 8);
  const int16_t expected_ids[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  for (int l = 0; l < 8; ++l) EXPECT_EQ(record.GetLeadId(l), expected_ids[l]) << "lead " << l;
  const CRecordInfo* info = record.GetRecordingInfoPtr();
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->m_year, 2025);
  EXPECT_EQ(info->m_month, 2);
  EXPECT_EQ(info->m_day, 14);
  EXPECT_EQ(info->m_hour, 9);
  EXPECT_EQ(info->m_minute, 30);
  EXPECT_EQ(info->m_second, 0);  // 10 s before the end
  ASSERT_TRUE(info->m_serialNumber);
  EXPECT_EQ(WideToUtf8Lossy(*info->m_serialNumber), "SIM-004711");
  // Samples as received, offset removed: frame 700 is the first; a lead-off
  // code on V6 (4080) becomes the marker 2032.
  const SEncodedData* rhythm = record.GetRhythmDataPtr();
  ASSERT_NE(rhythm, nullptr);
  ASSERT_NE(rhythm->Samples(0), nullptr);
  EXPECT_EQ(rhythm->Samples(0)[0], 700);
  EXPECT_EQ(rhythm->Samples(1)[0], -700);
  EXPECT_EQ(rhythm->Samples(1)[1], -701);
  EXPECT_EQ(rhythm->Samples(7)[0], 2032);
  EXPECT_EQ(rhythm->Samples(7)[1], 70);
}

TEST(CableSettings, DefaultsAndPortNames) {
  CCableSettings c;
  EXPECT_EQ(c.m_leads, 12);
  EXPECT_EQ(c.m_connectionType, 0);
  EXPECT_TRUE(c.m_replayLoops);
  EXPECT_EQ(c.m_hardwareVersion, 0);
  EXPECT_STREQ(c.m_serialNumber, "");
  EXPECT_EQ(CCableSettings::PortName(9), "COM9");
  EXPECT_EQ(CCableSettings::PortName(10), "\\\\.\\COM10");
  c.SetLeads(6);
  EXPECT_EQ(c.m_leads, 12);
  c.SetUpdateRate(25);
  EXPECT_EQ(c.FramesPerBatch(), 20u);
  c.SetUpdateRate(200);
  EXPECT_EQ(c.FramesPerBatch(), 2u);
}

TEST(CableSettings, LoadSettingsReadsPortLeadsAndAddress) {
  TempFolder folder;
  const std::string text =
      "[Cable Settings]\nComPort=14\nDefaultLeads=6\n[Network Settings]\n"
      "IPAddress=192.168.100.200:12345678\n";
  const std::string path = folder.Write("cable.ini", std::vector<uint8_t>(text.begin(), text.end()));
  CCableSettings c;
  EXPECT_TRUE(c.LoadSettings(path));
  EXPECT_EQ(c.m_portName, "\\\\.\\COM14");
  EXPECT_EQ(c.m_leads, 12);
  EXPECT_EQ(g_cableIpAddress, "192.168.100.200:1234");
  CCableSettings d;
  EXPECT_FALSE(d.LoadSettings(folder.File("missing.ini")));
  EXPECT_EQ(d.m_portName, "COM2");
}

TEST(EcgSettings, RateAndResolutionRecomputeTheTransformation) {
  CECGSettings e;
  e.SetDevice(0.25, 0.25);
  double per_sample = 0, per_step = 0;
  e.GetTransformationValues(&per_sample, &per_step);
  EXPECT_DOUBLE_EQ(per_sample, 25.0 / 500.0 / 0.25);
  EXPECT_DOUBLE_EQ(per_step, 3.0 * 0.01 / 0.25);
  e.SetSamplingRate(250.0);
  e.SetResolution(6.0);
  e.GetTransformationValues(&per_sample, &per_step);
  EXPECT_DOUBLE_EQ(per_sample, 25.0 / 250.0 / 0.25);
  EXPECT_DOUBLE_EQ(per_step, 6.0 * 0.01 / 0.25);
}

TEST(DisplaySettings, LeadGroupStaysInRange) {
  CDisplaySettings d;
  d.SetLeadsPerGroup(3);
  d.SetLeadGroup(3);
  EXPECT_EQ(d.LeadGroup(), 3);
  d.SetLeadGroup(4);
  EXPECT_EQ(d.LeadGroup(), 3);
  d.SetLeadsPerGroup(6);
  EXPECT_EQ(d.LeadGroup(), 1);
  d.SetLeadsPerGroup(5);
  EXPECT_EQ(d.LeadsPerGroup(), 12);
  EXPECT_EQ(d.LeadGroup(), 0);
}

}  // namespace
