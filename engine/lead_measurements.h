#pragma once
// Measurements of one lead's median beat within the global fiducials: the
// Section 10 block.
//
// Amplitudes are measured from the lead's level just before the QRS onset
// (the PR segment), P amplitudes from the level just before the P onset.
// A QRS wave is a stretch between baseline crossings whose peak reaches
// 20 µV (smaller stretches are left out and their neighbours of the same
// sign joined); the first negative wave before any positive one is Q, then
// R, S, R' and S' in turn; a complex with no positive wave is a QS and is
// reported as Q. Durations run between baseline crossings (interpolated).

#include <cstdint>
#include <vector>

#include "engine/delineation.h"
#include "scp/measurement_model.h"

namespace ecg::engine {

// Missing-value codes of the SCP-ECG measurement sections.
constexpr int16_t kNotComputed = 29999;
constexpr int16_t kLeadRejected = 29998;
constexpr int16_t kWaveAbsent = 19999;

// Morphology codes of P and T waves.
enum : int16_t {
  kMorphologyUnknown = 0,
  kMorphologyPositive = 1,
  kMorphologyNegative = 2,
  kMorphologyPositiveNegative = 3,
  kMorphologyNegativePositive = 4,
  kMorphologyPosNegPos = 5,
  kMorphologyNegPosNeg = 6,
};

struct LeadMeasureInput {
  uint8_t code = 0;
  const std::vector<float>* median = nullptr;  // µV
  double rate = 0;
  const Delineation* delineation = nullptr;
  bool usable = true;
  uint16_t quality = 0;
};

SLeadMeasurement MeasureLead(const LeadMeasureInput& input);

// The P-wave fields of a lead's block as they stand without a P wave.
void MarkNoPWave(SLeadMeasurement& m);

// The sign pattern of the waves between two samples (fractional), waves
// smaller than `threshold` µV left out; a morphology code.
int16_t MorphologyCode(const std::vector<float>& relative, double from, double to, float threshold);

}  // namespace ecg::engine
