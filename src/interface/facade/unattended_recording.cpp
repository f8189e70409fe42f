#include "interface/facade/unattended_recording.h"

#include <atomic>
#include <mutex>
#include <thread>

#include "acquisition/cable_settings.h"
#include "acquisition/cable_thread.h"
#include "acquisition/circular_buffer.h"
#include "acquisition/ecg_file.h"
#include "acquisition/ecg_settings.h"
#include "dsp/filter_settings.h"
#include "platform/clock.h"

namespace ecg::facade {
namespace {

constexpr uint32_t kFrameBytes = 13;
constexpr uint32_t kFramesPerSecond = 500;

struct Session {
  CCircularBuffer ring{false, true};  // locking off, overwrite on
  std::timed_mutex lock;
  std::atomic<bool> exited{false};
  std::atomic<int> result{0};
};

void OnNotify(void* owner, int event) {
  auto* session = static_cast<Session*>(owner);
  if (event == CCableThread::kNotifyReady) {
    // A new connection starts an empty recording, as the window's ready handler does.
    std::lock_guard<std::timed_mutex> guard(session->lock);
    session->ring.SetUtilise(session->ring.AllocatedCapacity());
  } else if (event == CCableThread::kNotifyExit) {
    session->exited = true;
  }
}

void OnStatus(void* owner, int kind, int code) {
  if (kind == CCableThread::kStatusResult) static_cast<Session*>(owner)->result = code;
}

bool OnError(void*, int, int, uint32_t) { return true; }

}  // namespace

int RunUnattendedRecording(const RecordingSetup& setup, const UnattendedOptions& options) {
  if (options.seconds <= 0) return 3;
  const uint32_t wanted = static_cast<uint32_t>(options.seconds) * kFramesPerSecond * kFrameBytes;
  const uint32_t seconds = static_cast<uint32_t>(std::max(setup.bufferSeconds, options.seconds + 1));
  Session session;
  if (!session.ring.Allocate(seconds * kFramesPerSecond * kFrameBytes)) return 3;

  CCableSettings cable;
  cable.m_connectionType = setup.connectionType;
  cable.m_portName = setup.portName;
  cable.m_replayFileName = setup.replayFile;
  cable.m_replayLoops = true;
  cable.SetUpdateRate(setup.connectionType == 1 ? 200 : 25);
  CECGSettings ecg;
  ecg.SetGain(setup.gain);
  ecg.SetSpeed(setup.speed);
  CDisplaySettings display;
  display.SetLeadsPerGroup(12);
  CFilterSettings filters;
  filters.SetMuscle(setup.muscleFilter);
  filters.SetPower(setup.powerFilter);
  filters.SetMainsFrequency(static_cast<uint8_t>(setup.mainsHz));
  filters.SetAnyFilter();

  CCableThread thread;
  thread.SetSettings(&cable, &ecg);
  thread.SetOwner(&session);
  thread.SetCallbacks(OnNotify, OnStatus, OnError, &session);
  if (!thread.Allocate(60000, 10)) return 3;
  thread.SetDataBuffer(&session.ring, &session.lock);
  if (!thread.CreateThread()) return 3;

  const auto deadline = std::chrono::steady_clock::now() + options.timeout;
  bool enough = false;
  while (!enough && !session.exited && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::lock_guard<std::timed_mutex> guard(session.lock);
    enough = session.ring.Size() >= wanted;
  }
  thread.StopMe();
  thread.WaitForExitEvent(std::chrono::seconds(10));
  thread.Join();
  if (!enough) return 3;

  std::lock_guard<std::timed_mutex> guard(session.lock);
  const uint32_t bytes = session.ring.Size() / kFrameBytes * kFrameBytes;
  CECGFile file;
  file.SetOffset(bytes - wanted);
  file.SetEndBufferTime(ecg::platform::LocalTimeNow());
  if (!file.WriteFile(setup.outputFile, session.ring, cable, ecg, display, filters)) return 3;
  return 1;
}

}  // namespace ecg::facade
