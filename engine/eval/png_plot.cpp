// Canvas drawing and a PNG writer with stored (uncompressed) deflate blocks.

#include "engine/eval/png_plot.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace ecg::engine::eval {

namespace {

uint32_t Crc32(const uint8_t* p, size_t n, uint32_t crc = 0) {
  crc = ~crc;
  for (size_t i = 0; i < n; ++i) {
    crc ^= p[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void Be32(std::vector<uint8_t>& out, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(v >> s));
}

void Chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  Be32(out, static_cast<uint32_t>(data.size()));
  std::vector<uint8_t> body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  out.insert(out.end(), body.begin(), body.end());
  Be32(out, Crc32(body.data(), body.size()));
}

}  // namespace

Canvas::Canvas(int width, int height, Rgb background)
    : w_(std::max(1, width)), h_(std::max(1, height)), px_(static_cast<size_t>(w_) * h_ * 3) {
  for (size_t i = 0; i < px_.size(); i += 3) {
    px_[i] = background.r;
    px_[i + 1] = background.g;
    px_[i + 2] = background.b;
  }
}

void Canvas::Set(int x, int y, Rgb c) {
  if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
  const size_t i = (static_cast<size_t>(y) * w_ + x) * 3;
  px_[i] = c.r;
  px_[i + 1] = c.g;
  px_[i + 2] = c.b;
}

void Canvas::Line(int x0, int y0, int x1, int y1, Rgb c) {
  const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  for (int guard = 0; guard < 100000; ++guard) {
    Set(x0, y0, c);
    if (x0 == x1 && y0 == y1) break;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

void Canvas::VLine(int x, int y0, int y1, Rgb c) {
  for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y) Set(x, y, c);
}

bool Canvas::WritePng(const std::string& path) const {
  std::vector<uint8_t> raw;
  raw.reserve(static_cast<size_t>(h_) * (w_ * 3 + 1));
  for (int y = 0; y < h_; ++y) {
    raw.push_back(0);
    raw.insert(raw.end(), px_.begin() + static_cast<std::ptrdiff_t>(y) * w_ * 3,
               px_.begin() + static_cast<std::ptrdiff_t>(y + 1) * w_ * 3);
  }
  std::vector<uint8_t> z = {0x78, 0x01};
  size_t pos = 0;
  uint32_t a = 1, b = 0;
  for (uint8_t v : raw) {
    a = (a + v) % 65521;
    b = (b + a) % 65521;
  }
  do {
    const size_t len = std::min<size_t>(65535, raw.size() - pos);
    const bool last = pos + len == raw.size();
    z.push_back(last ? 1 : 0);
    z.push_back(static_cast<uint8_t>(len));
    z.push_back(static_cast<uint8_t>(len >> 8));
    z.push_back(static_cast<uint8_t>(~len));
    z.push_back(static_cast<uint8_t>(~len >> 8));
    z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos),
             raw.begin() + static_cast<std::ptrdiff_t>(pos + len));
    pos += len;
  } while (pos < raw.size());
  Be32(z, (b << 16) | a);

  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> ihdr;
  Be32(ihdr, static_cast<uint32_t>(w_));
  Be32(ihdr, static_cast<uint32_t>(h_));
  ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
  Chunk(out, "IHDR", ihdr);
  Chunk(out, "IDAT", z);
  Chunk(out, "IEND", {});
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  return static_cast<bool>(file);
}

}  // namespace ecg::engine::eval
