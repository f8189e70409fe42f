// Handheld recorder files: information blocks, event blocks, lead data
// codings and every way a file can be refused.

#include "import/pellux_reader.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/last_error.h"
#include "support/test_files.h"
#include "unit/import/device_files.h"

using namespace ecg::platform;
using namespace ecg::test;

namespace {

// A type 2 body; its serial number is 2 * 256 + 0x0304 = 1284.
std::vector<uint8_t> Block2Body(uint16_t samples, uint8_t lead_number = 2, uint8_t resolution = 200,
                                uint8_t flags = 0x01) {
  std::vector<uint8_t> b(18, 0);
  PutU16(b, 0, 3333);    // sample interval
  PutU16(b, 2, 0x0304);  // serial low
  b[4] = 11;             // hardware 1.1
  b[5] = 25;             // software 2.5
  b[6] = flags;
  b[7] = 0x31;   // day 31
  b[8] = 0x12;   // December
  b[9] = 0x07;   // 2007
  b[10] = 0x23;  // 23 h
  b[11] = 0x59;  // 59 min
  b[12] = lead_number;
  b[13] = resolution;
  b[14] = 0xAB;  // device-specific
  PutU16(b, 15, samples);
  b[17] = 2;  // serial high
  return b;
}

std::vector<uint8_t> Block3Body(uint8_t leads, uint16_t samples, uint8_t config = 1) {
  std::vector<uint8_t> b(35, 0);
  PutU16(b, 0, 4000);
  PutU16(b, 2, 500);
  b[4] = 20;
  b[6] = 0x08;  // 60 Hz mains
  b[7] = 0x01;
  b[8] = 0x02;
  b[9] = 0x85;  // 1985
  b[12] = 0;
  b[13] = 100;
  b[14] = 0x5C;
  PutU16(b, 15, 1);  // replaced by the value at 32
  PutU16(b, 17, 2000);
  b[19] = static_cast<uint8_t>(config | (leads << 1));
  for (int i = 0; i < 12; ++i) b[20 + i] = static_cast<uint8_t>(i + 1);
  PutU16(b, 32, samples);
  b[34] = 1;  // serial high: 256 + 500
  return b;
}

std::vector<uint8_t> Block30Body(uint8_t events, uint8_t leads = 1) {
  std::vector<uint8_t> b(14, 0);
  b[0] = 0x12;  // serial 0x1234, high byte first
  b[1] = 0x34;
  b[3] = 10;
  b[4] = 20;
  b[6] = 2;  // 60 Hz
  PutU16(b, 7, 5000);
  PutU16(b, 9, 4000);
  b[11] = 8;
  b[12] = leads;
  b[13] = events;
  return b;
}

std::vector<uint8_t> Block31Body(uint16_t samples, uint8_t day, uint8_t mark = 1) {
  std::vector<uint8_t> b(15, 0);
  PutU16(b, 1, samples);
  b[5] = mark;
  b[10] = day;
  b[11] = 6;
  b[12] = 95;  // 1995
  b[13] = 7;
  b[14] = 30;
  return b;
}

std::vector<uint8_t> Bytes8(std::initializer_list<int> values) {
  std::vector<uint8_t> out;
  for (int v : values) out.push_back(static_cast<uint8_t>(v + 128));
  return out;
}

struct Read {
  bool ok;
  uint32_t code;
  int16_t events;
};

Read ReadBytes(CPelluxReader& reader, const std::vector<uint8_t>& bytes) {
  int16_t events = -1;
  const bool ok = reader.ReadMemory(bytes.data(), bytes.size(), &events);
  return {ok, GetLastError(), events};
}

// ------------------------------------------------------------ type 2 / 3

TEST(HandheldType2, InformationBlockAndAnEightBitLead) {
  const auto file =
      HandheldFile().Block(2, Block2Body(4)).Block(6, Bytes8({0, -128, 127, 5})).Bytes();
  CPelluxReader reader;
  const Read r = ReadBytes(reader, file);
  ASSERT_TRUE(r.ok) << r.code << " " << reader.FailureReason();
  EXPECT_EQ(r.events, 1);
  SECGInfo info;
  SLeadObj* leads = reader.GetEvent(0, &info);
  ASSERT_NE(leads, nullptr);
  EXPECT_STREQ(info.m_deviceText, "1284");
  EXPECT_EQ(info.m_hardwareVersion, 11);
  EXPECT_EQ(info.m_softwareVersion, 25);
  EXPECT_EQ(info.m_year, 2007);
  EXPECT_EQ(info.m_month, 12);
  EXPECT_EQ(info.m_day, 31);
  EXPECT_EQ(info.m_hour, 23);
  EXPECT_EQ(info.m_minute, 59);
  EXPECT_EQ(info.m_second, 0);
  EXPECT_EQ(info.m_sampleInterval, 3333);
  EXPECT_EQ(info.m_amplitudeResolution, 5000);  // 200 units per mV
  EXPECT_EQ(info.m_filters, 0x10) << "50 Hz in the filter bit map nibble";
  EXPECT_EQ(info.DeviceType(), 1);
  EXPECT_EQ(info.LeadConfiguration(), 2);
  EXPECT_EQ(info.m_bitsPerSample, 0);
  EXPECT_EQ(info.m_leadCount, 1);
  EXPECT_EQ(info.m_singleLeadIndex, 1);
  EXPECT_EQ(info.m_deviceSpecific, 0xAB);
  ASSERT_EQ(leads->m_count, 1);
  EXPECT_EQ(leads->m_filled, 1);
  EXPECT_EQ(leads->m_leads[0].m_leadIndex, 1) << "lead number 2 is lead II";
  const std::vector<int16_t> expected = {0, -128, 127, 5};
  for (int k = 0; k < 4; ++k) EXPECT_EQ(leads->m_leads[0].m_samples[k], expected[k]);
}

TEST(HandheldType2, FlagsYearsAndTheExtensionBlock) {
  auto body = Block2Body(2, 0, 10, 0x08 | 0x30 | 0x05);
  body[9] = 0x85;  // 1985
  // Body of 25 bytes: the extension follows at 18.
  const std::vector<uint8_t> ext = {0x10, 0x00, 0x01, 33, 44, 0x10, 0x27};
  body.insert(body.end(), ext.begin(), ext.end());
  body.push_back(0xEE);  // a byte past the extension, skipped by its length
  const auto file = HandheldFile().Block(2, body).Block(6, Bytes8({1, 2})).Bytes();
  CPelluxReader reader;
  const Read r = ReadBytes(reader, file);
  ASSERT_TRUE(r.ok) << reader.FailureReason();
  SECGInfo info;
  SLeadObj* leads = reader.GetEvent(0, &info);
  ASSERT_NE(leads, nullptr);
  EXPECT_EQ(info.m_year, 1985);
  EXPECT_EQ(info.m_filters, 0x20) << "60 Hz";
  EXPECT_EQ(info.DeviceType(), 5);
  EXPECT_EQ(info.m_device >> 6, 3) << "flag bits 4 and 5 become device bits 6 and 7";
  EXPECT_EQ(info.m_singleLeadIndex, 12) << "lead number 0 is the unspecified lead";
  EXPECT_STREQ(info.m_deviceText, "272") << "the extension's serial 1 * 256 + 16";
  EXPECT_EQ(info.m_hardwareVersion, 33);
  EXPECT_EQ(info.m_softwareVersion, 44);
  EXPECT_EQ(info.m_amplitudeResolution, 10000) << "the extension's value, not 1000000 / 10";
  EXPECT_EQ(leads->m_leads[0].m_samples[1], 2);
}

TEST(HandheldType2, AResolutionByteOfZeroIsRefused) {
  const auto file = HandheldFile().Block(2, Block2Body(2, 1, 0)).Block(6, Bytes8({1, 2})).Bytes();
  CPelluxReader reader;
  const Read r = ReadBytes(reader, file);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.code, kErrorInvalidData);
  EXPECT_NE(reader.FailureReason().find("resolution of 0"), std::string::npos);
  EXPECT_EQ(reader.GetEventCount(), 0);
}

