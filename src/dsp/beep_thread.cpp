#include "dsp/beep_thread.h"

#include <algorithm>
#include <new>
#include <system_error>

#include "dsp/alsa_midi_output.h"
#include "platform/ini_file.h"
#include "platform/prompt.h"

using ecg::dsp::kMidiNoteOff;
using ecg::dsp::kMidiNoteOn;
using ecg::dsp::kMidiProgramChange;

CBeepThread::CBeepThread(std::unique_ptr<ecg::dsp::MidiOutput> output)
    : m_output(output ? std::move(output) : std::make_unique<ecg::dsp::AlsaMidiOutput>()) {
  m_sounds[kQrsSound] = SoundSettings{33, 127, 80, 0, 1};
  m_sounds[kLeadOffSound] = SoundSettings{33, 64, 60, 1, 5};
}

CBeepThread::~CBeepThread() {
  StopMe();
  WaitForExitEvent();
  m_output->Close();
}

bool CBeepThread::LoadSettings(const std::string& ini_path) {
  ecg::platform::IniFile ini;
  ini.Load(ini_path);  // on failure the file is empty and the defaults apply
  ApplySettings(ini);
  return true;
}

void CBeepThread::ApplySettings(const ecg::platform::IniFile& ini) {
  constexpr const char* kSection = "Midi Sound";
  struct Key {
    const char* name;
    int parameter;
    int sound;
    int default_value;
  };
  static constexpr Key kKeys[] = {
      {"QRSVoice", kProgram, kQrsSound, 33},
      {"QRSNote", kNote, kQrsSound, 80},
      {"QRSVelocity", kVelocity, kQrsSound, 127},
      {"QRSDuration", kDuration, kQrsSound, 1},
      {"LeadOffVoice", kProgram, kLeadOffSound, 33},
      {"LeadOffNote", kNote, kLeadOffSound, 60},
      {"LeadOffVelocity", kVelocity, kLeadOffSound, 64},
      {"LeadOffDuration", kDuration, kLeadOffSound, 5},
  };
  for (const Key& key : kKeys) {
    SetSoundParameter(key.parameter, key.sound, ini.Int(kSection, key.name, key.default_value));
  }
}

bool CBeepThread::SetSoundParameter(int parameter, int sound, int value) {
  if (sound != kQrsSound && sound != kLeadOffSound) return false;
  std::lock_guard lock(m_settingsLock);
  SoundSettings& s = m_sounds[static_cast<size_t>(sound)];
  switch (parameter) {
    case kProgram: s.program = std::clamp(value, 0, 127); break;
    case kNote: s.note = std::clamp(value, 0, 127); break;
    case kVelocity: s.velocity = std::clamp(value, 0, 127); break;
    case kChannel: s.channel = std::clamp(value, 0, 15); break;
    case kDuration: s.duration = std::clamp(value, 1, 10); break;
    default: break;  // unknown parameters are ignored
  }
  return true;
}

int CBeepThread::GetSoundParameter(int parameter, int sound) const {
  if (sound != kQrsSound && sound != kLeadOffSound) return -1;
  const SoundSettings s = Settings(sound);
  switch (parameter) {
    case kProgram: return s.program;
    case kNote: return s.note;
    case kVelocity: return s.velocity;
    case kChannel: return s.channel;
    case kDuration: return s.duration;
    default: return -1;
  }
}

CBeepThread::SoundSettings CBeepThread::Settings(int sound) const {
  std::lock_guard lock(m_settingsLock);
  return m_sounds[static_cast<size_t>(sound)];
}

bool CBeepThread::MIDISetUp() {
  if (m_running.load()) return false;
  m_output->Close();
  m_queue.reset(new (std::nothrow) ecg::dsp::SoundQueue);
  if (!m_queue) return false;
  return m_output->Open();
}

bool CBeepThread::AddQueue(int sound) {
  if (!m_queue) return false;
  const uint8_t value = sound >= 0 && sound < 2 ? static_cast<uint8_t>(sound) : uint8_t{2};
  return m_queue->Push(value);
}

