#pragma once
// PdfOutput: the file printer of the report engine. It keeps the three calls
// a PDF printer driver offers (where the next job goes, the printer's name,
// a bounded wait for the job) and writes the job itself:
//   .pdf            one vector PDF (QPdfWriter), one page per report page;
//   .jpg / .jpeg    JPEG images, 200 dpi, one file per page;
//   .tif / .tiff    TIFF images, 200 dpi, one file per page.
// Image pages: page 1 goes to the file named, page n (n >= 2) to
// "<name without extension>-<n>.<extension>". Every file is written to a
// neighbouring temporary file first and renamed over the target, so no
// half-written output replaces an older one.

#include <string>
#include <vector>

#include "report/page_device.h"

class CECGPrint;

namespace ecg::report {

enum class OutputFormat { kNone, kPdf, kJpeg, kTiff };

// By extension, case-insensitively.
OutputFormat OutputFormatOf(const std::string& file_name);
// Where page `index` (0-based) of an image job goes.
std::string ImagePagePath(const std::string& file_name, int index);

class PdfOutput {
 public:
  // Names the file of the next job; false for an empty name or an
  // extension other than the three kinds above.
  static bool SetFileName(const std::string& file_name);
  // The name under which the engine selects this output as its printer.
  static std::string PrinterName();
  // Jobs are written before Print returns; this reports whether the last
  // job's files were written (it never waits longer than `milliseconds`).
  static bool WaitToComplete(int milliseconds);

  // Runs the engine's job into the named file (called by the engine when
  // its printer is this output). Returns false, with a reason, on failure.
  static bool PrintJob(CECGPrint& engine, std::string* error);

  // The page geometry of file output: landscape Letter, 0.25 in margins.
  static PageDevice FilePage(double dpi);
  static constexpr double kImageDpi = 200.0;
  static constexpr double kPdfDpi = 600.0;

  // The files the last job wrote, in page order.
  static std::vector<std::string> LastFiles();
};

}  // namespace ecg::report