TEST(HandheldType2, LowResolutionsSaturateTheNanovoltField) {
  const auto file = HandheldFile().Block(2, Block2Body(1, 1, 1)).Block(6, Bytes8({1})).Bytes();
  CPelluxReader reader;
  ASSERT_TRUE(ReadBytes(reader, file).ok);
  SECGInfo info;
  ASSERT_NE(reader.GetEvent(0, &info), nullptr);
  EXPECT_EQ(info.m_amplitudeResolution, 65535);
}

TEST(HandheldType3, SeveralLeadsWithTheirOwnNumbersAndKeptBytes) {
  const auto file = HandheldFile()
                        .Block(3, Block3Body(2, 3))
                        .Block(7, {3, 128, 129, 130})      // lead number 3 -> III
                        .Block(11, {0, 0x80, 0x08, 0x01})  // lead 0: unspecified; one pair 0, 1
                        .Bytes();
  CPelluxReader reader;
  const Read r = ReadBytes(reader, file);
  ASSERT_TRUE(r.ok) << reader.FailureReason();
  SECGInfo info;
  SLeadObj* leads = reader.GetEvent(0, &info);
  ASSERT_NE(leads, nullptr);
  EXPECT_EQ(info.m_leadCount, 2);
  EXPECT_EQ(info.m_samplesPerLead, 3) << "the second samples-per-lead field wins";
  EXPECT_EQ(info.m_sampleInterval, 2000) << "the second interval field wins";
  EXPECT_EQ(info.m_amplitudeResolution, 0) << "type 3 has no resolution without an extension";
  EXPECT_EQ(info.LeadConfiguration(), 1);
  EXPECT_EQ(info.m_year, 1985);
  EXPECT_EQ(info.m_filters, 0x20);
  EXPECT_STREQ(info.m_deviceText, "756");
  EXPECT_EQ(info.m_deviceSpecific, 0x5C);
  EXPECT_EQ(info.m_kept[0], 1);
  EXPECT_EQ(info.m_kept[7], 8);
  EXPECT_EQ(info.m_keptWord, 0x0C0B0A09u);
  ASSERT_EQ(leads->m_filled, 2);
  EXPECT_EQ(leads->m_leads[0].m_leadIndex, 2);
  EXPECT_EQ(leads->m_leads[0].m_samples[2], 2);
  EXPECT_EQ(leads->m_leads[1].m_leadIndex, 12);
  EXPECT_EQ(leads->m_leads[1].m_samples[0], 0);
  EXPECT_EQ(leads->m_leads[1].m_samples[1], 1);
  EXPECT_EQ(leads->m_leads[1].m_samples[2], 0) << "an odd last sample stays 0";
}

