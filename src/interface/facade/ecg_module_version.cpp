// The version table of libECG.so (read by GetVersion from the file).

#include "platform/module_version.h"

ECG_MODULE_VERSION_TABLE("040904E4\0"
                         "CompanyName\0Tidemark ECG\0"
                         "FileDescription\0Tidemark ECG component\0"
                         "FileVersion\0" ECG_FILE_VERSION "\0"
                         "InternalName\0ECG\0"
                         "OriginalFilename\0libECG.so\0"
                         "ProductName\0Tidemark ECG\0"
                         "ProductVersion\0" ECG_VERSION_TEXT "\0"
                         "\0");
