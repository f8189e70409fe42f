#include "recording/simulated_cable.h"

#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace ecg::recording {

SimulatedCable::~SimulatedCable() { Stop(); }

bool SimulatedCable::Start(const std::string& com_dir, int port,
                           ecg::cablesim::SimulatorOptions options, std::string* reason) {
  Stop();
  char name[256] = {};
  if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0) {
    if (reason != nullptr) *reason = std::string("openpty: ") + std::strerror(errno);
    master_ = slave_ = -1;
    return false;
  }
  // The slave side stays open here so the line survives a reconnection.
  termios tio{};
  tcgetattr(slave_, &tio);
  cfmakeraw(&tio);
  tcsetattr(slave_, TCSANOW, &tio);
  link_ = com_dir + "/COM" + std::to_string(port);
  unlink(link_.c_str());
  if (symlink(name, link_.c_str()) != 0) {
    if (reason != nullptr) *reason = "cannot link " + link_ + ": " + std::strerror(errno);
    Stop();
    return false;
  }
  stop_ = false;
  auto sim = std::make_shared<ecg::cablesim::CableSimulator>(std::move(options));
  const int master = master_;
  thread_ = std::thread([this, sim, master] { sim->Serve(master, stop_); });
  return true;
}

void SimulatedCable::Stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  if (!link_.empty()) unlink(link_.c_str());
  link_.clear();
  if (slave_ >= 0) close(slave_);
  if (master_ >= 0) close(master_);
  slave_ = master_ = -1;
}

}  // namespace ecg::recording
