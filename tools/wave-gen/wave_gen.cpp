// Writes the recording window's two wave sounds into a folder:
//   RT-ECG.wav   the beat tone: 60 ms at 1 kHz
//   RT-ECG!.wav  the lead-off tone: two 150 ms beeps at 660 Hz
// 16-bit mono PCM at 22050 Hz, each tone shaped with 5 ms raised-cosine
// edges so it starts and stops without a click.
//
// Usage: ecg-wave-gen OUTPUT-FOLDER

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

struct Tone {
  double start_s;
  double length_s;
  double frequency_hz;
};

std::vector<int16_t> Render(const std::vector<Tone>& tones, double total_s, double amplitude) {
  std::vector<int16_t> samples(static_cast<size_t>(total_s * kRate), 0);
  const double edge_s = 0.005;
  for (const Tone& tone : tones) {
    const size_t first = static_cast<size_t>(tone.start_s * kRate);
    const size_t count = static_cast<size_t>(tone.length_s * kRate);
    for (size_t i = 0; i < count && first + i < samples.size(); ++i) {
      const double t = static_cast<double>(i) / kRate;
      double gain = 1.0;
      if (t < edge_s) gain = 0.5 - 0.5 * std::cos(kPi * t / edge_s);
      const double to_end = tone.length_s - t;
      if (to_end < edge_s) gain = 0.5 - 0.5 * std::cos(kPi * to_end / edge_s);
      const double v = amplitude * gain * std::sin(2.0 * kPi * tone.frequency_hz * t);
      samples[first + i] = static_cast<int16_t>(std::lround(v * 32767.0));
    }
  }
  return samples;
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
void PutId(std::vector<uint8_t>& out, const char* id) { out.insert(out.end(), id, id + 4); }

bool WriteWave(const std::string& path, const std::vector<int16_t>& samples) {
  const uint32_t data_bytes = static_cast<uint32_t>(samples.size() * 2);
  std::vector<uint8_t> out;
  PutId(out, "RIFF");
  Put32(out, 4 + (8 + 16) + (8 + data_bytes));
  PutId(out, "WAVE");
  PutId(out, "fmt ");
  Put32(out, 16);
  Put16(out, 1);          // PCM
  Put16(out, 1);          // mono
  Put32(out, kRate);
  Put32(out, kRate * 2);  // bytes per second
  Put16(out, 2);          // bytes per frame
  Put16(out, 16);         // bits per sample
  PutId(out, "data");
  Put32(out, data_bytes);
  for (int16_t s : samples) Put16(out, static_cast<uint16_t>(s));

  // Written beside the target and renamed, so a build never leaves half a file.
  const std::string temp = path + ".part";
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (f == nullptr) return false;
  const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
  if (std::fclose(f) != 0 || !ok) {
    std::remove(temp.c_str());
    return false;
  }
  return std::rename(temp.c_str(), path.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: ecg-wave-gen OUTPUT-FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  const auto beat = Render({{0.0, 0.060, 1000.0}}, 0.060, 0.5);
  const auto lead_off = Render({{0.0, 0.150, 660.0}, {0.250, 0.150, 660.0}}, 0.400, 0.5);
  if (!WriteWave(folder + "/RT-ECG.wav", beat) || !WriteWave(folder + "/RT-ECG!.wav", lead_off)) {
    std::fprintf(stderr, "ecg-wave-gen: cannot write the wave files into %s\n", folder.c_str());
    return 1;
  }
  return 0;
}
