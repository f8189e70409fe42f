#include "report/measurements_table.h"

#include "render/trace_set.h"
#include "report/report_text.h"

namespace ecg::report {

namespace {
constexpr int kLeadWidth = 5;  // "Lead "
constexpr int kTypeWidth = 6;
constexpr uint8_t kTableLeads[12] = {1, 2, 61, 62, 63, 64, 3, 4, 5, 6, 7, 8};
}  // namespace

QString SizeText(const QString& text, int n) {
  if (text.size() >= n) return text.left(n);
  return text + QString(n - text.size(), QLatin1Char(' '));
}

std::vector<uint8_t> MeasurementRowLeads(int lead_count) {
  if (lead_count == 8 || lead_count == 12) return {std::begin(kTableLeads), std::end(kTableLeads)};
  if (lead_count == 2 || lead_count == 6) return {kTableLeads, kTableLeads + 6};
  if (lead_count == 1) return {kTableLeads[0]};
  return {};
}

QStringList MeasurementTableLines(const ReportRecord& record, AmplitudeUnits units,
                                  double sensitivity_mm_mv) {
  const bool mm = units == AmplitudeUnits::kMillimetres;
  const QString amplitude = mm ? Tr("Amplitude (mm) @ %1 mm/mV").arg(sensitivity_mm_mv, 0, 'f', 1)
                               : Tr("Amplitude (\u03BCV)");
  const QString slope = mm ? Tr("Slope (mm/s)") : Tr("Slope (\u03BCV/s)");
  const QString rule = QString(kLeadWidth + kTypeWidth + 123, QLatin1Char('-'));
  QStringList lines;
  lines << QString(kLeadWidth + kTypeWidth, QLatin1Char(' ')) + QStringLiteral("|                 ") +
               SizeText(amplitude, 62) + QStringLiteral("| ") + slope + QStringLiteral(" |        ") +
               Tr("Duration (ms)");
  lines << Tr("Lead ") + SizeText(Tr("Type "), kTypeWidth) +
               QStringLiteral("| P+    P-    Q     R     S     R'    S'     J    ST20  ST60  ST80  T+"
                              "    T-    |    ST        | Q     R     S     R'    S'");
  lines << rule;
  const std::vector<uint8_t> rows = MeasurementRowLeads(record.lead_count);
  for (size_t i = 0; i < rows.size(); ++i) {
    if (i == 3 || i == 6 || i == 9) lines << rule;
    QString row = SizeText(QString::fromStdString(render::LeadLabel(rows[i])), kLeadWidth);
    const SLeadMeasurement* m = record.LeadMeasurement(rows[i]);
    if (m == nullptr) {  // the record has no measurements for this lead: an empty row
      lines << row;
      continue;
    }
    const QString type = FromUtf8(
        GetComplexType(m->m_qAmplitude, m->m_rAmplitude, m->m_sAmplitude, m->m_r2Amplitude, m->m_s2Amplitude));
    row += SizeText(type, kTypeWidth);
    if (type.size() <= kTypeWidth) row += QLatin1Char('|');
    row += QLatin1Char(' ');
    for (int v : {m->m_pPlusAmplitude, m->m_pMinusAmplitude, m->m_qAmplitude, m->m_rAmplitude,
                  m->m_sAmplitude, m->m_r2Amplitude, m->m_s2Amplitude, m->m_jAmplitude, m->m_stJ20,
                  m->m_stJ60, m->m_stJ80, m->m_tPlusAmplitude, m->m_tMinusAmplitude}) {
      row += FromUtf8(FormatAmplitude(v, sensitivity_mm_mv, units));
    }
    row += QStringLiteral("     ") + FromUtf8(FormatAmplitude(m->m_stSlope, sensitivity_mm_mv, units)) +
           QStringLiteral("      ");
    for (int v : {m->m_qDuration, m->m_rDuration, m->m_sDuration, m->m_r2Duration, m->m_s2Duration}) {
      row += FromUtf8(FormatValue(v));
    }
    lines << row;
  }
  lines << rule;
  return lines;
}

}  // namespace ecg::report
