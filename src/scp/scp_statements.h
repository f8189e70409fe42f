#pragma once
// Section 8 (full-text interpretation statements) and Section 11 (universal
// statement codes), and record texts in the encoding the language-support
// byte implies.

#include <cstdint>
#include <span>
#include <string>

#include "scp/scp_decoder.h"

namespace ecg::scp {

// Converts record text bytes (up to the first NUL) to UTF-8. Language code
// 0x37 is UTF-8 (invalid sequences become U+FFFD); 0x07 is 2-byte ISO 10646
// (UTF-16LE); every other code is read as ISO 8859-1 (writers that declare
// ASCII write Latin-1 in practice).
std::string RecordTextToUtf8(std::span<const uint8_t> bytes, uint8_t language_code);

// Reads a Section 8 (`codes` false) or Section 11 (`codes` true) data part.
// Statements cut off by the section end are dropped with a reason in `why`
// (the statements before them stay); the header alone cut off fails.
bool ParseStatementSection(std::span<const uint8_t> data, bool codes, uint8_t language_code,
                           StatementSection& out, std::string& why);

}  // namespace ecg::scp
