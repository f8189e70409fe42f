// The options record's defaults, the host-product flag behind the
// PowerFilterChoice default, the registry readers and the lead tables.

#include <gtest/gtest.h>

#include "interface/ecg_default_settings.h"
#include "interface/ecg_options.h"
#include "interface/lead_tables.h"
#include "interface/registry_values.h"
#include "platform/last_error.h"
#include "platform/registry.h"
#include "settings_sandbox.h"

using ecg::platform::RegistryHive;
using ecg::platform::RegistryWriteDword;
using ecg::platform::RegistryWriteString;

namespace {

class DefaultSettingsTest : public ecg::test::SettingsSandbox {};

TEST_F(DefaultSettingsTest, ListsDefaultToTheLeadTablesAndIdentityOrder) {
  CECGDefaultSettings options;
  EXPECT_EQ(options.CustomLeadGroup, CLeadTables::m_leadIds);
  EXPECT_EQ(options.CustomLeadGroupSize, 3);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(options.LeadOrder[static_cast<size_t>(i)], i);
  EXPECT_EQ(options.RhythmStripLead, 1);
  EXPECT_EQ(options.ReviewColor, 2);  // "Restore Defaults" differs (0); a fresh record holds 2
}

TEST_F(DefaultSettingsTest, WithoutTheHostProductPowerFilterChoiceIs60Hz) {
  CECGDefaultSettings options;
  EXPECT_EQ(g_iStillwaterVersion, 0);
  EXPECT_EQ(options.PowerFilterChoice, 1);
}

TEST_F(DefaultSettingsTest, LanguageValueOfTheCurrentUserSetsTheFlagAnd50Hz) {
  ASSERT_TRUE(RegistryWriteString(RegistryHive::kCurrentUser, kStillwaterKey, "StillwaterLanguage",
                                  "StillwaterDeu.dll"));
  CECGDefaultSettings options;
  EXPECT_EQ(g_iStillwaterVersion, 1);
  EXPECT_EQ(options.PowerFilterChoice, 0);
  EXPECT_EQ(CECGDefaultSettings::DefaultPowerFilterChoice(), 0);
}

TEST_F(DefaultSettingsTest, EmptyLanguageValueStillCountsAsPresent) {
  ASSERT_TRUE(
      RegistryWriteString(RegistryHive::kLocalMachine, kStillwaterKey, "StillwaterLanguage", ""));
  CECGDefaultSettings options;
  EXPECT_EQ(options.PowerFilterChoice, 0);
}

TEST_F(DefaultSettingsTest, NonZeroRegionOfTheLocalMachineSetsTheFlag) {
  ASSERT_TRUE(RegistryWriteDword(RegistryHive::kLocalMachine, kStillwaterKey, "StillwaterRegion", 7));
  CECGDefaultSettings options;
  EXPECT_EQ(g_iStillwaterVersion, 1);
  EXPECT_EQ(options.PowerFilterChoice, 0);
}

TEST_F(DefaultSettingsTest, ZeroOrUnreadableRegionLeavesTheFlagClear) {
  ASSERT_TRUE(RegistryWriteDword(RegistryHive::kCurrentUser, kStillwaterKey, "StillwaterRegion", 0));
  ASSERT_TRUE(RegistryWriteString(RegistryHive::kLocalMachine, kStillwaterKey, "StillwaterRegion",
                                  "north"));
  CECGDefaultSettings options;
  EXPECT_EQ(g_iStillwaterVersion, 0);
  EXPECT_EQ(options.PowerFilterChoice, 1);
}

TEST_F(DefaultSettingsTest, ConstructionNeverClearsAFlagAlreadySet) {
  g_iStillwaterVersion = 1;  // as the facade sets it from the language value
  CECGDefaultSettings options;
  EXPECT_EQ(g_iStillwaterVersion, 1);
  EXPECT_EQ(options.PowerFilterChoice, 0);
}

TEST_F(DefaultSettingsTest, AssigningToTheFileCopyCopiesEveryField) {
  CECGDefaultSettings active;
  active.Port = 9;
  active.ReportTitle = "Clinic";
  active.LeadOrder[0] = 11;
  active.MuscleFilter = true;
  CECGOptions file;
  file = active;
  EXPECT_TRUE(static_cast<const CECGDefaultSettings&>(file) == active);
  CECGDefaultSettings back;
  back = file;
  EXPECT_TRUE(back == active);
}

TEST_F(DefaultSettingsTest, ApplicationOptionsPointerIsForgottenWithItsRecord) {
  {
    CECGDefaultSettings active;
    ecg::interface::SetApplicationOptions(&active);
    CECGDefaultSettings copy = active;  // a copy going away changes nothing
    (void)copy;
  }
  EXPECT_EQ(ecg::interface::ApplicationOptions(), nullptr);
}

class RegistryValuesTest : public ecg::test::SettingsSandbox {};

TEST_F(RegistryValuesTest, CurrentUserValueWinsOverLocalMachine) {
  ASSERT_TRUE(RegistryWriteDword(RegistryHive::kCurrentUser, kStillwaterKey, "Region", 3));
  ASSERT_TRUE(RegistryWriteDword(RegistryHive::kLocalMachine, kStillwaterKey, "Region", 4));
  uint32_t value = 0;
  ASSERT_TRUE(ReadRegistryEntry("Region", &value, kStillwaterKey));
  EXPECT_EQ(value, 3u);
}

TEST_F(RegistryValuesTest, ValueMissingForTheUserIsReadFromTheMachine) {
  ASSERT_TRUE(RegistryWriteDword(RegistryHive::kCurrentUser, kStillwaterKey, "Other", 1));
  ASSERT_TRUE(RegistryWriteDword(RegistryHive::kLocalMachine, kStillwaterKey, "Region", 4));
  ASSERT_TRUE(RegistryWriteString(RegistryHive::kLocalMachine, kStillwaterKey, "Name", "\"x y\""));
  uint32_t value = 0;
  ASSERT_TRUE(ReadRegistryEntry("Region", &value, kStillwaterKey));
  EXPECT_EQ(value, 4u);
  std::string text;
  ASSERT_TRUE(GetRegistryStringValue(text, "Name", kStillwaterKey));
  EXPECT_EQ(text, "x y");
}

TEST_F(RegistryValuesTest, EmptyKeyPathMeansTheHostProductKey) {
  ASSERT_TRUE(RegistryWriteDword(RegistryHive::kCurrentUser, kStillwaterKey, "Region", 12));
  uint32_t value = 0;
  ASSERT_TRUE(ReadRegistryEntry("Region", &value, ""));
  EXPECT_EQ(value, 12u);
}

TEST_F(RegistryValuesTest, UnreadableValuesFailAndLeaveTheOutputAlone) {
  uint32_t value = 77;
  EXPECT_FALSE(ReadRegistryEntry("Region", &value, kStillwaterKey));
  EXPECT_EQ(ecg::platform::GetLastError(), ecg::platform::kErrorFileNotFound);
  ASSERT_TRUE(RegistryWriteString(RegistryHive::kCurrentUser, kStillwaterKey, "Region", "many"));
  EXPECT_FALSE(ReadRegistryEntry("Region", &value, kStillwaterKey));
  EXPECT_EQ(value, 77u);
  EXPECT_FALSE(ReadRegistryEntry("Region", nullptr, kStillwaterKey));
  EXPECT_EQ(ecg::platform::GetLastError(), ecg::platform::kErrorInvalidParameter);
  std::string text = "kept";
  EXPECT_FALSE(GetRegistryStringValue(text, "Missing", kStillwaterKey));
  EXPECT_EQ(text, "kept");
}

TEST(LeadTablesTest, IdentifiersAndPositionsAreInverse) {
  for (int position = 0; position < CLeadTables::kLeadCount; ++position) {
    int id = CLeadTables::LeadIdAtPosition(position);
    EXPECT_EQ(CLeadTables::PositionOfLeadId(id), position);
    EXPECT_STREQ(CLeadTables::LabelOfLeadId(id), CLeadTables::LabelAtPosition(position));
  }
  // Acquisition order I, II, V1-V6, III, aVR, aVL, aVF.
  EXPECT_STREQ(CLeadTables::LabelOfLeadId(2), "V1");
  EXPECT_STREQ(CLeadTables::LabelOfLeadId(8), "III");
  EXPECT_STREQ(CLeadTables::LabelOfLeadId(11), "aVF");
  EXPECT_EQ(CLeadTables::PositionOfLeadId(12), -1);
  EXPECT_EQ(CLeadTables::LeadIdAtPosition(-1), -1);
  EXPECT_EQ(CLeadTables::LabelOfLeadId(-3), nullptr);
  EXPECT_STREQ(CLeadTables::LeadGroupName(8), "3x4 View");
  EXPECT_EQ(CLeadTables::LeadGroupName(9), nullptr);
}

}  // namespace
