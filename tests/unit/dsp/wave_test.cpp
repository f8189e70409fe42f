// Wave sounds: the parser's failure codes, the generated sound files, where
// the program looks for them, loading them into memory and playing them.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "capturing_outputs.h"
#include "dsp/alsa_wave_player.h"
#include "dsp/wave_file.h"
#include "dsp/wave_sounds.h"
#include "platform/last_error.h"
#include "platform/prompt.h"
#include "platform/registry.h"
#include "support/test_files.h"

namespace {

using ecg::dsp::ParseWave;
using ecg::dsp::WaveData;
using ecg::platform::GetLastError;

void Put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(static_cast<uint8_t>(x));
  v.push_back(static_cast<uint8_t>(x >> 8));
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
  Put16(v, x & 0xFFFF);
  Put16(v, x >> 16);
}
void Chunk(std::vector<uint8_t>& v, const char* id, const std::vector<uint8_t>& body) {
  v.insert(v.end(), id, id + 4);
  Put32(v, static_cast<uint32_t>(body.size()));
  v.insert(v.end(), body.begin(), body.end());
  if (body.size() % 2 != 0) v.push_back(0);
}
std::vector<uint8_t> Format(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits,
                            uint16_t align) {
  std::vector<uint8_t> f;
  Put16(f, tag);
  Put16(f, channels);
  Put32(f, rate);
  Put32(f, rate * align);
  Put16(f, align);
  Put16(f, bits);
  return f;
}
// A RIFF file of the chunks given, its size field counting them all.
std::vector<uint8_t> Riff(const std::vector<uint8_t>& chunks) {
  std::vector<uint8_t> v = {'R', 'I', 'F', 'F'};
  Put32(v, static_cast<uint32_t>(4 + chunks.size()));
  v.insert(v.end(), {'W', 'A', 'V', 'E'});
  v.insert(v.end(), chunks.begin(), chunks.end());
  return v;
}

TEST(WaveFile, ReadsPcmWithOtherChunksAroundIt) {
  std::vector<uint8_t> chunks;
  Chunk(chunks, "LIST", {1, 2, 3});  // odd length: padded
  Chunk(chunks, "fmt ", Format(1, 2, 8000, 16, 4));
  Chunk(chunks, "data", std::vector<uint8_t>(4 * 10 + 3, 0x11));  // a partial frame at the end
  Chunk(chunks, "junk", {9, 9});
  WaveData wave;
  ASSERT_TRUE(ParseWave(Riff(chunks), wave)) << GetLastError();
  EXPECT_EQ(wave.format.channels, 2);
  EXPECT_EQ(wave.format.sample_rate, 8000u);
  EXPECT_EQ(wave.format.bits_per_sample, 16);
  EXPECT_EQ(wave.frame_count(), 10u);
  EXPECT_EQ(wave.samples.size(), 40u);
}

TEST(WaveFile, ExtensibleFormatWithPcmSubFormat) {
  auto fmt = Format(0xFFFE, 1, 22050, 8, 1);
  Put16(fmt, 22);  // extension size
  Put16(fmt, 8);   // valid bits
  Put32(fmt, 4);   // channel mask
  Put16(fmt, 1);   // sub-format: PCM …
  fmt.resize(40, 0);
  std::vector<uint8_t> chunks;
  Chunk(chunks, "fmt ", fmt);
  Chunk(chunks, "data", {128, 129});
  WaveData wave;
  ASSERT_TRUE(ParseWave(Riff(chunks), wave));
  EXPECT_EQ(wave.frame_count(), 2u);
}

