// A stimulus is a jump of at least kSpikeMinUv reached within kRiseSeconds
// and gone again (back within a third of its height) within kWidthSeconds
// of its start; or, where the cart's filters have made the pulse biphasic
// (a steep step one way, then one the other way past the level it left), a
// swing of kBiphasicMinUv within kWidthSeconds whose steepest step is
// steeper than any cardiac wave and comes with a step the other way that is
// nearly as steep (kReverseShare of it, and kReverseUvPerMs). A QRS upstroke
// of the same height takes ten milliseconds or more and does not come back,
// so it fails both tests; noise fails the link to the complexes.

#include "engine/pacemaker_spikes.h"

#include <algorithm>
#include <cmath>

namespace ecg::engine {

namespace {

constexpr float kSpikeMinUv = 300.0f;
constexpr double kRiseSeconds = 0.002;
constexpr double kWidthSeconds = 0.006;
constexpr float kReturnShare = 0.33f;
constexpr float kBiphasicMinUv = 250.0f;
// No cardiac wave changes this fast (a steep QRS upstroke reaches a few
// tens of microvolts per millisecond).
constexpr float kStepUvPerMs = 100.0f;
// The step back: a share of the steepest one and itself steeper than a
// cardiac wave (a filtered step that only decays back does not count).
constexpr float kReverseShare = 0.4f;
constexpr float kReverseUvPerMs = 75.0f;
constexpr float kQuietOutsideShare = 0.25f;
// Stimuli closer than this over the leads are one.
constexpr double kMergeSeconds = 0.01;
// A ventricular stimulus comes at most this long before the QRS onset (the
// latency to capture and the spread of the beats' onsets), and not after
// the fiducial.
constexpr double kBeforeOnsetSeconds = 0.08;
constexpr double kPacedShare = 0.5;
constexpr size_t kMinPacedBeats = 3;
// How far before a complex's fiducial its stimulus is looked for, how
// closely the offsets must agree, and how much of the median beat around
// the stimulus is bridged.
constexpr double kStimulusSearchSeconds = 0.2;
constexpr double kStimulusAgreementSeconds = 0.01;
constexpr double kBlankHalfSeconds = 0.004;

size_t Samples(double seconds, double rate) {
  return std::max<size_t>(1, static_cast<size_t>(std::lround(seconds * rate)));
}

// A biphasic stimulus in the `window` samples from `i` (with the samples on
// either side of them): the sample its steepest step reaches, or 0.
size_t BiphasicPulseAt(const std::vector<float>& x, size_t i, size_t window, float min_step) {
  float lo = x[i - 1];
  float hi = x[i - 1];
  float steepest = 0.0f;
  size_t at = 0;
  for (size_t k = i; k <= i + window; ++k) {
    lo = std::min(lo, x[k]);
    hi = std::max(hi, x[k]);
    const float step = x[k] - x[k - 1];
    if (std::fabs(step) > std::fabs(steepest)) {
      steepest = step;
      at = k;
    }
  }
  if (hi - lo < kBiphasicMinUv || std::fabs(steepest) < min_step) return 0;
  float back = 0.0f;
  for (size_t k = i; k <= i + window; ++k) {
    const float step = x[k] - x[k - 1];
    if ((step > 0) != (steepest > 0)) back = std::max(back, std::fabs(step));
  }
  const bool steep_back = back >= kReverseShare * std::fabs(steepest) && back >= kReverseUvPerMs / kStepUvPerMs * min_step;
  if (!steep_back) return 0;
  // The pulse stands out of a slow signal: the steps either side of the
  // window are a cardiac wave's (an R wave a few samples wide rises and
  // falls steeply too, but its steps go on outside the window).
  const float outside = kQuietOutsideShare * std::fabs(steepest);
  const bool quiet_before = i < 2 || std::fabs(x[i - 1] - x[i - 2]) <= outside;
  const bool quiet_after = i + window + 1 >= x.size() || std::fabs(x[i + window + 1] - x[i + window]) <= outside;
  return quiet_before && quiet_after ? at : 0;
}

// Stimuli of one lead.
void SpikesOfLead(const Lead& lead, double rate, std::vector<size_t>& out) {
  const std::vector<float>& x = lead.uv;
  const size_t rise = Samples(kRiseSeconds, rate);
  const size_t width = std::max(rise + 1, Samples(kWidthSeconds, rate));
  // Below 500 samples a second a stimulus is one sample whatever its slope,
  // so its step is not asked to be steeper than at 500.
  const float min_step = kStepUvPerMs * static_cast<float>(std::min(2.0, 1000.0 / rate));
  // The next sample at or after i whose step reaches min_step: a biphasic
  // pulse needs one within its window, and most of a lead has none, so the
  // window is looked at only there.
  size_t steep = 1;
  size_t i = 1;
  while (i + width < x.size()) {
    steep = std::max(steep, i);
    while (steep < x.size() && std::fabs(x[steep] - x[steep - 1]) < min_step) ++steep;
    const float before = x[i - 1];
    // The largest excursion within the rise time.
    size_t peak = i;
    for (size_t k = i; k < i + rise; ++k) {
      if (std::fabs(x[k] - before) > std::fabs(x[peak] - before)) peak = k;
    }
    const float height = x[peak] - before;
    bool spike = std::fabs(height) >= kSpikeMinUv && !lead.IsInvalid(i - 1) && !lead.IsInvalid(peak);
    if (spike) {
      spike = false;
      for (size_t k = peak + 1; k <= i + width; ++k) {
        if (std::fabs(x[k] - before) <= kReturnShare * std::fabs(height)) {
          spike = true;
          break;
        }
      }
    }
    if (!spike && steep <= i + width && !lead.IsInvalid(i - 1)) {
      const size_t at = BiphasicPulseAt(x, i, width, min_step);
      bool valid = at != 0;
      for (size_t k = i; valid && k <= i + width; ++k) valid = !lead.IsInvalid(k);
      if (valid) {
        out.push_back(at);
        i += width + 1;
        continue;
      }
    }
    if (spike) {
      out.push_back(peak);
      i += width;
    } else {
      ++i;
    }
  }
}

}  // namespace

std::vector<size_t> FindPacemakerSpikes(const EcgSignal& signal) {
  std::vector<size_t> all;
  if (signal.rate <= 0) return all;
  for (int s = 0; s < kSlotCount; ++s) {
    const Lead* lead = signal.SlotLead(s);
    if (lead == nullptr || lead->derived || !IsIndependentSlot(s)) continue;
    SpikesOfLead(*lead, signal.rate, all);
  }
  std::sort(all.begin(), all.end());
  std::vector<size_t> merged;
  const size_t merge = Samples(kMergeSeconds, signal.rate);
  for (size_t at : all) {
    if (merged.empty() || at > merged.back() + merge) merged.push_back(at);
  }
  return merged;
}

PacingFindings FindPacing(const EcgSignal& signal, const AnalysisResult& result) {
  PacingFindings f;
  f.spikes = FindPacemakerSpikes(signal);
  const auto& beats = result.beats.beats;
  f.beats = beats.size();
  if (f.spikes.empty() || beats.empty() || !result.delineation.qrs_found) return f;
  // The QRS onset relative to a beat's fiducial, from the median beat.
  const double onset_before = static_cast<double>(result.medians.fiducial) - result.delineation.qrs_on;
  const double reach = kBeforeOnsetSeconds * signal.rate;
  size_t linked_spikes = 0;
  std::vector<bool> used(f.spikes.size(), false);
  for (const Beat& b : beats) {
    const double fiducial = static_cast<double>(b.fiducial);
    const double from = fiducial - std::max(0.0, onset_before) - reach;
    bool paced = false;
    for (size_t k = 0; k < f.spikes.size(); ++k) {
      const double at = static_cast<double>(f.spikes[k]);
      if (at >= from && at <= fiducial) {
        paced = true;
        if (!used[k]) {
          used[k] = true;
          ++linked_spikes;
        }
      }
    }
    if (paced) ++f.paced_beats;
  }
  f.ventricular_paced = f.paced_beats >= kMinPacedBeats &&
                        static_cast<double>(f.paced_beats) >= kPacedShare * static_cast<double>(f.beats) &&
                        2 * linked_spikes >= f.spikes.size();
  return f;
}

std::optional<double> StimulusBeforeComplexes(std::span<const size_t> spikes, std::span<const size_t> fiducials,
                                              double rate) {
  if (spikes.empty() || fiducials.empty() || rate <= 0) return std::nullopt;
  const double search = kStimulusSearchSeconds * rate;
  std::vector<double> offsets;
  for (size_t fiducial : fiducials) {
    // The latest stimulus at or before the fiducial (spikes are in time order).
    auto it = std::upper_bound(spikes.begin(), spikes.end(), fiducial);
    if (it == spikes.begin()) continue;
    const double offset = static_cast<double>(*std::prev(it)) - static_cast<double>(fiducial);
    if (offset >= -search) offsets.push_back(offset);
  }
  if (2 * offsets.size() <= fiducials.size()) return std::nullopt;
  std::vector<double> sorted = offsets;
  auto mid = sorted.begin() + static_cast<std::ptrdiff_t>(sorted.size() / 2);
  std::nth_element(sorted.begin(), mid, sorted.end());
  const double median = *mid;
  const double agree = kStimulusAgreementSeconds * rate;
  const auto close = std::count_if(offsets.begin(), offsets.end(),
                                   [&](double o) { return std::fabs(o - median) <= agree; });
  if (2 * static_cast<size_t>(close) <= offsets.size()) return std::nullopt;
  return median;
}

void BlankStimulus(MedianBeats& medians, double at) {
  const double half = std::max(1.0, std::round(kBlankHalfSeconds * medians.rate));
  const double from = std::round(at) - half;
  const double to = std::round(at) + half;
  if (from < 1 || to + 1 >= static_cast<double>(medians.length)) return;
  const auto a = static_cast<size_t>(from);
  const auto b = static_cast<size_t>(to);
  for (std::vector<float>& lead : medians.leads) {
    if (lead.size() != medians.length) continue;
    const float left = lead[a - 1];
    const float right = lead[b + 1];
    for (size_t i = a; i <= b; ++i) {
      const float share = static_cast<float>(i - a + 1) / static_cast<float>(b - a + 2);
      lead[i] = left + (right - left) * share;
    }
  }
}

}  // namespace ecg::engine
