// Signal-processing costs per received frame: the display filter chain with
// every filter on (one 8-channel vector per call) and the QRS detector (one
// lead II sample per call). A recording runs about 500 frames per second and
// feeds the detector 250 samples per second; the time per iteration is the
// cost of one frame or one sample.

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "dsp/filter_settings.h"
#include "dsp/qrs_detect.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Ten seconds of 8-channel frames: an ECG-like pulse train with mains hum,
// wander and noise, in the cable's offset binary.
std::vector<std::array<int16_t, 8>> Frames(double rate) {
  std::mt19937 rng(3);
  std::normal_distribution<double> noise(0.0, 5.0);
  std::vector<std::array<int16_t, 8>> frames(static_cast<size_t>(10 * rate));
  for (size_t n = 0; n < frames.size(); ++n) {
    const double t = static_cast<double>(n) / rate;
    const double beat = std::fmod(t, 0.8) - 0.4;
    const double qrs = 400.0 * std::exp(-0.5 * (beat / 0.01) * (beat / 0.01));
    for (int c = 0; c < 8; ++c) {
      const double v = qrs * (0.5 + 0.1 * c) + 30.0 * std::sin(2 * kPi * 50.0 * t) +
                       100.0 * std::sin(2 * kPi * 0.3 * t) + noise(rng);
      frames[n][static_cast<size_t>(c)] = static_cast<int16_t>(2048 + std::lround(v));
    }
  }
  return frames;
}

void BM_FilterChainAllFiltersPerFrame(benchmark::State& state) {
  const double rate = 499.4219653179;
  const auto frames = Frames(rate);
  CFilterSettings chain;
  chain.SetUp(rate);
  chain.SwitchFilters(true, true, true, 50);
  size_t i = 0;
  for (auto _ : state) {
    chain.Lock();
    chain.SampleVector() = frames[i];
    chain.Filter();
    benchmark::DoNotOptimize(chain.SampleVector());
    chain.Unlock();
    if (++i == frames.size()) i = 0;
  }
  state.counters["frames/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FilterChainAllFiltersPerFrame);

void BM_QrsDetectPerSample(benchmark::State& state) {
  const auto frames = Frames(250.0);
  std::vector<int16_t> lead(frames.size());
  for (size_t n = 0; n < frames.size(); ++n) lead[n] = frames[n][1];
  CQRSDetect detector;
  double rate = 0.0;
  size_t i = 0;
  int64_t beats = 0;
  for (auto _ : state) {
    beats += detector.QrsDetect(lead[i], rate) ? 1 : 0;
    if (++i == lead.size()) i = 0;
  }
  benchmark::DoNotOptimize(beats);
  state.counters["samples/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_QrsDetectPerSample);

}  // namespace

BENCHMARK_MAIN();
