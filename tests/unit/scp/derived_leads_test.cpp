// Derived limb leads: values and truncation, order and ranges, marker
// propagation, the simultaneous-lead count, median beats, lead error bits,
// and the argument checks of CalculateLead.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "platform/last_error.h"
#include "scp/reader.h"
#include "support/section_builders.h"
#include "support/test_files.h"

using namespace ecg::platform;
using namespace ecg::test;

namespace {

struct Lead {
  uint8_t code;
  std::vector<int16_t> rhythm;
  std::vector<int16_t> median = {};
  uint32_t start = 1;
};

Bytes RecordOf(const std::vector<Lead>& leads, uint8_t flags, bool with_median = true,
               bool with_rhythm = true) {
  RecordBuilder b;
  std::vector<LeadRange> ranges;
  SampleSection rhythm, median;
  for (const auto& lead : leads) {
    ranges.push_back(
        {lead.code, lead.start, lead.start + static_cast<uint32_t>(lead.rhythm.size()) - 1});
    rhythm.leads.push_back(lead.rhythm);
    median.leads.push_back(lead.median);
  }
  b.AddSection(3, Section3(ranges, flags));
  if (with_median) b.AddSection(5, SampleSectionBytes(median));
  if (with_rhythm) b.AddSection(6, SampleSectionBytes(rhythm));
  return b.Build();
}

// Loads a record, keeping its bytes alive for the reader.
struct Loaded {
  Bytes bytes;
  CReader reader;
  int16_t loaded = 0;
  explicit Loaded(Bytes b, int16_t wanted = kAllSectionBits) : bytes(std::move(b)) {
    EXPECT_TRUE(reader.Load(RecordSource::Memory(bytes), loaded, wanted));
  }
  const SLeadDefinitions& Definitions() { return *reader.GetLeadDefinitionsPtr(); }
  std::vector<int16_t> Rhythm(uint8_t code) { return SamplesOf(reader.GetRhythmDataPtr(), code); }
  std::vector<int16_t> Median(uint8_t code) { return SamplesOf(reader.GetMedianDataPtr(), code); }

