// The lead definition and sample data tables: limits, growth that keeps
// entries, lookups and their error codes.

#include <gtest/gtest.h>

#include "platform/last_error.h"
#include "scp/lead_model.h"

using namespace ecg::platform;

namespace {

SLeadDefinitions Definitions(std::initializer_list<SLeadDef> leads, uint8_t flags = 0) {
  SLeadDefinitions d;
  EXPECT_TRUE(d.Allocate(static_cast<uint32_t>(leads.size())));
  d.m_flags = flags;
  uint32_t i = 0;
  for (const auto& lead : leads) d.m_leads[i++] = lead;
  return d;
}

TEST(LeadDefinitions, AllocateLimits) {
  SLeadDefinitions d;
  EXPECT_FALSE(d.Allocate(0));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_TRUE(d.Allocate(254));
  EXPECT_EQ(d.m_count, 254);
  EXPECT_FALSE(d.Allocate(255));
  EXPECT_EQ(GetLastError(), kErrorOutOfStructures);
  EXPECT_EQ(d.m_count, 0);  // the old entries are gone
}

TEST(LeadDefinitions, AddLeadsKeepsEntriesAndStopsAt254) {
  SLeadDefinitions d = Definitions({{1, 5000, 1}, {1, 5000, 2}}, 0x14);
  ASSERT_TRUE(d.AddLeads(2));
  ASSERT_EQ(d.m_count, 4);
  EXPECT_EQ(d.m_leads[1].m_leadId, 2);
  EXPECT_EQ(uint32_t{d.m_leads[1].m_endSample}, 5000u);
  EXPECT_EQ(d.m_leads[3].m_leadId, 0);
  EXPECT_EQ(d.m_flags, 0x14);
  EXPECT_FALSE(d.AddLeads(0));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_TRUE(d.AddLeads(250));
  EXPECT_FALSE(d.AddLeads(1));
  EXPECT_EQ(GetLastError(), kErrorOutOfStructures);
  EXPECT_EQ(d.m_count, 254);
}

TEST(LeadDefinitions, SetAndCopyAreDeep) {
  SLeadDefinitions a = Definitions({{1, 10, 1}, {2, 9, 61}}, 0x04);
  SLeadDefinitions b;
  ASSERT_TRUE(b.Set(&a));
  a.m_leads[1].m_leadId = 99;
  EXPECT_EQ(b.m_count, 2);
  EXPECT_EQ(b.m_flags, 0x04);
  EXPECT_EQ(b.m_leads[1].m_leadId, 61);
  SLeadDefinitions c(b);
  EXPECT_EQ(uint32_t{c.m_leads[0].m_endSample}, 10u);
  b.KillData();
  EXPECT_EQ(b.m_count, 0);
  EXPECT_EQ(b.m_flags, 0);
  EXPECT_EQ(c.m_count, 2);
}

TEST(LeadDefinitions, LookupsSayWhyALeadIsMissing) {
  SLeadDefinitions empty;
  EXPECT_EQ(empty.GetLeadFromId(1), nullptr);
  EXPECT_EQ(GetLastError(), kErrorNoData);
  EXPECT_EQ(empty.GetIdIndexFromId(1), 256);
  EXPECT_EQ(GetLastError(), kErrorNoData);

  SLeadDefinitions d = Definitions({{1, 10, 1}, {1, 10, 2}, {1, 10, 2}});
  EXPECT_EQ(d.GetIdIndexFromId(2), 1);  // the first of two
  EXPECT_EQ(GetLastError(), kErrorSuccess);
  EXPECT_EQ(d.GetIdIndexFromId(64), 256);
  EXPECT_EQ(GetLastError(), kErrorSuccess);
  EXPECT_EQ(d.GetIdIndexFromId(256), 256);
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_EQ(d.GetIdIndexFromId(-1), 256);
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  ASSERT_NE(d.GetLeadFromId(2), nullptr);
  EXPECT_EQ(d.GetLeadFromId(2), &d.m_leads[1]);
  EXPECT_EQ(d.GetLeadFromId(3), nullptr);
  EXPECT_EQ(GetLastError(), kErrorSuccess);
}

TEST(LeadDefinitions, SampleSpan) {
  SLeadDefinitions d = Definitions({{11, 5000, 1}, {1, 4000, 2}, {20, 5010, 3}});
  EXPECT_EQ(d.GetMinSample(), 1u);
  EXPECT_EQ(d.GetMaxSample(), 5010u);
  EXPECT_EQ(d.GetSamples(), 5010u);

  SLeadDefinitions zero_start = Definitions({{0, 10000, 1}});
  EXPECT_EQ(zero_start.GetMinSample(), 0u);
  EXPECT_EQ(GetLastError(), kErrorSuccess);
  EXPECT_EQ(zero_start.GetSamples(), 0u);
  EXPECT_EQ(GetLastError(), kErrorInvalidData);

  SLeadDefinitions backwards = Definitions({{500, 20, 1}});
  EXPECT_EQ(backwards.GetSamples(), 0u);
  EXPECT_EQ(GetLastError(), kErrorInvalidData);

  SLeadDefinitions empty;
  EXPECT_EQ(empty.GetMaxSample(), 0u);
  EXPECT_EQ(GetLastError(), kErrorNoData);
  EXPECT_EQ(empty.GetSamples(), 0u);
}

TEST(EncodedData, AllocateLeadChecksItsArguments) {
  SEncodedData data;
  EXPECT_FALSE(data.AllocateLead(0, 10));
  EXPECT_EQ(GetLastError(), kErrorOutOfStructures);  // no leads at all
  ASSERT_TRUE(data.Allocate(3));
  EXPECT_EQ(data.m_leadCount, 3);
  EXPECT_EQ(data.Samples(0), nullptr);
  EXPECT_FALSE(data.AllocateLead(1, 0));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_FALSE(data.AllocateLead(1, 65536));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_FALSE(data.AllocateLead(3, 10));
  EXPECT_EQ(GetLastError(), kErrorOutOfStructures);
  ASSERT_TRUE(data.AllocateLead(1, 65535));
  EXPECT_EQ(data.SampleCount(1), 65535);
  EXPECT_EQ(data.Samples(1)[65534], 0);
  data.FreeLead(1);
  EXPECT_EQ(data.Samples(1), nullptr);
  EXPECT_EQ(data.SampleCount(1), 0);
  EXPECT_FALSE(data.Allocate(255));
  EXPECT_EQ(GetLastError(), kErrorOutOfStructures);
}

TEST(EncodedData, AddLeadsKeepsSamplesAndKillDataClearsTheHead) {
  SEncodedData data;
  data.m_amplitudeMultiplier = 5000;
  data.m_sampleInterval = 2000;
  data.m_differenceUsed = 1;
  data.m_bimodal = 1;
  ASSERT_TRUE(data.Allocate(2));
  ASSERT_TRUE(data.AllocateLead(1, 4));
  data.m_samples[1][3] = -7;
  ASSERT_TRUE(data.AddLeads(2));
  EXPECT_EQ(data.m_leadCount, 4);
  EXPECT_EQ(data.SampleCount(1), 4);
  EXPECT_EQ(data.Samples(1)[3], -7);
  EXPECT_EQ(data.Samples(3), nullptr);
  EXPECT_EQ(data.m_amplitudeMultiplier, 5000);

  data.KillLeads();
  EXPECT_EQ(data.m_leadCount, 0);
  EXPECT_EQ(data.m_sampleInterval, 2000);
  data.KillData();
  EXPECT_EQ(data.m_amplitudeMultiplier, 0);
  EXPECT_EQ(data.m_sampleInterval, 0);
  EXPECT_EQ(data.m_differenceUsed, 0);
  EXPECT_EQ(data.m_bimodal, 0);
}

TEST(LeadCodes, NamesOfTheTwelveLeads) {
  const std::pair<uint8_t, const char*> names[] = {
      {1, "I"},   {2, "II"},   {3, "V1"},   {4, "V2"},   {5, "V3"},   {6, "V4"},
      {7, "V5"},  {8, "V6"},   {61, "III"}, {62, "aVR"}, {63, "aVL"}, {64, "aVF"}};
  for (const auto& [code, name] : names) EXPECT_STREQ(ecg::scp::LeadCodeName(code), name);
  EXPECT_EQ(ecg::scp::LeadCodeName(0), nullptr);
  EXPECT_EQ(ecg::scp::LeadCodeName(9), nullptr);
  EXPECT_EQ(ecg::scp::LeadCodeName(255), nullptr);
}

}  // namespace
