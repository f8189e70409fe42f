// The drawing steps of one report page. Text positions are in hundredths of
// an inch from the paper's top-left corner; traces are drawn by the
// painter of render/ at true paper scale.

#include <QDate>
#include <QDateTime>
#include <QFont>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <algorithm>

#include "render/trace_painter.h"
#include "report/ecg_print.h"
#include "report/header_block.h"
#include "report/measurements_table.h"
#include "report/report_text.h"
#include "report/text_box.h"

using namespace ecg::report;

namespace {

constexpr double kBottomLine = 760.0;  // hundredths below the top margin
constexpr int kBoxLines = 7;
const char* const kDefaultFooter = QT_TRANSLATE_NOOP("CECGPrint", "Tidemark ECG resting electrocardiograph");

QFont MakeFont(const QString& family, double points, bool bold) {
  QFont font(family);
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

// Text whose top-left corner is at (x, y) in hundredths; `opaque` clears
// the paper behind it first (the bottom line lies over the grid).
void DrawTextAt(QPainter& painter, const PageDevice& page, double x, double y, const QString& text,
                bool opaque = false) {
  const QFontMetricsF metrics(painter.font(), painter.device());
  if (opaque) {
    painter.fillRect(QRectF(page.X(x), page.Y(y), metrics.horizontalAdvance(text), metrics.height()),
                     Qt::white);
  }
  painter.drawText(QPointF(page.X(x), page.Y(y) + metrics.ascent()), text);
}

double TextWidth(QPainter& painter, const PageDevice& page, const QString& text) {
  const QFontMetricsF metrics(painter.font(), painter.device());
  return page.ToHundredthsX(metrics.horizontalAdvance(text));
}

}  // namespace

QString CECGPrint::FontFamily() const {
  return m_language == 6 ? QStringLiteral("MS Shell Dlg") : QStringLiteral("Arial");
}

void CECGPrint::PrintTitle(QPainter& painter, const PageDevice& page, int32_t type) {
  painter.setPen(Qt::black);
  painter.setFont(MakeFont(FontFamily(), 10, true));
  DrawTextAt(painter, page, page.margin_left + 50, page.margin_top + 10, Tr(ReportTitleText(type)));
  if (!m_reportTitle.isEmpty()) {
    const double width = TextWidth(painter, page, m_reportTitle);
    DrawTextAt(painter, page, page.page_width - page.margin_right - width, page.margin_top, m_reportTitle);
  }
}

namespace {

// Draws a column line by line and returns its widest text (hundredths).
double PrintArray(QPainter& painter, const PageDevice& page, const QStringList& lines, double x,
                  double y, double line_height) {
  double widest = 0;
  for (int i = 0; i < lines.size(); ++i) {
    DrawTextAt(painter, page, x, y + i * line_height, lines[i]);
    widest = std::max(widest, TextWidth(painter, page, lines[i]));
  }
  return widest;
}

void DrawBox(QPainter& painter, const PageDevice& page, const QString& text, double x, double y,
             double width, double line_height) {
  const QFontMetricsF metrics(painter.font(), painter.device());
  const QStringList lines = WrapText(text, metrics, page.X(width), kBoxLines);
  for (int i = 0; i < lines.size(); ++i) DrawTextAt(painter, page, x, y + i * line_height, lines[i]);
}

}  // namespace

void CECGPrint::PrintInfo(QPainter& painter, const PageDevice& page, const ReportRecord* record,
                          int32_t type) {
  HeaderOptions options;
  options.imperial = m_imperialUnits == 1;
  options.measurements = m_printMeasurements;
  options.interpretation = m_printInterpretation;
  options.comments = m_printComments;
  options.qtc = QtcMethodFromOption(m_qtcMethod);
  const HeaderInfo info = GetInfo(*record, options);
  m_patientDetailsShown = info.patient_details_shown;

  const QFont bold = MakeFont(FontFamily(), 8, true);
  const QFont regular = MakeFont(FontFamily(), 8, false);
  painter.setPen(Qt::black);
  painter.setFont(regular);
  const QFontMetricsF metrics(regular, painter.device());
  m_lineHeight = page.ToHundredthsY(metrics.height());
  const double top = page.margin_top + 30;
  const double right = page.margin_left + page.MarginWidth();
  double x = page.margin_left + 50;

  auto pair = [&](const HeaderColumn& column, bool patient) {
    painter.setFont(bold);
    x += PrintArray(painter, page, column.labels, x, top, m_lineHeight) + 3;
    painter.setFont(regular);
    const double widest = PrintArray(painter, page, column.values, x, top, m_lineHeight);
    x += (patient && !m_patientDetailsShown) ? TextWidth(painter, page, QString(28, QLatin1Char('Z')))
                                             : widest + 5;
  };
  pair(info.patient, true);
  pair(info.recording, false);
  if (info.measurements) pair(*info.measurements, false);

  const double box_top = page.margin_top + 40 + m_lineHeight - 2;
  if (info.show_interpretation) {
    painter.setFont(bold);
    DrawTextAt(painter, page, x, top, info.interpretation_heading);
    const double width = info.show_comments ? (right - x) / 2 : right - x;
    painter.setFont(regular);
    DrawBox(painter, page, info.interpretation, x, box_top, width, m_lineHeight);
    x += width + 5;
  }
  if (info.show_comments) {
    painter.setFont(bold);
    DrawTextAt(painter, page, x, top, Tr("Comments:"));
    painter.setFont(regular);
    DrawBox(painter, page, info.comments, x, box_top, right - x - 6, m_lineHeight);
  }
  if (type != kReportMeasurements && type != 512) {
    PrintScale(painter, page, type == kReportZoom || type == kReportAveragedZoom);
    PrintFilters(painter, page, record);
  }
}

void CECGPrint::PrintScale(QPainter& painter, const PageDevice& page, bool zoom) {
  painter.setFont(MakeFont(FontFamily(), 8, true));
  QString text = Tr("Scale: ") + QString::asprintf("%0.1f mm/s %0.1f mm/mV 5mm/sqr.", m_speed, m_sensitivity);
  if (zoom) text += QString::asprintf("( X %0.2f)", m_zoomScale);
  DrawTextAt(painter, page, m_ecgLeft / 2.54 * 100.0 + 35, page.margin_top + kBottomLine, text, true);
}

void CECGPrint::PrintFilters(QPainter& painter, const PageDevice& page, const ReportRecord* record) {
  painter.setFont(MakeFont(FontFamily(), 8, true));
  const uint8_t filters = record->recording.m_writerFilter;
  const int mains = filters & 0x03;  // 2: 50 Hz, 1: 60 Hz
  const QString text = FromUtf8(GetFilterString(mains != 0, mains == 2 ? 50.0 : 60.0, (filters & 0x04) != 0,
                                                (filters & 0x08) != 0));
  const double right = (m_ecgLeft + 26.5) / 2.54 * 100.0;
  DrawTextAt(painter, page, right - TextWidth(painter, page, text), page.margin_top + kBottomLine, text, true);
}

void CECGPrint::PrintFooter(QPainter& painter, const PageDevice& page) {
  painter.setPen(Qt::black);
  painter.setFont(MakeFont(FontFamily(), 6, false));
  const double line = m_lineHeight > 0 ? m_lineHeight : 12.0;
  const QString printed = QLocale::system().toString(QDateTime::currentDateTimeUtc().date(), QLocale::LongFormat);
  DrawTextAt(painter, page, page.margin_left + 50, page.margin_top + kBottomLine + 2 * line,
             Tr("Page %1 of %2").arg(m_pageNumber + 1).arg(m_pageCount) + QStringLiteral("    ") +
                 Tr("Printed: %1").arg(printed));
  QString note = Tr("Data must be reviewed by a qualified physician.");
  if (m_printType == 1) note += QStringLiteral("  ") + Tr("JPEG output may not be to scale.");
  if (m_printType == 2) note += QStringLiteral("  ") + Tr("TIFF output may not be to scale.");
  auto centred = [&](const QString& text, double y) {
    DrawTextAt(painter, page, (page.page_width - TextWidth(painter, page, text)) / 2, y, text, true);
  };
  centred(note, page.margin_top + kBottomLine);
  const QString footer = m_reportFooter.isEmpty() ? Tr(kDefaultFooter) : m_reportFooter;
  // Without a version the line starts with the footer, not with ", ".
  centred(m_applicationVersion.isEmpty() ? footer : m_applicationVersion + QStringLiteral(", ") + footer,
          page.margin_top + kBottomLine + 2 * line);
}

void CECGPrint::PrintMeasurementDetails(QPainter& painter, const PageDevice& page, const ReportRecord& record) {
  painter.setPen(Qt::black);
  painter.setFont(MakeFont(QStringLiteral("Courier New"), 8, false));
  QFont font = painter.font();
  font.setStyleHint(QFont::Monospace);
  font.setFixedPitch(true);
  painter.setFont(font);
  const QStringList lines = MeasurementTableLines(
      record, m_amplitudeUnits == 1 ? AmplitudeUnits::kMillimetres : AmplitudeUnits::kMicrovolts, m_sensitivity);
  const QFontMetricsF metrics(font, painter.device());
  painter.save();
  painter.setClipRect(QRectF(page.X(75), page.Y(200), page.X(1000), page.Y(1000)));
  for (int i = 0; i < lines.size(); ++i) {
    painter.drawText(QPointF(page.X(75), page.Y(200) + metrics.ascent() + i * metrics.height()), lines[i]);
  }
  painter.restore();
}

void CECGPrint::PrintECG(QPainter& painter, const PageDevice& page, const ReportRecord& record, int32_t type) {
  using namespace ecg::render;
  TraceStyle style;
  style.speed_mm_s = m_speed;
  style.gain_mm_mv = m_sensitivity;
  style.grid.minor_style = static_cast<MinorGrid>(std::clamp(m_minorGrid, 0, 2));
  const PaperScale scale = PaperScale::FromDpi(page.dpi_x, page.dpi_y);
  const std::vector<uint8_t> preferred(m_leadOrder.begin(), m_leadOrder.end());
  std::vector<uint8_t> order = PrintOrder(record.traces.rhythm, preferred);
  int first_lead = m_leadOffset;
  const int layout = LayoutCode(type);
  if (type == kReportZoom || type == kReportAveragedZoom) {
    const double zoom = m_zoomScale > 0 ? m_zoomScale : 1.0;
    style.speed_mm_s *= zoom;
    style.gain_mm_mv *= zoom;
    style.grid.zoom = zoom;
    const int index = std::clamp(m_zoomLead, 0, 11);
    order = {m_leadIds[static_cast<size_t>(index)]};
    first_lead = 0;
  }
  TracePainter painter_of_traces(painter, scale, style);
  if (m_rhythmStrip) {
    painter_of_traces.DrawLayout(QRectF(m_mainRect), layout, record.traces, order, first_lead,
                                 static_cast<size_t>(m_startSample));
    // The rhythm strip shows the second lead of the order (II).
    const uint8_t rhythm_lead = order.size() > 1 ? order[1] : (order.empty() ? 2 : order[0]);
    painter_of_traces.DrawStrip(QRectF(m_rhythmRect), record.traces, rhythm_lead, 0);
  } else {
    painter_of_traces.DrawLayout(QRectF(m_fullRect), layout, record.traces, order, first_lead,
                                 static_cast<size_t>(m_startSample));
  }
}