 private:
  std::vector<int16_t> SamplesOf(const SEncodedData* data, uint8_t code) {
    const int16_t index = reader.GetLeadDefinitionsPtr()->GetIdIndexFromId(code);
    if (data == nullptr || index == 256) return {};
    const int16_t* p = data->Samples(static_cast<uint32_t>(index));
    return p ? std::vector<int16_t>(p, p + data->SampleCount(static_cast<uint32_t>(index)))
             : std::vector<int16_t>{};
  }
};

std::vector<uint8_t> Codes(const SLeadDefinitions& d) {
  std::vector<uint8_t> codes;
  for (uint32_t i = 0; i < d.m_count; ++i) codes.push_back(d.m_leads[i].m_leadId);
  return codes;
}

TEST(DerivedLeadValues, EinthovenAndGoldbergerWithTruncationTowardZero) {
  Loaded r(RecordOf({{1, {100, 3, -3, -101}, {100}}, {2, {60, 0, 0, 0}, {60}}}, 0));
  ASSERT_TRUE(r.reader.CalculateLeads());
  EXPECT_EQ(r.Rhythm(61), (std::vector<int16_t>{-40, -3, 3, 101}));   // III = II - I
  EXPECT_EQ(r.Rhythm(62), (std::vector<int16_t>{-80, -1, 1, 50}));    // aVR = -(I + II) / 2
  EXPECT_EQ(r.Rhythm(63), (std::vector<int16_t>{70, 3, -3, -101}));   // aVL = I - II / 2
  EXPECT_EQ(r.Rhythm(64), (std::vector<int16_t>{10, -1, 1, 50}));     // aVF = II - I / 2
  EXPECT_EQ(r.Median(61), (std::vector<int16_t>{-40}));
  EXPECT_EQ(r.Median(62), (std::vector<int16_t>{-80}));
  EXPECT_EQ(r.Median(63), (std::vector<int16_t>{70}));
  EXPECT_EQ(r.Median(64), (std::vector<int16_t>{10}));
}

TEST(DerivedLeadValues, SumsWrapToSixteenBits) {
  Loaded r(RecordOf({{1, {-30000}}, {2, {-30000}}}, 0, false));
  ASSERT_TRUE(r.reader.CalculateLeads());
  // III: -30000 + 30000.
  EXPECT_EQ(r.Rhythm(61), (std::vector<int16_t>{0}));
  // aVR: II gives 15000, which lies in the marker range, so I is not added.
  EXPECT_EQ(r.Rhythm(62), (std::vector<int16_t>{15000}));
  // aVL: -30000 + 15000.
  EXPECT_EQ(r.Rhythm(63), (std::vector<int16_t>{-15000}));

  Loaded wrap(RecordOf({{1, {-32000}}, {2, {1000}}}, 0, false));
  ASSERT_TRUE(wrap.reader.CalculateLeads());
  // III = 1000 + 32000 = 33000, kept to 16 bits.
  EXPECT_EQ(wrap.Rhythm(61), (std::vector<int16_t>{static_cast<int16_t>(33000 - 65536)}));
}

TEST(DerivedLeadOrder, EightLeadsGainTheFourLimbLeadsWithTheCommonRange) {
  std::vector<Lead> leads = {{1, {10, 20, 30, 40, 50, 60}, {}, 1},
                             {2, {5, 6, 7, 8, 9, 10}, {}, 3}};
  for (uint8_t code = 3; code <= 8; ++code) leads.push_back({code, {1, 1, 1, 1}, {}, 2});
  Loaded r(RecordOf(leads, SimultaneousFlags(8), false));
  ASSERT_TRUE(r.reader.CalculateLeads());
  const SLeadDefinitions& d = r.Definitions();
  EXPECT_EQ(Codes(d), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 61, 62, 63, 64}));
  for (uint32_t i = 8; i < 12; ++i) {
    EXPECT_EQ(uint32_t{d.m_leads[i].m_startSample}, 3u);  // latest start of I and II
    EXPECT_EQ(uint32_t{d.m_leads[i].m_endSample}, 6u);    // earliest end
  }
  // Sample 3 of the record is I[2] = 30 and II[0] = 5.
  EXPECT_EQ(r.Rhythm(61), (std::vector<int16_t>{-25, -34, -43, -52}));
  EXPECT_EQ(r.reader.GetRhythmDataPtr()->m_leadCount, 12);
  // Every lead recorded simultaneously: the count grows with the new leads.
  EXPECT_EQ(d.m_flags, SimultaneousFlags(12));
  EXPECT_EQ(r.reader.GetLeads(), 12);
}

TEST(DerivedLeadOrder, OnlyTheMissingLeadsAreAdded) {
  Loaded r(RecordOf({{1, {100}}, {2, {60}}, {62, {-7}}}, 0x04 | (3 << 3), false));
  ASSERT_TRUE(r.reader.CalculateLeads());
  EXPECT_EQ(Codes(r.Definitions()), (std::vector<uint8_t>{1, 2, 62, 61, 63, 64}));
  EXPECT_EQ(r.Rhythm(62), (std::vector<int16_t>{-7}));  // kept as stored
  EXPECT_EQ(r.Definitions().SimultaneousCount(), 6);

  // Calculating again changes nothing.
  ASSERT_TRUE(r.reader.CalculateLeads());
  EXPECT_EQ(r.Definitions().m_count, 6);
}

TEST(DerivedLeadOrder, SimultaneousCountOnlyWhenAllAreSimultaneous) {
  Loaded r(RecordOf({{1, {1}}, {2, {2}}}, 2 << 3, false));  // bit 2 clear
  ASSERT_TRUE(r.reader.CalculateLeads());
  EXPECT_EQ(r.Definitions().m_flags, 2 << 3);

  Loaded full(RecordOf({{1, {1}}, {2, {2}}}, 0x04 | (30 << 3), false));
  ASSERT_TRUE(full.reader.CalculateLeads());
  EXPECT_EQ(full.Definitions().SimultaneousCount(), 2);  // 34 kept to 5 bits
  EXPECT_EQ(full.Definitions().m_flags & 0x07, 0x04);
}

