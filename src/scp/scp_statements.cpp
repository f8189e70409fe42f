#include "scp/scp_statements.h"

#include "platform/text_codec.h"
#include "scp/record_text.h"

#include "scp/little_endian.h"

namespace ecg::scp {

namespace {

constexpr uint8_t kLanguageUtf8 = 0x37;
constexpr uint8_t kLanguageUcs2 = 0x07;
constexpr size_t kStatementHeaderSize = 9;

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

constexpr uint32_t kReplacement = 0xFFFD;

std::string Utf8Checked(std::span<const uint8_t> b) {
  std::string out;
  size_t i = 0;
  while (i < b.size() && b[i] != 0) {
    const uint8_t c = b[i];
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    const size_t extra = (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : 0;
    if (extra == 0) {
      AppendUtf8(out, kReplacement);
      ++i;
      continue;
    }
    uint32_t cp = c & (0x3Fu >> extra);
    bool ok = true;
    for (size_t k = 1; k <= extra; ++k) {
      if (i + k >= b.size() || (b[i + k] & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (b[i + k] & 0x3F);
    }
    const uint32_t min_cp = extra == 1 ? 0x80 : extra == 2 ? 0x800 : 0x10000;
    if (!ok || cp < min_cp || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      AppendUtf8(out, kReplacement);
      ++i;
      continue;
    }
    AppendUtf8(out, cp);
    i += extra + 1;
  }
  return out;
}

std::string Ucs2(std::span<const uint8_t> b) {
  std::string out;
  for (size_t i = 0; i + 1 < b.size(); i += 2) {
    uint32_t unit = LoadU16(b.data() + i);
    if (unit == 0) break;
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < b.size()) {
      const uint32_t low = LoadU16(b.data() + i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    AppendUtf8(out, unit >= 0xD800 && unit <= 0xDFFF ? kReplacement : unit);
  }
  return out;
}

}  // namespace

std::string RecordTextToUtf8(std::span<const uint8_t> bytes, uint8_t language_code) {
  if (language_code == kLanguageUtf8) return Utf8Checked(bytes);
  if (language_code == kLanguageUcs2) return Ucs2(bytes);
  if (!UsesRecordCodePage(language_code)) {
    return ecg::platform::WideToUtf8Lossy(ForeignTextToWide(bytes, language_code));
  }
  // ASCII codes: writers that declare ASCII write ISO 8859-1 in practice.
  std::string out;
  for (uint8_t c : bytes) {
    if (c == 0) break;
    AppendUtf8(out, c);
  }
  return out;
}

bool ParseStatementSection(std::span<const uint8_t> data, bool codes, uint8_t language_code,
                           StatementSection& out, std::string& why) {
  out = StatementSection{};
  if (data.size() < kStatementHeaderSize) {
    why = "the statement header is cut off";
    return false;
  }
  const uint8_t* p = data.data();
  out.present = true;
  out.confirmation = p[0];
  out.year = LoadU16(p + 1);
  out.month = p[3];
  out.day = p[4];
  out.hour = p[5];
  out.minute = p[6];
  out.second = p[7];
  const uint8_t count = p[8];
  size_t at = kStatementHeaderSize;
  for (uint8_t i = 0; i < count; ++i) {
    if (data.size() - at < 3) {
      why = "statement " + std::to_string(i + 1) + " of " + std::to_string(count) + " is missing";
      return true;
    }
    Statement s;
    s.sequence = data[at];
    const uint16_t length = LoadU16(data.data() + at + 1);
    at += 3;
    if (length > data.size() - at) {
      why = "statement " + std::to_string(i + 1) + " runs past the section end";
      return true;
    }
    auto value = data.subspan(at, length);
    at += length;
    if (codes && !value.empty()) {
      s.type = value[0];
      value = value.subspan(1);
      if (s.type == 1) {
        // One or more NUL-separated codes: shown separated by "; ".
        std::string joined;
        size_t start = 0;
        for (size_t k = 0; k <= value.size(); ++k) {
          if (k == value.size() || value[k] == 0) {
            if (k > start) {
              if (!joined.empty()) joined += "; ";
              joined += RecordTextToUtf8(value.subspan(start, k - start), language_code);
            }
            start = k + 1;
          }
        }
        s.text = joined;
        out.statements.push_back(std::move(s));
        continue;
      }
    }
    s.text = RecordTextToUtf8(value, language_code);
    out.statements.push_back(std::move(s));
  }
  return true;
}

}  // namespace ecg::scp
