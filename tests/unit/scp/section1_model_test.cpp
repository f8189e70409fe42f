#include <gtest/gtest.h>

#include "platform/last_error.h"
#include "scp/section1_model.h"

using namespace ecg::platform;

namespace {

TEST(InfoObjects, DefaultsAndSizeStamps) {
  CPatientInfo p;
  CRecordInfo r;
  CGeneralInfo g;
  EXPECT_EQ(p.m_size, 40u);
  EXPECT_EQ(r.m_size, 48u);
  EXPECT_EQ(g.m_size, 88u);
  EXPECT_EQ(p.GetVersion(), 1);
  EXPECT_FALSE(p.m_lastName.has_value());
  EXPECT_FALSE(g.m_interpretation.has_value());
}

TEST(InfoObjects, SetCopiesDeeplyOnlyBetweenVersionOneObjects) {
  CPatientInfo a;
  a.m_lastName = u"Nakamura";
  a.m_weight = 64000;
  CPatientInfo b;
  ASSERT_TRUE(b.Set(&a));
  EXPECT_EQ(b.GetVersion(), 1);
  a.m_lastName->append(u"-Berg");  // the copy owns its own string
  EXPECT_EQ(*b.m_lastName, u"Nakamura");
  EXPECT_EQ(b.m_weight, 64000u);

  CPatientInfo old;
  old.m_version = 0;
  CPatientInfo c;
  c.m_lastName = u"Keep";
  EXPECT_FALSE(c.Set(&old));
  EXPECT_EQ(c.GetVersion(), 0);
  EXPECT_EQ(*c.m_lastName, u"Keep");
  EXPECT_FALSE(c.Set(&a));  // its own version is now 0
  EXPECT_FALSE(c.Set(nullptr));

  CGeneralInfo g1;
  g1.m_comment = u"Repeat in a week";
  g1.m_confirmed = 1;
  CGeneralInfo g2(g1);
  EXPECT_EQ(*g2.m_comment, u"Repeat in a week");
  EXPECT_EQ(g2.m_confirmed, 1);
  g2.SetDefault();
  EXPECT_FALSE(g2.m_comment.has_value());
  EXPECT_EQ(g2.GetVersion(), 1);

  CRecordInfo r1;
  r1.m_modelDescription = u"TM12";
  r1.m_deviceId = 9;
  CRecordInfo r2;
  r2 = r1;
  EXPECT_EQ(*r2.m_modelDescription, u"TM12");
  EXPECT_EQ(r2.m_deviceId, 9);
}

TEST(LeadErrors, AllocateAndGrowLimits) {
  SLeadErrors e;
  EXPECT_FALSE(e.Allocate(0));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_FALSE(e.Allocate(255));
  EXPECT_EQ(GetLastError(), kErrorOutOfStructures);
  ASSERT_TRUE(e.Allocate(254));
  EXPECT_EQ(e.m_count, 254);
  EXPECT_FALSE(e.AddLeads(1));
  EXPECT_EQ(GetLastError(), kErrorOutOfStructures);
  ASSERT_TRUE(e.Allocate(2));
  e.m_entries[1].m_leadId = 5;
  ASSERT_TRUE(e.AddLeads(3));
  EXPECT_EQ(e.m_count, 5);
  EXPECT_EQ(e.m_entries[1].m_leadId, 5);
  SLeadErrors copy(e);
  EXPECT_EQ(copy.m_count, 5);
  EXPECT_EQ(copy.m_entries[1].m_leadId, 5);
  e.KillData();
  EXPECT_EQ(e.m_count, 0);
}

SLeadErrors Errors(std::initializer_list<std::pair<uint8_t, uint16_t>> entries) {
  SLeadErrors e;
  e.Allocate(static_cast<uint32_t>(entries.size()));
  int i = 0;
  for (auto [lead, bits] : entries) {
    e.m_entries[i].m_leadId = lead;
    e.m_entries[i].m_errorBits = bits;
    ++i;
  }
  return e;
}

TEST(LeadErrors, CalculatedLeadsGetTheBitsOfLeadsOneAndTwo) {
  SLeadErrors e = Errors({{1, 0x0001}, {2, 0x0100}, {3, 0x0002}, {62, 0x8000}});
  ASSERT_TRUE(e.AddCalcLeads());
  ASSERT_EQ(e.m_count, 7);
  EXPECT_EQ(+e.m_entries[3].m_errorBits, 0x8000);  // aVR kept as it was
  const uint8_t expected_ids[] = {61, 63, 64};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(e.m_entries[4 + i].m_leadId, expected_ids[i]);
    EXPECT_EQ(+e.m_entries[4 + i].m_errorBits, 0x0101);
  }
  // Nothing missing: no change.
  ASSERT_TRUE(e.AddCalcLeads());
  EXPECT_EQ(e.m_count, 7);
}

TEST(LeadErrors, CalculatedLeadsNeedLeadsOneAndTwo) {
  SLeadErrors e = Errors({{1, 0}, {3, 0}});
  EXPECT_FALSE(e.AddCalcLeads());
  EXPECT_EQ(GetLastError(), kErrorNoData);
  EXPECT_EQ(e.m_count, 2);
  SLeadErrors all = Errors({{61, 0}, {62, 0}, {63, 0}, {64, 0}});
  EXPECT_TRUE(all.AddCalcLeads());  // none missing, leads I and II not needed
}

TEST(UnknownTags, OneValuePerTagNumber) {
  SUnknownTags tags;
  EXPECT_FALSE(tags.Allocate(30, 0));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  ASSERT_TRUE(tags.Allocate(30, 4));
  tags.m_values[30][0] = 7;
  ASSERT_TRUE(tags.Allocate(30, 2));  // replaces the earlier value
  EXPECT_EQ(tags.m_lengths[30], 2);
  EXPECT_EQ(tags.m_values[30][0], 0);
  tags.KillTag(30);
  EXPECT_EQ(tags.m_lengths[30], 0);
  EXPECT_EQ(tags.m_values[30], nullptr);
}

}  // namespace
