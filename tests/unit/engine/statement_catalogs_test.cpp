// Every statement code the engine can make has its text in all seven
// language catalogs, with the prefix the component cuts: three letters of
// the statement's group (always cut) and the three-digit code with a blank
// (cut unless the codes option is set). The English catalog says what the
// engine writes into tag 201.

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

#include "analysis/statement_catalog.h"
#include "analysis/statement_text.h"
#include "engine/statement_codes.h"
#include "platform/text_codec.h"

namespace ecg::test::engine {
namespace {

using namespace ecg::engine;
using ecg::analysis::StatementCatalog;

std::string Utf8(const std::u16string& text) {
  std::string out;
  EXPECT_TRUE(ecg::platform::WideToUtf8(text, out));
  return out;
}

StatementCatalog Catalog(int32_t language) {
  StatementCatalog catalog;
  const std::string path = std::string(STATEMENTS_SOURCE_DIR) + "/" + ecg::analysis::CatalogFileName(language);
  EXPECT_TRUE(catalog.Load(path)) << path << ": " << ecg::analysis::CatalogFaultText(catalog.fault()) << " line "
                                  << catalog.fault_line();
  return catalog;
}

TEST(StatementCatalogs, EveryCodeHasItsTextInEveryLanguage) {
  for (int32_t language = 0; language < ecg::analysis::kLanguageCount; ++language) {
    const StatementCatalog catalog = Catalog(language);
    for (const StatementInfo& s : AllStatements()) {
      const std::u16string* text = catalog.Find(ecg::analysis::kCodeTextBase + s.code);
      ASSERT_NE(text, nullptr) << "language " << language << " lacks code " << s.code;
      const std::string utf8 = Utf8(*text);
      char prefix[8];
      std::snprintf(prefix, sizeof prefix, "%s%03u ", GroupTag(s.group), static_cast<unsigned>(s.code));
      EXPECT_EQ(utf8.rfind(prefix, 0), 0u) << "language " << language << ": " << utf8;
      EXPECT_GT(text->size(), ecg::analysis::kPlainPrefix) << "language " << language << " code " << s.code;
    }
  }
}

// Record texts are stored in the ANSI code page: CP932 for the Japanese
// catalog, CP1252 for the others. A code text the code page cannot hold
// would make the interpretation unstorable.
TEST(StatementCatalogs, EveryCodeTextFitsItsLanguagesCodePage) {
  const char* before = std::getenv("ECG_ANSI_CODEPAGE");
  const std::string saved = before != nullptr ? before : "";
  for (int32_t language = 0; language < ecg::analysis::kLanguageCount; ++language) {
    setenv("ECG_ANSI_CODEPAGE", language == 6 ? "CP932" : "CP1252", 1);
    const StatementCatalog catalog = Catalog(language);
    for (const StatementInfo& s : AllStatements()) {
      const std::u16string* text = catalog.Find(ecg::analysis::kCodeTextBase + s.code);
      ASSERT_NE(text, nullptr);
      std::string ansi;
      EXPECT_TRUE(ecg::platform::WideToAnsi(*text, ansi)) << "language " << language << " code " << s.code;
    }
  }
  if (before != nullptr) {
    setenv("ECG_ANSI_CODEPAGE", saved.c_str(), 1);
  } else {
    unsetenv("ECG_ANSI_CODEPAGE");
  }
}

TEST(StatementCatalogs, TheEnglishTextsAreTheEnginesOwn) {
  const StatementCatalog english = Catalog(0);
  for (const StatementInfo& s : AllStatements()) {
    const std::u16string* text = english.Find(ecg::analysis::kCodeTextBase + s.code);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(Utf8(text->substr(ecg::analysis::kPlainPrefix)), s.english) << s.code;
  }
}

TEST(StatementCatalogs, NoCatalogHasCodeTextsTheEngineDoesNotMake) {
  for (int32_t language = 0; language < ecg::analysis::kLanguageCount; ++language) {
    const StatementCatalog catalog = Catalog(language);
    for (const auto& [id, text] : catalog.texts()) {
      if (id < 1000 || id >= 2000) continue;
      EXPECT_NE(FindStatement(static_cast<uint16_t>(id - 1000)), nullptr) << "language " << language << " id " << id;
    }
  }
}

TEST(StatementCatalogs, TheComposedTextShowsTheCodeOnlyWithTheCodesOption) {
  const StatementCatalog english = Catalog(0);
  const std::vector<uint16_t> rhythm = {kSinusRhythm};
  const std::vector<uint16_t> morphology = {kLeftAxisDeviation, kBorderlineEcg};
  std::u16string plain, coded;
  ASSERT_TRUE(ecg::analysis::ComposeCodesText(english, rhythm, morphology, ecg::analysis::kPlainPrefix, plain));
  ASSERT_TRUE(ecg::analysis::ComposeCodesText(english, rhythm, morphology, ecg::analysis::kCodesOptionPrefix, coded));
  EXPECT_EQ(Utf8(plain), "Sinus rhythm\r\nLeft axis deviation\r\nBorderline ECG");
  EXPECT_EQ(Utf8(coded), "010 Sinus rhythm\r\n130 Left axis deviation\r\n902 Borderline ECG");
}

TEST(StatementCatalogs, CodesAreUniqueThreeDigitNumbersWithOneSummaryGroup) {
  std::set<uint16_t> seen;
  for (const StatementInfo& s : AllStatements()) {
    EXPECT_TRUE(seen.insert(s.code).second) << s.code;
    EXPECT_GE(s.code, 1);
    EXPECT_LE(s.code, 999);
    EXPECT_EQ(s.group == StatementGroup::kSummary, s.code >= 900) << s.code;
  }
}

}  // namespace
}  // namespace ecg::test::engine
