// Read, analyse, write.

#include "engine/analyse_record.h"

#include <algorithm>
#include <new>

#include "engine/findings_text.h"
#include "engine/interpretation.h"
#include "engine/result_writer.h"
#include "engine/statement_codes.h"

namespace ecg::engine {

EngineStatus AnalyseRecordFile(const char* path, int32_t mode, RecordAnalysis* details) {
  try {
    if (path == nullptr || *path == '\0') return EngineStatus::Error(kResultBadArgument, "no record named");
    if (mode != 1 && mode != 2) {
      return EngineStatus::Error(kResultBadArgument, "mode " + std::to_string(mode) + " is not 1 or 2");
    }
    RecordAnalysis local;
    RecordAnalysis& run = details != nullptr ? *details : local;
    CAnalysisResultWriter writer;
    EngineStatus status = writer.ReadRecord(path, run.signal);
    if (!status.ok()) return status;
    status = Analyse(run.signal, run.result);
    if (!status.ok()) return status;
    InterpretationOptions options;
    options.set = StatementSetOfMode(mode);
    options.patient = writer.Patient();
    run.result.interpretation = Interpret(run.signal, run.result, options);
    const std::vector<uint16_t>& said = run.result.interpretation.statements;
    for (uint16_t code : {kAtrialFibrillation, kAtrialFlutter}) {
      if (std::find(said.begin(), said.end(), code) != said.end()) ForgetPWave(run.result);
    }
    run.result.findings = FindingsText(run.result);
    return writer.WriteResults(path, run.signal, run.result);
  } catch (const std::bad_alloc&) {
    return EngineStatus::Error(kResultInternal, "out of memory");
  } catch (...) {
    return EngineStatus::Error(kResultInternal, "unexpected failure");
  }
}

}  // namespace ecg::engine
