#pragma once
// The outside analysis library: "QORSYS32.dll" (libQORSYS32.so here) with
// the entry ScpAnalysis32(path, mode) that analyses the record file at
// `path` in place and returns a signed 16-bit result. It is loaded for one
// run and released right after the call, so nothing of it stays resident.

#include <cstdint>
#include <string>

#include "platform/shared_library.h"

namespace ecg::analysis {

class AnalysisEngine {
 public:
  static constexpr const char* kLibrary = "QORSYS32.dll";
  static constexpr const char* kEntry = "ScpAnalysis32";

  // Loads the library and finds the entry. False with kErrorFileNotFound
  // when either is missing; the library is then released again.
  bool Load();
  // Calls the entry once and releases the library. Needs a successful Load.
  int16_t Run(const std::string& path, int32_t mode);
  void Release();

  // The file the library came from, and why the last Load failed.
  const std::string& path() const { return path_; }
  const std::string& error_text() const { return error_; }

 private:
  using Entry = int16_t (*)(const char*, int32_t);
  platform::SharedLibrary library_;
  Entry entry_ = nullptr;
  std::string path_;
  std::string error_;
};

}  // namespace ecg::analysis
