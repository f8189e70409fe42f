#pragma once
// The cable simulator's protocol side: echoes every character, answers the
// cable commands, and after DATA streams 13-byte frames at the sampling
// rate (times a speed factor), from the synthetic ECG or a demo file, with
// the faults it was asked to inject.

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "acquisition/cable_frame.h"
#include "synthetic_ecg.h"

namespace ecg::cablesim {

struct Faults {
  bool garbage = false;        // stray bytes between frames
  bool lost_bytes = false;     // a byte missing from a frame
  bool bad_checksums = false;  // a frame with a wrong checksum byte
  int lead_off_channel = -1;   // status code 0 on this channel
  int zeroing_channel = -1;    // status code 1
  int calibration_channel = -1;// status code 2
  bool silence = false;        // "OK" to DATA, then no frames
  uint32_t hang_up_after = 0;  // frames streamed before the line goes away (0 = never)
  bool six_lead_id = false;    // ID answers "6L..."
  bool srate_error = false;    // SRATE answers "ERROR"
  bool no_enq_answer = false;  // ENQ and the probe get no answer
  bool enq_extra = false;      // ENQ answers "xOK" (an extra character before OK)
  bool empty_serial = false;   // SERNUM answers an empty line
  uint32_t interval = 250;     // frames between two injected stream faults
};

struct SimulatorOptions {
  EcgModel model;
  Faults faults;
  double speed = 1.0;  // streaming pace relative to real time
  std::string serial = "SIM001";
  int hardware_version = 12;  // x 10
  int software_version = 34;  // x 10
  // From a demo file: its answers and frames replace the synthetic ones.
  std::vector<uint8_t> demo_frames;
  std::string demo_id, demo_res, demo_srate;
};

// Reads a demo file's answers and frames; false with a reason.
bool LoadDemoFile(const std::string& path, SimulatorOptions* options, std::string* reason);

// The channel names accepted by the fault switches: I, II, V1..V6 or 0..7.
int ChannelIndex(const std::string& name);

class CableSimulator {
 public:
  explicit CableSimulator(SimulatorOptions options);

  // Serves the master side of a pseudo-terminal until `stop` is set or the
  // line is hung up by a fault. Returns 0, or an errno value.
  int Serve(int master_fd, const std::atomic<bool>& stop);

  // The frames a stream would carry, with the stream faults applied, in
  // order; for the demo generator and for tests of the fault injection.
  std::vector<uint8_t> StreamBytes(uint32_t frames);
  uint64_t FramesStreamed() const { return frames_out_; }
  uint64_t FramesDamaged() const { return frames_damaged_; }

 private:
  std::string Answer(const std::string& line, bool* start_stream, bool* answer);
  ecg::acquisition::Frame NextCleanFrame();
  void AppendFrame(std::vector<uint8_t>& out);

  SimulatorOptions options_;
  std::unique_ptr<SyntheticEcg> ecg_;
  size_t demo_pos_ = 0;
  std::deque<ecg::acquisition::Frame> ahead_;
  uint64_t frames_out_ = 0;
  uint64_t frames_damaged_ = 0;
  uint32_t fault_kind_ = 0;
  uint32_t rng_ = 12345;
};

}  // namespace ecg::cablesim