TEST(HandheldType3, TheLeadCountMustMatchTheBlocks) {
  CPelluxReader reader;
  // Two leads said, one block: refused.
  auto file = HandheldFile().Block(3, Block3Body(2, 1)).Block(7, {1, 0}).Bytes();
  Read r = ReadBytes(reader, file);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.code, kErrorInvalidData);
  // Six said, two blocks: the count becomes 2.
  file = HandheldFile().Block(3, Block3Body(6, 1)).Block(7, {1, 0}).Block(7, {2, 0}).Bytes();
  r = ReadBytes(reader, file);
  ASSERT_TRUE(r.ok) << reader.FailureReason();
  SECGInfo info;
  ASSERT_NE(reader.GetEvent(0, &info), nullptr);
  EXPECT_EQ(info.m_leadCount, 2);
  // Twelve said with no further block: count 0, outside 1-12.
  file = HandheldFile().Block(3, Block3Body(12, 1)).Bytes();
  r = ReadBytes(reader, file);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.code, kErrorInvalidData);
  // A resolution byte of 0 is refused here too.
  auto body = Block3Body(1, 1);
  body[13] = 0;
  file = HandheldFile().Block(3, body).Block(7, {1, 0}).Bytes();
  r = ReadBytes(reader, file);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.code, kErrorInvalidData);
}

