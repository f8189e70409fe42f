#include "engine_test_support.h"

#include "scp/little_endian.h"
#include "scp/reader.h"

namespace ecg::test::engine {

std::optional<Bytes> SectionContent(const Bytes& record, uint16_t id) {
  using ecg::scp::LoadU16;
  using ecg::scp::LoadU32;
  if (record.size() < 6 + 16) return std::nullopt;
  const uint32_t length0 = LoadU32(record.data() + 6 + 4);
  if (length0 < 16 || 6 + uint64_t{length0} > record.size()) return std::nullopt;
  for (uint32_t e = 0; e < (length0 - 16) / 10; ++e) {
    const uint8_t* entry = record.data() + 6 + 16 + 10 * e;
    if (LoadU16(entry) != id) continue;
    const uint32_t length = LoadU32(entry + 2), position = LoadU32(entry + 6);
    if (length < 16 || position == 0 || uint64_t{position} - 1 + length > record.size()) return std::nullopt;
    return Bytes(record.begin() + position - 1 + 16, record.begin() + position - 1 + length);
  }
  return std::nullopt;
}

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
