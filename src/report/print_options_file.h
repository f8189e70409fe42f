#pragma once
// The print options file ("printoptions.xml"): the report types, the zoom
// lead and factor, and the report options, each element carrying its value
// in a "value" attribute. Plain C++ over libxml2, no Qt.
//
// Reading takes every element whose name is known, at any depth; "Report"
// values are ORed into the mask (never cleared by reading); other names are
// ignored. Numbers are written with "." and read with "." or "," as the
// decimal separator; booleans are "True"/"False", read case-insensitively.
// A file larger than kMaxPrintOptionsBytes is refused.

#include <cstddef>
#include <cstdint>
#include <string>

namespace ecg::report {

struct SPrintOptions {
  int32_t report_mask = 1 | 64;
  int zoom_lead = 1;
  double zoom_scale = 1.0;
  double speed = 25.0;
  double sensitivity = 10.0;
  int minor_grid = 0;
  bool measurements = true;
  bool interpretation = true;
  bool comments = true;
  bool show_print_dialog = false;
  std::string report_title;  // UTF-8
};

constexpr size_t kMaxPrintOptionsBytes = 1u << 20;

// `<documents>/Tidemark/printoptions.xml`.
std::string DefaultPrintOptionsPath();

// Applies the file's values to `options` as they are read. False on any
// error (missing or oversized file, bad XML, a value that does not parse);
// the values applied before the error stay. `error` says why.
bool ReadPrintOptionsFile(const std::string& path, SPrintOptions* options, std::string* error);
bool ReadPrintOptionsBytes(const uint8_t* bytes, size_t size, SPrintOptions* options, std::string* error);

// The document text, tab-indented; and writing it so that the file holds
// either the old or the new document, never a mixture.
std::string PrintOptionsDocument(const SPrintOptions& options);
bool WritePrintOptionsFile(const std::string& path, const SPrintOptions& options, std::string* error);

}  // namespace ecg::report
