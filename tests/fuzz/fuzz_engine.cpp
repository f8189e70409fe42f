// The analysis engine on arbitrary input, two ways (the first byte says
// which):
//  - even: the bytes are a record file handed to the entry point. Whatever
//    they hold, the engine either refuses and leaves the file as it was, or
//    succeeds with a record that loads again with every analysis section;
//  - odd: the bytes, repeated to fill five seconds or more, are the samples
//    of up to twelve leads at one of the supported rates, analysed in
//    memory, and the result sections are built from what it finds. Nothing
//    may crash, hang or read outside its buffers whatever the signal.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/analyse_record.h"
#include "engine/analysis.h"
#include "engine/result_sections.h"
#include "platform/byte_stream.h"
#include "scp/reader.h"

namespace {

using namespace ecg::engine;

std::string ScratchFile() {
  static const std::string path = [] {
    const char* shm = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(shm) + "/ecg-fuzz-engine-" + std::to_string(getpid()) + ".scp";
  }();
  return path;
}

void RecordFile(const uint8_t* data, size_t size) {
  const std::string path = ScratchFile();
  const std::vector<uint8_t> before(data, data + size);
  if (!ecg::platform::ReplaceFileContents(path, before, false)) return;
  const EngineStatus status = AnalyseRecordFile(path.c_str(), 1);
  std::vector<uint8_t> after;
  ecg::platform::ReadWholeFile(path, after);
  if (!status.ok()) {
    if (after != before) std::abort();  // a refusal changed the file
    return;
  }
  CReader reader;
  int16_t loaded = 0;
  constexpr uint16_t kWritten = kSection1Bit | kSection3Bit | kSection5Bit | kSection6Bit | kSection7Bit | kSection10Bit;
  if (!reader.Load(path.c_str(), loaded, static_cast<int16_t>(kAllSectionBits))) std::abort();
  if ((static_cast<uint16_t>(loaded) & kWritten) != kWritten) std::abort();
  bool valid = false;
  if (!CReader::ReadCRCCheck(path.c_str(), valid) || !valid) std::abort();
}

void Samples(const uint8_t* data, size_t size) {
  if (size < 4) return;
  static constexpr double kRates[] = {250, 360, 500, 1000};
  EcgSignal signal;
  signal.rate = kRates[data[1] % 4];
  const size_t leads = 1 + data[2] % 12;
  const double seconds = 5.0 + (data[3] % 16);
  signal.samples = static_cast<size_t>(seconds * signal.rate);
  const uint8_t* bytes = data + 4;
  const size_t count = size - 4;
  if (count < 2) return;
  const uint8_t order[12] = {1, 2, 3, 4, 5, 6, 7, 8, 61, 62, 63, 64};
  size_t at = 0;
  for (size_t l = 0; l < leads; ++l) {
    Lead lead;
    lead.code = order[l];
    lead.uv.resize(signal.samples);
    for (size_t i = 0; i < signal.samples; ++i) {
      const int16_t v = static_cast<int16_t>(bytes[at % count] | (bytes[(at + 1) % count] << 8));
      at += 2;
      lead.uv[i] = static_cast<float>(v) * 0.5f;
    }
    const int s = SlotOfCode(lead.code);
    signal.slot[s] = static_cast<int>(signal.leads.size());
    signal.leads.push_back(std::move(lead));
  }
  AnalysisResult result;
  if (!Analyse(signal, result).ok()) return;
  if (result.leads.size() != signal.leads.size() || result.medians.leads.size() != signal.leads.size()) std::abort();
  (void)Section4Bytes(signal, result);
  (void)Section7Bytes(result);
  (void)Section10Bytes(result);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  if (data[0] % 2 == 0) {
    RecordFile(data + 1, size - 1);
  } else {
    Samples(data, size);
  }
  return 0;
}
