#pragma once
// Composing the interpretation text: fixed statements appended to it, and
// the text made from the statement codes of Section 9. Lines are separated
// by "\r\n", with no separator after the last line.

#include <cstdint>
#include <span>
#include <string>

#include "analysis/statement_catalog.h"

namespace ecg::analysis {

// Fixed statements by string id.
enum : uint32_t {
  kStatementLeadOff = 5001,        // lead error bit 1: no analysis
  kStatementLeadZeroing = 5002,    // lead error bit 0: no analysis
  kStatementCalibration = 5003,    // lead error bit 2 after an analysis
  kStatementPoorSignal = 5004,     // the analysis library's result 6
  kStatementUnsupported = 5005,    // the analysis library's result 7
  kStatementPatientData = 5006,    // patient data incomplete
};

// Statement code c has its text at string id c + kCodeTextBase.
constexpr uint32_t kCodeTextBase = 1000;
// Every code text starts with a prefix that is cut off: 3 characters with
// the codes option, 7 without.
constexpr size_t kCodesOptionPrefix = 3;
constexpr size_t kPlainPrefix = 7;

inline constexpr std::u16string_view kLineSeparator = u"\r\n";

// `interpretation` followed by `statement`, with "\r\n" between them when
// the interpretation is not empty.
std::u16string AppendStatement(std::u16string_view interpretation, std::u16string_view statement);

// The text of the rhythm codes, then of the morphology codes, each code once:
// a rhythm code equal to an earlier rhythm code is skipped, a morphology code
// also in the rhythm list or equal to an earlier morphology code too. Each
// code contributes its text without the first `prefix` characters; a text no
// longer than the prefix contributes nothing, separator included. False with
// kErrorNoData when a code's text is missing from the catalog (its statement
// would silently disappear), kErrorOutOfMemory when the text cannot be made.
bool ComposeCodesText(const StatementCatalog& catalog, std::span<const uint16_t> rhythm,
                      std::span<const uint16_t> morphology, size_t prefix, std::u16string& text);

}  // namespace ecg::analysis
