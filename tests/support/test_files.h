#pragma once
// Files for tests: a fresh folder per test, and the shared reference data.

#include <cstdint>
#include <string>
#include <vector>

namespace ecg::test {

// A new empty folder under the build tree, removed with its contents when
// the object goes (unless ECG_KEEP_TEST_FILES is set).
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  // Writes bytes to a file in the folder and returns its path.
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const;

 private:
  std::string path_;
};

std::vector<uint8_t> ReadFile(const std::string& path);

// The shared reference data folder ($ECG_SHARED_DIR or the one next to the
// source tree); empty when it is absent.
std::string SharedDataFolder();

// Where tests leave pictures and files for a person to look at.
std::string TestOutputFolder();

}  // namespace ecg::test
