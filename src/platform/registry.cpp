#include "platform/registry.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <strings.h>
#include <vector>

#include "platform/byte_stream.h"
#include "platform/folders.h"
#include "platform/last_error.h"

namespace ecg::platform {

namespace {

constexpr uint64_t kMaxKeyFileSize = 1 << 20;

std::string HiveRoot(RegistryHive hive) {
  if (hive == RegistryHive::kCurrentUser) {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && *xdg == '/') return xdg;
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.config";
  }
  const char* dirs = std::getenv("XDG_CONFIG_DIRS");
  if (dirs != nullptr && *dirs == '/') {
    std::string all(dirs);
    return all.substr(0, all.find(':'));
  }
  return "/etc/xdg";
}

std::vector<std::string> SplitKeyPath(std::string_view key_path) {
  std::vector<std::string> parts;
  std::string current;
  for (char c : key_path) {
    if (c == '\\' || c == '/') {
      if (!current.empty()) parts.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) parts.push_back(current);
  return parts;
}

// The entry of a folder whose name equals `name` without regard to case;
// `name` itself when there is none.
std::string MatchEntry(const std::string& folder, const std::string& name) {
  struct stat st {};
  if (::stat((folder + "/" + name).c_str(), &st) == 0) return name;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return name;
  std::string found = name;
  while (dirent* entry = ::readdir(dir)) {
    if (::strcasecmp(entry->d_name, name.c_str()) == 0) {
      found = entry->d_name;
      break;
    }
  }
  ::closedir(dir);
  return found;
}

std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
  return std::string(s.substr(b, e - b));
}

struct IniLine {
  std::string text;
  std::string name;  // empty for lines that are not values
  std::string value;
};

bool ReadKeyFile(const std::string& file, std::vector<IniLine>& lines) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(file, bytes, kMaxKeyFileSize)) return false;
  std::string_view all(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  size_t start = 0;
  while (start < all.size()) {
    size_t end = all.find('\n', start);
    if (end == std::string_view::npos) end = all.size();
    IniLine line;
    line.text = std::string(all.substr(start, end - start));
    std::string trimmed = Trim(line.text);
    if (!trimmed.empty() && trimmed[0] != ';' && trimmed[0] != '#' && trimmed[0] != '[') {
      size_t eq = trimmed.find('=');
      if (eq != std::string::npos && eq > 0) {
        line.name = Trim(std::string_view(trimmed).substr(0, eq));
        line.value = Trim(std::string_view(trimmed).substr(eq + 1));
      }
    }
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return true;
}

std::optional<std::string> FindValue(const std::vector<IniLine>& lines, std::string_view name) {
  std::optional<std::string> found;
  for (const auto& line : lines) {
    if (!line.name.empty() && line.name.size() == name.size() &&
        ::strncasecmp(line.name.c_str(), name.data(), name.size()) == 0) {
      found = line.value;  // the last one wins
    }
  }
  return found;
}

bool ReadRaw(RegistryHive hive, std::string_view key_path, std::string_view value_name,
             std::string& value) {
  std::vector<IniLine> lines;
  if (!ReadKeyFile(RegistryKeyFile(hive, key_path), lines)) return false;
  auto found = FindValue(lines, value_name);
  if (!found) return Fail(kErrorFileNotFound);
  value = *found;
  return true;
}

bool WriteRaw(RegistryHive hive, std::string_view key_path, std::string_view value_name,
              const std::string& raw) {
  if (value_name.empty() || value_name.find_first_of("=\n\r") != std::string_view::npos ||
      raw.find_first_of("\n\r") != std::string::npos) {
    return Fail(kErrorInvalidParameter);
  }
  std::string file = RegistryKeyFile(hive, key_path);
  if (!MakeFolders(file.substr(0, file.find_last_of('/')))) return false;
  std::vector<IniLine> lines;
  if (!ReadKeyFile(file, lines) && GetLastError() != kErrorFileNotFound) return false;
  std::string out;
  bool replaced = false;
  for (const auto& line : lines) {
    if (!line.name.empty() && line.name.size() == value_name.size() &&
        ::strncasecmp(line.name.c_str(), value_name.data(), value_name.size()) == 0) {
      if (!replaced) out += std::string(value_name) + "=" + raw + "\n";
      replaced = true;
      continue;
    }
    if (&line == &lines.back() && line.text.empty()) break;  // the final newline
    out += line.text + "\n";
  }
  if (!replaced) out += std::string(value_name) + "=" + raw + "\n";
  return ReplaceFileContents(file, std::span<const uint8_t>(
                                       reinterpret_cast<const uint8_t*>(out.data()), out.size()));
}

}  // namespace

std::string RegistryKeyFile(RegistryHive hive, std::string_view key_path) {
  std::string path = HiveRoot(hive);
  auto parts = SplitKeyPath(key_path);
  for (size_t i = 0; i < parts.size(); ++i) {
    std::string name = parts[i] + (i + 1 == parts.size() ? ".ini" : "");
    path += "/" + MatchEntry(path, name);
  }
  return path;
}

bool RegistryKeyExists(RegistryHive hive, std::string_view key_path) {
  struct stat st {};
  return ::stat(RegistryKeyFile(hive, key_path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool RegistryReadString(RegistryHive hive, std::string_view key_path,
                        std::string_view value_name, std::string& value) {
  std::string raw;
  if (!ReadRaw(hive, key_path, value_name, raw)) return false;
  if (raw.size() >= 2 && raw.front() == '"' && raw.back() == '"') raw = raw.substr(1, raw.size() - 2);
  value = raw;
  return true;
}

bool RegistryReadDword(RegistryHive hive, std::string_view key_path,
                       std::string_view value_name, uint32_t& value) {
  std::string raw;
  if (!ReadRaw(hive, key_path, value_name, raw)) return false;
  const char* digits = raw.c_str();
  int base = 10;
  if (::strncasecmp(digits, "dword:", 6) == 0) {
    digits += 6;
    base = 16;
  }
  if (*digits == '\0') return Fail(kErrorInvalidData);
  char* end = nullptr;
  errno = 0;
  unsigned long long n = std::strtoull(digits, &end, base);
  if (errno != 0 || *end != '\0' || n > UINT32_MAX || *digits == '-') return Fail(kErrorInvalidData);
  value = static_cast<uint32_t>(n);
  return true;
}

bool RegistryWriteString(RegistryHive hive, std::string_view key_path,
                         std::string_view value_name, std::string_view value) {
  return WriteRaw(hive, key_path, value_name, std::string(value));
}

bool RegistryWriteDword(RegistryHive hive, std::string_view key_path,
                        std::string_view value_name, uint32_t value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "dword:%08x", value);
  return WriteRaw(hive, key_path, value_name, buffer);
}

}  // namespace ecg::platform
