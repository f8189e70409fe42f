#include "review/review_panes.h"

#include <QCoreApplication>
#include <algorithm>
#include <QDate>
#include <QLocale>
#include <QTime>

#include "render/trace_set.h"
#include "report/measurements_table.h"

namespace ecg::review {

namespace {

using ecg::report::ReportRecord;

QString Tr(const char* text) { return QCoreApplication::translate("COskScpView", text); }
QString FromStd(const std::string& text) { return QString::fromStdString(text); }
QString Wide(const WideText& text) {
  return text ? QString::fromUtf16(text->data(), static_cast<qsizetype>(text->size())) : QString();
}

QDate AcquisitionDate(const CRecordInfo& r) {
  return QDate(ecg::report::FullYear(r.m_year), r.m_month, r.m_day);
}
QString ShortDate(const QDate& date) {
  return date.isValid() ? QLocale::system().toString(date, QLocale::ShortFormat) : QString();
}
QString ShortTime(const CRecordInfo& r) {
  const QTime time(r.m_hour, r.m_minute, r.m_second);
  return time.isValid() ? QLocale::system().toString(time, QLocale::ShortFormat) : QString();
}

QString Row(const QString& a, const QString& b, const QString& c, const QString& d) {
  return QStringLiteral("%1\t%2\t%3\t%4").arg(a, b, c, d);
}

int RoundHalfUp(double v) { return static_cast<int>(v + 0.5); }

}  // namespace

const char* const MeasurementPanel::kLabels[MeasurementPanel::kCount] = {
    "Heart Rate:", "P Duration:", "PR Interval:",  "P Axis:",       "QRS Duration:",
    "QRS Axis:",   "QT Interval:", "T Axis:",      "QTc Interval:"};

QString ReviewWindowTitle(const ReportRecord& record) {
  const QString name = QStringLiteral("%1 %2")
                           .arg(Wide(record.patient.m_firstName), Wide(record.patient.m_lastName))
                           .trimmed();
  const QString when = QStringLiteral("%1 at %2")
                           .arg(ShortDate(AcquisitionDate(record.recording)), ShortTime(record.recording));
  return Tr("Patient ") + name + Tr(" Test on ") + when;
}

MeasurementPanel MeasurementPanelValues(const ReportRecord& record, ecg::report::QtcMethod qtc) {
  MeasurementPanel panel;
  if (!record.has_measurements) return panel;  // no analysis: the labels stand alone
  const SGlobalMeasurements& g = record.analysis.m_global;
  using namespace ecg::report;
  panel.values[0] = FromStd(FormatHr(g.m_rr));
  panel.values[1] = FromStd(FormatDuration(g.m_pOnset, g.m_pOffset));
  panel.values[2] = FromStd(FormatDuration(g.m_pOnset, g.m_qrsOnset));
  panel.values[3] = FromStd(GetAxisString(g.m_pAxis, g.m_pOnset, g.m_pOffset));
  panel.values[4] = FromStd(FormatDuration(g.m_qrsOnset, g.m_qrsOffset));
  panel.values[5] = FromStd(GetAxisString(g.m_qrsAxis, g.m_qrsOnset, g.m_qrsOffset));
  panel.values[6] = FromStd(FormatDuration(g.m_qrsOnset, g.m_tOffset));
  panel.values[7] = FromStd(GetAxisString(g.m_tAxis, g.m_qrsOnset, g.m_tOffset));
  panel.values[8] = FromStd(GetQTcString(g.m_qrsOnset, g.m_tOffset, g.m_rr, qtc));
  return panel;
}

QString ReviewFilterLine(const ReportRecord& record) {
  const uint8_t filters = record.recording.m_writerFilter;
  const int mains = filters & 0x03;  // 1: 60 Hz, 2: 50 Hz
  QString line;
  if (mains == 1) line += QStringLiteral("60Hz; ");
  if (mains == 2) line += QStringLiteral("50Hz; ");
  line += (filters & 0x04) != 0 ? QStringLiteral("0.05 - 35 Hz") : QStringLiteral("0.05 - 150 Hz");
  if ((filters & 0x08) != 0) line += QStringLiteral(";Baseline");
  return line;
}

QString TabHeight(int millimetres, bool imperial) {
  if (millimetres <= 0) return QString();
  if (!imperial) return QStringLiteral("%1 cm").arg(RoundHalfUp(millimetres / 10.0));
  const double inches = millimetres / 25.4;
  int feet = static_cast<int>(inches) / 12;
  int rest = RoundHalfUp(inches - feet * 12.0);
  if (rest >= 12) {
    feet += 1;
    rest -= 12;
  }
  return QStringLiteral("%1' %2\"").arg(feet).arg(rest);
}

QString TabWeight(int grams, bool imperial) {
  if (grams <= 0) return QString();
  if (!imperial) return QStringLiteral("%1 kg").arg(RoundHalfUp(grams / 1000.0));
  return QStringLiteral("%1 lbs").arg(RoundHalfUp(grams / 1000.0 * 2.2046));
}

QString PatientTabText(const ReportRecord& record, bool imperial) {
  const CPatientInfo& p = record.patient;
  const QDate birth(p.m_birthYear, p.m_birthMonth, p.m_birthDay);
  QString age;
  const QDate acquired = AcquisitionDate(record.recording);
  if (birth.isValid() && acquired.isValid()) {
    age = Tr("%1 years").arg(ecg::report::AgeInYears(p.m_birthYear, p.m_birthMonth, p.m_birthDay,
                                                     acquired.year(), acquired.month(), acquired.day()));
  }
  QString gender;
  switch (p.m_sex) {
    case 0: gender = Tr("Unknown"); break;
    case 1: gender = Tr("Male"); break;
    case 2: gender = Tr("Female"); break;
    default: break;
  }
  QStringList rows;
  rows << Row(Tr("Gender:"), gender, Tr("Patient ID:"), Wide(p.m_patientId));
  rows << Row(Tr("Height:"), TabHeight(p.m_height, imperial), Tr("First Name:"), Wide(p.m_firstName));
  rows << Row(Tr("Weight:"), TabWeight(static_cast<int>(std::min<uint32_t>(p.m_weight, 1u << 30)), imperial),
              Tr("Last Name:"), Wide(p.m_lastName));
  rows << Row(Tr("Age:"), age, Tr("Date of Birth:"), ShortDate(birth));
  return rows.join(QLatin1Char('\n'));
}

QString RecordingTabText(const ReportRecord& record) {
  const CRecordInfo& r = record.recording;
  QStringList rows;
  rows << QStringLiteral("%1\t%2\t%3\t%4   %5")
              .arg(Tr("Revision:"), Wide(r.m_analysingProgramRevision), Tr("Acquired:"),
                   ShortDate(AcquisitionDate(r)), ShortTime(r));
  QString recorded_with = Wide(record.general.m_recordingApplication);
  const QString version = Wide(record.general.m_recordingVersion);
  if (!version.isEmpty()) recorded_with += QStringLiteral(" ") + version;
  rows << QStringLiteral("%1\t%2").arg(Tr("Recorded With:"), recorded_with.trimmed());
  rows << QStringLiteral("%1\t%2").arg(Tr("Device Type:"), Wide(r.m_modelDescription));
  QString serial = Wide(r.m_serialNumber);
  if (serial.isEmpty() && r.m_deviceId != 0) serial = QString::number(r.m_deviceId);
  rows << QStringLiteral("%1\t%2").arg(Tr("Serial Number:"), serial);
  return rows.join(QLatin1Char('\n'));
}

QStringList MeasurementsTabLines(const ReportRecord& record, ecg::report::AmplitudeUnits units,
                                 double sensitivity_mm_mv) {
  using namespace ecg::report;
  const bool mm = units == AmplitudeUnits::kMillimetres;
  const QString amplitude = mm ? Tr("Amplitude (mm) @ %1 mm/mV").arg(sensitivity_mm_mv, 0, 'f', 1)
                               : Tr("Amplitude (\u03BCV)");
  const QString slope = mm ? Tr("Slope (mm/s)") : Tr("Slope (\u03BCV/s)");
  const QString duration = Tr("Duration (ms)");
  QStringList lines;
  if (mm) {
    lines << QStringLiteral("\t\t%1\t\t\t\t\t\t\t\t\t\t%2\t%3").arg(amplitude, slope, duration);
  } else {
    lines << QStringLiteral("\t\t%1\t\t\t\t\t\t\t\t\t\t\t\t%2\t%3").arg(amplitude, slope, duration);
  }
  lines << QStringLiteral("%1\t%2\tP+\tP-\tQ\tR\tS\tR'\tS'\tJ\tST20\tST60\tST80\tT+\tT-\tST\t\tQ1\tR1\tS1\tR'1\tS'1")
               .arg(Tr("Lead "), Tr("Type "));
  for (uint8_t code : MeasurementRowLeads(record.lead_count)) {
    QStringList cells;
    cells << FromStd(ecg::render::LeadLabel(code));
    const SLeadMeasurement* m = record.LeadMeasurement(code);
    if (m == nullptr) {  // no measurements for this lead: its label alone
      lines << cells.join(QLatin1Char('\t'));
      continue;
    }
    cells << FromStd(GetComplexType(m->m_qAmplitude, m->m_rAmplitude, m->m_sAmplitude, m->m_r2Amplitude,
                                    m->m_s2Amplitude));
    for (int v : {m->m_pPlusAmplitude, m->m_pMinusAmplitude, m->m_qAmplitude, m->m_rAmplitude,
                  m->m_sAmplitude, m->m_r2Amplitude, m->m_s2Amplitude, m->m_jAmplitude, m->m_stJ20,
                  m->m_stJ60, m->m_stJ80, m->m_tPlusAmplitude, m->m_tMinusAmplitude, m->m_stSlope}) {
      cells << FromStd(FormatAmplitude(v, sensitivity_mm_mv, units)).trimmed();
    }
    cells << QString();
    for (int v : {m->m_qDuration, m->m_rDuration, m->m_sDuration, m->m_r2Duration, m->m_s2Duration}) {
      cells << FromStd(FormatValue(v)).trimmed();
    }
    lines << cells.join(QLatin1Char('\t'));
  }
  return lines;
}

QString ManualSuffix(int language) {
  static const char* const kSuffixes[] = {"", "Fra", "Deu", "Ita", "Esp", "Ptg", "Jpn"};
  return language > 0 && language < 7 ? QString::fromLatin1(kSuffixes[language]) : QString();
}

}  // namespace ecg::review