TEST(HandheldType3, AnExtensionGivesTheResolution) {
  auto body = Block3Body(1, 2);
  const std::vector<uint8_t> ext = {0x05, 0x00, 0x00, 1, 2, 0xE8, 0x03};
  body.insert(body.end(), ext.begin(), ext.end());
  const auto file = HandheldFile().Block(3, body).Block(7, {1, 128, 128}).Bytes();
  CPelluxReader reader;
  ASSERT_TRUE(ReadBytes(reader, file).ok) << reader.FailureReason();
  SECGInfo info;
  ASSERT_NE(reader.GetEvent(0, &info), nullptr);
  EXPECT_EQ(info.m_amplitudeResolution, 1000);
  EXPECT_STREQ(info.m_deviceText, "5");
}

// ---------------------------------------------------------- type 20 / 23

TEST(HandheldType20, TheRecordingWindowsFileWithEightLeads) {
  Block20 info20;
  info20.samples = 2;
  info20.filters = 0x08 | 0x10 | 0x20;  // 50 Hz power filter, muscle, baseline
  const auto file =
      HandheldFile()
          .Block(20, info20.Body())
          .Block(23, Frames8({{0, 1, 2, 3, 4, 5, 6, 7}, {-2048, 2047, -1, 1, 1984, 0, 0, 0}}), 26)
          .Bytes();
  CPelluxReader reader;
  ASSERT_TRUE(ReadBytes(reader, file).ok) << reader.FailureReason();
  SECGInfo info;
  SLeadObj* leads = reader.GetEvent(0, &info);
  ASSERT_NE(leads, nullptr);
  EXPECT_STREQ(info.m_deviceText, "CAB-0815");
  EXPECT_EQ(info.m_filters, 0x01 | 0x04 | 0x08) << "writer 50 Hz, muscle, baseline";
  EXPECT_EQ(info.m_sampleInterval, 2000);
  EXPECT_EQ(info.m_amplitudeResolution, 1000);
  EXPECT_EQ(info.m_year, 2024);
  EXPECT_EQ(info.m_month, 3);
  EXPECT_EQ(info.m_day, 5);
  EXPECT_EQ(info.m_second, 16);
  EXPECT_EQ(info.DeviceType(), 3);
  EXPECT_EQ(info.LeadConfiguration(), 1);
  EXPECT_EQ(info.m_bitsPerSample, 12);
  ASSERT_EQ(leads->m_filled, 8);
  const uint8_t indexes[8] = {0, 1, 6, 7, 8, 9, 10, 11};
  for (int lead = 0; lead < 8; ++lead) {
    EXPECT_EQ(leads->m_leads[lead].m_leadIndex, indexes[lead]);
    EXPECT_EQ(leads->m_leads[lead].m_samples[0], lead);
  }
  EXPECT_EQ(leads->m_leads[0].m_samples[1], -2048);
  EXPECT_EQ(leads->m_leads[1].m_samples[1], 2047);
  EXPECT_EQ(leads->m_leads[4].m_samples[1], 1984);
}

TEST(HandheldType20, FilterFlagsPickOneMainsFilter) {
  struct Case {
    uint8_t flags;
    uint8_t expected;
  } cases[] = {{0x02 | 0x08, 0x10}, {0x08 | 0x01, 0x01}, {0x01 | 0x04, 0x20}, {0x04, 0x02}, {0, 0}};
  for (const auto& c : cases) {
    Block20 info20;
    info20.samples = 1;
    info20.leads = 2;
    info20.filters = c.flags;
    const auto file = HandheldFile().Block(20, info20.Body()).Block(22, {0x80, 0, 0, 0}).Bytes();
    CPelluxReader reader;
    ASSERT_TRUE(ReadBytes(reader, file).ok);
    SECGInfo info;
    ASSERT_NE(reader.GetEvent(0, &info), nullptr);
    EXPECT_EQ(info.m_filters, c.expected) << int{c.flags};
  }
}

