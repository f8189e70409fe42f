#pragma once
// The interpretation statements the engine can make: their Section 9 codes,
// groups, weight for the summary line, the statement set they belong to and
// their English text. The code texts of the language catalogs
// (statements/QORSYS*.txt, id 1000 + code) carry the same statements.
//
// Section 9 holds three rhythm entries and seven morphology entries. The
// engine fills the rhythm entries with its rhythm statements in priority
// order; rhythm statements that do not fit and every other statement go
// into the morphology entries, in priority order, the summary line always
// last.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace ecg::engine {

enum StatementCode : uint16_t {
  // Rhythm.
  kSinusRhythm = 10,
  kSinusBradycardia = 11,
  kSinusTachycardia = 12,
  kSinusArrhythmia = 13,
  kAtrialFibrillation = 20,
  kAtrialFlutter = 21,
  kEctopicAtrialRhythm = 22,
  kJunctionalRhythm = 23,
  kPrematureAtrialComplexes = 30,
  kPrematureVentricularComplexes = 31,
  kPacedRhythm = 40,
  kUndeterminedRhythm = 90,
  // Conduction and intervals.
  kFirstDegreeAvBlock = 101,
  kShortPr = 102,
  kPreExcitation = 103,
  kRightBundleBranchBlock = 110,
  kIncompleteRightBundleBranchBlock = 111,
  kLeftBundleBranchBlock = 112,
  kIncompleteLeftBundleBranchBlock = 113,
  kLeftAnteriorFascicularBlock = 114,
  kLeftPosteriorFascicularBlock = 115,
  kIntraventricularConductionDelay = 116,
  kProlongedQt = 120,
  kShortQt = 121,
  // Frontal QRS axis.
  kLeftAxisDeviation = 130,
  kRightAxisDeviation = 131,
  kIndeterminateAxis = 132,
  kExtremeAxis = 133,
  // Hypertrophy and atrial abnormality.
  kLvhVoltage = 140,
  kLvhWithRepolarisation = 141,
  kRightVentricularHypertrophy = 142,
  kLeftAtrialAbnormality = 143,
  kRightAtrialAbnormality = 144,
  // ST segment and T wave, by territory.
  kStElevationAnterior = 150,
  kStElevationInferior = 151,
  kStElevationLateral = 152,
  kStDepressionAnterior = 155,
  kStDepressionInferior = 156,
  kStDepressionLateral = 157,
  kTInversionAnterior = 160,
  kTInversionInferior = 161,
  kTInversionLateral = 162,
  kNonspecificStT = 165,
  // Infarction patterns (pathologic Q waves).
  kInfarctAnterior = 170,
  kInfarctInferior = 171,
  kInfarctLateral = 172,
  // QRS voltage and R progression.
  kLowVoltage = 180,
  kPoorRProgression = 185,
  // Summary line.
  kNormalEcg = 900,
  kOtherwiseNormalEcg = 901,
  kBorderlineEcg = 902,
  kAbnormalEcg = 903,
};

enum class StatementGroup : uint8_t { kRhythm, kConduction, kAxis, kHypertrophy, kStT, kInfarction, kVoltage, kSummary };

// How much a statement weighs in the summary line: a record with only
// kNormal statements is a normal ECG, with kMinor ones at most "otherwise
// normal", with kBorderline ones at most borderline, else abnormal.
enum class Weight : uint8_t { kNormal, kMinor, kBorderline, kAbnormal };

// Mode 1 of the entry point makes the standard set; mode 2 the extended
// set, which adds descriptive statements of low specificity.
enum class StatementSet : uint8_t { kStandard, kExtended };

struct StatementInfo {
  uint16_t code;
  StatementGroup group;
  Weight weight;
  StatementSet set;
  const char* english;
};

// Every statement, in priority order (the order they are reported in).
std::span<const StatementInfo> AllStatements();
// The statements made for one record.
struct Interpretation {
  std::vector<uint16_t> statements;  // every statement made, priority order, summary last
  std::vector<uint16_t> rhythm;      // Section 9 rhythm entries (at most 3)
  std::vector<uint16_t> morphology;  // Section 9 morphology entries (at most 7, summary last)
  bool Has(uint16_t code) const;
};

constexpr size_t kRhythmEntries = 3;
constexpr size_t kMorphologyEntries = 7;

// The entry of a code; null for a code the engine does not make.
const StatementInfo* FindStatement(uint16_t code);
// Position in the priority order (lower first); codes not in the table last.
size_t StatementPriority(uint16_t code);
// The three letters that open each code text in the catalogs (never shown).
const char* GroupTag(StatementGroup group);

}  // namespace ecg::engine
