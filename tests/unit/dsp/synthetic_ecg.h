#pragma once
// A synthetic lead II for detector tests: P, Q, R, S and T waves as Gaussian
// bumps at a fixed heart rate, with optional noise and baseline wander, in
// the cable's offset-binary steps of 3 µV.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ecg::test {

struct SyntheticEcgOptions {
  double bpm = 60.0;
  double seconds = 20.0;
  double rate_hz = 250.0;
  double r_mv = 1.2;          // R amplitude; negative turns the complex over
  double noise_uv = 15.0;     // white noise, standard deviation
  double wander_uv = 0.0;     // 0.3 Hz baseline wander, amplitude
  double first_beat_s = 0.5;  // time of the first R peak
  unsigned seed = 1;
};

struct SyntheticEcg {
  std::vector<int16_t> samples;  // 2048 = 0 mV
  std::vector<size_t> r_peaks;   // sample index of each R peak
};

SyntheticEcg MakeSyntheticEcg(const SyntheticEcgOptions& options);

// Adds one QRS complex (R amplitude in mV) centred on `at` to a signal.
void AddQrs(std::vector<int16_t>& samples, double rate_hz, size_t at, double r_mv);

}  // namespace ecg::test
