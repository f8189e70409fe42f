// Interpretation statements: composing the codes text, and the three
// operations that write the interpretation of a record.

#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>

#include "analysis/statement_text.h"
#include "analysis_test_support.h"
#include "platform/last_error.h"
#include "platform/text_codec.h"
#include "support/section_builders.h"

using namespace ecg::test;
using namespace ecg::analysis;
using ecg::platform::GetLastError;

namespace {

std::u16string W(const std::string& s) { return ecg::platform::Utf8ToWideLossy(s); }

StatementCatalog CatalogOf(const std::string& text) {
  StatementCatalog catalog;
  EXPECT_TRUE(catalog.Parse(Bytes(text.begin(), text.end())));
  return catalog;
}

const std::string kCodeCatalog =
    "1021\tPREFIXaSinus rhythm\n"
    "1030\tPREFIXaFirst degree AV block\n"
    "1045\tPREFIXaLeft axis deviation\n"
    "1050\tSHORT\n"
    "1060\tABCDEFG\n";

std::u16string Compose(const std::vector<uint16_t>& rhythm, const std::vector<uint16_t>& morphology,
                       size_t prefix = kPlainPrefix) {
  const StatementCatalog catalog = CatalogOf(kCodeCatalog);
  std::u16string text = u"unchanged";
  EXPECT_TRUE(ComposeCodesText(catalog, rhythm, morphology, prefix, text));
  return text;
}

TEST(ComposeCodesText, RepeatedCodesAppearOnceRhythmFirst) {
  EXPECT_EQ(Compose({21, 21, 30}, {30, 45}),
            u"Sinus rhythm\r\nFirst degree AV block\r\nLeft axis deviation");
  EXPECT_EQ(Compose({45}, {21, 45, 21, 30}), u"Left axis deviation\r\nSinus rhythm\r\nFirst degree AV block");
}

TEST(ComposeCodesText, ThePrefixIsCutAndShortTextsGoWithTheirSeparator) {
  EXPECT_EQ(Compose({21}, {50, 60, 30}), u"Sinus rhythm\r\nFirst degree AV block");
  EXPECT_EQ(Compose({50}, {60}), u"");
  EXPECT_EQ(Compose({21}, {50, 60}, kCodesOptionPrefix), u"FIXaSinus rhythm\r\nRT\r\nDEFG");
  EXPECT_EQ(Compose({}, {}), u"");
}

TEST(ComposeCodesText, ACodeWithoutTextFailsRatherThanDisappear) {
  const StatementCatalog catalog = CatalogOf(kCodeCatalog);
  std::u16string text;
  const std::vector<uint16_t> rhythm = {21};
  const std::vector<uint16_t> morphology = {99};
  EXPECT_FALSE(ComposeCodesText(catalog, rhythm, morphology, kPlainPrefix, text));
  EXPECT_EQ(GetLastError(), ecg::platform::kErrorNoData);
}

TEST(AppendStatement, JoinsWithALineBreakOnlyAfterText) {
  EXPECT_EQ(AppendStatement(u"", u"New"), u"New");
  EXPECT_EQ(AppendStatement(u"Old", u"New"), u"Old\r\nNew");
  EXPECT_EQ(AppendStatement(u"A\r\nB", u"C"), u"A\r\nB\r\nC");
}

// ------------------------------------------------- the writing operations

class StatementWriteTest : public ::testing::Test {
 protected:
  // An analysed record with an edited, confirmed interpretation, a Section 9
  // with the given codes and sections that must stay as they are.
  std::string Record(const std::vector<uint16_t>& rhythm, const std::vector<uint16_t>& morphology,
                     const std::string& interpretation = "Earlier text") {
    InputSpec input;
    input.interpretation = interpretation;
    input.interpretation_edited = 1;
    input.confirmed = 1;
    input.extra_sections = true;
    RecordBuilder b;
    for (const auto& [id, bytes] : Sections(InputRecord(input))) {
      if (id != 0) b.AddSection(id, Bytes(bytes.begin() + 16, bytes.end()), bytes[8]);
    }
    if (!rhythm.empty() || !morphology.empty()) b.AddSection(9, Section9Codes(rhythm, morphology));
    original_ = b.Build();
    return env_.WriteRecord("r.scp", original_);
  }

  void ExpectOtherSectionsKept(const std::string& path) const {
    const auto sections = Sections(ReadFile(path));
    const auto kept = Sections(original_);
    for (const auto& [id, bytes] : kept) {
      if (id > 1) {
        EXPECT_EQ(sections.at(id), bytes) << "Section " << id;
      }
    }
    EXPECT_EQ(sections.size(), kept.size());
  }

