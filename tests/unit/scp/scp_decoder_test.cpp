// The decoder of records from other systems: Huffman coding, differences,
// reference beats, bimodal compression, statements, structural refusals, and
// the public sample files against their ground truth.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include <algorithm>

#include "scp/huffman.h"
#include "scp/little_endian.h"
#include "scp/record_converter.h"
#include "scp/reader.h"
#include "scp/reference_beat.h"
#include "scp/scp_decoder.h"
#include "scp/scp_statements.h"
#include "support/record_builder.h"
#include "support/scp_encoders.h"
#include "support/section_builders.h"
#include "support/test_files.h"

namespace {

using ecg::scp::DecodedRecord;
using ecg::scp::DecodeReport;
using ecg::scp::DecodeScpRecord;
using ecg::scp::DecodeStatus;
using ecg::test::Bytes;

// ------------------------------------------------------------- Huffman

TEST(ScpHuffman, WorkedExampleDecodesWithSecondDifferences) {
  const Bytes block = {0xFF, 0x83, 0x7F, 0xE0, 0xE6, 0xF1, 0x53, 0x65,
                       0x59, 0xB6, 0x5B, 0x96, 0x4B, 0x96, 0x00};
  std::vector<int32_t> values;
  ASSERT_EQ(ecg::scp::DecodeHuffmanBlock(ecg::scp::HuffmanTables::Default(), block, 28, values),
            ecg::scp::HuffmanResult::kComplete);
  ecg::scp::UndoDifferences(values, 2);
  const std::vector<int32_t> expected = {13, 14, 15, 14, 16, 18, 19, 20, 22, 22, 23, 23, 23, 22,
                                         22, 20, 17, 15, 12, 8,  6,  3,  1,  0,  -2, -2, -3, -3};
  EXPECT_EQ(values, expected);
}

TEST(ScpHuffman, DefaultTableRoundTripsEveryCodeLengthAndStopsBeforePadding) {
  std::vector<int32_t> values;
  for (int v = -300; v <= 300; v += 7) values.push_back(v);
  for (int v = -9; v <= 9; ++v) values.push_back(v);
  values.push_back(-32768);
  values.push_back(32767);
  for (bool ones : {true, false}) {
    const Bytes block = ecg::test::EncodeDefaultHuffman(values, ones);
    std::vector<int32_t> out;
    EXPECT_EQ(ecg::scp::DecodeHuffmanBlock(ecg::scp::HuffmanTables::Default(), block,
                                           values.size(), out),
              ecg::scp::HuffmanResult::kComplete);
    EXPECT_EQ(out, values);
    // Asking for more than the block holds: the zero padding reads as zeros,
    // the one padding as an unfinished code.
    EXPECT_EQ(ecg::scp::DecodeHuffmanBlock(ecg::scp::HuffmanTables::Default(), block,
                                           values.size() + 100, out),
              ecg::scp::HuffmanResult::kTruncated);
  }
}

Bytes CustomTables() {
  // Table 1: "0" = 5, "10" = switch to table 2, "11" + 4-bit value.
  // Table 2: "1" = -1, "0" = switch to table 1.
  Bytes b;
  ecg::test::PutU16(b, 2);
  auto code = [&b](uint8_t prefix, uint8_t total, uint8_t mode, int16_t base, uint32_t stored) {
    b.push_back(prefix);
    b.push_back(total);
    b.push_back(mode);
    ecg::test::PutU16(b, static_cast<uint16_t>(base));
    ecg::test::PutU32(b, stored);
  };
  ecg::test::PutU16(b, 3);
  code(1, 1, 1, 5, 0);     // 0
  code(2, 2, 0, 2, 1);     // 10 (first bit in the lowest stored bit)
  code(2, 6, 1, 0, 3);     // 11 + 4 bits
  ecg::test::PutU16(b, 2);
  code(1, 1, 1, -1, 1);    // 1
  code(1, 1, 0, 1, 0);     // 0 -> table 1
  return b;
}

TEST(ScpHuffman, CustomTablesSwitchAndCarryValues) {
  ecg::scp::HuffmanTables tables;
  std::string why;
  ASSERT_TRUE(ecg::scp::ParseHuffmanSection(CustomTables(), tables, why)) << why;
  EXPECT_FALSE(tables.defaultTable);
  ecg::test::BitWriter w;
  w.Put(0b0, 1);          // 5
  w.Put(0b11, 2);         // value follows
  w.Put(0b1101, 4);       // -3
  w.Put(0b10, 2);         // to table 2
  w.Put(0b11, 2);         // -1 -1
  w.Put(0b0, 1);          // back to table 1
  w.Put(0b0, 1);          // 5
  const Bytes block = w.Finish(true);
  std::vector<int32_t> values;
  ASSERT_EQ(ecg::scp::DecodeHuffmanBlock(tables, block, 5, values),
            ecg::scp::HuffmanResult::kComplete);
  EXPECT_EQ(values, (std::vector<int32_t>{5, -3, -1, -1, 5}));
}

TEST(ScpHuffman, BrokenTablesAndUnmatchedBitsAreRefused) {
  ecg::scp::HuffmanTables tables;
  std::string why;
  Bytes cut = CustomTables();
  cut.resize(cut.size() - 3);
  EXPECT_FALSE(ecg::scp::ParseHuffmanSection(cut, tables, why));
  EXPECT_NE(why.find("ends inside table 2"), std::string::npos) << why;
  Bytes bad_switch = CustomTables();
  bad_switch[2 + 2 + 9 + 3] = 7;  // table 1's switch names table 7
  EXPECT_FALSE(ecg::scp::ParseHuffmanSection(bad_switch, tables, why));
  Bytes zero_bits = CustomTables();
  zero_bits[4] = 0;
  EXPECT_FALSE(ecg::scp::ParseHuffmanSection(zero_bits, tables, why));
  Bytes zero_tables = {0, 0};
  EXPECT_FALSE(ecg::scp::ParseHuffmanSection(zero_tables, tables, why));

  // A table whose only code is "1" (value 4): a "0" bit matches nothing.
  Bytes single;
  ecg::test::PutU16(single, 1);
  ecg::test::PutU16(single, 1);
  single.insert(single.end(), {1, 1, 1, 4, 0, 1, 0, 0, 0});
  ASSERT_TRUE(ecg::scp::ParseHuffmanSection(single, tables, why)) << why;
  std::vector<int32_t> values;
  EXPECT_EQ(ecg::scp::DecodeHuffmanBlock(tables, Bytes{0xC0}, 4, values),
            ecg::scp::HuffmanResult::kBadCode);
  EXPECT_EQ(values, (std::vector<int32_t>{4, 4}));
}

// ------------------------------------------------------------- Bimodal

TEST(ScpBimodal, LayoutCountsDecimatedRunsAndProtectedZones) {
  ecg::scp::BimodalLayout layout;
  // Zones [9, 12] and [17, 24] (1-based) in 32 samples, factor 4; the
  // second zone listed first and a duplicate overlapping it.
  std::vector<ecg::scp::QrsLocation> qrs(3);
  qrs[0].protectedStart = 17, qrs[0].protectedEnd = 24;
  qrs[1].protectedStart = 9, qrs[1].protectedEnd = 12;
  qrs[2].protectedStart = 18, qrs[2].protectedEnd = 20;
  ASSERT_TRUE(layout.Build(qrs, 32, 4));
  ASSERT_EQ(layout.runs.size(), 5u);
  EXPECT_EQ(layout.storedValues, 2u + 4u + 1u + 8u + 2u);
  EXPECT_TRUE(layout.runs[1].protectedZone);
  EXPECT_EQ(layout.runs[3].start, 16u);
  EXPECT_EQ(layout.runs[3].length, 8u);
  EXPECT_FALSE(layout.Build(qrs, 32, 1));
}

TEST(ScpBimodal, InterpolatesBetweenGroupCentresWithFlatRunEnds) {
  ecg::scp::BimodalLayout layout;
  std::vector<ecg::scp::QrsLocation> qrs(1);
  qrs[0].protectedStart = 9, qrs[0].protectedEnd = 10;
  ASSERT_TRUE(layout.Build(qrs, 10, 4));
  const std::vector<float> stored = {0, 40, 100, 200};
  const auto out = ecg::scp::UndoBimodal(layout, 4, stored);
  ASSERT_EQ(out.size(), 10u);
  // Centres at 1.5 and 5.5: flat to 1.5, then 10 per sample, flat after 5.5.
  const std::vector<float> expected = {0, 0, 5, 15, 25, 35, 40, 40, 100, 200};
  for (size_t i = 0; i < out.size(); ++i) EXPECT_FLOAT_EQ(out[i], expected[i]) << i;
  // Fewer stored values than the layout needs: the output stops early.
  EXPECT_EQ(ecg::scp::UndoBimodal(layout, 4, std::vector<float>{1, 2, 3}).size(), 9u);
}

TEST(ScpReferenceBeat, AddsTheMedianAlignedOnTheFiducialWithinTheRange) {
  ecg::scp::ReferenceBeatInfo info;
  info.fiducial = 3;  // median sample index 2
  ecg::scp::QrsLocation q;
  q.type = 0, q.subtractionStart = 4, q.fiducial = 6, q.subtractionEnd = 7;
  ecg::scp::QrsLocation other = q;
  other.type = 1;
  info.qrs = {q, other};
  const std::vector<float> median = {1, 2, 3, 4, 5};
  std::vector<float> residual(9, 0.0f);
  EXPECT_TRUE(ecg::scp::AddReferenceBeat(info, median, residual));
  // s = 4..7 -> median index 2 + (s - 6) = 0..3.
  EXPECT_EQ(residual, (std::vector<float>{0, 0, 0, 1, 2, 3, 4, 0, 0}));

  // A range reaching past both ends adds only where both signals exist.
  info.qrs = {q};
  info.qrs[0].subtractionStart = 1;
  info.qrs[0].subtractionEnd = 1000;
  std::vector<float> wide(9, 0.0f);
  EXPECT_TRUE(ecg::scp::AddReferenceBeat(info, median, wide));
  EXPECT_EQ(wide, (std::vector<float>{0, 0, 0, 1, 2, 3, 4, 5, 0}));

  // Ranges piled on each other are refused before any work is done.
  info.qrs.assign(1000, q);
  for (auto& each : info.qrs) each.subtractionStart = 1, each.subtractionEnd = 9;
  std::vector<float> piled(9, 0.0f);
  EXPECT_FALSE(ecg::scp::AddReferenceBeat(info, median, piled));
  EXPECT_EQ(piled, std::vector<float>(9, 0.0f));
}

TEST(ScpReferenceBeat, OldLayoutWithoutProtectedZonesUsesSubtractionRanges) {
  const Bytes s4 = ecg::test::Section4(600, 150, {{0, 10, 20, 30, 0, 0}}, false);
  ecg::scp::ReferenceBeatInfo info;
  std::string why;
  ASSERT_TRUE(ecg::scp::ParseSection4(s4, info, why));
  EXPECT_FALSE(info.protectedZonesStored);
  EXPECT_EQ(info.qrs[0].protectedStart, 10u);
  EXPECT_EQ(info.qrs[0].protectedEnd, 30u);
  Bytes cut = ecg::test::Section4(600, 150, {{0, 10, 20, 30, 5, 35}, {}});
  cut.resize(6 + 14);
  EXPECT_FALSE(ecg::scp::ParseSection4(cut, info, why));
}

// ----------------------------------------------------------- Statements

TEST(ScpStatements, TextsFollowTheLanguageCode) {
  const Bytes latin = {'M', 0xE4, 'n', 0};
  EXPECT_EQ(ecg::scp::RecordTextToUtf8(latin, 0), "M\xC3\xA4n");
  EXPECT_EQ(ecg::scp::RecordTextToUtf8(latin, 0x01), "M\xC3\xA4n");
  EXPECT_EQ(ecg::scp::RecordTextToUtf8(Bytes{'a', 0xC3, 0xA4, 0xFF, 0}, 0x37),
            "a\xC3\xA4\xEF\xBF\xBD");
  EXPECT_EQ(ecg::scp::RecordTextToUtf8(Bytes{0xE4, 0x00, 'b', 0x00, 0, 0}, 0x07), "\xC3\xA4" "b");
}

TEST(ScpStatements, Section8And11StatementsAndCutOffEnds) {
  ecg::scp::StatementSection out;
  std::string why;
  Bytes s8 = ecg::test::StatementSectionBytes({"Sinus rhythm", "", "Normal ECG"});
  ASSERT_TRUE(ecg::scp::ParseStatementSection(s8, false, 0, out, why));
  EXPECT_TRUE(why.empty());
  ASSERT_EQ(out.statements.size(), 3u);
  EXPECT_EQ(out.year, 2024);
  EXPECT_EQ(out.statements[2].text, "Normal ECG");
  EXPECT_EQ(out.statements[1].text, "");
  s8.resize(s8.size() - 4);
  ASSERT_TRUE(ecg::scp::ParseStatementSection(s8, false, 0, out, why));
  EXPECT_EQ(out.statements.size(), 2u);
  EXPECT_NE(why.find("statement 3"), std::string::npos);

  Bytes s11 = ecg::test::StatementSectionBytes({std::string("SR\0NORM", 7)}, true, 1);
  ASSERT_TRUE(ecg::scp::ParseStatementSection(s11, true, 0, out, why));
  ASSERT_EQ(out.statements.size(), 1u);
  EXPECT_EQ(out.statements[0].type, 1);
  EXPECT_EQ(out.statements[0].text, "SR; NORM");
  EXPECT_FALSE(ecg::scp::ParseStatementSection(Bytes{0, 1, 2}, false, 0, out, why));
}

// ------------------------------------------------------- Whole records

struct EncodedRecordSpec {
  uint8_t difference = 2;
  uint16_t multiplier = 2500;
  bool huffman = true;
  uint32_t samples = 1000;
};

std::vector<std::vector<int32_t>> TestLeads(uint32_t samples) {
  std::vector<std::vector<int32_t>> leads;
  for (uint8_t code : {1, 2, 3}) {
    const auto lead = ecg::test::SyntheticLead(code, samples, 500);
    leads.emplace_back(lead.begin(), lead.end());
  }
  return leads;
}

Bytes EncodedRecord(const EncodedRecordSpec& spec) {
  const auto leads = TestLeads(spec.samples);
  std::vector<Bytes> blocks;
  for (const auto& lead : leads) {
    const auto d = ecg::test::DifferenceEncode(lead, spec.difference);
    if (spec.huffman) {
      blocks.push_back(ecg::test::EncodeDefaultHuffman(d));
    } else {
      Bytes raw;
      for (int32_t v : d) ecg::test::PutU16(raw, static_cast<uint16_t>(v));
      blocks.push_back(raw);
    }
  }
  ecg::test::RecordBuilder b;
  b.AddSection1(ecg::test::TypicalSection1());
  if (spec.huffman) b.AddSection(2, ecg::test::Section2Default());
  b.AddSection(3, ecg::test::Section3({{1, 1, spec.samples}, {2, 1, spec.samples},
                                       {3, 1, spec.samples}},
                                      ecg::test::SimultaneousFlags(3)));
  b.AddSection(6, ecg::test::EncodedSampleSection(spec.multiplier, 2000, spec.difference, 0,
                                                  blocks));
  b.AddSection(8, ecg::test::StatementSectionBytes({"Sinus rhythm"}));
  return b.Build();
}

TEST(ScpDecoder, HuffmanAndDifferenceCodedRecordsDecodeExactly) {
  for (uint8_t difference : {0, 1, 2}) {
    for (bool huffman : {true, false}) {
      EncodedRecordSpec spec;
      spec.difference = difference;
      spec.huffman = huffman;
      DecodedRecord record;
      DecodeReport report;
      ASSERT_TRUE(DecodeScpRecord(EncodedRecord(spec), record, report)) << report.message;
      EXPECT_TRUE(report.crcValid);
      EXPECT_EQ(record.Uncompressed(), !huffman && difference == 0);
      const auto leads = TestLeads(spec.samples);
      ASSERT_EQ(record.rhythm.leads.size(), 3u);
      for (size_t l = 0; l < 3; ++l) {
        ASSERT_EQ(record.rhythm.leads[l].size(), spec.samples);
        for (size_t i = 0; i < spec.samples; ++i) {
          ASSERT_FLOAT_EQ(record.rhythm.leads[l][i], leads[l][i] * 2.5f) << l << " " << i;
        }
      }
      EXPECT_EQ(record.rhythm.SampleRate(), 500.0);
      ASSERT_EQ(record.fullText.statements.size(), 1u);
      EXPECT_EQ(record.fullText.statements[0].text, "Sinus rhythm");
    }
  }
}

TEST(ScpDecoder, StartSampleZeroCountsFromOne) {
  const std::vector<int16_t> lead = {1, 2, 3, 4, 5};
  ecg::test::SampleSection s6;
  s6.leads = {lead};
  ecg::test::RecordBuilder b;
  b.AddSection(3, ecg::test::Section3({{1, 0, 5}}));
  b.AddSection(6, ecg::test::SampleSectionBytes(s6));
  DecodedRecord record;
  DecodeReport report;
  ASSERT_TRUE(DecodeScpRecord(b.Build(), record, report)) << report.message;
  ASSERT_EQ(record.rhythm.leads.at(0).size(), 5u);
  EXPECT_TRUE(report.warnings.empty()) << report.warnings.at(0);
}

TEST(ScpDecoder, WrongCrcsAreWarningsAndTheRecordIsStillDecoded) {
  Bytes bytes = EncodedRecord({});
  bytes[0] ^= 0xFF;
  DecodedRecord record;
  DecodeReport report;
  ASSERT_TRUE(DecodeScpRecord(bytes, record, report)) << report.message;
  EXPECT_FALSE(report.crcValid);
  ASSERT_FALSE(report.warnings.empty());
  EXPECT_EQ(report.warnings[0], "the record CRC is wrong");
}

TEST(ScpDecoder, StructurallyBrokenRecordsAreRefusedWithTheirReason) {
  const Bytes good = EncodedRecord({});
  DecodedRecord record;
  DecodeReport report;
  auto expect_refused = [&](const Bytes& bytes, DecodeStatus status) {
    EXPECT_FALSE(DecodeScpRecord(bytes, record, report));
    EXPECT_EQ(report.status, status) << report.message;
    EXPECT_FALSE(report.message.empty());
  };
  expect_refused(Bytes(good.begin(), good.begin() + 10), DecodeStatus::kTooShort);
  expect_refused(Bytes(good.begin(), good.end() - 1), DecodeStatus::kLengthMismatch);

  // A Section 3 whose header names another section.
  ecg::test::RecordBuilder shifted;
  ecg::test::SectionSpec bad3;
  bad3.id = 3;
  bad3.content = ecg::test::Section3({{1, 1, 1000}});
  bad3.header_id = 7;
  shifted.Add(bad3);
  expect_refused(shifted.Build(), DecodeStatus::kHeaderMismatch);

  // An index entry pointing past the end.
  Bytes past = good;
  // Section 0 entries start at 6 + 16: find Section 6's.
  size_t entry6 = 6 + 16;
  while (ecg::scp::LoadU16(past.data() + entry6) != 6 ||
         ecg::scp::LoadU32(past.data() + entry6 + 2) == 0) {
    entry6 += 10;
    ASSERT_LT(entry6, 6u + 16u + 20u * 10u);
  }
  ecg::scp::StoreU32(past.data() + entry6 + 6, static_cast<uint32_t>(past.size()));
  ecg::test::FixCrcs(past);
  expect_refused(past, DecodeStatus::kBadPointer);

  // Section 3 grown over the start of the next section, entry and header
  // agreeing.
  Bytes overlap = good;
  size_t entry3 = 6 + 16;
  while (ecg::scp::LoadU16(overlap.data() + entry3) != 3) entry3 += 10;
  const uint32_t length3 = ecg::scp::LoadU32(overlap.data() + entry3 + 2) + 16;
  const uint32_t position3 = ecg::scp::LoadU32(overlap.data() + entry3 + 6);
  ecg::scp::StoreU32(overlap.data() + entry3 + 2, length3);
  ecg::scp::StoreU32(overlap.data() + position3 - 1 + 4, length3);
  expect_refused(overlap, DecodeStatus::kBadPointer);
  EXPECT_NE(report.message.find("Section 3 overlaps"), std::string::npos) << report.message;

  // Lead byte counts larger than the section.
  EncodedRecordSpec spec;
  Bytes counts = EncodedRecord(spec);
  const auto s6 = ecg::test::SplitSections(counts).at(6);
  const size_t s6_pos = std::search(counts.begin(), counts.end(), s6.begin(), s6.end()) -
                        counts.begin();
  ecg::scp::StoreU16(counts.data() + s6_pos + 16 + 6, 0xFFFF);
  expect_refused(counts, DecodeStatus::kBadSampleSection);

  // No Section 3.
  ecg::test::RecordBuilder no_leads;
  no_leads.AddSection1(ecg::test::TypicalSection1());
  expect_refused(no_leads.Build(), DecodeStatus::kNoLeads);
}

TEST(ScpDecoder, SectionThreeCountsBeyondTheLimitAreRefusedNotAllocated) {
  ecg::test::SampleSection s6;
  s6.leads = {{1, 2}};
  ecg::test::RecordBuilder b;
  b.AddSection(2, ecg::test::Section2Default());
  b.AddSection(3, ecg::test::Section3({{1, 1, 0xFFFFFFF0u}}));
  b.AddSection(6, ecg::test::SampleSectionBytes(s6));
  DecodedRecord record;
  DecodeReport report;
  EXPECT_FALSE(DecodeScpRecord(b.Build(), record, report));
  EXPECT_EQ(report.status, DecodeStatus::kTooLarge) << report.message;
}

// Reference beat subtraction and bimodal compression on a synthetic lead:
// the residual is stored decimated outside the protected zone.
TEST(ScpDecoder, ReferenceBeatAndBimodalRecordRebuildsTheSignal) {
  const uint32_t n = 400;
  std::vector<int32_t> median(100);
  for (int i = 0; i < 100; ++i) median[i] = i < 50 ? i * 10 : (100 - i) * 10;
  // Residual: constant 20 outside [101, 300]; inside, the signal is the
  // median (fiducial 50) plus 3.
  std::vector<int32_t> stored;
  for (uint32_t g = 0; g < 25; ++g) stored.push_back(20);            // samples 1..100
  for (uint32_t s = 101; s <= 300; ++s) stored.push_back(3);         // protected
  for (uint32_t g = 0; g < 25; ++g) stored.push_back(20);            // 301..400
  ecg::test::RecordBuilder b;
  b.AddSection(2, ecg::test::Section2Default());
  b.AddSection(3, ecg::test::Section3({{1, 1, n}}, 0x01 | ecg::test::SimultaneousFlags(1)));
  b.AddSection(4, ecg::test::Section4(200, 50, {{0, 151, 200, 250, 101, 300}}));
  b.AddSection(5, ecg::test::EncodedSampleSection(
                      1000, 2000, 1, 0,
                      {ecg::test::EncodeDefaultHuffman(ecg::test::DifferenceEncode(median, 1))}));
  b.AddSection(6, ecg::test::EncodedSampleSection(
                      1000, 8000, 2, 1,
                      {ecg::test::EncodeDefaultHuffman(ecg::test::DifferenceEncode(stored, 2))}));
  DecodedRecord record;
  DecodeReport report;
  ASSERT_TRUE(DecodeScpRecord(b.Build(), record, report)) << report.message;
  EXPECT_TRUE(record.bimodal);
  EXPECT_EQ(record.bimodalFactor, 4u);
  EXPECT_TRUE(record.referenceBeatSubtraction);
  EXPECT_EQ(record.rhythm.sampleInterval, 2000u);
  const auto& out = record.rhythm.leads.at(0);
  ASSERT_EQ(out.size(), n);
  EXPECT_FLOAT_EQ(out[0], 20.0f);
  EXPECT_FLOAT_EQ(out[120], 3.0f);                 // protected, outside [SB, SE]
  EXPECT_FLOAT_EQ(out[199], 3.0f + median[49]);    // sample 200 = fc
  EXPECT_FLOAT_EQ(out[150], 3.0f + median[0]);     // SB
  EXPECT_FLOAT_EQ(out[249], 3.0f + median[99]);    // SE
  EXPECT_FLOAT_EQ(out[399], 20.0f);
  EXPECT_NE(record.EncodingSummary().find("bimodal compression (factor 4)"), std::string::npos);

  // The bimodal flag with an interval that is no multiple of the median's.
  ecg::test::RecordBuilder odd;
  odd.AddSection(3, ecg::test::Section3({{1, 1, n}}, 0x01));
  odd.AddSection(4, ecg::test::Section4(200, 50, {}));
  odd.AddSection(5, ecg::test::EncodedSampleSection(1000, 3000, 0, 0, {Bytes(200)}));
  odd.AddSection(6, ecg::test::EncodedSampleSection(1000, 8000, 0, 1, {Bytes(800)}));
  EXPECT_FALSE(DecodeScpRecord(odd.Build(), record, report));
  EXPECT_EQ(report.status, DecodeStatus::kBadBimodal);
}

// ------------------------------------------------------- Shared samples

std::string SampleFile(const std::string& name) {
  const std::string folder = ecg::test::SharedDataFolder();
  if (folder.empty()) return {};
  return folder + "/scp-foreign/" + name;
}

#define DECODE_SAMPLE(name, record, report)                                      \
  const std::string path = SampleFile(name);                                     \
  if (path.empty()) GTEST_SKIP() << "the shared data folder is absent";          \
  DecodedRecord record;                                                          \
  DecodeReport report;                                                           \
  ASSERT_TRUE(ecg::scp::DecodeScpFile(path, record, report)) << report.message

std::vector<std::vector<float>> Pfe105Truth() {
  const auto raw = ecg::test::ReadFile(SampleFile("PFE105_raw_8lead_500Hz_1uV.dat"));
  std::vector<std::vector<float>> leads(8, std::vector<float>(5000));
  if (raw.size() != 8u * 5000u * 2u) return {};
  for (size_t i = 0; i < 5000; ++i) {
    for (size_t l = 0; l < 8; ++l) {
      leads[l][i] = static_cast<int16_t>(ecg::scp::LoadU16(raw.data() + 2 * (i * 8 + l)));
    }
  }
  return leads;
}

TEST(ScpDecoderSamples, Pfe105RedredMatchesTheRawFileWithinTwoMicrovolts) {
  DECODE_SAMPLE("PFE105_redred.scp", record, report);
  const auto truth = Pfe105Truth();
  ASSERT_EQ(truth.size(), 8u);
  ASSERT_EQ(record.rhythm.leads.size(), 8u);
  double worst = 0, sum2 = 0;
  for (size_t l = 0; l < 8; ++l) {
    ASSERT_EQ(record.rhythm.leads[l].size(), 5000u);
    for (size_t i = 0; i < 5000; ++i) {
      const double e = record.rhythm.leads[l][i] - truth[l][i];
      worst = std::max(worst, std::abs(e));
      sum2 += e * e;
    }
  }
  EXPECT_LE(worst, 2.0);
  std::printf("PFE105_redred: max %.2f uV, RMS %.3f uV\n", worst, std::sqrt(sum2 / 40000));
  EXPECT_TRUE(record.huffmanDefaultTable);
  EXPECT_EQ(record.rhythm.differenceCoding, 2);
  ASSERT_FALSE(record.fullText.statements.empty());
}

TEST(ScpDecoderSamples, Pfe105HighRebuildsReferenceBeatsAndBimodalData) {
  DECODE_SAMPLE("PFE105_high.scp", record, report);
  const auto truth = Pfe105Truth();
  ASSERT_EQ(truth.size(), 8u);
  EXPECT_TRUE(record.bimodal);
  EXPECT_EQ(record.bimodalFactor, 4u);
  EXPECT_TRUE(record.referenceBeatSubtraction);
  EXPECT_EQ(record.qrs.size(), 14u);
  ASSERT_EQ(record.rhythm.leads.size(), 8u);
  double sum2 = 0;
  for (size_t l = 0; l < 8; ++l) {
    ASSERT_EQ(record.rhythm.leads[l].size(), 5000u);
    for (size_t i = 0; i < 5000; ++i) {
      const double e = record.rhythm.leads[l][i] - truth[l][i];
      sum2 += e * e;
    }
  }
  const double rms = std::sqrt(sum2 / 40000);
  std::printf("PFE105_high: RMS %.3f uV\n", rms);
  EXPECT_LE(rms, 11.5);
}

// The largest R wave over the leads: peak above the lead's median value.
double LargestDeflection(const ecg::scp::DecodedSignal& signal) {
  double best = 0;
  for (const auto& lead : signal.leads) {
    if (lead.empty()) continue;
    std::vector<float> sorted(lead);
    std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
    const double baseline = sorted[sorted.size() / 2];
    for (float v : lead) best = std::max(best, std::abs(v - baseline));
  }
  return best;
}

TEST(ScpDecoderSamples, EcgToolkitExampleHasPlausibleAmplitudes) {
  DECODE_SAMPLE("ecgtoolkit_Example.scp", record, report);
  EXPECT_TRUE(record.huffmanDefaultTable);
  EXPECT_FALSE(record.referenceBeatSubtraction);  // Section 5 is a display beat
  ASSERT_EQ(record.rhythm.leads.size(), 12u);
  EXPECT_EQ(record.rhythm.leads[0].size(), 5000u);
  const double r = LargestDeflection(record.rhythm);
  EXPECT_GE(r, 500.0);
  EXPECT_LE(r, 3000.0);
  std::printf("Example: largest deflection %.0f uV\n", r);
}

TEST(ScpDecoderSamples, WelchAllynRecordWithFirstDifferencesAndLatin1Statements) {
  DECODE_SAMPLE("welchallyn_cc_20070321_ANON000004.SCP", record, report);
  EXPECT_EQ(record.rhythm.differenceCoding, 1);
  EXPECT_EQ(record.rhythm.amplitudeMultiplier, 3750);
  EXPECT_NEAR(record.rhythm.SampleRate(), 599.88, 0.01);
  const double r = LargestDeflection(record.rhythm);
  EXPECT_GE(r, 500.0);
  EXPECT_LE(r, 3000.0);
  ASSERT_FALSE(record.fullText.statements.empty());
  std::string all;
  for (const auto& s : record.fullText.statements) all += s.text + "\n";
  std::printf("Welch Allyn: largest deflection %.0f uV; statements:\n%s", r, all.c_str());
  // Every byte of every statement came out as valid UTF-8 text.
  for (const auto& s : record.fullText.statements) {
    EXPECT_EQ(s.text.find("\xEF\xBF\xBD"), std::string::npos);
  }
  // Section 5 holds the rounded count: 718 ms at 1667 µs.
  ASSERT_FALSE(record.median.leads.empty());
  EXPECT_EQ(record.median.leads[0].size(), 431u);
}

TEST(ScpDecoderSamples, EcgViewerUncompressedRecordStartingAtSampleZero) {
  DECODE_SAMPLE("ecgviewer_demo_uncompressed_1kHz.scp", record, report);
  EXPECT_FALSE(record.huffman);
  EXPECT_TRUE(record.Uncompressed());
  ASSERT_FALSE(record.rhythm.leads.empty());
  EXPECT_EQ(record.rhythm.leads[0].size(), 10000u);
  EXPECT_EQ(record.rhythm.SampleRate(), 1000.0);
}

TEST(ScpDecoderSamples, CorruptRecordIsRefused) {
  const std::string path = SampleFile("corrupt_section1_resized_test_log.SCP");
  if (path.empty()) GTEST_SKIP() << "the shared data folder is absent";
  DecodedRecord record;
  DecodeReport report;
  EXPECT_FALSE(ecg::scp::DecodeScpFile(path, record, report));
  EXPECT_NE(report.status, DecodeStatus::kOk);
  std::printf("corrupt: %s: %s\n", ecg::scp::DecodeStatusName(report.status),
              report.message.c_str());
}

}  // namespace

