#pragma once
// Registry values of the host product family, read through the platform's
// settings store (current user first, then local machine).

#include <cstdint>
#include <string>
#include <string_view>

// Process-wide: 1 when the host product family is installed (its registry
// key names a language module or a non-zero region), else 0. Option defaults
// depend on it (PowerFilterChoice).
extern int32_t g_iStillwaterVersion;

// The host product's key.
inline constexpr std::string_view kStillwaterKey = "SOFTWARE\\Harbinlow\\Still_Water";
// What an empty key path means to ReadRegistryEntry.
inline constexpr std::string_view kDefaultRegistryKey = "Software\\Harbinlow\\Still_Water";

// Reads a string value of `key_path`, from the current user's settings when
// the value can be read there, else from the local machine's. False (with the
// store's error code) when neither holds it.
bool GetRegistryStringValue(std::string& text, std::string_view value_name,
                            std::string_view key_path);

// Reads a 32-bit number the same way; an empty key path means
// kDefaultRegistryKey. A value that is not a number cannot be read.
bool ReadRegistryEntry(std::string_view value_name, uint32_t* out, std::string_view key_path);

namespace ecg::interface {

// Sets g_iStillwaterVersion to 1 when the host product's key holds the string
// value "StillwaterLanguage" or a non-zero DWORD "StillwaterRegion". Never
// clears the flag. Returns the flag.
int32_t DetectStillwaterVersion();

}  // namespace ecg::interface
