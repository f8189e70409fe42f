// The serial path end to end: the cable thread, the serial port's receive
// thread, termios and the cable search against tools/cable-sim on a
// pseudo-terminal linked into a temporary ECG_COM_DIR, with injected faults.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "acquisition/cable_frame.h"
#include "acquisition/cable_thread.h"
#include "acquisition/demo_file.h"
#include "acquisition/device_comm.h"
#include "acquisition/frame_assembler.h"
#include "cable_sim_process.h"
#include "cable_simulator.h"
#include "support/test_files.h"
#include "synthetic_ecg.h"

using namespace ecg::acquisition;
using namespace std::chrono_literals;

namespace {

// A cable simulator process serving COM<port> in a test folder.
class Simulator : public ecg::test::CableSimProcess {
 public:
  Simulator(const std::string& com_dir, int port, const std::vector<std::string>& args)
      : CableSimProcess(ECG_CABLE_SIM, com_dir, port, 7, args) {}
};

// The recording window's side: settings, ring, lock, and what the callbacks saw.
struct Owner {
  CCableSettings cable;
  CECGSettings ecg;
  CCircularBuffer ring{false, true};
  std::timed_mutex lock;
  std::mutex seen;
  std::vector<int> progress;
  std::vector<int> results;
  std::vector<int> notifies;
  std::vector<std::array<int, 3>> faults;  // source, code, detail
  std::vector<Frame> frames;

  static void OnNotify(void* owner, int event) {
    auto* o = static_cast<Owner*>(owner);
    if (event == CCableThread::kNotifyUpdate) {
      // Drain the ring the way the window does, under its data lock.
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
  static bool OnError(void* context, int source, int code, uint32_t detail) {
    auto* o = static_cast<Owner*>(context);
    std::lock_guard<std::mutex> g(o->seen);
    o->faults.push_back({source, code, static_cast<int>(detail)});
    return false;
  }
  size_t FrameCount() {
    std::lock_guard<std::timed_mutex> l(lock);
    return frames.size();
  }
  bool HasFault(int source, int code) {
    std::lock_guard<std::mutex> g(seen);
    for (const auto& f : faults) {
      if (f[0] == source && f[1] == code) return true;
    }
    return false;
  }
  bool Progressed(int code) {
    std::lock_guard<std::mutex> g(seen);
    return std::find(progress.begin(), progress.end(), code) != progress.end();
  }
};

class CableSerial : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("ECG_COM_DIR", folder_.path().c_str(), 1);
    owner_.ring.Allocate(5000 * 13);
    owner_.cable.SetPort(3);
    owner_.cable.SetUpdateRate(25);
    thread_.SetOwner(&owner_);
    thread_.SetSettings(&owner_.cable, &owner_.ecg);
    thread_.SetCallbacks(&Owner::OnNotify, &Owner::OnStatus, &Owner::OnError, &owner_);
    thread_.SetDataBuffer(&owner_.ring, &owner_.lock);
    ASSERT_TRUE(thread_.Allocate(60000, 10));
  }
  void TearDown() override {
    thread_.StopMe();
    thread_.Join();
    unsetenv("ECG_COM_DIR");
  }
  // Runs until `frames` frames arrived (or the run ended, or the time passed),
  // then stops; returns the result code.
  int RunUntil(size_t frames, std::chrono::seconds limit) {
    EXPECT_TRUE(thread_.CreateThread());
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end && owner_.FrameCount() < frames) {
      {
        std::lock_guard<std::mutex> g(owner_.seen);
        if (!owner_.results.empty()) break;
      }
      std::this_thread::sleep_for(20ms);
    }
    thread_.StopMe();
    EXPECT_TRUE(thread_.WaitForExitEvent(10s));
    thread_.Join();
    std::lock_guard<std::mutex> g(owner_.seen);
    EXPECT_EQ(owner_.results.size(), 1u);
    return owner_.results.empty() ? 999 : owner_.results.back();
  }
  // The simulator's clean frames for seed 7.
  static std::vector<Frame> Expected(size_t n) {
    ecg::cablesim::EcgModel model;
    model.seed = 7;
    ecg::cablesim::SyntheticEcg ecg(model);
    std::vector<Frame> out;
    for (size_t i = 0; i < n; ++i) out.push_back(PackFrame(ecg.NextSamples()));
    return out;
  }
  // Every received frame is the next expected one or a later one; returns
  // how many expected frames were skipped after the first received one (the
  // frames before it went in the flush that follows the pause after DATA).
  static size_t Skipped(const std::vector<Frame>& got, const std::vector<Frame>& expected, bool* in_order) {
    *in_order = false;
    if (got.empty()) return 0;
    size_t e = std::find(expected.begin(), expected.end(), got.front()) - expected.begin();
    size_t skipped = 0;
    *in_order = true;
    for (const Frame& f : got) {
      while (e < expected.size() && expected[e] != f) {
        ++e;
        ++skipped;
      }
      if (e == expected.size()) {
        *in_order = false;
        return skipped;
      }
      ++e;
    }
    return skipped;
  }

