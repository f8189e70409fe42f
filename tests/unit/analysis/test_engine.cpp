// A stand-in for the analysis library (libQORSYS32.so), built for the tests
// only. It does what its test tells it through the folder named by
// $ECG_TEST_ENGINE_CONTROL:
//   events      it appends "load", "call <mode> <path>" and "unload" lines;
//   seen.scp    it leaves a copy of the working copy it was given;
//   output.scp  when present, it becomes the working copy's contents (the
//               "analysed" record the test built);
//   result      the code it returns (a decimal number; 0 when absent).
// It also leaves the side file "<working copy>temp.tmp" behind, as the
// library may, so the test can see that the component removes it.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string ControlFile(const char* name) {
  const char* folder = std::getenv("ECG_TEST_ENGINE_CONTROL");
  if (folder == nullptr || *folder == '\0') return {};
  return std::string(folder) + "/" + name;
}

void AppendEvent(const std::string& line) {
  const std::string path = ControlFile("events");
  if (path.empty()) return;
  if (FILE* f = std::fopen(path.c_str(), "a")) {
    std::fprintf(f, "%s\n", line.c_str());
    std::fclose(f);
  }
}

bool ReadBytes(const std::string& path, std::vector<unsigned char>& out) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return false;
  out.clear();
  unsigned char buffer[4096];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) out.insert(out.end(), buffer, buffer + got);
  std::fclose(f);
  return true;
}

bool WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

struct LoadEvents {
  LoadEvents() { AppendEvent("load"); }
  ~LoadEvents() { AppendEvent("unload"); }
} g_load_events;

}  // namespace

extern "C" __attribute__((visibility("default"))) int16_t ScpAnalysis32(const char* path,
                                                                         int32_t mode) {
  AppendEvent("call " + std::to_string(mode) + " " + (path != nullptr ? path : "(null)"));
  if (path == nullptr) return 99;
  std::vector<unsigned char> bytes;
  if (ReadBytes(path, bytes)) WriteBytes(ControlFile("seen.scp"), bytes);
  WriteBytes(std::string(path) + "temp.tmp", {'x'});
  if (ReadBytes(ControlFile("output.scp"), bytes) && !WriteBytes(path, bytes)) return 98;
  std::vector<unsigned char> result;
  if (!ReadBytes(ControlFile("result"), result)) return 0;
  return static_cast<int16_t>(std::atoi(std::string(result.begin(), result.end()).c_str()));
}
