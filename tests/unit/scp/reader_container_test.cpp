// The record container as CReader sees it: opening, Section 0, finding
// sections, CRC checks and whole-record loads.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/last_error.h"
#include "scp/reader.h"
#include "support/record_builder.h"
#include "support/test_files.h"

using namespace ecg::platform;
using namespace ecg::test;

namespace {

// Opens the low-level operations up to the tests.
class ReaderProbe : public CReader {
 public:
  using CReader::CheckCRC;
  using CReader::GetCRC;
  using CReader::GetChecksum;
  using CReader::GetPosition;
  using CReader::GetSection;
  using CReader::GetSection0;
  using CReader::Open;
  using CReader::AddPosition;
  using CReader::SetPosition;
};

RecordSource Mem(const Bytes& bytes) { return RecordSource::Memory(bytes); }

constexpr int16_t kWantAll = static_cast<int16_t>(kAllSectionBits);

Bytes RecordWithSections(int extra_ids) {
  RecordBuilder b;
  b.AddSection1(TypicalSection1());
  for (int i = 0; i < extra_ids; ++i) b.AddSection(static_cast<uint16_t>(200 + i), Bytes(4, 0xAB));
  return b.Build();
}

TEST(ReaderOpen, FileShorterThanItsRecordLengthIsInvalidData) {
  Bytes bytes = TypicalRecord();
  bytes.pop_back();  // the header still claims the full length
  FileHandle handle;
  SRecordHeader header;
  EXPECT_FALSE(ReaderProbe::Open(handle, Mem(bytes), &header));
  EXPECT_EQ(GetLastError(), kErrorInvalidData);
  EXPECT_FALSE(handle);
}

TEST(ReaderOpen, MissingArgumentsAndMissingFiles) {
  FileHandle handle;
  SRecordHeader header;
  EXPECT_FALSE(ReaderProbe::Open(handle, nullptr, &header));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_FALSE(ReaderProbe::Open(handle, "/nonexistent/x.scp", nullptr));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_FALSE(ReaderProbe::Open(handle, "/nonexistent/x.scp", &header));
  EXPECT_EQ(GetLastError(), kErrorFileNotFound);
  TempFolder folder;
  EXPECT_FALSE(ReaderProbe::Open(handle, folder.path(), &header));  // a folder
  EXPECT_EQ(GetLastError(), kErrorAccessDenied);
  EXPECT_FALSE(ReaderProbe::Open(handle, Mem(Bytes{1, 2, 3}), &header));  // no full header
  EXPECT_EQ(GetLastError(), kErrorInvalidData);
}

TEST(ReaderSection0, TwelveEntriesStayInlineAndTheThirteenthOverflows) {
  for (int extra : {0, 1}) {
    // Ids 0-11 are listed by default; one more section makes 13 entries.
    Bytes bytes = RecordWithSections(extra);
    FileHandle handle;
    SRecordHeader header;
    ASSERT_TRUE(ReaderProbe::Open(handle, Mem(bytes), &header));
    SSectionIndexes index;
    ASSERT_TRUE(ReaderProbe::GetSection0(handle, &index));
    EXPECT_EQ(index.m_count, 12u + extra);
    EXPECT_EQ(index.m_overflowCount, static_cast<uint32_t>(extra));
    if (extra == 1) {
      EXPECT_EQ(index.m_overflow[0].m_id, 11);  // ids 0, 1, 200, then 2..11
      SSectionHeader section;
      ASSERT_TRUE(ReaderProbe::GetSection(handle, &index, 200, &section));
      EXPECT_EQ(section.m_length, 20u);
    }
  }
}

TEST(ReaderSection0, IndexThatDoesNotStartWithSectionZeroFailsTheLoad) {
  RecordBuilder b;
  b.AddSection1(TypicalSection1()).FirstIndexId(4);
  CReader reader;
  int16_t loaded = -1;
  EXPECT_FALSE(reader.Load(Mem(b.Build()), loaded, kWantAll));
  EXPECT_EQ(GetLastError(), kErrorInvalidData);
  EXPECT_EQ(loaded, 0);
  EXPECT_EQ(reader.GetLoadedSections(), 0);
}

TEST(ReaderSection0, SectionZeroHeaderWithAnotherIdIsInvalid) {
  Bytes bytes = TypicalRecord();
  bytes[6 + 2] = 1;  // Section 0's header claims id 1
  FixCrcs(bytes);
  CReader reader;
  int16_t loaded = 0;
  EXPECT_FALSE(reader.Load(Mem(bytes), loaded, kWantAll));
  EXPECT_EQ(GetLastError(), kErrorInvalidData);
}

TEST(ReaderSection0, MoreThan255EntriesIsOutOfStructures) {
  RecordBuilder b;
  std::vector<uint16_t> ids;
  for (uint16_t id = 0; id < 260; ++id) ids.push_back(id);
  b.ListAbsent(ids);
  CReader reader;
  int16_t loaded = 0;
  EXPECT_FALSE(reader.Load(Mem(b.Build()), loaded, kWantAll));
  EXPECT_EQ(GetLastError(), kErrorOutOfStructures);

  // Far more entries than the overflow array may hold: refused before any
  // allocation is made for them.
  Bytes bytes = b.Build();
  bytes[6 + 4] = 0xFF;
  bytes[6 + 5] = 0xFF;
  bytes[6 + 6] = 0xFF;
  FileHandle handle;
  SRecordHeader header;
  ASSERT_TRUE(ReaderProbe::Open(handle, Mem(bytes), &header));
  SSectionIndexes index;
  EXPECT_FALSE(ReaderProbe::GetSection0(handle, &index));
  EXPECT_EQ(GetLastError(), kErrorOutOfStructures);
  EXPECT_EQ(index.m_count, 0u);
}

TEST(ReaderSection0, ShortIndexEmptiesItAndFails) {
  Bytes bytes = TypicalRecord();
  // Claim 30 entries in a file that holds far fewer bytes after Section 0.
  bytes[6 + 4] = static_cast<uint8_t>(16 + 10 * 60);
  bytes[6 + 5] = 0x01;
  FileHandle handle;
  SRecordHeader header;
  ASSERT_TRUE(ReaderProbe::Open(handle, Mem(bytes), &header));
  SSectionIndexes index;
  EXPECT_FALSE(ReaderProbe::GetSection0(handle, &index));
  EXPECT_EQ(index.m_count, 0u);
  EXPECT_EQ(index.m_overflowCount, 0u);
}

TEST(ReaderGetSection, AbsentSectionsFailWithCodeZero) {
  RecordBuilder b;
  b.AddSection1(TypicalSection1()).AddSection(3, Bytes(11, 0)).ZeroPosition(3);
  Bytes bytes = b.Build();
  FileHandle handle;
  SRecordHeader header;
  ASSERT_TRUE(ReaderProbe::Open(handle, Mem(bytes), &header));
  SSectionIndexes index;
  ASSERT_TRUE(ReaderProbe::GetSection0(handle, &index));
  SSectionHeader section;
  SetLastError(99);
  EXPECT_FALSE(ReaderProbe::GetSection(handle, &index, 6, &section));  // length 0
  EXPECT_EQ(GetLastError(), kErrorSuccess);
  SetLastError(99);
  EXPECT_FALSE(ReaderProbe::GetSection(handle, &index, 3, &section));  // position 0
  EXPECT_EQ(GetLastError(), kErrorSuccess);
  SetLastError(99);
  EXPECT_FALSE(ReaderProbe::GetSection(handle, &index, 4000, &section));  // not listed
  EXPECT_EQ(GetLastError(), kErrorSuccess);

  CReader reader;
  int16_t loaded = 0;
  ASSERT_TRUE(reader.Load(Mem(bytes), loaded, kWantAll));
  EXPECT_EQ(loaded, kSection0Bit | kSection1Bit);
  EXPECT_EQ(reader.GetLeadDefinitionsPtr(), nullptr);
  EXPECT_EQ(GetLastError(), kErrorNoData);
}

TEST(ReaderGetSection, HeaderWithAnotherIdIsStillReadWithBadFormatNoted) {
  SectionSpec s1;
  s1.id = 1;
  s1.content = TypicalSection1().bytes();
  s1.header_id = 9;
  RecordBuilder b;
  b.Add(s1);
  Bytes bytes = b.Build();
  FileHandle handle;
  SRecordHeader header;
  ASSERT_TRUE(ReaderProbe::Open(handle, Mem(bytes), &header));
  SSectionIndexes index;
  ASSERT_TRUE(ReaderProbe::GetSection0(handle, &index));
  SSectionHeader section;
  ASSERT_TRUE(ReaderProbe::GetSection(handle, &index, 1, &section));
  EXPECT_EQ(GetLastError(), kErrorBadFormat);
  EXPECT_EQ(section.m_id, 9);

  CReader reader;
  int16_t loaded = 0;
  ASSERT_TRUE(reader.Load(Mem(bytes), loaded, kWantAll));
  EXPECT_TRUE(loaded & kSection1Bit);
  ASSERT_NE(reader.GetPatientInfoPtr(), nullptr);
  EXPECT_EQ(*reader.GetPatientInfoPtr()->m_lastName, u"Lindqvist");
}

TEST(ReaderPositions, OneBasedPositionAndMoves) {
  Bytes bytes = TypicalRecord();
  FileHandle handle;
  SRecordHeader header;
  ASSERT_TRUE(ReaderProbe::Open(handle, Mem(bytes), &header));
  uint32_t position = 0;
  ASSERT_TRUE(ReaderProbe::GetPosition(handle, &position));
  EXPECT_EQ(position, 7u);  // after the 6-byte record header
  ASSERT_TRUE(ReaderProbe::AddPosition(handle, 10));
  ASSERT_TRUE(ReaderProbe::GetPosition(handle, &position));
  EXPECT_EQ(position, 17u);
  EXPECT_FALSE(ReaderProbe::AddPosition(handle, -100));
  ASSERT_TRUE(ReaderProbe::SetPosition(handle, 0));
  ASSERT_TRUE(ReaderProbe::GetPosition(handle, &position));
  EXPECT_EQ(position, 1u);
}

TEST(ReaderCrc, GetCrcAndChecksumFeedFromAPositionInBlocks) {
  Bytes bytes(5000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7);
  bytes[2] = 0x88;  // record length 5000 at bytes 2..5
  bytes[3] = 0x13;
  bytes[4] = 0;
  bytes[5] = 0;
  FileHandle handle;
  SRecordHeader header;
  ASSERT_TRUE(ReaderProbe::Open(handle, Mem(bytes), &header));
  CCRC crc;
  ASSERT_TRUE(ReaderProbe::GetCRC(handle, crc, 3000, 100));
  EXPECT_EQ(crc.GetCRC(), CCRC::Compute(bytes.data() + 100, 3000));
  CCRC sum;
  ASSERT_TRUE(ReaderProbe::GetChecksum(handle, sum, 3, 1));
  EXPECT_EQ(sum.GetChecksum(), static_cast<uint8_t>(bytes[1] + bytes[2] + bytes[3]));
  CCRC none;
  EXPECT_TRUE(ReaderProbe::GetCRC(handle, none, 0, 999999));
  EXPECT_EQ(none.GetCRC(), 0xFFFF);
  EXPECT_FALSE(ReaderProbe::GetCRC(handle, none, 10, 4995));  // past the end
}

struct CrcOutcome {
  bool checked;
  bool valid;
};

CrcOutcome Check(const Bytes& bytes) {
  bool valid = true;
  bool checked = CReader::ReadCRCCheck(Mem(bytes), valid);
  return {checked, valid};
}

TEST(ReaderCrc, ValidRecordPasses) {
  RecordBuilder b;
  b.AddSection1(TypicalSection1()).AddSection(2, Bytes(10, 1)).AddSection(3, Bytes(20, 2));
  auto outcome = Check(b.Build());
  EXPECT_TRUE(outcome.checked);
  EXPECT_TRUE(outcome.valid);
}

TEST(ReaderCrc, ByteChangedInSectionTwoFailsOnlyTheRecordCrc) {
  RecordBuilder b;
  b.AddSection1(TypicalSection1()).AddSection(2, Bytes(10, 1));
  Bytes bytes = b.Build();
  bytes[bytes.size() - 3] ^= 0x40;  // inside Section 2, whose CRC is not checked
  auto outcome = Check(bytes);
  EXPECT_TRUE(outcome.checked);
  EXPECT_FALSE(outcome.valid);

  CReader::SCrcReport report;
  ASSERT_TRUE(CReader::ReadCRCReport(Mem(bytes), report));
  EXPECT_FALSE(report.recordValid);
  for (const auto& e : report.entries) {
    if (e.id == 0 || e.id == 1) {
      EXPECT_TRUE(e.valid) << e.id;
    }
    if (e.id == 2) {
      EXPECT_FALSE(e.checked);
      EXPECT_FALSE(e.valid);
    }
  }
}

TEST(ReaderCrc, WrongSectionOneCrcUnderARightRecordCrcIsInvalid) {
  SectionSpec s1;
  s1.id = 1;
  s1.content = TypicalSection1().bytes();
  s1.wrong_crc = true;
  RecordBuilder b;
  b.Add(s1);
  auto outcome = Check(b.Build());  // the record CRC is computed over the wrong one
  EXPECT_TRUE(outcome.checked);
  EXPECT_FALSE(outcome.valid);
}

TEST(ReaderCrc, WrongRecordCrcAndUncheckedSectionIds) {
  RecordBuilder wrong;
  wrong.AddSection1(TypicalSection1()).WrongRecordCrc();
  EXPECT_FALSE(Check(wrong.Build()).valid);

  // Sections 2, 4, 8 and ids from 11 up are not checked.
  for (uint16_t id : {2, 4, 8, 11, 12, 128}) {
    SectionSpec s;
    s.id = id;
    s.content = Bytes(6, 3);
    s.wrong_crc = true;
    RecordBuilder b;
    b.AddSection1(TypicalSection1()).Add(s);
    EXPECT_TRUE(Check(b.Build()).valid) << id;
  }
  for (uint16_t id : {3, 5, 6, 7, 9, 10}) {
    SectionSpec s;
    s.id = id;
    s.content = Bytes(6, 3);
    s.wrong_crc = true;
    RecordBuilder b;
    b.AddSection1(TypicalSection1()).Add(s);
    EXPECT_FALSE(Check(b.Build()).valid) << id;
  }
}

TEST(ReaderCrc, SectionOutsideTheFileCannotBeChecked) {
  Bytes bytes = TypicalRecord();
  // Section 1's index entry (second entry) points past the end of the file.
  const size_t entry = 6 + 16 + 10;
  bytes[entry + 6] = 0x00;
  bytes[entry + 7] = 0x10;
  FixCrcs(bytes);
  auto outcome = Check(bytes);
  EXPECT_FALSE(outcome.checked);
  EXPECT_FALSE(outcome.valid);

  FileHandle handle;
  bool valid = true;
  EXPECT_FALSE(ReaderProbe::CheckCRC(handle, valid, nullptr, nullptr));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_FALSE(valid);
}

TEST(ReaderLoad, ArgumentsAndWantedBits) {
  CReader reader;
  int16_t loaded = 5;
  EXPECT_FALSE(reader.Load(nullptr, loaded, kWantAll));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_EQ(loaded, 0);
  EXPECT_FALSE(reader.Load(Mem(TypicalRecord()), loaded, 0));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);

