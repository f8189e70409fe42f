#pragma once
// A test fixture whose settings store (both hives) lives in a fresh temporary
// folder and whose host-product flag starts cleared, so option defaults do not
// depend on the machine the tests run on.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "interface/registry_values.h"
#include "support/test_files.h"

namespace ecg::test {

class SettingsSandbox : public ::testing::Test {
 protected:
  void SetUp() override {
    Save("XDG_CONFIG_HOME");
    Save("XDG_CONFIG_DIRS");
    std::filesystem::create_directories(folder_.File("user"));
    std::filesystem::create_directories(folder_.File("machine"));
    ::setenv("XDG_CONFIG_HOME", folder_.File("user").c_str(), 1);
    ::setenv("XDG_CONFIG_DIRS", folder_.File("machine").c_str(), 1);
    g_iStillwaterVersion = 0;
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) {
      if (value) {
        ::setenv(name.c_str(), value->c_str(), 1);
      } else {
        ::unsetenv(name.c_str());
      }
    }
    g_iStillwaterVersion = 0;
  }

  std::string Text(const std::string& path) {
    auto bytes = ReadFile(path);
    return std::string(bytes.begin(), bytes.end());
  }
  std::string WriteText(const std::string& name, const std::string& text) {
    return folder_.Write(name, std::vector<uint8_t>(text.begin(), text.end()));
  }

  TempFolder folder_;

 private:
  void Save(const char* name) {
    const char* value = std::getenv(name);
    saved_.emplace_back(name, value != nullptr ? std::optional<std::string>(value) : std::nullopt);
  }
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace ecg::test