// ------------------------------------------------ Storing decoded samples

namespace {

TEST(ScpStoreDecoded, MultiplierGrowsUntilSamplesStayBelowTheMarkers) {
  ecg::scp::DecodedSignal signal;
  signal.leads = {{-100.0f, 2031.0f}};
  EXPECT_EQ(ecg::scp::StorageMultiplier(signal, 1000), 1000);
  signal.leads = {{-100.0f, 2032.0f}};  // 2032 units of 1 µV would read as a marker
  EXPECT_EQ(ecg::scp::StorageMultiplier(signal, 1000), 2000);
  signal.leads = {{0.0f, 5000.0f}};
  // 183 -> 366 -> 732 -> 1464 -> 2928 nV: 5000 µV is 1707 units.
  EXPECT_EQ(ecg::scp::StorageMultiplier(signal, 183), 2928);
  signal.leads = {{0.0f, 1e9f}};
  EXPECT_EQ(ecg::scp::StorageMultiplier(signal, 1000), 0);
}

TEST(ScpStoreDecoded, DecodedRecordBecomesTheModelWithoutTheReferenceBeatFlag) {
  DecodedRecord record;
  record.leadFlags = 0x01 | 0x04;
  record.leads = {{1, 1, 3}, {2, 1, 3}};
  record.referenceBeatSubtraction = true;
  record.rhythm.present = true;
  record.rhythm.amplitudeMultiplier = 20000;
  record.rhythm.sampleInterval = 2000;
  record.rhythm.leads = {{5.0f, 10.0f, -15.0f}, {0.0f, 2.4f, 2.6f}};
  record.median.present = true;
  record.median.amplitudeMultiplier = 5000;
  record.median.sampleInterval = 2000;
  record.median.leads = {{5.0f}, {}};
  SLeadDefinitions definitions;
  SEncodedData rhythm, median;
  std::string why;
  ASSERT_TRUE(ecg::scp::StoreDecodedSamples(record, definitions, rhythm, median, why)) << why;
  EXPECT_EQ(definitions.m_flags, 0x04);
  const uint32_t end = definitions.m_leads[1].m_endSample;  // packed field: copied
  EXPECT_EQ(end, 3u);
  EXPECT_EQ(rhythm.m_amplitudeMultiplier, 5000);  // gcd of 20000 and 5000
  EXPECT_EQ(rhythm.Samples(0)[2], -3);
  EXPECT_EQ(rhythm.Samples(1)[1], 0);   // 2.4 µV rounds to 0 units of 5 µV
  EXPECT_EQ(rhythm.Samples(1)[2], 1);   // 2.6 µV to 1
  EXPECT_EQ(median.m_leadCount, 2);
  EXPECT_EQ(median.SampleCount(1), 0);

  record.rhythm.leads[0].assign(70000, 0.0f);
  EXPECT_FALSE(ecg::scp::StoreDecodedSamples(record, definitions, rhythm, median, why));
  EXPECT_NE(why.find("65535"), std::string::npos);
}

}  // namespace

