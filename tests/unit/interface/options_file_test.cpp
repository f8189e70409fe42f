// Writing and reading the options file: the exact default file, round trips,
// where fields may stand, list rules, and failed writes.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "interface/ecg_options.h"
#include "interface/options_xml.h"
#include "platform/last_error.h"
#include "platform/prompt.h"
#include "settings_sandbox.h"

namespace {

using ecg::interface::ReadOptionsXml;
using ecg::interface::WriteOptionsXml;

// A record in which every field differs from its default.
CECGOptions Unusual() {
  CECGOptions o;
  o.AmplitudeUnits = 1;
  o.PowerFilter = 5;
  o.MuscleFilter = true;
  o.MeasurementSystem = 0;
  o.AllowReanalyse = false;
  o.IncludeInterpretation = false;
  o.SuppressPatientDetailsWarning = false;
  o.Port = 17;
  o.PlotStyle = 0;
  o.GridStyle = 5;
  o.QRSBeep = false;
  o.LeadsOffBeep = false;
  o.MIDISound = true;
  o.ReportTitle = "Cardiology <Ward 3> & \"Annex\" \xC2\xB5V\ttab";
  o.CustomLeadGroup = {11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
  o.CustomLeadGroupSize = 12;
  o.LeadOrder = {6, 7, 8, 9, 10, 11, 0, 1, 2, 3, 4, 5};
  o.RhythmStripLead = -4;
  o.CreatePDF = 1;
  o.Speed = 2;
  o.Sensitivity = 0;
  o.AllowXMLExport = 1;
  o.PowerFilterChoice = 0;
  o.ReviewGridStyle = 2;
  o.ReviewColor = 1;
  o.ShowDetails = 0;
  o.IncludeInterpretationCodes = 0;
  o.LeadGroup = 4;
  o.QTCMethod = 1;
  return o;
}

class OptionsFileTest : public ecg::test::SettingsSandbox {
 protected:
  ecg::platform::ScriptedPrompt prompt_;
  ecg::platform::ScopedPrompt scoped_{&prompt_};
};

TEST_F(OptionsFileTest, DefaultFileIsByteForByteTheExpectedFile) {
  CECGOptions options;
  std::string path = folder_.File("options.xml");
  ASSERT_TRUE(options.SaveOptions(path.c_str()));
  EXPECT_EQ(Text(path), Text(ECG_OPTIONS_GOLDEN_FILE));
  EXPECT_TRUE(prompt_.shown().empty());
}

TEST_F(OptionsFileTest, DefaultsWrittenAndReadBackAreTheSameRecord) {
  CECGOptions defaults;
  std::string path = folder_.File("options.xml");
  ASSERT_TRUE(defaults.SaveOptions(path.c_str()));
  CECGOptions read = Unusual();
  ASSERT_TRUE(read.ReadOptions(path.c_str()));
  // The file holds only the 3 custom-group entries in use; the others keep
  // whatever the record held.
  for (size_t i = 3; i < 12; ++i) {
    EXPECT_EQ(read.CustomLeadGroup[i], Unusual().CustomLeadGroup[i]);
    read.CustomLeadGroup[i] = defaults.CustomLeadGroup[i];
  }
  EXPECT_TRUE(read == defaults);
}

TEST_F(OptionsFileTest, EveryFieldSurvivesTheRoundTrip) {
  CECGOptions unusual = Unusual();
  std::string path = folder_.File("options.xml");
  ASSERT_TRUE(unusual.SaveOptions(path.c_str()));
  CECGOptions read;
  ASSERT_TRUE(read.ReadOptions(path.c_str()));
  EXPECT_TRUE(read == unusual);
  EXPECT_EQ(read.ReportTitle, unusual.ReportTitle);
}

TEST_F(OptionsFileTest, RhythmStripLeadAndQTCMethodStandDirectlyUnderECGOptions) {
  std::string xml, message;
  ASSERT_TRUE(WriteOptionsXml(CECGOptions(), xml, message));
  size_t general_end = xml.find("\t\t</General>\n");
  size_t rhythm = xml.find("\t\t<RhythmStripLead>1</RhythmStripLead>\n");
  size_t analysis = xml.find("\t\t<Analysis>\n");
  size_t connection_end = xml.find("\t\t</Connection>\n");
  size_t qtc = xml.find("\t\t<QTCMethod>0</QTCMethod>\n");
  size_t options_end = xml.find("\t</ECGOptions>\n");
  ASSERT_NE(rhythm, std::string::npos);
  ASSERT_NE(qtc, std::string::npos);
  EXPECT_LT(general_end, rhythm);
  EXPECT_LT(rhythm, analysis);
  EXPECT_LT(connection_end, qtc);
  EXPECT_LT(qtc, options_end);
  EXPECT_EQ(xml.rfind("<?xml", 0), std::string::npos);  // no declaration
  EXPECT_EQ(xml.rfind("<!--ECG acquisition and review default options.-->\n<root>\n", 0), 0u);
}

TEST_F(OptionsFileTest, CustomLeadGroupHoldsOnlyItsUsedEntries) {
  CECGOptions options;
  std::string xml, message;
  options.CustomLeadGroupSize = 5;
  ASSERT_TRUE(WriteOptionsXml(options, xml, message));
  EXPECT_NE(xml.find("<CustomLeadGroup>0,1,8,9,10,</CustomLeadGroup>"), std::string::npos);
  options.CustomLeadGroupSize = 0;
  ASSERT_TRUE(WriteOptionsXml(options, xml, message));
  EXPECT_NE(xml.find("<CustomLeadGroup></CustomLeadGroup>"), std::string::npos);
  // A size outside 0..12 never reaches past the 12 entries.
  options.CustomLeadGroupSize = 300;
  ASSERT_TRUE(WriteOptionsXml(options, xml, message));
  EXPECT_NE(xml.find("<CustomLeadGroup>0,1,8,9,10,11,2,3,4,5,6,7,</CustomLeadGroup>"),
            std::string::npos);
  EXPECT_NE(xml.find("<CustomLeadGroupSize>300</CustomLeadGroupSize>"), std::string::npos);
  options.CustomLeadGroupSize = -2;
  ASSERT_TRUE(WriteOptionsXml(options, xml, message));
  EXPECT_NE(xml.find("<CustomLeadGroup></CustomLeadGroup>"), std::string::npos);
}

TEST_F(OptionsFileTest, FileWithOnlyPortChangesPortAndNothingElse) {
  std::string path =
      WriteText("port.xml", "<root>\n  <ECGOptions>\n    <Port>4</Port>\n  </ECGOptions>\n</root>\n");
  CECGOptions options = Unusual();
  CECGOptions expected = Unusual();
  expected.Port = 4;
  ASSERT_TRUE(options.ReadOptions(path.c_str()));
  EXPECT_TRUE(options == expected);
  auto result = ecg::interface::ReadOptionsFile(path, options);
  ASSERT_EQ(result.fields_read.size(), 1u);
  EXPECT_EQ(result.fields_read[0], "Port");
}

TEST_F(OptionsFileTest, FieldsCountWhereverTheyStandAndNamesMatchCase) {
  std::string xml =
      "<Settings a='1'><x><y><Speed>2</Speed></y></x><port>9</port><PORT>9</PORT>"
      "<Other><QTCMethod>1</QTCMethod></Other><Speed>0</Speed></Settings>";
  CECGOptions options;
  auto result = ReadOptionsXml({reinterpret_cast<const uint8_t*>(xml.data()), xml.size()}, options);
  ASSERT_TRUE(result.ok) << result.message;
  EXPECT_EQ(options.Speed, 0);  // the later element wins
  EXPECT_EQ(options.QTCMethod, 1);
  EXPECT_EQ(options.Port, 2);
  EXPECT_EQ(result.fields_read, (std::vector<std::string_view>{"Speed", "QTCMethod", "Speed"}));
}

TEST_F(OptionsFileTest, ListWithoutTrailingCommaLosesItsLastItem) {
  std::string path = WriteText("order.xml", "<root><LeadOrder>2,1,0</LeadOrder></root>");
  CECGOptions options;
  options.LeadOrder = {7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7};
  ASSERT_TRUE(options.ReadOptions(path.c_str()));
  EXPECT_EQ(options.LeadOrder,
            (CECGDefaultSettings::LeadList{2, 1, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7}));
}

TEST_F(OptionsFileTest, ListItemsAreDecimalsTruncatedAndLeaveTheSizeAlone) {
  std::string path = WriteText(
      "group.xml", "<root><CustomLeadGroup> 1.9 ,-2.7,+3.,.5,0009,</CustomLeadGroup></root>");
  CECGOptions options;
  ASSERT_TRUE(options.ReadOptions(path.c_str()));
  EXPECT_EQ(options.CustomLeadGroup[0], 1);
  EXPECT_EQ(options.CustomLeadGroup[1], -2);
  EXPECT_EQ(options.CustomLeadGroup[2], 3);
  EXPECT_EQ(options.CustomLeadGroup[3], 0);
  EXPECT_EQ(options.CustomLeadGroup[4], 9);
  EXPECT_EQ(options.CustomLeadGroup[5], 11);  // untouched default
  EXPECT_EQ(options.CustomLeadGroupSize, 3);
}

TEST_F(OptionsFileTest, TwelveItemsAndTrailingTextAreAccepted) {
  std::string path = WriteText(
      "order.xml", "<root><LeadOrder>11,10,9,8,7,6,5,4,3,2,1,0,99 and more</LeadOrder></root>");
  CECGOptions options;
  ASSERT_TRUE(options.ReadOptions(path.c_str()));
  EXPECT_EQ(options.LeadOrder, (CECGDefaultSettings::LeadList{11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
}

TEST_F(OptionsFileTest, MoreThanTwelveItemsKeepsTheFirstTwelveAndStopsTheRead) {
  std::string path = WriteText("order.xml",
                               "<root><Speed>2</Speed>"
                               "<LeadOrder>11,10,9,8,7,6,5,4,3,2,1,0,12,</LeadOrder>"
                               "<Port>5</Port></root>");
  CECGOptions options;
  EXPECT_FALSE(options.ReadOptions(path.c_str()));
  EXPECT_EQ(ecg::platform::GetLastError(), ecg::platform::kErrorOutOfStructures);
  EXPECT_EQ(options.Speed, 2);
  EXPECT_EQ(options.LeadOrder, (CECGDefaultSettings::LeadList{11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
  EXPECT_EQ(options.Port, 2);
}

TEST_F(OptionsFileTest, IntegersToleranceSignsSpacesAndBoolsTakeNonZero) {
  std::string path = WriteText("values.xml",
                               "<root><Port>\n  +4 \t</Port><QTCMethod>-1</QTCMethod>"
                               "<MIDISound>-7</MIDISound><QRSBeep>000</QRSBeep>"
                               "<RhythmStripLead>-32768</RhythmStripLead>"
                               "<ReportTitle><![CDATA[a<b]]> &amp; &#67;</ReportTitle></root>");
  CECGOptions options;
  ASSERT_TRUE(options.ReadOptions(path.c_str()));
  EXPECT_EQ(options.Port, 4);
  EXPECT_EQ(options.QTCMethod, -1);
  EXPECT_TRUE(options.MIDISound);
  EXPECT_FALSE(options.QRSBeep);
  EXPECT_EQ(options.RhythmStripLead, -32768);
  EXPECT_EQ(options.ReportTitle, "a<b & C");
}

TEST_F(OptionsFileTest, EmptyTitleElementGivesAnEmptyTitle) {
  std::string path = WriteText("title.xml", "<root><ReportTitle/></root>");
  CECGOptions options;
  ASSERT_TRUE(options.ReadOptions(path.c_str()));
  EXPECT_EQ(options.ReportTitle, "");
}

TEST_F(OptionsFileTest, ReadAndSavePointTheApplicationAtTheirRecord) {
  std::string path = folder_.File("options.xml");
  CECGOptions written;
  ASSERT_TRUE(written.SaveOptions(path.c_str()));
  EXPECT_EQ(ecg::interface::ApplicationOptions(), &written);
  {
    CECGOptions read;
    EXPECT_FALSE(read.ReadOptions(folder_.File("missing.xml").c_str()));
    EXPECT_EQ(ecg::interface::ApplicationOptions(), &read);
  }
  EXPECT_EQ(ecg::interface::ApplicationOptions(), nullptr);
}

TEST_F(OptionsFileTest, FailedSaveShowsWriteXmlErrorAndLeavesNoFile) {
  CECGOptions options;
  std::string path = folder_.File("no-such-folder/options.xml");
  EXPECT_FALSE(options.SaveOptions(path.c_str()));
  EXPECT_EQ(ecg::platform::GetLastError(), ecg::platform::kErrorFileNotFound);
  auto shown = prompt_.shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "Write XML Error");
  EXPECT_NE(shown[0].text.find(path), std::string::npos) << shown[0].text;
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(OptionsFileTest, SaveOverAFolderFailsAndKeepsTheFolder) {
  std::string path = folder_.File("options.xml");
  std::filesystem::create_directories(path + "/inside");
  CECGOptions options;
  EXPECT_FALSE(options.SaveOptions(path.c_str()));
  EXPECT_TRUE(std::filesystem::is_directory(path + "/inside"));
  ASSERT_EQ(prompt_.shown().size(), 1u);
  EXPECT_EQ(prompt_.shown()[0].caption, "Write XML Error");
  // No temporary file is left beside it.
  size_t entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder_.path())) {
    ++entries;
  }
  EXPECT_EQ(entries, 3u);  // user, machine, options.xml
}

TEST_F(OptionsFileTest, TitleAnXmlFileCannotCarryFailsWithoutTouchingTheFile) {
  std::string path = folder_.File("options.xml");
  CECGOptions good;
  ASSERT_TRUE(good.SaveOptions(path.c_str()));
  std::string before = Text(path);
  for (std::string title : {std::string("bell\x07"), std::string("latin1 \xB5"),
                            std::string("overlong \xC0\xAF"), std::string("nul\0x", 5),
                            std::string("surrogate \xED\xA0\x80")}) {
    prompt_.Clear();
    CECGOptions bad;
    bad.ReportTitle = title;
    EXPECT_FALSE(bad.SaveOptions(path.c_str()));
    EXPECT_EQ(ecg::platform::GetLastError(), ecg::platform::kErrorInvalidData);
    ASSERT_EQ(prompt_.shown().size(), 1u);
    EXPECT_EQ(prompt_.shown()[0].caption, "Write XML Error");
    EXPECT_EQ(Text(path), before);
  }
}

TEST_F(OptionsFileTest, NullOrEmptyPathsAreRefused) {
  CECGOptions options;
  EXPECT_FALSE(options.ReadOptions(nullptr));
  EXPECT_EQ(ecg::platform::GetLastError(), ecg::platform::kErrorInvalidParameter);
  EXPECT_FALSE(options.SaveOptions(""));
  EXPECT_EQ(ecg::platform::GetLastError(), ecg::platform::kErrorInvalidParameter);
  EXPECT_EQ(prompt_.shown().size(), 1u);
}

}  // namespace
