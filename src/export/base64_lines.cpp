#include "export/base64_lines.h"

namespace ecg::xml {

namespace {
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr size_t kLineLength = 76;
}  // namespace

std::string Base64Lines(const uint8_t* bytes, size_t n) {
  const size_t groups = n / 3;
  const size_t chars = groups * 4;
  std::string out;
  out.reserve(chars + chars / kLineLength * 2 + 4);
  size_t on_line = 0;
  for (size_t g = 0; g < groups; ++g) {
    const uint32_t v = (uint32_t{bytes[3 * g]} << 16) | (uint32_t{bytes[3 * g + 1]} << 8) |
                       bytes[3 * g + 2];
    for (int shift = 18; shift >= 0; shift -= 6) {
      out += kAlphabet[(v >> shift) & 0x3F];
      if (++on_line == kLineLength) {
        out += "\r\n";
        on_line = 0;
      }
    }
  }
  const size_t rest = n - groups * 3;
  if (rest > 0) {
    const uint32_t v = (uint32_t{bytes[3 * groups]} << 16) |
                       (rest == 2 ? uint32_t{bytes[3 * groups + 1]} << 8 : 0u);
    out += kAlphabet[(v >> 18) & 0x3F];
    out += kAlphabet[(v >> 12) & 0x3F];
    out += rest == 2 ? kAlphabet[(v >> 6) & 0x3F] : '=';
    out += '=';
  }
  return out;
}

}  // namespace ecg::xml