TEST(HandheldType22, AFrameDecodesLeadsIAndIIAndIgnoresTheFourthByte) {
  Block20 info20;
  info20.samples = 2;
  info20.leads = 2;
  const auto file = HandheldFile()
                        .Block(20, info20.Body())
                        .Block(22, {0x80, 0x00, 0x00, 0x5A, 0x80, 0x18, 0x01, 0xFF})
                        .Bytes();
  CPelluxReader reader;
  ASSERT_TRUE(ReadBytes(reader, file).ok);
  SECGInfo info;
  SLeadObj* leads = reader.GetEvent(0, &info);
  ASSERT_NE(leads, nullptr);
  ASSERT_EQ(leads->m_filled, 2);
  EXPECT_EQ(leads->m_leads[0].m_leadIndex, 0);
  EXPECT_EQ(leads->m_leads[1].m_leadIndex, 1);
  EXPECT_EQ(leads->m_leads[0].m_samples[0], 0);
  EXPECT_EQ(leads->m_leads[1].m_samples[0], -2048);
  EXPECT_EQ(leads->m_leads[0].m_samples[1], 1);
  EXPECT_EQ(leads->m_leads[1].m_samples[1], 0x801 - 2048);
}

TEST(HandheldType21, SingleLeadFramesWithoutValidityCheck) {
  Block20 info20;
  info20.samples = 4;
  info20.leads = 1;
  info20.single_lead = 4;  // aVL
  const auto file = HandheldFile()
                        .Block(20, info20.Body())
                        .Block(21, {0x80, 0x00, 0x00, 0x01, 0x00, 0x02, 0x7F, 0x83})
                        .Bytes();
  CPelluxReader reader;
  ASSERT_TRUE(ReadBytes(reader, file).ok);
  SECGInfo info;
  SLeadObj* leads = reader.GetEvent(0, &info);
  ASSERT_NE(leads, nullptr);
  EXPECT_EQ(leads->m_leads[0].m_leadIndex, 4);
  const std::vector<int16_t> expected = {1024, 2033, 2032, 2034};
  for (int k = 0; k < 4; ++k) EXPECT_EQ(leads->m_leads[0].m_samples[k], expected[k]);
}

TEST(HandheldType10, TwelveBitPairsForTheEventsSingleLead) {
  Block20 info20;
  info20.samples = 4;
  info20.leads = 1;
  info20.single_lead = 7;
  const auto a = Pack12(-5, 6);
  const auto b = Pack12(700, -700);
  const auto file = HandheldFile()
                        .Block(20, info20.Body())
                        .Block(10, {a[0], a[1], a[2], b[0], b[1], b[2]})
                        .Bytes();
  CPelluxReader reader;
  ASSERT_TRUE(ReadBytes(reader, file).ok);
  SECGInfo info;
  SLeadObj* leads = reader.GetEvent(0, &info);
  ASSERT_NE(leads, nullptr);
  EXPECT_EQ(leads->m_leads[0].m_leadIndex, 7);
  const std::vector<int16_t> expected = {-5, 6, 700, -700};
  for (int k = 0; k < 4; ++k) EXPECT_EQ(leads->m_leads[0].m_samples[k], expected[k]);
}

// ---------------------------------------------------------- type 30 / 31

TEST(HandheldType30, EventBlocksStartEachEvent) {
  const auto file = HandheldFile()
                        .Block(30, Block30Body(3))
                        .Block(31, Block31Body(2, 11))
                        .Block(6, Bytes8({1, 2}))
                        .Block(31, Block31Body(3, 12))
                        .Block(6, Bytes8({3, 4, 5}))
                        .Block(31, Block31Body(1, 13, 9))
                        .Block(6, Bytes8({6}))
                        .Bytes();
  CPelluxReader reader;
  const Read r = ReadBytes(reader, file);
  ASSERT_TRUE(r.ok) << reader.FailureReason();
  EXPECT_EQ(r.events, 3);
  const int firsts[3] = {1, 3, 6};
  const uint16_t samples[3] = {2, 3, 1};
  for (int16_t n = 0; n < 3; ++n) {
    SECGInfo info;
    SLeadObj* leads = reader.GetEvent(n, &info);
    ASSERT_NE(leads, nullptr);
    EXPECT_EQ(info.m_samplesPerLead, samples[n]);
    EXPECT_EQ(info.m_day, 11 + n);
    EXPECT_EQ(info.m_month, 6);
    EXPECT_EQ(info.m_year, 1995);
    EXPECT_EQ(info.m_hour, 7);
    EXPECT_EQ(info.m_minute, 30);
    EXPECT_STREQ(info.m_deviceText, "4660");
    EXPECT_EQ(info.m_filters, 0x20);
    EXPECT_EQ(info.m_amplitudeResolution, 5000);
    EXPECT_EQ(info.m_sampleInterval, 4000);
    EXPECT_EQ(info.m_bitsPerSample, 8);
    EXPECT_EQ(info.DeviceType(), 2);
    EXPECT_EQ(info.m_singleLeadIndex, 255);
    EXPECT_EQ(leads->m_leads[0].m_leadIndex, 255);
    EXPECT_EQ(leads->m_leads[0].m_samples[0], firsts[n]);
  }
  SECGInfo last;
  reader.GetEvent(2, &last);
  EXPECT_EQ(last.m_eventMark, 9);
}

