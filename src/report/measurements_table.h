#pragma once
// The fixed-pitch text of the measurements report: headings, a rule, one
// row per lead in the print table's order, rules between lead groups.

#include <QStringList>

#include "report/report_formatters.h"
#include "report/report_record.h"

namespace ecg::report {

// The lead codes of the table's rows for a record of `lead_count` leads:
// all twelve for 8 or 12 leads, the six limb leads for 2 or 6, lead I for 1.
std::vector<uint8_t> MeasurementRowLeads(int lead_count);

QStringList MeasurementTableLines(const ReportRecord& record, AmplitudeUnits units,
                                  double sensitivity_mm_mv);

// QString padding that counts characters, not bytes.
QString SizeText(const QString& text, int n);

}  // namespace ecg::report
