#pragma once
// Atrial flutter from the atrial activity between the ventricular
// complexes.
//
// II, III, aVF and V1 (those present) are brought to 100 Hz (10 ms means).
// Every ventricular complex is masked (QRS onset - 20 ms to QRS end + 40 ms;
// the median beat's boundaries placed on each dominant complex, the
// detector's extent on the others) and bridged with a straight line, the
// baseline is taken out with a zero-phase 1 Hz high-pass, and the
// normalised autocorrelation of what is left is computed over the pairs of
// unmasked samples only, at lags of one and two flutter cycles. The leads'
// autocorrelations are averaged; V1's is also judged on its own.
//
// Flutter waves follow each other without an isoelectric line, at a regular
// cycle, each like the one before: the mean autocorrelation peaks at the
// flutter cycle and again at twice the cycle. A sinus rhythm leaves one P
// and one T wave, unlike each other, per interval between complexes, so
// nothing recurs at a lag shorter than that interval; the waves of atrial
// fibrillation vary in cycle and form, so whatever resemblance a wave bears
// to the next is gone one cycle later. With 2:1 conduction every other
// flutter wave falls into the masked complex, but the one in the ST-T
// stretch and the one before the next complex are one cycle apart and
// alike. Flutter waves stand out in V1 (the AHA's leads for them are II,
// III, aVF and V1): V1 must show the cycle on its own, where a sinus P wave
// is small and unlike the T wave.

#include <cstddef>

#include "engine/analysis.h"
#include "engine/ecg_signal.h"

namespace ecg::engine {

// Flutter cycles looked for: 160-300 ms (375-200 per minute; the typical
// 240-340 per minute and flutter slowed by antiarrhythmic drugs).
inline constexpr double kFlutterCycleMinMs = 160;
inline constexpr double kFlutterCycleMaxMs = 300;
// The mean autocorrelation of the leads, and V1's own, at the cycle and at
// twice the cycle must all reach this.
inline constexpr double kFlutterMinCorrelation = 0.35;
// Besides V1, at least this many of II, III and aVF.
inline constexpr size_t kFlutterMinInferiorLeads = 2;

struct FlutterAnalysis {
  size_t leads = 0;            // leads measured
  size_t inferior_leads = 0;   // of them II, III, aVF
  bool v1 = false;             // V1 measured
  double cycle_ms = 0;         // lag of the mean autocorrelation's highest peak in the cycle range
  double at_cycle = 0;         // mean autocorrelation there
  double at_two_cycles = 0;    // the highest within 10 ms of twice the cycle
  double v1_at_cycle = 0;      // V1's own, at the same lags
  double v1_at_two_cycles = 0;
  bool flutter = false;        // V1 and two inferior leads measured, all four values reach the limit
};

// Needs the beats and the median beat; a record without them or without
// any of the leads has nothing measured and no flutter.
FlutterAnalysis AnalyseAtrialFlutter(const EcgSignal& signal, const AnalysisResult& result);

}  // namespace ecg::engine
