#pragma once
// Word-wrapped text boxes: whole lines only, and an ellipsis at a word
// when the text does not fit.

#include <QFontMetricsF>
#include <QString>
#include <QStringList>

namespace ecg::report {

// The lines of `text` in a box `width` wide (device units of the metrics)
// and `max_lines` high. Line breaks in the text are kept. When the text is
// cut, the last line ends at a whole word followed by "...".
QStringList WrapText(const QString& text, const QFontMetricsF& metrics, double width, int max_lines);

}  // namespace ecg::report
