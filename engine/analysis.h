#pragma once
// The whole analysis of one record's signal: lead quality, QRS detection,
// beat typing, baseline removal, median beats, global delineation, the
// measurements of every lead, axes and intervals, and a text of the
// findings. Nothing here touches files.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/beat_typing.h"
#include "engine/delineation.h"
#include "engine/ecg_signal.h"
#include "engine/lead_quality.h"
#include "engine/median_beats.h"
#include "engine/result_codes.h"
#include "engine/statement_codes.h"
#include "scp/measurement_model.h"

namespace ecg::engine {

// The global measurements as Section 7 stores them: times in ms from the
// start of the median beat, kNotComputed where there is nothing to measure;
// axes in degrees, kAxisUndefined where undefined.
struct GlobalValues {
  int32_t rr_ms = 0;
  int32_t pp_ms = 0;
  int32_t p_on_ms = 0, p_off_ms = 0;
  int32_t qrs_on_ms = 0, qrs_off_ms = 0;
  int32_t t_off_ms = 0;
  int32_t p_axis = 0, qrs_axis = 0, t_axis = 0;
  int32_t heart_rate = 0;  // beats per minute
  int32_t qtc_ms = 0;      // Bazett
};

struct AnalysisResult {
  std::vector<LeadQuality> quality;       // per lead of the signal
  TypedBeats beats;
  MedianBeats medians;
  Delineation delineation;
  std::vector<SLeadMeasurement> leads;    // per lead of the signal
  GlobalValues global;
  Interpretation interpretation;          // empty until interpreted
  std::string findings;                   // English, lines separated by "\r\n"
};

// 0 with the result filled, or 6 when the signal does not allow an analysis
// (fewer than two usable leads among I, II, V1-V6; fewer than three clean
// beats of the dominant form; more noise than beats; no QRS in the median
// beat), with the reason.
EngineStatus Analyse(const EcgSignal& signal, AnalysisResult& result);

// Takes the P-wave measurements back (global, per lead, in the findings):
// in atrial fibrillation or flutter what the delineation took for a P
// wave is atrial activity that has no P onset, P duration or PR interval.
void ForgetPWave(AnalysisResult& result);

}  // namespace ecg::engine
