#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/byte_stream.h"
#include "platform/last_error.h"
#include "support/test_files.h"

using namespace ecg::platform;
using ecg::test::TempFolder;

namespace {

TEST(MemoryStream, ViewReadsAndRefusesWrites) {
  const std::vector<uint8_t> bytes = {1, 2, 3, 4, 5};
  auto view = MemoryStream::View(bytes);
  uint8_t buffer[8] = {};
  size_t got = 0;
  ASSERT_TRUE(view->Seek(3));
  ASSERT_TRUE(view->Read(buffer, 8, &got));
  EXPECT_EQ(got, 2u);
  EXPECT_EQ(buffer[0], 4);
  EXPECT_EQ(view->Tell(), 5u);
  EXPECT_FALSE(ReadExact(*view, buffer, 1));  // at the end
  EXPECT_EQ(GetLastError(), kErrorInvalidData);
  ASSERT_TRUE(view->ReadAt(100, buffer, 4, &got));
  EXPECT_EQ(got, 0u);
  EXPECT_FALSE(view->Write(buffer, 1));
  EXPECT_EQ(GetLastError(), kErrorAccessDenied);
}

TEST(MemoryStream, WriteLimitActsLikeAFullDisk) {
  MemoryStream sink;
  sink.SetWriteLimit(10);
  const uint8_t block[6] = {9, 9, 9, 9, 9, 9};
  EXPECT_TRUE(sink.Write(block, 6));
  EXPECT_FALSE(sink.Write(block, 6));
  EXPECT_EQ(GetLastError(), kErrorDiskFull);
  EXPECT_EQ(sink.bytes().size(), 6u);  // nothing of the failed write landed
  EXPECT_FALSE(sink.Write(block, 1));
}

TEST(PosixFile, PositionedReadsWritesAndSize) {
  TempFolder folder;
  const std::string path = folder.File("f.bin");
  {
    auto file = PosixFile::Open(path, FileMode::kCreateReadWrite);
    ASSERT_TRUE(file);
    const uint8_t data[4] = {10, 20, 30, 40};
    ASSERT_TRUE(file->Write(data, 4));
    ASSERT_TRUE(file->Flush());
  }
  auto file = PosixFile::Open(path, FileMode::kRead);
  ASSERT_TRUE(file);
  uint64_t size = 0;
  ASSERT_TRUE(file->Size(&size));
  EXPECT_EQ(size, 4u);
  uint8_t b = 0;
  size_t got = 0;
  ASSERT_TRUE(file->ReadAt(2, &b, 1, &got));
  EXPECT_EQ(b, 30);
  EXPECT_EQ(file->Tell(), 0u);
  EXPECT_FALSE(file->Write(&b, 1));  // opened for reading

  EXPECT_FALSE(PosixFile::Open(folder.File("missing"), FileMode::kRead));
  EXPECT_EQ(GetLastError(), kErrorFileNotFound);
  EXPECT_FALSE(PosixFile::Open(folder.path(), FileMode::kRead));
  EXPECT_EQ(GetLastError(), kErrorAccessDenied);
}

TEST(ReplaceFileContents, ReplacesWholeAndKeepsTheModeAndNoTemporaries) {
  TempFolder folder;
  const std::string path = folder.File("record.scp");
  const std::vector<uint8_t> first(1000, 1), second = {7, 7, 7};
  ASSERT_TRUE(ReplaceFileContents(path, first));
  ::chmod(path.c_str(), 0600);
  ASSERT_TRUE(ReplaceFileContents(path, second));
  EXPECT_EQ(ecg::test::ReadFile(path), second);
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  size_t entries = 0;
  for (const auto& e : std::filesystem::directory_iterator(folder.path())) {
    (void)e;
    ++entries;
  }
  EXPECT_EQ(entries, 1u);
}

TEST(ReplaceFileContents, FailureLeavesTheOldFileAlone) {
  TempFolder folder;
  const std::string path = folder.File("sub/none.scp");  // folder does not exist
  EXPECT_FALSE(ReplaceFileContents(path, std::vector<uint8_t>{1}));
  EXPECT_NE(GetLastError(), kErrorSuccess);

  if (::geteuid() == 0) GTEST_SKIP() << "root ignores folder permissions";
  const std::string locked = folder.File("locked");
  ASSERT_EQ(::mkdir(locked.c_str(), 0755), 0);
  const std::string kept = locked + "/kept.scp";
  ASSERT_TRUE(ReplaceFileContents(kept, std::vector<uint8_t>{1, 2}));
  ::chmod(locked.c_str(), 0555);
  EXPECT_FALSE(ReplaceFileContents(kept, std::vector<uint8_t>{3}));
  ::chmod(locked.c_str(), 0755);
  EXPECT_EQ(ecg::test::ReadFile(kept), (std::vector<uint8_t>{1, 2}));
}

TEST(ReplaceFileContents, ReadOnlyFilesAreNotReplacedEvenByRoot) {
  TempFolder folder;
  const std::string path = folder.File("locked.scp");
  ASSERT_TRUE(ReplaceFileContents(path, std::vector<uint8_t>{1, 2, 3}));
  ::chmod(path.c_str(), 0444);
  EXPECT_FALSE(ReplaceFileContents(path, std::vector<uint8_t>{9}));
  EXPECT_EQ(GetLastError(), kErrorAccessDenied);
  EXPECT_EQ(ecg::test::ReadFile(path), (std::vector<uint8_t>{1, 2, 3}));
  ::chmod(path.c_str(), 0644);
}

TEST(ReadWholeFile, RefusesFilesAboveTheLimit) {
  TempFolder folder;
  const std::string path = folder.Write("big", std::vector<uint8_t>(5000, 1));
  std::vector<uint8_t> out;
  EXPECT_FALSE(ReadWholeFile(path, out, 4999));
  EXPECT_EQ(GetLastError(), kErrorOutOfMemory);
  ASSERT_TRUE(ReadWholeFile(path, out, 5000));
  EXPECT_EQ(out.size(), 5000u);
}

}  // namespace
