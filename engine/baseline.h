#pragma once
// Baseline wander removal: a natural cubic spline through one isoelectric
// knot per beat (the PR segment just before the QRS onset), subtracted from
// the lead (Meyer and Keiser, 1977). Unlike a high-pass filter it leaves
// the ST segment and the T wave where they are.

#include <cstddef>
#include <span>
#include <vector>

namespace ecg::engine {

// Natural cubic spline through (x, y), x strictly increasing, evaluated at
// samples 0..out.size()-1 and held flat outside the first and last knots.
// One knot gives a constant; none leaves `out` zero.
void EvaluateSpline(std::span<const double> x, std::span<const double> y, std::span<float> out);

// The level of a lead around each knot position: the mean over +/-`half`
// samples. Positions outside the lead are skipped (`x` and `y` receive the
// knots kept).
void KnotLevels(std::span<const float> lead, std::span<const size_t> positions, size_t half,
                std::vector<double>& x, std::vector<double>& y);

}  // namespace ecg::engine
