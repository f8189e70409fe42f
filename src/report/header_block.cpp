#include "report/header_block.h"

#include <QDate>
#include <QLocale>
#include <QTime>

#include "report/report_text.h"

namespace ecg::report {

namespace {

QString Wide(const WideText& text) {
  return text ? QString::fromUtf16(text->data(), static_cast<qsizetype>(text->size())) : QString();
}

HeaderColumn PatientColumn(const ReportRecord& record, const HeaderOptions& options,
                           bool* shown) {
  const CPatientInfo& p = record.patient;
  HeaderColumn column;
  column.labels = {Tr("Patient Details"), Tr("Name:"), Tr("ID:"), Tr("Gender:"),
                   Tr("Date of Birth:"), Tr("Height:"), Tr("Weight:")};
  const QString first = Wide(p.m_firstName), last = Wide(p.m_lastName), id = Wide(p.m_patientId);
  *shown = !first.isEmpty() || !last.isEmpty() || !id.isEmpty();
  if (!*shown) {
    for (int i = 0; i < 8; ++i) column.values.append(QString());
    return column;
  }
  QString birth;
  const QDate birth_date(p.m_birthYear, p.m_birthMonth, p.m_birthDay);
  if (birth_date.isValid()) birth = QLocale::system().toString(birth_date, QLocale::ShortFormat);
  const CRecordInfo& r = record.recording;
  const int year = FullYear(r.m_year);
  if (QDate(year, r.m_month, r.m_day).isValid() && birth_date.isValid()) {
    const int age = AgeInYears(p.m_birthYear, p.m_birthMonth, p.m_birthDay, year, r.m_month, r.m_day);
    birth += QStringLiteral("   ") + Tr("(%1 years)").arg(age);
  }
  column.values = {QStringLiteral(" "),
                   QStringLiteral("%1 %2").arg(first, last),
                   id,
                   GenderText(p.m_sex),
                   birth,
                   p.m_height > 0 ? FromUtf8(FormatHeight(p.m_height / 1000.0, options.imperial)) : QString(),
                   p.m_weight > 0 ? FromUtf8(FormatWeight(p.m_weight / 1000.0, options.imperial)) : QString()};
  return column;
}

HeaderColumn RecordingColumn(const ReportRecord& record) {
  const CRecordInfo& r = record.recording;
  HeaderColumn column;
  column.labels = {Tr("Recording Details"), Tr("Recorded:"), Tr("Device:")};
  QString recorded;
  const QDate date(FullYear(r.m_year), r.m_month, r.m_day);
  if (date.isValid()) {
    recorded = QLocale::system().toString(date, QLocale::ShortFormat) + QStringLiteral(" ") +
               QLocale::system().toString(QTime(r.m_hour % 24, r.m_minute % 60, r.m_second % 60),
                                          QLocale::ShortFormat);
  }
  QString device = Wide(r.m_modelDescription);
  const QString second = Wide(r.m_serialNumber);
  if (!second.isEmpty()) {
    device += second;
  } else if (r.m_deviceId != 0) {
    device += QString::number(r.m_deviceId);
  }
  column.values = {QStringLiteral(" "), recorded, device};
  return column;
}

HeaderColumn MeasurementColumn(const ReportRecord& record, const HeaderOptions& options) {
  const SGlobalMeasurements& g = record.analysis.m_global;
  HeaderColumn column;
  column.labels = {Tr("Measurements"),  Tr("Heart Rate:"),  Tr("P Duration:"),
                   Tr("PR Interval:"),  Tr("QRS Duration:"), Tr("QT Interval:"),
                   Tr("QTc Interval:"), Tr("P,QRS,T Axis:")};
  const QString axes = FromUtf8(GetAxisString(g.m_pAxis, g.m_pOnset, g.m_pOffset)) + QStringLiteral(", ") +
                       FromUtf8(GetAxisString(g.m_qrsAxis, g.m_qrsOnset, g.m_qrsOffset)) +
                       QStringLiteral(", ") +
                       FromUtf8(GetAxisString(g.m_tAxis, g.m_qrsOnset, g.m_tOffset));
  column.values = {QStringLiteral(" "),
                   FromUtf8(FormatHr(g.m_rr)),
                   FromUtf8(FormatDuration(g.m_pOnset, g.m_pOffset)),
                   FromUtf8(FormatDuration(g.m_pOnset, g.m_qrsOnset)),
                   FromUtf8(FormatDuration(g.m_qrsOnset, g.m_qrsOffset)),
                   FromUtf8(FormatDuration(g.m_qrsOnset, g.m_tOffset)),
                   FromUtf8(GetQTcString(g.m_qrsOnset, g.m_tOffset, g.m_rr, options.qtc)),
                   axes};
  return column;
}

}  // namespace

QString GenderText(int code) {
  switch (code) {
    case 0: return Tr("Unknown");
    case 1: return Tr("Male");
    case 2: return Tr("Female");
    default: return QString();
  }
}

HeaderInfo GetInfo(const ReportRecord& record, const HeaderOptions& options) {
  HeaderInfo info;
  info.patient = PatientColumn(record, options, &info.patient_details_shown);
  info.recording = RecordingColumn(record);
  if (options.measurements && record.has_measurements) {
    info.measurements = MeasurementColumn(record, options);
  }
  info.show_interpretation = options.interpretation;
  if (info.show_interpretation) {
    info.interpretation_heading = record.general.m_confirmed != 0 ? Tr("Interpretation (Confirmed)")
                                                                  : Tr("Interpretation (Unconfirmed)");
    if (record.general.m_interpretationEdited != 0) info.interpretation_heading += QStringLiteral(" *");
    info.interpretation = Wide(record.general.m_interpretation);
  }
  info.show_comments = options.comments;
  if (info.show_comments) info.comments = Wide(record.general.m_comment);
  return info;
}

}  // namespace ecg::report
