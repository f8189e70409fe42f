// Arbitrary bytes as a filter and sound settings file: the sectioned INI
// reader, then both settings readers, whose results must stay in range.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>

#include "dsp/beep_thread.h"
#include "dsp/filter_settings.h"
#include "platform/ini_file.h"

namespace {

// Settings are read without any sound device.
class SilentMidi final : public ecg::dsp::MidiOutput {
 public:
  bool Open() override { return false; }
  bool IsOpen() const override { return false; }
  bool ShortMessage(uint32_t) override { return false; }
  void Close() override {}
};

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ecg::platform::IniFile ini;
  if (!ini.Parse(std::span<const uint8_t>(data, size))) {
    Check(ini.size() == 0);
  }
  Check(ini.size() <= size);

  CFilterSettings filters;
  filters.ApplySettings(ini);
  Check(filters.MainsFrequency() == 50 || filters.MainsFrequency() == 60);
  Check(filters.AnyFilter() == (filters.Muscle() || filters.Power()));
  Check(!filters.Baseline());

  CBeepThread beep(std::make_unique<SilentMidi>());
  beep.ApplySettings(ini);
  for (int sound = 0; sound < 2; ++sound) {
    for (int parameter : {CBeepThread::kProgram, CBeepThread::kNote, CBeepThread::kVelocity}) {
      const int v = beep.GetSoundParameter(parameter, sound);
      Check(v >= 0 && v <= 127);
    }
    const int duration = beep.GetSoundParameter(CBeepThread::kDuration, sound);
    Check(duration >= 1 && duration <= 10);
  }
  return 0;
}
