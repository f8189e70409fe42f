// Multi-lead QRS detection: band-passed slope energy, integration, peaks,
// adaptive threshold, T-wave rejection and search-back.

#include "engine/qrs_detection.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "engine/filters.h"

namespace ecg::engine {

namespace {

constexpr double kBandLowHz = 8.0;
constexpr double kBandHighHz = 20.0;
constexpr double kScaleQuantile = 0.99;
constexpr float kEnergyCap = 4.0f;
constexpr double kIntegrationSeconds = 0.10;
constexpr double kPeakSmoothingSeconds = 0.02;
constexpr double kRefractorySeconds = 0.20;
// The typical complex: the median of the strongest peaks a record of this
// length holds at 30 beats per minute at least.
constexpr double kSlowestBeatsPerSecond = 0.5;
constexpr float kThresholdFraction = 0.2f;
constexpr double kTWaveSeconds = 0.36;
constexpr float kTWaveEnergyRatio = 0.3f;
constexpr double kSearchBackGap = 1.6;  // of the median RR interval
constexpr float kSearchBackFraction = 0.5f;
constexpr double kSearchBackMinSeconds = 0.25;
constexpr double kPeakSearchSeconds = 0.06;
constexpr float kExtentFraction = 0.05f;
constexpr double kExtentBeforeSeconds = 0.15;
constexpr double kExtentAfterSeconds = 0.2;
constexpr double kOutsideNearSeconds = 0.15;
constexpr double kOutsideFarSeconds = 0.35;

struct Candidate {
  size_t at;
  float value;
};

}  // namespace

std::vector<DetectedBeat> DetectQrs(const EcgSignal& signal, std::span<const size_t> leads) {
  const size_t n = signal.samples;
  std::vector<DetectedBeat> beats;
  if (n < 8 || leads.empty()) return beats;
  const double fs = signal.rate;

  // Summed, scaled slope energy.
  std::vector<float> energy(n, 0.0f), band(n), lead_energy(n), scratch;
  const Biquad high = ButterworthHighPass(kBandLowHz, fs);
  const Biquad low = ButterworthLowPass(kBandHighHz, fs);
  for (size_t li : leads) {
    const Lead& lead = signal.leads[li];
    std::copy(lead.uv.begin(), lead.uv.end(), band.begin());
    FilterZeroPhase(band, {high, low});
    lead_energy[0] = lead_energy[n - 1] = 0.0f;
    for (size_t i = 1; i + 1 < n; ++i) {
      const float d = band[i + 1] - band[i - 1];
      lead_energy[i] = lead.IsInvalid(i) ? 0.0f : d * d;
    }
    const float scale = Quantile(lead_energy, kScaleQuantile, scratch);
    if (!(scale > 0.0f)) continue;
    for (size_t i = 0; i < n; ++i) energy[i] += std::min(lead_energy[i] / scale, kEnergyCap);
  }
  std::vector<float> smooth(n), integrated(n);
  MovingAverage(energy, signal.Samples(kPeakSmoothingSeconds), smooth);
  MovingAverage(energy, signal.Samples(kIntegrationSeconds), integrated);

  // Peaks of the integrated energy, strongest first, at least the
  // refractory time apart.
  std::vector<Candidate> peaks;
  for (size_t i = 1; i + 1 < n; ++i) {
    if (integrated[i] > integrated[i - 1] && integrated[i] >= integrated[i + 1] &&
        integrated[i] > 0.0f) {
      peaks.push_back({i, integrated[i]});
    }
  }
  std::sort(peaks.begin(), peaks.end(),
            [](const Candidate& a, const Candidate& b) { return a.value > b.value; });
  const size_t refractory = signal.Samples(kRefractorySeconds);
  std::set<size_t> kept_at;
  std::vector<Candidate> kept;
  for (const Candidate& c : peaks) {
    auto next = kept_at.lower_bound(c.at);
    if (next != kept_at.end() && *next - c.at < refractory) continue;
    if (next != kept_at.begin() && c.at - *std::prev(next) < refractory) continue;
    kept_at.insert(c.at);
    kept.push_back(c);
  }
  if (kept.empty()) return beats;

  // Threshold from the typical complex.
  const auto expected = static_cast<size_t>(
      std::max(1.0, std::ceil(signal.Seconds() * kSlowestBeatsPerSecond)));
  const size_t top = std::min(expected, kept.size());
  const float level = kept[top / 2].value;
  const float threshold = kThresholdFraction * level;

  std::vector<Candidate> accepted;
  for (const Candidate& c : kept) {
    if (c.value >= threshold) accepted.push_back(c);
  }
  std::sort(accepted.begin(), accepted.end(),
            [](const Candidate& a, const Candidate& b) { return a.at < b.at; });

  // A weak peak right behind a complex is its T wave.
  const size_t t_window = signal.Samples(kTWaveSeconds);
  const size_t search = signal.Samples(kPeakSearchSeconds);
  auto peak_energy = [&](size_t at) {
    const size_t lo = at > search ? at - search : 0;
    const size_t hi = std::min(n - 1, at + search);
    return *std::max_element(smooth.begin() + static_cast<std::ptrdiff_t>(lo),
                             smooth.begin() + static_cast<std::ptrdiff_t>(hi) + 1);
  };
  std::vector<Candidate> beats_found;
  for (const Candidate& c : accepted) {
    if (!beats_found.empty()) {
      const Candidate& prev = beats_found.back();
      if (c.at - prev.at < t_window && peak_energy(c.at) < kTWaveEnergyRatio * peak_energy(prev.at)) {
        continue;
      }
    }
    beats_found.push_back(c);
  }

  // Search back in gaps far longer than the usual interval.
  if (beats_found.size() >= 3) {
    std::vector<float> rr;
    for (size_t i = 1; i < beats_found.size(); ++i) {
      rr.push_back(static_cast<float>(beats_found[i].at - beats_found[i - 1].at));
    }
    const float median_rr = MedianInPlace(rr);
    const size_t min_distance = signal.Samples(kSearchBackMinSeconds);
    std::vector<Candidate> added;
    for (size_t i = 1; i < beats_found.size(); ++i) {
      const size_t a = beats_found[i - 1].at, b = beats_found[i].at;
      if (static_cast<double>(b - a) <= kSearchBackGap * median_rr) continue;
      const Candidate* best = nullptr;
      for (const Candidate& c : kept) {
        if (c.at <= a + min_distance || c.at + min_distance >= b) continue;
        if (c.value < kSearchBackFraction * threshold) continue;
        if (best == nullptr || c.value > best->value) best = &c;
      }
      if (best != nullptr) added.push_back(*best);
    }
    beats_found.insert(beats_found.end(), added.begin(), added.end());
    std::sort(beats_found.begin(), beats_found.end(),
              [](const Candidate& x, const Candidate& y) { return x.at < y.at; });
  }

  // Fiducial, extent and the energy around each complex.
  const size_t extent_before = signal.Samples(kExtentBeforeSeconds);
  const size_t extent_after = signal.Samples(kExtentAfterSeconds);
  const size_t near = signal.Samples(kOutsideNearSeconds);
  const size_t far = signal.Samples(kOutsideFarSeconds);
  for (size_t k = 0; k < beats_found.size(); ++k) {
    const Candidate& c = beats_found[k];
    DetectedBeat beat;
    const size_t lo = c.at > search ? c.at - search : 0;
    const size_t hi = std::min(n - 1, c.at + search);
    beat.peak = static_cast<size_t>(
        std::max_element(smooth.begin() + static_cast<std::ptrdiff_t>(lo),
                         smooth.begin() + static_cast<std::ptrdiff_t>(hi) + 1) -
        smooth.begin());
    beat.strength = c.value;
    const float floor = kExtentFraction * smooth[beat.peak];
    size_t on = beat.peak;
    while (on > 0 && beat.peak - on < extent_before && smooth[on - 1] >= floor) --on;
    size_t off = beat.peak;
    while (off + 1 < n && off - beat.peak < extent_after && smooth[off + 1] >= floor) ++off;
    beat.onset = on;
    beat.offset = off;

    // Around the complex, but not into the neighbouring ones.
    const size_t prev_at = k > 0 ? beats_found[k - 1].at : 0;
    const size_t next_at = k + 1 < beats_found.size() ? beats_found[k + 1].at : n + far;
    float outside = 0.0f;
    auto scan = [&](size_t from, size_t to) {
      for (size_t i = from; i < to && i < n; ++i) outside = std::max(outside, integrated[i]);
    };
    const size_t left_from = std::max(c.at > far ? c.at - far : 0, k > 0 ? prev_at + near : 0);
    if (c.at > near) scan(left_from, c.at - near);
    const size_t right_to = std::min(c.at + far, next_at > near ? next_at - near : 0);
    scan(c.at + near, right_to);
    beat.outside = c.value > 0.0f ? outside / c.value : 0.0f;
    beats.push_back(beat);
  }
  return beats;
}

}  // namespace ecg::engine
