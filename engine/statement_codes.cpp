// The statement table.

#include "engine/statement_codes.h"

#include <array>

namespace ecg::engine {

namespace {

using G = StatementGroup;
using W = Weight;
using S = StatementSet;

constexpr StatementInfo kStatements[] = {
    {kSinusRhythm, G::kRhythm, W::kNormal, S::kStandard, "Sinus rhythm"},
    {kSinusBradycardia, G::kRhythm, W::kMinor, S::kStandard, "Sinus bradycardia"},
    {kSinusTachycardia, G::kRhythm, W::kMinor, S::kStandard, "Sinus tachycardia"},
    {kEctopicAtrialRhythm, G::kRhythm, W::kBorderline, S::kStandard, "Ectopic atrial rhythm"},
    {kJunctionalRhythm, G::kRhythm, W::kAbnormal, S::kStandard, "Junctional rhythm"},
    {kAtrialFibrillation, G::kRhythm, W::kAbnormal, S::kStandard, "Atrial fibrillation"},
    {kAtrialFlutter, G::kRhythm, W::kAbnormal, S::kStandard, "Atrial flutter"},
    {kPacedRhythm, G::kRhythm, W::kAbnormal, S::kStandard, "Electronic ventricular pacemaker rhythm"},
    {kUndeterminedRhythm, G::kRhythm, W::kAbnormal, S::kStandard, "Undetermined rhythm"},
    {kSinusArrhythmia, G::kRhythm, W::kMinor, S::kExtended, "with sinus arrhythmia"},
    {kPrematureVentricularComplexes, G::kRhythm, W::kBorderline, S::kStandard,
     "with premature ventricular complexes"},
    {kPrematureAtrialComplexes, G::kRhythm, W::kBorderline, S::kStandard, "with premature atrial complexes"},
    {kPreExcitation, G::kConduction, W::kAbnormal, S::kStandard, "Ventricular pre-excitation pattern (WPW)"},
    {kLeftBundleBranchBlock, G::kConduction, W::kAbnormal, S::kStandard, "Left bundle branch block"},
    {kRightBundleBranchBlock, G::kConduction, W::kAbnormal, S::kStandard, "Right bundle branch block"},
    {kIncompleteLeftBundleBranchBlock, G::kConduction, W::kBorderline, S::kStandard,
     "Incomplete left bundle branch block"},
    {kIncompleteRightBundleBranchBlock, G::kConduction, W::kBorderline, S::kStandard,
     "Incomplete right bundle branch block"},
    {kLeftAnteriorFascicularBlock, G::kConduction, W::kBorderline, S::kStandard, "Left anterior fascicular block"},
    {kLeftPosteriorFascicularBlock, G::kConduction, W::kAbnormal, S::kStandard, "Left posterior fascicular block"},
    {kIntraventricularConductionDelay, G::kConduction, W::kBorderline, S::kStandard,
     "Nonspecific intraventricular conduction delay"},
    {kFirstDegreeAvBlock, G::kConduction, W::kBorderline, S::kStandard, "First-degree AV block"},
    {kShortPr, G::kConduction, W::kBorderline, S::kExtended, "Short PR interval"},
    {kInfarctAnterior, G::kInfarction, W::kAbnormal, S::kStandard,
     "Anterior infarct pattern (pathologic Q waves), age undetermined"},
    {kInfarctInferior, G::kInfarction, W::kAbnormal, S::kStandard,
     "Inferior infarct pattern (pathologic Q waves), age undetermined"},
    {kInfarctLateral, G::kInfarction, W::kAbnormal, S::kStandard,
     "Lateral infarct pattern (pathologic Q waves), age undetermined"},
    {kStElevationAnterior, G::kStT, W::kAbnormal, S::kStandard, "ST elevation in anterior leads, consider acute injury"},
    {kStElevationInferior, G::kStT, W::kAbnormal, S::kStandard, "ST elevation in inferior leads, consider acute injury"},
    {kStElevationLateral, G::kStT, W::kAbnormal, S::kStandard, "ST elevation in lateral leads, consider acute injury"},
    {kLvhWithRepolarisation, G::kHypertrophy, W::kAbnormal, S::kStandard,
     "Left ventricular hypertrophy with repolarization abnormality"},
    {kLvhVoltage, G::kHypertrophy, W::kBorderline, S::kStandard, "Left ventricular hypertrophy by voltage criteria"},
    {kRightVentricularHypertrophy, G::kHypertrophy, W::kAbnormal, S::kStandard, "Right ventricular hypertrophy"},
    {kLeftAtrialAbnormality, G::kHypertrophy, W::kBorderline, S::kStandard, "Left atrial abnormality"},
    {kRightAtrialAbnormality, G::kHypertrophy, W::kBorderline, S::kStandard, "Right atrial abnormality"},
    {kStDepressionAnterior, G::kStT, W::kAbnormal, S::kStandard, "ST depression in anterior leads, consider ischemia"},
    {kStDepressionInferior, G::kStT, W::kAbnormal, S::kStandard, "ST depression in inferior leads, consider ischemia"},
    {kStDepressionLateral, G::kStT, W::kAbnormal, S::kStandard, "ST depression in lateral leads, consider ischemia"},
    {kTInversionAnterior, G::kStT, W::kAbnormal, S::kStandard, "T wave inversion in anterior leads"},
    {kTInversionInferior, G::kStT, W::kAbnormal, S::kStandard, "T wave inversion in inferior leads"},
    {kTInversionLateral, G::kStT, W::kAbnormal, S::kStandard, "T wave inversion in lateral leads"},
    {kNonspecificStT, G::kStT, W::kBorderline, S::kExtended, "Nonspecific ST-T abnormality"},
    {kProlongedQt, G::kConduction, W::kAbnormal, S::kStandard, "Prolonged QT interval"},
    {kShortQt, G::kConduction, W::kBorderline, S::kExtended, "Short QT interval"},
    {kLeftAxisDeviation, G::kAxis, W::kBorderline, S::kStandard, "Left axis deviation"},
    {kRightAxisDeviation, G::kAxis, W::kBorderline, S::kStandard, "Right axis deviation"},
    {kExtremeAxis, G::kAxis, W::kAbnormal, S::kStandard, "Extreme axis deviation (northwest axis)"},
    {kIndeterminateAxis, G::kAxis, W::kBorderline, S::kStandard, "Indeterminate QRS axis"},
    {kLowVoltage, G::kVoltage, W::kBorderline, S::kStandard, "Low QRS voltage"},
    {kPoorRProgression, G::kVoltage, W::kBorderline, S::kExtended, "Poor R wave progression"},
    {kNormalEcg, G::kSummary, W::kNormal, S::kStandard, "Normal ECG"},
    {kOtherwiseNormalEcg, G::kSummary, W::kNormal, S::kStandard, "Otherwise normal ECG"},
    {kBorderlineEcg, G::kSummary, W::kNormal, S::kStandard, "Borderline ECG"},
    {kAbnormalEcg, G::kSummary, W::kNormal, S::kStandard, "Abnormal ECG"},
};

}  // namespace

bool Interpretation::Has(uint16_t code) const {
  for (uint16_t c : statements) {
    if (c == code) return true;
  }
  return false;
}

std::span<const StatementInfo> AllStatements() { return kStatements; }

const StatementInfo* FindStatement(uint16_t code) {
  for (const StatementInfo& s : kStatements) {
    if (s.code == code) return &s;
  }
  return nullptr;
}

size_t StatementPriority(uint16_t code) {
  for (size_t i = 0; i < std::size(kStatements); ++i) {
    if (kStatements[i].code == code) return i;
  }
  return std::size(kStatements);
}

const char* GroupTag(StatementGroup group) {
  switch (group) {
    case StatementGroup::kRhythm: return "RHY";
    case StatementGroup::kConduction: return "CON";
    case StatementGroup::kAxis: return "AXS";
    case StatementGroup::kHypertrophy: return "HYP";
    case StatementGroup::kStT: return "STT";
    case StatementGroup::kInfarction: return "INF";
    case StatementGroup::kVoltage: return "VOL";
    case StatementGroup::kSummary: return "SUM";
  }
  return "???";
}

}  // namespace ecg::engine
