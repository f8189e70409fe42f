#pragma once
// Record files for the report tests, written to a test folder.

#include <string>

#include "support/section_builders.h"
#include "support/test_files.h"

namespace ecg::test {

inline std::string WriteRecord(const TempFolder& folder, const std::string& name,
                               const EcgRecordSpec& spec = {}) {
  return folder.Write(name, SyntheticEcgRecord(spec));
}

}  // namespace ecg::test
