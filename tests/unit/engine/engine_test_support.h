#pragma once
// Running the engine on test records and reading back what it wrote.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/analyse_record.h"
#include "scp/measurement_model.h"
#include "support/record_builder.h"
#include "support/test_files.h"

namespace ecg::test::engine {

struct EngineRun {
  ecg::engine::EngineStatus status;
  ecg::engine::RecordAnalysis analysis;
  std::string path;
  SGlobalMeasurements global;   // Section 7 as written
  bool global_read = false;
};

// The content (after the 16-byte header) of a section of a whole record,
// found through Section 0; empty when the record does not list it.
std::optional<Bytes> SectionContent(const Bytes& record, uint16_t id);

// Writes the bytes to a file in the folder, analyses it and reads Section 7
// back.
EngineRun RunEngine(const TempFolder& folder, const Bytes& record, const std::string& name = "record.scp",
                    int32_t mode = 1);

}  // namespace ecg::test::engine
