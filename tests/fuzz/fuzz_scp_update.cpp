// Arbitrary bytes as a stored record, then the in-place updates: a comment
// change and a CRC repair. Whatever the input, an update either fails and
// leaves the file as it was, or succeeds with a record that loads again.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/byte_stream.h"
#include "scp/writer.h"

namespace {

std::string ScratchFile() {
  static const std::string path = [] {
    const char* shm = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(shm) + "/ecg-fuzz-update-" + std::to_string(getpid()) + ".scp";
  }();
  return path;
}

std::vector<uint8_t> Contents(const std::string& path) {
  std::vector<uint8_t> bytes;
  ecg::platform::ReadWholeFile(path, bytes);
  return bytes;
}

// A comment update copies other sections as they were, CRCs included, so
// only a CRC repair promises a record whose every CRC checks.
void CheckUpdate(bool ok, const std::string& path, const std::vector<uint8_t>& before,
                 bool crcs_must_check) {
  if (!ok) {
    if (Contents(path) != before) std::abort();  // a failed update changed the file
    return;
  }
  CReader reader;
  int16_t loaded = 0;
  bool valid = false;
  if (!reader.Load(path, loaded, static_cast<int16_t>(kAllSectionBits))) std::abort();
  if (!CReader::ReadCRCCheck(path, valid)) std::abort();
  if (crcs_must_check && !valid) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = ScratchFile();
  std::vector<uint8_t> input(data, data + size);
  if (!ecg::platform::ReplaceFileContents(path, input, false)) return 0;

  CWriter writer;
  writer.SetDurableWrites(false);
  writer.SelectWriter(u"fuzz", u"1");
  std::vector<uint8_t> before = Contents(path);
  CheckUpdate(writer.UpdateCommentText(path.c_str(), u"comment"), path, before, false);
  before = Contents(path);
  CheckUpdate(writer.UpdateCRC(path.c_str()), path, before, true);
  ::unlink(path.c_str());
  return 0;
}
