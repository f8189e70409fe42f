#pragma once
// Where the beep thread sends its MIDI messages: the sound system in the
// program, a recorder in tests.

#include <cstdint>

namespace ecg::dsp {

class MidiOutput {
 public:
  virtual ~MidiOutput() = default;
  // Connects to a synthesizer. False (with nothing left open) when there is
  // none.
  virtual bool Open() = 0;
  virtual bool IsOpen() const = 0;
  // Sends one packed short message: status | data1 << 8 | data2 << 16.
  virtual bool ShortMessage(uint32_t message) = 0;
  // Closes the connection; nothing when it is not open.
  virtual void Close() = 0;
};

// Status bytes of the messages the beep thread sends (channel in the low 4
// bits).
inline constexpr uint8_t kMidiNoteOff = 0x80;
inline constexpr uint8_t kMidiNoteOn = 0x90;
inline constexpr uint8_t kMidiProgramChange = 0xC0;

// Packs a channel message: the channel masked to 4 bits, each data value to
// 11 bits.
constexpr uint32_t PackMidiMessage(uint8_t status, int channel, int data1, int data2) {
  return (static_cast<uint32_t>(status) | (static_cast<uint32_t>(channel) & 0x0Fu)) |
         ((static_cast<uint32_t>(data1) & 0x7FFu) << 8) |
         ((static_cast<uint32_t>(data2) & 0x7FFu) << 16);
}

}  // namespace ecg::dsp
