// Records written from the model: Section 1 tags, sample sections, Section 0,
// empty records, GUIDs and numbered names.

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <cstring>

#include "platform/last_error.h"
#include "scp/writer.h"
#include "support/record_builder.h"
#include "support/test_files.h"

using namespace ecg::platform;
using namespace ecg::test;

namespace {

// Gives the tests the model and the protected building steps.
class WriterProbe : public CWriter {
 public:
  using CWriter::CreateSec0;
  using CWriter::CreateSec1;
  using CWriter::CreateSec3_6;
  using CWriter::CreateSec5;
  using CWriter::OpenRd;
  using CWriter::StoreSectionHeader;
  using CWriter::WriteSections;
  using CWriter::m_generalInfo;
  using CWriter::m_leadDefinitions;
  using CWriter::m_leadErrors;
  using CWriter::m_loaded;
  using CWriter::m_medianData;
  using CWriter::m_medianReady;
  using CWriter::m_patientInfo;
  using CWriter::m_recordInfo;
  using CWriter::m_rhythmData;
  using CWriter::m_rhythmReady;
  using CWriter::m_unknownTags;
  using CWriter::m_updateMode;

  void HaveSection1() { m_loaded |= kSection1Bit; }
};

// Section 1 of a written record as tag number -> value.
std::map<int, Bytes> Tags(const Bytes& record) {
  std::map<int, Bytes> tags;
  // Section 1 is the second index entry of our records.
  const size_t entry = 6 + 16 + 10;
  const uint32_t position = record[entry + 6] | (record[entry + 7] << 8) |
                            (record[entry + 8] << 16) | (record[entry + 9] << 24);
  size_t at = position - 1 + 16;
  for (;;) {
    const int tag = record[at];
    const size_t length = record[at + 1] | (record[at + 2] << 8);
    tags[tag] = Bytes(record.begin() + static_cast<long>(at + 3),
                      record.begin() + static_cast<long>(at + 3 + length));
    at += 3 + length;
    if (tag == 255) break;
  }
  return tags;
}

Bytes WriteModel(WriterProbe& w, const std::string& path) {
  EXPECT_TRUE(w.CreateSec1()) << GetLastError();
  EXPECT_TRUE(w.WriteSections(path.c_str())) << GetLastError();
  return ReadFile(path);
}

void FillModel(WriterProbe& w) {
  w.HaveSection1();
  CPatientInfo& p = w.m_patientInfo;
  p.m_lastName = u"M\u00FCller";
  p.m_firstName = u"Ines";
  p.m_patientId = u"P-7";
  p.m_birthYear = 1970;
  p.m_birthMonth = 6;
  p.m_birthDay = 30;
  p.m_sex = 2;
  p.m_height = 1755;
  p.m_weight = 61999;
  CRecordInfo& r = w.m_recordInfo;
  r.m_year = 2026;
  r.m_month = 5;
  r.m_day = 4;
  r.m_hour = 13;
  r.m_minute = 2;
  r.m_second = 59;
  r.m_baselineFilter = 5;
  r.m_lowPassFilter = 150;
  r.m_deviceId = 77;
  r.m_modelDescription = u"TM12X";
  r.m_analysingProgramRevision = u"HW 1.0, SW 2.3";
  r.m_serialNumber = u"SN-1";
  r.m_writerFilter = 0x0A;
  r.m_filterBitMap = 0x06;
  CGeneralInfo& g = w.m_generalInfo;
  g.m_interpretation = u"Sinus rhythm";
  g.m_interpretationEdited = 1;
  g.m_comment = u"Follow-up";
  g.m_confirmingPhysician = u"Dr Amsel";
  g.m_secondPhysician = u"Dr Birke";
  g.m_thirdPhysician = u"Dr Cedar";
  g.m_recordingLocation = u"Ward 2";
  g.m_recordingId = u"R-42";
  g.m_interpretationApplication = u"Engine";
  g.m_interpretationVersion = u"1.2";
  g.m_recordingApplication = u"Cart";
  g.m_recordingVersion = u"3.4";
  g.m_editingApplication = u"OldEditor";
  g.m_editingVersion = u"0.1";
  g.m_confirmed = 1;
  g.m_receivedYear = 2026;
  g.m_receivedMonth = 5;
  g.m_receivedDay = 5;
  g.m_receivedHour = 8;
  g.m_receivedMinute = 0;
  g.m_receivedSecond = 1;
  w.m_leadErrors.Allocate(2);
  w.m_leadErrors.m_entries[0] = {1, 0x0001};
  w.m_leadErrors.m_entries[1] = {2, 0x0010};
  w.m_unknownTags.Allocate(30, 3);
  w.m_unknownTags.m_values[30][0] = 0xAB;
  w.m_unknownTags.Allocate(240, 1);
}

TEST(Writer, ModelRoundTripsThroughSection1) {
  TempFolder folder;
  WriterProbe w;
  w.SelectWriter(u"Tidemark ECG", u"0.1");
  FillModel(w);
  const std::string path = folder.File("model.scp");
  WriteModel(w, path);

  CReader r;
  int16_t loaded = 0;
  ASSERT_TRUE(r.Load(path, loaded, static_cast<int16_t>(kAllSectionBits)));
  ASSERT_TRUE(loaded & kSection1Bit);
  bool valid = false;
  ASSERT_TRUE(CReader::ReadCRCCheck(path, valid));
  EXPECT_TRUE(valid);
  const CPatientInfo& p = *r.GetPatientInfoPtr();
  EXPECT_EQ(*p.m_lastName, u"M\u00FCller");
  EXPECT_EQ(*p.m_firstName, u"Ines");
  EXPECT_EQ(*p.m_patientId, u"P-7");
  EXPECT_EQ(p.m_birthYear, 1970);
  EXPECT_EQ(p.m_birthMonth, 6);
  EXPECT_EQ(p.m_birthDay, 30);
  EXPECT_EQ(p.m_sex, 2);
  EXPECT_EQ(p.m_height, 1755);
  EXPECT_EQ(p.m_weight, 61999u);
  const CRecordInfo& rec = *r.GetRecordingInfoPtr();
  EXPECT_EQ(rec.m_year, 2026);
  EXPECT_EQ(rec.m_second, 59);
  EXPECT_EQ(rec.m_baselineFilter, 5);
  EXPECT_EQ(rec.m_lowPassFilter, 150);
  EXPECT_EQ(rec.m_deviceId, 77);
  EXPECT_EQ(*rec.m_modelDescription, u"TM12X");
  EXPECT_EQ(*rec.m_analysingProgramRevision, u"HW 1.0, SW 2.3");
  EXPECT_EQ(*rec.m_serialNumber, u"SN-1");
  EXPECT_EQ(rec.m_writerFilter, 0x0A);
  EXPECT_EQ(rec.m_filterBitMap, 0x06);
  const CGeneralInfo& g = *r.GetGeneralInfoPtr();
  EXPECT_EQ(*g.m_interpretation, u"Sinus rhythm");
  EXPECT_EQ(g.m_interpretationEdited, 1);
  EXPECT_EQ(*g.m_comment, u"Follow-up");
  EXPECT_EQ(*g.m_confirmingPhysician, u"Dr Amsel");
  EXPECT_EQ(*g.m_secondPhysician, u"Dr Birke");
  EXPECT_EQ(*g.m_thirdPhysician, u"Dr Cedar");
  EXPECT_EQ(*g.m_recordingLocation, u"Ward 2");
  EXPECT_EQ(*g.m_recordingId, u"R-42");
  EXPECT_EQ(*g.m_interpretationApplication, u"Engine");
  EXPECT_EQ(*g.m_interpretationVersion, u"1.2");
  EXPECT_EQ(*g.m_recordingApplication, u"Cart");
  EXPECT_EQ(*g.m_recordingVersion, u"3.4");
  EXPECT_EQ(*g.m_editingApplication, u"OldEditor");  // a new record keeps the last editor
  EXPECT_EQ(*g.m_creatingApplication, u"Tidemark ECG");
  EXPECT_EQ(*g.m_creatingVersion, u"0.1");
  EXPECT_EQ(g.m_confirmed, 1);
  EXPECT_EQ(g.m_receivedDay, 5);
  EXPECT_EQ(g.m_receivedSecond, 1);
  const SLeadErrors& e = *r.GetLeadErrorsPtr();
  ASSERT_EQ(e.m_count, 6);  // calculated leads added with I | II
  EXPECT_EQ(+e.m_entries[5].m_errorBits, 0x0011);
  EXPECT_EQ(r.GetUnknownTags().m_lengths[30], 3);
  EXPECT_EQ(r.GetUnknownTags().m_values[30][0], 0xAB);
  EXPECT_EQ(r.GetUnknownTags().m_lengths[240], 1);
  EXPECT_TRUE(r.GetTagValidation());
}

TEST(Writer, EmptyModelStillWritesTheFixedTags) {
  TempFolder folder;
  WriterProbe w;
  w.HaveSection1();
  Bytes record = WriteModel(w, folder.File("empty-model.scp"));
  auto tags = Tags(record);
  std::vector<int> numbers;
  for (const auto& [tag, value] : tags) numbers.push_back(tag);
  EXPECT_EQ(numbers, (std::vector<int>{5, 8, 14, 25, 26, 200, 203, 204, 212, 255}));
  EXPECT_EQ(tags[200], (Bytes{0}));
  // No model description: "UKV  "; protocol revision 10; the fixed text.
  const Bytes& device = tags[14];
  ASSERT_EQ(device.size(), 36u);
  EXPECT_EQ(std::string(device.begin() + 8, device.begin() + 13), "UKV  ");
  EXPECT_EQ(device[6], 1);
  EXPECT_EQ(device[7], 100);
  EXPECT_EQ(device[14], 10);
  EXPECT_EQ(std::string(device.begin() + 19, device.begin() + 34), "255.255.255.255");
  EXPECT_EQ(device[35], 0);
}

TEST(Writer, SectionOneIsPaddedToEvenLengthAfterTheTerminator) {
  TempFolder folder;
  for (const char16_t* name : {u"Ab", u"Abc"}) {
    WriterProbe w;
    w.HaveSection1();
    w.m_patientInfo.m_lastName = name;
    Bytes record = WriteModel(w, folder.File("pad.scp"));
    const uint32_t length = record[6 + 16 + 10 + 2] | (record[6 + 16 + 10 + 3] << 8);
    EXPECT_EQ(length % 2, 0u);
    const uint32_t position = record[6 + 16 + 10 + 6] | (record[6 + 16 + 10 + 7] << 8);
    const size_t end = position - 1 + length;
    // The terminator sits right before the end, or before one zero byte.
    const bool padded = record[end - 1] == 0 && record[end - 4] == 255;
    const bool exact = record[end - 3] == 255 && record[end - 2] == 0 && record[end - 1] == 0;
    EXPECT_TRUE(padded || exact);
    EXPECT_NE(padded, exact);
  }
}

TEST(Writer, AgeHeightAndWeightUnits) {
  TempFolder folder;
  WriterProbe w;
  w.HaveSection1();
  w.m_patientInfo.m_birthYear = 2000;
  w.m_patientInfo.m_birthMonth = 11;
  w.m_recordInfo.m_year = 2001;
  w.m_recordInfo.m_month = 3;
  w.m_patientInfo.m_height = 1755;
  w.m_patientInfo.m_weight = 1999;
  auto tags = Tags(WriteModel(w, folder.File("age.scp")));
  EXPECT_EQ(tags[4], (Bytes{0, 0, 1}));
  EXPECT_EQ(tags[6], (Bytes{175, 0, 1}));
  EXPECT_EQ(tags[207], (Bytes{0xDB, 0x06}));  // 1755
  EXPECT_EQ(tags[7], (Bytes{1, 0, 1}));
  EXPECT_EQ(tags[206], (Bytes{0xCF, 0x07, 0, 0}));  // 1999

  WriterProbe later;
  later.HaveSection1();
  later.m_patientInfo.m_birthYear = 1950;
  later.m_patientInfo.m_birthMonth = 2;
  later.m_recordInfo.m_year = 2026;  // month unknown: whole-year difference
  auto tags2 = Tags(WriteModel(later, folder.File("age2.scp")));
  EXPECT_EQ(tags2[4], (Bytes{76, 0, 1}));

  WriterProbe kept;  // no birth month: a tag 4 read from the source goes back
  kept.HaveSection1();
  kept.m_unknownTags.Allocate(4, 3);
  kept.m_unknownTags.m_values[4][0] = 33;
  kept.m_unknownTags.m_values[4][2] = 1;
  auto tags3 = Tags(WriteModel(kept, folder.File("age3.scp")));
  EXPECT_EQ(tags3[4], (Bytes{33, 0, 1}));
}

TEST(Writer, TextsTheCodePageLacksBecomeQuestionMarks) {
  TempFolder folder;
  WriterProbe w;
  w.HaveSection1();
  w.m_patientInfo.m_lastName = u"\u5C71\u7530 Jos\u00E9";
  auto tags = Tags(WriteModel(w, folder.File("cp.scp")));
  EXPECT_EQ(tags[0], (Bytes{'?', '?', ' ', 'J', 'o', 's', 0xE9, 0}));
}

TEST(Writer, NeedsSectionOneDataAndRoomInTheTable) {
  WriterProbe w;
  EXPECT_FALSE(w.CreateSec1());
  EXPECT_EQ(GetLastError(), kErrorNoData);
  EXPECT_FALSE(w.CreateSec3_6(true));
  EXPECT_EQ(GetLastError(), kErrorNoData);
  EXPECT_FALSE(w.CreateSec5());
  EXPECT_EQ(GetLastError(), kErrorNoData);
  w.HaveSection1();
  for (int i = 0; i < 11; ++i) ASSERT_TRUE(w.CreateSec1());
  EXPECT_FALSE(w.CreateSec1());  // the 13th entry needs capacity that was not made
  EXPECT_EQ(GetLastError(), kErrorOutOfStructures);
  EXPECT_EQ(w.GetStoredSections().m_count, 12u);
  EXPECT_FALSE(w.StoreSectionHeader(12));
  EXPECT_EQ(GetLastError(), kErrorOutOfStructures);
}

void FillLeads(WriterProbe& w, int leads, int samples) {
  w.m_loaded |= kSection3Bit | kSection6Bit | kSection5Bit;
  ASSERT_TRUE(w.m_leadDefinitions.Allocate(static_cast<uint32_t>(leads)));
  w.m_leadDefinitions.m_flags = static_cast<uint8_t>(0x04 | (leads << 3));
  const uint8_t codes[] = {1, 2, 3, 4, 5, 6, 7, 8};
  ASSERT_TRUE(w.m_rhythmData.Allocate(static_cast<uint32_t>(leads)));
  ASSERT_TRUE(w.m_medianData.Allocate(static_cast<uint32_t>(leads)));
  w.m_rhythmData.m_amplitudeMultiplier = 5000;
  w.m_rhythmData.m_sampleInterval = 2000;
  w.m_medianData.m_amplitudeMultiplier = 5000;
  w.m_medianData.m_sampleInterval = 2000;
  for (int l = 0; l < leads; ++l) {
    w.m_leadDefinitions.m_leads[l] = {1, static_cast<uint32_t>(samples), codes[l]};
    ASSERT_TRUE(w.m_rhythmData.AllocateLead(static_cast<uint32_t>(l), static_cast<uint32_t>(samples)));
    ASSERT_TRUE(w.m_medianData.AllocateLead(static_cast<uint32_t>(l), 600));
    for (int i = 0; i < samples; ++i) {
      w.m_rhythmData.m_samples[l][i] = static_cast<int16_t>((i * 37 + l * 1000) % 4000 - 2000);
    }
    for (int i = 0; i < 600; ++i) w.m_medianData.m_samples[l][i] = static_cast<int16_t>(-i * l);
  }
  w.m_rhythmReady = true;
  w.m_medianReady = true;
}

TEST(Writer, SampleSectionsRoundTripAndFileOrderFollowsSectionZero) {
  TempFolder folder;
  WriterProbe w;
  w.HaveSection1();
  FillLeads(w, 8, 5000);
  ASSERT_TRUE(w.CreateSec1());
  ASSERT_TRUE(w.CreateSec3_6(true));
  ASSERT_TRUE(w.CreateSec5());
  const std::string path = folder.File("leads.scp");
  ASSERT_TRUE(w.WriteSections(path.c_str()));
  EXPECT_EQ(w.GetStoredSections().m_count, 1u);  // emptied after writing

  CReader r;
  int16_t loaded = 0;
  ASSERT_TRUE(r.Load(path, loaded, static_cast<int16_t>(kAllSectionBits)));
  EXPECT_EQ(loaded & (kSection3Bit | kSection5Bit | kSection6Bit),
            kSection3Bit | kSection5Bit | kSection6Bit);
  const SEncodedData* rhythm = r.GetRhythmDataPtr();
  ASSERT_NE(rhythm, nullptr);
  ASSERT_EQ(rhythm->m_leadCount, 8);
  EXPECT_EQ(rhythm->m_amplitudeMultiplier, 5000);
  for (int l = 0; l < 8; ++l) {
    ASSERT_EQ(rhythm->SampleCount(static_cast<uint32_t>(l)), 5000);
    for (int i = 0; i < 5000; i += 97) {
      EXPECT_EQ(rhythm->Samples(static_cast<uint32_t>(l))[i], w.m_rhythmData.m_samples[l][i]);
    }
  }
  EXPECT_EQ(r.GetMedianDataPtr()->Samples(3)[599], -599 * 3);
  EXPECT_EQ(r.GetLeadDefinitionsPtr()->m_leads[7].m_leadId, 8);

  // Positions ascend in index order: 0, 1, 3, 5, 6.
  const auto& index = r.GetSectionIndexes();
  uint32_t last = 0;
  for (uint32_t i = 0; i < index.m_count; ++i) {
    const SIndexEntry* e = index.Entry(i);
    if (e->m_length == 0) {
      EXPECT_EQ(+e->m_position, 0u);
      continue;
    }
    EXPECT_GT(+e->m_position, last);
    last = e->m_position;
  }
  // Section versions: 11 for Section 1, 10 for 0, 3, 5 and 6.
  Bytes bytes = ReadFile(path);
  for (uint32_t i = 0; i < index.m_count; ++i) {
    const SIndexEntry* e = index.Entry(i);
    if (e->m_length == 0) continue;
    EXPECT_EQ(bytes[e->m_position - 1 + 8], e->m_id == 1 ? 11 : 10) << e->m_id;
    EXPECT_EQ(bytes[e->m_position - 1 + 9], 0) << e->m_id;
  }
}

TEST(Writer, EmptyRecordIs142BytesAndNeedsNoOpenFile) {
  TempFolder folder;
  const std::string path = folder.File("empty.scp");
  CWriter w;
  ASSERT_TRUE(w.CreateEmpty(path.c_str()));
  Bytes bytes = ReadFile(path);
  ASSERT_EQ(bytes.size(), 142u);
  bool valid = false;
  ASSERT_TRUE(CReader::ReadCRCCheck(path, valid));
  EXPECT_TRUE(valid);
  CReader r;
  int16_t loaded = 0;
  ASSERT_TRUE(r.Load(path, loaded, static_cast<int16_t>(kAllSectionBits)));
  EXPECT_EQ(loaded, kSection0Bit);
  EXPECT_EQ(r.GetSectionIndexes().m_count, 12u);
  EXPECT_FALSE(w.CreateEmpty(nullptr));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);

