#include "cable_sim_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <thread>

extern char** environ;

namespace ecg::test {

CableSimProcess::CableSimProcess(const std::string& program, const std::string& com_dir, int port,
                                 int seed, const std::vector<std::string>& args) {
  link_ = com_dir + "/COM" + std::to_string(port);
  std::vector<std::string> all = {program, "--port", std::to_string(port), "--seed", std::to_string(seed)};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
  posix_spawn_file_actions_destroy(&actions);
  for (int i = 0; i < 500 && pid_ > 0 && !Ready(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

CableSimProcess::~CableSimProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
  }
}

bool CableSimProcess::Ready() const {
  struct stat st {};
  return pid_ > 0 && lstat(link_.c_str(), &st) == 0;
}

}  // namespace ecg::test
