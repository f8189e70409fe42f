#include "recording_test_support.h"

#include <QColor>

#include "acquisition/cable_settings.h"
#include "acquisition/circular_buffer.h"
#include "acquisition/demo_file.h"
#include "acquisition/ecg_settings.h"
#include "support/test_files.h"
#include "synthetic_ecg.h"

namespace ecg::test {

std::vector<ecg::acquisition::FrameSamples> SyntheticFrames(
    uint32_t frames, const std::function<void(uint32_t, ecg::acquisition::FrameSamples&)>& edit) {
  ecg::cablesim::EcgModel model;
  model.seed = 3;
  ecg::cablesim::SyntheticEcg ecg(model);
  std::vector<ecg::acquisition::FrameSamples> out;
  out.reserve(frames);
  for (uint32_t i = 0; i < frames; ++i) {
    auto s = ecg.NextSamples();
    if (edit) edit(i, s);
    out.push_back(s);
  }
  return out;
}

bool WriteDemoRecording(const std::string& path,
                        const std::vector<ecg::acquisition::FrameSamples>& frames, double rate) {
  CCableSettings cable;
  cable.SetSerialNumber("TST001");
  CECGSettings ecg;
  ecg.SetSamplingRate(rate);
  CCircularBuffer ring(false, false);
  if (!ring.Allocate(static_cast<uint32_t>(frames.size() * 13 + 1))) return false;
  for (const auto& s : frames) {
    const auto f = ecg::acquisition::PackFrame(s);
    if (!ring.Write(f.data(), 13)) return false;
  }
  return CDemoFile::WriteFile(path, ring, cable, ecg);
}

int DarkPixels(const QImage& image, int y0, int y1, int x0, int x1) {
  if (x1 < 0) x1 = image.width();
  int n = 0;
  for (int y = std::max(0, y0); y < std::min(y1, image.height()); ++y) {
    for (int x = std::max(0, x0); x < std::min(x1, image.width()); ++x) {
      if (qGray(image.pixel(x, y)) < 100) ++n;
    }
  }
  return n;
}

std::string SavePicture(const QImage& image, const std::string& name) {
  const std::string path = TestOutputFolder() + "/" + name;
  image.save(QString::fromStdString(path), "PNG");
  return path;
}

}  // namespace ecg::test
