// Beat typing on complexes whose forms and detected places are known: the
// detector's place of a complex may lie in another of its waves. (Complexes
// cut off by the record's edges: synthetic_intervals_test.)

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "engine/beat_typing.h"
#include "engine/ecg_signal.h"

namespace ecg::test::engine {
namespace {

using namespace ecg::engine;

constexpr double kRate = 500;
constexpr size_t kSamples = 5000;
constexpr size_t kInterval = 400;  // 800 ms
constexpr size_t kFirst = 200;

double Gauss(double t, double at, double width) { return std::exp(-0.5 * (t - at) * (t - at) / (width * width)); }

// An R wave at the place and an S wave 24 ms after it (two leads, the
// second smaller and with a deeper S); `other` puts a broad, turned-over
// complex there instead.
void AddComplex(std::vector<std::vector<float>>& leads, size_t at, bool other) {
  for (size_t i = at - 60; i < at + 80; ++i) {
    const double t = (static_cast<double>(i) - static_cast<double>(at)) / kRate;
    const double r = other ? -0.8 * Gauss(t, 0.02, 0.03) : Gauss(t, 0.0, 0.006);
    const double s = other ? 0.3 * Gauss(t, -0.03, 0.02) : -0.5 * Gauss(t, 0.024, 0.006);
    leads[0][i] += static_cast<float>(1000.0 * (r + s));
    leads[1][i] += static_cast<float>(600.0 * r + 900.0 * s);
  }
}

struct TypingCase {
  std::vector<std::vector<float>> leads = std::vector<std::vector<float>>(2, std::vector<float>(kSamples, 0.0f));
  std::vector<DetectedBeat> detected;
  EcgSignal signal;

  // Complex k at its place, detected `shift` samples away from it.
  void Add(size_t k, long shift, bool other = false) {
    const size_t at = kFirst + k * kInterval;
    AddComplex(leads, at, other);
    DetectedBeat d;
    d.peak = static_cast<size_t>(static_cast<long>(at) + shift);
    d.onset = at - 30;
    d.offset = at + 40;
    d.strength = 1.0f;
    detected.push_back(d);
  }
  TypedBeats Type() {
    signal.rate = kRate;
    signal.samples = kSamples;
    return TypeBeats(signal, leads, detected);
  }
};

// The detector placed two complexes of the dominant form 20 and 24 ms
// late (in their S waves): centred again, they match the template and are
// placed where the others are. A broad complex of another form placed
// 20 ms off stays another form.
TEST(EngineTyping, ComplexesDetectedInAnotherOfTheirWavesAreDominant) {
  TypingCase c;
  for (size_t k = 0; k < 12; ++k) {
    const long shift = k == 3 ? 10 : (k == 7 ? 12 : (k == 5 ? -10 : 0));
    c.Add(k, shift, k == 5);
  }
  const TypedBeats typed = c.Type();
  ASSERT_EQ(typed.beats.size(), 12u);
  for (size_t k = 0; k < 12; ++k) {
    SCOPED_TRACE(testing::Message() << "complex " << k);
    const Beat& b = typed.beats[k];
    if (k == 5) {
      EXPECT_EQ(b.type, kBeatEctopic);
      continue;
    }
    EXPECT_EQ(b.type, kBeatDominant);
    EXPECT_EQ(b.recentred, k == 3 || k == 7);
    EXPECT_LE(std::labs(static_cast<long>(b.fiducial) - static_cast<long>(kFirst + k * kInterval)), 1);
  }
}

}  // namespace
}  // namespace ecg::test::engine
