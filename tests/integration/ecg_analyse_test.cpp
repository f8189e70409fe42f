// ecg analyse as a user runs it: with the tests' stand-in analysis library,
// without any library, on records it cannot analyse, and with bad usage.
// The program runs from a copy in a folder of its own: the folder of the
// program is searched for the library first, and the build puts the real
// analysis library beside the built program.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "run_program.h"
#include "support/record_builder.h"
#include "support/section_builders.h"
#include "support/test_files.h"

using namespace ecg::test;

namespace {

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Environment of the program runs, restored afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old, had_ = true;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (had_) {
      ::setenv(name_.c_str(), old_.c_str(), 1);
    } else {
      ::unsetenv(name_.c_str());
    }
  }

 private:
  std::string name_, old_;
  bool had_ = false;
};

// An 8-lead record of 2 s (or the first `lead_count` leads); a marker sample
// in lead I when asked.
Bytes Recording(int16_t marker = 0, size_t lead_count = 8) {
  const uint32_t samples = 1000;
  std::vector<uint8_t> leads = AcquiredLeadCodes();
  leads.resize(lead_count);
  std::vector<LeadRange> ranges;
  SampleSection rhythm;
  for (uint8_t code : leads) {
    ranges.push_back({code, 1, samples});
    rhythm.leads.push_back(SyntheticLead(code, samples, 500));
  }
  if (marker != 0) rhythm.leads[0][500] = marker;
  RecordBuilder b;
  b.AddSection1(TypicalSection1());
  b.AddSection(3, Section3(ranges, SimultaneousFlags(static_cast<uint8_t>(lead_count))));
  b.AddSection(6, SampleSectionBytes(rhythm));
  return b.Build();
}

class EcgAnalyse : public ::testing::Test {
 protected:
  void SetUp() override {
    namespace fs = std::filesystem;
    program_ = program_folder_.File("ecg");
    fs::copy_file(ECG_PROGRAM, program_, fs::copy_options::overwrite_existing);
    // The catalog: the fixed statements and the codes of the analysed record.
    const std::string catalog =
        "5001\tLead off: no analysis.\n5002\tLead zeroing: no analysis.\n"
        "5003\tCalibration.\n5004\tPoor signal.\n5005\tNot supported.\n"
        "5006\tPatient data incomplete.\n"
        "1001\t[001]  Normal sinus rhythm\n1021\t[021]  Sinus rhythm\n"
        "1101\t[101]  Normal ECG\n";
    statements_.Write("QORSYSEN.txt", Bytes(catalog.begin(), catalog.end()));
    // What the stand-in library leaves as the analysed working copy: a
    // 12-lead record with medians, measurements and statement codes 21 / 1, 101.
    EcgRecordSpec analysed;
    analysed.seconds = 2;
    control_.Write("output.scp", SyntheticEcgRecord(analysed));
  }

  ProgramResult Ecg(const std::vector<std::string>& args) const { return RunProgram(program_, args); }

  TempFolder program_folder_, work_, documents_, statements_, control_, empty_;
  std::string program_;
  ScopedEnv library_{"ECG_LIBRARY_PATH", TEST_ENGINE_LIBRARY_DIR};
  ScopedEnv documents_dir_{"ECG_DOCUMENTS_DIR", documents_.path()};
  ScopedEnv statements_dir_{"ECG_STATEMENTS_DIR", statements_.path()};
  ScopedEnv control_dir_{"ECG_TEST_ENGINE_CONTROL", control_.path()};
};

TEST_F(EcgAnalyse, StoresTheResultsAndPrintsCodeMeaningAndInterpretation) {
  const std::string path = work_.Write("r.scp", Recording());
  auto r = Ecg({"analyse", path});
  ASSERT_EQ(r.exit_code, 0) << r.out << r.err;
  EXPECT_TRUE(Contains(r.out, path + ": 0 (analysis run and results stored)")) << r.out;
  EXPECT_TRUE(Contains(r.out, "  analysis library: " + std::string(TEST_ENGINE_LIBRARY_DIR)));
  EXPECT_TRUE(Contains(r.out, "  interpretation:\n    Sinus rhythm\n    Normal sinus rhythm\n    Normal ECG\n"))
      << r.out;

  auto check = Ecg({"check", path});
  EXPECT_EQ(check.exit_code, 0) << check.out << check.err;
  auto info = Ecg({"info", "--json", path});
  ASSERT_EQ(info.exit_code, 0) << info.err;
  EXPECT_TRUE(Contains(info.out, "Sinus rhythm\\r\\nNormal sinus rhythm")) << info.out;
}

