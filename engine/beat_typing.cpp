// Template correlation, alignment and beat types.

#include "engine/beat_typing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/filters.h"

namespace ecg::engine {

namespace {

constexpr double kWindowBefore = 0.06;
constexpr double kWindowAfter = 0.10;
constexpr double kMaxLagSeconds = 0.01;
// Where the best lag lies at the end of that range, the detector placed the
// complex elsewhere in it (its slope energy peaked in another of its
// waves): the window is centred again 20 ms either side and searched once
// more. A match found so counts only where it is close and of the
// template's size: at some shift a broad complex of another form can
// resemble the template.
constexpr double kRecentreSeconds[] = {-0.02, 0.02};
constexpr float kRecentredCorrelation = 0.9f;
constexpr float kRecentredMinAmplitude = 0.8f;  // and at most its inverse
constexpr float kSeedCorrelation = 0.9f;
constexpr float kMemberCorrelation = 0.85f;
constexpr float kDominantCorrelation = 0.85f;
constexpr float kMinAmplitude = 0.5f;
constexpr float kMaxAmplitude = 2.0f;
constexpr float kNoiseOutside = 0.6f;
constexpr float kPoorMatchOutside = 0.35f;
constexpr double kPrematureFraction = 0.82;
constexpr float kIrregularity = 0.08f;  // median deviation of the intervals over their median

// Windows of all beats, leads side by side: [beat][lead][sample].
class Windows {
 public:
  Windows(const std::vector<std::vector<float>>& morph, size_t samples, size_t before,
          size_t width, size_t margin)
      : leads_(morph.size()), width_(width), margin_(margin), stride_(width + 2 * margin),
        morph_(morph), samples_(samples), before_(before) {}

  // Copies the window of a beat at `at` (with the lag margin), edges held.
  void Add(size_t at) {
    const size_t base = data_.size();
    data_.resize(base + leads_ * stride_);
    for (size_t l = 0; l < leads_; ++l) {
      float* out = &data_[base + l * stride_];
      double sum = 0;
      for (size_t k = 0; k < stride_; ++k) {
        const long long idx = static_cast<long long>(at) - static_cast<long long>(before_ + margin_) +
                              static_cast<long long>(k);
        const size_t i = static_cast<size_t>(std::clamp<long long>(idx, 0, static_cast<long long>(samples_) - 1));
        out[k] = morph_[l][i];
        sum += out[k];
      }
      const auto mean = static_cast<float>(sum / static_cast<double>(stride_));
      for (size_t k = 0; k < stride_; ++k) out[k] -= mean;
    }
    ++count_;
  }
  size_t count() const { return count_; }
  // The window of lead l of a beat, shifted by `lag` samples (|lag| <= margin).
  const float* Row(size_t beat, size_t l, int lag) const {
    return &data_[beat * leads_ * stride_ + l * stride_ +
                  static_cast<size_t>(static_cast<long long>(margin_) + lag)];
  }
  size_t leads() const { return leads_; }
  size_t width() const { return width_; }

