#pragma once
// The value formatters of the report header and measurement table. Pure
// functions over numbers; texts are the report's own, units unchanged.

#include <cstdint>
#include <string>

namespace ecg::report {

// Measurement values that mean "not valid": not computed, lead rejected,
// wave absent.
bool ValidDuration(int value);

// "-" when RR < 1, else "%d bpm" of 60000 / RR (integer division).
std::string FormatHr(int rr_ms);
// Empty when either value is not valid; "-" when off - on <= 0 or either is
// <= 0; else "<off - on> ms".
std::string FormatDuration(int on, int off);

enum class QtcMethod { kBazett = 0, kFridericia = 1 };
QtcMethod QtcMethodFromOption(int option);
// "-" unless all three are valid and RR > 0; else "%0.0f ms (Bazett)" or
// "(Fridericia)".
std::string GetQTcString(int qrs_on, int t_off, int rr_ms, QtcMethod method);

// Empty when the axis is not valid; "-" for 999, or 0 while off - on <= 0;
// else the number and the degree sign.
std::string GetAxisString(int axis, int on, int off);

// "q", "r", "s", "r'", "s'" of the waves with a non-zero amplitude, upper
// case from 500 µV; empty when any amplitude is not valid.
std::string GetComplexType(int q, int r, int s, int r2, int s2);

enum class AmplitudeUnits { kMicrovolts = 0, kMillimetres = 1 };
// One amplitude cell, padded or cut to 6 characters. Values that are not
// valid give an empty cell in both units, so that no marker value is shown.
std::string FormatAmplitude(int microvolts, double mm_per_mv, AmplitudeUnits units);
// "%d" when n > 0, else "-" (values that are not valid included); padded or
// cut to 6.
std::string FormatValue(int n);
// Pads with spaces to n characters, or keeps the first n.
std::string SizeString(const std::string& text, size_t n);

// Height (metres) and weight (kg) as the header shows them: "175 cm" and
// "71 kg", or "5 ft 9 in" and "155 lbs". Rounding is half up.
std::string FormatHeight(double metres, bool imperial);
std::string FormatWeight(double kilograms, bool imperial);

// Completed years from a birth date to a recording date; a recording month
// before the birth month, or the same month and an earlier day, counts one
// year less.
int AgeInYears(int birth_year, int birth_month, int birth_day, int year, int month, int day);
// Two-digit years: below 80 are 20xx, 80-99 are 19xx; others unchanged.
int FullYear(int year);

// "Filters: " then "%0.2fHz; " of the mains frequency when the power-line
// filter was on, "0.05 - 35 Hz" (muscle filter on) or "0.05 - 150 Hz", and
// " Baseline" when the baseline filter was on.
std::string GetFilterString(bool power_filter, double mains_hz, bool muscle_filter,
                            bool baseline_filter);

}  // namespace ecg::report
