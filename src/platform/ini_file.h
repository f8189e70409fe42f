#pragma once
// Settings files with sections, read the way private profile files were:
//   ; comment
//   [Section]
//   Key=value
// Section and key names match without regard to case and the first
// occurrence of each wins. Lines that are neither a section header nor hold
// a '=' after a non-empty name are ignored, so a damaged file still gives
// what it can. Nothing here throws.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ecg::platform {

class IniFile {
 public:
  // Settings files are small; anything larger is refused.
  static constexpr uint64_t kMaxFileSize = 1 << 20;

  // Replaces the contents with the entries of `bytes`. False, leaving the
  // object empty, with kErrorOutOfMemory when the text is larger than
  // kMaxFileSize and kErrorInvalidData when it holds a NUL byte (a binary or
  // UTF-16 file). A leading UTF-8 byte-order mark is skipped.
  bool Parse(std::span<const uint8_t> bytes);

  // Reads and parses a file; false with the last-error code of the read
  // (kErrorFileNotFound for a missing file) or of Parse.
  bool Load(const std::string& path);

  // The value of a key, trimmed of spaces and tabs, or nothing.
  std::optional<std::string> Value(std::string_view section, std::string_view key) const;

  // A key as a number: optional spaces, an optional sign and decimal digits,
  // anything after them ignored; a value without digits reads as 0 and one
  // out of the int range is held at the range's end. A missing key gives
  // `default_value`.
  int Int(std::string_view section, std::string_view key, int default_value) const;

  size_t size() const { return entries_.size(); }

 private:
  struct Entry {
    std::string section;
    std::string key;
    std::string value;
  };
  std::vector<Entry> entries_;
};

// The numeric reading of a value text as Int() does it.
int ParseProfileInt(std::string_view text);

}  // namespace ecg::platform
