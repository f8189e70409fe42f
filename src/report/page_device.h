#pragma once
// A page as the report engine sees it: device resolution, paper size and
// the printable margins in hundredths of an inch. The painter's origin is
// the paper's top-left corner.

namespace ecg::report {

struct PageDevice {
  double dpi_x = 300.0;
  double dpi_y = 300.0;
  int page_width = 1100;  // hundredths of an inch (landscape Letter)
  int page_height = 850;
  int margin_left = 25;
  int margin_top = 25;
  int margin_right = 25;
  int margin_bottom = 25;

  int MarginWidth() const { return page_width - margin_left - margin_right; }
  int MarginHeight() const { return page_height - margin_top - margin_bottom; }
  double X(double hundredths) const { return hundredths / 100.0 * dpi_x; }
  double Y(double hundredths) const { return hundredths / 100.0 * dpi_y; }
  double ToHundredthsX(double px) const { return px * 100.0 / dpi_x; }
  double ToHundredthsY(double px) const { return px * 100.0 / dpi_y; }
};

}  // namespace ecg::report
