// Frontal axes from the areas under I and aVF.

#include "engine/axes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ecg::engine {

int16_t FrontalAxis(const std::vector<float>& lead_i, const std::vector<float>& lead_avf, double from,
                    double to, double level_i, double level_avf, double min_mean_uv) {
  const size_t n = std::min(lead_i.size(), lead_avf.size());
  if (n == 0 || !(to > from)) return kAxisUndefined;
  const auto lo = static_cast<size_t>(std::max(0.0, std::ceil(from)));
  const size_t hi = std::min(n - 1, static_cast<size_t>(std::max(0.0, std::floor(to))));
  if (hi < lo) return kAxisUndefined;
  double x = 0, y = 0;
  for (size_t i = lo; i <= hi; ++i) {
    x += lead_i[i] - level_i;
    y += lead_avf[i] - level_avf;
  }
  const double count = static_cast<double>(hi - lo + 1);
  x /= count;
  y = y / count * 2.0 / std::numbers::sqrt3;
  if (std::hypot(x, y) < min_mean_uv) return kAxisUndefined;
  long degrees = std::lround(std::atan2(y, x) * 180.0 / std::numbers::pi);
  if (degrees <= -180) degrees += 360;
  return static_cast<int16_t>(degrees);
}

}  // namespace ecg::engine
