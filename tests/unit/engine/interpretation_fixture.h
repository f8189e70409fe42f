#pragma once
// A record's analysis results set by hand, for testing the interpretation
// criteria at their edges: twelve leads with Section 10 values of a normal
// adult ECG, regular sinus beats at 75 bpm, global intervals and axes that
// meet no criterion. Each test moves one value across one limit.

#include <cstdint>
#include <vector>

#include "engine/analysis.h"
#include "engine/ecg_signal.h"
#include "engine/interpretation.h"

namespace ecg::test::engine {

class InterpretationFixture {
 public:
  InterpretationFixture();

  // The Section 10 block of a standard lead.
  SLeadMeasurement& Lead(int slot);
  ecg::engine::GlobalValues& Global() { return result_.global; }
  ecg::engine::Delineation& Delineation() { return result_.delineation; }
  ecg::engine::InterpretationOptions& Options() { return options_; }

  // Intervals set through the global fiducials (ms).
  void SetPr(int pr_ms);
  void SetQrs(int qrs_ms);   // global, and every lead's own duration
  void SetQt(int qt_ms);
  void SetRate(int bpm);     // regular beats at this rate
  void NoPWaves();
  // Beat-to-beat intervals (ms) of consecutive dominant beats.
  void SetIntervals(const std::vector<double>& ms);
  void MarkBeat(size_t index, ecg::engine::BeatType type);
  // Moves a beat earlier by `ms`.
  void Advance(size_t index, double ms);

  ecg::engine::Interpretation Run() const;
  bool Says(uint16_t code) const { return Run().Has(code); }

 private:
  ecg::engine::EcgSignal signal_;
  ecg::engine::AnalysisResult result_;
  ecg::engine::InterpretationOptions options_;
};

}  // namespace ecg::test::engine
