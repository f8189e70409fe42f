#include "facade_records.h"

#include <cmath>
#include <vector>

#include "acquisition/cable_settings.h"
#include "acquisition/circular_buffer.h"
#include "acquisition/ecg_file.h"
#include "acquisition/ecg_settings.h"
#include "cable_simulator.h"
#include "dsp/filter_settings.h"
#include "platform/clock.h"
#include "scp/writer.h"

namespace ecg::test {

bool WriteRecordingFile(const std::string& path, int seconds) {
  ecg::cablesim::SimulatorOptions options;
  ecg::cablesim::CableSimulator simulator(options);
  const std::vector<uint8_t> bytes = simulator.StreamBytes(static_cast<uint32_t>(seconds) * 500);
  CCircularBuffer ring(false, true);
  if (!ring.Allocate(static_cast<uint32_t>(bytes.size()) + 13)) return false;
  if (!ring.Write(bytes.data(), static_cast<uint32_t>(bytes.size()))) return false;
  CCableSettings cable;
  cable.SetSerialNumber("Serial: SIM001");
  CECGSettings ecg;
  ecg.SetSamplingRate(500.0);
  ecg.SetResolution(4.88);
  CDisplaySettings display;
  CFilterSettings filters;
  CECGFile file;
  file.SetEndBufferTime(ecg::platform::SystemTime{2026, 12, 5, 5, 14, 30, 15, 0});
  return file.WriteFile(path, ring, cable, ecg, display, filters);
}

bool WriteCartRecord(const std::string& path) {
  const std::string recording = path + ".rec";
  if (!WriteRecordingFile(recording)) return false;
  CPatientInfo patient;
  CWriter writer;
  const bool ok = writer.CreateFromPelluxFile(path.c_str(), recording.c_str(), &patient);
  std::remove(recording.c_str());
  return ok;
}

bool WriteOneLeadRecord(const std::string& path) {
  std::vector<uint8_t> samples;
  for (int i = 0; i < 5000; ++i) {
    const auto v = static_cast<int16_t>(400.0 * std::sin(i * 2.0 * M_PI / 500.0));
    samples.push_back(static_cast<uint8_t>(v & 0xFF));
    samples.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
  }
  CPatientInfo patient;
  CWriter writer;
  return writer.CreateFrom16bitMem(path.c_str(), samples.data(), samples.size(), &patient, false,
                                   5.0, 500.0);
}

}  // namespace ecg::test

// Under LeakSanitizer: fontconfig keeps a cache for the life of the process,
// which the report engine's fonts create; that is not a leak of ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
