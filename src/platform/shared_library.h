#pragma once
// Loading our companion shared libraries by the names the component asks for.
// "Name.dll" becomes "libName.so"; it is looked for in the folder of the
// module that asks, then in each folder of $ECG_LIBRARY_PATH (colon
// separated), then by the system's own search.

#include <string>

namespace ecg::platform {

// "QORSYS32.dll" -> "libQORSYS32.so"; names already in the Linux form are kept.
std::string SharedLibraryFileName(const std::string& name);

class SharedLibrary {
 public:
  SharedLibrary() = default;
  ~SharedLibrary() { Unload(); }
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;
  SharedLibrary(SharedLibrary&& other) noexcept;
  SharedLibrary& operator=(SharedLibrary&& other) noexcept;

  // False with error 2 (file not found) when no candidate loads; the loader's
  // message is kept in error_text().
  bool Load(const std::string& name);
  void Unload();
  bool loaded() const { return handle_ != nullptr; }
  // The file the library was loaded from.
  const std::string& path() const { return path_; }
  const std::string& error_text() const { return error_; }

  // Null when the symbol is missing.
  void* Symbol(const char* symbol) const;
  template <typename F>
  F Function(const char* symbol) const {
    return reinterpret_cast<F>(Symbol(symbol));
  }

 private:
  void* handle_ = nullptr;
  std::string path_;
  std::string error_;
};

}  // namespace ecg::platform
