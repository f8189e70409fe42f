#pragma once
// Small pieces the recording window uses around the detector and the
// sounds: which frames feed the detector, when the lead-off tone is due and
// how the heart rate is shown.

#include <cstdint>
#include <span>
#include <string>

namespace ecg::dsp {

// Picks every second frame for the detector: a phase accumulator gains 250
// per frame and passes the frame when it reaches 500.
class DetectorFeed {
 public:
  // True when this frame goes to the detector.
  bool Take() {
    phase_ += 250;
    if (phase_ < 500) return false;
    phase_ -= 500;
    return true;
  }
  void Reset() { phase_ = 0; }

 private:
  int phase_ = 0;
};

// The detector's input for a raw lead II value: channel status codes
// (4080…4095) become 2048, the zero line.
constexpr int16_t DetectorSample(uint16_t raw) {
  return raw >= 4080 ? int16_t{2048} : static_cast<int16_t>(raw);
}

// Status bits that mean a lead is off: codes 0, 1, 3 and a channel the
// cable does not send.
inline constexpr uint32_t kLeadOffStatusBits = 0x8000000Bu;

// True when any of the channels' status words has a lead-off bit.
bool AnyLeadOff(std::span<const uint32_t> status_words);

// The heart rate as the window shows it: "%3.0f" keeping its last three
// characters, or "---" when the rate is 0 or no data is arriving.
std::string HeartRateText(double rate, bool data_arriving);

}  // namespace ecg::dsp
