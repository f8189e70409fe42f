// ecg convert: encoded records (made here, and the public samples when the
// shared data is present) to uncompressed records that ecg check, ecg info
// and the record reader accept with the same samples; refusals leave no file.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <vector>

#include "run_program.h"
#include "scp/reader.h"
#include "scp/scp_decoder.h"
#include "support/record_builder.h"
#include "support/scp_encoders.h"
#include "support/section_builders.h"
#include "support/test_files.h"

using namespace ecg::test;

namespace {

ProgramResult Ecg(const std::vector<std::string>& args) { return RunProgram(ECG_PROGRAM, args); }

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Three leads of a synthetic ECG, default Huffman, second differences, a
// multiplier of 2.5 µV, and a Section 8 statement.
Bytes EncodedRecord() {
  std::vector<Bytes> blocks;
  for (uint8_t code : {1, 2, 3}) {
    const auto lead = SyntheticLead(code, 2500, 500);
    blocks.push_back(EncodeDefaultHuffman(
        DifferenceEncode(std::vector<int32_t>(lead.begin(), lead.end()), 2)));
  }
  RecordBuilder b;
  b.AddSection1(TypicalSection1());
  b.AddSection(2, Section2Default());
  b.AddSection(3, Section3({{1, 1, 2500}, {2, 1, 2500}, {3, 1, 2500}}, SimultaneousFlags(3)));
  b.AddSection(6, EncodedSampleSection(2500, 2000, 2, 0, blocks));
  b.AddSection(8, StatementSectionBytes({"Sinus rhythm", "Normal ECG"}));
  return b.Build();
}

// Largest difference between two decoded rhythms, or -1 when their shapes differ.
double LargestDifference(const ecg::scp::DecodedSignal& a, const ecg::scp::DecodedSignal& b) {
  if (a.leads.size() != b.leads.size()) return -1;
  double worst = 0;
  for (size_t l = 0; l < a.leads.size(); ++l) {
    if (a.leads[l].size() != b.leads[l].size()) return -1;
    for (size_t i = 0; i < a.leads[l].size(); ++i) {
      worst = std::max(worst, static_cast<double>(std::abs(a.leads[l][i] - b.leads[l][i])));
    }
  }
  return worst;
}

// Converts, checks and compares the result's samples with the source's.
void ConvertAndCompare(const std::string& in, const std::string& out) {
  auto converted = Ecg({"convert", in, out});
  ASSERT_EQ(converted.exit_code, 0) << converted.err;
  auto check = Ecg({"check", out});
  EXPECT_EQ(check.exit_code, 0) << check.out << check.err;
  ecg::scp::DecodedRecord source, result;
  ecg::scp::DecodeReport report;
  ASSERT_TRUE(ecg::scp::DecodeScpFile(in, source, report)) << report.message;
  ASSERT_TRUE(ecg::scp::DecodeScpFile(out, result, report)) << report.message;
  EXPECT_TRUE(result.Uncompressed());
  EXPECT_TRUE(report.warnings.empty()) << report.warnings.at(0);
  const double worst = LargestDifference(source.rhythm, result.rhythm);
  // Rounding to the stored multiplier, at most half of it.
  EXPECT_GE(worst, 0.0);
  EXPECT_LE(worst, result.rhythm.amplitudeMultiplier / 2000.0 + 1e-3) << in;
  EXPECT_EQ(result.rhythm.sampleInterval, source.rhythm.sampleInterval);
  EXPECT_EQ(result.fullText.statements.size(), source.fullText.statements.size());
  // The record reader takes it as one of this system's records.
  CReader reader;
  int16_t loaded = 0;
  ASSERT_TRUE(reader.Load(out, loaded, static_cast<int16_t>(kAllSectionBits)));
  ASSERT_TRUE(loaded & kSection6Bit);
  EXPECT_EQ(reader.GetRhythmDataPtr()->m_leadCount, source.leads.size());
  EXPECT_EQ(reader.GetRhythmDataPtr()->SampleCount(0), source.rhythm.leads[0].size());
}

TEST(EcgConvert, EncodedRecordBecomesAnUncompressedRecordWithTheSameSamples) {
  TempFolder folder;
  const std::string in = folder.Write("encoded.scp", EncodedRecord());
  const std::string out = folder.File("plain.scp");
  ConvertAndCompare(in, out);
  auto info = Ecg({"info", out});
  EXPECT_TRUE(Contains(info.out, "encoding       uncompressed")) << info.out;
  EXPECT_TRUE(Contains(info.out, "Normal ECG")) << info.out;
  auto source_info = Ecg({"info", in});
  EXPECT_TRUE(Contains(source_info.out, "Huffman (default table), rhythm second differences"))
      << source_info.out;
  EXPECT_TRUE(Contains(source_info.out, "1  Sinus rhythm")) << source_info.out;
  auto json = Ecg({"info", "--json", in});
  EXPECT_TRUE(Contains(json.out, "\"huffman\": true")) << json.out;
  EXPECT_TRUE(Contains(json.out, "\"uncompressed\": false")) << json.out;
  EXPECT_TRUE(Contains(json.out, "\"text\": \"Normal ECG\"")) << json.out;
  // Converting the converted record changes nothing.
  const std::string again = folder.File("again.scp");
  ASSERT_EQ(Ecg({"convert", out, again}).exit_code, 0);
  EXPECT_EQ(ReadFile(out).size(), ReadFile(again).size());
}

// The XML export shows an encoded record with its decoded samples: the same
// document as for the record converted first.
TEST(EcgConvert, XmlExportOfAnEncodedRecordEqualsThatOfItsConversion) {
  TempFolder folder;
  const std::string in = folder.Write("encoded.scp", EncodedRecord());
  const std::string plain = folder.File("plain.scp");
  ASSERT_EQ(Ecg({"convert", in, plain}).exit_code, 0);
  ASSERT_EQ(Ecg({"export-xml", in, folder.File("encoded.xml")}).exit_code, 0);
  ASSERT_EQ(Ecg({"export-xml", plain, folder.File("plain.xml")}).exit_code, 0);
  const auto encoded_xml = ReadFile(folder.File("encoded.xml"));
  const std::string text(encoded_xml.begin(), encoded_xml.end());
  EXPECT_TRUE(Contains(text, "<values multiplier=\"2500\" interval=\"2000\" difference=\"0\""))
      << text.substr(0, 2000);
  EXPECT_EQ(encoded_xml, ReadFile(folder.File("plain.xml")));
}

TEST(EcgConvert, BrokenRecordsAndBadUsageAreRefusedWithoutOutput) {
  TempFolder folder;
  Bytes broken = EncodedRecord();
  broken.resize(broken.size() - 7);  // shorter than its record length
  const std::string in = folder.Write("broken.scp", broken);
  const std::string out = folder.File("out.scp");
  auto refused = Ecg({"convert", in, out});
  EXPECT_EQ(refused.exit_code, 2);
  EXPECT_TRUE(Contains(refused.err, "refused (record length disagrees with the file)"))
      << refused.err;
  EXPECT_FALSE(std::filesystem::exists(out));
  auto info = Ecg({"info", in});
  EXPECT_TRUE(Contains(info.out, "decoder        REFUSED")) << info.out;
  EXPECT_EQ(Ecg({"convert", in}).exit_code, 2);
  EXPECT_EQ(Ecg({"convert", folder.File("missing.scp"), out}).exit_code, 2);
  EXPECT_FALSE(std::filesystem::exists(out));
  EXPECT_EQ(Ecg({"convert", "--help"}).exit_code, 0);
}

TEST(EcgConvert, PublicSamplesConvertAndTheCorruptOneIsRefused) {
  const std::string shared = SharedDataFolder();
  if (shared.empty()) GTEST_SKIP() << "the shared data folder is absent";
  const std::string dir = shared + "/scp-foreign/";
  TempFolder folder;
  for (const char* name : {"PFE105_redred.scp", "PFE105_high.scp", "ecgtoolkit_Example.scp",
                           "welchallyn_cc_20070321_ANON000004.SCP",
                           "ecgviewer_demo_uncompressed_1kHz.scp"}) {
    SCOPED_TRACE(name);
    ConvertAndCompare(dir + name, folder.File(std::string(name) + ".out.scp"));
  }
  const std::string out = folder.File("corrupt.out.scp");
  auto refused = Ecg({"convert", dir + "corrupt_section1_resized_test_log.SCP", out});
  EXPECT_EQ(refused.exit_code, 2);
  EXPECT_TRUE(Contains(refused.err, "refused")) << refused.err;
  EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
