// The print options file: the document written, the round trip through the
// engine, the OR-ing of report bits, and every way reading can fail.

#include "report/print_options_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/prompt.h"
#include "qt_test_app.h"
#include "report/ecg_print.h"
#include "support/record_builder.h"
#include "support/test_files.h"

namespace ecg::report {
namespace {

namespace fs = std::filesystem;

test::Bytes Text(const std::string& text) { return test::Bytes(text.begin(), text.end()); }

std::string Wrap(const std::string& body) {
  return "<?xml version=\"1.0\"?>\n<PrintOptions>" + body + "</PrintOptions>\n";
}

TEST(PrintOptionsFile, DocumentOfTheDefaults) {
  const std::string expected =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<PrintOptions>\n"
      "\t<Reports>\n"
      "\t\t<Report value=\"1\"/>\n\t\t<Report value=\"0\"/>\n\t\t<Report value=\"0\"/>\n"
      "\t\t<Report value=\"0\"/>\n\t\t<Report value=\"0\"/>\n\t\t<Report value=\"0\"/>\n"
      "\t\t<Report value=\"64\"/>\n\t\t<Report value=\"0\"/>\n\t\t<Report value=\"0\"/>\n"
      "\t\t<Report value=\"0\"/>\n\t\t<Report value=\"0\"/>\n\t\t<Report value=\"0\"/>\n"
      "\t\t<Report value=\"0\"/>\n\t\t<Report value=\"0\"/>\n"
      "\t</Reports>\n"
      "\t<ZoomOptions>\n"
      "\t\t<Lead value=\"1\"/>\n"
      "\t\t<Scale value=\"1\"/>\n"
      "\t</ZoomOptions>\n"
      "\t<ReportOptions>\n"
      "\t\t<Speed value=\"25\"/>\n"
      "\t\t<Sensitivity value=\"10\"/>\n"
      "\t\t<MinorGrid value=\"0\"/>\n"
      "\t\t<Measurements value=\"True\"/>\n"
      "\t\t<Interpretation value=\"True\"/>\n"
      "\t\t<Comments value=\"True\"/>\n"
      "\t\t<ShowPrintDialog value=\"False\"/>\n"
      "\t\t<ReportTitle value=\"\"/>\n"
      "\t</ReportOptions>\n"
      "</PrintOptions>\n";
  EXPECT_EQ(PrintOptionsDocument(SPrintOptions{}), expected);
}

TEST(PrintOptionsFile, ReportBitsAreOredIntoTheMask) {
  SPrintOptions options;
  std::string error;
  const test::Bytes bytes = Text(Wrap("<Reports><Report value=\"4\"/></Reports>"));
  ASSERT_TRUE(ReadPrintOptionsBytes(bytes.data(), bytes.size(), &options, &error)) << error;
  EXPECT_EQ(options.report_mask, 1 + 4 + 64);
  const test::Bytes zero = Text(Wrap("<Report value=\"0\"/><Report value=\"8192\"/>"));
  ASSERT_TRUE(ReadPrintOptionsBytes(zero.data(), zero.size(), &options, &error));
  EXPECT_EQ(options.report_mask, 1 + 4 + 64 + 8192);
}

TEST(PrintOptionsFile, ElementsAtAnyDepthCaseFreeBooleansAndDecimalCommas) {
  SPrintOptions options;
  std::string error;
  const test::Bytes bytes = Text(Wrap(
      "<Deep><Deeper><Speed value=\"12,5\"/></Deeper></Deep>"
      "<ReportOptions><Sensitivity value=\" 20 \"/><Comments value=\"FALSE\"/>"
      "<ShowPrintDialog value=\"true\"/><Unknown value=\"whatever\"/>"
      "<ReportTitle value=\"Station &amp; Ward 4 \xC3\xA9\"/><MinorGrid value=\"2\"/></ReportOptions>"
      "<ZoomOptions><Lead value=\"11\"/><Scale value=\"2.5\"/></ZoomOptions>"));
  ASSERT_TRUE(ReadPrintOptionsBytes(bytes.data(), bytes.size(), &options, &error)) << error;
  EXPECT_EQ(options.speed, 12.5);
  EXPECT_EQ(options.sensitivity, 20.0);
  EXPECT_FALSE(options.comments);
  EXPECT_TRUE(options.show_print_dialog);
  EXPECT_EQ(options.report_title, "Station & Ward 4 \xC3\xA9");
  EXPECT_EQ(options.minor_grid, 2);
  EXPECT_EQ(options.zoom_lead, 11);
  EXPECT_EQ(options.zoom_scale, 2.5);
}

TEST(PrintOptionsFile, FailuresKeepWhatWasReadBefore) {
  const struct { const char* name; std::string text; const char* reason; } cases[] = {
      {"not xml", "this is not xml", "not well-formed"},
      {"truncated", "<PrintOptions><Speed value=\"50\"/><Reports>", "not well-formed"},
      {"two roots", "<a/><b/>", "not well-formed"},
      {"speed word", Wrap("<Speed value=\"50\"/><Sensitivity value=\"fast\"/>"), "Sensitivity"},
      {"lead decimal", Wrap("<Speed value=\"50\"/><Lead value=\"1.5\"/>"), "Lead"},
      {"lead huge", Wrap("<Speed value=\"50\"/><Lead value=\"99999999999\"/>"), "Lead"},
      {"bool word", Wrap("<Speed value=\"50\"/><Measurements value=\"yes\"/>"), "Measurements"},
      {"report word", Wrap("<Speed value=\"50\"/><Report value=\"x\"/>"), "Report"},
      {"infinite", Wrap("<Speed value=\"50\"/><Scale value=\"inf\"/>"), "Scale"},
      {"not a number", Wrap("<Speed value=\"50\"/><Scale value=\"nan\"/>"), "Scale"},
      {"overflow", Wrap("<Speed value=\"50\"/><Scale value=\"1e999\"/>"), "Scale"},
      {"empty value", Wrap("<Speed value=\"50\"/><MinorGrid value=\"\"/>"), "MinorGrid"},
      {"no value", Wrap("<Speed value=\"50\"/><Comments/>"), "no \"value\""},
      {"empty", "", "empty"},
  };
  for (const auto& c : cases) {
    SPrintOptions options;
    std::string error;
    const test::Bytes bytes = Text(c.text);
    EXPECT_FALSE(ReadPrintOptionsBytes(bytes.data(), bytes.size(), &options, &error)) << c.name;
    EXPECT_NE(error.find(c.reason), std::string::npos) << c.name << ": " << error;
    if (c.text.find("Speed value=\"50\"") != std::string::npos) {
      EXPECT_EQ(options.speed, 50.0) << c.name << ": the value before the error stays";
    }
    EXPECT_EQ(options.sensitivity, 10.0) << c.name;
  }
}

TEST(PrintOptionsFile, MissingAndOversizedFilesFail) {
  test::TempFolder folder;
  SPrintOptions options;
  std::string error;
  EXPECT_FALSE(ReadPrintOptionsFile(folder.File("absent.xml"), &options, &error));
  EXPECT_NE(error.find("cannot open"), std::string::npos);
  std::string big = "<PrintOptions>" + std::string(kMaxPrintOptionsBytes, ' ') + "</PrintOptions>";
  const std::string path = folder.Write("big.xml", Text(big));
  EXPECT_FALSE(ReadPrintOptionsFile(path, &options, &error));
  EXPECT_NE(error.find("larger than"), std::string::npos);
  // An entity that would expand is not expanded, and no network is used.
  const std::string xxe = folder.Write(
      "xxe.xml", Text("<?xml version=\"1.0\"?><!DOCTYPE p [<!ENTITY e SYSTEM \"file:///etc/passwd\">]>"
                      "<PrintOptions><ReportTitle value=\"&e;\"/></PrintOptions>"));
  SPrintOptions xxe_options;
  ReadPrintOptionsFile(xxe, &xxe_options, &error);
  EXPECT_EQ(xxe_options.report_title.find("root"), std::string::npos);
}

class PrintOptionsEngine : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureQtApplication();
    previous_ = platform::SetPrompt(&prompt_);
  }
  void TearDown() override { platform::SetPrompt(previous_); }
  test::TempFolder folder_;
  platform::ScriptedPrompt prompt_;
  platform::Prompt* previous_ = nullptr;
};

