#pragma once
// What the engine's entry point returns, and why.

#include <cstdint>
#include <string>

namespace ecg::engine {

enum EngineResult : int16_t {
  kResultSuccess = 0,
  kResultBadArgument = 1,    // null or empty path, mode other than 1 or 2
  kResultUnreadable = 2,     // no readable record, or it lacks Sections 1, 3 or 6
  kResultWriteFailed = 3,    // the results could not be written; the file is as it was
  kResultInternal = 4,       // out of memory or another unexpected failure
  kResultSignalQuality = 6,  // the signal does not allow an analysis
  kResultUnsupported = 7,    // rate, duration or leads outside what the engine handles
};

// A result with the reason behind it, in English, for logs and the
// evaluation program.
struct EngineStatus {
  int16_t code = kResultSuccess;
  std::string reason;

  bool ok() const { return code == kResultSuccess; }
  static EngineStatus Ok() { return {}; }
  static EngineStatus Error(int16_t code, std::string reason) { return {code, std::move(reason)}; }
};

}  // namespace ecg::engine