TEST_F(EcgAnalyse, CodesOptionAndLanguageReachTheStatements) {
  const std::string catalog = "1001\tABCnormal\n1021\tABCsinus\n1101\tABCecg\n";
  statements_.Write("QORSYSIT.txt", Bytes(catalog.begin(), catalog.end()));
  const std::string path = work_.Write("r.scp", Recording());
  auto r = Ecg({"analyse", path, "--language", "3", "--codes", "--no-patient-check"});
  ASSERT_EQ(r.exit_code, 0) << r.out << r.err;
  EXPECT_TRUE(Contains(r.out, "    sinus\n    normal\n    ecg\n")) << r.out;
}

TEST_F(EcgAnalyse, WithoutALibraryReportsMinusFour) {
  ScopedEnv none("ECG_LIBRARY_PATH", empty_.path());
  const std::string path = work_.Write("r.scp", Recording());
  auto r = Ecg({"analyse", path});
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_TRUE(Contains(r.out, path + ": -4 (analysis library or its entry point not found)"))
      << r.out;
  EXPECT_TRUE(Contains(r.err, "libQORSYS32.so")) << r.err;
}

TEST_F(EcgAnalyse, LeadErrorsGiveFourteenAndTheStatement) {
  const std::string path = work_.Write("r.scp", Recording(2033));
  auto r = Ecg({"analyse", path});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_TRUE(Contains(r.out, ": 14 (lead errors; statement stored instead of an analysis)"))
      << r.out;
  EXPECT_TRUE(Contains(r.out, "  interpretation:\n    Lead off: no analysis.\n")) << r.out;
}

TEST_F(EcgAnalyse, EveryRecordIsReportedAndTheWorstOutcomeDecidesTheExitCode) {
  const std::string bad = work_.Write("bad.scp", Bytes{1, 2, 3});
  const std::string leads_off = work_.Write("off.scp", Recording(2032));
  auto r = Ecg({"analyse", leads_off, bad});
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_TRUE(Contains(r.out, leads_off + ": 14 ")) << r.out;
  // The component opens a record for update before it analyses it.
  EXPECT_TRUE(Contains(r.out, bad + ": 4 (the record cannot be opened for update)")) << r.out;
  EXPECT_TRUE(Contains(r.err, bad + ": code ")) << r.err;
}

TEST_F(EcgAnalyse, SixLeadsOrFewerAreNotAnalysed) {
  const std::string path = work_.Write("six.scp", Recording(0, 6));
  auto r = Ecg({"analyse", path});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_TRUE(Contains(r.out, path + ": 15 (six leads or fewer; not analysed)")) << r.out;
  EXPECT_FALSE(Contains(r.out, "interpretation")) << r.out;
}

TEST_F(EcgAnalyse, BadUsage) {
  const std::string path = work_.Write("r.scp", Recording());
  const Bytes before = ReadFile(path);
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"analyse"}, {"analyse", path, "--language"},
        {"analyse", path, "--language", "x"}, {"analyse", path, "--language", "7"},
        {"analyse", path, "--mode", "3"},
        {"analyse", path, "--fast"}}) {
    auto r = Ecg(args);
    EXPECT_EQ(r.exit_code, 2) << args.back();
    EXPECT_TRUE(Contains(r.err, "ecg analyse --help")) << r.err;
  }
  EXPECT_EQ(ReadFile(path), before);
  auto help = Ecg({"analyse", "--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_TRUE(Contains(help.out, "--no-patient-check"));
}

}  // namespace
