// Replay of demo files: the handshake through the cable thread, looping and
// the end result -14, files refused by the replay source, sleep pacing.

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>
#include <mutex>
#include <string>
#include <vector>

#include "acquisition/cable_frame.h"
#include "acquisition/cable_thread.h"
#include "acquisition/demo_file.h"
#include "acquisition/file_comms.h"
#include "platform/byte_stream.h"
#include "support/test_files.h"

using namespace ecg::acquisition;
using namespace std::chrono_literals;
using ecg::test::TempFolder;

namespace {

Frame NumberedFrame(uint32_t n) {
  FrameSamples s{};
  for (size_t c = 0; c < 8; ++c) s[c] = static_cast<uint16_t>((n * 8 + c) % 4000);
  return PackFrame(s);
}

// A demo file of `frames` numbered frames at `rate` Hz.
std::vector<uint8_t> DemoBytes(uint32_t frames, double rate, const std::string& serial = "DEMO42") {
  CCircularBuffer ring(false, true);
  EXPECT_TRUE(ring.Allocate(frames * 13 + 13));
  for (uint32_t n = 0; n < frames; ++n) {
    const Frame f = NumberedFrame(n);
    ring.Write(f.data(), 13);
  }
  CCableSettings cable;
  cable.SetSerialNumber(serial);
  cable.m_hardwareVersion = 21;
  cable.m_softwareVersion = 5;
  CECGSettings ecg;
  ecg.SetSamplingRate(rate);
  ecg.SetResolution(2.5);
  ecg::platform::MemoryStream out;
  EXPECT_TRUE(CDemoFile::Write(out, ring, cable, ecg));
  return out.bytes();
}

struct Owner {
  CCableSettings cable;
  CECGSettings ecg;
  CCircularBuffer ring{false, true};
  std::timed_mutex lock;
  std::mutex seen;
  std::vector<int> progress, results, notifies;
  std::vector<Frame> frames;

