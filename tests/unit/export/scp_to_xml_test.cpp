// The XML export of records made by the tests.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "export/scp_to_xml.h"
#include "platform/last_error.h"
#include "support/record_builder.h"
#include "support/section_builders.h"
#include "support/test_files.h"

using namespace ecg::test;
using namespace ecg::platform;

namespace {

TagWriter SmallSection1() {
  TagWriter t;
  t.Text(0, "Ng").Text(1, "Kim").Text(2, "K-1").Date(5, 2000, 5, 10).U8(8, 1);
  t.U32(206, 70500).U16(207, 1755);
  t.Device(42, "TM12", "HW 1.0", "SN9").Date(25, 2020, 5, 10).Time(26, 8, 5, 3);
  t.Tag(201, {0, 'S', 'i', 'n', 'u', 's', ' ', '&', ' ', '<', '1', '>', 0});
  t.U8(204, 1).Text(202, "ok");
  t.End();
  return t;
}

Bytes SmallRecord() {
  RecordBuilder b;
  b.AddSection1(SmallSection1());
  b.AddSection(3, Section3({{1, 1, 4}, {9, 1, 4}}, SimultaneousFlags(2)));
  SampleSection rhythm;
  rhythm.leads = {{1, -1, 256, -32768}, {0, 2, 4, 6}};
  b.AddSection(6, SampleSectionBytes(rhythm));
  SampleSection median;
  median.multiplier = 500;
  median.interval = 4000;
  median.leads = {{7}, {-2}};
  b.AddSection(5, SampleSectionBytes(median));
  GlobalSection global;
  global.rr = 800;
  global.blocks = {{100, 200, 260, 350, 660, 45, -30, 60}};
  b.AddSection(7, Section7(global));
  LeadBlock first = TypicalLeadBlock(1);
  LeadBlock second = TypicalLeadBlock(9);
  b.AddSection(10, Section10({first, second}));
  return b.Build();
}

std::string ExportOf(const Bytes& record, bool* ok = nullptr) {
  CECGScpToXml exporter(RecordSource::Memory(record));
  std::string document;
  bool result = exporter.ExportToString(document);
  if (ok) *ok = result;
  return document;
}

std::string MeasurementsText(const LeadBlock& b) {
  // Attribute order: the block's order except T-, T+, P+, P-.
  static const char* names[] = {
      "P-duration", "PR-interval", "QRS-duration", "QT-interval", "Q-duration", "R-duration",
      "S-duration", "Rprime-duration", "Sprime-duration", "Q-amplitude", "R-amplitude",
      "S-amplitude", "Rprime-amplitude", "Sprime-amplitude", "J-point-amplitude",
      "Tminus-amplitude", "Tplus-amplitude", "Pplus-amplitude", "Pminus-amplitude", "ST-slope",
      "PMorphology", "TMorphology", "QRSOnset", "QRSOffset", "intrinsicoidDeflection", "qcode",
      "ST-amplitudeJ20", "ST-amplitudeJ60", "ST-amplitudeJ80"};
  static const int words[] = {2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16,
                              20, 19, 17, 18, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30};
  std::string out = "<measurements";
  for (int i = 0; i < 29; ++i) {
    out += std::string(" ") + names[i] + "=\"" + std::to_string(b[words[i]]) + "\"";
  }
  return out + "/>";
}

TEST(XmlExport, WholeDocumentOfASmallRecord) {
  const std::string expected =
      "<?xml version='1.0'?>\n"
      "<!--ECG data.-->\n"
      "<root>\n"
      "\t<patient last=\"Ng\" first=\"Kim\" patientID=\"K-1\" birthdate=\"2000-05-10T00:00:00\" gender=\"Male\">\n"
      "\t\t<encounter age=\"20\" ageUnits=\"Years\" height=\"175\" heightUnits=\"cm\" weight=\"70\" weightUnits=\"kg\">\n"
      "\t\t\t<test type=\"ecg\" acquiringDevice=\"42\" revision=\"HW 1.0\" serial_number=\"SN9\" date=\"2020-05-10T08:05:03\">\n"
      "\t\t\t<interpretation>Sinus &amp; &lt;1&gt;</interpretation>\n\t\t\t\n"
      "\t\t\t<confirmed>true</confirmed>\n\t\t\t\n"
      "\t\t\t<comment>ok</comment>\n\t\t\t\n"
      "\t\t\t<channel firstIndex=\"1\" lastIndex=\"4\" leadId=\"1\" displayName=\"I\">\n"
      "\t\t\t<medians multiplier=\"500\" interval=\"4000\" difference=\"0\" encoding=\"base64\">BwA=</medians>\n\t\t\t\n"
      "\t\t\t<values multiplier=\"1000\" interval=\"2000\" difference=\"0\" encoding=\"base64\">AQD//wABAIA=</values>\n\t\t\t\n"
      "\t\t\t" + MeasurementsText(TypicalLeadBlock(1)) + "\n\t\t\t</channel>\n\t\t\t\n"
      "\t\t\t<channel firstIndex=\"1\" lastIndex=\"4\" leadId=\"9\" displayName=\"\">\n"
      "\t\t\t<medians multiplier=\"500\" interval=\"4000\" difference=\"0\" encoding=\"base64\">/v8=</medians>\n\t\t\t\n"
      "\t\t\t<values multiplier=\"1000\" interval=\"2000\" difference=\"0\" encoding=\"base64\">AAACAAQABgA=</values>\n\t\t\t\n"
      "\t\t\t" + MeasurementsText(TypicalLeadBlock(9)) + "\n\t\t\t</channel>\n\t\t\t\n"
      "\t\t\t<global HeartRate=\"75\" PDuration=\"100\" PRInterval=\"160\" QRSDuration=\"90\" "
      "QTInterval=\"400\" QTcInterval=\"447\" PAxis=\"45\" QRSAxis=\"-30\" TAxis=\"60\"/>\n\t\t\t</test>\n"
      "\t\t</encounter>\n"
      "\t</patient>\n"
      "</root>\n";
  bool ok = false;
  EXPECT_EQ(ExportOf(SmallRecord(), &ok), expected);
  EXPECT_TRUE(ok);
}

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(XmlExport, TwelveLeadsGiveTwelveFullChannels) {
  EcgRecordSpec spec;
  const std::string doc = ExportOf(SyntheticEcgRecord(spec));
  EXPECT_EQ(Count(doc, "<channel "), 12);
  EXPECT_EQ(Count(doc, "<medians "), 12);
  EXPECT_EQ(Count(doc, "<values "), 12);
  EXPECT_EQ(Count(doc, "<measurements "), 12);
  EXPECT_EQ(Count(doc, "<global "), 1);
  // 5000 samples per lead: 13336 Base64 characters in lines of 76.
  const size_t open = doc.find("<values ");
  const size_t text = doc.find('>', open) + 1;
  const std::string base64 = doc.substr(text, doc.find("</values>", text) - text);
  EXPECT_EQ(Count(base64, "&#13;\n"), 175);
  EXPECT_EQ(base64.size() - 175 * 6, 13336u);
}

TEST(XmlExport, EightLeadsGetFourDerivedChannelsWithMeasurementsOnly) {
  EcgRecordSpec spec;
  spec.leads = AcquiredLeadCodes();
  const std::string doc = ExportOf(SyntheticEcgRecord(spec));
  EXPECT_EQ(Count(doc, "<channel "), 12);
  EXPECT_EQ(Count(doc, "<values "), 8);
  EXPECT_EQ(Count(doc, "<medians "), 8);
  for (const char* derived : {"leadId=\"61\" displayName=\"III\"", "leadId=\"62\" displayName=\"aVR\"",
                              "leadId=\"63\" displayName=\"aVL\"", "leadId=\"64\" displayName=\"aVF\""}) {
    EXPECT_NE(doc.find(derived), std::string::npos) << derived;
  }
  // The record's Section 10 has blocks for its 8 leads only: the derived
  // channels get empty measurements.
  EXPECT_EQ(Count(doc, "<measurements/>"), 4);
}

TEST(XmlExport, MissingOptionalPartsAreLeftOut) {
  EcgRecordSpec spec;
  spec.medians = false;
  spec.measurements = false;
  const std::string doc = ExportOf(SyntheticEcgRecord(spec));
  EXPECT_EQ(Count(doc, "<medians "), 0);
  EXPECT_EQ(Count(doc, "<values "), 12);
  EXPECT_EQ(Count(doc, "<measurements/>"), 12);
  EXPECT_EQ(Count(doc, "<global"), 0);
}

TEST(XmlExport, AgeCountsCompletedYears) {
  for (auto [day, age] : {std::pair{10, "20"}, std::pair{9, "19"}}) {
    TagWriter t;
    t.Date(5, 2000, 5, 10).Device(1, "A", "", "").Date(25, 2020, 5, static_cast<uint8_t>(day));
    t.Time(26, 0, 0, 0).End();
    RecordBuilder b;
    b.AddSection1(t);
    b.AddSection(3, Section3({{1, 1, 2}}));
    SampleSection rhythm;
    rhythm.leads = {{1, 2}};
    b.AddSection(6, SampleSectionBytes(rhythm));
    const std::string doc = ExportOf(b.Build());
    EXPECT_NE(doc.find(std::string("age=\"") + age + "\""), std::string::npos) << day << doc;
  }
}

TEST(XmlExport, UnreadableRecordGivesOnlyTheComment) {
  TempFolder folder;
  const std::string scp = folder.Write("bad.scp", {1, 2, 3});
  const std::string xml = folder.File("bad.xml");
  EXPECT_FALSE(ExportScpToXml(scp.c_str(), xml.c_str()));
  std::ifstream in(xml);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, "<?xml version='1.0'?>\n<!--Unable to process SCP file.-->\n");

