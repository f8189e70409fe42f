// CSavePlotWnd::PrintPages: the frozen recording as pages of whole seconds
// at paper scale on a printer (or a PDF file through QPrinter).

#include <QDate>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <QTime>
#include <algorithm>
#include <cmath>

#include "acquisition/ecg_settings.h"
#include "recording/plot_display_settings.h"
#include "recording/save_plot_wnd.h"
#include "recording/strip_drawing.h"

namespace {

int CeilPx(double v) { return static_cast<int>(std::ceil(v)); }

// Start of the recording: the newest frame's time minus the duration.
QDateTime RecordingStart(const ecg::platform::SystemTime& end, uint32_t frames, double rate) {
  QDateTime t(QDate(end.year, end.month, end.day), QTime(end.hour, end.minute, end.second));
  if (!t.isValid()) t = QDateTime::currentDateTime();
  if (rate > 0) t = t.addMSecs(-static_cast<qint64>(frames / rate * 1000.0));
  return t;
}

}  // namespace

bool CSavePlotWnd::PrintPages(QPrinter& printer, const ecg::recording::StripPrintRange& range,
                              const QString& title, const QString& additional,
                              const QString& filter_label) {
  m_printedPages = 0;
  m_secondsPerPage = 0;
  if (m_ecg == nullptr || m_display == nullptr) return false;
  printer.setPageOrientation(QPageLayout::Landscape);
  QPainter p;
  if (!p.begin(&printer)) return false;

  // Page set-up.
  const QString family = m_language == 6 ? QStringLiteral("MS Mincho") : QStringLiteral("Arial");
  QFont header_font(family, 8);
  QFont small_font(family, 6);
  const double dpi_x = printer.logicalDpiX();
  const double dpi_y = printer.logicalDpiY();
  const double mm_x = dpi_x / 25.4;
  const double mm_y = dpi_y / 25.4;
  const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
  const double rate = m_ecg->GetSamplingRate();
  const double pps = m_ecg->GetSpeed() / rate * mm_x;
  const double gain_mm_mv = m_ecg->GetGain() * 1000.0;
  const double ppstep = m_ecg->GetResolution() / 1000.0 * gain_mm_mv * mm_y;
  p.setFont(header_font);
  const double line_height = QFontMetricsF(header_font, &printer).boundingRect("aljwALJW").height();
  const double digit_height = QFontMetricsF(small_font, &printer).boundingRect("0123456789").height();
  const int margin = CeilPx(5 * mm_x);
  const int tick = CeilPx(1.5 * mm_x);
  const int text_x = margin + CeilPx(2.5 * mm_x);
  const int text_y = margin + CeilPx(2.5 * mm_y);

  // Plot area and page duration: the whole seconds that fit.
  const double label_room = QFontMetricsF(small_font, &printer).horizontalAdvance("aVR") + tick * 2;
  const double top = text_y + 2 * line_height + digit_height + tick * 2;
  const double bottom = page.height() - margin - digit_height - tick * 2;
  const double left = margin + label_room;
  const double max_width = page.width() - margin - label_room - left;
  if (pps <= 0 || rate <= 0 || bottom <= top || max_width <= 0) {
    p.end();
    return false;
  }
  const int seconds = static_cast<int>(std::floor(max_width / (pps * rate)));
  if (seconds < 1) {
    p.end();
    return false;
  }
  m_secondsPerPage = seconds;
  const QRectF area(left, top, seconds * pps * rate, bottom - top);
  const uint32_t frames_per_page = static_cast<uint32_t>(std::lround(seconds * rate));
  const uint32_t total = Frames();
  const auto plan = ecg::recording::PlanStripPages(total, frames_per_page, m_offset, range);
  if (plan.pages == 0) {
    p.end();
    return false;
  }

  const QString heading = additional.isEmpty() ? title : QStringLiteral("%1: %2").arg(title, additional);
  const QDateTime start = RecordingStart(m_endTime, total, rate);
  const QString scale_line = QString::asprintf("%s%0.1f mm/s %0.1f mm/mV 5mm/sqr.", "Scale: ",
                                               m_ecg->GetSpeed(), gain_mm_mv);
  const QString recorded = QStringList{QStringLiteral("Recorded:"),
                                       QLocale().toString(start.date(), QLocale::ShortFormat),
                                       QLocale::system().toString(start.time(), QLocale::ShortFormat),
                                       scale_line, filter_label}
                               .join(' ');
  // 5 mm squares: 0.2 s at 25 mm/s and 0.5 mV at 10 mm/mV.
  const double grid_dx = 5.0 * mm_x;
  const double grid_dy = 5.0 * mm_y;
  const double spacing = ecg::recording::StripRowSpacing(*m_display, area);

  for (uint32_t page_index = 0; page_index < plan.pages; ++page_index) {
    if (page_index > 0 && !printer.newPage()) {
      printer.abort();
      p.end();
      return false;
    }
    p.setFont(header_font);
    p.setPen(Qt::black);
    p.drawText(QPointF(text_x, text_y + line_height * 0.8), heading);
    p.drawText(QPointF(text_x, text_y + line_height * 1.8), recorded);

    // Grid, frame, labels and second ticks.
    QPen grid_pen(QColor(255, 160, 160));
    grid_pen.setWidthF(std::max(1.0, 0.1 * mm_x));
    p.setPen(grid_pen);
    for (double x = area.left() + grid_dx; x < area.right() - 0.5; x += grid_dx) {
      p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    }
    for (double y = area.top() + grid_dy; y < area.bottom() - 0.5; y += grid_dy) {
      p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    }
    QPen frame_pen(Qt::black);
    frame_pen.setWidthF(std::max(1.0, 0.2 * mm_x));
    p.setPen(frame_pen);
    p.drawRect(area);
    p.setFont(small_font);
    auto row_label = [&](int channel, double y, double x_left, double x_right) {
      const QString text = QString::fromLatin1(CPlotDisplaySettings::ChannelLabel(channel));
      p.drawLine(QPointF(area.left() - tick, y), QPointF(area.left(), y));
      p.drawLine(QPointF(area.right(), y), QPointF(area.right() + tick, y));
      const double w = QFontMetricsF(small_font, &printer).horizontalAdvance(text);
      p.drawText(QPointF(x_left - tick - w - 2, y + digit_height / 3), text);
      p.drawText(QPointF(x_right + tick + 2, y + digit_height / 3), text);
    };
    if (m_display->ThreeByFour()) {
      for (int r = 0; r < 3; ++r) {
        row_label(m_display->m_order[static_cast<size_t>(r)], area.top() + (r + 1) * spacing,
                  area.left(), area.right());
      }
      row_label(m_display->m_rhythmLead, area.top() + 4 * spacing, area.left(), area.right());
    } else {
      for (int r = 0; r < m_display->Rows(); ++r) {
        row_label(m_display->RowChannel(r), area.top() + (r + 1) * spacing, area.left(), area.right());
      }
    }
    for (int s = 0; s <= seconds; ++s) {
      const double x = area.left() + s * pps * rate;
      const QString text = QString::asprintf("%d", static_cast<int>(page_index) * seconds + s);
      p.drawLine(QPointF(x, area.top() - tick), QPointF(x, area.top()));
      p.drawLine(QPointF(x, area.bottom()), QPointF(x, area.bottom() + tick));
      p.drawText(QPointF(x + 2, area.top() - tick - 1), text);
      p.drawText(QPointF(x + 2, area.bottom() + tick + digit_height), text);
    }

    // Traces from the page's first frame, cut at the plan's end.
    const uint32_t first = plan.first_frame + page_index * frames_per_page;
    const uint32_t count = std::min(frames_per_page, plan.end_frame - first);
    const std::vector<uint8_t> bytes = ReadFrames(first, count);
    ecg::recording::DrawStripTraces(p, bytes, *m_display, area,
                                    {pps, ppstep, m_ecg->GetResolution()});
    ++m_printedPages;
  }
  return p.end();
}
