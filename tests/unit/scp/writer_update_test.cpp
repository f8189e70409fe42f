// In-place updates: one fact changes, everything else stays byte for byte,
// and a failed update leaves the record as it was.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/byte_stream.h"
#include "platform/last_error.h"
#include "scp/writer.h"
#include "support/record_builder.h"
#include "support/test_files.h"

using namespace ecg::platform;
using namespace ecg::test;

namespace {

Bytes Section3(const std::vector<uint8_t>& codes, uint32_t samples) {
  Bytes b = {static_cast<uint8_t>(codes.size()), static_cast<uint8_t>(0x04 | (codes.size() << 3))};
  for (uint8_t code : codes) {
    PutU32(b, 1);
    PutU32(b, samples);
    b.push_back(code);
  }
  return b;
}

// Sample section: per lead a function of the sample index.
Bytes SampleSection(size_t leads, uint32_t samples, int16_t (*value)(size_t lead, uint32_t i)) {
  Bytes b;
  PutU16(b, 1000);  // 1 uV
  PutU16(b, 2000);  // 500 Hz
  b.push_back(0);
  b.push_back(0);
  for (size_t l = 0; l < leads; ++l) PutU16(b, static_cast<uint16_t>(samples * 2));
  for (size_t l = 0; l < leads; ++l) {
    for (uint32_t i = 0; i < samples; ++i) PutU16(b, static_cast<uint16_t>(value(l, i)));
  }
  return b;
}

int16_t Wave(size_t lead, uint32_t i) { return static_cast<int16_t>((i % 200) * (lead + 1) - 300); }

// A 12-lead cart record with analysis sections, a vendor section and a
// Section 1 tag nobody here interprets.
Bytes CartRecord(bool with_section1 = true) {
  RecordBuilder b;
  if (with_section1) {
    TagWriter t = TypicalSection1();
    TagWriter with_vendor_tag;
    Bytes tags = t.bytes();
    tags.resize(tags.size() - 3);  // drop the end tag
    with_vendor_tag.Raw(tags).Tag(150, {1, 2, 3, 4, 5}).End();
    b.AddSection1(with_vendor_tag);
  }
  b.AddSection(3, Section3({1, 2, 3, 4, 5, 6, 7, 8}, 1000));
  b.AddSection(6, SampleSection(8, 1000, Wave));
  b.AddSection(7, Bytes(40, 7));
  b.AddSection(10, Bytes(30, 10));
  b.AddSection(11, Bytes(12, 11));
  SectionSpec vendor;
  vendor.id = 128;
  vendor.content = Bytes(21, 0x80);  // odd length, kept as it is
  vendor.section_version = 3;
  b.Add(vendor);
  return b.Build();
}

bool RecordValid(const std::string& path) {
  bool valid = false;
  return CReader::ReadCRCCheck(path, valid) && valid;
}

struct Loaded {
  CReader reader;
  int16_t bits = 0;
  explicit Loaded(const std::string& path) {
    reader.Load(path, bits, static_cast<int16_t>(kAllSectionBits));
  }
  CGeneralInfo& general() { return *reader.GetGeneralInfoPtr(); }
  CRecordInfo& recording() { return *reader.GetRecordingInfoPtr(); }
  CPatientInfo& patient() { return *reader.GetPatientInfoPtr(); }
};

TEST(Update, CommentChangesSectionOneOnlyAndKeepsEverythingElseByteForByte) {
  TempFolder folder;
  const Bytes before = CartRecord();
  const std::string path = folder.Write("cart.scp", before);
  CWriter w;
  w.SelectWriter(u"Tidemark ECG", u"0.1");
  ASSERT_TRUE(w.UpdateCommentText(path.c_str(), u"Compare with last year")) << GetLastError();
  const Bytes after = ReadFile(path);
  EXPECT_TRUE(RecordValid(path));

  auto old_sections = SplitSections(before), new_sections = SplitSections(after);
  for (uint16_t id : {3, 6, 7, 10, 11, 128}) {
    ASSERT_TRUE(new_sections.count(id)) << id;
    EXPECT_EQ(new_sections[id], old_sections[id]) << "section " << id;
  }
  Loaded l(path);
  EXPECT_EQ(*l.general().m_comment, u"Compare with last year");
  EXPECT_EQ(*l.patient().m_lastName, u"Lindqvist");
  EXPECT_EQ(l.recording().m_deviceId, 4711);
  EXPECT_EQ(*l.general().m_editingApplication, u"Tidemark ECG");
  EXPECT_EQ(*l.general().m_editingVersion, u"0.1");
  EXPECT_FALSE(l.general().m_creatingApplication.has_value());  // kept as read: none
  const SUnknownTags& tags = l.reader.GetUnknownTags();
  ASSERT_EQ(tags.m_lengths[150], 5);
  EXPECT_EQ(tags.m_values[150][4], 5);
  EXPECT_EQ(l.reader.GetSectionIndexes().m_count, 13u);  // 0-11 and 128
  EXPECT_TRUE(l.bits & kSection6Bit);
}

TEST(Update, WithoutAWriterIdentityTheEditorTagsAreLeftOut) {
  TempFolder folder;
  const std::string path = folder.Write("cart.scp", CartRecord());
  CWriter w;
  ASSERT_TRUE(w.UpdateRecordingId(path.c_str(), u"ID-5"));
  Loaded l(path);
  EXPECT_EQ(*l.general().m_recordingId, u"ID-5");
  EXPECT_FALSE(l.general().m_editingApplication.has_value());
  EXPECT_FALSE(l.general().m_editingVersion.has_value());
}

TEST(Update, RecordWithoutSectionOneGetsOne) {
  TempFolder folder;
  const std::string path = folder.Write("no1.scp", CartRecord(false));
  CWriter w;
  ASSERT_TRUE(w.UpdateInterpretationText(path.c_str(), u"Normal ECG"));
  EXPECT_TRUE(RecordValid(path));
  Loaded l(path);
  ASSERT_TRUE(l.bits & kSection1Bit);
  EXPECT_EQ(*l.general().m_interpretation, u"Normal ECG");
  EXPECT_EQ(l.general().m_interpretationEdited, 1);
  EXPECT_TRUE(SplitSections(ReadFile(path)).count(128));
}

TEST(Update, EveryTextAndFlagOperation) {
  TempFolder folder;
  const std::string path = folder.Write("cart.scp", CartRecord());
  CWriter w;
  ASSERT_TRUE(w.UpdateRecordingLocation(path.c_str(), u"Room 9"));
  ASSERT_TRUE(w.UpdateInterpretationApp(path.c_str(), u"Engine"));
  ASSERT_TRUE(w.UpdateInterpretationVer(path.c_str(), u"2.0"));
  ASSERT_TRUE(w.UpdateRecordingApp(path.c_str(), u"Recorder"));
  ASSERT_TRUE(w.UpdateRecordingVer(path.c_str(), u"1.1"));
  SDateTime received{2026, 12, 5, 10, 11, 12};
  ASSERT_TRUE(w.UpdateReceived(path.c_str(), &received));
  ASSERT_TRUE(w.UpdateInterpretationConfirmed(path.c_str(), 5));
  ASSERT_TRUE(w.UpdatePhysicianName(path.c_str(), 0, u"Dr Ash"));
  ASSERT_TRUE(w.UpdatePhysicianName(path.c_str(), 1, u"Dr Birch"));
  ASSERT_TRUE(w.UpdatePhysicianName(path.c_str(), 2, u"Dr Cedar"));
  ASSERT_TRUE(w.UpdateMuscleFilter(path.c_str(), 1));
  ASSERT_TRUE(w.UpdateBaselineFilter(path.c_str(), 1));
  ASSERT_TRUE(w.UpdatePowerFilter(path.c_str(), 60));
  ASSERT_TRUE(w.UpdatePowerFilter(path.c_str(), 50));
  Loaded l(path);
  const CGeneralInfo& g = l.general();
  EXPECT_EQ(*g.m_recordingLocation, u"Room 9");
  EXPECT_EQ(*g.m_interpretationApplication, u"Engine");
  EXPECT_EQ(*g.m_interpretationVersion, u"2.0");
  EXPECT_EQ(*g.m_recordingApplication, u"Recorder");
  EXPECT_EQ(*g.m_recordingVersion, u"1.1");
  EXPECT_EQ(g.m_receivedYear, 2026);
  EXPECT_EQ(g.m_receivedSecond, 12);
  EXPECT_EQ(g.m_confirmed, 1);
  EXPECT_EQ(*g.m_confirmingPhysician, u"Dr Ash");
  EXPECT_EQ(*g.m_secondPhysician, u"Dr Birch");
  EXPECT_EQ(*g.m_thirdPhysician, u"Dr Cedar");
  EXPECT_EQ(l.recording().m_writerFilter, kWriterFilter50Hz | kWriterFilterMuscle | kWriterFilterBaseline);
  EXPECT_EQ(l.recording().m_filterBitMap, 2 + 4 + 8);  // tag 29 as it was

  ASSERT_TRUE(w.UpdatePowerFilter(path.c_str(), 0));
  ASSERT_TRUE(w.UpdateMuscleFilter(path.c_str(), 0));
  ASSERT_TRUE(w.UpdateInterpretationConfirmed(path.c_str(), 0));
  Loaded m(path);
  EXPECT_EQ(m.recording().m_writerFilter, kWriterFilterBaseline);
  EXPECT_EQ(m.general().m_confirmed, 0);
}

TEST(Update, PatientAndRecordingInformation) {
  TempFolder folder;
  const std::string path = folder.Write("cart.scp", CartRecord());
  CPatientInfo patient;
  patient.m_lastName = u"Okafor";
  patient.m_firstName = u"Ada";
  patient.m_patientId = u"X1";
  patient.m_birthYear = 1980;
  patient.m_birthMonth = 1;
  patient.m_birthDay = 2;
  patient.m_sex = 1;
  patient.m_height = 1820;
  patient.m_weight = 90500;
  CWriter w;
  ASSERT_TRUE(w.UpdateFile(path.c_str(), &patient, nullptr));
  Loaded l(path);
  EXPECT_EQ(*l.patient().m_lastName, u"Okafor");
  EXPECT_EQ(l.patient().m_height, 1820);
  EXPECT_EQ(l.patient().m_weight, 90500u);
  EXPECT_EQ(l.recording().m_deviceId, 4711);  // recording kept
  EXPECT_TRUE(l.reader.GetTagValidation());
}

TEST(Update, FailuresBeforeWritingLeaveTheFileUntouched) {
  TempFolder folder;
  const Bytes before = CartRecord();
  const std::string path = folder.Write("cart.scp", before);
  CWriter w;
  EXPECT_FALSE(w.UpdatePhysicianName(path.c_str(), 3, u"Dr X"));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_FALSE(w.UpdateReceived(path.c_str(), nullptr));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_FALSE(w.UpdateCommentText(nullptr, u"x"));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_FALSE(w.UpdateCommentText(folder.File("missing.scp").c_str(), u"x"));
  EXPECT_EQ(GetLastError(), kErrorFileNotFound);

  const std::string no_leads = folder.Write("no-leads.scp", TypicalRecord());
  EXPECT_FALSE(w.UpdateLeadErrors(no_leads.c_str()));
  EXPECT_EQ(GetLastError(), kErrorNoData);
  EXPECT_FALSE(w.UpdateCalculatedLeads(no_leads.c_str()));
  EXPECT_EQ(GetLastError(), kErrorNoData);
  EXPECT_EQ(ReadFile(no_leads), TypicalRecord());

  // A section that the index places outside the file.
  Bytes broken = before;
  const size_t entry_for_3 = 6 + 16 + 10 * 2;  // ids 0, 1, 3, ...
  broken[entry_for_3 + 8] = 0x40;
  const std::string broken_path = folder.Write("broken.scp", broken);
  EXPECT_FALSE(w.UpdateCommentText(broken_path.c_str(), u"x"));
  EXPECT_EQ(GetLastError(), kErrorInvalidData);
  EXPECT_EQ(ReadFile(broken_path), broken);
  EXPECT_EQ(ReadFile(path), before);
}

TEST(Update, AFailedWriteLeavesTheRecordAsItWasAndNoTemporaryFile) {
  TempFolder folder;
  const Bytes before = CartRecord();
  const std::string path = folder.Write("cart.scp", before);
  CWriter w;
  for (uint64_t budget : {uint64_t{0}, uint64_t{100}, uint64_t{before.size() / 2}}) {
    InjectWriteFailureAfter(budget);
    EXPECT_FALSE(w.UpdateCommentText(path.c_str(), u"lost"));
    InjectWriteFailureAfter(UINT64_MAX);
    EXPECT_EQ(GetLastError(), kErrorDiskFull) << budget;
    EXPECT_EQ(ReadFile(path), before) << budget;
    size_t files = 0;
    for (const auto& e : std::filesystem::directory_iterator(folder.path())) {
      (void)e;
      ++files;
    }
    EXPECT_EQ(files, 1u) << budget;
  }
  EXPECT_TRUE(w.UpdateCommentText(path.c_str(), u"kept"));
}

TEST(Update, CrcRepairFixesEveryCrcAndKeepsTheContents) {
  RecordBuilder b;
  for (uint16_t id : {1, 3, 7}) {
    SectionSpec s;
    s.id = id;
    s.content = id == 1 ? TypicalSection1().bytes() : Bytes(24, static_cast<uint8_t>(id));
    s.wrong_crc = true;
    b.Add(s);
  }
  b.WrongRecordCrc();
  const Bytes before = b.Build();
  TempFolder folder;
  const std::string path = folder.Write("crc.scp", before);
  EXPECT_FALSE(RecordValid(path));
  CWriter w;
  ASSERT_TRUE(w.UpdateCRC(path.c_str()));
  EXPECT_TRUE(RecordValid(path));
  auto old_sections = SplitSections(before), new_sections = SplitSections(ReadFile(path));
  for (uint16_t id : {1, 3, 7}) {
    ASSERT_TRUE(new_sections.count(id));
    // Same bytes after the CRC.
    EXPECT_TRUE(std::equal(old_sections[id].begin() + 2, old_sections[id].end(),
                           new_sections[id].begin() + 2, new_sections[id].end()))
        << id;
  }
}

TEST(Update, CalculatedLeadsAddTheLimbLeadsToTheStoredRecord) {
  TempFolder folder;
  const std::string path = folder.Write("cart.scp", CartRecord());
  CWriter w;
  ASSERT_TRUE(w.UpdateCalculatedLeads(path.c_str())) << GetLastError();
  EXPECT_TRUE(RecordValid(path));
  Loaded l(path);
  const SLeadDefinitions* leads = l.reader.GetLeadDefinitionsPtr();
  ASSERT_NE(leads, nullptr);
  ASSERT_EQ(leads->m_count, 12);
  const SEncodedData* rhythm = l.reader.GetRhythmDataPtr();
  ASSERT_NE(rhythm, nullptr);
  const int index_iii = leads->GetIdIndexFromId(61);
  ASSERT_GE(index_iii, 0);
  ASSERT_LT(index_iii, 12);
  for (uint32_t i = 0; i < 1000; i += 37) {
    EXPECT_EQ(rhythm->Samples(static_cast<uint32_t>(index_iii))[i], Wave(1, i) - Wave(0, i)) << i;
  }
  auto sections = SplitSections(ReadFile(path));
  EXPECT_EQ(sections[7], SplitSections(CartRecord())[7]);
  EXPECT_TRUE(sections.count(128));

  ASSERT_TRUE(w.UpdateLeadErrors(path.c_str())) << GetLastError();
  Loaded m(path);
  EXPECT_GE(m.reader.GetLeadErrorsPtr()->m_count, 8);
}

}  // namespace
