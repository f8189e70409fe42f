// Loading whole records: every section reader through Load, resets of
// sections that fail, KillSection and Unload.

#include <gtest/gtest.h>

#include "platform/last_error.h"
#include "scp/reader.h"
#include "support/section_builders.h"
#include "support/test_files.h"

using namespace ecg::platform;
using namespace ecg::test;

namespace {

constexpr int16_t kEverySection = kAllSectionBits;

TEST(WholeRecordLoad, SyntheticTwelveLeadRecord) {
  const Bytes bytes = SyntheticEcgRecord();
  CReader reader;
  int16_t loaded = 0;
  ASSERT_TRUE(reader.Load(RecordSource::Memory(bytes), loaded, kEverySection));
  EXPECT_EQ(loaded, kEverySection);
  EXPECT_EQ(reader.SectionFlag(), kEverySection);

  const SLeadDefinitions* d = reader.GetLeadDefinitionsPtr();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->m_count, 12);
  const SEncodedData* rhythm = reader.GetRhythmDataPtr();
  ASSERT_NE(rhythm, nullptr);
  EXPECT_EQ(rhythm->m_leadCount, 12);
  EXPECT_EQ(rhythm->SampleCount(11), 5000);
  EXPECT_EQ(std::vector<int16_t>(rhythm->Samples(0), rhythm->Samples(0) + 5000),
            SyntheticLead(1, 5000, 500));
  const SEncodedData* median = reader.GetMedianDataPtr();
  ASSERT_NE(median, nullptr);
  EXPECT_EQ(median->SampleCount(0), 600);
  const CAnalysisInfo* info = reader.GetAnalysisInfoPtr();
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->m_global.m_rr, 833);
  EXPECT_EQ(info->m_rhythmCount, 1);
  EXPECT_EQ(info->m_rhythmCodes[0], 21);
  EXPECT_EQ(info->m_morphologyCount, 2);
  const SLeadMeasurements* m = reader.GetLeadMeasurementsPtr();
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->m_count, 12);
  EXPECT_EQ(m->m_leads[11].m_leadId, 64);
  SDetails details;
  ASSERT_TRUE(reader.GetDetails(&details));
  EXPECT_EQ(details.m_rhythmSampleRate, 500);
  EXPECT_EQ(details.m_rhythmSamples, 5000u);
  EXPECT_EQ(details.m_medianSamples, 600u);
}

TEST(WholeRecordLoad, OnlyTheWantedSectionsAreRead) {
  const Bytes bytes = SyntheticEcgRecord();
  CReader reader;
  int16_t loaded = 0;
  ASSERT_TRUE(reader.Load(RecordSource::Memory(bytes), loaded, kSection6Bit | kSection10Bit));
  // Section 6 needs the definitions, which were not asked for.
  EXPECT_EQ(loaded, kSection0Bit | kSection10Bit);
  ASSERT_TRUE(
      reader.Load(RecordSource::Memory(bytes), loaded, kSection3Bit | kSection6Bit | kSection9Bit));
  EXPECT_EQ(loaded, kSection0Bit | kSection3Bit | kSection6Bit | kSection9Bit);
  // The statement codes live in the analysis information, reachable with
  // Section 7 only.
  EXPECT_EQ(reader.GetAnalysisInfoPtr(), nullptr);
  EXPECT_EQ(GetLastError(), kErrorNoData);
}

TEST(WholeRecordLoad, ABrokenSectionIsResetAndTheOthersStillLoad) {
  RecordBuilder b;
  b.AddSection1(TypicalSection1());
  b.AddSection(3, Section3({{1, 1, 3}, {2, 1, 3}}));
  SampleSection rhythm;
  rhythm.leads = {{1, 2, 3}, {4, 5}};  // fails the rhythm check
  b.AddSection(6, SampleSectionBytes(rhythm));
  b.AddSection(5, SampleSectionBytes(rhythm));  // fine as median beats
  b.AddSection(7, {1, 0});                     // too short
  b.AddSection(9, Section9Codes({7}, {8}));
  b.AddSection(10, Section10({TypicalLeadBlock(1)}));
  const Bytes bytes = b.Build();
  CReader reader;
  int16_t loaded = 0;
  ASSERT_TRUE(reader.Load(RecordSource::Memory(bytes), loaded, kEverySection));
  EXPECT_EQ(loaded, kSection0Bit | kSection1Bit | kSection3Bit | kSection5Bit | kSection9Bit |
                        kSection10Bit);
  EXPECT_EQ(reader.GetRhythmDataPtr(), nullptr);
  SDetails details;
  ASSERT_TRUE(reader.GetDetails(&details));
  EXPECT_EQ(details.m_medianPresent, 1);
  EXPECT_EQ(details.m_rhythmSampleRate, 0);
}