  ecg::test::TempFolder folder_;
  Owner owner_;
  CCableThread thread_;
};

TEST_F(CableSerial, SearchFindsTheCableOnCom7WithCom1To6Absent) {
  Simulator sim(folder_.path(), 7, {});
  ASSERT_TRUE(sim.Ready());
  CDeviceComm search;
  int port = 2;
  EXPECT_EQ(search.DetectCable(&port, true), 7);
  EXPECT_EQ(port, 7);
  EXPECT_EQ(search.m_cableId, "12LSIM");
  EXPECT_EQ(search.m_hardwareVersion, "1.2");
  EXPECT_EQ(search.m_softwareVersion, "3.4");
  EXPECT_EQ(search.m_serialNumber, "SIM001");
  EXPECT_EQ(search.m_resolution, "4880");
  EXPECT_EQ(search.m_bits, "12");
}

TEST_F(CableSerial, PortTwelveIsReachedThroughItsLongNameBySearchAndThread) {
  Simulator sim(folder_.path(), 12, {"--speed", "4"});
  ASSERT_TRUE(sim.Ready());
  CDeviceComm search;
  int port = 12;
  EXPECT_EQ(search.DetectCable(&port, false), 12);
  owner_.cable.SetPort(12);
  EXPECT_EQ(owner_.cable.m_portName, "\\\\.\\COM12");
  EXPECT_EQ(RunUntil(50, 20s), 0);
  EXPECT_GE(owner_.frames.size(), 50u);
}

TEST_F(CableSerial, SearchWithoutACableFindsNothing) {
  Simulator sim(folder_.path(), 5, {"--fault", "no-enq"});
  ASSERT_TRUE(sim.Ready());
  CDeviceComm search;
  int port = 5;
  EXPECT_EQ(search.DetectCable(&port, false), 0);
  EXPECT_EQ(port, 5);
}

TEST_F(CableSerial, HandshakeFillsTheSettingsAndSixtySecondsArriveWithoutLoss) {
  // 60 s of ECG at 500 Hz, streamed ten times faster than real time.
  Simulator sim(folder_.path(), 3, {"--speed", "10"});
  ASSERT_TRUE(sim.Ready());
  const int result = RunUntil(30000, 30s);
  EXPECT_EQ(result, 0);
  EXPECT_STREQ(owner_.cable.m_serialNumber, "SIM001");
  EXPECT_EQ(owner_.cable.m_hardwareVersion, 12);
  EXPECT_EQ(owner_.cable.m_softwareVersion, 34);
  EXPECT_EQ(owner_.cable.m_leads, 12);
  EXPECT_DOUBLE_EQ(owner_.ecg.GetResolution(), 4.88);
  EXPECT_DOUBLE_EQ(owner_.ecg.GetSamplingRate(), 500.0);
  EXPECT_EQ(owner_.progress, (std::vector<int>{5, 1, 2, 3, 0}));
  ASSERT_GE(owner_.frames.size(), 30000u);
  bool in_order = false;
  EXPECT_EQ(Skipped(owner_.frames, Expected(owner_.frames.size() + 20000), &in_order), 0u);
  EXPECT_TRUE(in_order);
  // At most the frame cut by the flush after the pause costs bytes.
  EXPECT_LT(thread_.BytesDropped(), 13u);
  EXPECT_EQ(owner_.notifies.front(), CCableThread::kNotifyReady);
  EXPECT_EQ(owner_.notifies.back(), CCableThread::kNotifyExit);
}

