#pragma once
// The settings store that stands where the registry stood. A key path such as
// "SOFTWARE\Harbinlow\Still_Water" is one INI file:
//   current user:  $XDG_CONFIG_HOME (else ~/.config) / SOFTWARE/Harbinlow/Still_Water.ini
//   local machine: first folder of $XDG_CONFIG_DIRS (else /etc/xdg) / the same
// Folder and file names match without regard to case, as key names did.
// Each line "Name=value" is a value; "Name=dword:0000001e" is a 32-bit number.
// Lines starting with ';' or '#', and "[section]" lines, are ignored.

#include <cstdint>
#include <string>
#include <string_view>

namespace ecg::platform {

enum class RegistryHive { kCurrentUser, kLocalMachine };

// The INI file for a key, whether or not it exists (the existing spelling of
// each name when one is found).
std::string RegistryKeyFile(RegistryHive hive, std::string_view key_path);

// True when the key's file exists and can be read.
bool RegistryKeyExists(RegistryHive hive, std::string_view key_path);

// False with error 2 (file not found) when the key or value is missing; a
// DWORD read of a value that is not a number fails with error 13.
bool RegistryReadString(RegistryHive hive, std::string_view key_path,
                        std::string_view value_name, std::string& value);
bool RegistryReadDword(RegistryHive hive, std::string_view key_path,
                       std::string_view value_name, uint32_t& value);

// Create the key's folders and file as needed and set one value, keeping the
// others. The file is replaced whole, never half-written.
bool RegistryWriteString(RegistryHive hive, std::string_view key_path,
                         std::string_view value_name, std::string_view value);
bool RegistryWriteDword(RegistryHive hive, std::string_view key_path,
                        std::string_view value_name, uint32_t value);

}  // namespace ecg::platform
