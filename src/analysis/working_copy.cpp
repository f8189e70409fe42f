#include "analysis/working_copy.h"

#include <unistd.h>

#include <cstdint>
#include <vector>

#include "platform/byte_stream.h"
#include "platform/folders.h"
#include "platform/last_error.h"
#include "platform/temp_file.h"

using namespace ecg::platform;

namespace ecg::analysis {

bool WorkingCopy::Create() {
  Remove();
  const std::string folder = DocumentsFolder();
  // The documents folder always exists where the component came from; here
  // a fresh account may lack it.
  MakeFolders(folder);
  return MakeTempFile(folder, kPrefix, path_);
}

bool WorkingCopy::CopyFrom(const std::string& record) {
  if (path_.empty()) return Fail(kErrorInvalidAccess);
  auto in = PosixFile::Open(record, FileMode::kRead);
  if (!in) return false;
  auto out = PosixFile::Open(path_, FileMode::kCreateReadWrite);
  if (!out) return false;
  std::vector<uint8_t> buffer(1 << 16);
  for (;;) {
    size_t got = 0;
    if (!in->Read(buffer.data(), buffer.size(), &got)) return false;
    if (got == 0) break;
    if (!out->Write(buffer.data(), got)) return false;
  }
  return true;
}

void WorkingCopy::Remove() {
  if (path_.empty()) return;
  LastErrorKeeper keep;
  ::unlink(SideFile().c_str());
  ::unlink(path_.c_str());
  path_.clear();
}

}  // namespace ecg::analysis