bool CBeepThread::CreateThread() {
  if (m_running.load() || m_thread.joinable()) return false;
  // The stop flags are cleared here, before the thread exists, so that a
  // StopMe() that comes before the thread has started is not lost.
  m_stopRequested = false;
  m_stopSecond = false;
  {
    std::lock_guard lock(m_eventLock);
    m_exited = false;
  }
  m_running = true;
  try {
    m_thread = std::thread([this] {
      if (InitInstance()) {
        Run();
      } else {
        ExitInstance();
      }
    });
  } catch (const std::system_error&) {
    m_running = false;
    std::lock_guard lock(m_eventLock);
    m_exited = true;
    return false;
  }
  return true;
}

void CBeepThread::StopMe() {
  m_stopRequested = true;
  m_stopSecond = true;
  std::lock_guard lock(m_eventLock);
  m_event.notify_all();
}

void CBeepThread::WaitForExitEvent() {
  {
    std::unique_lock lock(m_eventLock);
    m_event.wait(lock, [this] { return m_exited; });
  }
  if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) m_thread.join();
}

bool CBeepThread::InitInstance() {
  m_running = true;
  return true;
}

void CBeepThread::ExitInstance() {
  m_running = false;
  std::lock_guard lock(m_eventLock);
  m_exited = true;
  m_event.notify_all();
}

void CBeepThread::Send(uint8_t status, const SoundSettings& s, int data1, int data2) {
  m_output->ShortMessage(ecg::dsp::PackMidiMessage(status, s.channel, data1, data2));
}

void CBeepThread::SendProgramChanges() {
  for (int sound = 0; sound < kSoundCount; ++sound) {
    const SoundSettings s = Settings(sound);
    Send(kMidiProgramChange, s, s.program, 0);
  }
}

void CBeepThread::Tick() {
  for (int sound = 0; sound < kSoundCount; ++sound) {
    int& remaining = m_remaining[static_cast<size_t>(sound)];
    if (remaining > 0 && --remaining == 0) {
      const SoundSettings s = Settings(sound);
      Send(kMidiNoteOff, s, s.note, 0);
    }
  }
  if (!m_queue) return;
  uint8_t sound = 0;
  while (m_queue->Pop(sound)) {
    if (sound >= kSoundCount) continue;  // stored for an unknown sound: nothing to play
    const SoundSettings s = Settings(sound);
    m_remaining[sound] = s.duration;
    Send(kMidiNoteOn, s, s.note, s.velocity);
  }
}

int CBeepThread::Run() {
  SendProgramChanges();
  auto next = std::chrono::steady_clock::now() + kTick;
  while (!m_stopRequested.load()) {
    {
      std::unique_lock lock(m_eventLock);
      if (m_event.wait_until(lock, next, [this] { return m_stopRequested.load(); })) break;
    }
    // Ticks keep their spacing on average; after a long stall start afresh.
    next += kTick;
    const auto now = std::chrono::steady_clock::now();
    if (next < now) next = now + kTick;
    Tick();
  }
  // Notes still sounding are ended so that the synthesizer does not hold
  // them after the output is gone.
  for (int sound = 0; sound < kSoundCount; ++sound) {
    int& remaining = m_remaining[static_cast<size_t>(sound)];
    if (remaining > 0) {
      remaining = 0;
      const SoundSettings s = Settings(sound);
      Send(kMidiNoteOff, s, s.note, 0);
    }
  }
  m_output->Close();
  ExitInstance();
  return 0;
}

namespace ecg::dsp {

bool StartBeepThread(CBeepThread& thread, ecg::platform::Prompt& prompt,
                     std::string_view caption) {
  if (thread.MIDISetUp() && thread.CreateThread()) return true;
  thread.output().Close();
  prompt.Show(kMidiConnectFailedText, caption, ecg::platform::PromptButtons::kOk,
              ecg::platform::PromptIcon::kWarning);
  return false;
}

}  // namespace ecg::dsp
