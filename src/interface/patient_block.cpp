#include "interface/patient_block.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/text_codec.h"

namespace ecg::interface {
namespace {

// Truncation towards zero held inside [lo, hi]; NaN counts as 0.
template <typename T>
T TruncateInto(double value) {
  if (std::isnan(value)) return 0;
  constexpr double lo = static_cast<double>(std::numeric_limits<T>::min());
  constexpr double hi = static_cast<double>(std::numeric_limits<T>::max());
  if (value <= lo) return std::numeric_limits<T>::min();
  if (value >= hi) return std::numeric_limits<T>::max();
  return static_cast<T>(value);
}

// Truncation of a quotient or product that should land on a whole number but
// may sit a rounding error below it (167.64 / 2.54 is 65.99999...); the
// tolerance is far below anything a person can enter.
int32_t TruncateMeasure(double value) {
  constexpr double kTolerance = 1e-9;
  return TruncateInto<int32_t>(value + (value >= 0 ? kTolerance : -kTolerance));
}

}  // namespace

std::string_view PatientText(const char (&field)[kPatientTextSize]) {
  return std::string_view(field, strnlen(field, kPatientTextSize));
}

void SetPatientText(char (&field)[kPatientTextSize], std::string_view text) {
  size_t length = std::min(text.size(), kPatientTextSize - 1);
  // Do not leave half of a multi-byte character at the end.
  if (length < text.size()) {
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
  }
  std::memcpy(field, text.data(), length);
  std::memset(field + length, 0, kPatientTextSize - length);
}

CPatientInfo ToPatientInfo(const PatientBlock& block) {
  CPatientInfo info;
  info.m_patientId = platform::Utf8ToWideLossy(PatientText(block.patientId));
  info.m_lastName = platform::Utf8ToWideLossy(PatientText(block.lastName));
  info.m_firstName = platform::Utf8ToWideLossy(PatientText(block.firstName));
  info.m_sex = static_cast<uint8_t>(block.gender);
  info.m_height = TruncateInto<uint16_t>(block.height * 10.0);
  info.m_weight = TruncateInto<uint32_t>(block.weight * 1000.0);
  info.m_birthYear = TruncateInto<uint16_t>(block.yearOfBirth);
  info.m_birthMonth = TruncateInto<uint16_t>(block.monthOfBirth);
  info.m_birthDay = TruncateInto<uint16_t>(block.dayOfBirth);
  return info;
}

BodyMeasures ToDialogMeasures(double height_cm, double weight_kg, int measurement_system) {
  BodyMeasures measures;
  if (measurement_system == kImperialUnits) {
    const int32_t inches = TruncateMeasure(height_cm / 2.54);
    measures.height = inches / 12;
    measures.inches = inches % 12;
    measures.weight = TruncateMeasure(weight_kg * 2.2046);
  } else {
    measures.height = TruncateInto<int32_t>(height_cm);
    measures.weight = TruncateInto<int32_t>(weight_kg);
  }
  return measures;
}

void FromDialogMeasures(const BodyMeasures& measures, int measurement_system, double& height_cm,
                        double& weight_kg) {
  if (measurement_system == kImperialUnits) {
    height_cm = (static_cast<double>(measures.height) * 12.0 + measures.inches) * 2.54;
    weight_kg = static_cast<double>(measures.weight) * 0.4536;
  } else {
    height_cm = measures.height;
    weight_kg = measures.weight;
  }
}

int64_t AgeInWholeYears(const CalendarDate& birth, const CalendarDate& today) {
  int64_t age = static_cast<int64_t>(today.year) - birth.year;
  if (today.month < birth.month || (today.month == birth.month && today.day < birth.day)) --age;
  return age;
}

BirthDateCheck CheckBirthDate(const CalendarDate& birth, const CalendarDate& today) {
  const auto key = [](const CalendarDate& d) {
    return (static_cast<int64_t>(d.year) * 13 + d.month) * 32 + d.day;
  };
  if (key(birth) > key(today)) return BirthDateCheck::kAfterToday;
  if (AgeInWholeYears(birth, today) == 0) return BirthDateCheck::kUnderOneYear;
  if (static_cast<int64_t>(today.year) - birth.year > kMaximumAgeYears) {
    return BirthDateCheck::kOverMaximumAge;
  }
  return BirthDateCheck::kOk;
}

}  // namespace ecg::interface
