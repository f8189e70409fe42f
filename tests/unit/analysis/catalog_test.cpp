// Statement catalogs: the parser's failure codes, where catalogs are found,
// and the catalogs this repository ships.

#include <gtest/gtest.h>

#include "analysis/statement_catalog.h"
#include "analysis/statement_text.h"
#include "analysis_test_support.h"
#include "platform/last_error.h"
#include "platform/text_codec.h"

using namespace ecg::test;
using namespace ecg::analysis;
using ecg::platform::GetLastError;

namespace {

bool Parse(StatementCatalog& catalog, const std::string& text) {
  return catalog.Parse(Bytes(text.begin(), text.end()));
}

struct FaultCase {
  const char* what;
  std::string text;
  CatalogFault fault;
  uint32_t line;
};

TEST(StatementCatalogParse, EachFaultIsNamedWithItsLine) {
  const std::string good = "# header\n5001\tGood\n";
  const std::vector<FaultCase> cases = {
      {"letters in the id", good + "50a1\tText\n", CatalogFault::kBadId, 3},
      {"no id", "\tText\n", CatalogFault::kBadId, 1},
      {"six digits", good + "\n012345\tText\n", CatalogFault::kBadId, 4},
      {"id above 65535", "65536\tText\n", CatalogFault::kBadId, 1},
      {"sign", "+5001\tText\n", CatalogFault::kBadId, 1},
      {"space instead of tab", "5001 Text\n", CatalogFault::kMissingTab, 1},
      {"id alone", good + "5002", CatalogFault::kMissingTab, 3},
      {"empty text", "5001\t\r\n", CatalogFault::kEmptyText, 1},
      {"second tab", "5001\tA\tB\n", CatalogFault::kControlCharacter, 1},
      {"lone carriage return", "5001\tA\rB\n", CatalogFault::kControlCharacter, 1},
      {"C1 control", "5001\tA\xC2\x85" "B\n", CatalogFault::kControlCharacter, 1},
      {"NUL", std::string("5001\tA\0B\n", 9), CatalogFault::kControlCharacter, 1},
      {"Latin-1 byte", good + "5002\tCaf\xE9\n", CatalogFault::kNotUtf8, 3},
      {"overlong slash", "5001\t\xC0\xAF\n", CatalogFault::kNotUtf8, 1},
      {"surrogate", "5001\t\xED\xA0\x80\n", CatalogFault::kNotUtf8, 1},
      {"cut short", "5001\t\xE3\x81\n", CatalogFault::kNotUtf8, 1},
      {"above U+10FFFF", "5001\t\xF4\x90\x80\x80\n", CatalogFault::kNotUtf8, 1},
      {"256 characters", "5001\t" + std::string(256, 'x') + "\n", CatalogFault::kTextTooLong, 1},
      {"duplicate id", good + "05001\tAgain\n", CatalogFault::kDuplicateId, 3},
  };
  for (const FaultCase& c : cases) {
    SCOPED_TRACE(c.what);
    StatementCatalog catalog;
    ASSERT_TRUE(Parse(catalog, "5000\tBefore\n"));
    EXPECT_FALSE(Parse(catalog, c.text));
    EXPECT_EQ(GetLastError(), ecg::platform::kErrorBadFormat);
    EXPECT_EQ(catalog.fault(), c.fault) << CatalogFaultText(catalog.fault());
    EXPECT_EQ(catalog.fault_line(), c.line);
    EXPECT_EQ(catalog.size(), 0u);
    EXPECT_EQ(catalog.Find(5000), nullptr);
  }
}

TEST(StatementCatalogParse, ALargeFileIsRefusedAsTooLarge) {
  StatementCatalog catalog;
  EXPECT_FALSE(catalog.Parse(Bytes(StatementCatalog::kMaxFileSize + 1, '#')));
  EXPECT_EQ(GetLastError(), ecg::platform::kErrorOutOfMemory);
  EXPECT_EQ(catalog.fault(), CatalogFault::kTooLarge);
  EXPECT_TRUE(catalog.Parse(Bytes(StatementCatalog::kMaxFileSize, '#')));
}

TEST(StatementCatalogParse, AcceptsMarkCommentsBlankLinesAndWindowsLineEnds) {
  StatementCatalog catalog;
  ASSERT_TRUE(Parse(catalog,
                    "\xEF\xBB\xBF# comment\r\n\r\n"
                    "0\tZero\r\n"
                    "65535\tLast\n"
                    "00042\t#not a comment\n"
                    "5001\t\xE8\xA7\xA3\xE6\x9E\x90 \xF0\x9F\x98\x80 caf\xC3\xA9" /* no final newline */));
  EXPECT_EQ(catalog.size(), 4u);
  EXPECT_EQ(*catalog.Find(0), u"Zero");
  EXPECT_EQ(*catalog.Find(65535), u"Last");
  EXPECT_EQ(*catalog.Find(42), u"#not a comment");
  EXPECT_EQ(*catalog.Find(5001), u"\u89E3\u6790 \U0001F600 caf\u00E9");
  EXPECT_EQ(catalog.Find(1), nullptr);
  EXPECT_EQ(catalog.Find(70000), nullptr);
  EXPECT_TRUE(Parse(catalog, "5001\t" + std::string(255, 'x') + "\n"));
}

TEST(StatementCatalogFiles, LanguagesMapToTheLanguageLibrariesNames) {
  const char* expected[] = {"QORSYSEN", "QORSYSFR", "QORSYSDU", "QORSYSIT",
                            "QORSYSSP", "QORSYSPO", "QORSYSJP"};
  for (int language = 0; language < kLanguageCount; ++language) {
    EXPECT_EQ(LanguageLibraryName(language), std::string(expected[language]) + ".dll");
    EXPECT_EQ(CatalogFileName(language), std::string(expected[language]) + ".txt");
  }
  EXPECT_EQ(LanguageLibraryName(7), nullptr);
  EXPECT_EQ(CatalogFileName(-1), "");
}

TEST(StatementCatalogFiles, TheOverrideFolderIsTheOnlyOneSearched) {
  TempFolder folder;
  ScopedEnv statements("ECG_STATEMENTS_DIR", folder.path());
  EXPECT_EQ(StatementFolders(), std::vector<std::string>{folder.path()});
  StatementCatalog catalog;
  EXPECT_FALSE(catalog.LoadLanguage(1));
  EXPECT_EQ(GetLastError(), ecg::platform::kErrorFileNotFound);
  folder.Write("QORSYSFR.txt", Bytes{'7', '\t', 'x', '\n'});
  ASSERT_TRUE(catalog.LoadLanguage(1));
  EXPECT_EQ(catalog.path(), folder.File("QORSYSFR.txt"));
  EXPECT_EQ(*catalog.Find(7), u"x");
  EXPECT_FALSE(catalog.LoadLanguage(7));
  EXPECT_EQ(GetLastError(), ecg::platform::kErrorInvalidParameter);
}

// The shipped catalogs: every language complete, every text translated and
// storable in the record code page of its language.
TEST(ShippedStatementCatalogs, HoldTheFixedStatementsInSevenLanguages) {
  ScopedEnv statements("ECG_STATEMENTS_DIR", std::nullopt);
  StatementCatalog english;
  ASSERT_TRUE(english.LoadLanguage(0)) << "no shipped catalogs found";
  for (int language = 0; language < kLanguageCount; ++language) {
    SCOPED_TRACE(CatalogFileName(language));
    StatementCatalog catalog;
    ASSERT_TRUE(catalog.LoadLanguage(language)) << CatalogFaultText(catalog.fault()) << " line "
                                                << catalog.fault_line();
    ScopedEnv code_page("ECG_ANSI_CODEPAGE", language == 6 ? "CP932" : "CP1252");
    for (uint32_t id = kStatementLeadOff; id <= kStatementPatientData; ++id) {
      const std::u16string* text = catalog.Find(id);
      ASSERT_NE(text, nullptr) << id;
      if (language != 0) {
        EXPECT_NE(*text, *english.Find(id)) << id << " is not translated";
      }
      EXPECT_NE(text->front(), u' ');
      EXPECT_TRUE(text->back() == u'.' || text->back() == u'\u3002') << id;
      std::string ansi;
      EXPECT_TRUE(ecg::platform::WideToAnsi(*text, ansi)) << id << " does not fit the code page";
    }
  }
}

}  // namespace
