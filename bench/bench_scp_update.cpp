// In-place update throughput: a comment change on a 12-lead, 10 s, 500 Hz
// record with median beats and measurement sections, with and without the
// syncs that make the replacement durable.

#include <benchmark/benchmark.h>

#include "scp/writer.h"
#include "support/record_builder.h"
#include "support/test_files.h"

namespace {

using ecg::test::Bytes;

Bytes SampleSection(size_t leads, uint32_t samples) {
  Bytes b;
  ecg::test::PutU16(b, 1000);
  ecg::test::PutU16(b, 2000);
  b.push_back(0);
  b.push_back(0);
  for (size_t l = 0; l < leads; ++l) ecg::test::PutU16(b, static_cast<uint16_t>(samples * 2));
  for (size_t l = 0; l < leads; ++l) {
    for (uint32_t i = 0; i < samples; ++i) {
      ecg::test::PutU16(b, static_cast<uint16_t>((i * 7 + l * 13) % 2000));
    }
  }
  return b;
}

Bytes TwelveLeadRecord() {
  Bytes leads = {12, static_cast<uint8_t>(0x04 | (12 << 3))};
  const uint8_t codes[] = {1, 2, 61, 62, 63, 64, 3, 4, 5, 6, 7, 8};
  for (uint8_t code : codes) {
    ecg::test::PutU32(leads, 1);
    ecg::test::PutU32(leads, 5000);
    leads.push_back(code);
  }
  ecg::test::RecordBuilder b;
  b.AddSection1(ecg::test::TypicalSection1());
  b.AddSection(3, leads);
  b.AddSection(5, SampleSection(12, 600));
  b.AddSection(6, SampleSection(12, 5000));
  b.AddSection(7, Bytes(40, 0));
  b.AddSection(9, Bytes(30, '0'));
  b.AddSection(10, Bytes(12 * 70 + 4, 0));
  return b.Build();
}

void BM_UpdateCommentText(benchmark::State& state) {
  const bool durable = state.range(0) != 0;
  ecg::test::TempFolder folder;
  const Bytes record = TwelveLeadRecord();
  const std::string path = folder.Write("twelve.scp", record);
  CWriter writer;
  writer.SelectWriter(u"Tidemark ECG", u"bench");
  writer.SetDurableWrites(durable);
  int n = 0;
  for (auto _ : state) {
    if (!writer.UpdateCommentText(path.c_str(), n++ % 2 ? u"odd" : u"even")) {
      state.SkipWithError("update failed");
    }
  }
  state.counters["updates/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["record_kB"] = static_cast<double>(record.size()) / 1024.0;
  state.SetLabel(durable ? "with fsync" : "without fsync");
}
BENCHMARK(BM_UpdateCommentText)->Arg(1)->Arg(0)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
