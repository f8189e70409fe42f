#pragma once
// Measuring rendered pages: centres of runs of matching pixels along a row
// or a column, in pixels, so tests can compare distances with millimetres.

#include <QImage>
#include <functional>
#include <string>
#include <vector>

namespace ecg::test {

using PixelTest = std::function<bool(QRgb)>;

// Dark ink of traces, pulses and text.
bool IsInk(QRgb c);
// The red of the major grid lines (not the pink minor grid).
bool IsMajorGrid(QRgb c);

// Centres of the runs of pixels passing `test` along row y from x0 to x1
// (inclusive), or along column x from y0 to y1.
std::vector<double> RunCentresInRow(const QImage& image, int y, int x0, int x1, const PixelTest& test);
std::vector<double> RunCentresInColumn(const QImage& image, int x, int y0, int y1,
                                       const PixelTest& test);

// Saves an image as PNG under the build folder's test output and returns
// the path.
std::string SaveTestPng(const QImage& image, const std::string& name);

}  // namespace ecg::test
