// Stands in for the analysis library in the About dialog tests: a module
// whose version table carries only the 040904B0 block.

#include "platform/module_version.h"

ECG_MODULE_VERSION_TABLE("040904B0\0"
                         "FileVersion\0" "3.2.1.0\0"
                         "ProductName\0" "About dialog test engine\0"
                         "\0");

extern "C" __attribute__((visibility("default"))) int FakeEngineMarker() { return 1; }
