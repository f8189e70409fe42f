#pragma once
// An infinite-impulse-response filter of order N over a vector of channels,
// one sample vector per call. Direct form II: each channel keeps N + 1 delay
// values in a circular line, and one index into the lines is shared by all
// channels, so the coefficient loop runs once for the whole vector.

#include <cstdint>
#include <limits>

template <typename T, unsigned Channels, unsigned Order>
class CIIRSampleFilter {
  static_assert(Channels > 0 && Order > 0, "a filter needs channels and an order");

 public:
  static constexpr unsigned kTaps = Order + 1;

  CIIRSampleFilter() { ClearDelayLines(); }
  virtual ~CIIRSampleFilter() = default;

  // b0…bN and a0…aN; a0 is taken as 1 and not used.
  void SetCoefficients(const double (&b)[kTaps], const double (&a)[kTaps]) {
    for (unsigned k = 0; k < kTaps; ++k) {
      m_b[k] = b[k];
      m_a[k] = a[k];
    }
  }
  void SetOffset(double offset) { m_offset = offset; }
  // In subtract mode the output is the input minus the filtered value.
  void SetSubtract(bool subtract) { m_subtract = subtract; }
  bool IsSubtract() const { return m_subtract; }

  void ClearDelayLines() {
    for (auto& line : m_w) {
      for (double& v : line) v = 0.0;
    }
    m_index = 0;
  }

  // Filters one sample per channel in place.
  void Filter(T* samples) {
    // The new delay value and the output are built in locals (the slot t is
    // never one of the older slots read), then stored.
    double w_new[Channels];
    double y[Channels];
    const uint32_t t = m_index;
    uint32_t i = t;
    for (unsigned c = 0; c < Channels; ++c) {
      w_new[c] = static_cast<double>(samples[c]);
      y[c] = 0.0;
    }
    for (unsigned k = 1; k <= Order; ++k) {
      i = i == 0 ? Order : i - 1;
      const double a = m_a[k];
      const double b = m_b[k];
      for (unsigned c = 0; c < Channels; ++c) {
        const double w = m_w[c][i];
        w_new[c] -= a * w;
        y[c] += b * w;
      }
    }
    // i has come round to the slot after t: where the next input goes.
    m_index = i;
    for (unsigned c = 0; c < Channels; ++c) {
      m_w[c][t] = w_new[c];
      double out = y[c] + m_b[0] * w_new[c] + m_offset;
      if (m_subtract) out = static_cast<double>(samples[c]) - out;
      samples[c] = ToSample(out);
    }
  }

 protected:
  // Truncation toward zero; values beyond the sample type are held at its
  // limits rather than wrapped.
  static T ToSample(double v) {
    constexpr double lo = static_cast<double>(std::numeric_limits<T>::lowest());
    constexpr double hi = static_cast<double>(std::numeric_limits<T>::max());
    if (!(v > lo)) return std::numeric_limits<T>::lowest();  // also NaN
    if (v >= hi) return std::numeric_limits<T>::max();
    return static_cast<T>(v);
  }

  double m_w[Channels][kTaps];
  double m_b[kTaps] = {};
  double m_a[kTaps] = {};
  double m_offset = 0.0;
  bool m_subtract = false;
  uint32_t m_channels = Channels;
  uint32_t m_index = 0;
};