TEST(DerivedLeadOrder, NothingToDoIsSuccess) {
  Loaded one(RecordOf({{1, {1, 2, 3}}}, 0));
  ASSERT_TRUE(one.reader.CalculateLeads());
  EXPECT_EQ(one.Definitions().m_count, 1);

  Loaded no_samples(RecordOf({{1, {1}}, {2, {2}}}, 0, false, false));
  ASSERT_TRUE(no_samples.reader.CalculateLeads());
  EXPECT_EQ(no_samples.Definitions().m_count, 2);

  CReader empty;
  EXPECT_TRUE(empty.CalculateLeads());
}

TEST(DerivedLeadOrder, MissingLeadIFails) {
  Loaded r(RecordOf({{2, {1}}, {3, {2}}}, 0, false));
  EXPECT_FALSE(r.reader.CalculateLeads());
  EXPECT_EQ(GetLastError(), kErrorNoData);
  EXPECT_EQ(r.Definitions().m_count, 2);
}

TEST(MarkerPropagation, MarkersInIReachEveryDerivedLead) {
  Loaded r(RecordOf({{1, {2032, 2040, 100}}, {2, {60, 60, 2033}}}, 0, false));
  ASSERT_TRUE(r.reader.CalculateLeads());
  for (uint8_t code : {61, 62, 63, 64}) {
    const auto v = r.Rhythm(code);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_EQ(v[0], 2032) << int{code};
    EXPECT_EQ(v[1], 2040) << int{code};
    EXPECT_EQ(v[2], 2033) << int{code};
  }
}

TEST(MarkerPropagation, PrecedenceDoesNotDependOnSourceOrder) {
  // III and aVR take II first, aVL and aVF take I first.
  const std::vector<std::pair<int16_t, int16_t>> pairs = {
      {2032, 2033}, {2033, 2032}, {2033, 2034}, {2034, 2033},
      {2034, 2040}, {2040, 2034}, {2032, 2040}, {2040, 2032}};
  const int16_t expected[] = {2032, 2032, 2033, 2033, 2034, 2034, 2032, 2032};
  std::vector<int16_t> lead1, lead2;
  for (const auto& [a, b] : pairs) {
    lead1.push_back(a);
    lead2.push_back(b);
  }
  Loaded r(RecordOf({{1, lead1}, {2, lead2}}, 0, false));
  ASSERT_TRUE(r.reader.CalculateLeads());
  for (uint8_t code : {61, 62, 63, 64}) {
    const auto v = r.Rhythm(code);
    for (size_t k = 0; k < pairs.size(); ++k) {
      EXPECT_EQ(v[k], expected[k]) << "lead " << int{code} << " pair " << k;
    }
  }
}

TEST(MarkerPropagation, OtherMarkersFollowTheLastSource) {
  // Neither marker is 2032-2034: the later source's marker wins.
  Loaded r(RecordOf({{1, {2040}}, {2, {2050}}}, 0, false));
  ASSERT_TRUE(r.reader.CalculateLeads());
  EXPECT_EQ(r.Rhythm(61), (std::vector<int16_t>{2040}));  // II then I
  EXPECT_EQ(r.Rhythm(63), (std::vector<int16_t>{2050}));  // I then II
}

TEST(MedianLeads, CommonLengthAndNoMarkerHandling) {
  Loaded r(RecordOf({{1, {0, 0}, {2032, 10, 20}}, {2, {0, 0}, {0, 30}}}, 0));
  ASSERT_TRUE(r.reader.CalculateLeads());
  EXPECT_EQ(r.Median(61), (std::vector<int16_t>{-2032, 20}));
  EXPECT_EQ(r.Median(62), (std::vector<int16_t>{-1016, -20}));
  EXPECT_EQ(r.reader.GetMedianDataPtr()->m_leadCount, 6);
}

TEST(MedianLeads, MedianOnlyRecordsGainMedianLeads) {
  Loaded r(RecordOf({{1, {0}, {100}}, {2, {0}, {60}}}, 0, true, false));
  ASSERT_TRUE(r.reader.CalculateLeads());
  EXPECT_EQ(r.Median(64), (std::vector<int16_t>{10}));
  EXPECT_EQ(r.Definitions().m_count, 6);
}

TEST(MedianLeads, ASourceWithoutMedianLeavesTheNewLeadEmpty) {
  Loaded r(RecordOf({{1, {0}, {}}, {2, {0}, {60}}}, 0));
  ASSERT_TRUE(r.reader.CalculateLeads());
  EXPECT_TRUE(r.Median(61).empty());
  EXPECT_EQ(r.Rhythm(61), (std::vector<int16_t>{0}));
}