TEST_F(CableSerial, GarbageIsDroppedWithoutLosingAGoodFrame) {
  Simulator sim(folder_.path(), 3, {"--speed", "4", "--fault", "garbage", "--fault-interval", "50"});
  ASSERT_TRUE(sim.Ready());
  EXPECT_EQ(RunUntil(2500, 20s), 0);
  ASSERT_GE(owner_.frames.size(), 2500u);
  bool in_order = false;
  EXPECT_EQ(Skipped(owner_.frames, Expected(owner_.frames.size() + 10000), &in_order), 0u);
  EXPECT_TRUE(in_order);
  EXPECT_GT(thread_.BytesDropped(), 12u);
}

TEST_F(CableSerial, LostBytesAndBadChecksumsCostOnlyTheDamagedFrames) {
  Simulator sim(folder_.path(), 3,
                {"--speed", "4", "--fault", "lost-bytes", "--fault", "bad-checksums", "--fault-interval", "100"});
  ASSERT_TRUE(sim.Ready());
  EXPECT_EQ(RunUntil(3000, 20s), 0);
  ASSERT_GE(owner_.frames.size(), 3000u);
  bool in_order = false;
  const size_t skipped = Skipped(owner_.frames, Expected(owner_.frames.size() + 10000), &in_order);
  EXPECT_TRUE(in_order);
  // One damaged frame every 100: about 30 of the first 3000.
  const size_t sent = owner_.frames.size() + skipped;
  EXPECT_NEAR(static_cast<double>(skipped), sent / 100.0, 1.0);
  EXPECT_GT(skipped, 0u);
}

TEST_F(CableSerial, LeadOffCodesArriveOnTheirChannel) {
  Simulator sim(folder_.path(), 3, {"--speed", "4", "--fault", "lead-off=V1", "--fault", "zeroing=V6"});
  ASSERT_TRUE(sim.Ready());
  EXPECT_EQ(RunUntil(200, 20s), 0);
  ASSERT_GE(owner_.frames.size(), 200u);
  for (const Frame& f : owner_.frames) {
    const auto s = UnpackFrame(f.data());
    ASSERT_EQ(DecodeChannel(s[2]).status, 1u);
    ASSERT_EQ(DecodeChannel(s[7]).status, 2u);
    ASSERT_EQ(DecodeChannel(s[0]).status, 0u);
  }
}

TEST_F(CableSerial, SixLeadCableAndSrateErrorStillReachData) {
  Simulator sim(folder_.path(), 3, {"--speed", "4", "--fault", "6L", "--fault", "srate-error"});
  ASSERT_TRUE(sim.Ready());
  EXPECT_EQ(RunUntil(100, 20s), 0);
  EXPECT_GE(owner_.frames.size(), 100u);
  EXPECT_EQ(owner_.progress, (std::vector<int>{5, 1, 2, 3, 4, 0}));
  EXPECT_EQ(owner_.cable.m_leads, 12);
  EXPECT_DOUBLE_EQ(owner_.ecg.GetSamplingRate(), 496.55172413795);
}

TEST_F(CableSerial, NoAnswerToEnqEndsWithMinus3) {
  Simulator sim(folder_.path(), 3, {"--fault", "no-enq"});
  ASSERT_TRUE(sim.Ready());
  EXPECT_EQ(RunUntil(1, 20s), -3);
  EXPECT_EQ(owner_.progress, (std::vector<int>{5, 1, 2, 2, 2}));
  EXPECT_TRUE(owner_.frames.empty());
}

TEST_F(CableSerial, EnqReplyWithAnExtraCharacterBeforeOkFails) {
  Simulator sim(folder_.path(), 3, {"--fault", "enq-extra"});
  ASSERT_TRUE(sim.Ready());
  EXPECT_EQ(RunUntil(1, 20s), -3);
}

