#include "platform/last_error.h"

#include <cerrno>

namespace ecg::platform {

namespace {
thread_local uint32_t t_last_error = kErrorSuccess;
}

void SetLastError(uint32_t code) noexcept { t_last_error = code; }
uint32_t GetLastError() noexcept { return t_last_error; }

std::string_view ErrorMeaning(uint32_t code) noexcept {
  switch (code) {
    case kErrorSuccess: return "no error";
    case kErrorBadFormat: return "bad format";
    case kErrorInvalidAccess: return "file open or not open against the operation's needs";
    case kErrorInvalidData: return "invalid data";
    case kErrorOutOfMemory: return "out of memory";
    case kErrorOutOfStructures: return "a table would pass its limit";
    case kErrorInvalidParameter: return "invalid parameter";
    case kErrorNoData: return "data not present";
    case kErrorFileNotFound: return "file not found";
    case kErrorPathNotFound: return "path not found";
    case kErrorAccessDenied: return "access denied";
    case kErrorDiskFull: return "disk full";
    case kErrorGeneralFailure: return "input/output failure";
    default: return "system error";
  }
}

uint32_t ErrorFromErrno(int err) noexcept {
  switch (err) {
    case 0: return kErrorSuccess;
    case ENOENT: return kErrorFileNotFound;
    case ENOTDIR: case ENAMETOOLONG: case ELOOP: return kErrorPathNotFound;
    case EACCES: case EPERM: case EISDIR: case EROFS: return kErrorAccessDenied;
    case ENOSPC: case EDQUOT: case EFBIG: return kErrorDiskFull;
    case ENOMEM: return kErrorOutOfMemory;
    case EINVAL: return kErrorInvalidParameter;
    default: return kErrorGeneralFailure;
  }
}

}  // namespace ecg::platform
