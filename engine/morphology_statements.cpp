// Hypertrophy and atrial abnormality, ST-T, infarction patterns, QRS
// voltage and R progression.

#include <algorithm>
#include <cmath>

#include "engine/interpretation_rules.h"

namespace ecg::engine {

namespace {

using Sex = PatientFacts::Sex;

// Left ventricular hypertrophy by voltage.
constexpr double kSokolowLyonUv = 3500;       // S V1 + R V5 or V6
constexpr double kCornellMaleUv = 2800;       // R aVL + S V3
constexpr double kCornellFemaleUv = 2000;
constexpr double kRAvlUv = 1100;              // R aVL alone
// Right ventricular hypertrophy: tall R in V1, dominant R in V1, and a
// right axis or a deep S over the left ventricle.
constexpr double kRvhRV1Uv = 700;
constexpr double kRvhDominantRV1Uv = 500;
constexpr double kRvhSV56Uv = 700;
// Atrial abnormalities.
constexpr double kLaaPDurationMs = 120;       // P duration from
constexpr double kLaaTerminalPUv = -100;      // terminal negative P in V1 down to
constexpr double kRaaPIIUv = 250;             // P in II from
constexpr double kRaaPV1Uv = 150;             // positive P in V1 or V2 from
// ST-T.
constexpr double kStElevationUv = 100;
constexpr double kStDepressionUv = -50;
constexpr double kTInversionUv = -100;
constexpr double kNonspecificStUv = -25;      // slight ST depression from
// Pathologic Q: 30 ms and 100 µV (I, II, aVL, aVF, V4-V6), 20 ms in V2-V3.
constexpr double kQWaveMs = 30, kQWaveUv = -100, kQWaveV23Ms = 20;
// Voltages.
constexpr double kLowLimbUv = 500;
constexpr double kPoorRV3Uv = 300;

bool Has(const std::vector<uint16_t>& out, uint16_t code) {
  return std::find(out.begin(), out.end(), code) != out.end();
}

bool LateralRepolarisation(const RuleContext& c) {
  const RecordLeads& l = c.leads;
  auto abnormal = [](const LeadValues& v) { return StDepressed(v) || TInverted(v); };
  return l.Count({kSlotI, kSlotAVL, kSlotV5, kSlotV6}, abnormal) >= 2;
}

bool PathologicQ(const LeadValues& v) { return v.qs || (v.q_ms >= kQWaveMs && v.q <= kQWaveUv); }

}  // namespace

bool StElevated(const RuleContext& c, int slot) {
  const LeadValues& v = c.leads[slot];
  if (!v.usable) return false;
  double limit = kStElevationUv;
  if (slot == kSlotV2 || slot == kSlotV3) {
    const PatientFacts& p = c.options.patient;
    if (p.sex == Sex::kFemale) {
      limit = 150;
    } else {
      limit = p.age_years >= 0 && p.age_years < 40 ? 250 : 200;
    }
  }
  return v.j >= limit;
}

bool StDepressed(const LeadValues& v) {
  return v.usable && v.j <= kStDepressionUv && v.st60 <= kStDepressionUv && v.st80 <= v.st20 + 25;
}

bool TInverted(const LeadValues& v) {
  return v.usable && v.t_known && v.t_neg <= kTInversionUv && -v.t_neg > v.t_pos && v.r > std::fabs(v.s);
}

void HypertrophyStatements(const RuleContext& c, std::vector<uint16_t>& out) {
  const RecordLeads& l = c.leads;
  const Sex sex = c.options.patient.sex;
  // Ventricles.
  bool lvh = false;
  if (l[kSlotV1].usable && (l[kSlotV5].usable || l[kSlotV6].usable)) {
    const double sokolow = std::fabs(l[kSlotV1].Deepest()) + std::max(l[kSlotV5].r, l[kSlotV6].r);
    lvh = sokolow >= kSokolowLyonUv;
  }
  if (l[kSlotAVL].usable && l[kSlotV3].usable) {
    const double cornell = l[kSlotAVL].r + std::fabs(l[kSlotV3].Deepest());
    lvh = lvh || cornell > (sex == Sex::kFemale ? kCornellFemaleUv : kCornellMaleUv);
  }
  if (l[kSlotAVL].usable) lvh = lvh || l[kSlotAVL].r >= kRAvlUv;
  if (lvh) out.push_back(LateralRepolarisation(c) ? kLvhWithRepolarisation : kLvhVoltage);

  const LeadValues& v1 = l[kSlotV1];
  if (v1.usable && c.conduction_qrs_ms < 120) {
    const bool tall = v1.r >= kRvhRV1Uv || (v1.r >= kRvhDominantRV1Uv && v1.r > std::fabs(v1.Deepest()));
    const bool right = (c.qrs_axis != 999 && c.qrs_axis > 90) ||
                       l.Count({kSlotV5, kSlotV6}, [](const LeadValues& v) { return v.Deepest() <= -kRvhSV56Uv; }) > 0;
    if (tall && right) out.push_back(kRightVentricularHypertrophy);
  }

  // Atria (P waves needed).
  if (!c.p_present) return;
  const LeadValues& ii = l[kSlotII];
  const bool terminal_v1 = v1.usable && v1.p_morphology == 3 && v1.p_neg <= kLaaTerminalPUv;
  if (c.p_ms >= kLaaPDurationMs || terminal_v1) out.push_back(kLeftAtrialAbnormality);
  const bool tall_ii = ii.usable && ii.p_pos >= kRaaPIIUv;
  const bool tall_v12 = l.Count({kSlotV1, kSlotV2}, [](const LeadValues& v) { return v.p_pos >= kRaaPV1Uv; }) > 0;
  if (tall_ii || tall_v12) out.push_back(kRightAtrialAbnormality);
}

void StTStatements(const RuleContext& c, std::vector<uint16_t>& out) {
  const RecordLeads& l = c.leads;
  auto elevated = [&](std::initializer_list<int> slots, bool contiguous) {
    int n = 0, run = 0, best = 0;
    for (int s : slots) {
      const bool e = StElevated(c, s);
      n += e ? 1 : 0;
      run = e ? run + 1 : 0;
      best = std::max(best, run);
    }
    return contiguous ? best >= 2 : n >= 2;
  };
  // Anterior V1-V4 (neighbours), inferior II, III, aVF, lateral I and aVL or V5 and V6.
  if (elevated({kSlotV1, kSlotV2, kSlotV3, kSlotV4}, true)) out.push_back(kStElevationAnterior);
  if (elevated({kSlotII, kSlotIII, kSlotAVF}, false)) out.push_back(kStElevationInferior);
  if (elevated({kSlotI, kSlotAVL}, false) || elevated({kSlotV5, kSlotV6}, false)) out.push_back(kStElevationLateral);

  auto two = [&](std::initializer_list<int> slots, bool (*test)(const LeadValues&)) {
    return l.Count(slots, test) >= 2;
  };
  if (two({kSlotV1, kSlotV2, kSlotV3, kSlotV4}, StDepressed)) out.push_back(kStDepressionAnterior);
  if (two({kSlotII, kSlotIII, kSlotAVF}, StDepressed)) out.push_back(kStDepressionInferior);
  if (two({kSlotI, kSlotAVL, kSlotV5, kSlotV6}, StDepressed)) out.push_back(kStDepressionLateral);
  // T inversion in V1 and in III alone is normal.
  if (two({kSlotV2, kSlotV3, kSlotV4}, TInverted)) out.push_back(kTInversionAnterior);
  if (l.Count({kSlotII, kSlotAVF}, TInverted) >= 1 && two({kSlotII, kSlotIII, kSlotAVF}, TInverted)) {
    out.push_back(kTInversionInferior);
  }
  if (two({kSlotI, kSlotAVL, kSlotV5, kSlotV6}, TInverted)) out.push_back(kTInversionLateral);

  if (c.options.set == StatementSet::kExtended) {
    bool any = false;
    for (uint16_t code : out) any = any || (code >= kStElevationAnterior && code <= kTInversionLateral);
    auto slight = [](const LeadValues& v) {
      const bool st = v.st60 <= kNonspecificStUv && v.j <= kNonspecificStUv;
      const bool flat_t = v.t_known && v.r >= 500 && std::max(v.t_pos, -v.t_neg) < 0.1 * v.r;
      return st || flat_t;
    };
    if (!any && l.Count({kSlotI, kSlotII, kSlotAVL, kSlotAVF, kSlotV4, kSlotV5, kSlotV6}, slight) >= 2) {
      out.push_back(kNonspecificStT);
    }
  }
}

void InfarctStatements(const RuleContext& c, std::vector<uint16_t>& out) {
  const RecordLeads& l = c.leads;
  // Any Q over 20 ms in V2 or V3, or QS in both; or two of V4-V6 with
  // pathologic Q where V4 is one of them.
  const bool qs_v2_v3 = l[kSlotV2].usable && l[kSlotV3].usable && l[kSlotV2].qs && l[kSlotV3].qs;
  const bool q_v23 = l.Count({kSlotV2, kSlotV3}, [](const LeadValues& v) {
    return !v.qs && v.q < 0 && v.q_ms > kQWaveV23Ms;
  }) > 0;
  const bool q_v4 = l.Count({kSlotV4}, PathologicQ) == 1 && l.Count({kSlotV5}, PathologicQ) == 1;
  if (qs_v2_v3 || q_v23 || q_v4) out.push_back(kInfarctAnterior);
  if (l.Count({kSlotII, kSlotAVF}, PathologicQ) == 2) out.push_back(kInfarctInferior);
  if (l.Count({kSlotI, kSlotAVL}, PathologicQ) == 2 || l.Count({kSlotV5, kSlotV6}, PathologicQ) == 2) {
    out.push_back(kInfarctLateral);
  }
}

void VoltageStatements(const RuleContext& c, std::vector<uint16_t>& out) {
  const RecordLeads& l = c.leads;
  // All six limb leads under 500 µV peak to peak (the precordial
  // criterion, all under 1 mV, calls too many normal records in practice
  // and is not used).
  const std::initializer_list<int> limbs = {kSlotI, kSlotII, kSlotIII, kSlotAVR, kSlotAVL, kSlotAVF};
  const int limb_usable = l.Count(limbs, [](const LeadValues&) { return true; });
  const int limb_low = l.Count(limbs, [](const LeadValues& v) { return v.PeakToPeak() < kLowLimbUv; });
  if (limb_usable == 6 && limb_low == 6) out.push_back(kLowVoltage);

  if (c.options.set == StatementSet::kExtended && l[kSlotV3].usable && l[kSlotV2].usable &&
      l[kSlotV3].r <= kPoorRV3Uv && !Has(out, kInfarctAnterior)) {
    out.push_back(kPoorRProgression);
  }
}

}  // namespace ecg::engine