TEST_F(PrintOptionsEngine, SaveThenReadReproducesEveryOption) {
  CECGPrint saved;
  saved.m_reportMask = 2 | 16 | 4096;
  saved.m_zoomLead = 9;
  saved.m_zoomScale = 2.0 / 3.0;  // needs every digit to come back
  saved.m_speed = 50.0;
  saved.m_sensitivity = 5.0;
  saved.m_minorGrid = 1;
  saved.m_printMeasurements = false;
  saved.m_printInterpretation = false;
  saved.m_printComments = false;
  saved.m_showPrintDialog = true;
  saved.m_reportTitle = QString::fromUtf8("Cardiology \xE2\x80\x93 Room <3>");
  const std::string path = folder_.File("sub/printoptions.xml");
  ASSERT_TRUE(saved.SaveOptions(path));

  CECGPrint read;
  ASSERT_TRUE(read.ReadOptions(path));
  EXPECT_EQ(read.m_reportMask, 2 | 16 | 4096 | 1 | 64);  // a new engine keeps 1 and 64
  EXPECT_EQ(read.m_zoomLead, 9);
  EXPECT_EQ(read.m_zoomScale, 2.0 / 3.0);
  EXPECT_EQ(read.m_speed, 50.0);
  EXPECT_EQ(read.m_sensitivity, 5.0);
  EXPECT_EQ(read.m_minorGrid, 1);
  EXPECT_FALSE(read.m_printMeasurements);
  EXPECT_FALSE(read.m_printInterpretation);
  EXPECT_FALSE(read.m_printComments);
  EXPECT_TRUE(read.m_showPrintDialog);
  EXPECT_EQ(read.m_reportTitle, saved.m_reportTitle);

  // A speed outside the dialog's list is used as read.
  const std::string odd = folder_.Write("odd.xml", Text(Wrap("<Speed value=\"30\"/>")));
  ASSERT_TRUE(read.ReadOptions(odd));
  EXPECT_EQ(read.m_speed, 30.0);
  EXPECT_TRUE(prompt_.shown().empty());
}

TEST_F(PrintOptionsEngine, WriteErrorsShowAMessageAndKeepTheOldFile) {
  const std::string path = folder_.Write("printoptions.xml", Text(Wrap("<Speed value=\"50\"/>")));
  const auto before = test::ReadFile(path);
  CECGPrint engine;
  EXPECT_FALSE(engine.SaveOptions(folder_.File("printoptions.xml/inside.xml")));
  ASSERT_EQ(prompt_.shown().size(), 1u);
  EXPECT_EQ(prompt_.shown()[0].caption, "Write XML Error");
  EXPECT_EQ(test::ReadFile(path), before);

  CECGPrint reader;
  EXPECT_FALSE(reader.ReadOptions(folder_.File("missing.xml")));
  EXPECT_EQ(reader.m_speed, 25.0);
  EXPECT_EQ(prompt_.shown().size(), 1u);  // reading shows nothing
}

}  // namespace
}  // namespace ecg::report
