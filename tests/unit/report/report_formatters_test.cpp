#include "report/report_formatters.h"

#include <gtest/gtest.h>

namespace ecg::report {
namespace {

TEST(ReportFormatters, HeartRateAndDurations) {
  const struct { int rr; const char* text; } hr[] = {
      {1000, "60 bpm"}, {833, "72 bpm"}, {1, "60000 bpm"}, {0, "-"}, {-5, "-"}, {1500, "40 bpm"}};
  for (const auto& c : hr) EXPECT_EQ(FormatHr(c.rr), c.text) << c.rr;

  const struct { int on, off; const char* text; } durations[] = {
      {100, 500, "400 ms"}, {150, 250, "100 ms"}, {100, 100, "-"}, {200, 100, "-"},
      {0, 100, "-"},        {29999, 400, ""},     {100, 29998, ""}, {100, 19999, ""}};
  for (const auto& c : durations) EXPECT_EQ(FormatDuration(c.on, c.off), c.text) << c.on << " " << c.off;
  EXPECT_FALSE(ValidDuration(29999));
  EXPECT_FALSE(ValidDuration(19999));
  EXPECT_TRUE(ValidDuration(29997));
  EXPECT_TRUE(ValidDuration(0));
}

TEST(ReportFormatters, QtcByMethod) {
  const struct { int on, off, rr; QtcMethod method; const char* text; } cases[] = {
      {100, 500, 1000, QtcMethod::kBazett, "400 ms (Bazett)"},
      {100, 500, 1000, QtcMethod::kFridericia, "400 ms (Fridericia)"},
      {0, 360, 640, QtcMethod::kBazett, "450 ms (Bazett)"},        // 360 / 0.8
      {0, 360, 512, QtcMethod::kFridericia, "450 ms (Fridericia)"},  // 360 / 0.8
      {100, 500, 0, QtcMethod::kBazett, "-"},
      {29999, 500, 1000, QtcMethod::kBazett, "-"},
      {100, 19999, 1000, QtcMethod::kBazett, "-"},
      {100, 500, 29998, QtcMethod::kBazett, "-"},
  };
  for (const auto& c : cases) EXPECT_EQ(GetQTcString(c.on, c.off, c.rr, c.method), c.text) << c.rr;
  EXPECT_EQ(QtcMethodFromOption(0), QtcMethod::kBazett);
  EXPECT_EQ(QtcMethodFromOption(1), QtcMethod::kFridericia);
}

TEST(ReportFormatters, Axes) {
  const struct { int axis, on, off; const char* text; } cases[] = {
      {999, 100, 200, "-"}, {-30, 100, 200, "-30\u00B0"}, {60, 100, 200, "60\u00B0"},
      {0, 100, 200, "0\u00B0"}, {0, 200, 200, "-"}, {29999, 100, 200, ""}, {19999, 0, 0, ""}};
  for (const auto& c : cases) EXPECT_EQ(GetAxisString(c.axis, c.on, c.off), c.text) << c.axis;
}

TEST(ReportFormatters, ComplexTypes) {
  const struct { int q, r, s, r2, s2; const char* text; } cases[] = {
      {-600, 1200, -100, 0, 0, "QRs"}, {0, 300, -900, 0, 0, "rS"},   {-1200, 0, 0, 0, 0, "Q"},
      {-600, 0, -700, 0, 0, "QS"},     {0, 200, -100, 600, 0, "rsR'"}, {-80, 990, -300, 0, 0, "qRs"},
      {0, 0, 0, 0, 0, ""},             {-600, 29999, 0, 0, 0, ""},   {0, 500, -499, 0, -500, "RsS'"}};
  for (const auto& c : cases) EXPECT_EQ(GetComplexType(c.q, c.r, c.s, c.r2, c.s2), c.text) << c.text;
}

TEST(ReportFormatters, AmplitudesAndValuesAreSixCharacters) {
  const struct { int uv; double mm_mv; AmplitudeUnits units; const char* text; } cases[] = {
      {-1500, 10, AmplitudeUnits::kMillimetres, "-15.00"},
      {500, 10, AmplitudeUnits::kMillimetres, "  5.00"},
      {0, 10, AmplitudeUnits::kMillimetres, "  0.00"},
      {-300, 10, AmplitudeUnits::kMillimetres, " -3.00"},
      {1200, 10, AmplitudeUnits::kMillimetres, " 12.00"},
      {1234, 20, AmplitudeUnits::kMillimetres, " 24.68"},
      {-15000, 10, AmplitudeUnits::kMillimetres, "-150.0"},  // cut to 6
      {29999, 10, AmplitudeUnits::kMillimetres, "      "},
      {-80, 10, AmplitudeUnits::kMicrovolts, "-80   "},
      {1234567 % 30000, 10, AmplitudeUnits::kMicrovolts, "4567  "},
      {19999, 10, AmplitudeUnits::kMicrovolts, "      "},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatAmplitude(c.uv, c.mm_mv, c.units), c.text) << c.uv;

  const struct { int n; const char* text; } values[] = {
      {40, "40    "}, {0, "-     "}, {-3, "-     "}, {1234567, "123456"}, {29999, "-     "}};
  for (const auto& c : values) EXPECT_EQ(FormatValue(c.n), c.text) << c.n;
  EXPECT_EQ(SizeString("abc", 5), "abc  ");
  EXPECT_EQ(SizeString("abcdef", 3), "abc");
  EXPECT_EQ(SizeString("", 0), "");
}

TEST(ReportFormatters, HeightAndWeight) {
  const struct { double m; bool imperial; const char* text; } heights[] = {
      {1.75, true, "5 ft 9 in"}, {1.75, false, "175 cm"}, {1.8288, true, "6 ft 0 in"},
      {1.8162, true, "6 ft 0 in"},  // 71.5 in: rounds up into the next foot
      {1.6, true, "5 ft 3 in"},  {1.8, false, "180 cm"}};
  for (const auto& c : heights) EXPECT_EQ(FormatHeight(c.m, c.imperial), c.text) << c.m;
  const struct { double kg; bool imperial; const char* text; } weights[] = {
      {70.5, true, "155 lbs"}, {70.5, false, "71 kg"}, {72.0, false, "72 kg"}, {100.0, true, "220 lbs"}};
  for (const auto& c : weights) EXPECT_EQ(FormatWeight(c.kg, c.imperial), c.text) << c.kg;
}

TEST(ReportFormatters, AgeAndYears) {
  EXPECT_EQ(AgeInYears(1961, 4, 17, 2026, 11, 30), 65);
  EXPECT_EQ(AgeInYears(1961, 4, 17, 2026, 4, 17), 65);
  EXPECT_EQ(AgeInYears(1961, 4, 17, 2026, 4, 16), 64);
  EXPECT_EQ(AgeInYears(1961, 4, 17, 2026, 3, 30), 64);
  EXPECT_EQ(FullYear(79), 2079);
  EXPECT_EQ(FullYear(5), 2005);
  EXPECT_EQ(FullYear(80), 1980);
  EXPECT_EQ(FullYear(99), 1999);
  EXPECT_EQ(FullYear(2024), 2024);
}

TEST(ReportFormatters, FilterLine) {
  EXPECT_EQ(GetFilterString(true, 50.0, true, true), "Filters: 50.00Hz; 0.05 - 35 Hz Baseline");
  EXPECT_EQ(GetFilterString(false, 60.0, false, false), "Filters: 0.05 - 150 Hz");
  EXPECT_EQ(GetFilterString(true, 60.0, false, false), "Filters: 60.00Hz; 0.05 - 150 Hz");
}

}  // namespace
}  // namespace ecg::report
