#include "cable_simulator.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <time.h>
#include <unistd.h>

#include "platform/byte_stream.h"

namespace ecg::cablesim {

using ecg::acquisition::Frame;
using ecg::acquisition::FrameChecks;
using ecg::acquisition::kFrameBytes;

namespace {

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// The receiving side's frame search over bytes that are all present: the
// frames it would accept, and whether it ends aligned.
std::vector<Frame> AssembleAll(const std::vector<uint8_t>& bytes, bool* aligned) {
  std::vector<Frame> out;
  size_t pos = 0;
  while (pos + kFrameBytes <= bytes.size()) {
    if (FrameChecks(&bytes[pos])) {
      Frame f;
      std::copy_n(&bytes[pos], kFrameBytes, f.begin());
      out.push_back(f);
      pos += kFrameBytes;
    } else {
      ++pos;
    }
  }
  *aligned = pos == bytes.size();
  return out;
}

double MonotonicSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec + ts.tv_nsec / 1e9;
}

}  // namespace

int ChannelIndex(const std::string& name) {
  static const char* kNames[8] = {"I", "II", "V1", "V2", "V3", "V4", "V5", "V6"};
  const std::string u = Upper(name);
  for (int i = 0; i < 8; ++i) {
    if (u == kNames[i]) return i;
  }
  if (u.size() == 1 && u[0] >= '0' && u[0] <= '7') return u[0] - '0';
  return -1;
}

bool LoadDemoFile(const std::string& path, SimulatorOptions* options, std::string* reason) {
  std::vector<uint8_t> b;
  if (!ecg::platform::ReadWholeFile(path, b, 64u << 20)) {
    *reason = "cannot read " + path;
    return false;
  }
  auto u32 = [&](size_t at) {
    return static_cast<uint32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16) |
           static_cast<uint32_t>(b[at + 3]) << 24;
  };
  if (b.size() < 8) {
    *reason = "too short for a demo file";
    return false;
  }
  const uint32_t header = u32(0);
  std::vector<std::string> texts;
  size_t at = 4;
  while (texts.size() < 6) {
    if (at >= b.size() || b[at] == 0 || at + 1 + b[at] > b.size()) {
      *reason = "a handshake record runs past the file";
      return false;
    }
    const size_t len = b[at];
    texts.emplace_back(reinterpret_cast<const char*>(&b[at + 1]), strnlen(reinterpret_cast<const char*>(&b[at + 1]), len));
    at += 1 + len;
  }
  if (at + 4 > b.size() || header < at + 4 || header > b.size()) {
    *reason = "bad header length";
    return false;
  }
  const uint32_t data = u32(at);
  if (data % kFrameBytes != 0 || data == 0 || uint64_t{header} + data > b.size()) {
    *reason = "bad data length";
    return false;
  }
  options->serial = texts[1];
  options->demo_id = texts[2];
  options->demo_res = texts[3];
  options->demo_srate = texts[4];
  options->demo_frames.assign(b.begin() + header, b.begin() + header + data);
  return true;
}

CableSimulator::CableSimulator(SimulatorOptions options) : options_(std::move(options)) {
  ecg_ = std::make_unique<SyntheticEcg>(options_.model);
}

Frame CableSimulator::NextCleanFrame() {
  if (!options_.demo_frames.empty()) {
    Frame f;
    std::copy_n(&options_.demo_frames[demo_pos_], kFrameBytes, f.begin());
    demo_pos_ = (demo_pos_ + kFrameBytes) % options_.demo_frames.size();
    return f;
  }
  auto s = ecg_->NextSamples();
  const Faults& f = options_.faults;
  if (f.lead_off_channel >= 0) s[f.lead_off_channel] = 4080;
  if (f.zeroing_channel >= 0) s[f.zeroing_channel] = 4081;
  if (f.calibration_channel >= 0) s[f.calibration_channel] = 4082;
  return ecg::acquisition::PackFrame(s);
}

void CableSimulator::AppendFrame(std::vector<uint8_t>& out) {
  while (ahead_.size() < 3) ahead_.push_back(NextCleanFrame());
  Frame frame = ahead_.front();
  ahead_.pop_front();
  ++frames_out_;
  const Faults& f = options_.faults;
  const bool any = f.garbage || f.lost_bytes || f.bad_checksums;
  if (!any || f.interval == 0 || frames_out_ % f.interval != 0) {
    out.insert(out.end(), frame.begin(), frame.end());
    return;
  }
  // Pick the next enabled kind in turn, then a damage whose resynchronisation
  // accepts no false frame (checked the way the receiver searches).
  int kinds[3];
  int n = 0;
  if (f.garbage) kinds[n++] = 0;
  if (f.lost_bytes) kinds[n++] = 1;
  if (f.bad_checksums) kinds[n++] = 2;
  const int kind = kinds[fault_kind_++ % n];
  for (int attempt = 0; attempt < 64; ++attempt) {
    rng_ = rng_ * 1103515245u + 12345u;
    std::vector<uint8_t> segment;
    bool keeps_frame = false;
    if (kind == 0) {
      const size_t count = 1 + (rng_ >> 16) % 5;
      for (size_t i = 0; i < count; ++i) {
        rng_ = rng_ * 1103515245u + 12345u;
        segment.push_back(static_cast<uint8_t>(rng_ >> 16));
      }
      segment.insert(segment.end(), frame.begin(), frame.end());
      keeps_frame = true;
    } else if (kind == 1) {
      const size_t drop = (rng_ >> 16) % kFrameBytes;
      for (size_t i = 0; i < kFrameBytes; ++i) {
        if (i != drop) segment.push_back(frame[i]);
      }
    } else {
      segment.assign(frame.begin(), frame.end());
      segment[kFrameBytes - 1] = static_cast<uint8_t>(segment[kFrameBytes - 1] + 1 + (rng_ >> 16) % 255);
    }
    std::vector<uint8_t> check = segment;
    for (const Frame& next : ahead_) check.insert(check.end(), next.begin(), next.end());
    bool aligned = false;
    const auto accepted = AssembleAll(check, &aligned);
    std::vector<Frame> expected;
    if (keeps_frame) expected.push_back(frame);
    expected.insert(expected.end(), ahead_.begin(), ahead_.end());
    if (aligned && accepted == expected) {
      out.insert(out.end(), segment.begin(), segment.end());
      if (!keeps_frame) ++frames_damaged_;
      return;
    }
  }
  out.insert(out.end(), frame.begin(), frame.end());  // no clean damage found: send it whole
}