TEST(HandheldType30, MoreEventBlocksThanEventsAndABadMarkAreRefused) {
  CPelluxReader reader;
  auto file = HandheldFile()
                  .Block(30, Block30Body(2))
                  .Block(31, Block31Body(1, 1))
                  .Block(31, Block31Body(1, 2))
                  .Block(31, Block31Body(1, 3))
                  .Bytes();
  Read r = ReadBytes(reader, file);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.code, kErrorOutOfStructures);
  EXPECT_EQ(reader.GetEventCount(), 0) << "a failed read keeps no events";

  file = HandheldFile().Block(30, Block30Body(1)).Block(31, Block31Body(1, 1, 0)).Bytes();
  r = ReadBytes(reader, file);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.code, kErrorInvalidData);

  // An event count of 0 is one event.
  file =
      HandheldFile().Block(30, Block30Body(0)).Block(31, Block31Body(1, 1)).Block(6, {0}).Bytes();
  r = ReadBytes(reader, file);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.events, 1);
}

TEST(HandheldType2, ASampleCountChangedAfterTheFirstLeadIsRefused) {
  // The event block would change the samples per lead of an event whose
  // leads were made for two samples.
  const auto file = HandheldFile()
                        .Block(2, Block2Body(2))
                        .Block(6, Bytes8({1, 2}))
                        .Block(31, Block31Body(5, 1))
                        .Bytes();
  CPelluxReader reader;
  EXPECT_FALSE(ReadBytes(reader, file).ok);
  EXPECT_EQ(GetLastError(), kErrorInvalidData);
  EXPECT_NE(reader.FailureReason().find("sample count changed"), std::string::npos);
}

// -------------------------------------------------------------- refusals

TEST(HandheldRefusals, EveryMalformedFileFailsWithItsCodeAndKeepsNoEvents) {
  Block20 two;
  two.samples = 2;
  two.leads = 2;
  Block20 zero_samples = two;
  zero_samples.samples = 0;
  Block20 thirteen = two;
  thirteen.leads = 13;
  Block20 no_leads = two;
  no_leads.leads = 0;
  const std::vector<uint8_t> frames22 = {0x80, 0, 0, 0, 0x80, 0, 0, 0};
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    uint32_t code;
  } cases[] = {
      {"header cut", {2, 25}, kErrorInvalidData},
      {"information block cut", HandheldFile().Block(20, std::vector<uint8_t>(100)).Bytes(),
       kErrorInvalidData},
      {"unknown information type", HandheldFile().Block(5, std::vector<uint8_t>(20)).Bytes(),
       kErrorInvalidData},
      {"stated length past the end", HandheldFile().Block(20, two.Body(), 400).Bytes(),
       kErrorInvalidData},
      {"lead count 13", HandheldFile().Block(20, thirteen.Body()).Block(22, frames22).Bytes(),
       kErrorInvalidData},
      {"lead count 0", HandheldFile().Block(20, no_leads.Body()).Bytes(), kErrorInvalidData},
      {"block header cut", HandheldFile().Block(20, two.Body()).BlockCount(2).Bytes(),
       kErrorInvalidData},
      {"lead block cut",
       HandheldFile().Block(20, two.Body()).Block(22, {0x80, 0, 0, 0, 0x80}).Bytes(),
       kErrorInvalidData},
      {"unsupported data block 12", HandheldFile().Block(20, two.Body()).Block(12, {1, 2}).Bytes(),
       kErrorInvalidData},
      {"unsupported data block 35", HandheldFile().Block(20, two.Body()).Block(35, {}).Bytes(),
       kErrorInvalidData},
      {"more leads than the event holds",
       HandheldFile().Block(20, two.Body()).Block(22, frames22).Block(22, frames22).Bytes(),
       kErrorOutOfStructures},
      {"eight leads into two",
       HandheldFile().Block(20, two.Body()).Block(23, std::vector<uint8_t>(26)).Bytes(),
       kErrorOutOfStructures},
      {"zero samples", HandheldFile().Block(20, zero_samples.Body()).Block(22, frames22).Bytes(),
       kErrorInvalidParameter},
      {"event block cut", HandheldFile().Block(30, Block30Body(1)).Block(31, {1, 2, 3}).Bytes(),
       kErrorInvalidData},
  };
  for (const auto& c : cases) {
    CPelluxReader reader;
    const Read r = ReadBytes(reader, c.bytes);
    EXPECT_FALSE(r.ok) << c.what;
    EXPECT_EQ(r.code, c.code) << c.what << ": " << reader.FailureReason();
    EXPECT_FALSE(reader.FailureReason().empty()) << c.what;
    EXPECT_EQ(reader.GetEventCount(), 0) << c.what;
    SECGInfo info;
    EXPECT_EQ(reader.GetEvent(0, &info), nullptr);
    EXPECT_EQ(GetLastError(), kErrorNoData);
  }
}

