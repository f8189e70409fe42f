// The patient block: its conversion into the record's patient facts and the
// values the patient dialog shows and takes back, and the birth-date rules.

#include "interface/patient_block.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

namespace {

using namespace ecg::interface;

TEST(PatientBlock, DefaultsAreTheQuickTestPatient) {
  PatientBlock block;
  EXPECT_EQ(PatientText(block.firstName), "Quick");
  EXPECT_EQ(PatientText(block.lastName), "Test");
  EXPECT_EQ(PatientText(block.patientId), "-");
  EXPECT_EQ(block.gender, 1);
  EXPECT_EQ(block.yearOfBirth, 1970);
  EXPECT_EQ(block.monthOfBirth, 1);
  EXPECT_EQ(block.dayOfBirth, 1);
}

TEST(PatientBlock, ConvertsIntoPatientInfo) {
  PatientBlock block;
  SetPatientText(block.patientId, "ID-42");
  SetPatientText(block.lastName, "Müller");
  SetPatientText(block.firstName, "Ann");
  block.height = 167.64;  // 1676.4 mm -> 1676
  block.weight = 70.9999;  // 70999.9 g -> 70999
  block.gender = 2;
  block.yearOfBirth = 1951;
  block.monthOfBirth = 12;
  block.dayOfBirth = 31;

  CPatientInfo info = ToPatientInfo(block);
  ASSERT_TRUE(info.m_patientId && info.m_lastName && info.m_firstName);
  EXPECT_EQ(*info.m_patientId, u"ID-42");
  EXPECT_EQ(*info.m_lastName, u"M\u00fcller");
  EXPECT_EQ(*info.m_firstName, u"Ann");
  EXPECT_EQ(info.m_sex, 2);
  EXPECT_EQ(info.m_height, 1676);
  EXPECT_EQ(info.m_weight, 70999u);
  EXPECT_EQ(info.m_birthYear, 1951);
  EXPECT_EQ(info.m_birthMonth, 12);
  EXPECT_EQ(info.m_birthDay, 31);
  EXPECT_EQ(info.GetVersion(), 1);
}

TEST(PatientBlock, OutOfRangeNumbersAreHeldAtTheFieldLimits) {
  PatientBlock block;
  block.height = -5;
  block.weight = NAN;
  block.yearOfBirth = -1;
  block.monthOfBirth = 70000;
  CPatientInfo info = ToPatientInfo(block);
  EXPECT_EQ(info.m_height, 0);
  EXPECT_EQ(info.m_weight, 0u);
  EXPECT_EQ(info.m_birthYear, 0);
  EXPECT_EQ(info.m_birthMonth, 65535);

  block.height = 1e12;
  block.weight = 1e12;
  info = ToPatientInfo(block);
  EXPECT_EQ(info.m_height, 65535);
  EXPECT_EQ(info.m_weight, 4294967295u);
}

TEST(PatientBlock, TextsWithoutTerminatorAndOverlongTexts) {
  PatientBlock block;
  std::memset(block.lastName, 'x', sizeof block.lastName);  // no terminator at all
  EXPECT_EQ(PatientText(block.lastName).size(), kPatientTextSize);
  EXPECT_EQ(ToPatientInfo(block).m_lastName->size(), kPatientTextSize);

  SetPatientText(block.firstName, std::string(400, 'a'));
  EXPECT_EQ(PatientText(block.firstName), std::string(255, 'a'));
  EXPECT_EQ(block.firstName[255], '\0');

  // 254 ASCII bytes then a two-byte character: the character does not fit
  // whole, so it is left out rather than cut in half.
  SetPatientText(block.patientId, std::string(254, 'b') + "\xC3\xA9");
  EXPECT_EQ(PatientText(block.patientId), std::string(254, 'b'));

  // A shorter text overwrites a longer one completely.
  SetPatientText(block.firstName, "Bo");
  EXPECT_EQ(PatientText(block.firstName), "Bo");
  EXPECT_EQ(block.firstName[100], '\0');
}

TEST(PatientMeasures, ImperialHeightIsTruncatedToWholeInches) {
  const BodyMeasures m = ToDialogMeasures(170.0, 0.0, kImperialUnits);
  EXPECT_EQ(m.height, 5);  // 170 / 2.54 = 66.9 -> 66 in = 5 ft 6 in
  EXPECT_EQ(m.inches, 6);
  double height = 0, weight = 0;
  FromDialogMeasures(m, kImperialUnits, height, weight);
  EXPECT_NEAR(height, 167.64, 1e-9);

  // The stored value shows the same again (no drift by rounding error).
  const BodyMeasures again = ToDialogMeasures(height, 0.0, kImperialUnits);
  EXPECT_EQ(again.height, 5);
  EXPECT_EQ(again.inches, 6);
}

TEST(PatientMeasures, ImperialWeightIsTruncatedToWholePounds) {
  const BodyMeasures m = ToDialogMeasures(0.0, 70.9, kImperialUnits);
  EXPECT_EQ(m.weight, 156);  // 70.9 x 2.2046 = 156.31
  double height = 0, weight = 0;
  FromDialogMeasures(m, kImperialUnits, height, weight);
  EXPECT_NEAR(weight, 156 * 0.4536, 1e-9);
}

TEST(PatientMeasures, MetricValuesAreWholeNumbers) {
  const BodyMeasures m = ToDialogMeasures(181.9, 70.9, 0);
  EXPECT_EQ(m.height, 181);
  EXPECT_EQ(m.inches, 0);
  EXPECT_EQ(m.weight, 70);
  double height = 0, weight = 0;
  FromDialogMeasures(m, 0, height, weight);
  EXPECT_EQ(height, 181.0);
  EXPECT_EQ(weight, 70.0);
  // Any system other than 1 is metric.
  EXPECT_EQ(ToDialogMeasures(181.9, 70.9, 7).weight, 70);
}

TEST(PatientMeasures, ExtremeValuesDoNotOverflow) {
  const BodyMeasures m = ToDialogMeasures(1e300, -1e300, kImperialUnits);
  EXPECT_GE(m.height, 0);
  EXPECT_LE(m.weight, 0);
  EXPECT_EQ(ToDialogMeasures(NAN, NAN, 0).height, 0);
}

TEST(BirthDate, AgeCountsWholeYears) {
  const CalendarDate today{2026, 6, 15};
  EXPECT_EQ(AgeInWholeYears({1970, 6, 15}, today), 56);
  EXPECT_EQ(AgeInWholeYears({1970, 6, 16}, today), 55);  // birthday tomorrow
  EXPECT_EQ(AgeInWholeYears({1970, 7, 1}, today), 55);   // next month
  EXPECT_EQ(AgeInWholeYears({1970, 5, 30}, today), 56);
}

TEST(BirthDate, ChecksInTheirOrder) {
  const CalendarDate today{2026, 6, 15};
  EXPECT_EQ(CheckBirthDate({2026, 6, 16}, today), BirthDateCheck::kAfterToday);
  EXPECT_EQ(CheckBirthDate({2027, 1, 1}, today), BirthDateCheck::kAfterToday);
  EXPECT_EQ(CheckBirthDate({2026, 6, 15}, today), BirthDateCheck::kUnderOneYear);
  EXPECT_EQ(CheckBirthDate({2025, 6, 16}, today), BirthDateCheck::kUnderOneYear);
  EXPECT_EQ(CheckBirthDate({2025, 6, 15}, today), BirthDateCheck::kOk);
  EXPECT_EQ(CheckBirthDate({1896, 6, 15}, today), BirthDateCheck::kOk);  // 130
  // 131 by the years, even though the birthday has not come yet this year.
  EXPECT_EQ(CheckBirthDate({1895, 12, 31}, today), BirthDateCheck::kOverMaximumAge);
  EXPECT_EQ(CheckBirthDate({1895, 1, 1}, today), BirthDateCheck::kOverMaximumAge);
}

}  // namespace
