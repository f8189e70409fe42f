#include "report/text_box.h"

namespace ecg::report {

namespace {

// Splits one paragraph into lines; words wider than the box are broken.
QStringList WrapParagraph(const QString& paragraph, const QFontMetricsF& metrics, double width) {
  QStringList lines;
  QString line;
  for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
    if (metrics.horizontalAdvance(candidate) <= width) {
      line = candidate;
      continue;
    }
    if (!line.isEmpty()) lines << line;
    line = word;
    while (line.size() > 1 && metrics.horizontalAdvance(line) > width) {
      int fit = line.size() - 1;
      while (fit > 1 && metrics.horizontalAdvance(line.left(fit)) > width) --fit;
      lines << line.left(fit);
      line = line.mid(fit);
    }
  }
  lines << line;
  return lines;
}

}  // namespace

QStringList WrapText(const QString& text, const QFontMetricsF& metrics, double width, int max_lines) {
  if (max_lines <= 0 || width <= 0) return {};
  QStringList lines;
  QString normalised = text;
  normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
  for (const QString& paragraph : normalised.split(QLatin1Char('\n'))) {
    lines << WrapParagraph(paragraph, metrics, width);
  }
  while (!lines.isEmpty() && lines.back().trimmed().isEmpty()) lines.removeLast();
  if (lines.size() <= max_lines) return lines;

  lines = lines.mid(0, max_lines);
  const QString ellipsis = QStringLiteral("...");
  QString& last = lines.back();
  // Drop whole words from the end until the ellipsis fits.
  while (!last.isEmpty() && metrics.horizontalAdvance(last + ellipsis) > width) {
    const int space = last.lastIndexOf(QLatin1Char(' '));
    last = space > 0 ? last.left(space) : QString();
  }
  last += ellipsis;
  return lines;
}

}  // namespace ecg::report
