#pragma once
// Base64 text of sample bytes in the layout of the XML export: the complete
// 3-byte groups in lines of 76 characters, each full line followed by CR LF,
// then the final padded group (if any) directly after the last characters.

#include <cstddef>
#include <cstdint>
#include <string>

namespace ecg::xml {

std::string Base64Lines(const uint8_t* bytes, size_t n);

}  // namespace ecg::xml
