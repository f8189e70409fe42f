#include "platform/shared_library.h"

#include <dlfcn.h>
#include <link.h>
#include <sys/stat.h>

#include <cstdlib>
#include <vector>

#include "platform/folders.h"
#include "platform/last_error.h"

namespace ecg::platform {

std::string SharedLibraryFileName(const std::string& name) {
  std::string base = name;
  auto slash = base.find_last_of("/\\");
  if (slash != std::string::npos) base = base.substr(slash + 1);
  if (base.size() > 4) {
    std::string ext = base.substr(base.size() - 4);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".dll") return "lib" + base.substr(0, base.size() - 4) + ".so";
  }
  return base;
}

SharedLibrary::SharedLibrary(SharedLibrary&& other) noexcept
    : handle_(other.handle_), path_(std::move(other.path_)), error_(std::move(other.error_)) {
  other.handle_ = nullptr;
}

SharedLibrary& SharedLibrary::operator=(SharedLibrary&& other) noexcept {
  if (this != &other) {
    Unload();
    handle_ = other.handle_;
    path_ = std::move(other.path_);
    error_ = std::move(other.error_);
    other.handle_ = nullptr;
  }
  return *this;
}

bool SharedLibrary::Load(const std::string& name) {
  Unload();
  error_.clear();
  std::string file = SharedLibraryFileName(name);
  std::vector<std::string> candidates;
  if (file.find('/') == std::string::npos) {
    candidates.push_back(ModuleFolder() + "/" + file);
    if (const char* env = std::getenv("ECG_LIBRARY_PATH")) {
      std::string all(env);
      size_t start = 0;
      while (start <= all.size()) {
        size_t end = all.find(':', start);
        if (end == std::string::npos) end = all.size();
        if (end > start) candidates.push_back(all.substr(start, end - start) + "/" + file);
        start = end + 1;
      }
    }
  }
  candidates.push_back(file);  // the system's search (or a path as given)
  for (const auto& candidate : candidates) {
    if (candidate.find('/') != std::string::npos) {
      struct stat st {};
      if (::stat(candidate.c_str(), &st) != 0) continue;
    }
    void* handle = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle != nullptr) {
      handle_ = handle;
      char origin[4096];
      if (::dlinfo(handle, RTLD_DI_ORIGIN, origin) == 0) {
        path_ = std::string(origin) + "/" + file;
      } else {
        path_ = candidate;
      }
      return true;
    }
    const char* why = ::dlerror();
    if (why != nullptr) error_ = why;
  }
  if (error_.empty()) error_ = file + ": not found";
  return Fail(kErrorFileNotFound);
}

void SharedLibrary::Unload() {
  if (handle_ != nullptr) ::dlclose(handle_);
  handle_ = nullptr;
  path_.clear();
}

void* SharedLibrary::Symbol(const char* symbol) const {
  if (handle_ == nullptr || symbol == nullptr) return nullptr;
  return ::dlsym(handle_, symbol);
}

}  // namespace ecg::platform