TEST_F(CableSerial, EmptySerialNumberReplyKeepsTheStoredOne) {
  Simulator sim(folder_.path(), 3, {"--speed", "4", "--fault", "empty-serial"});
  ASSERT_TRUE(sim.Ready());
  owner_.cable.SetSerialNumber("KEPT-01");
  EXPECT_EQ(RunUntil(20, 20s), 0);
  EXPECT_STREQ(owner_.cable.m_serialNumber, "KEPT-01");
  EXPECT_GE(owner_.frames.size(), 20u);
}

TEST_F(CableSerial, MissingPortEndsWithMinus2) {
  EXPECT_EQ(RunUntil(1, 10s), -2);
  EXPECT_EQ(owner_.progress, (std::vector<int>{5}));
}

TEST_F(CableSerial, SilenceAfterDataIsReportedAsAReadTimeout) {
  Simulator sim(folder_.path(), 3, {"--fault", "silence"});
  ASSERT_TRUE(sim.Ready());
  ASSERT_TRUE(thread_.CreateThread());
  for (int i = 0; i < 300 && !owner_.Progressed(0); ++i) std::this_thread::sleep_for(20ms);
  std::this_thread::sleep_for(1200ms);
  EXPECT_TRUE(owner_.HasFault(1, 28));
  thread_.StopMe();
  EXPECT_TRUE(thread_.WaitForExitEvent(10s));
  EXPECT_EQ(owner_.results, (std::vector<int>{0}));
}

TEST_F(CableSerial, HangUpIsReportedAsAnInputLineError) {
  Simulator sim(folder_.path(), 3, {"--speed", "4", "--fault", "hang-up=2000"});
  ASSERT_TRUE(sim.Ready());
  ASSERT_TRUE(thread_.CreateThread());
  for (int i = 0; i < 500 && !owner_.HasFault(1, 21); ++i) std::this_thread::sleep_for(20ms);
  EXPECT_TRUE(owner_.HasFault(1, 21));
  {
    std::lock_guard<std::mutex> g(owner_.seen);
    for (const auto& f : owner_.faults) {
      if (f[1] == 21) {
        EXPECT_EQ(f[2], 0x0400);
      }
    }
  }
  thread_.StopMe();
  EXPECT_TRUE(thread_.WaitForExitEvent(10s));
  EXPECT_EQ(owner_.results, (std::vector<int>{0}));
}

TEST_F(CableSerial, FullReceiveRingIsReportedAndAbortsTheReceiveThread) {
  Simulator sim(folder_.path(), 3, {});
  ASSERT_TRUE(sim.Ready());
  CSerialComms port;
  ASSERT_TRUE(port.AllocateReceive(64));
  port.SetRawMode(true);
  port.SetReadChunk(50);
  std::mutex m;
  std::vector<int> codes;
  struct Context {
    std::mutex* m;
    std::vector<int>* codes;
  } context{&m, &codes};
  port.SetErrorCallback(
      [](void* c, int source, int code, uint32_t) {
        auto* ctx = static_cast<Context*>(c);
        std::lock_guard<std::mutex> g(*ctx->m);
        ctx->codes->push_back(source * 100 + code);
        return code == 23;  // abort on a full ring, as the window does
      },
      &context);
  ASSERT_TRUE(port.Open("COM3", 115200, true));
  const char* data = "DATA\r";
  ASSERT_TRUE(port.WriteRaw(reinterpret_cast<const uint8_t*>(data), 5));
  for (int i = 0; i < 200 && port.IsReaderRunning(); ++i) std::this_thread::sleep_for(10ms);
  EXPECT_FALSE(port.IsReaderRunning());
  std::lock_guard<std::mutex> g(m);
  EXPECT_NE(std::find(codes.begin(), codes.end(), 123), codes.end());
  port.StopReader();
  port.Close();
}

TEST_F(CableSerial, WritingToAClosedPortIsFault1) {
  CSerialComms port;
  std::vector<std::array<uint32_t, 3>> faults;
  port.SetErrorCallback(
      [](void* c, int source, int code, uint32_t detail) {
        static_cast<std::vector<std::array<uint32_t, 3>>*>(c)->push_back(
            {static_cast<uint32_t>(source), static_cast<uint32_t>(code), detail});
        return true;
      },
      &faults);
  EXPECT_FALSE(port.SendCommand("ENQ\r", 4, 100));
  ASSERT_EQ(faults.size(), 1u);
  EXPECT_EQ(faults[0], (std::array<uint32_t, 3>{0, 1, 6}));
  EXPECT_FALSE(port.Open("COM3", 115200, false));  // nothing linked
}