TEST(HandheldRefusals, ABlockLengthPastTheEndOfADataBlockDoesNotMatter) {
  Block20 two;
  two.samples = 1;
  two.leads = 2;
  const auto file = HandheldFile().Block(20, two.Body()).Block(22, {0x80, 0, 0, 0}, 60000).Bytes();
  CPelluxReader reader;
  EXPECT_TRUE(ReadBytes(reader, file).ok) << "lead blocks are read by their content";
}

TEST(HandheldEventAccess, ErrorCodesOfGetEvent) {
  CPelluxReader reader;
  SECGInfo info;
  EXPECT_EQ(reader.GetEvent(0, &info), nullptr);
  EXPECT_EQ(GetLastError(), kErrorNoData);
  const auto file = HandheldFile().Block(2, Block2Body(1)).Block(6, {1}).Bytes();
  ASSERT_TRUE(ReadBytes(reader, file).ok);
  EXPECT_EQ(reader.GetEvent(0, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_EQ(reader.GetEvent(1, &info), nullptr);
  EXPECT_EQ(GetLastError(), kErrorOutOfStructures);
  EXPECT_EQ(reader.GetEvent(-1, &info), nullptr);
  EXPECT_EQ(GetLastError(), kErrorOutOfStructures);
  EXPECT_NE(reader.GetEvent(0, &info), nullptr);
  EXPECT_EQ(GetLastError(), kErrorSuccess);
  reader.ClearEvents();
  EXPECT_EQ(reader.GetEvent(0, &info), nullptr);
  EXPECT_EQ(GetLastError(), kErrorNoData);
}

TEST(HandheldFiles, ReadFromAFileAndTheFileErrors) {
  TempFolder folder;
  const std::string path = folder.Write("rec.dat", EightLeadRecording(2));
  CPelluxReader reader;
  int16_t events = 0;
  ASSERT_TRUE(reader.ReadFile(path.c_str(), &events)) << reader.FailureReason();
  EXPECT_EQ(events, 1);
  SECGInfo info;
  SLeadObj* leads = reader.GetEvent(0, &info);
  ASSERT_NE(leads, nullptr);
  EXPECT_EQ(info.m_samplesPerLead, 1000);
  EXPECT_EQ(leads->m_filled, 8);

  EXPECT_FALSE(reader.ReadFile(folder.File("absent.dat").c_str(), &events));
  EXPECT_EQ(GetLastError(), kErrorFileNotFound);
  EXPECT_FALSE(reader.ReadFile(nullptr, &events));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_FALSE(reader.ReadMemory(nullptr, 4, &events));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
}

}  // namespace