std::vector<uint8_t> CableSimulator::StreamBytes(uint32_t frames) {
  std::vector<uint8_t> out;
  out.reserve(frames * kFrameBytes);
  for (uint32_t i = 0; i < frames; ++i) AppendFrame(out);
  return out;
}

std::string CableSimulator::Answer(const std::string& raw, bool* start_stream, bool* answer) {
  const std::string line = Upper(raw);
  const Faults& f = options_.faults;
  *answer = true;
  char text[128];
  if (line == "ENQ") {
    if (f.no_enq_answer) *answer = false;
    return f.enq_extra ? "xOK\r" : "OK\r";
  }
  if (line == "SERNUM") return f.empty_serial ? "\r" : options_.serial + "\r";
  if (line == "ID") {
    if (!options_.demo_id.empty() && !f.six_lead_id) return options_.demo_id + "\r";
    std::snprintf(text, sizeof text, "%dLSIM;HW v%0.1f;SW v%0.1f", f.six_lead_id ? 6 : 12,
                  options_.hardware_version / 10.0, options_.software_version / 10.0);
    return std::string(text) + "\r";
  }
  if (line == "RES") {
    if (!options_.demo_res.empty()) return options_.demo_res + "\r";
    std::snprintf(text, sizeof text, "%d;12", static_cast<int>(options_.model.resolution_uv * 1000));
    return std::string(text) + "\r";
  }
  if (line == "SRATE") {
    if (f.srate_error) return "ERROR\r";
    if (!options_.demo_srate.empty()) return options_.demo_srate + "\r";
    std::snprintf(text, sizeof text, "%.4f", options_.model.sample_rate_hz * 2.0);
    return std::string(text) + "\r";
  }
  if (line == "ECG ALL") return "OK\r";
  if (line == "DATA") {
    *start_stream = true;
    return "OK\r";
  }
  return "ERROR\r";
}

int CableSimulator::Serve(int master_fd, const std::atomic<bool>& stop) {
  const int flags = fcntl(master_fd, F_GETFL);
  fcntl(master_fd, F_SETFL, flags | O_NONBLOCK);
  std::vector<uint8_t> pending;  // bytes not yet taken by the terminal
  std::string line;
  bool streaming = false;
  double stream_start = 0;
  uint64_t stream_frames = 0;
  const double rate = options_.model.sample_rate_hz * std::max(0.01, options_.speed);
  while (!stop.load()) {
    int timeout = 50;
    if (streaming && !options_.faults.silence) timeout = 5;
    pollfd p{master_fd, static_cast<short>(POLLIN | (pending.empty() ? 0 : POLLOUT)), 0};
    const int ready = poll(&p, 1, timeout);
    if (ready < 0 && errno != EINTR) return errno;
    if (ready > 0 && (p.revents & POLLIN)) {
      uint8_t in[256];
      const ssize_t got = read(master_fd, in, sizeof in);
      for (ssize_t i = 0; i < got; ++i) {
        const uint8_t c = in[i];
        pending.push_back(c);  // echo
        if (c == 0x18) {       // cancel: back to command mode
          streaming = false;
          line.clear();
          continue;
        }
        if (c == '\r') {
          bool start = false, answer = true;
          const std::string reply = Answer(line, &start, &answer);
          line.clear();
          if (answer) pending.insert(pending.end(), reply.begin(), reply.end());
          if (start && !streaming) {
            streaming = true;
            stream_start = MonotonicSeconds();
            stream_frames = 0;
          }
        } else if (c != '\n' && line.size() < 64) {
          line.push_back(static_cast<char>(c));
        }
      }
    }
    if (streaming && !options_.faults.silence) {
      const uint64_t due = static_cast<uint64_t>((MonotonicSeconds() - stream_start) * rate);
      // Never queue more than a second's worth when the host is not reading.
      for (int i = 0; stream_frames < due && i < 500 && pending.size() < 16384; ++i) {
        AppendFrame(pending);
        ++stream_frames;
        if (options_.faults.hang_up_after != 0 && frames_out_ >= options_.faults.hang_up_after) {
          [[maybe_unused]] ssize_t w = write(master_fd, pending.data(), pending.size());
          return 0;  // the caller closes the line
        }
      }
      if (stream_frames < due && pending.size() >= 16384) stream_frames = due;  // host stalled: drop
    }
    if (!pending.empty()) {
      const ssize_t put = write(master_fd, pending.data(), pending.size());
      if (put > 0) pending.erase(pending.begin(), pending.begin() + put);
    }
  }
  return 0;
}

}  // namespace ecg::cablesim