TEST_F(CableSerial, StopDuringThePauseAfterDataEndsWithZeroAndNoDataPhase) {
  Simulator sim(folder_.path(), 3, {});
  ASSERT_TRUE(sim.Ready());
  ASSERT_TRUE(thread_.CreateThread());
  for (int i = 0; i < 500 && !thread_.IsConnected(); ++i) std::this_thread::sleep_for(10ms);
  ASSERT_TRUE(thread_.IsConnected());
  std::this_thread::sleep_for(300ms);
  thread_.StopMe();
  EXPECT_TRUE(thread_.WaitForExitEvent(10s));
  thread_.Join();
  EXPECT_EQ(owner_.results, (std::vector<int>{0}));
  EXPECT_FALSE(owner_.Progressed(0));
  EXPECT_EQ(std::count(owner_.notifies.begin(), owner_.notifies.end(), 0), 0);
  EXPECT_TRUE(owner_.frames.empty());
}

TEST_F(CableSerial, SimulatorStreamsADemoFileWithItsAnswers) {
  // A demo file of 300 numbered frames.
  CCircularBuffer ring(false, true);
  ASSERT_TRUE(ring.Allocate(301 * 13));
  std::vector<Frame> demo;
  for (uint16_t n = 0; n < 300; ++n) {
    demo.push_back(PackFrame({n, 2048, 2048, 2048, 2048, 2048, 2048, static_cast<uint16_t>(3000 - n)}));
    ring.Write(demo.back().data(), 13);
  }
  CCableSettings cable;
  cable.SetSerialNumber("DEMO77");
  CECGSettings ecg;
  ecg.SetSamplingRate(250.0);
  ecg.SetResolution(5.0);
  const std::string path = folder_.File("numbered.ecg");
  ASSERT_TRUE(CDemoFile::WriteFile(path, ring, cable, ecg));
  Simulator sim(folder_.path(), 3, {"--demo", path, "--speed", "4"});
  ASSERT_TRUE(sim.Ready());
  EXPECT_EQ(RunUntil(400, 20s), 0);
  EXPECT_STREQ(owner_.cable.m_serialNumber, "DEMO77");
  EXPECT_DOUBLE_EQ(owner_.ecg.GetSamplingRate(), 250.0);
  EXPECT_DOUBLE_EQ(owner_.ecg.GetResolution(), 5.0);
  ASSERT_GE(owner_.frames.size(), 400u);
  // The demo loops: each frame follows its predecessor modulo 300.
  const uint16_t first = UnpackFrame(owner_.frames[0].data())[0];
  for (size_t i = 0; i < owner_.frames.size(); ++i) {
    ASSERT_EQ(owner_.frames[i], demo[(first + i) % 300]) << i;
  }
}

TEST(CableSimulatorFaults, InjectedDamageNeverForgesAFrame) {
  ecg::cablesim::SimulatorOptions options;
  options.model.seed = 3;
  options.faults.garbage = options.faults.lost_bytes = options.faults.bad_checksums = true;
  options.faults.interval = 7;
  ecg::cablesim::CableSimulator sim(options);
  const auto bytes = sim.StreamBytes(7000);
  std::vector<Frame> got;
  AssembleBytes(bytes.data(), bytes.size(), [&](const uint8_t* f) {
    Frame frame;
    std::copy_n(f, 13, frame.begin());
    got.push_back(frame);
  });
  ecg::cablesim::SyntheticEcg clean(options.model);
  std::vector<Frame> expected;
  for (int i = 0; i < 7000; ++i) expected.push_back(PackFrame(clean.NextSamples()));
  // Every accepted frame is a clean one, in order; only damaged ones are missing.
  size_t e = 0;
  for (const Frame& f : got) {
    while (e < expected.size() && expected[e] != f) ++e;
    ASSERT_LT(e, expected.size());
    ++e;
  }
  EXPECT_EQ(got.size() + sim.FramesDamaged(), 7000u);
  EXPECT_GT(sim.FramesDamaged(), 500u);  // two of every three faults cost a frame
}

}  // namespace
