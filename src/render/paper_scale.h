#pragma once
// Device pixels per millimetre of paper. Every drawing of traces and grid
// goes through one of these, so the paper scale is exact on any device
// whose resolution is known (printer, PDF, image, calibrated screen).

namespace ecg::render {

struct PaperScale {
  double px_per_mm_x = 1.0;
  double px_per_mm_y = 1.0;

  static constexpr double kMmPerInch = 25.4;

  static PaperScale FromDpi(double dpi_x, double dpi_y) {
    return {dpi_x / kMmPerInch, dpi_y / kMmPerInch};
  }
  double X(double mm) const { return mm * px_per_mm_x; }
  double Y(double mm) const { return mm * px_per_mm_y; }
  double MmX(double px) const { return px / px_per_mm_x; }
  double MmY(double px) const { return px / px_per_mm_y; }
};

}  // namespace ecg::render
