#pragma once
// The criteria of each statement group. Each function adds the codes whose
// criteria the record meets; the exclusions between groups (a bundle branch
// block silencing voltage criteria, atrial fibrillation silencing sinus
// statements...) are applied afterwards, in one place (interpretation.cpp).

#include <cstdint>
#include <vector>

#include "engine/analysis.h"
#include "engine/ecg_signal.h"
#include "engine/frontal_quadrant.h"
#include "engine/interpretation.h"
#include "engine/interpretation_leads.h"

namespace ecg::engine {

struct RuleContext {
  const EcgSignal* signal = nullptr;
  const AnalysisResult* result = nullptr;
  RecordLeads leads;
  InterpretationOptions options;
  // Global values in ms (-1 when not measured), degrees.
  double heart_rate = 0;
  double rr_ms = -1;
  double pr_ms = -1;
  double p_ms = -1;
  double qrs_ms = 0;          // global QRS (earliest onset to latest end over the leads)
  double conduction_qrs_ms = 0;  // the QRS duration at least three leads show
  double qt_ms = -1;
  int32_t qtc_ms = -1;
  int32_t qrs_axis = 999;
  FrontalSector qrs_sector = FrontalSector::kUnknown;  // by the polarity of I, II, aVF
  int32_t p_axis = 999;
  bool p_present = false;
  bool ventricular_paced = false;  // most complexes follow a pacemaker stimulus
};

RuleContext MakeRuleContext(const EcgSignal& signal, const AnalysisResult& result, const InterpretationOptions& options);

// Irregularity of the intervals between complexes (ms); `usable` marks the
// intervals that count (a successive difference needs both).
struct RrIrregularity {
  double normalised_rmssd = 0;    // RMS of successive differences / mean interval
  double large_change_share = 0;  // share of successive differences over 50 ms
  size_t differences = 0;
};
RrIrregularity MeasureRrIrregularity(const std::vector<double>& intervals_ms, const std::vector<bool>& usable);
// The irregularly irregular rhythm of atrial fibrillation by those measures.
bool IrregularlyIrregular(const RrIrregularity& m);

void RhythmStatements(const RuleContext& c, std::vector<uint16_t>& out);
void ConductionStatements(const RuleContext& c, std::vector<uint16_t>& out);
void AxisStatements(const RuleContext& c, std::vector<uint16_t>& out);
void HypertrophyStatements(const RuleContext& c, std::vector<uint16_t>& out);
void StTStatements(const RuleContext& c, std::vector<uint16_t>& out);
void InfarctStatements(const RuleContext& c, std::vector<uint16_t>& out);
void VoltageStatements(const RuleContext& c, std::vector<uint16_t>& out);

// ST elevation at the J point that meets the Fourth Universal Definition's
// limit for the lead (V2-V3: 200 µV men from 40, 250 µV men under 40,
// 150 µV women; other leads 100 µV).
bool StElevated(const RuleContext& c, int slot);
// Horizontal or downsloping ST depression of at least 50 µV (J and J+60).
bool StDepressed(const LeadValues& v);
// A T wave inverted by at least 100 µV in a lead with a dominant R wave.
bool TInverted(const LeadValues& v);

}  // namespace ecg::engine
