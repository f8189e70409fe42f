#pragma once
// The current patient's demographic data as the facade holds it, and the
// conversions around it: into the record's CPatientInfo when a record is
// written, and to and from the values the patient dialog shows (metric or
// imperial units). Free of any window code so the facade, the review window
// and the tests share one set of rules.

#include <cstdint>
#include <string>
#include <string_view>

#include "scp/section1_model.h"

namespace ecg::interface {

inline constexpr size_t kPatientTextSize = 256;

struct PatientBlock {
  char firstName[kPatientTextSize] = "Quick";
  char lastName[kPatientTextSize] = "Test";
  char patientId[kPatientTextSize] = "-";
  double height = 0;  // centimetres
  double weight = 0;  // kilograms
  int32_t gender = 1;  // 1 male, 2 female
  int32_t yearOfBirth = 1970, monthOfBirth = 1, dayOfBirth = 1;
};

// The text of a 256-byte field up to its terminator (or the whole field when
// a host filled it without one).
std::string_view PatientText(const char (&field)[kPatientTextSize]);
// Stores `text` zero-terminated, cut to 255 bytes at a UTF-8 character boundary.
void SetPatientText(char (&field)[kPatientTextSize], std::string_view text);

// The record's patient facts: texts as wide strings, gender as its 8-bit code,
// height in millimetres (x10, truncated), weight in grams (x1000, truncated),
// the birth date as three 16-bit numbers. Values outside a field's range are
// held at its nearest limit (a negative height becomes 0).
CPatientInfo ToPatientInfo(const PatientBlock& block);

// MeasurementSystem 1 shows imperial units; any other value metric.
inline constexpr int kImperialUnits = 1;

// Height and weight as the dialog's edits show them: whole centimetres and
// kilograms in metric units; in imperial units whole inches split into feet
// and inches, and whole pounds. Every value is truncated, never rounded.
struct BodyMeasures {
  int32_t height = 0;  // cm, or feet
  int32_t inches = 0;  // 0..11, imperial only
  int32_t weight = 0;  // kg, or pounds
};

BodyMeasures ToDialogMeasures(double height_cm, double weight_kg, int measurement_system);

// Back to centimetres and kilograms: imperial (feet x 12 + inches) x 2.54 and
// pounds x 0.4536; metric the numbers as entered.
void FromDialogMeasures(const BodyMeasures& measures, int measurement_system, double& height_cm,
                        double& weight_kg);

struct CalendarDate {
  int32_t year = 0, month = 0, day = 0;
};

// The outcome of the birth-date checks, in the order the dialog makes them.
enum class BirthDateCheck {
  kOk,
  kAfterToday,      // "Birth date must be less than today's date."
  kUnderOneYear,    // age in whole years is 0
  kOverMaximumAge,  // current year minus birth year above 130
};

inline constexpr int kMaximumAgeYears = 130;

// Age in whole years: the difference of the years, less one when this year's
// birthday (month, then day) has not come yet.
int64_t AgeInWholeYears(const CalendarDate& birth, const CalendarDate& today);
BirthDateCheck CheckBirthDate(const CalendarDate& birth, const CalendarDate& today);

}  // namespace ecg::interface