TEST(WaveFile, FailureCodes) {
  WaveData wave;
  auto expect_code = [&](const std::vector<uint8_t>& bytes, uint32_t code, const char* what) {
    EXPECT_FALSE(ParseWave(bytes, wave)) << what;
    EXPECT_EQ(GetLastError(), code) << what;
    EXPECT_TRUE(wave.samples.empty()) << what;
  };
  using namespace ecg::platform;
  std::vector<uint8_t> good;
  Chunk(good, "fmt ", Format(1, 1, 22050, 16, 2));
  Chunk(good, "data", {1, 2, 3, 4});

  expect_code({}, kErrorBadFormat, "empty");
  expect_code({'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '}, kErrorBadFormat, "not WAVE");
  auto riff = Riff(good);
  riff[4] += 1;  // claims one byte more than there is
  expect_code(riff, kErrorInvalidData, "RIFF size past the end");
  riff = Riff(good);
  riff.resize(riff.size() - 1);
  riff[4] -= 1;
  expect_code(riff, kErrorInvalidData, "data chunk past the RIFF end");

  std::vector<uint8_t> chunks;
  Chunk(chunks, "fmt ", Format(1, 1, 22050, 24, 3));
  Chunk(chunks, "data", {1, 2, 3});
  expect_code(Riff(chunks), kErrorBadFormat, "24 bits");
  chunks.clear();
  Chunk(chunks, "fmt ", Format(3, 1, 22050, 16, 2));
  Chunk(chunks, "data", {1, 2});
  expect_code(Riff(chunks), kErrorBadFormat, "floating point");
  chunks.clear();
  Chunk(chunks, "fmt ", Format(1, 3, 22050, 16, 6));
  expect_code(Riff(chunks), kErrorBadFormat, "three channels");
  chunks.clear();
  Chunk(chunks, "fmt ", Format(1, 1, 500, 16, 2));
  expect_code(Riff(chunks), kErrorBadFormat, "rate too low");
  chunks.clear();
  Chunk(chunks, "fmt ", Format(1, 2, 22050, 16, 2));
  expect_code(Riff(chunks), kErrorInvalidData, "frame size contradicts the format");
  chunks.clear();
  Chunk(chunks, "fmt ", {1, 0, 1, 0});
  expect_code(Riff(chunks), kErrorInvalidData, "short format chunk");
  chunks.clear();
  Chunk(chunks, "data", {1, 2});
  Chunk(chunks, "fmt ", Format(1, 1, 22050, 16, 2));
  expect_code(Riff(chunks), kErrorNoData, "data before format");
  chunks.clear();
  Chunk(chunks, "fmt ", Format(1, 1, 22050, 16, 2));
  expect_code(Riff(chunks), kErrorNoData, "no data");
  chunks.clear();
  Chunk(chunks, "fmt ", Format(1, 1, 22050, 16, 2));
  chunks.insert(chunks.end(), {'d', 'a', 't', 'a', 0xFF, 0xFF, 0xFF, 0xFF});
  expect_code(Riff(chunks), kErrorInvalidData, "huge data length");
}

// The build writes the sounds into its data folder; with no registry value
// that is where they are found.
class WaveSoundFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("XDG_CONFIG_HOME", folder_.File("user").c_str(), 1);
    ::setenv("XDG_CONFIG_DIRS", folder_.File("machine").c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("XDG_CONFIG_DIRS");
  }
  ecg::test::TempFolder folder_;
};

TEST_F(WaveSoundFiles, GeneratedSoundsAreShortCleanTones) {
  const std::string folder = ecg::dsp::WaveFolder();
  for (auto name : {ecg::dsp::kBeatWaveName, ecg::dsp::kLeadOffWaveName}) {
    SCOPED_TRACE(std::string(name));
    const auto bytes = ecg::test::ReadFile(folder + "/" + std::string(name));
    WaveData wave;
    ASSERT_TRUE(ParseWave(bytes, wave)) << "in " << folder;
    EXPECT_EQ(wave.format.channels, 1);
    EXPECT_EQ(wave.format.bits_per_sample, 16);
    const double seconds = static_cast<double>(wave.frame_count()) / wave.format.sample_rate;
    EXPECT_GT(seconds, 0.02);
    EXPECT_LT(seconds, 1.0);
    // Starts and ends at silence, and is never clipped.
    auto sample = [&](size_t i) {
      return static_cast<int16_t>(wave.samples[2 * i] | (wave.samples[2 * i + 1] << 8));
    };
    EXPECT_EQ(sample(0), 0);
    EXPECT_LT(std::abs(sample(wave.frame_count() - 1)), 200);
    int16_t loudest = 0;
    for (size_t i = 0; i < wave.frame_count(); ++i) {
      loudest = std::max<int16_t>(loudest, static_cast<int16_t>(std::abs(sample(i))));
    }
    EXPECT_GT(loudest, 8000);
    EXPECT_LT(loudest, 32000);
  }
}

