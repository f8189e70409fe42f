#include "platform/module_version.h"

#include <cstring>
#include <vector>

#include "platform/byte_stream.h"
#include "platform/last_error.h"

namespace ecg::platform {

namespace {

constexpr uint64_t kMaxModuleSize = uint64_t{1} << 30;
constexpr char kSectionName[] = ".ecg_version";

class Bytes {
 public:
  explicit Bytes(std::span<const uint8_t> data) : data_(data) {}
  bool Has(uint64_t offset, uint64_t count) const {
    return offset <= data_.size() && count <= data_.size() - offset;
  }
  uint64_t U(uint64_t offset, int width) const {  // little-endian, caller checked Has
    uint64_t v = 0;
    for (int i = width - 1; i >= 0; --i) v = (v << 8) | data_[offset + static_cast<uint64_t>(i)];
    return v;
  }
  std::span<const uint8_t> Span(uint64_t offset, uint64_t count) const {
    return data_.subspan(static_cast<size_t>(offset), static_cast<size_t>(count));
  }

 private:
  std::span<const uint8_t> data_;
};

bool ParseTableText(std::span<const uint8_t> text, VersionTable& table) {
  // Split into NUL-terminated strings; an unterminated tail is invalid.
  std::vector<std::string> strings;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == 0) {
      strings.emplace_back(reinterpret_cast<const char*>(text.data() + start), i - start);
      start = i + 1;
    }
  }
  size_t i = 0;
  while (i < strings.size() && !strings[i].empty()) {
    const std::string& key = strings[i++];
    if (key.size() != 8) return Fail(kErrorInvalidData);
    char* end = nullptr;
    unsigned long lang = std::strtoul(key.c_str(), &end, 16);
    if (*end != '\0') return Fail(kErrorInvalidData);
    auto& block = table[static_cast<uint32_t>(lang)];
    while (i < strings.size() && !strings[i].empty()) {
      if (i + 1 >= strings.size()) return Fail(kErrorInvalidData);
      block[strings[i]] = strings[i + 1];
      i += 2;
    }
    ++i;  // the empty string that ends the block
  }
  if (table.empty()) return Fail(kErrorNoData);
  return true;
}

}  // namespace

bool ParseModuleVersionTable(std::span<const uint8_t> file, VersionTable& table) {
  table.clear();
  Bytes b(file);
  // ELF identification: 64-bit little-endian only (the platform we build for).
  if (!b.Has(0, 64) || std::memcmp(file.data(), "\x7f" "ELF", 4) != 0) return Fail(kErrorBadFormat);
  if (file[4] != 2 || file[5] != 1) return Fail(kErrorBadFormat);
  uint64_t shoff = b.U(0x28, 8);
  uint64_t shentsize = b.U(0x3A, 2);
  uint64_t shnum = b.U(0x3C, 2);
  uint64_t shstrndx = b.U(0x3E, 2);
  if (shnum == 0) return Fail(kErrorNoData);
  if (shentsize < 64 || shstrndx >= shnum || shnum > 65535) return Fail(kErrorInvalidData);
  if (shoff > file.size() || shnum * shentsize > file.size() - shoff) return Fail(kErrorInvalidData);

  auto header = [&](uint64_t index) { return shoff + index * shentsize; };
  uint64_t names_offset = b.U(header(shstrndx) + 0x18, 8);
  uint64_t names_size = b.U(header(shstrndx) + 0x20, 8);
  if (!b.Has(names_offset, names_size)) return Fail(kErrorInvalidData);
  auto names = b.Span(names_offset, names_size);

  for (uint64_t i = 0; i < shnum; ++i) {
    uint64_t h = header(i);
    uint64_t name = b.U(h, 4);
    if (name >= names.size()) continue;
    size_t max = names.size() - static_cast<size_t>(name);
    size_t len = strnlen(reinterpret_cast<const char*>(names.data() + name), max);
    if (len == max) continue;
    if (std::string_view(reinterpret_cast<const char*>(names.data() + name), len) != kSectionName) {
      continue;
    }
    uint64_t type = b.U(h + 4, 4);
    uint64_t offset = b.U(h + 0x18, 8);
    uint64_t size = b.U(h + 0x20, 8);
    if (type == 8 /* SHT_NOBITS */ || !b.Has(offset, size)) return Fail(kErrorInvalidData);
    return ParseTableText(b.Span(offset, size), table);
  }
  return Fail(kErrorNoData);
}

bool ReadModuleVersionTable(const std::string& path, VersionTable& table) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes, kMaxModuleSize)) return false;
  return ParseModuleVersionTable(bytes, table);
}

bool QueryModuleVersion(const std::string& path, std::string_view name, std::string& value) {
  VersionTable table;
  if (!ReadModuleVersionTable(path, table)) return false;
  for (uint32_t lang : {kVersionLangUsAnsi, kVersionLangUsUnicode}) {
    auto block = table.find(lang);
    if (block == table.end()) continue;
    auto entry = block->second.find(std::string(name));
    if (entry != block->second.end()) {
      value = entry->second;
      return true;
    }
  }
  return Fail(kErrorNoData);
}

}  // namespace ecg::platform