  AnalysisEnvironment env_;
  AnalysisProbe probe_;
  Bytes original_;
};

TEST_F(StatementWriteTest, ReplacingWithAFixedStatementClearsConfirmationAndEdit) {
  const std::string path = Record({}, {});
  ASSERT_TRUE(probe_.CreateInterpretationText(path.c_str(), 4, 5004));
  const RecordFacts facts = ReadFacts(path);
  EXPECT_EQ(facts.interpretation, W(TestStatement(4, 5004)));
  EXPECT_EQ(facts.confirmed, 0);
  EXPECT_EQ(facts.edited, 0);
  ExpectOtherSectionsKept(path);
}

TEST_F(StatementWriteTest, AppendingKeepsTheEditFlagAndClearsConfirmation) {
  const std::string path = Record({}, {});
  ASSERT_TRUE(probe_.AddInterpretationText(path.c_str(), 1, 5006));
  const RecordFacts facts = ReadFacts(path);
  EXPECT_EQ(facts.interpretation, W("Earlier text\r\n" + TestStatement(1, 5006)));
  EXPECT_EQ(facts.confirmed, 0);
  EXPECT_EQ(facts.edited, 1);
  ExpectOtherSectionsKept(path);

  const std::string empty = Record({}, {}, "");
  ASSERT_TRUE(probe_.AddInterpretationText(empty.c_str(), 1, 5006));
  EXPECT_EQ(ReadFacts(empty).interpretation, W(TestStatement(1, 5006)));
}

TEST_F(StatementWriteTest, CodesTextFollowsSection9AndTheCodesOption) {
  std::string path = Record({21, 21, 30}, {30, 45});
  ASSERT_TRUE(probe_.CreateInterpretationCodesText(path.c_str(), 0));
  RecordFacts facts = ReadFacts(path);
  EXPECT_EQ(facts.interpretation, u"Sinus rhythm\r\nFirst degree AV block\r\nLeft axis deviation");
  EXPECT_EQ(facts.confirmed, 0);
  EXPECT_EQ(facts.edited, 0);
  ExpectOtherSectionsKept(path);

  path = Record({21}, {50});
  probe_.m_codesOption = 1;
  ASSERT_TRUE(probe_.CreateInterpretationCodesText(path.c_str(), 0));
  EXPECT_EQ(ReadFacts(path).interpretation, u"FIXaSinus rhythm\r\nRT");
}

TEST_F(StatementWriteTest, CodesThatContributeNothingLeaveAnEmptyInterpretation) {
  const std::string path = Record({50}, {60});
  ASSERT_TRUE(probe_.CreateInterpretationCodesText(path.c_str(), 0));
  const RecordFacts facts = ReadFacts(path);
  EXPECT_TRUE(facts.interpretation.empty());
  EXPECT_EQ(facts.confirmed, 0);
}

TEST_F(StatementWriteTest, FailuresLeaveTheRecordUntouched) {
  const std::string path = Record({21}, {99});  // code 99 has no text
  struct Case {
    const char* what;
    std::function<bool()> run;
    uint32_t error;
  };
  const char* p = path.c_str();
  const std::vector<Case> cases = {
      {"language 7", [&] { return probe_.CreateInterpretationText(p, 7, 5001); },
       ecg::platform::kErrorInvalidParameter},
      {"language -1", [&] { return probe_.AddInterpretationText(p, -1, 5001); },
       ecg::platform::kErrorInvalidParameter},
      {"codes, language 7", [&] { return probe_.CreateInterpretationCodesText(p, 7); },
       ecg::platform::kErrorInvalidParameter},
      {"missing statement", [&] { return probe_.CreateInterpretationText(p, 0, 4999); },
       ecg::platform::kErrorNoData},
      {"missing code text", [&] { return probe_.CreateInterpretationCodesText(p, 0); },
       ecg::platform::kErrorNoData},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(c.run());
    EXPECT_EQ(GetLastError(), c.error);
    EXPECT_EQ(ReadFile(path), original_);
  }

  // A language whose catalog is missing, or unreadable.
  ::unlink((env_.statements() + "/" + CatalogFileName(2)).c_str());
  EXPECT_FALSE(probe_.AddInterpretationText(p, 2, 5001));
  EXPECT_EQ(GetLastError(), ecg::platform::kErrorFileNotFound);
  env_.WriteCatalog(3, "5001 no tab\n");
  EXPECT_FALSE(probe_.CreateInterpretationText(p, 3, 5001));
  EXPECT_EQ(GetLastError(), ecg::platform::kErrorBadFormat);
  EXPECT_EQ(ReadFile(path), original_);

  // No Section 9.
  const std::string without = Record({}, {});
  EXPECT_FALSE(probe_.CreateInterpretationCodesText(without.c_str(), 0));
  EXPECT_EQ(GetLastError(), ecg::platform::kErrorNoData);
  EXPECT_EQ(ReadFile(without), original_);
}

}  // namespace