  ASSERT_TRUE(reader.Load(Mem(TypicalRecord()), loaded, kSection0Bit));
  EXPECT_EQ(loaded, kSection0Bit);
  EXPECT_EQ(reader.GetPatientInfoPtr(), nullptr);
  EXPECT_EQ(GetLastError(), kErrorNoData);
  EXPECT_FALSE(reader.GetTagValidation());
}

TEST(ReaderLoad, SecondLoadStartsOverAndUnloadClearsEverything) {
  CReader reader;
  int16_t loaded = 0;
  ASSERT_TRUE(reader.Load(Mem(TypicalRecord()), loaded, kWantAll));
  ASSERT_NE(reader.GetPatientInfoPtr(), nullptr);
  EXPECT_TRUE(reader.GetTagValidation());

  TagWriter other;
  other.Text(0, "Okafor").End();
  RecordBuilder b;
  b.AddSection1(other);
  ASSERT_TRUE(reader.Load(Mem(b.Build()), loaded, kWantAll));
  EXPECT_EQ(*reader.GetPatientInfoPtr()->m_lastName, u"Okafor");
  EXPECT_EQ(*reader.GetPatientInfoPtr()->m_firstName, u"");
  EXPECT_EQ(reader.GetLeadErrorsPtr()->m_count, 0);
  EXPECT_FALSE(reader.GetTagValidation());

  reader.Unload();
  EXPECT_EQ(reader.GetLoadedSections(), 0);
  EXPECT_EQ(reader.GetSectionIndexes().m_count, 0u);
  EXPECT_EQ(reader.GetGeneralInfoPtr(), nullptr);
}