TEST_F(WaveSoundFiles, RegistryValueNamesTheFolder) {
  ASSERT_TRUE(ecg::platform::RegistryWriteString(ecg::platform::RegistryHive::kLocalMachine,
                                                  ecg::dsp::kApplicationKey,
                                                  ecg::dsp::kApplicationLocationValue,
                                                  "/opt/tidemark/bin/"));
  EXPECT_EQ(ecg::dsp::WaveFolder(), "/opt/tidemark/bin");
  ASSERT_TRUE(ecg::platform::RegistryWriteString(ecg::platform::RegistryHive::kCurrentUser,
                                                  ecg::dsp::kApplicationKey,
                                                  ecg::dsp::kApplicationLocationValue,
                                                  "/home/me/tidemark"));
  EXPECT_EQ(ecg::dsp::WaveFolder(), "/home/me/tidemark");
}

TEST_F(WaveSoundFiles, LoadedSoundsPlayFromMemory) {
  ecg::dsp::WaveSounds sounds;
  ecg::platform::ScriptedPrompt prompt;
  const std::string folder = ecg::dsp::WaveFolder();
  ASSERT_TRUE(sounds.Load(folder, prompt, "Recording"));
  EXPECT_TRUE(prompt.shown().empty());
  ecg::test::CapturingWavePlayer player;
  EXPECT_TRUE(sounds.Play(ecg::dsp::WaveSounds::kBeat, player));
  EXPECT_TRUE(sounds.Play(ecg::dsp::WaveSounds::kLeadOff, player));
  ASSERT_EQ(player.memory.size(), 2u);
  EXPECT_TRUE(player.files.empty());
  EXPECT_EQ(*player.memory[0], ecg::test::ReadFile(folder + "/RT-ECG.wav"));
  EXPECT_EQ(*player.memory[1], ecg::test::ReadFile(folder + "/RT-ECG!.wav"));
}

TEST_F(WaveSoundFiles, UnreadableSoundsAreAnnouncedAndPlayedFromDisk) {
  ecg::dsp::WaveSounds sounds;
  ecg::platform::ScriptedPrompt prompt;
  const std::string empty = folder_.File("empty");
  std::filesystem::create_directories(empty);
  ecg::test::TempFolder other;
  const std::string only_beat = other.path();
  other.Write("RT-ECG.wav", ecg::test::ReadFile(ecg::dsp::WaveFolder() + "/RT-ECG.wav"));

  EXPECT_FALSE(sounds.Load(empty, prompt, "Recording"));
  ASSERT_EQ(prompt.shown().size(), 2u);
  EXPECT_EQ(prompt.shown()[0].text,
            "Wave file couldn't be loaded into memory and will be used from disk as necessary.");
  EXPECT_EQ(prompt.shown()[0].caption, "Recording");
  ecg::test::CapturingWavePlayer player;
  sounds.Play(ecg::dsp::WaveSounds::kLeadOff, player);
  ASSERT_EQ(player.files.size(), 1u);
  EXPECT_EQ(player.files[0], empty + "/RT-ECG!.wav");

  prompt.Clear();
  EXPECT_FALSE(sounds.Load(only_beat, prompt, "Recording"));
  EXPECT_EQ(prompt.shown().size(), 1u);
  EXPECT_TRUE(sounds.IsLoaded(ecg::dsp::WaveSounds::kBeat));
  EXPECT_FALSE(sounds.IsLoaded(ecg::dsp::WaveSounds::kLeadOff));
}

TEST(AlsaWave, RefusesBytesThatAreNotAWave) {
  ecg::dsp::AlsaWavePlayer player;
  EXPECT_FALSE(player.PlayMemory(std::make_shared<std::vector<uint8_t>>(100, 0)));
  EXPECT_EQ(GetLastError(), ecg::platform::kErrorBadFormat);
  EXPECT_FALSE(player.PlayMemory(nullptr));
  EXPECT_EQ(GetLastError(), ecg::platform::kErrorInvalidParameter);
  ecg::test::TempFolder folder;
  EXPECT_FALSE(player.PlayFile(folder.File("absent.wav")));
  EXPECT_EQ(GetLastError(), ecg::platform::kErrorFileNotFound);
}

TEST(AlsaWave, PlaysOrFailsCleanlyOnThisMachine) {
  ecg::dsp::AlsaWavePlayer player;
  const std::string beat = ecg::dsp::WaveFolder() + "/RT-ECG.wav";
  struct stat st {};
  const bool has_sound = ::stat("/dev/snd", &st) == 0;
  const bool started = player.PlayFile(beat);
  if (!has_sound) {
    EXPECT_FALSE(started) << "no sound devices, yet playback started";
    EXPECT_FALSE(player.IsPlaying());
  }
  // Either way the destructor ends any playback without hanging.
}

}  // namespace
