#pragma once
// Texts of records from other systems in the character set that the
// language-support code of the acquiring-device tag (tag 14, byte 16) names.
// Bit 0 clear means ASCII: such records (this system's own among them) are
// read in the record code page, as always. The other codes name ISO 8859
// parts, two-byte ISO 10646, the Japanese, Chinese and Korean sets, or
// UTF-8.

#include <cstdint>
#include <span>
#include <string>

namespace ecg::scp {

// The iconv name of the character set a language-support code names; null
// for the ASCII codes (bit 0 clear).
const char* LanguageCharset(uint8_t code);

// Whether texts under this code are read in the record code page.
inline bool UsesRecordCodePage(uint8_t code) { return (code & 0x01) == 0; }

// Text bytes up to their terminator (a NUL; two NUL bytes on an even offset
// for ISO 10646) as a wide string in the character set the code names.
// Bytes the set does not cover are read as ISO 8859-1, so foreign text is
// always shown; never fails.
std::u16string ForeignTextToWide(std::span<const uint8_t> bytes, uint8_t code);

}  // namespace ecg::scp
