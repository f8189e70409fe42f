// cable-sim: an ECG cable on a pseudo-terminal, linked as $ECG_COM_DIR/COM<N>
// so that the component finds it like a cable on a serial port; or, with
// --write-demo, the generator of demo recordings.

#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "acquisition/cable_settings.h"
#include "acquisition/circular_buffer.h"
#include "acquisition/demo_file.h"
#include "acquisition/ecg_settings.h"
#include "cable_simulator.h"

using namespace ecg::cablesim;

namespace {

std::atomic<bool> g_stop{false};

void OnSignal(int) { g_stop = true; }

const char kUsage[] =
    "Usage: cable-sim [--port N] [--demo FILE.ecg] [--rate HZ] [--fault NAME]...\n"
    "                 [--speed X] [--heart-rate BPM] [--noise UV] [--wander UV]\n"
    "                 [--rhythm normal|afib] [--serial TEXT] [--seed N]\n"
    "       cable-sim --write-demo FILE.ecg [--seconds S] [model options]\n"
    "\n"
    "Simulates the ECG acquisition cable on a pseudo-terminal linked as\n"
    "$ECG_COM_DIR/COM<N> (default port 3; ECG_COM_DIR must name a folder).\n"
    "It echoes every character, answers ENQ, SERNUM, ID, RES, SRATE, \"ECG ALL\",\n"
    "DATA and the \"enq\" probe, and after DATA streams 13-byte frames at the\n"
    "sampling rate from a synthetic 12-lead ECG or a demo file, until stopped\n"
    "(SIGINT/SIGTERM) or until CAN (0x18) returns it to command mode.\n"
    "\n"
    "Options:\n"
    "  --port N          COM port number to link (default 3)\n"
    "  --demo FILE.ecg   answer and stream from a demo file\n"
    "  --rate HZ         sampling rate of the synthetic ECG (default 500)\n"
    "  --speed X         stream X times faster than real time (default 1)\n"
    "  --heart-rate BPM  (default 72)   --noise UV (default 8)   --wander UV (default 40)\n"
    "  --rhythm afib     irregular intervals without P waves\n"
    "  --fault NAME      inject a fault; repeatable:\n"
    "      garbage, lost-bytes, bad-checksums  stream damage every 250 frames\n"
    "                                          (--fault-interval FRAMES)\n"
    "      lead-off=CH, zeroing=CH, calibration=CH  status codes 0, 1, 2 on a\n"
    "                                          channel (I, II, V1..V6)\n"
    "      silence          answer DATA, then send nothing\n"
    "      hang-up=FRAMES   close the line after that many frames\n"
    "      6L               ID answers a 6-lead cable\n"
    "      srate-error      SRATE answers ERROR\n"
    "      no-enq           no answer to ENQ or the probe\n"
    "      enq-extra        ENQ answers \"xOK\"\n"
    "      empty-serial     SERNUM answers an empty line\n"
    "  --write-demo FILE  write a demo recording of --seconds S (default 60) and exit\n";

bool ApplyFault(const std::string& spec, Faults* f) {
  const size_t eq = spec.find('=');
  const std::string name = spec.substr(0, eq);
  const std::string value = eq == std::string::npos ? "" : spec.substr(eq + 1);
  if (name == "garbage") f->garbage = true;
  else if (name == "lost-bytes") f->lost_bytes = true;
  else if (name == "bad-checksums") f->bad_checksums = true;
  else if (name == "silence") f->silence = true;
  else if (name == "6L") f->six_lead_id = true;
  else if (name == "srate-error") f->srate_error = true;
  else if (name == "no-enq") f->no_enq_answer = true;
  else if (name == "enq-extra") f->enq_extra = true;
  else if (name == "empty-serial") f->empty_serial = true;
  else if (name == "hang-up") f->hang_up_after = value.empty() ? 500 : static_cast<uint32_t>(std::atoi(value.c_str()));
  else if (name == "lead-off" || name == "zeroing" || name == "calibration") {
    const int ch = ChannelIndex(value);
    if (ch < 0) return false;
    (name == "lead-off" ? f->lead_off_channel : name == "zeroing" ? f->zeroing_channel : f->calibration_channel) = ch;
  } else {
    return false;
  }
  return true;
}

int WriteDemo(const std::string& path, double seconds, const SimulatorOptions& options) {
  CableSimulator sim(options);
  const uint32_t frames = static_cast<uint32_t>(seconds * options.model.sample_rate_hz);
  const auto bytes = sim.StreamBytes(frames);
  CCircularBuffer ring(false, true);
  if (!ring.Allocate(static_cast<uint32_t>(bytes.size() + 13)) ||
      !ring.Write(bytes.data(), static_cast<uint32_t>(bytes.size()))) {
    std::fprintf(stderr, "cable-sim: out of memory for %u frames\n", frames);
    return 1;
  }
  CCableSettings cable;
  cable.SetSerialNumber(options.serial);
  cable.m_hardwareVersion = options.hardware_version;
  cable.m_softwareVersion = options.software_version;
  CECGSettings ecg;
  ecg.SetSamplingRate(options.model.sample_rate_hz);
  ecg.SetResolution(options.model.resolution_uv);
  if (!CDemoFile::WriteFile(path, ring, cable, ecg)) {
    std::fprintf(stderr, "cable-sim: cannot write %s\n", path.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  SimulatorOptions options;
  int port = 3;
  std::string demo, write_demo;
  double seconds = 60.0;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "cable-sim: %s needs a value\n", a.c_str());
        std::exit(2);
      }
      return argv[++i];
    };
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (a == "--port") {
      port = std::atoi(value().c_str());
    } else if (a == "--demo") {
      demo = value();
    } else if (a == "--rate") {
      options.model.sample_rate_hz = std::atof(value().c_str());
    } else if (a == "--speed") {
      options.speed = std::atof(value().c_str());
    } else if (a == "--heart-rate") {
      options.model.heart_rate_bpm = std::atof(value().c_str());
    } else if (a == "--noise") {
      options.model.noise_uv = std::atof(value().c_str());
    } else if (a == "--wander") {
      options.model.wander_uv = std::atof(value().c_str());
    } else if (a == "--rhythm") {
      options.model.atrial_fibrillation = value() == "afib";
    } else if (a == "--serial") {
      options.serial = value();
    } else if (a == "--seed") {
      options.model.seed = static_cast<uint32_t>(std::atoi(value().c_str()));
    } else if (a == "--fault-interval") {
      options.faults.interval = static_cast<uint32_t>(std::atoi(value().c_str()));
    } else if (a == "--fault") {
      const std::string f = value();
      if (!ApplyFault(f, &options.faults)) {
        std::fprintf(stderr, "cable-sim: unknown fault \"%s\"\n", f.c_str());
        return 2;
      }
    } else if (a == "--write-demo") {
      write_demo = value();
    } else if (a == "--seconds") {
      seconds = std::atof(value().c_str());
    } else {
      std::fprintf(stderr, "cable-sim: unknown argument \"%s\" (see --help)\n", a.c_str());
      return 2;
    }
  }
  if (options.model.sample_rate_hz < 50 || options.model.sample_rate_hz > 4000 || port < 1 ||
      options.speed <= 0 || seconds <= 0 || seconds > 3600) {
    std::fprintf(stderr, "cable-sim: a value is out of range (see --help)\n");
    return 2;
  }
  if (!write_demo.empty()) return WriteDemo(write_demo, seconds, options);
  if (!demo.empty()) {
    std::string reason;
    if (!LoadDemoFile(demo, &options, &reason)) {
      std::fprintf(stderr, "cable-sim: %s: %s\n", demo.c_str(), reason.c_str());
      return 2;
    }
  }
  const char* dir = std::getenv("ECG_COM_DIR");
  if (dir == nullptr || *dir == '\0') {
    std::fprintf(stderr, "cable-sim: set ECG_COM_DIR to the folder where COM%d is linked\n", port);
    return 2;
  }
  int master = -1, slave = -1;
  char name[256];
  if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
    std::perror("cable-sim: openpty");
    return 1;
  }
  // The slave stays open here so the line survives between host sessions;
  // raw, so that nothing the host has not configured changes the bytes.
  termios tio{};
  tcgetattr(slave, &tio);
  cfmakeraw(&tio);
  tcsetattr(slave, TCSANOW, &tio);
  const std::string link = std::string(dir) + "/COM" + std::to_string(port);
  unlink(link.c_str());
  if (symlink(name, link.c_str()) != 0) {
    std::perror("cable-sim: symlink");
    return 1;
  }
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  std::signal(SIGPIPE, SIG_IGN);
  std::fprintf(stdout, "cable-sim: COM%d -> %s\n", port, name);
  std::fflush(stdout);
  CableSimulator sim(options);
  const int result = sim.Serve(master, g_stop);
  unlink(link.c_str());
  close(slave);
  close(master);
  return result == 0 ? 0 : 1;
}
