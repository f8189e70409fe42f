// ecg info and ecg check on records the tests make.

#include <gtest/gtest.h>

#include <map>

#include "run_program.h"
#include "support/record_builder.h"
#include "support/test_files.h"

using namespace ecg::test;

namespace {

ProgramResult Ecg(const std::vector<std::string>& args) { return RunProgram(ECG_PROGRAM, args); }

TEST(EcgCheck, ExitCodesForValidWrongAndUnreadableRecords) {
  TempFolder folder;
  const std::string good = folder.Write("good.scp", TypicalRecord());
  SectionSpec s1;
  s1.id = 1;
  s1.content = TypicalSection1().bytes();
  s1.wrong_crc = true;
  RecordBuilder bad_builder;
  bad_builder.Add(s1);
  const std::string bad = folder.Write("bad.scp", bad_builder.Build());
  const std::string junk = folder.Write("junk.scp", {1, 2, 3, 4, 5, 6, 7, 8});

  auto ok = Ecg({"check", good});
  EXPECT_EQ(ok.exit_code, 0) << ok.err;
  EXPECT_NE(ok.out.find("valid"), std::string::npos);

  auto wrong = Ecg({"check", good, bad});
  EXPECT_EQ(wrong.exit_code, 1);
  EXPECT_NE(wrong.out.find("bad.scp: CRC wrong: section 1"), std::string::npos) << wrong.out;

  auto unreadable = Ecg({"check", bad, junk});
  EXPECT_EQ(unreadable.exit_code, 2);
  EXPECT_NE(unreadable.err.find("code 13 (invalid data)"), std::string::npos) << unreadable.err;

  auto missing = Ecg({"check", folder.File("none.scp")});
  EXPECT_EQ(missing.exit_code, 2);
  EXPECT_NE(missing.err.find("code 2 (file not found)"), std::string::npos) << missing.err;
}

TEST(EcgInfo, JsonHoldsTheIndexCrcsAndSection1) {
  TempFolder folder;
  const std::string path = folder.Write("typical.scp", TypicalRecord());
  auto r = Ecg({"info", "--json", path});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  for (const char* expected :
       {"\"crcValid\": true", "\"recordLength\": 312", "\"lastName\": \"Lindqvist\"",
        "\"birthDate\": \"1961-04-17\"", "\"heightMm\": 1750", "\"deviceId\": 4711",
        "\"serialNumber\": \"SN-30077\"", "\"date\": \"2026-11-30\"", "\"tagsValid\": true",
        "\"lead\": 2", "\"loadedSections\": [", "\"id\": 11"}) {
    EXPECT_NE(r.out.find(expected), std::string::npos) << expected << "\n" << r.out;
  }
  auto text = Ecg({"info", path});
  ASSERT_EQ(text.exit_code, 0);
  EXPECT_NE(text.out.find("patient        Lindqvist, Maren"), std::string::npos) << text.out;

  auto two = Ecg({"info", "--json", path, path});
  ASSERT_EQ(two.exit_code, 0);
  EXPECT_EQ(two.out.front(), '[');
}

// An interpretation of several lines (CR LF between them, as an analysis
// writes it) stays under the column of the values.
TEST(EcgInfo, TextOfSeveralLinesStaysInItsColumn) {
  TagWriter t;
  const std::string text = "Sinus rhythm\r\nNormal ECG\r\n";
  std::vector<uint8_t> value;
  value.push_back(0);  // not edited
  for (char c : text) value.push_back(static_cast<uint8_t>(c));
  value.push_back(0);
  t.Tag(201, value).End();
  RecordBuilder b;
  b.AddSection1(t);
  TempFolder folder;
  auto r = Ecg({"info", folder.Write("i.scp", b.Build())});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find("  interpretation Sinus rhythm\n                 Normal ECG\n"), std::string::npos) << r.out;
}

