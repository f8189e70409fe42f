#include "report/report_types.h"

#include <QtGlobal>

#include "render/trace_layout.h"

namespace ecg::report {

const char* const kAveragedNeedsMeasurements = QT_TRANSLATE_NOOP(
    "CECGPrint",
    "Averaged complexes report is not available on ECG data that is missing measurements.  If "
    "you need this report, please open the ECG and select the Re-Analyze menu.");
const char* const kMeasurementsNeedMeasurements = QT_TRANSLATE_NOOP(
    "CECGPrint",
    "Measurements report is not available on ECG data that is missing measurements.  If you "
    "need this report, please open the ECG and select the Re-Analyze menu.");

const char* ReportTitleText(int32_t type) {
  switch (type) {
    case kReport3x4Simultaneous: return QT_TRANSLATE_NOOP("CECGPrint", "3x4 Simultaneous ECG Report");
    case kReport3x4Sequential: return QT_TRANSLATE_NOOP("CECGPrint", "3x4 Sequential ECG Report");
    case kReport6x2: return QT_TRANSLATE_NOOP("CECGPrint", "6x2 ECG Report");
    case kReport6x1TwoPages: return QT_TRANSLATE_NOOP("CECGPrint", "6x1 ECG Report");
    case kReportAveraged: return QT_TRANSLATE_NOOP("CECGPrint", "Averaged Complexes ECG Report");
    case kReportMeasurements: return QT_TRANSLATE_NOOP("CECGPrint", "ECG Measurements Report");
    case kReport3x2Simultaneous: return QT_TRANSLATE_NOOP("CECGPrint", "3x2 Simultaneous ECG Report");
    case kReport3x2Sequential: return QT_TRANSLATE_NOOP("CECGPrint", "3x2 Sequential ECG Report");
    case kReport6x1Simultaneous: return QT_TRANSLATE_NOOP("CECGPrint", "6x1 Simultaneous ECG Report");
    case kReportSingleLead: return QT_TRANSLATE_NOOP("CECGPrint", "Single Lead Report");
    case kReportZoom: return QT_TRANSLATE_NOOP("CECGPrint", "Zoom Report");
    case kReportAveragedZoom: return QT_TRANSLATE_NOOP("CECGPrint", "Avg Zoom Report");
    default: return QT_TRANSLATE_NOOP("CECGPrint", "not defined");
  }
}

int LayoutCode(int32_t type) {
  using namespace ecg::render;
  switch (type) {
    case kReport3x4Simultaneous: return kLayout3x4;
    case kReport3x4Sequential: return kLayout3x4Sequential;
    case kReport6x2: return kLayout6x2;
    case kReport6x1TwoPages: return kLayout6x1;
    case kReportAveraged: return kLayoutAveraged;
    case kReport3x2Simultaneous: return kLayout3x2;
    case kReport3x2Sequential: return kLayout3x2Sequential;
    case kReport6x1Simultaneous: return kLayout6x1;
    case kReportSingleLead: return kLayoutSingleLead;
    case kReportZoom: return kLayoutZoom;
    case kReportAveragedZoom: return kLayoutAveragedZoom;
    default: return -1;
  }
}

bool HasRhythmStrip(int32_t type) {
  switch (type) {
    case kReport3x4Simultaneous:
    case kReport3x4Sequential:
    case kReportAveraged:
    case kReport3x2Simultaneous:
    case kReport3x2Sequential:
    case kReport6x1Simultaneous: return true;
    default: return false;
  }
}

ReportChoice ChooseReports(int lead_count, bool has_measurements, int32_t mask) {
  ReportChoice choice;
  auto add = [&](int32_t type) {
    if ((type & mask) != 0) choice.types.push_back(type);
  };
  if (lead_count == 8 || lead_count == 12) {
    for (int32_t type : {kReport3x4Simultaneous, kReport3x4Sequential, kReport6x2, kReport6x1TwoPages}) {
      add(type);
    }
    if ((mask & kReportAveraged) != 0 && !has_measurements) {
      choice.warnings.push_back(kAveragedNeedsMeasurements);
    } else {
      add(kReportAveraged);
    }
    if ((mask & kReportMeasurements) != 0 && !has_measurements) {
      choice.warnings.push_back(kMeasurementsNeedMeasurements);
    } else {
      add(kReportMeasurements);
    }
    add(kReportAveragedZoom);
    add(kReportZoom);
  } else if (lead_count == 2 || lead_count == 6) {
    for (int32_t type : {kReport3x2Simultaneous, kReport3x2Sequential, kReport6x1Simultaneous, kReportZoom}) {
      add(type);
    }
  } else if (lead_count == 1) {
    add(kReportSingleLead);
  }
  return choice;
}

}  // namespace ecg::report
