// ecg print of a 12-lead record with analysis to PDF, JPEG and TIFF files.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "run_program.h"
#include "support/section_builders.h"
#include "support/test_files.h"

using namespace ecg::test;

namespace {

ProgramResult Ecg(const std::vector<std::string>& args) { return RunProgram(ECG_PROGRAM, args); }

bool StartsWith(const Bytes& bytes, std::initializer_list<uint8_t> magic) {
  if (bytes.size() < magic.size()) return false;
  return std::equal(magic.begin(), magic.end(), bytes.begin());
}

TEST(EcgPrint, AllReportTypesToPdfJpegAndTiff) {
  TempFolder folder;
  const std::string record = folder.Write("twelve.scp", SyntheticEcgRecord());

  auto pdf = Ecg({"print", record, "--out", folder.File("report.pdf"), "--report", "all"});
  ASSERT_EQ(pdf.exit_code, 0) << pdf.err;
  const Bytes pdf_bytes = ReadFile(folder.File("report.pdf"));
  EXPECT_TRUE(StartsWith(pdf_bytes, {'%', 'P', 'D', 'F'}));
  if (std::system("command -v pdfinfo >/dev/null 2>&1") == 0) {
    auto info = RunProgram("/usr/bin/pdfinfo", {folder.File("report.pdf")});
    const size_t at = info.out.find("Pages:");
    ASSERT_NE(at, std::string::npos) << info.out;
    EXPECT_EQ(std::atoi(info.out.c_str() + at + 6), 9) << info.out;
  }

  auto jpg = Ecg({"print", record, "--out", folder.File("report.jpg"), "--report", "1,2"});
  ASSERT_EQ(jpg.exit_code, 0) << jpg.err;
  EXPECT_TRUE(StartsWith(ReadFile(folder.File("report.jpg")), {0xFF, 0xD8, 0xFF}));
  EXPECT_TRUE(StartsWith(ReadFile(folder.File("report-2.jpg")), {0xFF, 0xD8, 0xFF}));
  EXPECT_FALSE(std::filesystem::exists(folder.File("report-3.jpg")));

  auto tif = Ecg({"print", record, "--out", folder.File("report.tif"), "--report", "4"});
  ASSERT_EQ(tif.exit_code, 0) << tif.err;
  const Bytes tif_bytes = ReadFile(folder.File("report.tif"));
  EXPECT_TRUE(StartsWith(tif_bytes, {'I', 'I', 42, 0}) || StartsWith(tif_bytes, {'M', 'M', 0, 42}));
}

TEST(EcgPrint, BadInputsAreRefusedWithTheReason) {
  TempFolder folder;
  const std::string junk = folder.Write("junk.scp", {1, 2, 3});
  auto unreadable = Ecg({"print", junk, "--out", folder.File("x.pdf")});
  EXPECT_EQ(unreadable.exit_code, 2);
  EXPECT_FALSE(unreadable.err.empty());
  EXPECT_FALSE(std::filesystem::exists(folder.File("x.pdf")));
  EXPECT_EQ(Ecg({"print"}).exit_code, 2);
  const std::string record = folder.Write("twelve.scp", SyntheticEcgRecord());
  EXPECT_EQ(Ecg({"print", record, "--out", folder.File("x.doc")}).exit_code, 2);
}

}  // namespace