TEST(ReaderLoad, KillSectionResetsOnlyItsBitsAndKeepsTheErrorCode) {
  CReader reader;
  int16_t loaded = 0;
  ASSERT_TRUE(reader.Load(Mem(TypicalRecord()), loaded, kWantAll));
  SetLastError(4242);
  reader.KillSection(kSection1Bit);
  EXPECT_EQ(GetLastError(), 4242u);
  EXPECT_EQ(reader.GetLoadedSections(), kSection0Bit);
  EXPECT_FALSE(reader.GetTagValidation());
  EXPECT_EQ(reader.GetSectionIndexes().m_count, 12u);
}

TEST(ReaderLoad, FromAFileOnDisk) {
  TempFolder folder;
  std::string path = folder.Write("typical.scp", TypicalRecord());
  CReader reader;
  int16_t loaded = 0;
  ASSERT_TRUE(reader.Load(path, loaded, kWantAll));
  EXPECT_EQ(reader.GetRecordHeader().m_length, TypicalRecord().size());
  bool valid = false;
  EXPECT_TRUE(CReader::ReadCRCCheck(path, valid));
  EXPECT_TRUE(valid);
}

TEST(ReaderForeignRecords, RecordsFromOtherSystemsCheckAndLoadTheirHeaders) {
  std::string data = SharedDataFolder();
  if (data.empty()) GTEST_SKIP() << "shared reference data not found (../shared/data)";
  namespace fs = std::filesystem;
  int seen = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(data) / "scp-foreign")) {
    std::string name = entry.path().filename().string();
    std::string ext = entry.path().extension().string();
    if (ext != ".scp" && ext != ".SCP") continue;
    ++seen;
    bool valid = false;
    ASSERT_TRUE(CReader::ReadCRCCheck(entry.path().string(), valid)) << name;
    const bool corrupt = name.find("corrupt") != std::string::npos;
    EXPECT_EQ(valid, !corrupt) << name;
    CReader reader;
    int16_t loaded = 0;
    ASSERT_TRUE(reader.Load(entry.path().string(), loaded, kWantAll)) << name;
    if (!corrupt) {
      EXPECT_TRUE(loaded & kSection1Bit) << name;
    }
  }
  EXPECT_GE(seen, 5);
}

}  // namespace
