#include "platform/ini_file.h"

#include <strings.h>

#include <climits>
#include <new>

#include "platform/byte_stream.h"
#include "platform/last_error.h"

namespace ecg::platform {

namespace {

std::string_view Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
  return s.substr(b, e - b);
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && ::strncasecmp(a.data(), b.data(), a.size()) == 0;
}

}  // namespace

bool IniFile::Parse(std::span<const uint8_t> bytes) {
  entries_.clear();
  if (bytes.size() > kMaxFileSize) return Fail(kErrorOutOfMemory);
  std::string_view all(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (all.find('\0') != std::string_view::npos) return Fail(kErrorInvalidData);
  if (all.substr(0, 3) == "\xEF\xBB\xBF") all.remove_prefix(3);

  std::vector<Entry> entries;
  try {
    std::string section;
    size_t start = 0;
    while (start < all.size()) {
      size_t end = all.find('\n', start);
      if (end == std::string_view::npos) end = all.size();
      std::string_view line = Trim(all.substr(start, end - start));
      start = end + 1;
      if (line.empty() || line[0] == ';' || line[0] == '#') continue;
      if (line[0] == '[') {
        // A header without its ']' names the rest of the line.
        size_t close = line.find(']');
        section = std::string(Trim(line.substr(1, close == std::string_view::npos
                                                       ? std::string_view::npos
                                                       : close - 1)));
        continue;
      }
      size_t eq = line.find('=');
      if (eq == std::string_view::npos) continue;
      std::string_view key = Trim(line.substr(0, eq));
      if (key.empty()) continue;
      entries.push_back(Entry{section, std::string(key), std::string(Trim(line.substr(eq + 1)))});
    }
  } catch (const std::bad_alloc&) {
    return Fail(kErrorOutOfMemory);
  }
  entries_ = std::move(entries);
  return true;
}

bool IniFile::Load(const std::string& path) {
  entries_.clear();
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes, kMaxFileSize)) return false;
  return Parse(bytes);
}

std::optional<std::string> IniFile::Value(std::string_view section, std::string_view key) const {
  for (const auto& entry : entries_) {
    if (SameName(entry.section, section) && SameName(entry.key, key)) return entry.value;
  }
  return std::nullopt;
}

int IniFile::Int(std::string_view section, std::string_view key, int default_value) const {
  auto value = Value(section, key);
  return value ? ParseProfileInt(*value) : default_value;
}

int ParseProfileInt(std::string_view text) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  int64_t magnitude = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > int64_t{INT_MAX} + 1) magnitude = int64_t{INT_MAX} + 1;  // held, no overflow
  }
  int64_t value = negative ? -magnitude : magnitude;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

}  // namespace ecg::platform
