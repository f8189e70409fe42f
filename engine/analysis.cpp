// The analysis pipeline.

#include "engine/analysis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/axes.h"
#include "engine/baseline.h"
#include "engine/filters.h"
#include "engine/findings_text.h"
#include "engine/lead_measurements.h"
#include "engine/pacemaker_spikes.h"
#include "engine/qrs_detection.h"

namespace ecg::engine {

namespace {

constexpr double kMorphHighPassHz = 1.0;
constexpr double kMorphLowPassHz = 30.0;
constexpr size_t kMinDominantBeats = 3;
constexpr double kFirstPassBefore = 0.25;
constexpr double kFirstPassLength = 0.40;
constexpr double kKnotBeforeOnset = 0.015;
constexpr double kKnotHalfWidth = 0.008;
constexpr double kLevelSeconds = 0.01;
constexpr double kMinQrsAxisUv = 5.0;
constexpr double kMinWaveAxisUv = 5.0;

int32_t MsOrMissing(bool present, double samples, double rate) {
  return present ? static_cast<int32_t>(std::lround(samples * 1000.0 / rate)) : kNotComputed;
}

double LevelBefore(const std::vector<float>& v, double at, double rate) {
  const size_t n = v.size();
  if (n == 0) return 0;
  const double lo = std::max(0.0, at - kLevelSeconds * rate);
  const double hi = std::clamp(at, 0.0, static_cast<double>(n - 1));
  double sum = 0;
  size_t count = 0;
  for (auto i = static_cast<size_t>(std::ceil(lo)); static_cast<double>(i) <= hi; ++i) {
    sum += v[i];
    ++count;
  }
  return count ? sum / static_cast<double>(count) : v[static_cast<size_t>(hi)];
}

}  // namespace

EngineStatus Analyse(const EcgSignal& signal, AnalysisResult& result) {
  result = AnalysisResult();
  const double rate = signal.rate;
  result.quality = AssessLeads(signal);

  // The leads that carry independent information and can be used.
  std::vector<size_t> analysed;
  for (int s = 0; s < kSlotCount; ++s) {
    if (!IsIndependentSlot(s) || signal.slot[s] < 0) continue;
    const auto li = static_cast<size_t>(signal.slot[s]);
    if (result.quality[li].usable()) analysed.push_back(li);
  }
  if (analysed.size() < 2) {
    return EngineStatus::Error(kResultSignalQuality,
                               "fewer than two usable leads among I, II and V1-V6 (flat, lead off or saturated)");
  }

  // Detection and typing.
  const std::vector<DetectedBeat> detected = DetectQrs(signal, analysed);
  std::vector<std::vector<float>> morph(analysed.size());
  const Biquad morph_high = ButterworthHighPass(kMorphHighPassHz, rate);
  const Biquad morph_low = ButterworthLowPass(kMorphLowPassHz, rate);
  for (size_t k = 0; k < analysed.size(); ++k) {
    morph[k] = signal.leads[analysed[k]].uv;
    FilterZeroPhase(morph[k], {morph_high, morph_low});
  }
  result.beats = TypeBeats(signal, morph, detected);
  // The median beats and the baseline take the dominant beats that matched
  // the template where they were found; those matched only after centring
  // again are of the dominant form (statements, rate) but come with a
  // less certain place, and averaging them in widened the spread of the
  // measurements. All of them where too few matched in place.
  size_t noise = 0, in_place = 0;
  for (const Beat& b : result.beats.beats) {
    if (b.type == kBeatDominant && !b.recentred) ++in_place;
    if (b.type == kBeatNoise) ++noise;
  }
  const bool all_dominant = in_place < kMinDominantBeats;
  const auto averaged = [&](const Beat& b) { return all_dominant || !b.recentred; };
  std::vector<size_t> dominant;
  for (const Beat& b : result.beats.beats) {
    if (b.type == kBeatDominant && averaged(b)) dominant.push_back(b.fiducial);
  }
  if (dominant.size() < kMinDominantBeats) {
    return EngineStatus::Error(kResultSignalQuality,
                               "fewer than three clean beats of the dominant form (" +
                                   std::to_string(result.beats.beats.size()) + " complexes found)");
  }
  if (noise * 2 > result.beats.beats.size()) {
    return EngineStatus::Error(kResultSignalQuality, "more than half of the complexes are noise");
  }

  // First pass: where the QRS starts relative to the fiducial, to place
  // the baseline knots in the PR segment.
  std::vector<std::vector<float>> first(analysed.size());
  std::vector<size_t> first_leads(analysed.size());
  const size_t first_before = signal.Samples(kFirstPassBefore);
  const size_t first_length = signal.Samples(kFirstPassLength);
  for (size_t k = 0; k < analysed.size(); ++k) {
    MedianOfWindows(morph[k], &signal.leads[analysed[k]], dominant, first_before, first_length, first[k]);
    first_leads[k] = k;
  }
  double first_on = 0, first_off = 0;
  if (!FindQrs(first, first, first_leads, first_before, rate, first_on, first_off)) {
    first_on = static_cast<double>(first_before) - 0.05 * rate;
  }
  const double knot_offset = first_on - static_cast<double>(first_before) - kKnotBeforeOnset * rate;
  std::vector<size_t> knots;
  for (const Beat& b : result.beats.beats) {
    if ((b.type != kBeatDominant && b.type != kBeatPremature) || !averaged(b)) continue;
    const double at = static_cast<double>(b.fiducial) + knot_offset;
    if (at >= 0 && at < static_cast<double>(signal.samples)) knots.push_back(static_cast<size_t>(std::lround(at)));
  }
  std::sort(knots.begin(), knots.end());

  // Baseline removal, every lead.
  std::vector<std::vector<float>> corrected(signal.leads.size());
  std::vector<double> kx, ky;
  std::vector<float> baseline(signal.samples);
  const size_t knot_half = signal.Samples(kKnotHalfWidth);
  for (size_t li = 0; li < signal.leads.size(); ++li) {
    const Lead& lead = signal.leads[li];
    KnotLevels(lead.uv, knots, knot_half, kx, ky);
    EvaluateSpline(kx, ky, baseline);
    corrected[li].resize(signal.samples);
    for (size_t i = 0; i < signal.samples; ++i) corrected[li][i] = lead.uv[i] - baseline[i];
    if (!ky.empty()) {
      const auto [lo, hi] = std::minmax_element(ky.begin(), ky.end());
      result.quality[li].wander_uv = static_cast<float>(*hi - *lo);
    }
  }

  // Median beats and their delineation.
  result.medians = BuildMedianBeats(signal, corrected, dominant);
  std::vector<float> intervals;
  for (size_t k = 1; k < dominant.size(); ++k) {
    intervals.push_back(static_cast<float>(dominant[k] - dominant[k - 1]));
  }
  DelineationInput in;
  in.medians = &result.medians;
  in.leads = analysed;
  for (size_t li = 0; li < signal.leads.size(); ++li) {
    if (result.quality[li].usable()) in.boundary_leads.push_back(li);
  }
  in.rr_samples = intervals.empty() ? rate : MedianInPlace(intervals);
  in.corrected = &corrected;
  in.fiducials = dominant;
  // A pacemaker's stimulus is no wave of the heart: a paced median beat is
  // delineated and measured with the stimulus taken out (a large one would
  // otherwise be taken for the complex), and its complex starts no earlier
  // than the stimulus, from which a paced QRS is measured (the slopes of a
  // noisy lead-in, with no P wave to mark a still segment, can carry the
  // onset ahead of it). The median beats written keep the stimulus.
  const std::optional<double> stimulus = StimulusBeforeComplexes(FindPacemakerSpikes(signal), dominant, rate);
  MedianBeats unpaced;
  const MedianBeats* measured = &result.medians;
  if (stimulus) {
    unpaced = result.medians;
    BlankStimulus(unpaced, static_cast<double>(unpaced.fiducial) + *stimulus);
    measured = &unpaced;
    in.medians = measured;
  }
  result.delineation = Delineate(in);
  if (stimulus && result.delineation.qrs_found) {
    const double at = static_cast<double>(result.medians.fiducial) + *stimulus;
    Delineation& paced = result.delineation;
    if (at > paced.qrs_on && at < paced.qrs_off) paced.qrs_on = at;
  }
  const Delineation& d = result.delineation;
  if (!d.qrs_found) {
    return EngineStatus::Error(kResultSignalQuality, "no QRS complex found in the median beat");
  }

  // Per-lead measurements.
  result.leads.resize(signal.leads.size());
  for (size_t li = 0; li < signal.leads.size(); ++li) {
    const Lead& lead = signal.leads[li];
    bool usable = result.quality[li].usable();
    // A limb lead calculated from I and II is as good as the worse of them.
    const int s = SlotOfCode(lead.code);
    if (lead.derived && s >= kSlotIII && s <= kSlotAVF) {
      usable = result.quality[static_cast<size_t>(signal.slot[kSlotI])].usable() &&
               result.quality[static_cast<size_t>(signal.slot[kSlotII])].usable();
    }
    LeadMeasureInput mi;
    mi.code = lead.code;
    mi.median = &measured->leads[li];
    mi.rate = rate;
    mi.delineation = &d;
    mi.usable = usable;
    mi.quality = static_cast<uint16_t>((result.quality[li].Code(lead) & ~kQualityRejected) |
                                       (usable ? 0 : kQualityRejected));
    result.leads[li] = MeasureLead(mi);
  }

  // Global values.
  GlobalValues& g = result.global;
  const double fs = rate;
  std::vector<float> rr_clean;
  const auto& beats = result.beats.beats;
  for (size_t k = 1; k < beats.size(); ++k) {
    if (beats[k].type == kBeatNoise || beats[k - 1].type == kBeatNoise) continue;
    rr_clean.push_back(static_cast<float>(beats[k].fiducial - beats[k - 1].fiducial));
  }
  double rr_mean = 0;
  for (float v : rr_clean) rr_mean += v;
  g.rr_ms = rr_clean.empty() ? kNotComputed
                             : static_cast<int32_t>(std::lround(rr_mean / static_cast<double>(rr_clean.size()) * 1000.0 / fs));
  double pp_sum = 0;
  size_t pp_count = 0;
  for (size_t k = 1; k < beats.size(); ++k) {
    if (beats[k].type != kBeatDominant || beats[k - 1].type != kBeatDominant) continue;
    pp_sum += static_cast<double>(beats[k].fiducial - beats[k - 1].fiducial);
    ++pp_count;
  }
  g.pp_ms = d.p_present && pp_count > 0 ? static_cast<int32_t>(std::lround(pp_sum / static_cast<double>(pp_count) * 1000.0 / fs))
                                        : kNotComputed;
  g.p_on_ms = MsOrMissing(d.p_present, d.p_on, fs);
  g.p_off_ms = MsOrMissing(d.p_present, d.p_off, fs);
  g.qrs_on_ms = MsOrMissing(true, d.qrs_on, fs);
  g.qrs_off_ms = MsOrMissing(true, d.qrs_off, fs);
  g.t_off_ms = MsOrMissing(d.t_found, d.t_off, fs);
  g.heart_rate = g.rr_ms > 0 && g.rr_ms != kNotComputed ? static_cast<int32_t>(std::lround(60000.0 / g.rr_ms)) : 0;
  g.qtc_ms = kNotComputed;
  if (d.t_found && g.rr_ms > 0 && g.rr_ms != kNotComputed) {
    const double qt = (d.t_off - d.qrs_on) * 1000.0 / fs;
    g.qtc_ms = static_cast<int32_t>(std::lround(qt / std::sqrt(g.rr_ms / 1000.0)));
  }

  // Axes from I and aVF.
  g.p_axis = g.qrs_axis = g.t_axis = kAxisUndefined;
  const int i_at = signal.slot[kSlotI], avf_at = signal.slot[kSlotAVF];
  auto usable_lead = [&](int at) { return at >= 0 && result.quality[static_cast<size_t>(at)].usable(); };
  const bool avf_usable = avf_at >= 0 && (signal.leads[static_cast<size_t>(avf_at)].derived
                                              ? usable_lead(signal.slot[kSlotII])
                                              : usable_lead(avf_at));
  if (usable_lead(i_at) && avf_usable) {
    const std::vector<float>& one = result.medians.leads[static_cast<size_t>(i_at)];
    const std::vector<float>& avf = result.medians.leads[static_cast<size_t>(avf_at)];
    const double base_i = LevelBefore(one, d.qrs_on, fs), base_f = LevelBefore(avf, d.qrs_on, fs);
    g.qrs_axis = FrontalAxis(one, avf, d.qrs_on, d.qrs_off, base_i, base_f, kMinQrsAxisUv);
    if (d.t_found) g.t_axis = FrontalAxis(one, avf, d.qrs_off, d.t_off, base_i, base_f, kMinWaveAxisUv);
    if (d.p_present) {
      g.p_axis = FrontalAxis(one, avf, d.p_on, d.p_off, LevelBefore(one, d.p_on, fs),
                             LevelBefore(avf, d.p_on, fs), kMinWaveAxisUv);
    }
  }
  result.findings = FindingsText(result);
  return EngineStatus::Ok();
}

void ForgetPWave(AnalysisResult& result) {
  result.delineation.p_present = false;
  GlobalValues& g = result.global;
  g.p_on_ms = g.p_off_ms = g.pp_ms = kNotComputed;
  g.p_axis = kAxisUndefined;
  for (SLeadMeasurement& m : result.leads) MarkNoPWave(m);
  result.findings = FindingsText(result);
}

}  // namespace ecg::engine
