#pragma once
// A simulated ECG cable for recording without hardware: the cable
// simulator served on a pseudo-terminal that is linked as
// $ECG_COM_DIR/COM<port>, so that the recording window reaches it through
// the real serial path (port resolver, termios, receive thread, protocol).
// Built as its own library next to the window (it needs the simulator).

#include <atomic>
#include <string>
#include <thread>

#include "cable_simulator.h"

namespace ecg::recording {

class SimulatedCable {
 public:
  SimulatedCable() = default;
  ~SimulatedCable();
  SimulatedCable(const SimulatedCable&) = delete;
  SimulatedCable& operator=(const SimulatedCable&) = delete;

  // Opens the pseudo-terminal, links it as <com_dir>/COM<port> and serves
  // it on a thread. False with a reason when any step fails.
  bool Start(const std::string& com_dir, int port, ecg::cablesim::SimulatorOptions options,
             std::string* reason);
  // Ends the service, removes the link and closes the terminal.
  void Stop();
  const std::string& LinkPath() const { return link_; }

 private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
  int master_ = -1;
  int slave_ = -1;
  std::string link_;
};

}  // namespace ecg::recording
