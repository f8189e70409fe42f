#pragma once
// A language module's texts: a Qt Linguist translation file (.ts XML) read
// into a table context → (English source → translated text). Only finished
// translations count: entries marked "unfinished", "obsolete" or
// "vanished", and empty translations, keep their English text.

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace ecg::facade {

using TranslationTable = std::map<std::string, std::map<std::string, std::string>>;

// Bounds on what a language module may hold.
constexpr size_t kMaxTranslationFileBytes = 8u << 20;
constexpr size_t kMaxTranslationEntries = 20000;

// False with the last-error code: 13 not a translation file (not XML, no
// <TS> root, a message without its source), 84 more than the entry limit,
// 14 a file beyond the size limit. The table is left empty on failure.
bool ParseTranslationFile(std::span<const uint8_t> bytes, TranslationTable& table);
bool ReadTranslationFile(const std::string& path, TranslationTable& table);

}  // namespace ecg::facade
