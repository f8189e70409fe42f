// Sound and filter settings files: the sectioned INI reader with its failure
// codes, and the beep thread's "Midi Sound" section.

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <string>

#include "dsp/beep_thread.h"
#include "platform/ini_file.h"
#include "platform/last_error.h"
#include "support/test_files.h"

using namespace std::string_literals;
using ecg::platform::GetLastError;
using ecg::platform::IniFile;
using ecg::platform::ParseProfileInt;

namespace {

std::span<const uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

TEST(IniFile, SectionsKeysAndValues) {
  IniFile ini;
  const std::string text =
      "\xEF\xBB\xBF"
      "top=0\n"
      "; a comment\n"
      "# another\n"
      "[Midi Sound]\r\n"
      "  QRSNote = 72 \r\n"
      "qrsnote=10\n"
      "no equals sign here\n"
      "=no name\n"
      "[ Filters ]\n"
      "Power=1\n"
      "[Unclosed\n"
      "Muscle=1\n"
      "[midi sound]\n"
      "QRSVoice=5\n";
  ASSERT_TRUE(ini.Parse(Bytes(text)));
  EXPECT_EQ(ini.Value("MIDI SOUND", "QRSNote"), "72");  // the first one wins
  EXPECT_EQ(ini.Value("Midi Sound", "QRSVoice"), "5");  // a section may come back
  EXPECT_EQ(ini.Value("Filters", "Power"), "1");
  EXPECT_EQ(ini.Value("Unclosed", "Muscle"), "1");
  EXPECT_EQ(ini.Value("Filters", "Muscle"), std::nullopt);
  EXPECT_EQ(ini.Value("", "top"), "0");
  EXPECT_EQ(ini.Int("Filters", "Missing", 42), 42);
  EXPECT_EQ(ini.size(), 6u);
}

TEST(IniFile, NumbersReadAsProfileIntegers) {
  EXPECT_EQ(ParseProfileInt("42"), 42);
  EXPECT_EQ(ParseProfileInt("  42abc"), 42);
  EXPECT_EQ(ParseProfileInt("-7"), -7);
  EXPECT_EQ(ParseProfileInt("+7"), 7);
  EXPECT_EQ(ParseProfileInt("abc"), 0);
  EXPECT_EQ(ParseProfileInt(""), 0);
  EXPECT_EQ(ParseProfileInt("0x10"), 0);
  EXPECT_EQ(ParseProfileInt("99999999999999999999"), INT_MAX);
  EXPECT_EQ(ParseProfileInt("-99999999999999999999"), INT_MIN);
}

TEST(IniFile, FailureCodes) {
  ecg::test::TempFolder folder;
  IniFile ini;
  ASSERT_TRUE(ini.Parse(Bytes("[A]\nx=1\n")));

  EXPECT_FALSE(ini.Load(folder.File("missing.ini")));
  EXPECT_EQ(GetLastError(), ecg::platform::kErrorFileNotFound);
  EXPECT_EQ(ini.size(), 0u);

  ASSERT_TRUE(ini.Parse(Bytes("[A]\nx=1\n")));
  EXPECT_FALSE(ini.Parse(Bytes("[A]\nx=1\0\n"s)));
  EXPECT_EQ(GetLastError(), ecg::platform::kErrorInvalidData);
  EXPECT_EQ(ini.size(), 0u);

  // UTF-16 text holds NUL bytes too.
  EXPECT_FALSE(ini.Parse(Bytes("\xFF\xFE[\0A\0]\0"s)));
  EXPECT_EQ(GetLastError(), ecg::platform::kErrorInvalidData);

  std::string huge(IniFile::kMaxFileSize + 1, 'x');
  EXPECT_FALSE(ini.Parse(Bytes(huge)));
  EXPECT_EQ(GetLastError(), ecg::platform::kErrorOutOfMemory);
  const std::string big_file = folder.File("big.ini");
  std::ofstream(big_file, std::ios::binary) << huge;
  EXPECT_FALSE(ini.Load(big_file));
  EXPECT_EQ(GetLastError(), ecg::platform::kErrorOutOfMemory);

  huge.resize(IniFile::kMaxFileSize);  // exactly at the limit is fine
  EXPECT_TRUE(ini.Parse(Bytes(huge)));
  EXPECT_TRUE(ini.Parse({}));
  EXPECT_EQ(ini.size(), 0u);
}

class MidiSoundFile : public ::testing::Test {
 protected:
  std::string Write(const std::string& text) {
    const std::string path = folder_.File("sound.ini");
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  ecg::test::TempFolder folder_;
};

TEST_F(MidiSoundFile, ReadsEveryKeyAndClampsTheValues) {
  CBeepThread beep;
  ASSERT_TRUE(beep.LoadSettings(Write("[Midi Sound]\n"
                                      "QRSVoice=12\nQRSNote=200\nQRSVelocity=-4\nQRSDuration=0\n"
                                      "LeadOffVoice=127\nLeadOffNote=61\nLeadOffVelocity=99\n"
                                      "LeadOffDuration=15\n")));
  EXPECT_EQ(beep.GetSoundParameter(CBeepThread::kProgram, 0), 12);
  EXPECT_EQ(beep.GetSoundParameter(CBeepThread::kNote, 0), 127);
  EXPECT_EQ(beep.GetSoundParameter(CBeepThread::kVelocity, 0), 0);
  EXPECT_EQ(beep.GetSoundParameter(CBeepThread::kDuration, 0), 1);
  EXPECT_EQ(beep.GetSoundParameter(CBeepThread::kProgram, 1), 127);
  EXPECT_EQ(beep.GetSoundParameter(CBeepThread::kNote, 1), 61);
  EXPECT_EQ(beep.GetSoundParameter(CBeepThread::kVelocity, 1), 99);
  EXPECT_EQ(beep.GetSoundParameter(CBeepThread::kDuration, 1), 10);
  // Channels are not in the file.
  EXPECT_EQ(beep.GetSoundParameter(CBeepThread::kChannel, 0), 0);
  EXPECT_EQ(beep.GetSoundParameter(CBeepThread::kChannel, 1), 1);
}

TEST_F(MidiSoundFile, MissingKeysAndUnreadableFilesGiveTheDefaults) {
  CBeepThread beep;
  beep.SetSoundParameter(CBeepThread::kNote, 0, 10);
  beep.SetSoundParameter(CBeepThread::kDuration, 1, 9);
  ASSERT_TRUE(beep.LoadSettings(Write("[Midi Sound]\nQRSVelocity=100\n")));
  EXPECT_EQ(beep.GetSoundParameter(CBeepThread::kNote, 0), 80);
  EXPECT_EQ(beep.GetSoundParameter(CBeepThread::kVelocity, 0), 100);
  EXPECT_EQ(beep.GetSoundParameter(CBeepThread::kDuration, 1), 5);

  ecg::platform::SetLastError(0);
  EXPECT_TRUE(beep.LoadSettings(folder_.File("none.ini")));
  EXPECT_EQ(GetLastError(), ecg::platform::kErrorFileNotFound);
  EXPECT_EQ(beep.GetSoundParameter(CBeepThread::kVelocity, 0), 127);
  const int defaults[2][5] = {{33, 80, 127, 0, 1}, {33, 60, 64, 1, 5}};
  for (int sound = 0; sound < 2; ++sound) {
    for (int parameter = 0; parameter < 5; ++parameter) {
      EXPECT_EQ(beep.GetSoundParameter(parameter, sound), defaults[sound][parameter])
          << "sound " << sound << " parameter " << parameter;
    }
  }
}

}  // namespace
