#pragma once
// Global delineation of the median beats over all analysed leads together.
//
// QRS: the summed one-sided slopes of the leads (backward differences for
// the onset, forward for the end) leave the quiet level of the PR and ST
// segments; onset and end are where they fall under a threshold (4 % of
// the complex's largest slope, or four noise spreads of the quiet stretch)
// and then, on the unsmoothed medians, down into that noise (hysteresis).
// Behind a P wave (a clean PR segment) the onset is looked for again at half
// that threshold. Each usable lead (the calculated limb leads too) gives
// its own onset and end from its own slope (a share of its first and last
// slope peak, or its noise); the earliest onset and the latest end move the
// complex's boundaries within limits (the cardiologists' global fiducials
// are those of the extreme leads), but only where a second lead's mark lies
// close: ends behind a P wave, onsets without one (there atrial activity
// could move a single lead, and the end stays the summed slopes'). The
// onset lies no more than 20 ms before the first point where a lead
// clearly leaves its level (slope thresholds alone can follow activity in
// the PR segment back to the P wave).
// T end: in every lead with a T wave of some size whose single beats agree
// with it, the trapezium-area method of Zhang et al. (2006) from the
// steepest point after the T peak; the second latest of those ends,
// averaged with the same method's end on the leads' RMS.
// Corners are placed to a fraction of a sample from the partial steps
// across them (at 250 Hz a sample is 4 ms).
// P: searched between the end of the previous T wave and the QRS onset, as
// the peak of the leads' joint deviation from the line joining the window's
// start level to the PR level; onset and offset where the summed slope
// falls to a part of its height on each side. A P wave is reported only
// when it is large enough and the individual beats agree with the median
// over it (correlation); otherwise "no P".
// Every boundary is found on lightly smoothed medians first and then looked
// for again on the medians as they are, close by, so a wave that starts or
// ends with a corner is placed on the corner.

#include <cstddef>
#include <span>
#include <vector>

#include "engine/median_beats.h"

namespace ecg::engine {

struct Delineation {
  bool qrs_found = false;
  double qrs_on = 0, qrs_off = 0;  // fractional samples of the median beat
  bool t_found = false;
  double t_peak = 0, t_off = 0;
  bool p_present = false;
  double p_on = 0, p_peak = 0, p_off = 0;
  // What the P decision was based on, for the evaluation program.
  float p_amplitude = 0;    // µV, largest lead
  float p_agreement = 0;    // mean correlation of the beats with the median P
  float t_amplitude = 0;    // µV, largest lead
};

struct DelineationInput {
  const MedianBeats* medians = nullptr;
  std::vector<size_t> leads;   // analysed leads (indexes into the medians)
  // The leads whose own QRS onset and end may widen the complex: all usable
  // leads, the limb leads calculated from I and II too (empty: `leads`).
  std::vector<size_t> boundary_leads;
  double rr_samples = 0;       // median interval between beats
  // For the P agreement check: the baseline-corrected leads and the
  // fiducials of the beats that made the medians.
  const std::vector<std::vector<float>>* corrected = nullptr;
  std::span<const size_t> fiducials;
};

Delineation Delineate(const DelineationInput& input);

// Share of the complex's largest summed slope under which the QRS is over.
inline constexpr double kQrsSlopeFraction = 0.04;

// The QRS of one set of medians alone (as they are, and lightly smoothed),
// also for the first pass that places the baseline knots. Fractional
// samples; false when none is found.
bool FindQrs(const std::vector<std::vector<float>>& raw, const std::vector<std::vector<float>>& smooth,
             std::span<const size_t> leads, size_t fiducial, double rate, double& onset, double& offset,
             double slope_fraction = kQrsSlopeFraction);

}  // namespace ecg::engine
