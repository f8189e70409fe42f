// Conduction and interval statements: AV conduction (PR), ventricular
// pre-excitation, bundle branch and fascicular blocks, QT.

#include <algorithm>
#include <cmath>

#include "engine/interpretation_rules.h"

namespace ecg::engine {

namespace {

constexpr double kLongPrMs = 200;    // first-degree AV block above
constexpr double kShortPrMs = 120;   // short PR below
// On the QRS duration three leads show (RuleContext::conduction_qrs_ms),
// which runs shorter than the global one: complete bundle branch block and
// a nonspecific delay from 120 ms, incomplete block from 100 ms (the usual
// 110 ms of the global duration, lowered on the development set).
constexpr double kCompleteBlockMs = 120;
constexpr double kIncompleteBlockMs = 100;
constexpr double kDelayMs = 120;
constexpr double kRbbbSWaveMs = 40;        // terminal S in I and V6 wider than this (or than R)
constexpr double kLbbbRPeakMs = 60;        // late R peak time from this (lateral leads)
constexpr double kIncompleteLbbbRPeakMs = 60;  // incomplete block: R peak time beyond this in V4-V6
// A terminal S in lead I this wide and this deep against the lead's own R
// ends the complex rightward, which a left bundle branch block does not.
constexpr double kLeftBlockSWaveMs = 40;
constexpr double kLeftBlockSShare = 0.25;
constexpr double kLbbbSmallQUv = -100;     // a q this small does not count in I, aVL, V5, V6
constexpr double kIncompleteLbbbQUv = -25; // incomplete block: no septal q at all in I, V5, V6
constexpr double kTerminalRUv = 100;       // a terminal R in V1/V2 rises this far above J
// Left anterior fascicular block: axis -45 to -90; left posterior: +90 to +180.
constexpr int32_t kLafbAxisFrom = -90, kLafbAxisTo = -45;
constexpr int32_t kLpfbAxisFrom = 90, kLpfbAxisTo = 180;
// QTc limits: prolonged at 450 ms (men) and 460 ms (women, and when the
// sex is unknown); short at 390 ms or less.
constexpr int32_t kLongQtcMale = 450, kLongQtcFemale = 460, kShortQtc = 390;

// An rsr', rsR' or rSR' in V1 or V2, or an R that ends the complex there
// (the right ventricle's late activation seen from the right). The last R
// must rise 100 µV above the J point: the discordant ST elevation of a left
// bundle branch block lifts the end of a QS or rS above the PR level
// without being a wave.
bool RightTerminalR(const LeadValues& v) {
  if (!v.usable || !v.ends_positive) return false;
  const double terminal = v.r2 > 0 ? v.r2 : v.r1;
  return terminal - std::max(v.j, 0.0) >= kTerminalRUv;
}

// A wide terminal S wave: longer than the R or than 40 ms.
bool WideTerminalS(const LeadValues& v) {
  if (!v.usable || v.s >= 0) return false;
  return v.s_last_ms > kRbbbSWaveMs || v.s_last_ms > v.r_ms;
}

// Lead I ending in a wide S deeper than a quarter of its R: the last forces
// point to the right. Only the lead's own waves are compared, so this does
// not depend on how the leads are scaled against one another.
bool RightwardTerminalS(const LeadValues& v) {
  return v.usable && v.s < 0 && v.s_last_ms > kLeftBlockSWaveMs && std::fabs(v.s) > kLeftBlockSShare * v.r;
}

// A lateral lead of a left bundle branch block: a dominant R without a
// septal q (a small one, down to 100 µV, is tolerated: the slurred start
// of the complex can dip under the PR level).
bool LeftBlockLateral(const LeadValues& v) {
  return v.usable && v.q >= kLbbbSmallQUv && v.r > std::fabs(v.s);
}

bool NoSeptalQ(const LeadValues& v) { return v.usable && v.q >= kIncompleteLbbbQUv; }

bool RightPatternPresent(const RuleContext& c) {
  const RecordLeads& l = c.leads;
  const bool v_right = RightTerminalR(l[kSlotV1]) || RightTerminalR(l[kSlotV2]);
  // The late rightward forces show as a wide S in both lead I and V6.
  const bool s_left = WideTerminalS(l[kSlotI]) && WideTerminalS(l[kSlotV6]);
  return v_right && s_left;
}

bool LeftPatternPresent(const RuleContext& c, bool complete) {
  const RecordLeads& l = c.leads;
  const LeadValues& v1 = l[kSlotV1];
  if (!v1.usable || !(v1.qs || std::fabs(v1.Deepest()) > v1.r)) return false;  // QS or rS in V1
  if (RightTerminalR(v1)) return false;
  // The left ventricle is activated last, so the complex ends leftward.
  if (RightwardTerminalS(l[kSlotI])) return false;
  auto late = [](const LeadValues& v) { return v.r_peak_ms >= kLbbbRPeakMs; };
  if (complete) {
    // Broad R in the lateral leads (two of I, aVL, V5, V6, one of them not
    // aVL, where a q may remain), its peak late in one of them.
    const int lateral = l.Count({kSlotI, kSlotAVL, kSlotV5, kSlotV6}, LeftBlockLateral);
    const int not_avl = l.Count({kSlotI, kSlotV5, kSlotV6}, LeftBlockLateral);
    return lateral >= 2 && not_avl >= 1 && l.Count({kSlotI, kSlotAVL, kSlotV5, kSlotV6}, late) >= 1;
  }
  // Incomplete: the septal q of I, V5 and V6 gone, the R peak time beyond
  // 60 ms in each of V4, V5 and V6.
  auto later = [](const LeadValues& v) { return v.r_peak_ms > kIncompleteLbbbRPeakMs; };
  return l.Count({kSlotI, kSlotV5, kSlotV6}, NoSeptalQ) == 3 &&
         l.Count({kSlotI, kSlotV5, kSlotV6}, LeftBlockLateral) >= 2 &&
         l.Count({kSlotV4, kSlotV5, kSlotV6}, later) == 3;
}

}  // namespace

int32_t CorrectedQt(double qt_ms, double rr_ms, QtcFormula formula) {
  if (qt_ms <= 0 || rr_ms <= 0) return -1;
  const double rr = rr_ms / 1000.0;
  double qtc = qt_ms;
  switch (formula) {
    case QtcFormula::kBazett: qtc = qt_ms / std::sqrt(rr); break;
    case QtcFormula::kFridericia: qtc = qt_ms / std::cbrt(rr); break;
    case QtcFormula::kFramingham: qtc = qt_ms + 154.0 * (1.0 - rr); break;
    case QtcFormula::kHodges: qtc = qt_ms + 1.75 * (60.0 / rr - 60.0); break;
  }
  return static_cast<int32_t>(std::lround(qtc));
}

void ConductionStatements(const RuleContext& c, std::vector<uint16_t>& out) {
  const RecordLeads& l = c.leads;
  // AV conduction.
  if (c.p_present && c.pr_ms > 0) {
    if (c.pr_ms > kLongPrMs) out.push_back(kFirstDegreeAvBlock);
    if (c.pr_ms < kShortPrMs) {
      // A delta wave shortens the PR by as much as it widens the QRS.
      if (c.conduction_qrs_ms >= kIncompleteBlockMs && !RightPatternPresent(c)) {
        out.push_back(kPreExcitation);
      } else if (c.options.set == StatementSet::kExtended) {
        out.push_back(kShortPr);
      }
    }
  }

  // Bundle branch blocks, then a delay that fits neither.
  bool block = false;
  const double qrs = c.conduction_qrs_ms;
  if (qrs >= kIncompleteBlockMs) {
    const bool complete = qrs >= kCompleteBlockMs;
    if (LeftPatternPresent(c, complete)) {
      out.push_back(complete ? kLeftBundleBranchBlock : kIncompleteLeftBundleBranchBlock);
      block = true;
    } else if (RightPatternPresent(c)) {
      out.push_back(complete ? kRightBundleBranchBlock : kIncompleteRightBundleBranchBlock);
      block = true;
    }
    if (!block && qrs >= kDelayMs) out.push_back(kIntraventricularConductionDelay);
  }

  // Fascicular blocks (QRS under 120 ms, or with a right bundle branch block).
  const bool narrow_or_right = qrs < kCompleteBlockMs ||
                               std::find(out.begin(), out.end(), kRightBundleBranchBlock) != out.end();
  if (narrow_or_right && c.qrs_axis != 999) {
    auto rs = [](const LeadValues& v) { return std::fabs(v.Deepest()) > v.r; };
    auto qr = [](const LeadValues& v) { return v.r > std::fabs(v.s); };
    if (c.qrs_axis >= kLafbAxisFrom && c.qrs_axis <= kLafbAxisTo &&
        l.Count({kSlotII, kSlotIII, kSlotAVF}, rs) >= 2 && l.Count({kSlotAVL}, qr) == 1) {
      out.push_back(kLeftAnteriorFascicularBlock);
    }
    if (c.qrs_axis > kLpfbAxisFrom && c.qrs_axis <= kLpfbAxisTo && l.Count({kSlotI, kSlotAVL}, rs) == 2 &&
        l.Count({kSlotIII, kSlotAVF}, qr) == 2) {
      out.push_back(kLeftPosteriorFascicularBlock);
    }
  }

  // QT, corrected for rate (not judged over a wide QRS, which lengthens it).
  if (c.qtc_ms > 0 && qrs < kCompleteBlockMs) {
    const int32_t long_limit = c.options.patient.sex == PatientFacts::Sex::kMale ? kLongQtcMale : kLongQtcFemale;
    if (c.qtc_ms >= long_limit) out.push_back(kProlongedQt);
    if (c.qtc_ms <= kShortQtc && c.options.set == StatementSet::kExtended) out.push_back(kShortQt);
  }
}

void AxisStatements(const RuleContext& c, std::vector<uint16_t>& out) {
  // Normal -30 to +90 degrees; left -30 to -90; right +90 to +180;
  // -90 to -180 extreme (northwest); indeterminate when the mean vector
  // vanishes. The sector comes from the polarity of the net QRS in I, II
  // and aVF when those leads are clearly positive or negative (it does not
  // depend on the leads' relative scale); near a boundary, where one of
  // them is equiphasic, the angle of the areas places the axis.
  FrontalSector sector = c.qrs_sector;
  if (sector == FrontalSector::kUnknown) sector = SectorOfAngle(c.qrs_axis);
  switch (sector) {
    case FrontalSector::kUnknown: out.push_back(kIndeterminateAxis); break;
    case FrontalSector::kNorthwest: out.push_back(kExtremeAxis); break;
    case FrontalSector::kLeft: out.push_back(kLeftAxisDeviation); break;
    case FrontalSector::kRight: out.push_back(kRightAxisDeviation); break;
    case FrontalSector::kNormal: break;
  }
}

}  // namespace ecg::engine
