// Statements from the measurements, the exclusions between them, the
// summary line and Section 9.

#include "engine/interpretation.h"

#include <algorithm>
#include <cmath>

#include "engine/axes.h"
#include "engine/interpretation_rules.h"
#include "engine/lead_measurements.h"
#include "engine/pacemaker_spikes.h"

namespace ecg::engine {

namespace {

bool Contains(const std::vector<uint16_t>& v, uint16_t code) { return std::find(v.begin(), v.end(), code) != v.end(); }

void Remove(std::vector<uint16_t>& v, std::initializer_list<uint16_t> codes) {
  v.erase(std::remove_if(v.begin(), v.end(),
                         [&](uint16_t c) { return std::find(codes.begin(), codes.end(), c) != codes.end(); }),
          v.end());
}

void RemoveGroup(std::vector<uint16_t>& v, StatementGroup group) {
  v.erase(std::remove_if(v.begin(), v.end(),
                         [&](uint16_t c) {
                           const StatementInfo* s = FindStatement(c);
                           return s != nullptr && s->group == group;
                         }),
          v.end());
}

// A statement that makes others meaningless silences them.
void ApplyExclusions(std::vector<uint16_t>& v) {
  const bool paced = Contains(v, kPacedRhythm);
  const bool pre = Contains(v, kPreExcitation);
  const bool lbbb = Contains(v, kLeftBundleBranchBlock);
  const bool rbbb = Contains(v, kRightBundleBranchBlock);
  if (paced || pre || lbbb) {
    // The ventricles are activated abnormally from the start: voltage,
    // Q-wave and repolarisation criteria do not apply.
    Remove(v, {kLvhVoltage, kLvhWithRepolarisation, kRightVentricularHypertrophy, kPoorRProgression,
               kLeftAnteriorFascicularBlock, kLeftPosteriorFascicularBlock, kNonspecificStT});
    RemoveGroup(v, StatementGroup::kInfarction);
    RemoveGroup(v, StatementGroup::kStT);
  }
  if (paced) {
    // The interval from the P wave to a paced complex is the device's AV
    // delay, not the patient's conduction.
    Remove(v, {kFirstDegreeAvBlock, kShortPr, kPreExcitation});
  }
  if (paced || pre) {
    Remove(v, {kLeftBundleBranchBlock, kRightBundleBranchBlock, kIncompleteLeftBundleBranchBlock,
               kIncompleteRightBundleBranchBlock, kIntraventricularConductionDelay});
  }
  if (rbbb) {
    // Secondary ST-T changes over the right precordium; right ventricular
    // voltage criteria do not apply.
    Remove(v, {kRightVentricularHypertrophy, kStDepressionAnterior, kTInversionAnterior, kNonspecificStT});
  }
  if (Contains(v, kLvhWithRepolarisation)) Remove(v, {kStDepressionLateral, kTInversionLateral});
  if (Contains(v, kAtrialFibrillation) || Contains(v, kAtrialFlutter)) {
    // No organised atrial activity: nothing of P waves or the PR interval
    // applies, and early beats of the dominant form are part of the rhythm.
    Remove(v, {kSinusRhythm, kSinusBradycardia, kSinusTachycardia, kSinusArrhythmia, kEctopicAtrialRhythm,
               kFirstDegreeAvBlock, kShortPr, kPreExcitation, kLeftAtrialAbnormality, kRightAtrialAbnormality,
               kPrematureAtrialComplexes});
  }
}

uint16_t SummaryOf(const std::vector<uint16_t>& v) {
  Weight worst = Weight::kNormal;
  for (uint16_t c : v) {
    const StatementInfo* s = FindStatement(c);
    if (s != nullptr && s->weight > worst) worst = s->weight;
  }
  switch (worst) {
    case Weight::kNormal: return kNormalEcg;
    case Weight::kMinor: return kOtherwiseNormalEcg;
    case Weight::kBorderline: return kBorderlineEcg;
    case Weight::kAbnormal: return kAbnormalEcg;
  }
  return kAbnormalEcg;
}

}  // namespace

RuleContext MakeRuleContext(const EcgSignal& signal, const AnalysisResult& result, const InterpretationOptions& options) {
  RuleContext c;
  c.signal = &signal;
  c.result = &result;
  c.options = options;
  c.leads = CollectLeads(signal, result);
  const GlobalValues& g = result.global;
  c.heart_rate = g.heart_rate;
  c.rr_ms = g.rr_ms > 0 && g.rr_ms != kNotComputed ? g.rr_ms : -1;
  c.p_present = result.delineation.p_present;
  if (c.p_present) {
    c.pr_ms = g.qrs_on_ms - g.p_on_ms;
    c.p_ms = g.p_off_ms - g.p_on_ms;
  }
  c.qrs_ms = g.qrs_off_ms - g.qrs_on_ms;
  // The global QRS runs from the earliest lead's onset to the latest
  // lead's end and so exceeds what any lead shows; the conduction criteria
  // take the third widest lead's duration (each lead's QRS without its
  // iso-electric start and end), which a single lead's stray boundary
  // cannot move.
  std::vector<double> widths;
  for (const LeadValues& v : c.leads.at) {
    if (v.usable && v.qrs_ms > 0) widths.push_back(v.qrs_ms);
  }
  std::sort(widths.rbegin(), widths.rend());
  c.conduction_qrs_ms = widths.size() >= 3 ? widths[2] : c.qrs_ms;
  if (result.delineation.t_found && g.t_off_ms != kNotComputed) c.qt_ms = g.t_off_ms - g.qrs_on_ms;
  c.qtc_ms = c.qt_ms > 0 && c.rr_ms > 0 ? CorrectedQt(c.qt_ms, c.rr_ms, options.qtc) : -1;
  c.qrs_axis = g.qrs_axis;
  c.qrs_sector = FrontalSectorOf(signal, result);
  c.p_axis = g.p_axis;
  c.ventricular_paced = FindPacing(signal, result).ventricular_paced;
  return c;
}

Interpretation Interpret(const EcgSignal& signal, const AnalysisResult& result, const InterpretationOptions& options) {
  const RuleContext c = MakeRuleContext(signal, result, options);
  std::vector<uint16_t> found;
  RhythmStatements(c, found);
  ConductionStatements(c, found);
  AxisStatements(c, found);
  HypertrophyStatements(c, found);
  InfarctStatements(c, found);
  StTStatements(c, found);
  VoltageStatements(c, found);
  ApplyExclusions(found);
  // Only the statements of the chosen set, each once, in priority order.
  std::vector<uint16_t> kept;
  for (uint16_t code : found) {
    const StatementInfo* s = FindStatement(code);
    if (s == nullptr || Contains(kept, code)) continue;
    if (s->set == StatementSet::kExtended && options.set != StatementSet::kExtended) continue;
    kept.push_back(code);
  }
  std::stable_sort(kept.begin(), kept.end(),
                   [](uint16_t a, uint16_t b) { return StatementPriority(a) < StatementPriority(b); });
  kept.push_back(SummaryOf(kept));
  Interpretation out;
  out.statements = std::move(kept);
  FillEntries(out);
  return out;
}

void FillEntries(Interpretation& in) {
  in.rhythm.clear();
  in.morphology.clear();
  std::vector<uint16_t> rest;
  uint16_t summary = 0;
  for (uint16_t code : in.statements) {
    const StatementInfo* s = FindStatement(code);
    if (s != nullptr && s->group == StatementGroup::kSummary) {
      summary = code;
    } else if (s != nullptr && s->group == StatementGroup::kRhythm && in.rhythm.size() < kRhythmEntries) {
      in.rhythm.push_back(code);
    } else {
      rest.push_back(code);
    }
  }
  const size_t room = kMorphologyEntries - (summary != 0 ? 1 : 0);
  while (rest.size() > room) {
    // Leave out the lightest statement, the later one among equals.
    size_t drop = rest.size() - 1;
    for (size_t i = rest.size(); i-- > 0;) {
      const StatementInfo* a = FindStatement(rest[i]);
      const StatementInfo* b = FindStatement(rest[drop]);
      const Weight wa = a != nullptr ? a->weight : Weight::kNormal;
      const Weight wb = b != nullptr ? b->weight : Weight::kNormal;
      if (wa < wb) drop = i;
    }
    rest.erase(rest.begin() + static_cast<ptrdiff_t>(drop));
  }
  in.morphology = std::move(rest);
  if (summary != 0) in.morphology.push_back(summary);
}

StatementSet StatementSetOfMode(int32_t mode) {
  return mode == 2 ? StatementSet::kExtended : StatementSet::kStandard;
}

std::vector<uint8_t> Section9Entries(const Interpretation& in) {
  std::vector<uint8_t> bytes;
  bytes.reserve(30);
  auto entries = [&](const std::vector<uint16_t>& codes, size_t count) {
    for (size_t i = 0; i < count; ++i) {
      if (i < codes.size() && codes[i] <= 999) {
        const uint16_t c = codes[i];
        bytes.push_back(static_cast<uint8_t>('0' + c / 100));
        bytes.push_back(static_cast<uint8_t>('0' + c / 10 % 10));
        bytes.push_back(static_cast<uint8_t>('0' + c % 10));
      } else {
        bytes.insert(bytes.end(), 3, ' ');
      }
    }
  };
  entries(in.rhythm, kRhythmEntries);
  entries(in.morphology, kMorphologyEntries);
  return bytes;
}

}  // namespace ecg::engine
