// Arbitrary bytes as a print options file. A read that fails says why; what
// a read keeps must write and read back to the same options.

#include <cstddef>
#include <cstdint>
#include <string>

#include "report/print_options_file.h"

namespace {

bool Same(const ecg::report::SPrintOptions& a, const ecg::report::SPrintOptions& b) {
  return a.report_mask == b.report_mask && a.zoom_lead == b.zoom_lead && a.zoom_scale == b.zoom_scale &&
         a.speed == b.speed && a.sensitivity == b.sensitivity && a.minor_grid == b.minor_grid &&
         a.measurements == b.measurements && a.interpretation == b.interpretation &&
         a.comments == b.comments && a.show_print_dialog == b.show_print_dialog &&
         a.report_title == b.report_title;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ecg::report;
  SPrintOptions options;
  std::string error;
  const bool ok = ReadPrintOptionsBytes(data, size, &options, &error);
  if (!ok && error.empty()) __builtin_trap();
  // Report values OR into the mask; the document carries the 14 report bits.
  options.report_mask &= (1 << 14) - 1;
  const std::string document = PrintOptionsDocument(options);
  if (document.empty()) __builtin_trap();
  SPrintOptions back;
  back.report_mask = 0;
  std::string again;
  if (!ReadPrintOptionsBytes(reinterpret_cast<const uint8_t*>(document.data()), document.size(), &back, &again)) {
    __builtin_trap();
  }
  if (!Same(options, back)) __builtin_trap();
  return 0;
}
