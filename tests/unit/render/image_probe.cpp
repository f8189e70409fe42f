#include "image_probe.h"

#include <QString>
#include <algorithm>

#include "support/test_files.h"

namespace ecg::test {

bool IsInk(QRgb c) { return qRed(c) < 110 && qGreen(c) < 110 && qBlue(c) < 110; }

bool IsMajorGrid(QRgb c) { return qRed(c) > 180 && qGreen(c) < 120 && qBlue(c) < 120; }

namespace {

template <typename At>
std::vector<double> Runs(int from, int to, const At& at, const PixelTest& test) {
  std::vector<double> centres;
  int start = -1;
  for (int i = from; i <= to + 1; ++i) {
    const bool hit = i <= to && test(at(i));
    if (hit && start < 0) start = i;
    if (!hit && start >= 0) {
      centres.push_back((start + i - 1) / 2.0);
      start = -1;
    }
  }
  return centres;
}

}  // namespace

std::vector<double> RunCentresInRow(const QImage& image, int y, int x0, int x1, const PixelTest& test) {
  x0 = std::max(0, x0);
  x1 = std::min(image.width() - 1, x1);
  return Runs(x0, x1, [&](int x) { return image.pixel(x, y); }, test);
}

std::vector<double> RunCentresInColumn(const QImage& image, int x, int y0, int y1,
                                       const PixelTest& test) {
  y0 = std::max(0, y0);
  y1 = std::min(image.height() - 1, y1);
  return Runs(y0, y1, [&](int y) { return image.pixel(x, y); }, test);
}

std::string SaveTestPng(const QImage& image, const std::string& name) {
  const std::string path = TestOutputFolder() + "/" + name;
  image.save(QString::fromStdString(path), "PNG");
  return path;
}

}  // namespace ecg::test