  // Section 1 only: no lead definitions, so the record cannot be exported.
  bool ok = true;
  EXPECT_EQ(ExportOf(TypicalRecord(), &ok),
            "<?xml version='1.0'?>\n<!--Unable to process SCP file.-->\n");
  EXPECT_FALSE(ok);
  EXPECT_FALSE(ExportScpToXml(nullptr, xml.c_str()));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
}

TEST(XmlExport, NonAsciiAndControlCharactersInTexts) {
  TagWriter t;
  t.Tag(0, {'J', 0xF6, 'r', 'g', 0x01, 0}).Device(1, "A", "", "").Date(25, 2020, 1, 1);
  t.Time(26, 0, 0, 0).U8(8, 7).End();
  RecordBuilder b;
  b.AddSection1(t);
  b.AddSection(3, Section3({{1, 1, 1}}));
  SampleSection rhythm;
  rhythm.leads = {{5}};
  b.AddSection(6, SampleSectionBytes(rhythm));
  const std::string doc = ExportOf(b.Build());
  EXPECT_NE(doc.find("last=\"J\xC3\xB6rg?\""), std::string::npos) << doc;
  EXPECT_NE(doc.find("gender=\"Unknown\""), std::string::npos);
}

TEST(XmlExport, XmllintAcceptsTheDocuments) {
  if (std::system("command -v xmllint >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "xmllint not installed (libxml2-utils)";
  }
  TempFolder folder;
  EcgRecordSpec eight;
  eight.leads = AcquiredLeadCodes();
  const Bytes records[] = {SmallRecord(), SyntheticEcgRecord(), SyntheticEcgRecord(eight)};
  int n = 0;
  for (const Bytes& record : records) {
    const std::string scp = folder.Write("r" + std::to_string(n) + ".scp", record);
    const std::string xml = folder.File("r" + std::to_string(n++) + ".xml");
    ASSERT_TRUE(ExportScpToXml(scp.c_str(), xml.c_str()));
    EXPECT_EQ(std::system(("xmllint --noout '" + xml + "'").c_str()), 0) << xml;
  }
}

}  // namespace
