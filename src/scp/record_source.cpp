#include "scp/record_source.h"

#include "platform/last_error.h"

FileHandle RecordSource::OpenRead() const {
  if (is_null_) {
    ecg::platform::SetLastError(ecg::platform::kErrorInvalidParameter);
    return nullptr;
  }
  if (is_memory_) return ecg::platform::MemoryStream::View(bytes_);
  return ecg::platform::PosixFile::Open(path_, ecg::platform::FileMode::kRead);
}