// Files are read whole before decoding; what Load makes of a file must be
// what it makes of the same bytes in memory, cut short or not.
TEST(WholeRecordLoad, FilesLoadLikeTheSameBytesInMemory) {
  TempFolder folder;
  Bytes whole = SyntheticEcgRecord();
  Bytes cut = whole;
  // Section 10 is the last section: state it 40 bytes longer than the file
  // holds (the record length is cut to match, so the file opens).
  const size_t s10 = cut.size() - (16 + 4 + 12 * 62);
  ASSERT_EQ(cut[s10 + 2], 10);
  cut.resize(cut.size() - 40);
  cut[2] = static_cast<uint8_t>(cut.size());
  cut[3] = static_cast<uint8_t>(cut.size() >> 8);
  cut[4] = static_cast<uint8_t>(cut.size() >> 16);
  for (const Bytes* bytes : {&whole, &cut}) {
    const std::string path = folder.Write("r.scp", *bytes);
    CReader from_file, from_memory;
    int16_t file_bits = 0, memory_bits = 0;
    ASSERT_TRUE(from_file.Load(path, file_bits, kEverySection));
    ASSERT_TRUE(from_memory.Load(RecordSource::Memory(*bytes), memory_bits, kEverySection));
    EXPECT_EQ(file_bits, memory_bits);
    const SEncodedData* a = from_file.GetRhythmDataPtr();
    const SEncodedData* b = from_memory.GetRhythmDataPtr();
    ASSERT_TRUE(a && b);
    EXPECT_TRUE(std::equal(a->Samples(7), a->Samples(7) + 5000, b->Samples(7)));
    // A second load through the same reader reuses its buffer.
    ASSERT_TRUE(from_file.Load(path, file_bits, kEverySection));
    EXPECT_EQ(file_bits, memory_bits);
  }
  CReader reader;
  int16_t bits = 0;
  ASSERT_TRUE(reader.Load(RecordSource::Memory(cut), bits, kEverySection));
  EXPECT_EQ(bits & kSection10Bit, 0);  // the cut section is left out
}

TEST(KillSection, ResetsEachSectionAndClearsItsBit) {
  const Bytes bytes = SyntheticEcgRecord();
  CReader reader;
  int16_t loaded = 0;
  ASSERT_TRUE(reader.Load(RecordSource::Memory(bytes), loaded, kEverySection));
  CAnalysisInfo* info = reader.GetAnalysisInfoPtr();
  ASSERT_NE(info, nullptr);

  SetLastError(kErrorInvalidData);
  reader.KillSection(kSection9Bit);
  EXPECT_EQ(GetLastError(), kErrorInvalidData);  // preserved
  EXPECT_EQ(info->m_rhythmCount, 0);
  EXPECT_EQ(info->m_morphologyCount, 0);
  EXPECT_EQ(info->m_global.m_rr, 833);  // Section 7 stays

  reader.KillSection(kSection7Bit);
  EXPECT_EQ(info->m_global.m_rr, 0);
  EXPECT_EQ(reader.GetAnalysisInfoPtr(), nullptr);

  reader.KillSection(kSection6Bit | kSection5Bit);
  EXPECT_EQ(reader.GetRhythmDataPtr(), nullptr);
  EXPECT_EQ(reader.GetMedianDataPtr(), nullptr);
  SDetails details;
  EXPECT_FALSE(reader.GetDetails(&details));
  EXPECT_TRUE(reader.CalculateLeads());  // nothing to calculate from

  reader.KillSection(kSection10Bit);
  EXPECT_EQ(reader.GetLeadMeasurementsPtr(), nullptr);
  EXPECT_EQ(reader.SectionFlag(), kSection0Bit | kSection1Bit | kSection3Bit);

  reader.Unload();
  EXPECT_EQ(reader.SectionFlag(), 0);
  EXPECT_EQ(reader.GetLeads(), 0);
}

TEST(WholeRecordLoad, ASecondLoadStartsAfresh) {
  const Bytes twelve = SyntheticEcgRecord();
  EcgRecordSpec spec;
  spec.leads = AcquiredLeadCodes();
  spec.measurements = false;
  const Bytes eight = SyntheticEcgRecord(spec);
  CReader reader;
  int16_t loaded = 0;
  ASSERT_TRUE(reader.Load(RecordSource::Memory(twelve), loaded, kEverySection));
  ASSERT_TRUE(reader.Load(RecordSource::Memory(eight), loaded, kEverySection));
  EXPECT_EQ(reader.GetLeads(), 8);
  EXPECT_EQ(reader.GetRhythmDataPtr()->m_leadCount, 8);
  EXPECT_EQ(reader.GetLeadMeasurementsPtr(), nullptr);

  // The eight acquired leads gain the four limb leads, which match the
  // synthetic limb leads to within the rounding of I and II.
  ASSERT_TRUE(reader.CalculateLeads());
  EXPECT_EQ(reader.GetLeads(), 12);
  const SEncodedData* rhythm = reader.GetRhythmDataPtr();
  const auto expected = SyntheticLead(61, 5000, 500);
  for (uint32_t k = 0; k < 5000; ++k) {
    ASSERT_NEAR(rhythm->Samples(8)[k], expected[k], 1) << k;
  }
}

}  // namespace
