#include "support/test_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace ecg::test {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  fs::path base = fs::path(ECG_TEST_BINARY_DIR) / "test-tmp";
  fs::create_directories(base);
  std::string pattern = (base / "t-XXXXXX").string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (::mkdtemp(name.data()) == nullptr) std::abort();
  path_ = name.data();
}

TempFolder::~TempFolder() {
  if (std::getenv("ECG_KEEP_TEST_FILES") == nullptr) {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
}

std::string TempFolder::Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
  std::string file = File(name);
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return file;
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string SharedDataFolder() {
  const char* env = std::getenv("ECG_SHARED_DIR");
  std::string dir = env != nullptr && *env != '\0' ? env : ECG_SHARED_DIR_DEFAULT;
  std::error_code ec;
  if (!fs::is_directory(fs::path(dir) / "data", ec)) return {};
  return (fs::path(dir) / "data").string();
}

std::string TestOutputFolder() {
  fs::path dir = fs::path(ECG_TEST_BINARY_DIR) / "test-output";
  fs::create_directories(dir);
  return dir.string();
}

}  // namespace ecg::test
