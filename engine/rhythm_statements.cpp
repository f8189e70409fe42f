// Rhythm statements: the basic rhythm from the P waves, the rate and the
// regularity of the dominant beats; premature complexes from the beat types.

#include <algorithm>
#include <cmath>

#include "engine/atrial_flutter.h"
#include "engine/beat_typing.h"
#include "engine/interpretation_rules.h"

namespace ecg::engine {

namespace {

// Rate limits of sinus rhythm (beats per minute).
constexpr double kBradycardiaBelow = 60;
constexpr double kTachycardiaAbove = 100;
// The sinus P axis (0 to +75 degrees in adults) with room for the
// measurement's spread; outside it the rhythm is called ectopic atrial.
constexpr int32_t kSinusPAxisMin = -30;
constexpr int32_t kSinusPAxisMax = 105;
// Sinus arrhythmia: the intervals between consecutive sinus beats vary by
// more than 160 ms (longest minus shortest).
constexpr double kSinusArrhythmiaMs = 160;
// Junctional rhythm: a regular narrow-complex rhythm without P waves at up
// to 100 bpm (junctional escape 40-60, accelerated junctional 60-100).
constexpr double kJunctionalMaxRate = 100;
constexpr double kNarrowQrsMs = 120;
// Atrial fibrillation: the intervals between consecutive beats of the
// dominant form change from one beat to the next by a median 15 % of the
// usual interval or more (an irregularly irregular rhythm; sinus
// arrhythmia changes gradually, well under that), over at least four
// intervals.
constexpr double kFibrillationSpread = 0.15;
constexpr size_t kFibrillationMinIntervals = 4;
// A second, form-independent measure of an irregularly irregular rhythm
// (aberrantly conducted beats of atrial fibrillation are typed as another
// form and drop out of the one above): over all intervals except those
// around premature complexes of another form and noise, the root mean
// square of successive differences is at least 20 % of the mean interval
// (normalised RMSSD; sinus arrhythmia stays near 10 %) and at least half of
// the successive differences exceed 50 ms (pNN50), over six differences or
// more. After the RR-irregularity measures of AF detectors (Dash et al.,
// Ann Biomed Eng 37:1701, 2009).
constexpr double kFibrillationRmssd = 0.20;
constexpr double kFibrillationLargeChangeMs = 50;
constexpr double kFibrillationLargeShare = 0.5;
constexpr size_t kFibrillationMinDifferences = 6;

// A complex of another form counts as a premature ventricular complex when
// it comes early: under 88 % of the usual interval after the beat before it
// (a beat of another form at the usual time is a change of form, not a
// premature complex).
constexpr double kPrematureFraction = 0.88;

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::nth_element(v.begin(), v.begin() + static_cast<ptrdiff_t>(v.size() / 2), v.end());
  return v[v.size() / 2];
}

}  // namespace

RrIrregularity MeasureRrIrregularity(const std::vector<double>& intervals_ms, const std::vector<bool>& usable) {
  RrIrregularity out;
  double sum_sq = 0, sum = 0;
  size_t kept = 0, large = 0;
  for (size_t k = 0; k < intervals_ms.size(); ++k) {
    if (!usable[k]) continue;
    sum += intervals_ms[k];
    ++kept;
    if (k + 1 < intervals_ms.size() && usable[k + 1]) {
      const double d = intervals_ms[k + 1] - intervals_ms[k];
      sum_sq += d * d;
      ++out.differences;
      if (std::fabs(d) > kFibrillationLargeChangeMs) ++large;
    }
  }
  if (out.differences == 0 || kept == 0 || sum <= 0) return out;
  out.normalised_rmssd = std::sqrt(sum_sq / static_cast<double>(out.differences)) / (sum / static_cast<double>(kept));
  out.large_change_share = static_cast<double>(large) / static_cast<double>(out.differences);
  return out;
}

bool IrregularlyIrregular(const RrIrregularity& m) {
  return m.differences >= kFibrillationMinDifferences && m.normalised_rmssd >= kFibrillationRmssd &&
         m.large_change_share >= kFibrillationLargeShare;
}

