// Acquisition costs: the CPU time the serial receive thread and the cable
// thread spend per second of streamed ECG (against tools/cable-sim on a
// pseudo-terminal at the real pace), frames lost while another process
// loads both cores, and the throughput of the ring and the frame assembly.
//
//   build/<dir>/bench/bench_acquisition --benchmark_counters_tabular=true

#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "acquisition/cable_frame.h"
#include "acquisition/cable_thread.h"
#include "acquisition/circular_buffer.h"
#include "acquisition/frame_assembler.h"
#include "synthetic_ecg.h"

extern char** environ;

using namespace ecg::acquisition;
using namespace std::chrono_literals;

namespace {

double ProcessCpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

struct Streamer {
  CCableSettings cable;
  CECGSettings ecg;
  CCircularBuffer ring{false, true};
  std::timed_mutex lock;
  std::vector<Frame> frames;
  std::atomic<size_t> count{0};

  static void OnNotify(void* owner, int event) {
    auto* s = static_cast<Streamer*>(owner);
    if (event != CCableThread::kNotifyUpdate) return;
    std::lock_guard<std::timed_mutex> l(s->lock);
    Frame f;
    while (s->ring.Take(f.data(), 13)) s->frames.push_back(f);
    s->count = s->frames.size();
  }
  static void OnStatus(void*, int, int) {}
};

pid_t Spawn(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", 1 /* O_WRONLY */, 0);
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

void Stop(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
}

// Frames of the simulator's clean sequence missing between the first and
// the last received frame.
size_t LostFrames(const std::vector<Frame>& got) {
  if (got.empty()) return 0;
  ecg::cablesim::EcgModel model;
  model.seed = 11;
  ecg::cablesim::SyntheticEcg ecg(model);
  std::vector<Frame> expected;
  for (size_t i = 0; i < got.size() + 3000; ++i) expected.push_back(PackFrame(ecg.NextSamples()));
  size_t e = std::find(expected.begin(), expected.end(), got.front()) - expected.begin();
  size_t lost = 0;
  for (const Frame& f : got) {
    while (e < expected.size() && expected[e] != f) {
      ++e;
      ++lost;
    }
    if (e == expected.size()) return SIZE_MAX;
    ++e;
  }
  return lost;
}

// Streams `seconds` of ECG at the real pace; with `load`, two busy processes
// run meanwhile.
void StreamFromSimulator(benchmark::State& state, double seconds, bool load) {
  char dir_template[] = "/tmp/ecg-bench-com-XXXXXX";
  const char* dir = mkdtemp(dir_template);
  if (dir == nullptr) {
    state.SkipWithError("no temporary folder");
    return;
  }
  setenv("ECG_COM_DIR", dir, 1);
  const pid_t sim = Spawn({ECG_CABLE_SIM, "--port", "3", "--seed", "11"});
  const std::string link = std::string(dir) + "/COM3";
  for (int i = 0; i < 500; ++i) {
    struct stat st {};
    if (lstat(link.c_str(), &st) == 0) break;
    std::this_thread::sleep_for(10ms);
  }
  std::vector<pid_t> loaders;
  for (auto _ : state) {
    Streamer s;
    s.ring.Allocate(5000 * 13);
    s.cable.SetPort(3);
    s.cable.SetUpdateRate(25);
    CCableThread thread;
    thread.SetOwner(&s);
    thread.SetSettings(&s.cable, &s.ecg);
    thread.SetCallbacks(&Streamer::OnNotify, &Streamer::OnStatus, nullptr, nullptr);
    thread.SetDataBuffer(&s.ring, &s.lock);
    thread.Allocate(60000, 10);
    thread.CreateThread();
    // Past the handshake: measure from the first batch on.
    for (int i = 0; i < 1000 && s.count.load() == 0; ++i) std::this_thread::sleep_for(10ms);
    if (load) {
      for (int i = 0; i < 2; ++i) loaders.push_back(Spawn({"/bin/sh", "-c", "while :; do :; done"}));
    }
    const size_t first = s.count.load();
    const double cpu0 = ProcessCpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    const double cpu = ProcessCpuSeconds() - cpu0;
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const size_t streamed = s.count.load() - first;
    for (pid_t p : loaders) Stop(p);
    loaders.clear();
    thread.StopMe();
    thread.WaitForExitEvent(10s);
    thread.Join();
    const double ecg_seconds = streamed / 500.0;
    state.counters["ecg_s"] = ecg_seconds;
    state.counters["cpu_ms_per_ecg_s"] = ecg_seconds > 0 ? cpu * 1000.0 / ecg_seconds : 0;
    state.counters["core_percent"] = wall > 0 ? cpu / wall * 100.0 : 0;
    state.counters["frames"] = static_cast<double>(s.frames.size());
    state.counters["frames_lost"] = static_cast<double>(LostFrames(s.frames));
  }
  Stop(sim);
  unlink(link.c_str());
  rmdir(dir);
  unsetenv("ECG_COM_DIR");
}

void BM_SerialStreamCpu(benchmark::State& state) { StreamFromSimulator(state, 10.0, false); }
BENCHMARK(BM_SerialStreamCpu)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

void BM_SerialStreamUnderLoad(benchmark::State& state) { StreamFromSimulator(state, 10.0, true); }
BENCHMARK(BM_SerialStreamUnderLoad)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

// One second of cable bytes through the frame assembly.
void BM_FrameAssembly(benchmark::State& state) {
  ecg::cablesim::EcgModel model;
  ecg::cablesim::SyntheticEcg ecg(model);
  std::vector<uint8_t> bytes;
  for (int i = 0; i < 500; ++i) {
    const Frame f = PackFrame(ecg.NextSamples());
    bytes.insert(bytes.end(), f.begin(), f.end());
  }
  bytes.insert(bytes.begin() + 1300, 3, 0x5A);  // one resynchronisation
  for (auto _ : state) {
    size_t n = AssembleBytes(bytes.data(), bytes.size(), [](const uint8_t*) {});
    benchmark::DoNotOptimize(n);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_FrameAssembly);

// The receive ring's path: 50-byte chunks in, frames out, with locking.
void BM_LockingRingChunksToFrames(benchmark::State& state) {
  CCircularBuffer ring(true, false);
  ring.Allocate(60000);
  uint8_t chunk[50] = {};
  uint8_t frame[13];
  for (auto _ : state) {
    ring.Write(chunk, 50);
    while (ring.Take(frame, 13)) {
    }
    ring.FlushAll();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * 50));
}
BENCHMARK(BM_LockingRingChunksToFrames);

}  // namespace

BENCHMARK_MAIN();
