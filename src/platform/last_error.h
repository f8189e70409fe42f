#pragma once
// The calling thread's last-error code. The record layer reports success as a
// bool and the reason through this code; the numbers are those the record
// files' original platform used, so host code that tests them keeps working.

#include <cstdint>
#include <string_view>

namespace ecg::platform {

enum : uint32_t {
  kErrorSuccess = 0,
  kErrorFileNotFound = 2,
  kErrorPathNotFound = 3,
  kErrorAccessDenied = 5,
  kErrorBadFormat = 11,          // data has the wrong format
  kErrorInvalidAccess = 12,      // a file is open, or not open, against what the call needs
  kErrorInvalidData = 13,        // the bytes contradict themselves
  kErrorOutOfMemory = 14,        // an allocation failed
  kErrorOutOfStructures = 84,    // a table would pass its limit
  kErrorInvalidParameter = 87,   // a missing or out-of-range argument
  kErrorNoData = 232,            // the data asked for is not present / not loaded
  kErrorDiskFull = 112,
  kErrorGeneralFailure = 31,     // any other operating-system failure
};

void SetLastError(uint32_t code) noexcept;
uint32_t GetLastError() noexcept;

// A short English meaning of a code, e.g. "invalid data".
std::string_view ErrorMeaning(uint32_t code) noexcept;

// Restores the last-error code when it leaves scope: for clean-up paths that
// must not disturb the reason a caller is about to read.
class LastErrorKeeper {
 public:
  LastErrorKeeper() noexcept : code_(GetLastError()) {}
  ~LastErrorKeeper() { SetLastError(code_); }
  LastErrorKeeper(const LastErrorKeeper&) = delete;
  LastErrorKeeper& operator=(const LastErrorKeeper&) = delete;

 private:
  uint32_t code_;
};

// Maps an errno value to the nearest of the codes above.
uint32_t ErrorFromErrno(int err) noexcept;

// Sets the code and returns false, for "fail with code" one-liners.
inline bool Fail(uint32_t code) noexcept {
  SetLastError(code);
  return false;
}

}  // namespace ecg::platform
