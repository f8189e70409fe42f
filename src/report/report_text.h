#pragma once
// The report's texts go through Qt's translation lookup (context
// "CECGPrint") so a language module can replace them.

#include <QCoreApplication>
#include <QString>

namespace ecg::report {

inline QString Tr(const char* text) { return QCoreApplication::translate("CECGPrint", text); }
inline QString FromUtf8(const std::string& text) { return QString::fromStdString(text); }

}  // namespace ecg::report
