// Cubic spline baseline through isoelectric knots.

#include "engine/baseline.h"

#include <algorithm>

namespace ecg::engine {

void EvaluateSpline(std::span<const double> x, std::span<const double> y, std::span<float> out) {
  std::fill(out.begin(), out.end(), 0.0f);
  const size_t k = std::min(x.size(), y.size());
  if (k == 0 || out.empty()) return;
  if (k == 1) {
    std::fill(out.begin(), out.end(), static_cast<float>(y[0]));
    return;
  }
  // Second derivatives m of the natural spline: tridiagonal system.
  std::vector<double> m(k, 0.0), c(k, 0.0), d(k, 0.0);
  for (size_t i = 1; i + 1 < k; ++i) {
    const double h0 = x[i] - x[i - 1], h1 = x[i + 1] - x[i];
    const double a = h0, b = 2.0 * (h0 + h1), cc = h1;
    const double r = 6.0 * ((y[i + 1] - y[i]) / h1 - (y[i] - y[i - 1]) / h0);
    const double denom = b - a * c[i - 1];
    c[i] = cc / denom;
    d[i] = (r - a * d[i - 1]) / denom;
  }
  for (size_t i = k - 2; i >= 1; --i) {
    m[i] = d[i] - c[i] * m[i + 1];
    if (i == 1) break;
  }
  size_t seg = 0;
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = static_cast<double>(i);
    if (t <= x[0]) {
      out[i] = static_cast<float>(y[0]);
      continue;
    }
    if (t >= x[k - 1]) {
      out[i] = static_cast<float>(y[k - 1]);
      continue;
    }
    while (seg + 2 < k && t > x[seg + 1]) ++seg;
    const double h = x[seg + 1] - x[seg];
    const double a = (x[seg + 1] - t) / h, b = (t - x[seg]) / h;
    const double v = a * y[seg] + b * y[seg + 1] +
                     ((a * a * a - a) * m[seg] + (b * b * b - b) * m[seg + 1]) * h * h / 6.0;
    out[i] = static_cast<float>(v);
  }
}

void KnotLevels(std::span<const float> lead, std::span<const size_t> positions, size_t half,
                std::vector<double>& x, std::vector<double>& y) {
  x.clear();
  y.clear();
  const size_t n = lead.size();
  for (size_t p : positions) {
    if (p >= n) continue;
    if (!x.empty() && static_cast<double>(p) <= x.back()) continue;  // keep x increasing
    const size_t lo = p > half ? p - half : 0;
    const size_t hi = std::min(n - 1, p + half);
    double sum = 0;
    for (size_t i = lo; i <= hi; ++i) sum += lead[i];
    x.push_back(static_cast<double>(p));
    y.push_back(sum / static_cast<double>(hi - lo + 1));
  }
}

}  // namespace ecg::engine
