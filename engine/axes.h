#pragma once
// Frontal-plane axes from the limb leads.
//
// With Einthoven's triangle, lead I sees the frontal vector's x part and
// aVF sees sqrt(3)/2 of its y part, so the axis of a wave is
// atan2(2 aVF / sqrt(3), I) over the wave's areas in I and aVF (degrees,
// -179..180, positive downwards as the hexaxial reference system counts).

#include <cstdint>
#include <vector>

namespace ecg::engine {

constexpr int16_t kAxisUndefined = 999;

// Areas from `from` to `to` (fractional samples) relative to the given
// levels. An axis whose mean vector is below `min_mean_uv` is undefined.
int16_t FrontalAxis(const std::vector<float>& lead_i, const std::vector<float>& lead_avf, double from,
                    double to, double level_i, double level_avf, double min_mean_uv);

}  // namespace ecg::engine
