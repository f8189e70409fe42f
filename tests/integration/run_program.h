#pragma once
// Runs a program with arguments and collects its exit code and output.

#include <string>
#include <vector>

namespace ecg::test {

struct ProgramResult {
  int exit_code = -1;
  std::string out;
  std::string err;
};

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args);

}  // namespace ecg::test
