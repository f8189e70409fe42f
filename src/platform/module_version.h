#pragma once
// Version tables carried by our modules (programs and shared libraries).
//
// Each module defines one table with ECG_MODULE_VERSION_TABLE in one of its
// own source files. The table lands in the ELF section ".ecg_version", so
// it can be read from the file without loading or running it. Its contents
// are NUL-terminated strings: a block key (language and code page as eight
// hex digits, "040904E4" or "040904B0"), then name/value pairs, then an empty
// string that ends the block; an empty block key ends the table.

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>

#define ECG_MODULE_VERSION_TABLE(contents)                                        \
  extern "C" __attribute__((section(".ecg_version"), used, visibility("default"))) \
  const char ecg_module_version_table[] = contents "\0"

namespace ecg::platform {

constexpr uint32_t kVersionLangUsAnsi = 0x040904E4;     // US English, Windows-1252
constexpr uint32_t kVersionLangUsUnicode = 0x040904B0;  // US English, Unicode

// Language/code page -> (name -> value).
using VersionTable = std::map<uint32_t, std::map<std::string, std::string>>;

// Reads the table of a module file. Errors: 2/3/5 the file cannot be opened,
// 11 not an ELF file we read, 232 the file has no version table, 13 a table
// or header that contradicts the file.
bool ReadModuleVersionTable(const std::string& path, VersionTable& table);

// The same from the bytes of a module file.
bool ParseModuleVersionTable(std::span<const uint8_t> file, VersionTable& table);

// One value, looked up under 040904E4 and then 040904B0 ("FileVersion" ...).
bool QueryModuleVersion(const std::string& path, std::string_view name, std::string& value);

}  // namespace ecg::platform
