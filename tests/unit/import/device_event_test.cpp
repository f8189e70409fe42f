// The device event data classes: allocation limits and the metadata defaults.

#include "import/device_event.h"

#include <gtest/gtest.h>

#include "platform/last_error.h"

using namespace ecg::platform;

namespace {

TEST(LeadContainer, AllocatesZeroedLeadsAndRefusesEmptyOrOversizedRequests) {
  SLeadObj leads;
  ASSERT_TRUE(leads.InitLeads(3, 5));
  EXPECT_EQ(leads.m_count, 3);
  EXPECT_EQ(leads.m_filled, 0);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(leads.m_leads[i].m_sampleCount, 5u);
    EXPECT_EQ(leads.m_leads[i].m_leadIndex, 255);
    EXPECT_EQ(leads.m_leads[i].m_scpLeadId, 255);
    for (int k = 0; k < 5; ++k) EXPECT_EQ(leads.m_leads[i].m_samples[k], 0);
  }

  EXPECT_FALSE(leads.InitLeads(0, 5));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_EQ(leads.m_count, 0) << "a failed allocation leaves no old leads behind";
  EXPECT_FALSE(leads.InitLeads(2, 0));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_FALSE(leads.InitLeads(255, 1));
  EXPECT_EQ(GetLastError(), kErrorOutOfStructures);
  EXPECT_TRUE(leads.InitLeads(254, 1));

  leads.m_filled = 4;
  leads.KillLeads();
  EXPECT_EQ(leads.m_count, 0);
  EXPECT_EQ(leads.m_filled, 0);
  EXPECT_EQ(leads.m_leads, nullptr);

  SLeadData one;
  EXPECT_FALSE(one.InitLeads(0));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
}

TEST(EventMetadata, ClearSetsTheNoDeviceDefaultsAndSetCopiesEverything) {
  SECGInfo info;
  info.SetDeviceText("device 7");
  info.m_hardwareVersion = 3;
  info.m_filters = 0x5A;
  info.SetDevice(4, 1, 3);
  info.m_year = 2020;
  info.m_singleLeadIndex = 12;
  info.m_samplesPerLead = 99;
  info.m_kept[7] = 1;
  info.m_keptWord = 77;
  EXPECT_EQ(info.DeviceType(), 4);
  EXPECT_EQ(info.LeadConfiguration(), 1);
  EXPECT_EQ(info.m_device >> 6, 3);

  SECGInfo copy;
  copy.Set(info);
  EXPECT_STREQ(copy.m_deviceText, "device 7");
  EXPECT_EQ(copy.m_filters, 0x5A);
  EXPECT_EQ(copy.m_samplesPerLead, 99);
  EXPECT_EQ(copy.m_keptWord, 77u);

  info.Clear();
  EXPECT_STREQ(info.m_deviceText, "");
  EXPECT_EQ(info.m_hardwareVersion, 0);
  EXPECT_EQ(info.m_filters, 0);
  EXPECT_EQ(info.DeviceType(), 15);
  EXPECT_EQ(info.LeadConfiguration(), 2);
  EXPECT_EQ(info.m_singleLeadIndex, 255);
  EXPECT_EQ(info.m_year, 0);
  EXPECT_EQ(info.m_samplesPerLead, 0);
  EXPECT_EQ(info.m_kept[7], 0);
  EXPECT_EQ(info.m_keptWord, 0u);
}

TEST(EventMetadata, DeviceTextIsCutToItsLimitAndTheBuffer) {
  SECGInfo info;
  info.SetDeviceText("ABCDEFGH", 3);
  EXPECT_STREQ(info.m_deviceText, "ABC");
  const std::string long_text(400, 'x');
  info.SetDeviceText(long_text.c_str());
  EXPECT_EQ(std::string(info.m_deviceText).size(), 255u);
  info.SetDeviceText(nullptr);
  EXPECT_STREQ(info.m_deviceText, "");
}

TEST(Event, LeadsFollowTheSamplesPerLeadAndKillResetsTheCounts) {
  SEvent event;
  EXPECT_FALSE(event.InitLeads(2)) << "no samples per lead yet";
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  event.m_info.m_samplesPerLead = 40;
  event.m_info.m_leadCount = 2;
  ASSERT_TRUE(event.InitLeads(2));
  EXPECT_EQ(event.m_leads.m_leads[1].m_sampleCount, 40u);
  event.KillLeads();
  EXPECT_EQ(event.m_leads.m_count, 0);
  EXPECT_EQ(event.m_info.m_leadCount, 0);
  EXPECT_EQ(event.m_info.m_samplesPerLead, 0);
}

}  // namespace
