#include "engine_test_support.h"

#include "scp/reader.h"

namespace ecg::test::engine {

EngineRun RunEngine(const TempFolder& folder, const Bytes& record, const std::string& name, int32_t mode) {
  EngineRun run;
  run.path = folder.Write(name, record);
  run.status = ecg::engine::AnalyseRecordFile(run.path.c_str(), mode, &run.analysis);
  if (run.status.ok()) {
    CAnalysisInfo info;
    run.global_read = CReader::ReadAnalysisInfo(run.path.c_str(), &info);
    run.global = info.m_global;
  }
  return run;
}

}  // namespace ecg::test::engine
