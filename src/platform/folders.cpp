#include "platform/folders.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

#include "platform/byte_stream.h"
#include "platform/last_error.h"

namespace ecg::platform {

namespace {

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  return home != nullptr ? home : "";
}

std::string StripSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// XDG_DOCUMENTS_DIR="$HOME/Docs" from user-dirs.dirs.
std::string FromUserDirsFile() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::string config = (xdg != nullptr && *xdg == '/') ? xdg : HomeFolder() + "/.config";
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(config + "/user-dirs.dirs", bytes, 1 << 16)) return {};
  std::string text(bytes.begin(), bytes.end());
  const std::string key = "XDG_DOCUMENTS_DIR=\"";
  size_t at = text.find(key);
  if (at == std::string::npos || (at > 0 && text[at - 1] != '\n')) return {};
  size_t begin = at + key.size();
  size_t end = text.find('"', begin);
  if (end == std::string::npos) return {};
  std::string value = text.substr(begin, end - begin);
  if (value.rfind("$HOME", 0) == 0) value = HomeFolder() + value.substr(5);
  return value.empty() || value[0] != '/' ? std::string() : value;
}

}  // namespace

std::string DocumentsFolder() {
  for (const char* name : {"ECG_DOCUMENTS_DIR", "XDG_DOCUMENTS_DIR"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return StripSlash(value);
  }
  std::string from_file = FromUserDirsFile();
  if (!from_file.empty()) return StripSlash(from_file);
  return HomeFolder() + "/Documents";
}

bool MakeFolders(const std::string& path) {
  if (path.empty()) return Fail(kErrorInvalidParameter);
  for (size_t i = 1; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '/') {
      std::string part = path.substr(0, i);
      if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return Fail(ErrorFromErrno(errno));
    }
  }
  return true;
}

std::string TidemarkFolder() {
  std::string folder = DocumentsFolder() + "/Tidemark";
  return MakeFolders(folder) ? folder : std::string();
}

std::string ModulePath() {
  Dl_info info{};
  if (::dladdr(reinterpret_cast<void*>(&ModulePath), &info) != 0 && info.dli_fname != nullptr) {
    char resolved[PATH_MAX];
    if (::realpath(info.dli_fname, resolved) != nullptr) return resolved;
    return info.dli_fname;
  }
  return {};
}

std::string ModuleFolder() {
  std::string path = ModulePath();
  auto slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

}  // namespace ecg::platform
