// ecg import on device files the tests make: every format to a record that
// ecg check and ecg info accept, and the refusals of bad usage and bad input.

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "run_program.h"
#include "support/test_files.h"
#include "unit/import/device_files.h"

using namespace ecg::test;

namespace {

ProgramResult Ecg(const std::vector<std::string>& args) { return RunProgram(ECG_PROGRAM, args); }

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Imports, then checks the CRCs and returns ecg info's JSON of the record.
std::string ImportAndInfo(const std::vector<std::string>& import_args, const std::string& out) {
  auto imported = Ecg(import_args);
  EXPECT_EQ(imported.exit_code, 0) << imported.err;
  EXPECT_TRUE(Contains(imported.out, out)) << imported.out;
  auto check = Ecg({"check", out});
  EXPECT_EQ(check.exit_code, 0) << check.out << check.err;
  auto info = Ecg({"info", "--json", out});
  EXPECT_EQ(info.exit_code, 0) << info.err;
  return info.out;
}

TEST(EcgImport, EachFormatMakesARecordThatChecksAndLoads) {
  TempFolder folder;
  std::vector<uint8_t> eight(600), sixteen(1200), frames;
  for (size_t i = 0; i < eight.size(); ++i) eight[i] = static_cast<uint8_t>(128 + (i % 40));
  for (size_t i = 0; i < sixteen.size(); ++i) sixteen[i] = static_cast<uint8_t>(i);
  for (int k = 0; k < 250; ++k) {
    const auto f = PackedFrame({k, -k, 1, 2, 3, 4, 5, 6});
    frames.insert(frames.end(), f.begin(), f.end());
  }
  const std::string in8 = folder.Write("a.8", eight);
  const std::string in16 = folder.Write("a.16", sixteen);
  const std::string in12 = folder.Write("a.12l", frames);
  const std::string inh = folder.Write("rt-ecg.tmp", EightLeadRecording(2));

  std::string json =
      ImportAndInfo({"import", "--format", "8bit", in8, folder.File("8.scp"), "--offset",
                     "--patient-last", "Nyberg", "--birth", "1950-05-06"},
                    folder.File("8.scp"));
  EXPECT_TRUE(Contains(json, "\"lastName\": \"Nyberg\"")) << json;
  EXPECT_TRUE(Contains(json, "\"birthDate\": \"1950-05-06\"")) << json;
  EXPECT_TRUE(Contains(json, "\"amplitudeMultiplierNv\": 20000")) << json;
  EXPECT_TRUE(Contains(json, "\"sampleIntervalUs\": 3333")) << json;
  EXPECT_TRUE(Contains(json, "\"samples\": 600")) << json;

  json = ImportAndInfo({"import", "--format", "16bit", in16, folder.File("16.scp"), "--rate",
                        "1000", "--resolution", "500"},
                       folder.File("16.scp"));
  EXPECT_TRUE(Contains(json, "\"sampleIntervalUs\": 1000")) << json;
  EXPECT_TRUE(Contains(json, "\"amplitudeMultiplierNv\": 500")) << json;
  EXPECT_TRUE(Contains(json, "\"samples\": 600")) << json;

  json = ImportAndInfo({"import", "--format", "12lead", in12, folder.File("12.scp"), "--leads",
                        "12", "--rate", "500", "--resolution", "4880"},
                       folder.File("12.scp"));
  EXPECT_TRUE(Contains(json, "\"leadCount\": 8")) << json;
  EXPECT_TRUE(Contains(json, "\"samples\": 250")) << json;

  json = ImportAndInfo({"import", "--format", "handheld", inh, folder.File("h.scp"), "--sex", "1"},
                       folder.File("h.scp"));
  EXPECT_TRUE(Contains(json, "\"serialNumber\": \"CAB-0815\"")) << json;
  EXPECT_TRUE(Contains(json, "\"leadCount\": 8")) << json;
  EXPECT_TRUE(Contains(json, "\"samples\": 1000")) << json;
}

TEST(EcgImport, PrintsWhatEachRecordHolds) {
  TempFolder folder;
  const std::string in = folder.Write("rec.dat", EightLeadRecording(3));
  auto r = Ecg({"import", "--format", "handheld", in, folder.File("rec.scp")});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, "rec.scp: 8 leads, 1500 samples at 500 Hz, 1000 nV per unit"))
      << r.out;
}

