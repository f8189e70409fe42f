#pragma once
// The cable simulator as a child process serving COM<port> (a link to its
// pseudo-terminal) in a test's port folder; stopped when the object goes.

#include <sys/types.h>

#include <string>
#include <vector>

namespace ecg::test {

class CableSimProcess {
 public:
  // Starts `program` with --port and --seed and the extra arguments, and
  // waits up to five seconds for the port's link to appear.
  CableSimProcess(const std::string& program, const std::string& com_dir, int port, int seed,
                  const std::vector<std::string>& args = {});
  ~CableSimProcess();
  CableSimProcess(const CableSimProcess&) = delete;
  CableSimProcess& operator=(const CableSimProcess&) = delete;

  // Whether the process runs and its port's link is there.
  bool Ready() const;

 private:
  pid_t pid_ = -1;
  std::string link_;
};

}  // namespace ecg::test
