// Arbitrary bytes as a handheld recorder file: every event it yields must be
// consistent, and the records made from them must load with valid CRCs.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_import_checks.h"
#include "import/pellux_reader.h"

namespace {

std::string ScratchFile() {
  static const std::string path = [] {
    const char* shm = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(shm) + "/ecg-fuzz-handheld-" + std::to_string(getpid()) + ".scp";
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CPelluxReader reader;
  int16_t events = -1;
  if (!reader.ReadMemory(data, size, &events)) {
    if (reader.GetEventCount() != 0 || reader.FailureReason().empty()) std::abort();
    return 0;
  }
  if (events < 1 || events > 255 || events != reader.GetEventCount()) std::abort();
  ecg::fuzz::EventRecordProbe probe;
  const std::string path = ScratchFile();
  for (int16_t n = 0; n < events; ++n) {
    SECGInfo info;
    const SLeadObj* leads = reader.GetEvent(n, &info);
    if (leads == nullptr) std::abort();
    ecg::fuzz::CheckEvent(info, *leads);
    if (info.m_leadCount < 1 || info.m_leadCount > 12) std::abort();
    probe.Build(info, *leads, n < 4 ? path.c_str() : nullptr);
  }
  ::unlink(path.c_str());
  return 0;
}
