#include "scp/record_text.h"

#include <cstring>
#include <string_view>

#include "platform/last_error.h"
#include "platform/text_codec.h"

namespace ecg::scp {

namespace {

constexpr uint8_t kIso10646 = 0x07;

struct CodeCharset {
  uint8_t code;
  const char* charset;
};

// Codes whose two lowest bits are 11 (the ISO 8859 parts beyond the first
// and the multi-byte sets). Japanese, Chinese and Korean texts come in their
// EUC forms in files.
constexpr CodeCharset kCharsets[] = {
    {0x03, "ISO-8859-2"},  {0x0B, "ISO-8859-4"},  {0x13, "ISO-8859-5"},
    {0x1B, "ISO-8859-6"},  {0x23, "ISO-8859-7"},  {0x2B, "ISO-8859-8"},
    {0x33, "ISO-8859-11"}, {0x3B, "ISO-8859-15"}, {kIso10646, "UTF-16LE"},
    {0x0F, "JIS_X0201"},   {0x17, "EUC-JP"},      {0x1F, "EUC-JP"},
    {0x27, "GB2312"},      {0x2F, "EUC-KR"},      {0x37, "UTF-8"},
};

std::u16string Latin1(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (char c : bytes) out.push_back(static_cast<char16_t>(static_cast<uint8_t>(c)));
  return out;
}

}  // namespace

const char* LanguageCharset(uint8_t code) {
  if (UsesRecordCodePage(code)) return nullptr;
  for (const auto& entry : kCharsets) {
    if (entry.code == code) return entry.charset;
  }
  // xxxxxx01, and codes ending in 11 that name no set: ISO 8859-1.
  return "ISO-8859-1";
}

std::u16string ForeignTextToWide(std::span<const uint8_t> bytes, uint8_t code) {
  size_t length = 0;
  if (code == kIso10646) {
    while (length + 1 < bytes.size() && (bytes[length] != 0 || bytes[length + 1] != 0)) {
      length += 2;
    }
  } else {
    while (length < bytes.size() && bytes[length] != 0) ++length;
  }
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), length);
  const char* charset = LanguageCharset(code);
  std::u16string wide;
  if (charset != nullptr) {
    platform::LastErrorKeeper keep;
    if (platform::CharsetToWide(charset, text, wide)) return wide;
  }
  return Latin1(text);
}

}  // namespace ecg::scp