TEST(LeadErrorBits, MarkersSetBitsPerRhythmLead) {
  RecordBuilder b;
  b.AddSection1(TypicalSection1());
  b.AddSection(3, Section3({{1, 1, 4}, {2, 1, 4}, {3, 1, 4}}));
  SampleSection rhythm;
  rhythm.leads = {{0, 2033, 5, 2034}, {2032, 0, 0, 0}, {2035, 2031, -2032, 0}};
  b.AddSection(6, SampleSectionBytes(rhythm));
  Loaded r(b.Build());
  ASSERT_TRUE(r.reader.CreateLeadErrorCodes());
  const SLeadErrors& e = *r.reader.GetLeadErrorsPtr();
  ASSERT_EQ(e.m_count, 3);
  EXPECT_EQ(e.m_entries[0].m_leadId, 1);
  EXPECT_EQ(uint16_t{e.m_entries[0].m_errorBits}, 6);  // 2033 and 2034
  EXPECT_EQ(uint16_t{e.m_entries[1].m_errorBits}, 1);  // 2032
  EXPECT_EQ(uint16_t{e.m_entries[2].m_errorBits}, 0);  // no marker of the three
}

TEST(LeadErrorBits, RebuiltAfterCalculatingTheLimbLeads) {
  RecordBuilder b;
  b.AddSection1(TypicalSection1());  // tag 200 says lead II has bit 0
  b.AddSection(3, Section3({{1, 1, 4}, {2, 1, 4}, {7, 1, 4}}));
  SampleSection rhythm;
  rhythm.leads = {{0, 2033, 5, 2034}, {1, 1, 1, 1}, {2032, 2032, 0, 0}};
  b.AddSection(6, SampleSectionBytes(rhythm));
  Loaded r(b.Build());
  ASSERT_NE(r.reader.GetLeadErrorsPtr(), nullptr);
  EXPECT_EQ(uint16_t{r.reader.GetLeadErrorsPtr()->Find(2)->m_errorBits}, 1);  // Section 1

  ASSERT_TRUE(r.reader.CalculateLeads());
  const SLeadErrors& e = *r.reader.GetLeadErrorsPtr();
  ASSERT_EQ(e.m_count, 7);
  const std::pair<uint8_t, uint16_t> expected[] = {{1, 6}, {2, 0}, {7, 1},  {61, 6},
                                                   {62, 6}, {63, 6}, {64, 6}};
  for (size_t i = 0; i < 7; ++i) {
    EXPECT_EQ(e.m_entries[i].m_leadId, expected[i].first) << i;
    EXPECT_EQ(uint16_t{e.m_entries[i].m_errorBits}, expected[i].second) << i;
  }
}

TEST(LeadErrorBits, NeedRhythmData) {
  Loaded r(RecordOf({{1, {0}, {2032}}, {2, {0}, {0}}}, 0, true, false));
  EXPECT_FALSE(r.reader.CreateLeadErrorCodes());
  EXPECT_EQ(GetLastError(), kErrorNoData);
  // CalculateLeads still succeeds on median data alone.
  EXPECT_TRUE(r.reader.CalculateLeads());
}

TEST(CalculateLeadArguments, ChecksSourcesRangesAndLimits) {
  Loaded r(RecordOf({{1, {1, 2}, {}, 1}, {2, {3, 4}, {}, 5}, {0, {9, 9}}}, 0, false));
  const double one[] = {1.0};
  const double two[] = {1.0, -1.0};
  const uint16_t lead1[] = {1};
  const uint16_t both[] = {1, 2};
  const uint16_t lead0[] = {0};
  const uint16_t v1[] = {3};

  EXPECT_FALSE(r.reader.CalculateLead(70, 1, nullptr, lead1, false));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_FALSE(r.reader.CalculateLead(70, 1, one, nullptr, false));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_FALSE(r.reader.CalculateLead(70, 1, one, v1, false));
  EXPECT_EQ(GetLastError(), kErrorNoData);
  EXPECT_TRUE(r.reader.CalculateLead(1, 1, one, lead0, false));  // lead 1 exists: no change
  EXPECT_FALSE(r.reader.CalculateLead(70, 1, one, lead0, false));  // lead code 0 as a source
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_FALSE(r.reader.CalculateLead(70, 2, two, both, false));   // ranges 1-2 and 5-6
  EXPECT_EQ(GetLastError(), kErrorNoData);
  const double bad[] = {std::nan("")};
  EXPECT_FALSE(r.reader.CalculateLead(70, 1, bad, lead1, false));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_EQ(r.Definitions().m_count, 3);

  // A copy of lead I under a new code.
  ASSERT_TRUE(r.reader.CalculateLead(70, 1, one, lead1, false));
  EXPECT_EQ(r.Rhythm(70), (std::vector<int16_t>{1, 2}));
  const uint16_t self[] = {70};
  EXPECT_TRUE(r.reader.CalculateLead(70, 1, one, self, false));  // present already
}

