#include "report/report_formatters.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace ecg::report {

namespace {

template <typename... A>
std::string Format(const char* format, A... args) {
  char buffer[128];
  const int n = std::snprintf(buffer, sizeof(buffer), format, args...);
  return n < 0 ? std::string() : std::string(buffer, static_cast<size_t>(std::min<int>(n, sizeof(buffer) - 1)));
}

int RoundHalfUp(double v) { return static_cast<int>(std::floor(v + 0.5)); }

}  // namespace

bool ValidDuration(int value) { return value != 29999 && value != 29998 && value != 19999; }

std::string FormatHr(int rr_ms) {
  if (rr_ms < 1) return "-";
  return Format("%d bpm", 60000 / rr_ms);
}

std::string FormatDuration(int on, int off) {
  if (!ValidDuration(on) || !ValidDuration(off)) return {};
  if (off - on <= 0 || on <= 0 || off <= 0) return "-";
  return Format("%d ms", off - on);
}

QtcMethod QtcMethodFromOption(int option) {
  return option == 0 ? QtcMethod::kBazett : QtcMethod::kFridericia;
}

std::string GetQTcString(int qrs_on, int t_off, int rr_ms, QtcMethod method) {
  if (!ValidDuration(qrs_on) || !ValidDuration(t_off) || !ValidDuration(rr_ms) || rr_ms <= 0) {
    return "-";
  }
  const double qt = t_off - qrs_on;
  const double rr_s = rr_ms / 1000.0;
  if (method == QtcMethod::kBazett) return Format("%0.0f ms (%s)", qt / std::sqrt(rr_s), "Bazett");
  return Format("%0.0f ms (%s)", qt / std::cbrt(rr_s), "Fridericia");
}

std::string GetAxisString(int axis, int on, int off) {
  if (!ValidDuration(axis)) return {};
  if (axis == 999 || (axis == 0 && off - on <= 0)) return "-";
  return Format("%d\u00B0", axis);
}

std::string GetComplexType(int q, int r, int s, int r2, int s2) {
  const int values[] = {q, r, s, r2, s2};
  const char* const letters[] = {"q", "r", "s", "r'", "s'"};
  for (int v : values) {
    if (!ValidDuration(v)) return {};
  }
  std::string type;
  for (int i = 0; i < 5; ++i) {
    if (values[i] == 0) continue;
    std::string letter = letters[i];
    if (std::abs(values[i]) >= 500) letter[0] = static_cast<char>(letter[0] - 'a' + 'A');
    type += letter;
  }
  return type;
}

std::string SizeString(const std::string& text, size_t n) {
  if (text.size() >= n) return text.substr(0, n);
  return text + std::string(n - text.size(), ' ');
}

std::string FormatAmplitude(int microvolts, double mm_per_mv, AmplitudeUnits units) {
  if (!ValidDuration(microvolts)) return SizeString({}, 6);
  if (units == AmplitudeUnits::kMicrovolts) return SizeString(Format("%d", microvolts), 6);
  const double mm = mm_per_mv * microvolts / 1000.0;
  std::string text;
  if (mm >= 0 && mm < 10) {
    text = Format("  %0.2f", mm);
  } else if (mm <= -10) {
    text = Format("%0.2f", mm);
  } else {
    text = Format(" %0.2f", mm);
  }
  return SizeString(text, 6);
}

std::string FormatValue(int n) {
  if (n > 0 && ValidDuration(n)) return SizeString(Format("%d", n), 6);
  return SizeString("-", 6);
}

std::string FormatHeight(double metres, bool imperial) {
  if (!imperial) return Format("%d cm", RoundHalfUp(metres * 100.0));
  const double inches = metres * 100.0 / 2.54;
  int feet = static_cast<int>(inches) / 12;
  int rest = RoundHalfUp(inches - feet * 12.0);
  if (rest >= 12) {
    feet += 1;
    rest -= 12;
  }
  return Format("%d ft %d in", feet, rest);
}

std::string FormatWeight(double kilograms, bool imperial) {
  if (!imperial) return Format("%d kg", RoundHalfUp(kilograms));
  return Format("%d lbs", RoundHalfUp(kilograms * 2.2046));
}

int AgeInYears(int birth_year, int birth_month, int birth_day, int year, int month, int day) {
  int age = year - birth_year;
  if (month < birth_month || (month == birth_month && day < birth_day)) age -= 1;
  return age;
}

int FullYear(int year) {
  if (year >= 0 && year < 80) return 2000 + year;
  if (year >= 80 && year < 100) return 1900 + year;
  return year;
}

std::string GetFilterString(bool power_filter, double mains_hz, bool muscle_filter,
                            bool baseline_filter) {
  std::string text = "Filters: ";
  if (power_filter) text += Format("%0.2fHz; ", mains_hz);
  text += muscle_filter ? "0.05 - 35 Hz" : "0.05 - 150 Hz";
  if (baseline_filter) text += " Baseline";
  return text;
}

}  // namespace ecg::report
