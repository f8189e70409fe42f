#pragma once
// Report types (one bit each), their titles, layouts and page counts, and
// the choice of reports for a record by its lead count.

#include <cstdint>
#include <string>
#include <vector>

namespace ecg::report {

enum tReportType : int32_t {
  kReport3x4Simultaneous = 1,
  kReport3x4Sequential = 2,
  kReport6x2 = 4,
  kReport6x1TwoPages = 8,
  kReportAveraged = 16,
  kReportMeasurements = 32,
  kReport3x2Simultaneous = 64,
  kReport3x2Sequential = 128,
  kReport6x1Simultaneous = 1024,
  kReportSingleLead = 2048,
  kReportZoom = 4096,
  kReportAveragedZoom = 8192,
};

// Types 1 and 64: what a new engine and "Restore Defaults" enable.
constexpr int32_t kDefaultReportMask = kReport3x4Simultaneous | kReport3x2Simultaneous;
// The fourteen bits of the options file, 1 to 8192.
constexpr int kReportBitCount = 14;

// The English title of a type ("not defined" for any other value); callers
// translate it.
const char* ReportTitleText(int32_t type);
// The painter's layout code for a type; -1 for the measurements report and
// unknown types.
int LayoutCode(int32_t type);
bool HasRhythmStrip(int32_t type);

// The warnings SetupReports shows when a type needs measurements the record
// lacks.
extern const char* const kAveragedNeedsMeasurements;
extern const char* const kMeasurementsNeedMeasurements;

struct ReportChoice {
  std::vector<int32_t> types;            // in print order
  std::vector<const char*> warnings;     // English texts, in order
};

// The reports of one record: by lead count, the types of the mask, with the
// warnings for the types that need measurements.
ReportChoice ChooseReports(int lead_count, bool has_measurements, int32_t mask);

}  // namespace ecg::report