  WriterProbe open;
  ASSERT_TRUE(open.OpenRd(path.c_str(), false));
  const std::string other = folder.File("other.scp");
  EXPECT_FALSE(open.CreateEmpty(other.c_str()));
  EXPECT_EQ(GetLastError(), kErrorInvalidAccess);
  EXPECT_EQ(ReadFile(path).size(), 142u);
}

TEST(Writer, OpenForReadingRefusesShortFiles) {
  TempFolder folder;
  Bytes bytes = TypicalRecord();
  bytes.resize(bytes.size() - 10);
  const std::string path = folder.Write("short.scp", bytes);
  WriterProbe w;
  EXPECT_FALSE(w.OpenRd(path.c_str(), false));
  EXPECT_EQ(GetLastError(), kErrorInvalidData);
  EXPECT_FALSE(w.OpenRd(path.c_str(), true));
  EXPECT_EQ(GetLastError(), kErrorInvalidData);
  EXPECT_FALSE(w.OpenRd(nullptr, false));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
}

TEST(Writer, GuidsAreRandomVersionFourInTheStatedFormat) {
  const std::regex format("\\{[0-9A-F]{8}-[0-9A-F]{4}-4[0-9a-f]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}\\}");
  std::string a = CWriter::GenerateGuid(), b = CWriter::GenerateGuid();
  EXPECT_TRUE(std::regex_match(a, format)) << a;
  EXPECT_TRUE(std::regex_match(b, format)) << b;
  EXPECT_NE(a, b);
}

