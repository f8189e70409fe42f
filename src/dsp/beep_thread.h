#pragma once
// The beep thread: plays a short tone on every detected beat (sound 0) and a
// warning tone while a lead is off (sound 1) on a MIDI synthesizer. Callers
// queue sound numbers with AddQueue; every 100 ms the thread ends the notes
// whose time is up and starts the queued ones.

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "dsp/midi_output.h"
#include "dsp/sound_queue.h"

namespace ecg::platform {
class IniFile;
class Prompt;
}  // namespace ecg::platform

class CBeepThread {
 public:
  enum Sound : int { kQrsSound = 0, kLeadOffSound = 1, kSoundCount = 2 };
  enum Parameter : int {
    kProgram = 0,   // 0…127
    kNote = 1,      // 0…127
    kVelocity = 2,  // 0…127
    kChannel = 3,   // 0…15
    kDuration = 4,  // 1…10, in 100 ms steps
  };
  static constexpr std::chrono::milliseconds kTick{100};

  // Sends to `output`; without one, to the ALSA sequencer.
  explicit CBeepThread(std::unique_ptr<ecg::dsp::MidiOutput> output = nullptr);
  // Stops the thread and waits for it.
  ~CBeepThread();
  CBeepThread(const CBeepThread&) = delete;
  CBeepThread& operator=(const CBeepThread&) = delete;

  // Reads section "Midi Sound" of an INI file (keys "QRSVoice", "QRSNote",
  // "QRSVelocity", "QRSDuration", "LeadOffVoice", "LeadOffNote",
  // "LeadOffVelocity", "LeadOffDuration"); missing keys take the defaults and
  // every value is clamped as SetSoundParameter does. A file that cannot be
  // read leaves the defaults and the last-error code says why; the result is
  // true either way.
  bool LoadSettings(const std::string& ini_path);
  void ApplySettings(const ecg::platform::IniFile& ini);

  // Sets one parameter of sound 0 or 1, clamped to its range. False for any
  // other sound; a parameter above 4 is ignored (true).
  bool SetSoundParameter(int parameter, int sound, int value);
  // The current value of a parameter (-1 for an unknown one).
  int GetSoundParameter(int parameter, int sound) const;

  // Closes an open output, makes the request queue and connects to the
  // synthesizer. False when the queue cannot be made, the output cannot be
  // opened or the thread is running.
  bool MIDISetUp();

  // Appends a sound request (2 and above are stored as 2, which plays
  // nothing). False before MIDISetUp and when 16 requests are waiting.
  bool AddQueue(int sound);

  // Starts Run() on a new thread. False when it is already running or the
  // thread cannot be created.
  bool CreateThread();
  // Asks the thread to stop; it does so within one tick.
  void StopMe();
  bool IsRunning() const { return m_running.load(); }
  // Waits until the thread has finished (ExitInstance done) and joins it.
  void WaitForExitEvent();

  // The pieces of the thread's work. Run() is what the thread executes;
  // tests call the steps directly to check the messages without a clock.
  bool InitInstance();
  void SendProgramChanges();
  void Tick();
  int Run();
  void ExitInstance();

  ecg::dsp::MidiOutput& output() { return *m_output; }

 private:
  struct SoundSettings {
    int program;
    int velocity;
    int note;
    int channel;
    int duration;
  };

  void Send(uint8_t status, const SoundSettings& s, int data1, int data2);
  SoundSettings Settings(int sound) const;

  std::unique_ptr<ecg::dsp::SoundQueue> m_queue;
  mutable std::mutex m_settingsLock;
  std::array<SoundSettings, kSoundCount> m_sounds;
  std::array<int, kSoundCount> m_remaining{};  // ticks left, beep thread only
  std::unique_ptr<ecg::dsp::MidiOutput> m_output;

  // What the worker-thread base gives: running flag, two stop flags and an
  // exit event, plus a wake-up so a stop request does not wait for the tick.
  std::atomic<bool> m_running{false};
  std::atomic<bool> m_stopRequested{false};
  std::atomic<bool> m_stopSecond{false};
  std::mutex m_eventLock;
  std::condition_variable m_event;
  bool m_exited = true;
  std::thread m_thread;
};

namespace ecg::dsp {

// The message shown when no synthesizer can be reached.
inline constexpr std::string_view kMidiConnectFailedText = "Could not connect to MIDI MAPPER.";

// Sets up MIDI and starts the beep thread, as the recording window does when
// MIDI sounds are on. On failure it shows kMidiConnectFailedText through the
// prompt and returns false; the caller then switches audible indications off.
bool StartBeepThread(CBeepThread& thread, ecg::platform::Prompt& prompt,
                     std::string_view caption);

}  // namespace ecg::dsp