void RhythmStatements(const RuleContext& c, std::vector<uint16_t>& out) {
  const TypedBeats& typed = c.result->beats;
  const auto& beats = typed.beats;
  size_t premature = 0;
  std::vector<double> sinus_intervals;
  for (size_t k = 0; k < beats.size(); ++k) {
    if (beats[k].type == kBeatPremature) ++premature;
    if (k > 0 && beats[k].type == kBeatDominant && beats[k - 1].type == kBeatDominant) {
      sinus_intervals.push_back(static_cast<double>(beats[k].fiducial - beats[k - 1].fiducial) * 1000.0 /
                                c.signal->rate);
    }
  }
  double spread = 0;
  if (sinus_intervals.size() >= kFibrillationMinIntervals) {
    std::vector<double> changes;
    for (size_t k = 1; k < sinus_intervals.size(); ++k) changes.push_back(std::fabs(sinus_intervals[k] - sinus_intervals[k - 1]));
    const double usual = Median(sinus_intervals);
    spread = usual > 0 ? Median(changes) / usual : 0;
  }
  size_t ectopic = 0;
  const double usual_samples = Median(sinus_intervals) * c.signal->rate / 1000.0;
  for (size_t k = 1; k < beats.size(); ++k) {
    if (beats[k].type != kBeatEctopic || beats[k - 1].type == kBeatNoise) continue;
    const double interval = static_cast<double>(beats[k].fiducial - beats[k - 1].fiducial);
    if (usual_samples <= 0 || interval < kPrematureFraction * usual_samples) ++ectopic;
  }
  // Every interval between complexes, less the coupling interval of a
  // premature complex of another form and the one after it (its pause),
  // and the intervals touching noise.
  std::vector<double> all_intervals;
  std::vector<bool> usable;
  for (size_t k = 1; k < beats.size(); ++k) {
    all_intervals.push_back(static_cast<double>(beats[k].fiducial - beats[k - 1].fiducial) * 1000.0 / c.signal->rate);
    usable.push_back(beats[k].type != kBeatNoise && beats[k - 1].type != kBeatNoise);
  }
  for (size_t k = 1; k < beats.size(); ++k) {
    if (beats[k].type != kBeatEctopic) continue;
    if (usual_samples > 0 && static_cast<double>(beats[k].fiducial - beats[k - 1].fiducial) >= kPrematureFraction * usual_samples) {
      continue;
    }
    usable[k - 1] = false;
    if (k < usable.size()) usable[k] = false;
  }
  const RrIrregularity rr = MeasureRrIrregularity(all_intervals, usable);
  const bool irregular =
      spread >= kFibrillationSpread || (!c.p_present && typed.irregular) || IrregularlyIrregular(rr);
  bool fibrillation = false;  // atrial fibrillation or flutter: early beats are part of the rhythm

  if (c.ventricular_paced) {
    // Paced complexes say nothing of the atria's own rhythm through the
    // ventricles: the pacing is the basic rhythm statement; early
    // complexes of another form are still named.
    out.push_back(kPacedRhythm);
  } else if (AnalyseAtrialFlutter(*c.signal, *c.result).flutter) {
    // Regular flutter waves between the complexes, whatever the
    // conduction: with variable conduction the ventricular rhythm is
    // irregular too, but the atria are organised.
    out.push_back(kAtrialFlutter);
    fibrillation = true;
  } else if (irregular) {
    // What looks like a P wave in the median of an irregularly irregular
    // rhythm is fibrillatory activity that happens to line up.
    out.push_back(kAtrialFibrillation);
    fibrillation = true;
  } else if (!c.p_present) {
    if (c.heart_rate <= kJunctionalMaxRate && c.conduction_qrs_ms < kNarrowQrsMs) {
      out.push_back(kJunctionalRhythm);
    } else {
      out.push_back(kUndeterminedRhythm);
    }
  } else {
    const bool sinus_axis = c.p_axis == 999 || (c.p_axis >= kSinusPAxisMin && c.p_axis <= kSinusPAxisMax);
    if (!sinus_axis) {
      out.push_back(kEctopicAtrialRhythm);
    } else if (c.heart_rate < kBradycardiaBelow) {
      out.push_back(kSinusBradycardia);
    } else if (c.heart_rate > kTachycardiaAbove) {
      out.push_back(kSinusTachycardia);
    } else {
      out.push_back(kSinusRhythm);
    }
    if (sinus_axis && sinus_intervals.size() >= 2 && c.options.set == StatementSet::kExtended) {
      const auto [lo, hi] = std::minmax_element(sinus_intervals.begin(), sinus_intervals.end());
      if (*hi - *lo > kSinusArrhythmiaMs) out.push_back(kSinusArrhythmia);
    }
  }
  if (ectopic > 0) out.push_back(kPrematureVentricularComplexes);
  if (premature > 0 && !fibrillation) out.push_back(kPrematureAtrialComplexes);
}

}  // namespace ecg::engine
