#pragma once
// Well-known folders.

#include <string>

namespace ecg::platform {

// The user's documents folder: $ECG_DOCUMENTS_DIR, else $XDG_DOCUMENTS_DIR,
// else the XDG_DOCUMENTS_DIR line of ~/.config/user-dirs.dirs, else
// ~/Documents. No trailing slash. The folder is not created.
std::string DocumentsFolder();

// <documents>/Tidemark, created when missing; empty when it cannot be made.
std::string TidemarkFolder();

// The folder holding the module (shared library or program) that contains
// this code: where our own companion libraries are looked for.
std::string ModuleFolder();

// The path of the module that contains this code.
std::string ModulePath();

// Creates a folder and its parents; true when it exists afterwards.
bool MakeFolders(const std::string& path);

}  // namespace ecg::platform
