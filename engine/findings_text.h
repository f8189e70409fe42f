#pragma once
// The English text of the findings the engine stores as the record's
// interpretation: the statements made (when the record has been
// interpreted), then rate, intervals, axes and the beats that were not of
// the dominant form. Lines are separated by "\r\n".

#include <string>

namespace ecg::engine {

struct AnalysisResult;

std::string FindingsText(const AnalysisResult& result);

}  // namespace ecg::engine
