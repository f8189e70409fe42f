#pragma once
// Interpretation statement catalogs: one UTF-8 text file per language that
// maps a string id to a statement text. They stand in for the language
// libraries "QORSYSEN.dll" ... "QORSYSJP.dll": language index n reads the
// catalog named after library n ("QORSYSEN.txt" for 0, and so on).
//
// Format, one entry per line:
//   # a comment line
//   5001<TAB>Statement text
// An id is 1 to 5 decimal digits (0-65535), followed by exactly one tab and
// a text of 1 to 255 characters without control characters. Blank lines
// and '#' lines are skipped; a leading UTF-8 byte-order mark and "\r\n" line
// ends are accepted. Anything else makes the whole catalog unusable: a
// statement that cannot be read must never be replaced by a wrong one.

#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

namespace ecg::analysis {

constexpr int32_t kLanguageCount = 7;

// "QORSYSEN.dll", "QORSYSFR.dll", "QORSYSDU.dll", "QORSYSIT.dll",
// "QORSYSSP.dll", "QORSYSPO.dll", "QORSYSJP.dll"; null outside 0-6.
const char* LanguageLibraryName(int32_t language);
// The library name with ".txt" in place of ".dll"; empty outside 0-6.
std::string CatalogFileName(int32_t language);
// The folders searched for catalogs, in order: $ECG_STATEMENTS_DIR alone
// when it is set; otherwise "statements" next to the module that holds
// this code, then the build tree's copy of the repository's statements/.
std::vector<std::string> StatementFolders();

// Why a catalog was refused.
enum class CatalogFault {
  kNone,
  kTooLarge,          // more than kMaxFileSize bytes
  kNotUtf8,           // a line is not valid UTF-8
  kBadId,             // no id, a non-digit, more than 5 digits or above 65535
  kMissingTab,        // the id is not followed by a tab
  kEmptyText,         // nothing after the tab
  kTextTooLong,       // more than kMaxTextLength characters
  kControlCharacter,  // a control character (a second tab included) in the text
  kDuplicateId,       // an id given twice
};

// A short English description of a fault, e.g. "duplicate id".
const char* CatalogFaultText(CatalogFault fault);

class StatementCatalog {
 public:
  static constexpr uint64_t kMaxFileSize = 1 << 20;
  // As many characters as a statement string could hold (a 256-byte buffer
  // with its terminator).
  static constexpr size_t kMaxTextLength = 255;

  // Replaces the contents with the entries of `bytes`. False, leaving the
  // catalog empty, with kErrorOutOfMemory for kTooLarge and kErrorBadFormat
  // for every other fault; fault() and fault_line() (1-based) say where.
  bool Parse(std::span<const uint8_t> bytes);
  // Reads and parses a file: false with the read's code (kErrorFileNotFound
  // for a missing file) or that of Parse.
  bool Load(const std::string& path);
  // Finds and loads the catalog of a language: kErrorInvalidParameter
  // outside 0-6, kErrorFileNotFound when no folder holds it.
  bool LoadLanguage(int32_t language);

  // The text of an id, or null when the catalog lacks it.
  const std::u16string* Find(uint32_t id) const;
  size_t size() const { return texts_.size(); }
  const std::unordered_map<uint16_t, std::u16string>& texts() const { return texts_; }
  // The file the catalog came from (empty after Parse alone).
  const std::string& path() const { return path_; }
  CatalogFault fault() const { return fault_; }
  uint32_t fault_line() const { return fault_line_; }

 private:
  bool Refuse(CatalogFault fault, uint32_t line);

  std::unordered_map<uint16_t, std::u16string> texts_;
  std::string path_;
  CatalogFault fault_ = CatalogFault::kNone;
  uint32_t fault_line_ = 0;
};

}  // namespace ecg::analysis
