#pragma once
// Unique temporary file names, made the way the record layer's working copies
// need them: a folder, a short prefix, and a new empty file that nobody else
// can have picked.

#include <string>

namespace ecg::platform {

// Creates a new empty file "<folder>/<prefix>XXXXXX.tmp" and returns its path
// in `path`. False with the last-error code when the file cannot be made.
bool MakeTempFile(const std::string& folder, const std::string& prefix, std::string& path);

}  // namespace ecg::platform