TEST(Writer, NumberedEventFileNames) {
  char out[CWriter::kEventFileNameSize];
  struct Case {
    int16_t n;
    const char* expected;
  } cases[] = {{0, "/data/ev/event.a.scp"},   {25, "/data/ev/event.z.scp"},
               {26, "/data/ev/event.ab.scp"}, {27, "/data/ev/event.bb.scp"},
               {675, "/data/ev/event.zz.scp"}, {676, "/data/ev/event.aab.scp"}};
  for (const auto& c : cases) {
    CWriter::CreateEventFileName(out, "/data/ev/event.scp", c.n);
    EXPECT_STREQ(out, c.expected) << c.n;
  }
  CWriter::CreateEventFileName(out, "noext", 1);
  EXPECT_STREQ(out, "noext.b");
  const std::string long_name = "/d/" + std::string(300, 'x') + ".scp";
  CWriter::CreateEventFileName(out, long_name.c_str(), 30);
  const std::string result(out);
  EXPECT_LE(result.size(), 259u);
  EXPECT_EQ(result.substr(0, 3), "/d/");
  EXPECT_EQ(result.substr(result.size() - 7), ".eb.scp");
  std::strcpy(out, "untouched");
  CWriter::CreateEventFileName(out, nullptr, 1);
  EXPECT_STREQ(out, "untouched");
}

}  // namespace