TEST(CalculateLeadArguments, TheTableLimitIs254Leads) {
  std::vector<Lead> leads;
  for (int i = 0; i < 253; ++i) leads.push_back({static_cast<uint8_t>(i == 0 ? 1 : 100), {7}});
  Loaded r(RecordOf(leads, 0, false));
  const double one[] = {1.0};
  const uint16_t lead1[] = {1};
  ASSERT_TRUE(r.reader.CalculateLead(61, 1, one, lead1, false));
  EXPECT_FALSE(r.reader.CalculateLead(62, 1, one, lead1, false));
  EXPECT_EQ(GetLastError(), kErrorOutOfStructures);
  EXPECT_EQ(r.Definitions().m_count, 254);
  EXPECT_EQ(r.reader.GetRhythmDataPtr()->m_leadCount, 254);
}

// Reference recordings: eight stored leads at 500 Hz. Every derived sample
// must equal the formula applied to the stored I and II.
TEST(DerivedLeadsOnRecordings, MatchTheFormulasSampleBySample) {
  const std::string folder = SharedDataFolder();
  const std::filesystem::path ludb = std::filesystem::path(folder) / "ludb-dev";
  if (folder.empty() || !std::filesystem::exists(ludb / "ludb-001.scp")) {
    GTEST_SKIP() << "reference recordings not found (ludb-dev in the shared data folder)";
  }
  for (const char* name : {"ludb-001.scp", "ludb-051.scp", "ludb-099.scp"}) {
    CReader reader;
    int16_t loaded = 0;
    const std::string path = (ludb / name).string();
    ASSERT_TRUE(reader.Load(path, loaded, kAllSectionBits)) << name;
    ASSERT_EQ(reader.GetLeads(), 8) << name;
    ASSERT_TRUE(reader.CalculateLeads()) << name;
    ASSERT_EQ(reader.GetLeads(), 12) << name;
    const SEncodedData& rhythm = *reader.GetRhythmDataPtr();
    const SLeadDefinitions& d = *reader.GetLeadDefinitionsPtr();
    const int16_t* i1 = rhythm.Samples(static_cast<uint32_t>(d.GetIdIndexFromId(1)));
    const int16_t* i2 = rhythm.Samples(static_cast<uint32_t>(d.GetIdIndexFromId(2)));
    const int16_t* iii = rhythm.Samples(8);
    const int16_t* avr = rhythm.Samples(9);
    const int16_t* avl = rhythm.Samples(10);
    const int16_t* avf = rhythm.Samples(11);
    ASSERT_EQ(rhythm.SampleCount(8), 5000) << name;
    int mismatches = 0, compared = 0;
    for (uint32_t k = 0; k < 5000; ++k) {
      const int a = i1[k], b = i2[k];
      // Marker samples follow their own rule, and so do sums that pass into
      // the marker range half way.
      if (std::abs(a) > 2031 || std::abs(b) > 2031) continue;
      ++compared;
      mismatches += iii[k] != static_cast<int16_t>(b - a);
      mismatches += avr[k] != static_cast<int16_t>(static_cast<int>(-0.5 * b) +
                                                   static_cast<int>(-0.5 * a));
      mismatches += avl[k] != static_cast<int16_t>(a + static_cast<int>(-0.5 * b));
      mismatches += avf[k] != static_cast<int16_t>(static_cast<int>(-0.5 * a) + b);
    }
    EXPECT_EQ(mismatches, 0) << name;
    EXPECT_GT(compared, 4000) << name;
  }
}

}  // namespace
