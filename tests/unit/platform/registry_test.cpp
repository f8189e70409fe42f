#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/last_error.h"
#include "platform/registry.h"
#include "support/test_files.h"

using namespace ecg::platform;

namespace {

// Points both hives at folders of a temporary tree for one test.
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    user_ = folder_.File("user");
    machine_ = folder_.File("machine");
    std::filesystem::create_directories(user_);
    std::filesystem::create_directories(machine_);
    ::setenv("XDG_CONFIG_HOME", user_.c_str(), 1);
    ::setenv("XDG_CONFIG_DIRS", (machine_ + ":/etc/xdg").c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("XDG_CONFIG_DIRS");
  }
  void WriteFile(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path) << text;
  }

  ecg::test::TempFolder folder_;
  std::string user_, machine_;
};

constexpr const char* kKey = "SOFTWARE\\Harbinlow\\Still_Water";

TEST_F(RegistryTest, KeyPathsBecomeIniFilesPerHive) {
  EXPECT_EQ(RegistryKeyFile(RegistryHive::kCurrentUser, kKey),
            user_ + "/SOFTWARE/Harbinlow/Still_Water.ini");
  EXPECT_EQ(RegistryKeyFile(RegistryHive::kLocalMachine, kKey),
            machine_ + "/SOFTWARE/Harbinlow/Still_Water.ini");
}

TEST_F(RegistryTest, NamesMatchWithoutRegardToCase) {
  WriteFile(user_ + "/Software/harbinlow/STILL_WATER.ini",
            "; comment\n[Values]\nStillwaterLanguage = StillwaterFra.dll\r\nStillwaterRegion=dword:0000001e\n");
  std::string text;
  ASSERT_TRUE(RegistryReadString(RegistryHive::kCurrentUser, kKey, "stillwaterlanguage", text));
  EXPECT_EQ(text, "StillwaterFra.dll");
  uint32_t number = 0;
  ASSERT_TRUE(RegistryReadDword(RegistryHive::kCurrentUser, kKey, "StillwaterRegion", number));
  EXPECT_EQ(number, 30u);
}

TEST_F(RegistryTest, MissingKeysAndValuesAndBadNumbers) {
  std::string text;
  EXPECT_FALSE(RegistryReadString(RegistryHive::kCurrentUser, kKey, "X", text));
  EXPECT_EQ(GetLastError(), kErrorFileNotFound);
  WriteFile(machine_ + "/SOFTWARE/Harbinlow/Still_Water.ini", "A=12\nB=dword:zz\nC=-1\nD=99999999999\n");
  EXPECT_FALSE(RegistryReadString(RegistryHive::kLocalMachine, kKey, "Missing", text));
  EXPECT_EQ(GetLastError(), kErrorFileNotFound);
  uint32_t n = 0;
  ASSERT_TRUE(RegistryReadDword(RegistryHive::kLocalMachine, kKey, "A", n));
  EXPECT_EQ(n, 12u);
  for (const char* bad : {"B", "C", "D"}) {
    EXPECT_FALSE(RegistryReadDword(RegistryHive::kLocalMachine, kKey, bad, n)) << bad;
    EXPECT_EQ(GetLastError(), kErrorInvalidData) << bad;
  }
}

TEST_F(RegistryTest, WritesKeepOtherValuesAndReadBack) {
  ASSERT_TRUE(RegistryWriteString(RegistryHive::kCurrentUser, kKey, "StillwaterLanguage", "X.dll"));
  ASSERT_TRUE(RegistryWriteDword(RegistryHive::kCurrentUser, kKey, "StillwaterRegion", 7));
  ASSERT_TRUE(RegistryWriteString(RegistryHive::kCurrentUser, kKey, "stillwaterlanguage", "Y.dll"));
  std::string text;
  ASSERT_TRUE(RegistryReadString(RegistryHive::kCurrentUser, kKey, "StillwaterLanguage", text));
  EXPECT_EQ(text, "Y.dll");
  uint32_t n = 0;
  ASSERT_TRUE(RegistryReadDword(RegistryHive::kCurrentUser, kKey, "StillwaterRegion", n));
  EXPECT_EQ(n, 7u);
  EXPECT_TRUE(RegistryKeyExists(RegistryHive::kCurrentUser, kKey));
  EXPECT_FALSE(RegistryKeyExists(RegistryHive::kLocalMachine, kKey));
  EXPECT_FALSE(RegistryWriteString(RegistryHive::kCurrentUser, kKey, "Bad=Name", "v"));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_FALSE(RegistryWriteString(RegistryHive::kCurrentUser, kKey, "Name", "two\nlines"));
}

}  // namespace
