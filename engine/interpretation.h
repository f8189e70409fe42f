#pragma once
// Interpretation of an analysed record: the statements its measurements
// support (engine/STATEMENTS.md gives every criterion and its source), in
// priority order, and how they fill Section 9's three rhythm and seven
// morphology entries.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/analysis.h"
#include "engine/ecg_signal.h"
#include "engine/statement_codes.h"

namespace ecg::engine {

// What the record says about the patient (Section 1); criteria with sex-
// or age-specific limits use them, the unknown case takes the limit that
// states a finding less readily.
struct PatientFacts {
  enum class Sex : uint8_t { kUnknown, kMale, kFemale } sex = Sex::kUnknown;
  int32_t age_years = -1;  // -1 unknown
};

// The QTc formula the QT statements judge by (the codes Section 7 stores).
enum class QtcFormula : uint8_t { kBazett = 1, kHodges = 2, kFridericia = 3, kFramingham = 4 };
int32_t CorrectedQt(double qt_ms, double rr_ms, QtcFormula formula);

struct InterpretationOptions {
  StatementSet set = StatementSet::kStandard;
  QtcFormula qtc = QtcFormula::kBazett;
  PatientFacts patient;
};

Interpretation Interpret(const EcgSignal& signal, const AnalysisResult& result, const InterpretationOptions& options);

// The statements in Section 9's entries: kept statements in priority order,
// the summary line last. Rhythm statements beyond three go ahead of the
// morphology statements; when more than six morphology statements remain,
// the lightest (by weight, then the later) are left out of Section 9 (they
// stay in the text of tag 201).
void FillEntries(Interpretation& interpretation);

// The 30 bytes of Section 9 after its header: three rhythm entries, then
// seven morphology entries, three ASCII digits each, unused entries blank.
std::vector<uint8_t> Section9Entries(const Interpretation& interpretation);

// The statement set a mode of the entry point asks for: 1 standard, 2
// extended.
StatementSet StatementSetOfMode(int32_t mode);

}  // namespace ecg::engine