  static void OnNotify(void* owner, int event) {
    auto* o = static_cast<Owner*>(owner);
    if (event == CCableThread::kNotifyUpdate) {
      std::lock_guard<std::timed_mutex> l(o->lock);
      Frame f;
      while (o->ring.Take(f.data(), 13)) o->frames.push_back(f);
    }
    std::lock_guard<std::mutex> g(o->seen);
    o->notifies.push_back(event);
  }
  static void OnStatus(void* owner, int kind, int code) {
    auto* o = static_cast<Owner*>(owner);
    std::lock_guard<std::mutex> g(o->seen);
    (kind == 1 ? o->progress : o->results).push_back(code);
  }
};

class Replay : public ::testing::Test {
 protected:
  void Start(const std::string& path, bool loops) {
    owner_.ring.Allocate(5000 * 13);
    owner_.cable.m_connectionType = 1;
    owner_.cable.m_replayFileName = path;
    owner_.cable.m_replayLoops = loops;
    owner_.cable.SetUpdateRate(200);  // 2 frames per tick
    thread_.SetOwner(&owner_);
    thread_.SetSettings(&owner_.cable, &owner_.ecg);
    thread_.SetCallbacks(&Owner::OnNotify, &Owner::OnStatus, nullptr, nullptr);
    thread_.SetDataBuffer(&owner_.ring, &owner_.lock);
    ASSERT_TRUE(thread_.Allocate(0, 0));
    ASSERT_TRUE(thread_.CreateThread());
  }
  void Stop() {
    thread_.StopMe();
    EXPECT_TRUE(thread_.WaitForExitEvent(5s));
    thread_.Join();
  }
  TempFolder folder_;
  Owner owner_;
  CCableThread thread_;
};

TEST_F(Replay, WithoutLoopingEndsWithMinus14AfterTheLastFrame) {
  const std::string path = folder_.Write("short.ecg", DemoBytes(101, 1000.0));
  Start(path, false);
  EXPECT_TRUE(thread_.WaitForExitEvent(5s));
  thread_.Join();
  EXPECT_EQ(owner_.results, (std::vector<int>{-14}));
  ASSERT_EQ(owner_.frames.size(), 101u);
  for (uint32_t n = 0; n < 101; ++n) ASSERT_EQ(owner_.frames[n], NumberedFrame(n)) << n;
  EXPECT_EQ(owner_.progress, (std::vector<int>{5, 1, 2, 3, 4, 0}));
  EXPECT_STREQ(owner_.cable.m_serialNumber, "Serial: DEMO42");
  EXPECT_EQ(owner_.cable.m_hardwareVersion, 21);
  EXPECT_EQ(owner_.cable.m_softwareVersion, 5);
  EXPECT_DOUBLE_EQ(owner_.ecg.GetSamplingRate(), 1000.0);
  EXPECT_DOUBLE_EQ(owner_.ecg.GetResolution(), 2.5);
  EXPECT_EQ(owner_.notifies.back(), CCableThread::kNotifyExit);
}

TEST_F(Replay, WithLoopingRestartsFromTheFirstFrame) {
  const std::string path = folder_.Write("loop.ecg", DemoBytes(50, 1000.0));
  Start(path, true);
  for (int i = 0; i < 200; ++i) {
    {
      std::lock_guard<std::timed_mutex> l(owner_.lock);
      if (owner_.frames.size() >= 130) break;
    }
    std::this_thread::sleep_for(10ms);
  }
  Stop();
  EXPECT_EQ(owner_.results, (std::vector<int>{0}));
  ASSERT_GE(owner_.frames.size(), 130u);
  for (uint32_t n = 0; n < 130; ++n) ASSERT_EQ(owner_.frames[n], NumberedFrame(n % 50)) << n;
}

TEST_F(Replay, PacesFramesAtTheRecordedRate) {
  // 200 frames at 500 Hz take 0.4 s of replay.
  const std::string path = folder_.Write("paced.ecg", DemoBytes(200, 500.0));
  const auto start = std::chrono::steady_clock::now();
  Start(path, false);
  EXPECT_TRUE(thread_.WaitForExitEvent(5s));
  thread_.Join();
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(owner_.frames.size(), 200u);
  EXPECT_GE(took, 380ms);
}

TEST_F(Replay, MissingFileEndsWithMinus2) {
  Start(folder_.File("absent.ecg"), false);
  EXPECT_TRUE(thread_.WaitForExitEvent(5s));
  thread_.Join();
  EXPECT_EQ(owner_.results, (std::vector<int>{-2}));
}

TEST_F(Replay, FirstRecordOtherThanOkGivesMinus3) {
  auto bytes = DemoBytes(10, 500.0);
  // Record 1 "OK" becomes "NO": -3.
  auto first = bytes;
  first[5] = 'N';
  first[6] = 'O';
  Start(folder_.Write("bad-ok.ecg", first), false);
  EXPECT_TRUE(thread_.WaitForExitEvent(5s));
  thread_.Join();
  EXPECT_EQ(owner_.results, (std::vector<int>{-3}));
}

TEST_F(Replay, TruncatedInsideTheSerialRecordGivesMinus4) {
  auto bytes = DemoBytes(10, 500.0);
  bytes.resize(4 + 4 + 3);  // header, "OK" record, part of the serial record
  Start(folder_.Write("cut.ecg", bytes), false);
  EXPECT_TRUE(thread_.WaitForExitEvent(5s));
  thread_.Join();
  EXPECT_EQ(owner_.results, (std::vector<int>{-4}));
}

// ------------------------------------------------------------ CFileComms

std::unique_ptr<ecg::platform::ByteStream> Stream(std::vector<uint8_t> bytes) {
  return std::make_unique<ecg::platform::MemoryStream>(std::move(bytes));
}

// Skips the six records of a demo file.
void ReadRecords(CFileComms& source) {
  for (int r = 0; r < 6; ++r) {
    uint8_t length = 0;
    ASSERT_TRUE(source.ReadRecordLength(&length, 1));
    char text[CFileComms::kMaxRecordText];
    ASSERT_TRUE(source.ReadRecordText(text, length));
  }
}

TEST(FileComms, DataLengthNotAMultipleOf13DoesNotStart) {
  auto bytes = DemoBytes(3, 500.0);
  const uint32_t h = bytes[0] | bytes[1] << 8;
  bytes[h - 4] = static_cast<uint8_t>(3 * 13 - 1);  // D = 38
  CFileComms source;
  ASSERT_TRUE(source.Open(Stream(bytes)));
  ReadRecords(source);
  source.SetRate(500);
  EXPECT_FALSE(source.StartReplay(2));
  source.StopReplay();
}

TEST(FileComms, FileShorterThanTheHeaderLengthIsRefused) {
  CFileComms source;
  EXPECT_FALSE(source.Open(Stream({1, 2, 3})));
  EXPECT_FALSE(source.IsOpen());
  EXPECT_FALSE(source.Open(std::string("/nonexistent/demo.ecg")));
}

TEST(FileComms, DataLengthBeyondTheFileReadsFromTheFileAndEnds) {
  auto bytes = DemoBytes(4, 500.0);
  const uint32_t h = bytes[0] | bytes[1] << 8;
  // Claim 1000 frames: no copy is made; the 4 real frames are read from the file.
  const uint32_t claimed = 13000;
  bytes[h - 4] = claimed & 0xFF;
  bytes[h - 3] = (claimed >> 8) & 0xFF;
  CFileComms source;
  ASSERT_TRUE(source.Open(Stream(bytes)));
  ReadRecords(source);
  source.SetRate(500);
  source.SetLoop(false);
  ASSERT_TRUE(source.StartReplay(2));
  uint8_t frame[13];
  for (uint32_t n = 0; n < 4; ++n) {
    ASSERT_EQ(source.ReadFrameBytes(frame), 13u);
    EXPECT_EQ(0, std::memcmp(frame, NumberedFrame(n).data(), 13));
  }
  EXPECT_EQ(source.ReadFrameBytes(frame), 0u);
  EXPECT_TRUE(source.IsEnded());
  source.StopReplay();
}

TEST(FileComms, SleepPacingKeepsTheTickPeriod) {
  const auto bytes = DemoBytes(10, 500.0);
  CFileComms source;
  source.SetTimerAllowed(false);
  ASSERT_TRUE(source.Open(Stream(bytes)));
  ReadRecords(source);
  source.SetRate(500);
  ASSERT_TRUE(source.StartReplay(10));  // 20 ms per tick
  EXPECT_FALSE(source.TimerActive());
  EXPECT_DOUBLE_EQ(source.TickPeriodMs(), 20.0);
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 5; ++i) source.WaitTick();
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, 95ms);
  EXPECT_LT(took, 1000ms);
  source.StopReplay();
}

TEST(FileComms, TimerTicksAtThePeriod) {
  const auto bytes = DemoBytes(10, 500.0);
  CFileComms source;
  ASSERT_TRUE(source.Open(Stream(bytes)));
  ReadRecords(source);
  source.SetRate(500);
  ASSERT_TRUE(source.StartReplay(5));  // 10 ms per tick
  EXPECT_TRUE(source.TimerActive());
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 10; ++i) source.WaitTick();
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, 85ms);
  EXPECT_TRUE(source.TimerActive());
  source.StopReplay();
}

}  // namespace
