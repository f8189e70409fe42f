#pragma once
// One annotated record through the engine and against its reference: the
// comparison engine/eval prints and the reference-data tests check.

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/analyse_record.h"
#include "engine/eval/ludb_reference.h"
#include "engine/eval/statistics.h"

namespace ecg::engine::eval {

constexpr double kMatchWindowSeconds = 0.075;

// Global values, in the order printed.
enum GlobalValue { kPDuration, kPrInterval, kQrsDuration, kQtInterval, kRrInterval, kGlobalValues };
// Fiducials of the median beat, in the order printed.
enum Fiducial { kPOnset, kPOffset, kQrsOnset, kQrsOffset, kTOffset, kFiducials };

struct RecordEvaluation {
  std::string name;
  EngineStatus status;
  double run_ms = 0;       // read, analyse, write
  double analyse_ms = 0;   // the analysis alone, run again
  // As written into Section 7 and as the reference states them, ms.
  std::optional<double> engine[kGlobalValues], reference[kGlobalValues];
  bool engine_p = false, reference_p = false;
  bool reference_qt_left_out = false;  // the reference's QT is not a beat's
  // Detected complexes against the annotated QRS peaks.
  size_t reference_beats = 0, detected_in_span = 0, tp = 0, fn = 0, fp = 0;
  // The median beat's fiducials placed on every matched dominant beat,
  // minus the reference's global fiducial of that beat, ms.
  std::vector<double> beat_differences[kFiducials];
  // The reference fiducials in median-beat samples (median over the
  // matched dominant beats), and the engine's minus them, ms.
  std::optional<double> reference_in_median[kFiducials];
  std::optional<double> median_difference[kFiducials];
};

// Copies the record to `work`, analyses the copy and compares what it says
// with the reference file. False (with the reason) when the reference
// cannot be read or the copy cannot be made; an engine refusal is a result,
// in `out.status`.
bool EvaluateRecord(const std::string& record, const std::string& reference_file, const std::string& work,
                    RecordEvaluation& out, RecordAnalysis& run, std::string& error);

struct EvaluationTotals {
  size_t records = 0;
  std::map<int, size_t> codes;
  Differences global[kGlobalValues];
  Differences fiducial[kFiducials];
  size_t qt_left_out = 0;  // records whose reference QT is at least their RR
  size_t p_both = 0, p_engine_only = 0, p_reference_only = 0, p_neither = 0;
  size_t reference_beats = 0, detected_in_span = 0, tp = 0, fn = 0, fp = 0;
  std::vector<double> run_ms, analyse_ms;

  void Add(const RecordEvaluation& record);
  double Sensitivity() const;
  double PositivePredictivity() const;
};

}  // namespace ecg::engine::eval
