#include "analysis/analysis_engine.h"

#include "platform/last_error.h"

using namespace ecg::platform;

namespace ecg::analysis {

bool AnalysisEngine::Load() {
  Release();
  path_.clear();
  error_.clear();
  if (!library_.Load(kLibrary)) {
    error_ = library_.error_text();
    return Fail(kErrorFileNotFound);
  }
  path_ = library_.path();
  entry_ = library_.Function<Entry>(kEntry);
  if (entry_ == nullptr) {
    error_ = path_ + ": no entry " + kEntry;
    Release();
    return Fail(kErrorFileNotFound);
  }
  return true;
}

int16_t AnalysisEngine::Run(const std::string& path, int32_t mode) {
  const int16_t result = entry_(path.c_str(), mode);
  Release();
  return result;
}

void AnalysisEngine::Release() {
  entry_ = nullptr;
  library_.Unload();
}

}  // namespace ecg::analysis