TEST(EcgImport, SeveralHandheldEventsAreListedUnderTheirNumberedNames) {
  TempFolder folder;
  std::vector<uint8_t> info30(14, 0);
  info30[12] = 1;
  info30[13] = 3;
  PutU16(info30, 7, 2000);
  PutU16(info30, 9, 4000);
  HandheldFile file;
  file.Block(30, info30);
  for (int n = 0; n < 3; ++n) {
    std::vector<uint8_t> event(15, 0);
    PutU16(event, 1, 4);
    event[5] = 1;
    file.Block(31, event).Block(6, {128, 129, 130, 131});
  }
  const std::string in = folder.Write("three.dat", file.Bytes());
  auto r = Ecg({"import", "--format", "handheld", in, folder.File("ev.scp")});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  for (const char* name : {"ev.a.scp", "ev.b.scp", "ev.c.scp"}) {
    EXPECT_TRUE(Contains(r.out, name)) << r.out;
    EXPECT_EQ(Ecg({"check", folder.File(name)}).exit_code, 0) << name;
  }
}

TEST(EcgImport, BadUsageIsRefusedWithAReason) {
  TempFolder folder;
  const std::string in = folder.Write("in.bin", {1, 2, 3});
  const std::string out = folder.File("out.scp");
  struct Case {
    std::vector<std::string> args;
    const char* says;
  } cases[] = {
      {{"import", in, out}, "no --format"},
      {{"import", "--format", "32bit", in, out}, "--format takes"},
      {{"import", "--format", "8bit", in}, "one input file and one output"},
      {{"import", "--format", "12lead", in, out, "--rate", "500", "--resolution", "5"},
       "12lead needs"},
      {{"import", "--format", "12lead", in, out, "--leads", "3"}, "--leads takes 1, 2, 6, 8 or 12"},
      {{"import", "--format", "handheld", in, out, "--rate", "500"}, "says its own"},
      {{"import", "--format", "8bit", in, out, "--leads", "2"}, "--leads is for 12lead"},
      {{"import", "--format", "8bit", in, out, "--rate", "abc"}, "--rate takes"},
      {{"import", "--format", "8bit", in, out, "--rate", "5"}, "--rate takes"},
      {{"import", "--format", "8bit", in, out, "--resolution", "70000"}, "--resolution takes"},
      {{"import", "--format", "8bit", in, out, "--birth", "1960-13-01"}, "--birth takes"},
      {{"import", "--format", "8bit", in, out, "--bogus"}, "unknown option"},
  };
  for (const auto& c : cases) {
    auto r = Ecg(c.args);
    EXPECT_EQ(r.exit_code, 2) << c.says;
    EXPECT_TRUE(Contains(r.err, c.says)) << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(out));
  auto help = Ecg({"import", "--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_TRUE(Contains(help.out, "--patient-last")) << help.out;
}

TEST(EcgImport, BadInputSaysWhyAndWritesNothing) {
  TempFolder folder;
  const std::string out = folder.File("out.scp");
  // A type 2 block whose resolution byte is 0.
  std::vector<uint8_t> info2(18, 0);
  PutU16(info2, 15, 2);
  const std::string zero_resolution =
      folder.Write("zero.dat", HandheldFile().Block(2, info2).Block(6, {1, 2}).Bytes());
  auto r = Ecg({"import", "--format", "handheld", zero_resolution, out});
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_TRUE(Contains(r.err, "resolution of 0")) << r.err;
  EXPECT_TRUE(Contains(r.err, "code 13 (invalid data)")) << r.err;

  const std::string truncated = folder.Write("cut.dat", {2, 25, 1, 20, 0, 0});
  r = Ecg({"import", "--format", "handheld", truncated, out});
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_TRUE(Contains(r.err, "ends inside")) << r.err;

  const std::string empty = folder.Write("empty.bin", {});
  r = Ecg({"import", "--format", "8bit", empty, out});
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_TRUE(Contains(r.err, "code 87")) << r.err;

  r = Ecg({"import", "--format", "16bit", folder.File("absent.bin"), out});
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_TRUE(Contains(r.err, "code 2 (file not found)")) << r.err;
  EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
