#pragma once
// MIDI output through the ALSA sequencer: our own client with one output
// port, connected to the first synthesizer port that accepts events (a
// hardware or software synth such as FluidSynth or TiMidity). This takes the
// place the system's default MIDI device had.

#include <memory>
#include <string>

#include "dsp/midi_output.h"

namespace ecg::dsp {

class AlsaMidiOutput final : public MidiOutput {
 public:
  AlsaMidiOutput();
  ~AlsaMidiOutput() override;
  AlsaMidiOutput(const AlsaMidiOutput&) = delete;
  AlsaMidiOutput& operator=(const AlsaMidiOutput&) = delete;

  // False when there is no sequencer (no /dev/snd/seq) or no synth port.
  bool Open() override;
  bool IsOpen() const override;
  bool ShortMessage(uint32_t message) override;
  void Close() override;

  // "client:port" of the synth connected to, for diagnostics.
  const std::string& destination() const { return destination_; }

 private:
  struct Sequencer;
  std::unique_ptr<Sequencer> seq_;
  std::string destination_;
};

}  // namespace ecg::dsp