// ------------------------------------------- The reader over decoded samples

namespace {

TEST(ScpReaderDecoded, EncodedRecordsLoadTheirDecodedSamples) {
  ecg::test::TempFolder folder;
  const std::string path = folder.Write("huffman.scp", EncodedRecord({}));
  ASSERT_TRUE(CReader::NeedsDecoding(path));
  CReader reader;
  int16_t loaded = 0;
  ASSERT_TRUE(reader.Load(path, loaded, -1));
  DecodeReport report;
  ASSERT_TRUE(reader.LoadDecodedSamples(path, report)) << report.message;
  const SEncodedData* rhythm = reader.GetRhythmDataPtr();
  ASSERT_NE(rhythm, nullptr);
  ASSERT_EQ(reader.GetLeads(), 3);
  EXPECT_EQ(rhythm->m_amplitudeMultiplier, 2500);
  EXPECT_EQ(rhythm->m_differenceUsed, 0);
  const auto leads = TestLeads(1000);
  for (uint32_t l = 0; l < 3; ++l) {
    ASSERT_EQ(rhythm->SampleCount(l), 1000);
    for (uint32_t i = 0; i < 1000; ++i) ASSERT_EQ(rhythm->Samples(l)[i], leads[l][i]) << l << " " << i;
  }
  // Patient and recording facts stay as Load read them.
  ASSERT_NE(reader.GetPatientInfoPtr(), nullptr);
}

TEST(ScpReaderDecoded, PlainRecordsKeepWhatLoadRead) {
  ecg::test::TempFolder folder;
  EncodedRecordSpec spec;
  spec.huffman = false;
  spec.difference = 0;
  const std::string path = folder.Write("plain.scp", EncodedRecord(spec));
  EXPECT_FALSE(CReader::NeedsDecoding(path));
  CReader reader;
  int16_t loaded = 0;
  ASSERT_TRUE(reader.Load(path, loaded, -1));
  const int16_t* before = reader.GetRhythmDataPtr()->Samples(0);
  DecodeReport report;
  ASSERT_TRUE(reader.LoadDecodedSamples(path, report)) << report.message;
  EXPECT_EQ(reader.GetRhythmDataPtr()->Samples(0), before);
}

TEST(ScpReaderDecoded, RefusedEncodedRecordsFailWithTheDecodersReason) {
  ecg::test::TempFolder folder;
  Bytes bytes = EncodedRecord({});
  const auto s6 = ecg::test::SplitSections(bytes).at(6);
  const size_t s6_pos =
      std::search(bytes.begin(), bytes.end(), s6.begin(), s6.end()) - bytes.begin();
  ecg::scp::StoreU16(bytes.data() + s6_pos + 16 + 6, 0xFFFF);  // lead bytes past the section
  ecg::test::FixCrcs(bytes);
  const std::string path = folder.Write("broken.scp", bytes);
  CReader reader;
  int16_t loaded = 0;
  ASSERT_TRUE(reader.Load(path, loaded, -1));
  DecodeReport report;
  EXPECT_FALSE(reader.LoadDecodedSamples(path, report));
  EXPECT_FALSE(report.message.empty());
  EXPECT_FALSE(reader.LoadDecodedSamples(folder.File("missing.scp"), report));
}

}  // namespace

