// ecg demo as a person runs it: offscreen, no cable, a folder of its own;
// it ends with an analysed record, a PDF and an XML file, and says so.

#include <gtest/gtest.h>

#include <cstdlib>

#include "run_program.h"
#include "scp/reader.h"
#include "support/test_files.h"

namespace ecg::test {
namespace {

TEST(EcgDemo, WritesAnAnalysedRecordAPdfAndAnXmlExport) {
  TempFolder folder;
  setenv("ECG_DOCUMENTS_DIR", folder.File("documents").c_str(), 1);
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  const std::string out = folder.File("out");
  const ProgramResult run = RunProgram(ECG_PROGRAM, {"demo", "--out", out});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(run.out.find("Interpretation:"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("heart rate"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find(out + "/demo.pdf"), std::string::npos) << run.out;

  const std::string record = out + "/demo.scp";
  EXPECT_EQ(CReader::ReadLeads(record.c_str()), 8);
  bool valid = false;
  ASSERT_TRUE(CReader::ReadCRCCheck(record.c_str(), valid));
  EXPECT_TRUE(valid);
  CAnalysisInfo analysis;
  ASSERT_TRUE(CReader::ReadAnalysisInfo(record.c_str(), &analysis));
  EXPECT_GT(analysis.m_global.m_blockCount, 0);

  const std::vector<uint8_t> pdf = ReadFile(out + "/demo.pdf");
  ASSERT_GT(pdf.size(), 1000u);
  EXPECT_EQ(std::string(pdf.begin(), pdf.begin() + 4), "%PDF");
  // Three pages: 3x4, averaged complexes, measurements.
  EXPECT_NE(std::string(pdf.begin(), pdf.end()).find("/Count 3"), std::string::npos);
  const std::vector<uint8_t> xml = ReadFile(out + "/demo.xml");
  EXPECT_NE(std::string(xml.begin(), xml.end()).find("<?xml"), std::string::npos);
}

TEST(EcgDemo, BadArgumentsAndAMissingRecordingAreRefused) {
  EXPECT_EQ(RunProgram(ECG_PROGRAM, {"demo", "--bogus"}).exit_code, 2);
  setenv("ECG_DEMO_FILE", "/nonexistent/normal-12lead.ecg", 1);
  TempFolder folder;
  const ProgramResult run = RunProgram(ECG_PROGRAM, {"demo", "--out", folder.File("out")});
  unsetenv("ECG_DEMO_FILE");
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_NE(run.err.find("demo recording"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace ecg::test
