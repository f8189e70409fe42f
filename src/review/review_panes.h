#pragma once
// The texts of the review window's panes, built from a record without any
// widget: the window title, the nine values of the measurements panel and
// its filter line, and the tab-separated texts of the details tabs. Values
// use the report header's formatters, so screen and paper agree.

#include <QString>
#include <QStringList>

#include "report/report_formatters.h"
#include "report/report_record.h"

namespace ecg::review {

// "Patient <first> <last> Test on <date> at <time>".
QString ReviewWindowTitle(const ecg::report::ReportRecord& record);

// The measurements panel, in the order of its labels.
struct MeasurementPanel {
  static constexpr int kCount = 9;
  static const char* const kLabels[kCount];  // "Heart Rate:" ... "QTc Interval:"
  QString values[kCount];
};
MeasurementPanel MeasurementPanelValues(const ecg::report::ReportRecord& record,
                                        ecg::report::QtcMethod qtc);

// The "Filter:" value from the record's filter bits (tag 212): the pass
// band, ";Baseline" and the mains notch.
QString ReviewFilterLine(const ecg::report::ReportRecord& record);

// Tab texts: rows separated by '\n', columns by '\t'.
QString PatientTabText(const ecg::report::ReportRecord& record, bool imperial);
QString RecordingTabText(const ecg::report::ReportRecord& record);
QStringList MeasurementsTabLines(const ecg::report::ReportRecord& record,
                                 ecg::report::AmplitudeUnits units, double sensitivity_mm_mv);

// Height and weight as the patient tab shows them: "%d cm" or feet and
// inches ("5' 7\""), "%d kg" or "%d lbs"; empty when not recorded.
// The suffix of the manuals' file names for a language code: "" English
// (0 and unknown codes), "Fra" 1, "Deu" 2, "Ita" 3, "Esp" 4, "Ptg" 5, "Jpn" 6
// — the names of the language modules after "ECG".
QString ManualSuffix(int language);

QString TabHeight(int millimetres, bool imperial);
QString TabWeight(int grams, bool imperial);

}  // namespace ecg::review
