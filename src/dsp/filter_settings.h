#pragma once
// The display filter chain of a recording: which filters are on, the mains
// frequency, the sample vector being filtered and the lock that the cable
// thread and the window share around every use.
//
// Usage (one frame): Lock(); write SampleVector(); Filter(); copy the vector
// out; Unlock(). Switching a filter: Lock(); set the flag; SetAnyFilter();
// Reset(); Unlock() — or SwitchFilters(), which does exactly that.

#include <array>
#include <cstdint>
#include <semaphore>
#include <string>

#include "dsp/display_filters.h"

namespace ecg::platform {
class IniFile;
}

class CFilterSettings {
 public:
  // The rate the cable reports when its handshake gives none.
  static constexpr double kDefaultRate = 496.55172413795;
  // Offset-binary zero of the cable's 12-bit samples.
  static constexpr int16_t kSampleZero = 2048;

  CFilterSettings();
  CFilterSettings(const CFilterSettings&) = delete;
  CFilterSettings& operator=(const CFilterSettings&) = delete;

  // Reads section "Filters" of an INI file: "Muscle" and "Power" (non-zero =
  // on) and "PowerType" (60 = 60 Hz, anything else 50 Hz). A file that cannot
  // be read leaves the defaults (off, 50 Hz) and the last-error code says
  // why; the result is true either way. The baseline flag is not read.
  bool LoadSettings(const std::string& ini_path);
  void ApplySettings(const ecg::platform::IniFile& ini);

  // Loads every filter with the design closest to the sampling rate.
  void SetUp(double rate_hz);
  // Filters SampleVector() in place (offset binary in and out).
  void Filter();
  // Clears the delay lines of the display filters, then SetAnyFilter().
  void Reset();
  void SetAnyFilter();

  void Lock() { m_lock.acquire(); }
  void Unlock() { m_lock.release(); }

  // Takes the lock, sets all flags and the mains frequency, and resets the
  // filters, as the filter buttons do.
  void SwitchFilters(bool muscle, bool baseline, bool power, uint8_t mains_hz);

  // "Filters: [50Hz; ]0.05 - 35 Hz|0.05 - 150 Hz[ Baseline]".
  std::string FilterLabel() const;

  std::array<int16_t, kFilterChannels>& SampleVector() { return m_sampleVector; }

  void SetMuscle(bool on) { m_muscle = on; }
  void SetBaseline(bool on) { m_baseline = on; }
  void SetPower(bool on) { m_power = on; }
  // 60 selects the 60 Hz notch; any other value is taken as 50.
  void SetMainsFrequency(uint8_t hz) { m_mainsHz = hz == 60 ? 60 : 50; }
  bool Muscle() const { return m_muscle; }
  bool Baseline() const { return m_baseline; }
  bool Power() const { return m_power; }
  uint8_t MainsFrequency() const { return m_mainsHz; }
  bool AnyFilter() const { return m_anyFilter; }
  bool StoreFiltered() const { return m_storeFiltered; }
  // The design index SetUp chose (0 or 1).
  size_t Design() const { return m_design; }

 private:
  bool m_muscle = false;
  bool m_baseline = false;
  bool m_power = false;
  uint8_t m_mainsHz = 50;
  bool m_storeFiltered = false;
  std::array<int16_t, kFilterChannels> m_sampleVector;
  std::binary_semaphore m_lock{1};
  bool m_anyFilter = false;
  CMuscleFilter m_muscleFilter;
  CBaselineFilter m_baselineFilter;
  CPowerFilter m_power60;
  CPowerFilter m_power50;
  // A pair for filtering the stored frames; set up, never used by the display.
  CPowerFilter m_storePower60;
  CPowerFilter m_storePower50;
  size_t m_design = 0;
};
