// Section 1 tags as the reader interprets them.

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/last_error.h"
#include "scp/reader.h"
#include "support/record_builder.h"

using namespace ecg::platform;
using namespace ecg::test;

namespace {

constexpr int16_t kWantSection1 = kSection0Bit | kSection1Bit;

struct Loaded {
  bool ok = false;
  int16_t bits = 0;
  CReader reader;
  bool has_section1() const { return (bits & kSection1Bit) != 0; }
  CPatientInfo& patient() { return *reader.GetPatientInfoPtr(); }
  CRecordInfo& recording() { return *reader.GetRecordingInfoPtr(); }
  CGeneralInfo& general() { return *reader.GetGeneralInfoPtr(); }
};

void LoadTags(Loaded& out, const TagWriter& tags, uint8_t version = 20) {
  RecordBuilder b;
  b.AddSection1(tags, version);
  Bytes bytes = b.Build();
  out.ok = out.reader.Load(RecordSource::Memory(bytes), out.bits, kWantSection1);
}

TagWriter AcquisitionTags() {
  TagWriter t;
  t.Device(12, "TM12", "QRS 2.1", "SN-1").Date(25, 2025, 2, 3).Time(26, 4, 5, 6);
  return t;
}

TEST(Section1, TypicalRecordReadsEveryObject) {
  Loaded l;
  LoadTags(l, TypicalSection1());
  ASSERT_TRUE(l.ok);
  ASSERT_TRUE(l.has_section1());
  EXPECT_EQ(*l.patient().m_lastName, u"Lindqvist");
  EXPECT_EQ(*l.patient().m_firstName, u"Maren");
  EXPECT_EQ(*l.patient().m_patientId, u"TM-004211");
  EXPECT_EQ(l.patient().m_birthYear, 1961);
  EXPECT_EQ(l.patient().m_birthMonth, 4);
  EXPECT_EQ(l.patient().m_birthDay, 17);
  EXPECT_EQ(l.patient().m_height, 1750);
  EXPECT_EQ(l.patient().m_weight, 72000u);
  EXPECT_EQ(l.patient().m_sex, 2);
  EXPECT_EQ(l.recording().m_deviceId, 4711);
  EXPECT_EQ(*l.recording().m_modelDescription, u"TM12");
  EXPECT_EQ(*l.recording().m_analysingProgramRevision, u"QRS 2.1");
  EXPECT_EQ(*l.recording().m_serialNumber, u"SN-30077");
  EXPECT_EQ(l.recording().m_year, 2026);
  EXPECT_EQ(l.recording().m_second, 7);
  EXPECT_EQ(l.recording().m_baselineFilter, 5);
  EXPECT_EQ(l.recording().m_lowPassFilter, 150);
  EXPECT_EQ(l.recording().m_filterBitMap, 2 + 4 + 8);
  EXPECT_TRUE(l.reader.GetTagValidation());
  SLeadErrors* errors = l.reader.GetLeadErrorsPtr();
  ASSERT_EQ(errors->m_count, 2);
  EXPECT_EQ(errors->m_entries[1].m_leadId, 2);
  EXPECT_EQ(+errors->m_entries[1].m_errorBits, 1);
}

TEST(Section1, WithoutAcquisitionTagsRecordingInfoStaysDefault) {
  for (int missing : {14, 25, 26}) {
    TagWriter t;
    t.Text(0, "Doe").U16(27, 5).U16(28, 40);
    if (missing != 14) t.Device(3, "M", "R", "S");
    if (missing != 25) t.Date(25, 2024, 1, 2);
    if (missing != 26) t.Time(26, 1, 2, 3);
    t.End();
    Loaded l;
    LoadTags(l, t);
    ASSERT_TRUE(l.has_section1()) << missing;
    EXPECT_FALSE(l.reader.GetTagValidation()) << missing;
    EXPECT_EQ(l.recording().m_lowPassFilter, 0) << missing;
    EXPECT_EQ(l.recording().m_deviceId, 0) << missing;
    EXPECT_FALSE(l.recording().m_modelDescription.has_value()) << missing;
  }
}

TEST(Section1, ShortAcquisitionTagCountsAsSeenButResetsTheRecordingInfo) {
  TagWriter t;
  t.Device(3, "M", "R", "S").Date(25, 2024, 1, 2).Tag(26, {1, 2}).U16(28, 40).End();
  Loaded l;
  LoadTags(l, t);
  ASSERT_TRUE(l.has_section1());
  EXPECT_TRUE(l.reader.GetTagValidation());
  EXPECT_EQ(l.recording().m_lowPassFilter, 0);
  EXPECT_EQ(l.recording().m_year, 0);
}

TEST(Section1, WeightAndHeightUnits) {
  struct Case {
    uint8_t tag;
    uint16_t value;
    uint8_t unit;
    uint32_t expected;
  } cases[] = {
      {7, 150, 3, 68038},   // pounds, truncated
      {7, 80, 1, 80000},    // kilograms
      {7, 900, 2, 900},     // grams
      {7, 100, 4, 2834},    // ounces
      {7, 80, 0, 0},        // unknown unit
      {6, 70, 2, 1778},     // inches
      {6, 180, 1, 1800},    // centimetres
      {6, 1655, 3, 1655},   // millimetres
      {6, 180, 0, 0},       // unknown unit
  };
  for (const auto& c : cases) {
    TagWriter t;
    t.Tag(c.tag, {static_cast<uint8_t>(c.value), static_cast<uint8_t>(c.value >> 8), c.unit}).End();
    Loaded l;
    LoadTags(l, t);
    ASSERT_TRUE(l.has_section1());
    uint32_t got = c.tag == 7 ? l.patient().m_weight : l.patient().m_height;
    EXPECT_EQ(got, c.expected) << "tag " << int(c.tag) << " value " << c.value << " unit "
                               << int(c.unit);
  }
}

TEST(Section1, GramsAndMillimetreTagsWinWhicheverComesFirst) {
  for (bool exact_first : {true, false}) {
    TagWriter t;
    if (exact_first) t.U32(206, 81234).U16(207, 1811);
    t.Tag(7, {80, 0, 1}).Tag(6, {170, 0, 1});
    if (!exact_first) t.U32(206, 81234).U16(207, 1811);
    t.End();
    Loaded l;
    LoadTags(l, t);
    ASSERT_TRUE(l.has_section1());
    EXPECT_EQ(l.patient().m_weight, 81234u) << exact_first;
    EXPECT_EQ(l.patient().m_height, 1811) << exact_first;
  }
  // A second unit tag does not replace the first.
  TagWriter twice;
  twice.Tag(7, {80, 0, 1}).Tag(7, {90, 0, 1}).End();
  Loaded l;
  LoadTags(l, twice);
  EXPECT_EQ(l.patient().m_weight, 80000u);
}

TEST(Section1, VersionTenNamesAreCutAndTrimmed) {
  const std::string fifty(50, 'K');
  for (uint8_t version : {10, 20}) {
    TagWriter t;
    t.Text(0, fifty).Text(1, "Ada   ").Text(2, "     ").End();
    Loaded l;
    LoadTags(l, t, version);
    ASSERT_TRUE(l.has_section1());
    if (version == 10) {
      EXPECT_EQ(l.patient().m_lastName->size(), 40u);
      EXPECT_EQ(*l.patient().m_firstName, u"Ada");
      EXPECT_EQ(*l.patient().m_patientId, u"");
    } else {
      EXPECT_EQ(l.patient().m_lastName->size(), 50u);
      EXPECT_EQ(*l.patient().m_firstName, u"Ada   ");
    }
  }
}

TEST(Section1, TextRules) {
  TagWriter t;
  // Last byte stands for the NUL even when it is not one; CP1252 bytes.
  t.Tag(0, {'M', 0xFC, 'l', 'l', 'e', 'r', 'X'});
  t.Tag(1, {});                      // empty value: no text
  t.Tag(202, {'a', 0, 'b', 0});      // stops at the first NUL
  t.Tag(21, {0x80, 0});              // euro sign
  t.End();
  Loaded l;
  LoadTags(l, t);
  ASSERT_TRUE(l.has_section1());
  EXPECT_EQ(*l.patient().m_lastName, u"M\u00FCller");
  EXPECT_EQ(*l.patient().m_firstName, u"");  // null names become empty
  EXPECT_EQ(*l.general().m_comment, u"a");
  EXPECT_EQ(*l.general().m_confirmingPhysician, u"\u20AC");
}

TEST(Section1, OtherCodePageFromTheEnvironment) {
  ::setenv("ECG_ANSI_CODEPAGE", "CP932", 1);
  TagWriter t;
  t.Tag(0, {0x93, 0xFA, 0x96, 0x7B, 0});  // "Nihon" in Shift-JIS
  t.End();
  Loaded l;
  LoadTags(l, t);
  ::unsetenv("ECG_ANSI_CODEPAGE");
  ASSERT_TRUE(l.has_section1());
  EXPECT_EQ(*l.patient().m_lastName, u"\u65E5\u672C");
}

// Records from other systems name their character set in tag 14 (byte 16),
// which may come after the texts it governs.
TEST(Section1, TextsFollowTheLanguageCodeOfTheDeviceTag) {
  auto device = [](uint8_t language) {
    Bytes block(36, 0);
    block[16] = language;
    for (char c : std::string("SN")) block.push_back(static_cast<uint8_t>(c));
    block.push_back(0);
    return block;
  };
  struct Case {
    uint8_t language;
    Bytes name;
    std::u16string expected;
  };
  const Case cases[] = {
      {0x00, {'M', 0xFC, 'l', 0}, u"M\u00FCl"},            // ASCII declared: record code page
      {0x01, {'M', 0xFC, 'l', 0}, u"M\u00FCl"},            // ISO 8859-1
      {0x03, {0xA3, 0xF3, 'd', 0xBC, 0}, u"\u0141\u00F3d\u017A"},  // ISO 8859-2: Lodz
      {0x13, {0xBC, 0xD8, 0}, u"\u041C\u0438"},            // ISO 8859-5: Cyrillic
      {0x37, {'M', 0xC3, 0xBC, 'l', 0}, u"M\u00FCl"},      // UTF-8
      {0x07, {'M', 0, 0xFC, 0, 0x1B, 0x04, 0, 0}, u"M\u00FC\u041B"},  // two-byte ISO 10646
      {0x37, {'M', 0xFC, 0}, u"M\u00FC"},                  // broken UTF-8 still shown (ISO 8859-1)
  };
  for (const Case& c : cases) {
    TagWriter t;
    t.Tag(0, c.name);
    t.Tag(14, device(c.language));
    t.Tag(202, c.name);
    t.End();
    Loaded l;
    LoadTags(l, t);
    ASSERT_TRUE(l.has_section1()) << int{c.language};
    EXPECT_EQ(*l.patient().m_lastName, c.expected) << int{c.language};
    EXPECT_EQ(*l.general().m_comment, c.expected) << int{c.language};
    EXPECT_EQ(*l.recording().m_serialNumber, u"SN") << int{c.language};
  }
}

TEST(Section1, InterpretationTag) {
  TagWriter one;
  one.Tag(201, {1}).End();
  Loaded a;
  LoadTags(a, one);
  EXPECT_EQ(a.general().m_interpretationEdited, 1);
  EXPECT_FALSE(a.general().m_interpretation.has_value());

  TagWriter text;
  text.Tag(201, {0, 'S', 'i', 'n', 'u', 's', 0}).End();
  Loaded b;
  LoadTags(b, text);
  EXPECT_EQ(b.general().m_interpretationEdited, 0);
  EXPECT_EQ(*b.general().m_interpretation, u"Sinus");
}

TEST(Section1, GeneralInformationTags) {
  TagWriter t;
  Bytes received;
  for (uint16_t v : {2026, 12, 1, 14, 30, 59}) PutU16(received, v);
  t.Tag(203, received).U8(204, 1).Text(205, "REC-9").Text(208, "Edit").Text(209, "2.0")
      .Text(210, "Create").Text(211, "1.0").Text(213, "Dr B").Text(214, "Dr C")
      .Text(215, "Ward 4").Text(216, "Interp").Text(217, "3.1").Text(218, "Rec").Text(219, "0.9")
      .U8(212, 0x05).End();
  Loaded l;
  LoadTags(l, t);
  ASSERT_TRUE(l.has_section1());
  const CGeneralInfo& g = l.general();
  EXPECT_EQ(g.m_receivedYear, 2026);
  EXPECT_EQ(g.m_receivedSecond, 59);
  EXPECT_EQ(g.m_confirmed, 1);
  EXPECT_EQ(*g.m_recordingId, u"REC-9");
  EXPECT_EQ(*g.m_editingApplication, u"Edit");
  EXPECT_EQ(*g.m_editingVersion, u"2.0");
  EXPECT_EQ(*g.m_creatingApplication, u"Create");
  EXPECT_EQ(*g.m_creatingVersion, u"1.0");
  EXPECT_EQ(*g.m_secondPhysician, u"Dr B");
  EXPECT_EQ(*g.m_thirdPhysician, u"Dr C");
  EXPECT_EQ(*g.m_recordingLocation, u"Ward 4");
  EXPECT_EQ(*g.m_interpretationApplication, u"Interp");
  EXPECT_EQ(*g.m_interpretationVersion, u"3.1");
  EXPECT_EQ(*g.m_recordingApplication, u"Rec");
  EXPECT_EQ(*g.m_recordingVersion, u"0.9");
}

TEST(Section1, FilterBytesKeepOneMainsBitAndTheOthers) {
  struct Case {
    uint8_t raw, stored;
  } cases[] = {{0x00, 0}, {0x01, 1}, {0x02, 2}, {0x03, 2}, {0x04, 4}, {0x08, 8},
               {0x0F, 14}, {0xF0, 0}, {0xF5, 5}};
  for (const auto& c : cases) {
    TagWriter t = AcquisitionTags();
    t.U8(29, c.raw).U8(212, c.raw).End();
    Loaded l;
    LoadTags(l, t);
    EXPECT_EQ(l.recording().m_filterBitMap, c.stored) << int(c.raw);
    EXPECT_EQ(l.recording().m_writerFilter, c.stored) << int(c.raw);
  }
}

TEST(Section1, UnknownTagsAreKeptLastOccurrenceWins) {
  TagWriter t;
  t.Tag(3, {1, 2}).Tag(30, {9}).Tag(30, {7, 7, 7}).Tag(254, {5}).Tag(100, {}).End();
  Loaded l;
  LoadTags(l, t);
  ASSERT_TRUE(l.has_section1());
  const SUnknownTags& tags = l.reader.GetUnknownTags();
  EXPECT_EQ(tags.m_lengths[3], 2);
  ASSERT_EQ(tags.m_lengths[30], 3);
  EXPECT_EQ(tags.m_values[30][0], 7);
  EXPECT_EQ(tags.m_lengths[254], 1);
  EXPECT_EQ(tags.m_lengths[100], 0);  // empty values are not kept
  EXPECT_EQ(tags.m_lengths[0], 0);    // interpreted tags are not kept
  EXPECT_EQ(tags.m_lengths[255], 0);
}

TEST(Section1, TagRunningPastTheSectionFailsItAndLeavesDefaults) {
  TagWriter t;
  t.Text(0, "Visible").Tag(8, {1});
  t.RawHeader(2, 500).Raw({'x'});  // claims 500 bytes
  Loaded l;
  LoadTags(l, t);
  ASSERT_TRUE(l.ok);
  EXPECT_FALSE(l.has_section1());
  EXPECT_EQ(l.reader.GetPatientInfoPtr(), nullptr);
  l.reader.KillSection(0);  // the members themselves were reset too
  EXPECT_EQ(l.bits, kSection0Bit);
}

TEST(Section1, SectionWithoutEndTagFails) {
  TagWriter t;
  t.Text(0, "Doe");
  Loaded l;
  LoadTags(l, t);
  EXPECT_FALSE(l.has_section1());
}

TEST(Section1, LeadErrorTag) {
  TagWriter none;
  none.Tag(200, {0}).End();
  Loaded a;
  LoadTags(a, none);
  ASSERT_TRUE(a.has_section1());
  EXPECT_EQ(a.reader.GetLeadErrorsPtr()->m_count, 0);

  Bytes too_many = {255};
  too_many.resize(1 + 255 * 3, 0);
  TagWriter t;
  t.Tag(200, too_many).End();
  Loaded b;
  LoadTags(b, t);
  EXPECT_FALSE(b.has_section1());

  TagWriter short_list;
  short_list.Tag(200, {3, 1, 0, 0}).End();  // three entries announced, one present
  Loaded c;
  LoadTags(c, short_list);
  EXPECT_FALSE(c.has_section1());
}

TEST(Section1, DeviceBlockRevisionLengthMustFit) {
  TagWriter good;
  good.Device(5, "ABCDEFGH", "", "").Date(25, 2020, 1, 1).Time(26, 0, 0, 0).End();
  Loaded a;
  LoadTags(a, good);
  ASSERT_TRUE(a.has_section1());
  EXPECT_EQ(*a.recording().m_modelDescription, u"ABCDE");
  EXPECT_FALSE(a.recording().m_analysingProgramRevision.has_value());
  EXPECT_FALSE(a.recording().m_serialNumber.has_value());

  Bytes block(36, 0);
  block[35] = 10;  // revision of 10 bytes, none present
  TagWriter bad;
  bad.Tag(14, block).End();
  Loaded b;
  LoadTags(b, bad);
  EXPECT_FALSE(b.has_section1());

  Bytes serial_only(36, 0);
  for (char c : std::string("SER")) serial_only.push_back(static_cast<uint8_t>(c));
  TagWriter no_nul;
  no_nul.Tag(14, serial_only).Date(25, 2020, 1, 1).Time(26, 0, 0, 0).End();
  Loaded c;
  LoadTags(c, no_nul);
  ASSERT_TRUE(c.has_section1());
  EXPECT_EQ(*c.recording().m_serialNumber, u"SER");
}

TEST(Section1, ShortValuesAreSkipped) {
  TagWriter t;
  t.Tag(5, {0xB0, 0x07, 3}).Tag(8, {}).Tag(203, Bytes(11, 1)).End();
  Loaded l;
  LoadTags(l, t);
  ASSERT_TRUE(l.has_section1());
  EXPECT_EQ(l.patient().m_birthYear, 0);
  EXPECT_EQ(l.general().m_receivedYear, 0);
}

class Section1Probe : public CReader {
 public:
  using CReader::GetSec1Data;
  using CReader::GetSection;
  using CReader::OpenWithIndex;
};

TEST(Section1, TagPositionsAndArguments) {
  TagWriter t;
  t.Text(0, "A").U8(8, 1).End();
  RecordBuilder b;
  b.AddSection1(t);
  Bytes bytes = b.Build();
  FileHandle handle;
  SSectionIndexes index;
  ASSERT_TRUE(Section1Probe::OpenWithIndex(handle, RecordSource::Memory(bytes), &index));
  SSectionHeader header;
  ASSERT_TRUE(Section1Probe::GetSection(handle, &index, 1, &header));
  uint32_t position_after_header = index.m_entries[1].m_position + 16;
  EXPECT_FALSE(Section1Probe::GetSec1Data(handle, header, nullptr, 0, nullptr, nullptr, nullptr,
                                          nullptr, nullptr, nullptr));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);

