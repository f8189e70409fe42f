#pragma once
// One run of the engine on a record file: read, analyse, write back.

#include <cstdint>

#include "engine/analysis.h"
#include "engine/ecg_signal.h"
#include "engine/result_codes.h"

namespace ecg::engine {

// What a run saw and found, for the evaluation program and the tests.
struct RecordAnalysis {
  EcgSignal signal;
  AnalysisResult result;
};

// `mode` 1 (standard statement set) or 2 (extended statement set): the
// same measurements, interpreted with the statements of that set. The file is changed
// only when the result is 0. Never throws.
EngineStatus AnalyseRecordFile(const char* path, int32_t mode, RecordAnalysis* details = nullptr);

}  // namespace ecg::engine
