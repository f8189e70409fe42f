#pragma once
// The header block of a report page: patient, recording and measurement
// columns (labels and values, line by line), the interpretation and the
// comments. Built from a record without drawing, so each value can be
// checked; drawn by the page.

#include <QString>
#include <QStringList>
#include <optional>

#include "report/report_formatters.h"
#include "report/report_record.h"

namespace ecg::report {

struct HeaderColumn {
  QStringList labels;
  QStringList values;
};

struct HeaderOptions {
  bool imperial = false;
  bool measurements = true;
  bool interpretation = true;
  bool comments = true;
  QtcMethod qtc = QtcMethod::kBazett;
};

struct HeaderInfo {
  HeaderColumn patient;
  HeaderColumn recording;
  std::optional<HeaderColumn> measurements;
  bool patient_details_shown = false;
  bool show_interpretation = false;
  QString interpretation_heading;
  QString interpretation;
  bool show_comments = false;
  QString comments;
};

HeaderInfo GetInfo(const ReportRecord& record, const HeaderOptions& options);

// The gender value: 0 "Unknown", 1 "Male", 2 "Female", other codes empty.
QString GenderText(int code);

}  // namespace ecg::report