  uint32_t positions[10];
  std::fill(std::begin(positions), std::end(positions), 999u);
  CPatientInfo patient;
  ASSERT_TRUE(Section1Probe::GetSec1Data(handle, header, positions, 10, &patient, nullptr,
                                         nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(positions[0], position_after_header);
  EXPECT_EQ(positions[8], position_after_header + 5);
  EXPECT_EQ(positions[1], 0u);
  EXPECT_EQ(patient.m_sex, 1);
}

TEST(Section1, OneShotReaders) {
  Bytes bytes = TypicalRecord();
  auto source = RecordSource::Memory(bytes);
  EXPECT_FALSE(CReader::ReadPatientAndRecordInfo(source, nullptr, nullptr));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  CRecordInfo recording;
  ASSERT_TRUE(CReader::ReadPatientAndRecordInfo(source, nullptr, &recording));
  EXPECT_EQ(recording.m_deviceId, 4711);
  CGeneralInfo general;
  ASSERT_TRUE(CReader::ReadGeneralInfo(source, &general));
  EXPECT_FALSE(CReader::ReadGeneralInfo(nullptr, &general));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);

  RecordBuilder without_section1;
  without_section1.AddSection(3, Bytes(4, 0));
  Bytes other = without_section1.Build();
  CPatientInfo patient;
  SetLastError(77);
  EXPECT_FALSE(CReader::ReadPatientAndRecordInfo(RecordSource::Memory(other), &patient, nullptr));
  EXPECT_EQ(GetLastError(), kErrorSuccess);
}

}  // namespace