// ------------------------------------------------ Version 3 long-term rhythm

namespace {

// Section 12 content: `leads` as multiplexed values of `bytes` bytes each,
// every lead with `multiplier` nV per unit; LN and LMI blocks of `skip`
// bytes each before the lead table.
Bytes Section12(const std::vector<std::vector<int32_t>>& leads, uint8_t bytes,
                uint16_t multiplier, uint32_t rate = 500, uint32_t skip = 3) {
  Bytes d(70, 0);
  ecg::scp::StoreU32(d.data(), rate);
  d[4] = static_cast<uint8_t>(leads.size());
  ecg::scp::StoreU32(d.data() + 5, static_cast<uint32_t>(leads.front().size()));
  d[9] = bytes;
  ecg::scp::StoreU16(d.data() + 10, 2026);
  ecg::scp::StoreU32(d.data() + 62, skip);
  ecg::scp::StoreU32(d.data() + 66, skip);
  d.insert(d.end(), 2 * skip, 0xEE);
  for (size_t l = 0; l < leads.size(); ++l) {
    d.push_back(static_cast<uint8_t>(l + 1));
    ecg::test::PutU16(d, multiplier);
    d.push_back(0);
  }
  for (size_t i = 0; i < leads.front().size(); ++i) {
    for (const auto& lead : leads) {
      const auto v = static_cast<uint64_t>(static_cast<uint32_t>(lead[i]));
      for (uint8_t b = 0; b < bytes; ++b) d.push_back(static_cast<uint8_t>(v >> (8 * b)));
    }
  }
  return d;
}

TEST(ScpSection12, LongTermRhythmDecodesEveryWidthAndStoresAsPlainSamples) {
  const std::vector<std::vector<int32_t>> leads = {{0, 100, -100, 2000, -3000},
                                                   {5, -5, 70000 / 8, -1, 1}};
  for (uint8_t bytes : {2, 3, 4}) {
    ecg::test::RecordBuilder b;
    b.AddSection1(ecg::test::TypicalSection1());
    b.AddSection(12, Section12(leads, bytes, 1000));
    DecodedRecord record;
    DecodeReport report;
    ASSERT_TRUE(DecodeScpRecord(b.Build(), record, report)) << report.message;
    EXPECT_TRUE(record.longTermRhythm);
    EXPECT_FALSE(record.Uncompressed());
    ASSERT_EQ(record.leads.size(), 2u);
    EXPECT_EQ(record.leads[1].id, 2);
    EXPECT_EQ(record.rhythm.SampleRate(), 500.0);
    for (size_t l = 0; l < 2; ++l) {
      ASSERT_EQ(record.rhythm.leads[l].size(), 5u);
      for (size_t i = 0; i < 5; ++i) EXPECT_FLOAT_EQ(record.rhythm.leads[l][i], leads[l][i]);
    }
    EXPECT_NE(record.EncodingSummary().find("Section 12"), std::string::npos);
    SLeadDefinitions definitions;
    SEncodedData rhythm, median;
    std::string why;
    ASSERT_TRUE(ecg::scp::StoreDecodedSamples(record, definitions, rhythm, median, why)) << why;
    EXPECT_EQ(rhythm.Samples(0)[3] * int{rhythm.m_amplitudeMultiplier}, 2000 * 1000);
  }
}

TEST(ScpSection12, LayoutsThatDoNotFitAreRefused) {
  const std::vector<std::vector<int32_t>> leads = {{1, 2, 3}};
  auto refused = [](Bytes s12, const char* what) {
    ecg::test::RecordBuilder b;
    b.AddSection(12, std::move(s12));
    DecodedRecord record;
    DecodeReport report;
    EXPECT_FALSE(DecodeScpRecord(b.Build(), record, report)) << what;
    EXPECT_FALSE(report.message.empty()) << what;
  };
  refused(Section12(leads, 5, 1000), "five bytes per sample");
  refused(Section12(leads, 2, 0), "no multiplier");
  refused(Section12(leads, 2, 1000, 0), "rate 0");
  Bytes cut = Section12(leads, 2, 1000);
  cut.pop_back();
  refused(cut, "values cut off");
  Bytes huge_skip = Section12(leads, 2, 1000);
  ecg::scp::StoreU32(huge_skip.data() + 62, 0xFFFFFFFFu);  // LN far past the end
  refused(huge_skip, "LN past the end");
  Bytes many = Section12(leads, 2, 1000);
  ecg::scp::StoreU32(many.data() + 5, 0xFFFFFFF0u);  // samples beyond every limit
  refused(many, "too many samples");
  refused(Bytes(20, 0), "cut before the lead table");
}

}  // namespace
