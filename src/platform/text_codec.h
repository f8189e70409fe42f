#pragma once
// Conversions between the record files' 8-bit text code page, the UTF-8 used at
// the interface and in our own files, and the UTF-16 wide strings of the
// record model. The record code page is CP1252 unless ECG_ANSI_CODEPAGE names
// another iconv encoding (for example CP932).

#include <string>
#include <string_view>

namespace ecg::platform {

// The iconv name of the record text code page.
std::string AnsiCodePage();

// False with error 13 (invalid data) when the bytes cannot be converted, or
// error 87 when the code page is unknown to iconv.
bool AnsiToWide(std::string_view ansi, std::u16string& wide);
bool WideToAnsi(std::u16string_view wide, std::string& ansi);
// As WideToAnsi, but a character the code page lacks becomes '?' (as the
// record files' original platform wrote them) instead of failing. Fails only
// when the code page itself is unknown.
bool WideToAnsiBestFit(std::u16string_view wide, std::string& ansi);
bool Utf8ToWide(std::string_view utf8, std::u16string& wide);
// Bytes in any encoding iconv knows by `charset` (e.g. "ISO-8859-2").
bool CharsetToWide(const char* charset, std::string_view text, std::u16string& wide);
bool WideToUtf8(std::u16string_view wide, std::string& utf8);

// Lossy forms for display: undecodable input becomes U+FFFD / '?'.
std::string WideToUtf8Lossy(std::u16string_view wide);
std::u16string Utf8ToWideLossy(std::string_view utf8);

}  // namespace ecg::platform
