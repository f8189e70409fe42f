#include "analysis/statement_catalog.h"

#include <cstdlib>
#include <string_view>

#include "platform/byte_stream.h"
#include "platform/folders.h"
#include "platform/last_error.h"

#ifndef ECG_STATEMENTS_BUILD_DIR
#define ECG_STATEMENTS_BUILD_DIR ""
#endif

using namespace ecg::platform;

namespace ecg::analysis {

namespace {

constexpr const char* kLanguageLibraries[kLanguageCount] = {
    "QORSYSEN.dll", "QORSYSFR.dll", "QORSYSDU.dll", "QORSYSIT.dll",
    "QORSYSSP.dll", "QORSYSPO.dll", "QORSYSJP.dll",
};

// Strict UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF)
// into UTF-16. False on the first invalid sequence.
bool DecodeUtf8(std::string_view in, std::u16string& out) {
  out.clear();
  size_t i = 0;
  while (i < in.size()) {
    const auto b0 = static_cast<uint8_t>(in[i]);
    uint32_t c = 0;
    size_t n = 0;
    uint32_t min = 0;
    if (b0 < 0x80) {
      c = b0;
    } else if ((b0 & 0xE0) == 0xC0) {
      c = b0 & 0x1F, n = 1, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
      c = b0 & 0x0F, n = 2, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
      c = b0 & 0x07, n = 3, min = 0x10000;
    } else {
      return false;
    }
    if (n > 0 && i + n >= in.size()) return false;  // cut short
    for (size_t k = 1; k <= n; ++k) {
      const auto b = static_cast<uint8_t>(in[i + k]);
      if ((b & 0xC0) != 0x80) return false;
      c = (c << 6) | (b & 0x3F);
    }
    if (n > 0 && c < min) return false;
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    if (c >= 0x10000) {
      c -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
    i += n + 1;
  }
  return true;
}

// C0 controls, DEL and the C1 controls.
bool IsControl(char16_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

}  // namespace

const char* LanguageLibraryName(int32_t language) {
  if (language < 0 || language >= kLanguageCount) return nullptr;
  return kLanguageLibraries[language];
}

std::string CatalogFileName(int32_t language) {
  const char* library = LanguageLibraryName(language);
  if (library == nullptr) return {};
  std::string name(library);
  return name.substr(0, name.size() - 4) + ".txt";
}

std::vector<std::string> StatementFolders() {
  const char* override_folder = std::getenv("ECG_STATEMENTS_DIR");
  if (override_folder != nullptr && *override_folder != '\0') return {override_folder};
  std::vector<std::string> folders = {ModuleFolder() + "/statements"};
  const std::string built = ECG_STATEMENTS_BUILD_DIR;
  if (!built.empty()) folders.push_back(built);
  return folders;
}

const char* CatalogFaultText(CatalogFault fault) {
  switch (fault) {
    case CatalogFault::kNone: return "no fault";
    case CatalogFault::kTooLarge: return "file too large";
    case CatalogFault::kNotUtf8: return "not UTF-8 text";
    case CatalogFault::kBadId: return "bad statement id";
    case CatalogFault::kMissingTab: return "no tab after the id";
    case CatalogFault::kEmptyText: return "empty statement text";
    case CatalogFault::kTextTooLong: return "statement text longer than 255 characters";
    case CatalogFault::kControlCharacter: return "control character in the statement text";
    case CatalogFault::kDuplicateId: return "duplicate statement id";
  }
  return "unknown fault";
}

bool StatementCatalog::Refuse(CatalogFault fault, uint32_t line) {
  texts_.clear();
  fault_ = fault;
  fault_line_ = line;
  return Fail(fault == CatalogFault::kTooLarge ? kErrorOutOfMemory : kErrorBadFormat);
}

bool StatementCatalog::Parse(std::span<const uint8_t> bytes) {
  texts_.clear();
  fault_ = CatalogFault::kNone;
  fault_line_ = 0;
  if (bytes.size() > kMaxFileSize) return Refuse(CatalogFault::kTooLarge, 0);
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);

  uint32_t line_number = 0;
  std::u16string decoded;
  while (!text.empty()) {
    ++line_number;
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;

    size_t digits = 0;
    uint32_t id = 0;
    while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9') {
      if (digits == 5) return Refuse(CatalogFault::kBadId, line_number);
      id = id * 10 + static_cast<uint32_t>(line[digits] - '0');
      ++digits;
    }
    if (digits == 0 || id > 0xFFFF) return Refuse(CatalogFault::kBadId, line_number);
    if (digits == line.size() || line[digits] != '\t') {
      // "50a1<TAB>..." has a bad id; "5001 ..." lacks its tab.
      const bool tab_later = line.find('\t', digits) != std::string_view::npos;
      return Refuse(tab_later ? CatalogFault::kBadId : CatalogFault::kMissingTab, line_number);
    }
    const std::string_view value = line.substr(digits + 1);
    if (value.empty()) return Refuse(CatalogFault::kEmptyText, line_number);
    if (!DecodeUtf8(value, decoded)) return Refuse(CatalogFault::kNotUtf8, line_number);
    for (char16_t c : decoded) {
      if (IsControl(c)) return Refuse(CatalogFault::kControlCharacter, line_number);
    }
    if (decoded.size() > kMaxTextLength) return Refuse(CatalogFault::kTextTooLong, line_number);
    if (!texts_.emplace(static_cast<uint16_t>(id), decoded).second) {
      return Refuse(CatalogFault::kDuplicateId, line_number);
    }
  }
  SetLastError(kErrorSuccess);
  return true;
}

bool StatementCatalog::Load(const std::string& path) {
  texts_.clear();
  path_.clear();
  fault_ = CatalogFault::kNone;
  fault_line_ = 0;
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes, kMaxFileSize)) {
    if (GetLastError() == kErrorOutOfMemory) fault_ = CatalogFault::kTooLarge;
    return false;
  }
  if (!Parse(bytes)) return false;
  path_ = path;
  return true;
}

bool StatementCatalog::LoadLanguage(int32_t language) {
  texts_.clear();
  path_.clear();
  const std::string file = CatalogFileName(language);
  if (file.empty()) return Fail(kErrorInvalidParameter);
  for (const std::string& folder : StatementFolders()) {
    const std::string candidate = folder + "/" + file;
    auto stream = PosixFile::Open(candidate, FileMode::kRead);
    if (!stream) {
      if (GetLastError() == kErrorFileNotFound || GetLastError() == kErrorPathNotFound) continue;
      return false;
    }
    stream.reset();
    return Load(candidate);
  }
  return Fail(kErrorFileNotFound);
}

const std::u16string* StatementCatalog::Find(uint32_t id) const {
  if (id > 0xFFFF) return nullptr;
  auto it = texts_.find(static_cast<uint16_t>(id));
  return it == texts_.end() ? nullptr : &it->second;
}

}  // namespace ecg::analysis
