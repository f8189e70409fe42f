#pragma once
// A small RGB canvas written as an uncompressed PNG, for the evaluation
// program's pictures of median beats and their marks.

#include <cstdint>
#include <string>
#include <vector>

namespace ecg::engine::eval {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
};

class Canvas {
 public:
  Canvas(int width, int height, Rgb background = {255, 255, 255});
  void Set(int x, int y, Rgb c);
  void Line(int x0, int y0, int x1, int y1, Rgb c);
  void VLine(int x, int y0, int y1, Rgb c);
  int width() const { return w_; }
  int height() const { return h_; }
  bool WritePng(const std::string& path) const;

 private:
  int w_, h_;
  std::vector<uint8_t> px_;
};

}  // namespace ecg::engine::eval
