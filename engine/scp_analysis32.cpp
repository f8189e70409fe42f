// libQORSYS32.so: the analysis library the component loads for each run.
// Its only export is ScpAnalysis32; everything else stays inside.

#include <cstdint>

#include "engine/analyse_record.h"
#include "platform/module_version.h"

ECG_MODULE_VERSION_TABLE("040904E4\0"
                         "FileDescription\0Tidemark ECG analysis engine\0"
                         "FileVersion\0" ECG_FILE_VERSION "\0"
                         "InternalName\0QORSYS32\0"
                         "ProductName\0Tidemark ECG\0"
                         "ProductVersion\0" ECG_VERSION_TEXT "\0"
                         "\0");

// Analyses the record at `path` and writes the results into it. Returns 0
// on success, 6 when the signal does not allow an analysis, 7 when the
// record is outside what the engine handles, and the other codes of
// engine/result_codes.h.
extern "C" __attribute__((visibility("default"))) int16_t ScpAnalysis32(const char* path, int32_t mode) {
  try {
    return ecg::engine::AnalyseRecordFile(path, mode).code;
  } catch (...) {
    return ecg::engine::kResultInternal;
  }
}
