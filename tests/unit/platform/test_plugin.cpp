// A tiny companion library for the loader and version-table tests.

#include "platform/module_version.h"

ECG_MODULE_VERSION_TABLE("040904B0\0"
                         "FileVersion\0" "9.8.7.6\0"
                         "ProductName\0" "Loader test\0"
                         "\0");

extern "C" __attribute__((visibility("default"))) int TestPluginAnswer(int x) { return x * 2 + 1; }