TEST(EcgInfo, NonAsciiNamesComeOutAsUtf8) {
  TagWriter t;
  t.Tag(0, {'S', 0xF8, 'r', 'e', 'n', 's', 'e', 'n', 0}).End();
  RecordBuilder b;
  b.AddSection1(t);
  TempFolder folder;
  auto r = Ecg({"info", "--json", folder.Write("n.scp", b.Build())});
  ASSERT_EQ(r.exit_code, 0);
  EXPECT_NE(r.out.find("\"lastName\": \"S\xC3\xB8rensen\""), std::string::npos) << r.out;
}

TEST(EcgProgram, UsageErrorsAndHelp) {
  EXPECT_EQ(Ecg({}).exit_code, 2);
  EXPECT_EQ(Ecg({"no-such-command"}).exit_code, 2);
  EXPECT_EQ(Ecg({"info"}).exit_code, 2);
  EXPECT_EQ(Ecg({"info", "--bogus", "x"}).exit_code, 2);
  EXPECT_EQ(Ecg({"check"}).exit_code, 2);
  auto help = Ecg({"info", "--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("Usage: ecg info"), std::string::npos);
  EXPECT_EQ(Ecg({"--help"}).exit_code, 0);
}

}  // namespace

namespace {

TEST(EcgUpdate, CommentKeepsAnalysisAndVendorSectionsByteForByte) {
  RecordBuilder b;
  b.AddSection1(TypicalSection1());
  b.AddSection(7, Bytes(40, 7)).AddSection(10, Bytes(64, 10)).AddSection(11, Bytes(10, 11));
  b.AddSection(200, Bytes(33, 0xC8));  // a manufacturer's own section
  const Bytes before = b.Build();
  TempFolder folder;
  const std::string path = folder.Write("r.scp", before);

  auto r = Ecg({"update", path, "--comment", "R\xC3\xA9vision", "--writer", "Ward PC", "2.1"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const Bytes after = ReadFile(path);
  auto old_sections = SplitSections(before), new_sections = SplitSections(after);
  for (uint16_t id : {7, 10, 11, 200}) EXPECT_EQ(new_sections[id], old_sections[id]) << id;
  EXPECT_NE(new_sections[1], old_sections[1]);
  EXPECT_EQ(Ecg({"check", path}).exit_code, 0);
  auto info = Ecg({"info", "--json", path});
  EXPECT_NE(info.out.find("\"comment\": \"R\xC3\xA9vision\""), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("\"editingApplication\": \"Ward PC\""), std::string::npos);
}

TEST(EcgUpdate, BadUsageAndFailedChangesLeaveTheRecord) {
  TempFolder folder;
  const std::string path = folder.Write("r.scp", TypicalRecord());
  EXPECT_EQ(Ecg({"update", path}).exit_code, 2);
  EXPECT_EQ(Ecg({"update", path, "--power-filter", "55"}).exit_code, 2);
  EXPECT_EQ(Ecg({"update", path, "--physician", "4", "Dr"}).exit_code, 2);
  EXPECT_EQ(Ecg({"update", path, "--birth", "1960-13-01"}).exit_code, 2);
  auto failed = Ecg({"update", path, "--calculated-leads"});
  EXPECT_EQ(failed.exit_code, 2);
  EXPECT_NE(failed.err.find("code 232"), std::string::npos) << failed.err;
  EXPECT_EQ(ReadFile(path), TypicalRecord());
  auto ok = Ecg({"update", path, "--patient-last", "Nyg\xC3\xA5rd", "--height-mm", "1801", "--crc"});
  ASSERT_EQ(ok.exit_code, 0) << ok.err;
  auto info = Ecg({"info", "--json", path});
  EXPECT_NE(info.out.find("\"lastName\": \"Nyg\xC3\xA5rd\""), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("\"heightMm\": 1801"), std::string::npos);
  EXPECT_NE(info.out.find("\"firstName\": \"Maren\""), std::string::npos);
}

}  // namespace
