// The measurement tables: derived global values, copying analysis
// information between versions, and the lead measurement table's limits.

#include <gtest/gtest.h>

#include "platform/last_error.h"
#include "scp/measurement_model.h"

using namespace ecg::platform;

namespace {

TEST(GlobalMeasurements, DerivedValues) {
  SGlobalMeasurements g;
  g.m_rr = 833;
  g.m_pOnset = 150;
  g.m_pOffset = 250;
  g.m_qrsOnset = 310;
  g.m_qrsOffset = 400;
  g.m_tOffset = 720;
  EXPECT_EQ(g.HeartRate(), 72u);  // 72.03
  EXPECT_EQ(g.PDuration(), 100);
  EXPECT_EQ(g.PRInterval(), 160);
  EXPECT_EQ(g.QRSDuration(), 90);
  EXPECT_EQ(g.QTInterval(), 410);
  g.m_rr = 800;
  EXPECT_EQ(g.HeartRate(), 75u);
  g.m_rr = 1090;  // 55.05 -> 55
  EXPECT_EQ(g.HeartRate(), 55u);
  g.m_rr = 1034;  // 58.03 -> 58
  EXPECT_EQ(g.HeartRate(), 58u);
  g.m_rr = 960;   // 62.5 -> 63
  EXPECT_EQ(g.HeartRate(), 63u);
  g.m_rr = 0;
  EXPECT_FALSE(g.HeartRate().has_value());
  g.KillData();
  EXPECT_EQ(g.m_tOffset, 0);
  EXPECT_EQ(g.QTInterval(), 0);
}

TEST(AnalysisInfo, SetCopiesOnlyBetweenVersionOneObjects) {
  CAnalysisInfo a;
  a.m_global.m_rr = 900;
  a.m_rhythmCodes[0] = 21;
  a.m_rhythmCount = 1;
  a.m_morphologyCodes[6] = 7;
  a.m_morphologyCount = 7;
  CAnalysisInfo b(a);
  EXPECT_EQ(b.m_global.m_rr, 900);
  EXPECT_EQ(b.m_rhythmCodes[0], 21);
  EXPECT_EQ(b.m_morphologyCodes[6], 7);
  EXPECT_EQ(b.GetVersion(), 1);
  EXPECT_EQ(b.m_size, 60u);

  CAnalysisInfo old;
  old.m_version = 0;
  CAnalysisInfo c;
  EXPECT_FALSE(c.Set(&old));
  EXPECT_EQ(c.GetVersion(), 0);
  EXPECT_FALSE(c.Set(&a));  // this object is version 0 now
  EXPECT_EQ(c.m_global.m_rr, 0);
  EXPECT_FALSE(b.Set(nullptr));

  a.SetDefault();
  EXPECT_EQ(a.m_global.m_rr, 0);
  EXPECT_EQ(a.m_rhythmCount, 0);
  EXPECT_EQ(a.m_morphologyCount, 0);
}

TEST(LeadMeasurementTable, LimitsGrowthAndCopies) {
  SLeadMeasurements m;
  EXPECT_EQ(m.m_blockSize, 62);
  EXPECT_FALSE(m.Allocate(0));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_FALSE(m.Allocate(255));
  EXPECT_EQ(GetLastError(), kErrorOutOfStructures);
  ASSERT_TRUE(m.Allocate(2));
  m.m_leads[1].m_leadId = 2;
  m.m_leads[1].m_stJ80 = -45;
  m.m_blockSize = 70;
  ASSERT_TRUE(m.AddLeads(10));
  EXPECT_EQ(m.m_count, 12);
  EXPECT_EQ(m.m_leads[1].m_stJ80, -45);
  EXPECT_EQ(m.m_leads[11].m_leadId, 0);
  EXPECT_FALSE(m.AddLeads(243));
  EXPECT_EQ(GetLastError(), kErrorOutOfStructures);
  EXPECT_EQ(m.m_count, 12);

  SLeadMeasurements copy(m);
  EXPECT_EQ(copy.m_count, 12);
  EXPECT_EQ(copy.m_blockSize, 70);
  EXPECT_EQ(copy.m_leads[1].m_stJ80, -45);
  m.KillLeads();
  EXPECT_EQ(m.m_count, 0);
  EXPECT_EQ(m.m_blockSize, 70);
  m.KillData();
  EXPECT_EQ(m.m_blockSize, 62);
  EXPECT_EQ(copy.m_leads[1].m_leadId, 2);
}

}  // namespace
