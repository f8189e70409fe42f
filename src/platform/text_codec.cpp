#include "platform/text_codec.h"

#include <iconv.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <vector>

#include "platform/last_error.h"

namespace ecg::platform {

namespace {

// Converts with iconv in one pass; the output is bounded by a fixed multiple
// of the input, so no conversion can grow without limit.
bool Convert(const char* to, const char* from, const char* in, size_t in_len,
             std::string& out) {
  out.clear();
  if (in_len == 0) return true;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return Fail(kErrorInvalidParameter);
  std::vector<char> buffer(in_len * 4 + 16);
  char* in_ptr = const_cast<char*>(in);
  size_t in_left = in_len;
  char* out_ptr = buffer.data();
  size_t out_left = buffer.size();
  size_t rc = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
  bool ok = rc != static_cast<size_t>(-1) && in_left == 0;
  if (ok) {
    // Flush any shift state (stateful encodings).
    ok = iconv(cd, nullptr, nullptr, &out_ptr, &out_left) != static_cast<size_t>(-1);
  }
  iconv_close(cd);
  if (!ok) return Fail(kErrorInvalidData);
  out.assign(buffer.data(), buffer.size() - out_left);
  return true;
}

bool ToWide(const char* from, std::string_view text, std::u16string& wide) {
  std::string bytes;
  if (!Convert("UTF-16LE", from, text.data(), text.size(), bytes)) return false;
  wide.resize(bytes.size() / 2);
  for (size_t i = 0; i < wide.size(); ++i) {
    wide[i] = static_cast<char16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                    (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
  }
  return true;
}

bool FromWide(const char* to, std::u16string_view wide, std::string& out) {
  std::string bytes(wide.size() * 2, '\0');
  for (size_t i = 0; i < wide.size(); ++i) {
    bytes[2 * i] = static_cast<char>(wide[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<char>(wide[i] >> 8);
  }
  return Convert(to, "UTF-16LE", bytes.data(), bytes.size(), out);
}

// Windows-1252 is the usual record code page; it is converted here directly,
// both because it is much faster than a conversion descriptor per text and
// because the five bytes that code page leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) must pass through as U+0081 ... rather than fail the record.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool IsCp1252(const std::string& name) {
  return strcasecmp(name.c_str(), "CP1252") == 0 || strcasecmp(name.c_str(), "WINDOWS-1252") == 0;
}

void Cp1252ToWide(std::string_view ansi, std::u16string& wide) {
  wide.resize(ansi.size());
  for (size_t i = 0; i < ansi.size(); ++i) {
    auto b = static_cast<uint8_t>(ansi[i]);
    wide[i] = (b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : static_cast<char16_t>(b);
  }
}

bool WideToCp1252(std::u16string_view wide, std::string& ansi) {
  ansi.resize(wide.size());
  for (size_t i = 0; i < wide.size(); ++i) {
    char16_t c = wide[i];
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      ansi[i] = static_cast<char>(c);
      continue;
    }
    int found = -1;
    for (int k = 0; k < 32; ++k) {
      if (kCp1252High[k] == c) found = k;
    }
    if (found < 0) return Fail(kErrorInvalidData);
    ansi[i] = static_cast<char>(0x80 + found);
  }
  return true;
}

}  // namespace

std::string AnsiCodePage() {
  const char* env = std::getenv("ECG_ANSI_CODEPAGE");
  if (env != nullptr && *env != '\0') return env;
  return "CP1252";
}

bool AnsiToWide(std::string_view ansi, std::u16string& wide) {
  std::string page = AnsiCodePage();
  if (IsCp1252(page)) {
    Cp1252ToWide(ansi, wide);
    return true;
  }
  return ToWide(page.c_str(), ansi, wide);
}

bool WideToAnsi(std::u16string_view wide, std::string& ansi) {
  std::string page = AnsiCodePage();
  if (IsCp1252(page)) return WideToCp1252(wide, ansi);
  return FromWide(page.c_str(), wide, ansi);
}

bool WideToAnsiBestFit(std::u16string_view wide, std::string& ansi) {
  if (WideToAnsi(wide, ansi)) return true;
  if (GetLastError() != kErrorInvalidData) return false;
  // Convert character by character (surrogate pairs together).
  ansi.clear();
  std::string piece;
  for (size_t i = 0; i < wide.size(); ++i) {
    size_t n = 1;
    if (wide[i] >= 0xD800 && wide[i] <= 0xDBFF && i + 1 < wide.size()) n = 2;
    if (WideToAnsi(wide.substr(i, n), piece)) {
      ansi += piece;
    } else {
      ansi += '?';
    }
    i += n - 1;
  }
  return true;
}

bool CharsetToWide(const char* charset, std::string_view text, std::u16string& wide) {
  if (charset == nullptr) return Fail(kErrorInvalidParameter);
  return ToWide(charset, text, wide);
}

bool Utf8ToWide(std::string_view utf8, std::u16string& wide) {
  return ToWide("UTF-8", utf8, wide);
}

bool WideToUtf8(std::u16string_view wide, std::string& utf8) {
  return FromWide("UTF-8", wide, utf8);
}

std::string WideToUtf8Lossy(std::u16string_view wide) {
  std::string out;
  out.reserve(wide.size());
  for (size_t i = 0; i < wide.size(); ++i) {
    uint32_t c = wide[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
        wide[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::u16string Utf8ToWideLossy(std::string_view utf8) {
  std::u16string out;
  if (Utf8ToWide(utf8, out)) return out;
  out.clear();
  for (unsigned char c : utf8) out += c < 0x80 ? static_cast<char16_t>(c) : u'\uFFFD';
  return out;
}

}  // namespace ecg::platform
