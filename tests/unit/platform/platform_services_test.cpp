#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/clock.h"
#include "platform/folders.h"
#include "platform/last_error.h"
#include "platform/module_version.h"
#include "platform/prompt.h"
#include "platform/shared_library.h"
#include "platform/temp_file.h"
#include "support/test_files.h"

using namespace ecg::platform;

ECG_MODULE_VERSION_TABLE("040904E4\0"
                         "FileVersion\0" "1.2.3.4\0"
                         "CompanyName\0" "Tidemark\0"
                         "\0"
                         "040904B0\0"
                         "FileVersion\0" "5.6.7.8\0"
                         "Comments\0" "unicode block\0"
                         "\0");

namespace {

TEST(LastError, CodesAreKeptPerThreadAndDescribed) {
  SetLastError(kErrorInvalidData);
  uint32_t other = 1;
  std::thread([&other] { other = GetLastError(); }).join();
  EXPECT_EQ(other, kErrorSuccess);
  EXPECT_EQ(GetLastError(), kErrorInvalidData);
  EXPECT_EQ(ErrorMeaning(kErrorNoData), "data not present");
  {
    LastErrorKeeper keep;
    SetLastError(5);
  }
  EXPECT_EQ(GetLastError(), kErrorInvalidData);
  EXPECT_EQ(ErrorFromErrno(ENOENT), kErrorFileNotFound);
  EXPECT_EQ(ErrorFromErrno(ENOSPC), kErrorDiskFull);
}

TEST(Folders, DocumentsFolderFollowsTheEnvironment) {
  ::setenv("ECG_DOCUMENTS_DIR", "/tmp/ecg-docs/", 1);
  EXPECT_EQ(DocumentsFolder(), "/tmp/ecg-docs");
  ::unsetenv("ECG_DOCUMENTS_DIR");
  ::setenv("XDG_DOCUMENTS_DIR", "/srv/docs", 1);
  EXPECT_EQ(DocumentsFolder(), "/srv/docs");
  ::unsetenv("XDG_DOCUMENTS_DIR");

  ecg::test::TempFolder folder;
  std::filesystem::create_directories(folder.File("config"));
  FILE* f = std::fopen(folder.File("config/user-dirs.dirs").c_str(), "w");
  std::fputs("XDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_DOCUMENTS_DIR=\"$HOME/Papiere\"\n", f);
  std::fclose(f);
  const char* home = std::getenv("HOME");
  std::string old_home = home ? home : "";
  ::setenv("XDG_CONFIG_HOME", folder.File("config").c_str(), 1);
  ::setenv("HOME", "/home/ana", 1);
  EXPECT_EQ(DocumentsFolder(), "/home/ana/Papiere");
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(DocumentsFolder(), "/home/ana/Documents");
  ::setenv("HOME", old_home.c_str(), 1);

  ::setenv("ECG_DOCUMENTS_DIR", folder.File("docs").c_str(), 1);
  EXPECT_EQ(TidemarkFolder(), folder.File("docs") + "/Tidemark");
  EXPECT_TRUE(std::filesystem::is_directory(folder.File("docs/Tidemark")));
  ::unsetenv("ECG_DOCUMENTS_DIR");
}

TEST(TempFiles, UniqueNewFilesWithThePrefix) {
  ecg::test::TempFolder folder;
  std::string a, b;
  ASSERT_TRUE(MakeTempFile(folder.path(), "~QR", a));
  ASSERT_TRUE(MakeTempFile(folder.path(), "~QR", b));
  EXPECT_NE(a, b);
  EXPECT_EQ(std::filesystem::path(a).filename().string().rfind("~QR", 0), 0u);
  EXPECT_TRUE(std::filesystem::exists(a));
  EXPECT_EQ(std::filesystem::file_size(a), 0u);
  EXPECT_FALSE(MakeTempFile(folder.File("missing"), "~QR", a));
  EXPECT_EQ(GetLastError(), kErrorFileNotFound);
}

TEST(SharedLibraries, WindowsNamesMapToSharedObjects) {
  EXPECT_EQ(SharedLibraryFileName("QORSYS32.dll"), "libQORSYS32.so");
  EXPECT_EQ(SharedLibraryFileName("OldGen\\ECG.DLL"), "libECG.so");
  EXPECT_EQ(SharedLibraryFileName("libm.so.6"), "libm.so.6");
}

TEST(SharedLibraries, LoadsFromTheLibraryPathAndFindsSymbols) {
  SharedLibrary missing;
  EXPECT_FALSE(missing.Load("NoSuchLibrary.dll"));
  EXPECT_EQ(GetLastError(), kErrorFileNotFound);
  EXPECT_FALSE(missing.error_text().empty());
  EXPECT_EQ(missing.Symbol("x"), nullptr);

  ::setenv("ECG_LIBRARY_PATH", "/nonexistent:" TEST_PLUGIN_DIR, 1);
  SharedLibrary plugin;
  bool loaded = plugin.Load("TestPlugin.dll");
  ::unsetenv("ECG_LIBRARY_PATH");
  ASSERT_TRUE(loaded) << plugin.error_text();
  auto answer = plugin.Function<int (*)(int)>("TestPluginAnswer");
  ASSERT_NE(answer, nullptr);
  EXPECT_EQ(answer(20), 41);
  EXPECT_EQ(plugin.Symbol("NoSuchSymbol"), nullptr);
  EXPECT_EQ(std::filesystem::path(plugin.path()).filename(), "libTestPlugin.so");

  std::string version;
  ASSERT_TRUE(QueryModuleVersion(plugin.path(), "FileVersion", version));
  EXPECT_EQ(version, "9.8.7.6");
  SharedLibrary moved(std::move(plugin));
  EXPECT_TRUE(moved.loaded());
  EXPECT_FALSE(plugin.loaded());
}

TEST(ModuleVersions, ReadFromTheModuleFileWithoutRunningIt) {
  const std::string self = ModulePath();
  ASSERT_FALSE(self.empty());
  VersionTable table;
  ASSERT_TRUE(ReadModuleVersionTable(self, table));
  EXPECT_EQ(table[kVersionLangUsAnsi]["CompanyName"], "Tidemark");
  EXPECT_EQ(table[kVersionLangUsUnicode]["Comments"], "unicode block");
  std::string value;
  ASSERT_TRUE(QueryModuleVersion(self, "FileVersion", value));
  EXPECT_EQ(value, "1.2.3.4");  // the ANSI block is asked first
  ASSERT_TRUE(QueryModuleVersion(self, "Comments", value));
  EXPECT_EQ(value, "unicode block");
  EXPECT_FALSE(QueryModuleVersion(self, "NoSuchName", value));
  EXPECT_EQ(GetLastError(), kErrorNoData);
}

TEST(ModuleVersions, FilesThatAreNotModulesOrHaveNoTable) {
  ecg::test::TempFolder folder;
  VersionTable table;
  EXPECT_FALSE(ReadModuleVersionTable(folder.Write("text", {'h', 'i'}), table));
  EXPECT_EQ(GetLastError(), kErrorBadFormat);
  EXPECT_FALSE(ReadModuleVersionTable(folder.File("missing"), table));
  EXPECT_EQ(GetLastError(), kErrorFileNotFound);
  EXPECT_FALSE(ReadModuleVersionTable("/bin/sh", table));
  EXPECT_EQ(GetLastError(), kErrorNoData);

  std::vector<uint8_t> elf = ecg::test::ReadFile(ModulePath());
  ASSERT_GT(elf.size(), 64u);
  elf[0x28] = 0xFF;  // section headers far outside the file
  elf[0x2F] = 0x7F;
  EXPECT_FALSE(ParseModuleVersionTable(elf, table));
  EXPECT_EQ(GetLastError(), kErrorInvalidData);
}

TEST(Prompts, ScriptedAnswersAndRecordedTexts) {
  ScriptedPrompt scripted;
  {
    ScopedPrompt use(&scripted);
    scripted.QueueAnswer(kAnswerRetry);
    scripted.QueueAnswer(kAnswerCancel);
    EXPECT_EQ(ShowMessage("Cannot find ECG cable.", "Error", PromptButtons::kRetryCancel,
                          PromptIcon::kError),
              kAnswerRetry);
    EXPECT_EQ(ShowMessage("again", "Error", PromptButtons::kRetryCancel), kAnswerCancel);
    EXPECT_EQ(ShowMessage("dry", "Question", PromptButtons::kYesNo), kAnswerYes);
  }
  auto shown = scripted.shown();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].text, "Cannot find ECG cable.");
  EXPECT_EQ(shown[0].caption, "Error");
  EXPECT_EQ(shown[0].icon, PromptIcon::kError);
  EXPECT_NE(&CurrentPrompt(), &scripted);  // restored
  ConsolePrompt console;
  EXPECT_EQ(console.Show("x", "y", PromptButtons::kRetryCancel, PromptIcon::kNone), kAnswerCancel);
}

TEST(Clock, LocalTimeIsPlausibleAndMonotonicAdvances) {
  SystemTime now = LocalTimeNow();
  EXPECT_GE(now.year, 2024);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
  uint64_t a = MonotonicMilliseconds();
  ::usleep(2000);
  EXPECT_GT(MonotonicMilliseconds(), a);
}

}  // namespace
