// Sections 5 and 6: sample layout, the single-lead and multi-lead rules, the
// rhythm check, length mismatches, zero-length leads, the details of loaded
// sample data and the one-shot readers.

#include <gtest/gtest.h>

#include "platform/last_error.h"
#include "section_probe.h"
#include "support/section_builders.h"
#include "support/test_files.h"

using namespace ecg::platform;
using namespace ecg::test;

namespace {

SLeadDefinitions Definitions(const std::vector<LeadRange>& leads) {
  SectionInMemory s(Section3(leads));
  SLeadDefinitions d;
  EXPECT_TRUE(SectionProbe::GetSec3Data(s.handle, s.header, &d));
  return d;
}

std::vector<int16_t> LeadSamples(const SEncodedData& data, uint32_t lead) {
  const int16_t* p = data.Samples(lead);
  return p ? std::vector<int16_t>(p, p + data.SampleCount(lead)) : std::vector<int16_t>{};
}

bool ReadSamples(const SampleSection& section, const SLeadDefinitions& d, SEncodedData& data,
                 bool rhythm, std::optional<uint32_t> stated_length = {}) {
  SectionInMemory s(SampleSectionBytes(section), stated_length);
  return rhythm ? SectionProbe::GetSec6Data(s.handle, s.header, &d, &data)
                : SectionProbe::GetSec5Data(s.handle, s.header, &d, &data);
}

TEST(SampleLayout, HeadByteLengthsAndSamples) {
  const SLeadDefinitions d = Definitions({{1, 1, 4}, {2, 1, 4}});
  SampleSection section;
  section.multiplier = 2500;
  section.interval = 1667;
  section.difference = 2;
  section.bimodal = 1;
  section.leads = {{1, -1, 32767, -32768}, {2032, 0, -300, 7}};
  SEncodedData data;
  ASSERT_TRUE(ReadSamples(section, d, data, true));
  EXPECT_EQ(data.m_amplitudeMultiplier, 2500);
  EXPECT_EQ(data.m_sampleInterval, 1667);
  // The encoding bytes are kept, the samples are taken as stored.
  EXPECT_EQ(data.m_differenceUsed, 2);
  EXPECT_EQ(data.m_bimodal, 1);
  ASSERT_EQ(data.m_leadCount, 2);
  EXPECT_EQ(LeadSamples(data, 0), (std::vector<int16_t>{1, -1, 32767, -32768}));
  EXPECT_EQ(LeadSamples(data, 1), (std::vector<int16_t>{2032, 0, -300, 7}));
}

TEST(SampleLayout, OneLeadTakesItsCountFromSection3) {
  const SLeadDefinitions d = Definitions({{1, 3, 6}});  // 4 samples
  SampleSection section;
  section.leads = {{10, 20, 30, 40}};
  section.byte_lengths = std::vector<uint16_t>{2};  // says one sample
  SEncodedData data;
  ASSERT_TRUE(ReadSamples(section, d, data, true));
  EXPECT_EQ(LeadSamples(data, 0), (std::vector<int16_t>{10, 20, 30, 40}));

  section.byte_lengths = std::vector<uint16_t>{400};  // says 200 samples
  SEncodedData median;
  ASSERT_TRUE(ReadSamples(section, d, median, false));
  EXPECT_EQ(median.SampleCount(0), 4);

  // A stated byte length of 0 still means no data.
  section.byte_lengths = std::vector<uint16_t>{0};
  SEncodedData none;
  ASSERT_TRUE(ReadSamples(section, d, none, true));
  EXPECT_EQ(none.Samples(0), nullptr);
  EXPECT_EQ(none.SampleCount(0), 0);
}

TEST(SampleLayout, OneLeadRangeBeyondTheSectionIsRejectedBeforeAllocating) {
  // Section 3 claims four billion samples; the section holds four.
  const SLeadDefinitions d = Definitions({{1, 1, 0xFFFFFFF0u}});
  SampleSection section;
  section.leads = {{1, 2, 3, 4}};
  SEncodedData data;
  EXPECT_FALSE(ReadSamples(section, d, data, true));
  EXPECT_EQ(data.m_leadCount, 0);

  const SLeadDefinitions fits_not = Definitions({{1, 1, 3000}});
  EXPECT_FALSE(ReadSamples(section, fits_not, data, true));
  EXPECT_EQ(GetLastError(), kErrorInvalidData);
  EXPECT_EQ(data.m_leadCount, 0);
}

TEST(RhythmCheck, MultiLeadRhythmMustMatchSection3) {
  const SLeadDefinitions d = Definitions({{1, 1, 4}, {2, 1, 4}});
  SampleSection section;
  section.leads = {{1, 2, 3, 4}, {5, 6, 7}};  // lead 2 is one sample short
  SEncodedData rhythm;
  EXPECT_FALSE(ReadSamples(section, d, rhythm, true));
  EXPECT_EQ(GetLastError(), kErrorInvalidData);
  EXPECT_EQ(rhythm.m_leadCount, 0);
  EXPECT_EQ(rhythm.m_amplitudeMultiplier, 0);

  // Median beats have their own length: the same bytes load as Section 5.
  SEncodedData median;
  ASSERT_TRUE(ReadSamples(section, d, median, false));
  EXPECT_EQ(LeadSamples(median, 1), (std::vector<int16_t>{5, 6, 7}));
}

TEST(RhythmCheck, ByteLengthNotTwiceTheRangeFails) {
  const SLeadDefinitions d = Definitions({{1, 1, 3}, {2, 1, 3}});
  SampleSection section;
  section.leads = {{1, 2, 3}, {4, 5, 6}};
  section.byte_lengths = std::vector<uint16_t>{6, 8};
  SEncodedData data;
  EXPECT_FALSE(ReadSamples(section, d, data, true));
  EXPECT_EQ(GetLastError(), kErrorInvalidData);
}

TEST(ZeroLengthLeads, GetNoBufferAndTheFollowingLeadsAreRead) {
  const SLeadDefinitions d = Definitions({{1, 1, 3}, {2, 1, 3}, {3, 1, 3}});
  SampleSection section;
  section.leads = {{11, 12, 13}, {}, {31, 32, 33}};
  SEncodedData data;
  ASSERT_TRUE(ReadSamples(section, d, data, false));
  ASSERT_EQ(data.m_leadCount, 3);
  EXPECT_EQ(data.Samples(1), nullptr);
  EXPECT_EQ(data.SampleCount(1), 0);
  EXPECT_EQ(LeadSamples(data, 2), (std::vector<int16_t>{31, 32, 33}));
}

TEST(SampleLengths, TableAndSamplesAreCheckedAgainstTheStatedLength) {
  const SLeadDefinitions d = Definitions({{1, 1, 3}, {2, 1, 3}});
  SampleSection section;
  section.leads = {{1, 2, 3}, {4, 5, 6}};
  const uint32_t exact = 16 + 6 + 4 + 12;
  SEncodedData data;
  EXPECT_TRUE(ReadSamples(section, d, data, true, exact));
  // The stated length counts the header, the offsets do not: 16 bytes of
  // slack, and no more.
  EXPECT_TRUE(ReadSamples(section, d, data, true, exact - 16));
  EXPECT_FALSE(ReadSamples(section, d, data, true, exact - 17));
  EXPECT_EQ(GetLastError(), kErrorInvalidData);
  EXPECT_EQ(data.m_leadCount, 0);
  EXPECT_FALSE(ReadSamples(section, d, data, true, 6 + 3));  // table cut
  EXPECT_EQ(GetLastError(), kErrorInvalidData);
  EXPECT_FALSE(ReadSamples(section, d, data, true, 5));      // head cut
  EXPECT_EQ(GetLastError(), kErrorInvalidData);
}

TEST(SampleLengths, HugeByteLengthsInASmallSection) {
  const SLeadDefinitions d = Definitions({{1, 1, 32767}, {2, 1, 32767}});
  SampleSection section;
  section.leads = {{1}, {2}};
  section.byte_lengths = std::vector<uint16_t>{65534, 65534};
  SEncodedData data;
  EXPECT_FALSE(ReadSamples(section, d, data, false));
  EXPECT_EQ(GetLastError(), kErrorInvalidData);
  EXPECT_EQ(data.m_leadCount, 0);
}

TEST(SampleLengths, FileEndingInsideTheSamples) {
  const SLeadDefinitions d = Definitions({{1, 1, 3}, {2, 1, 3}});
  Bytes content = SampleSectionBytes({1000, 2000, 0, 0, {{1, 2, 3}, {4, 5, 6}}, {}});
  content.resize(content.size() - 3);
  SectionInMemory s(content, static_cast<uint32_t>(16 + content.size() + 3));
  SEncodedData data;
  EXPECT_FALSE(SectionProbe::GetSec6Data(s.handle, s.header, &d, &data));
  EXPECT_EQ(data.m_leadCount, 0);
}

TEST(SampleArguments, DefinitionsMustHoldLeads) {
  SLeadDefinitions none;
  SampleSection section;
  section.leads = {{1}};
  SEncodedData data;
  EXPECT_FALSE(ReadSamples(section, none, data, true));
  EXPECT_EQ(GetLastError(), kErrorNoData);
  SectionInMemory s(SampleSectionBytes(section));
  EXPECT_FALSE(SectionProbe::GetSec5Data(s.handle, s.header, nullptr, &data));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
}

// ------------------------------------------------ whole records and details

Bytes ShortRecord(uint16_t rhythm_interval, bool with_median, bool with_rhythm = true) {
  RecordBuilder b;
  b.AddSection(3, Section3({{1, 1, 6}, {2, 1, 6}}, SimultaneousFlags(2)));
  if (with_median) {
    SampleSection median;
    median.multiplier = 5000;
    median.interval = 4000;
    median.leads = {{1, 2, 3}, {4, 5}};
    b.AddSection(5, SampleSectionBytes(median));
  }
  if (with_rhythm) {
    SampleSection rhythm;
    rhythm.multiplier = 1000;
    rhythm.interval = rhythm_interval;
    rhythm.leads = {{1, 2, 3, 4, 5, 6}, {6, 5, 4, 3, 2, 1}};
    b.AddSection(6, SampleSectionBytes(rhythm));
  }
  return b.Build();
}

TEST(Details, RatesMultipliersAndCounts) {
  const Bytes bytes = ShortRecord(2000, true);
  CReader reader;
  int16_t loaded = 0;
  ASSERT_TRUE(reader.Load(RecordSource::Memory(bytes), loaded, kAllSectionBits));
  SDetails details;
  ASSERT_TRUE(reader.GetDetails(&details));
  EXPECT_EQ(details.m_rhythmSampleRate, 500);
  EXPECT_EQ(details.m_medianSampleRate, 250);
  EXPECT_EQ(details.m_rhythmAmplitudeMultiplier, 1000);
  EXPECT_EQ(details.m_medianAmplitudeMultiplier, 5000);
  EXPECT_EQ(details.m_rhythmSamples, 6u);
  // The median sample count is the median beat's own length.
  EXPECT_EQ(details.m_medianSamples, 3u);
  EXPECT_EQ(details.m_leadCount, 2);
  EXPECT_EQ(details.m_medianPresent, 1);
  EXPECT_FALSE(reader.GetDetails(nullptr));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
}

TEST(Details, ZeroIntervalGivesRateZeroAndMissingSectionsGiveZeros) {
  const Bytes bytes = ShortRecord(0, false);
  CReader reader;
  int16_t loaded = 0;
  ASSERT_TRUE(reader.Load(RecordSource::Memory(bytes), loaded, kAllSectionBits));
  SDetails details;
  details.m_medianSamples = 99;
  ASSERT_TRUE(reader.GetDetails(&details));
  EXPECT_EQ(details.m_rhythmSampleRate, 0);
  EXPECT_EQ(details.m_rhythmSamples, 6u);
  EXPECT_EQ(details.m_medianSampleRate, 0);
  EXPECT_EQ(details.m_medianSamples, 0u);
  EXPECT_EQ(details.m_medianPresent, 0);

  const Bytes median_only = ShortRecord(2000, true, false);
  ASSERT_TRUE(reader.Load(RecordSource::Memory(median_only), loaded, kAllSectionBits));
  ASSERT_TRUE(reader.GetDetails(&details));
  EXPECT_EQ(details.m_rhythmSampleRate, 0);
  EXPECT_EQ(details.m_rhythmSamples, 0u);
  EXPECT_EQ(details.m_medianSampleRate, 250);

  ASSERT_TRUE(reader.Load(RecordSource::Memory(median_only), loaded, kSection3Bit));
  EXPECT_FALSE(reader.GetDetails(&details));
  EXPECT_EQ(GetLastError(), kErrorNoData);
}

TEST(SampleOneShotReaders, RhythmAndMedianData) {
  TempFolder folder;
  const std::string path = folder.Write("short.scp", ShortRecord(2000, true));
  SEncodedData rhythm;
  ASSERT_TRUE(CReader::ReadRhythmData(path, &rhythm));
  EXPECT_EQ(LeadSamples(rhythm, 1), (std::vector<int16_t>{6, 5, 4, 3, 2, 1}));
  SEncodedData median;
  ASSERT_TRUE(CReader::ReadMedianData(path, &median));
  EXPECT_EQ(median.m_amplitudeMultiplier, 5000);
  EXPECT_EQ(LeadSamples(median, 1), (std::vector<int16_t>{4, 5}));

  const std::string no_median = folder.Write("rhythm.scp", ShortRecord(2000, false));
  EXPECT_FALSE(CReader::ReadMedianData(no_median, &median));
  EXPECT_EQ(GetLastError(), kErrorSuccess);  // absent, not broken
  EXPECT_FALSE(CReader::ReadRhythmData(nullptr, &rhythm));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_FALSE(CReader::ReadRhythmData(path, nullptr));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
}

TEST(SampleLoad, BrokenLeadDefinitionsLeaveTheSampleSectionsOut) {
  RecordBuilder b;
  b.AddSection(3, {0, 0});  // no leads
  SampleSection rhythm;
  rhythm.leads = {{1, 2}};
  b.AddSection(6, SampleSectionBytes(rhythm));
  b.AddSection(5, SampleSectionBytes(rhythm));
  const Bytes bytes = b.Build();
  CReader reader;
  int16_t loaded = 0;
  ASSERT_TRUE(reader.Load(RecordSource::Memory(bytes), loaded, kAllSectionBits));
  EXPECT_EQ(loaded, kSection0Bit);
  EXPECT_EQ(reader.GetRhythmDataPtr(), nullptr);
  EXPECT_EQ(GetLastError(), kErrorNoData);
  EXPECT_EQ(reader.GetMedianDataPtr(), nullptr);
}

}  // namespace