 private:
  size_t leads_, width_, margin_, stride_;
  const std::vector<std::vector<float>>& morph_;
  size_t samples_, before_;
  size_t count_ = 0;
  std::vector<float> data_;
};

struct Match {
  float correlation = 0;
  float energy_ratio = 0;  // beat energy over reference energy
};

Match Correlate(const float* const* a, const float* const* b, size_t leads, size_t width) {
  double ab = 0, aa = 0, bb = 0;
  for (size_t l = 0; l < leads; ++l) {
    const float* x = a[l];
    const float* y = b[l];
    for (size_t k = 0; k < width; ++k) {
      ab += double{x[k]} * y[k];
      aa += double{x[k]} * x[k];
      bb += double{y[k]} * y[k];
    }
  }
  Match m;
  if (aa > 0 && bb > 0) {
    m.correlation = static_cast<float>(ab / std::sqrt(aa * bb));
    m.energy_ratio = static_cast<float>(aa / bb);
  }
  return m;
}

}  // namespace

size_t TypedBeats::DominantCount() const {
  return static_cast<size_t>(std::count_if(beats.begin(), beats.end(),
                                           [](const Beat& b) { return b.type == kBeatDominant; }));
}

TypedBeats TypeBeats(const EcgSignal& signal, const std::vector<std::vector<float>>& morph,
                     const std::vector<DetectedBeat>& detected) {
  TypedBeats out;
  const size_t count = detected.size();
  out.beats.resize(count);
  for (size_t i = 0; i < count; ++i) {
    Beat& b = out.beats[i];
    b.fiducial = detected[i].peak;
    b.onset = detected[i].onset;
    b.offset = detected[i].offset;
    b.outside = detected[i].outside;
    b.type = kBeatNoise;
  }
  if (count == 0 || morph.empty()) return out;

  const size_t before = signal.Samples(kWindowBefore);
  const size_t width = before + signal.Samples(kWindowAfter) + 1;
  const size_t margin = signal.Samples(kMaxLagSeconds);
  const size_t leads = morph.size();
  Windows windows(morph, signal.samples, before, width, margin);
  for (const DetectedBeat& d : detected) windows.Add(d.peak);

  std::vector<const float*> a(leads), b(leads);
  auto bind = [&](std::vector<const float*>& p, size_t beat, int lag) {
    for (size_t l = 0; l < leads; ++l) p[l] = windows.Row(beat, l, lag);
  };

  // Seed: the beat most others resemble.
  std::vector<float> r(count * count, 0.0f);
  for (size_t i = 0; i < count; ++i) {
    r[i * count + i] = 1.0f;
    bind(a, i, 0);
    for (size_t j = i + 1; j < count; ++j) {
      bind(b, j, 0);
      const float c = Correlate(a.data(), b.data(), leads, width).correlation;
      r[i * count + j] = r[j * count + i] = c;
    }
  }
  size_t seed = 0;
  size_t best_count = 0;
  double best_sum = -1e9;
  for (size_t i = 0; i < count; ++i) {
    size_t similar = 0;
    double sum = 0;
    for (size_t j = 0; j < count; ++j) {
      if (j == i) continue;
      sum += r[i * count + j];
      if (r[i * count + j] >= kSeedCorrelation) ++similar;
    }
    if (similar > best_count || (similar == best_count && sum > best_sum)) {
      seed = i;
      best_count = similar;
      best_sum = sum;
    }
  }

  // Template: the median of the seed's class.
  std::vector<size_t> members;
  for (size_t j = 0; j < count; ++j) {
    if (j == seed || r[seed * count + j] >= kMemberCorrelation) members.push_back(j);
  }
  std::vector<float> templ(leads * width), column;
  for (size_t l = 0; l < leads; ++l) {
    for (size_t k = 0; k < width; ++k) {
      column.clear();
      for (size_t j : members) column.push_back(windows.Row(j, l, 0)[k]);
      templ[l * width + k] = MedianInPlace(column);
    }
  }
  std::vector<const float*> t(leads);
  for (size_t l = 0; l < leads; ++l) t[l] = &templ[l * width];

  // Complexes of other forms are placed at their largest spatial amplitude
  // (the slope energy of a broad complex peaks late in it).
  auto magnitude_peak = [&](const std::vector<const float*>& rows) {
    size_t best_k = before;
    double best = -1;
    for (size_t k = 0; k < width; ++k) {
      double sum = 0;
      for (size_t l = 0; l < leads; ++l) sum += double{rows[l][k]} * rows[l][k];
      if (sum > best) {
        best = sum;
        best_k = k;
      }
    }
    return static_cast<long long>(best_k) - static_cast<long long>(before);
  };
  auto move = [&](Beat& beat, long long by) {
    const long long moved = static_cast<long long>(beat.fiducial) + by;
    beat.fiducial = static_cast<size_t>(std::clamp<long long>(moved, 0, static_cast<long long>(signal.samples) - 1));
  };

  // Align and type each beat.
  const int max_lag = static_cast<int>(margin);
  std::vector<int> lags(count, 0);
  for (size_t i = 0; i < count; ++i) {
    Match best;
    best.correlation = -2.0f;
    for (int lag = -max_lag; lag <= max_lag; ++lag) {
      bind(a, i, lag);
      const Match m = Correlate(a.data(), t.data(), leads, width);
      if (m.correlation > best.correlation) {
        best = m;
        lags[i] = lag;
      }
    }
    bool recentred = false;
    if (std::abs(lags[i]) == max_lag) {
      for (double seconds : kRecentreSeconds) {
        const auto shift = static_cast<long long>(std::lround(seconds * signal.rate));
        const long long at = static_cast<long long>(detected[i].peak) + shift;
        if (at < 0 || at >= static_cast<long long>(signal.samples)) continue;
        Windows moved(morph, signal.samples, before, width, margin);
        moved.Add(static_cast<size_t>(at));
        for (int lag = -max_lag; lag <= max_lag; ++lag) {
          for (size_t l = 0; l < leads; ++l) a[l] = moved.Row(0, l, lag);
          const Match m = Correlate(a.data(), t.data(), leads, width);
          const float size = std::sqrt(std::max(0.0f, m.energy_ratio));
          if (m.correlation > best.correlation && m.correlation >= kRecentredCorrelation &&
              size >= kRecentredMinAmplitude && size <= 1.0f / kRecentredMinAmplitude) {
            best = m;
            lags[i] = static_cast<int>(shift) + lag;
            recentred = true;
          }
        }
      }
    }
    Beat& beat = out.beats[i];
    beat.recentred = recentred;
    beat.correlation = best.correlation;
    beat.amplitude = std::sqrt(std::max(0.0f, best.energy_ratio));
    const bool similar = beat.correlation >= kDominantCorrelation &&
                         beat.amplitude >= kMinAmplitude && beat.amplitude <= kMaxAmplitude;
    // A complex whose window the record's start or end cuts off is compared
    // with the edge sample held in the missing part: unlike the template
    // for want of data, not for its form.
    const bool cut = detected[i].peak < before || detected[i].peak + (width - before) > signal.samples;
    if (beat.outside > kNoiseOutside || (!similar && (beat.outside > kPoorMatchOutside || cut))) {
      beat.type = kBeatNoise;
    } else if (similar) {
      beat.type = kBeatDominant;
      move(beat, lags[i]);
    } else {
      beat.type = kBeatEctopic;
      bind(a, i, 0);
      move(beat, magnitude_peak(a));
    }
  }

  // Early dominant forms in an otherwise regular rhythm, timed from the
  // previous complex of the dominant form (an interpolated ectopic beat
  // leaves the next one on time). The rhythm is irregular when the
  // intervals between neighbouring dominant beats spread widely about
  // their median (atrial fibrillation); a single early beat does not make
  // it so.
  std::vector<size_t> clean;
  for (size_t i = 0; i < count; ++i) {
    if (out.beats[i].type == kBeatDominant) clean.push_back(i);
  }
  std::vector<float> neighbours;
  for (size_t i = 1; i < count; ++i) {
    if (out.beats[i].type == kBeatDominant && out.beats[i - 1].type == kBeatDominant) {
      neighbours.push_back(static_cast<float>(out.beats[i].fiducial) - static_cast<float>(out.beats[i - 1].fiducial));
    }
  }
  if (neighbours.size() >= 2) {
    std::vector<float> copy = neighbours;
    const float median_rr = MedianInPlace(copy);
    std::vector<float> spread;
    for (float v : neighbours) spread.push_back(std::fabs(v - median_rr));
    const float mad = MedianInPlace(spread);
    out.irregular = median_rr > 0 && mad / median_rr > kIrregularity;
    if (!out.irregular && median_rr > 0) {
      for (size_t k = 1; k < clean.size(); ++k) {
        Beat& beat = out.beats[clean[k]];
        const float before_rr = static_cast<float>(beat.fiducial) - static_cast<float>(out.beats[clean[k - 1]].fiducial);
        const bool early = before_rr < kPrematureFraction * median_rr;
        const bool pause_after =
            k + 1 >= clean.size() ||
            static_cast<float>(out.beats[clean[k + 1]].fiducial) - static_cast<float>(beat.fiducial) > 1.1f * before_rr;
        if (early && pause_after) beat.type = kBeatPremature;
      }
    }
  }
  return out;
}

}  // namespace ecg::engine
