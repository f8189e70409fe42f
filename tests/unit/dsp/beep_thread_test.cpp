// The beep thread's MIDI traffic, captured: program changes at start, note
// on for a queued sound, note off when its time is up; the queue limit; the
// clamping of sound parameters; and a clean failure without a synthesizer.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <future>
#include <memory>
#include <thread>

#include "capturing_outputs.h"
#include "dsp/alsa_midi_output.h"
#include "dsp/beep_thread.h"
#include "platform/prompt.h"

namespace {

using ecg::test::CapturingMidiOutput;
using ecg::test::MidiCapture;
using std::chrono::milliseconds;

// Messages as the synthesizer receives them: status, then the data bytes.
constexpr uint32_t Msg(uint32_t status, uint32_t d1, uint32_t d2) {
  return status | d1 << 8 | d2 << 16;
}

class BeepThreadTest : public ::testing::Test {
 protected:
  BeepThreadTest()
      : capture_(std::make_shared<MidiCapture>()),
        beep_(std::make_unique<CapturingMidiOutput>(capture_)) {}
  std::shared_ptr<MidiCapture> capture_;
  CBeepThread beep_;
};

TEST_F(BeepThreadTest, QueuedBeatIsANoteOnThenANoteOffOneTickLater) {
  ASSERT_TRUE(beep_.MIDISetUp());
  beep_.SendProgramChanges();
  EXPECT_EQ(capture_->Packed(), (std::vector<uint32_t>{Msg(0xC0, 33, 0), Msg(0xC1, 33, 0)}));

  ASSERT_TRUE(beep_.AddQueue(CBeepThread::kQrsSound));
  beep_.Tick();
  beep_.Tick();
  beep_.Tick();
  EXPECT_EQ(capture_->Packed(), (std::vector<uint32_t>{Msg(0xC0, 33, 0), Msg(0xC1, 33, 0),
                                                       Msg(0x90, 80, 127), Msg(0x80, 80, 0)}));
}

TEST_F(BeepThreadTest, LeadOffToneLastsItsDuration) {
  ASSERT_TRUE(beep_.MIDISetUp());
  ASSERT_TRUE(beep_.AddQueue(CBeepThread::kLeadOffSound));
  beep_.Tick();
  EXPECT_EQ(capture_->Packed(), (std::vector<uint32_t>{Msg(0x91, 60, 64)}));
  for (int i = 0; i < 4; ++i) beep_.Tick();
  EXPECT_EQ(capture_->Packed().size(), 1u);
  beep_.Tick();  // the fifth tick ends it
  EXPECT_EQ(capture_->Packed().back(), Msg(0x81, 60, 0));
}

TEST_F(BeepThreadTest, SettingsChangeTheMessages) {
  ASSERT_TRUE(beep_.SetSoundParameter(CBeepThread::kProgram, 0, 12));
  ASSERT_TRUE(beep_.SetSoundParameter(CBeepThread::kNote, 0, 200));     // held at 127
  ASSERT_TRUE(beep_.SetSoundParameter(CBeepThread::kVelocity, 0, 90));
  ASSERT_TRUE(beep_.SetSoundParameter(CBeepThread::kChannel, 0, 9));
  ASSERT_TRUE(beep_.SetSoundParameter(CBeepThread::kDuration, 0, 2));
  ASSERT_TRUE(beep_.MIDISetUp());
  beep_.SendProgramChanges();
  beep_.AddQueue(0);
  beep_.Tick();
  beep_.Tick();
  beep_.Tick();
  EXPECT_EQ(capture_->Packed(), (std::vector<uint32_t>{Msg(0xC9, 12, 0), Msg(0xC1, 33, 0),
                                                       Msg(0x99, 127, 90), Msg(0x89, 127, 0)}));
}

TEST_F(BeepThreadTest, ParametersAreClampedAndUnknownOnesIgnored) {
  struct Case {
    int parameter, value, stored;
  };
  const Case cases[] = {
      {CBeepThread::kDuration, 0, 1},   {CBeepThread::kDuration, 15, 10},
      {CBeepThread::kNote, 200, 127},   {CBeepThread::kNote, -1, 0},
      {CBeepThread::kProgram, 128, 127}, {CBeepThread::kVelocity, 1000, 127},
      {CBeepThread::kChannel, 16, 15},  {CBeepThread::kChannel, -3, 0},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(beep_.SetSoundParameter(c.parameter, 1, c.value));
    EXPECT_EQ(beep_.GetSoundParameter(c.parameter, 1), c.stored)
        << "parameter " << c.parameter << " value " << c.value;
  }
  EXPECT_FALSE(beep_.SetSoundParameter(CBeepThread::kNote, 2, 50));
  EXPECT_FALSE(beep_.SetSoundParameter(CBeepThread::kNote, -1, 50));
  EXPECT_TRUE(beep_.SetSoundParameter(5, 0, 50));
  EXPECT_EQ(beep_.GetSoundParameter(CBeepThread::kNote, 0), 80);
}

TEST_F(BeepThreadTest, QueueHoldsSixteenRequests) {
  EXPECT_FALSE(beep_.AddQueue(0));  // no queue before MIDISetUp
  ASSERT_TRUE(beep_.MIDISetUp());
  for (int i = 0; i < 16; ++i) ASSERT_TRUE(beep_.AddQueue(i % 2)) << i;
  EXPECT_FALSE(beep_.AddQueue(0));
  beep_.Tick();
  EXPECT_EQ(capture_->Packed().size(), 16u);
  EXPECT_TRUE(beep_.AddQueue(0));
}

TEST_F(BeepThreadTest, UnknownSoundsTakeASlotButPlayNothing) {
  ASSERT_TRUE(beep_.MIDISetUp());
  for (int i = 0; i < 16; ++i) ASSERT_TRUE(beep_.AddQueue(7));
  EXPECT_FALSE(beep_.AddQueue(-1));
  beep_.Tick();
  EXPECT_TRUE(capture_->Packed().empty());
}

TEST(MidiMessages, PackingMasksChannelAndData) {
  using ecg::dsp::PackMidiMessage;
  EXPECT_EQ(PackMidiMessage(0x90, 3, 80, 127), 0x7F5093u);
  EXPECT_EQ(PackMidiMessage(0x90, 0x13, 1, 2), 0x020193u);           // channel to 4 bits
  EXPECT_EQ(PackMidiMessage(0xC0, 0, 0xFFFF, 0), 0x07FFC0u);         // data to 11 bits
  EXPECT_EQ(PackMidiMessage(0x80, 0, 0, 0x1801), (0x001u << 16) | 0x80u);
}

TEST_F(BeepThreadTest, ThreadPlaysQueuedSoundsAndStopsPromptly) {
  ASSERT_TRUE(beep_.SetSoundParameter(CBeepThread::kDuration, 1, 10));
  ASSERT_TRUE(beep_.MIDISetUp());
  ASSERT_TRUE(beep_.CreateThread());
  EXPECT_TRUE(beep_.IsRunning());
  ASSERT_TRUE(capture_->WaitFor(2, milliseconds(2000)));  // program changes
  ASSERT_TRUE(beep_.AddQueue(CBeepThread::kQrsSound));
  ASSERT_TRUE(capture_->WaitFor(4, milliseconds(2000)));
  {
    std::lock_guard lock(capture_->mutex);
    ASSERT_EQ(capture_->messages.size(), 4u);
    EXPECT_EQ(capture_->messages[2].packed, Msg(0x90, 80, 127));
    EXPECT_EQ(capture_->messages[3].packed, Msg(0x80, 80, 0));
  }
  // A lead-off tone is still sounding when the thread is stopped: it is ended.
  ASSERT_TRUE(beep_.AddQueue(CBeepThread::kLeadOffSound));
  ASSERT_TRUE(capture_->WaitFor(5, milliseconds(2000)));
  const auto asked = std::chrono::steady_clock::now();
  beep_.StopMe();
  beep_.WaitForExitEvent();
  EXPECT_LT(std::chrono::steady_clock::now() - asked, milliseconds(1000));
  EXPECT_FALSE(beep_.IsRunning());
  const auto packed = capture_->Packed();
  ASSERT_EQ(packed.size(), 6u);
  EXPECT_EQ(packed[4], Msg(0x91, 60, 64));
  EXPECT_EQ(packed[5], Msg(0x81, 60, 0));
  EXPECT_FALSE(beep_.output().IsOpen());
  EXPECT_EQ(capture_->close_calls, 1);
}

TEST_F(BeepThreadTest, StopBeforeTheThreadRunsIsNotLost) {
  ASSERT_TRUE(beep_.MIDISetUp());
  ASSERT_TRUE(beep_.CreateThread());
  beep_.StopMe();
  // Should the request be lost, a second one rescues the test after a while.
  const auto asked = std::chrono::steady_clock::now();
  std::promise<void> stopped;
  std::thread rescue([this, done = stopped.get_future()] {
    if (done.wait_for(milliseconds(3000)) == std::future_status::timeout) beep_.StopMe();
  });
  beep_.WaitForExitEvent();
  stopped.set_value();
  EXPECT_LT(std::chrono::steady_clock::now() - asked, milliseconds(2000));
  rescue.join();
  EXPECT_FALSE(beep_.IsRunning());
  // It can be started again afterwards.
  ASSERT_TRUE(beep_.MIDISetUp());
  EXPECT_TRUE(beep_.CreateThread());
}

TEST_F(BeepThreadTest, SetUpRefusedWhileRunningAndThreadStartsOnlyOnce) {
  ASSERT_TRUE(beep_.MIDISetUp());
  ASSERT_TRUE(beep_.CreateThread());
  EXPECT_FALSE(beep_.CreateThread());
  EXPECT_FALSE(beep_.MIDISetUp());
  beep_.StopMe();
  beep_.WaitForExitEvent();
}

TEST_F(BeepThreadTest, NoSynthesizerShowsTheMessageAndStartsNothing) {
  capture_->refuse_open = true;
  ecg::platform::ScriptedPrompt prompt;
  EXPECT_FALSE(ecg::dsp::StartBeepThread(beep_, prompt, "Recording"));
  EXPECT_FALSE(beep_.IsRunning());
  ASSERT_EQ(prompt.shown().size(), 1u);
  EXPECT_EQ(prompt.shown()[0].text, "Could not connect to MIDI MAPPER.");
  EXPECT_EQ(capture_->open_calls, 1);
}

TEST_F(BeepThreadTest, StartsWhenTheSynthesizerOpens) {
  ecg::platform::ScriptedPrompt prompt;
  ASSERT_TRUE(ecg::dsp::StartBeepThread(beep_, prompt, "Recording"));
  EXPECT_TRUE(prompt.shown().empty());
  EXPECT_TRUE(beep_.IsRunning());
  // The destructor stops it.
}

bool MachineHasSequencer() {
  struct stat st {};
  return ::stat("/dev/snd/seq", &st) == 0;
}

TEST(AlsaMidi, WithoutASequencerSetUpFailsCleanly) {
  if (MachineHasSequencer()) GTEST_SKIP() << "this machine has an ALSA sequencer";
  ecg::dsp::AlsaMidiOutput output;
  EXPECT_FALSE(output.Open());
  EXPECT_FALSE(output.IsOpen());
  EXPECT_FALSE(output.ShortMessage(Msg(0x90, 60, 64)));
  output.Close();

  CBeepThread beep;  // the real output
  ecg::platform::ScriptedPrompt prompt;
  const auto started = std::chrono::steady_clock::now();
  EXPECT_FALSE(ecg::dsp::StartBeepThread(beep, prompt, "Recording"));
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
  ASSERT_EQ(prompt.shown().size(), 1u);
  EXPECT_EQ(prompt.shown()[0].text, ecg::dsp::kMidiConnectFailedText);
  EXPECT_FALSE(beep.IsRunning());
}

TEST(AlsaMidi, WithASequencerOpenAndCloseAreBalanced) {
  if (!MachineHasSequencer()) GTEST_SKIP() << "no ALSA sequencer on this machine";
  ecg::dsp::AlsaMidiOutput output;
  if (output.Open()) {
    EXPECT_TRUE(output.IsOpen());
    EXPECT_FALSE(output.destination().empty());
    EXPECT_TRUE(output.ShortMessage(Msg(0xC0, 0, 0)));
  }
  output.Close();
  EXPECT_FALSE(output.IsOpen());
  EXPECT_FALSE(output.ShortMessage(Msg(0x90, 60, 64)));
}

}  // namespace
