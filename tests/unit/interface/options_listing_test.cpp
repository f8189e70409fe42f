// The listing `ecg options --file` prints.

#include <gtest/gtest.h>

#include <sstream>

#include "interface/ecg_options.h"
#include "interface/options_listing.h"
#include "interface/options_xml.h"
#include "settings_sandbox.h"

namespace {

using ecg::interface::DescribeOptionValue;
using ecg::interface::FormatOptionsListing;

class OptionsListingTest : public ecg::test::SettingsSandbox {};

// The listing's line for a field, without its leading spaces.
std::string LineOf(const std::string& listing, const std::string& field) {
  std::istringstream in(listing);
  for (std::string line; std::getline(in, line);) {
    size_t start = line.find_first_not_of(' ');
    if (start != std::string::npos && line.compare(start, field.size() + 1, field + " ") == 0) {
      return line.substr(start);
    }
  }
  return {};
}

TEST_F(OptionsListingTest, FieldsFollowTheFileOrderUnderTheirGroups) {
  std::string listing = FormatOptionsListing(CECGOptions());
  EXPECT_EQ(listing.rfind("Acquisition\n  PlotStyle ", 0), 0u);
  EXPECT_LT(listing.find("\nGeneral\n"), listing.find("\nRhythmStripLead "));
  EXPECT_LT(listing.find("\nRhythmStripLead "), listing.find("\nAnalysis\n"));
  EXPECT_LT(listing.find("\nConnection\n  Port "), listing.find("\nQTCMethod "));
  EXPECT_EQ(std::count(listing.begin(), listing.end(), '\n'), 29 + 5);
}

TEST_F(OptionsListingTest, ValuesAreShownWithTheirMeaning) {
  CECGOptions options;
  options.GridStyle = 5;
  options.ReviewGridStyle = 7;
  options.PlotStyle = 3;
  options.RhythmStripLead = 8;
  options.CustomLeadGroup = {2, 3, 40, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  options.PowerFilterChoice = 0;
  std::string listing = FormatOptionsListing(options);
  EXPECT_NE(LineOf(listing, "GridStyle").find("5"), std::string::npos);
  EXPECT_NE(LineOf(listing, "GridStyle").find("No Grid"), std::string::npos);
  EXPECT_NE(LineOf(listing, "ReviewGridStyle").find("unknown, shown as No Grid"),
            std::string::npos);
  EXPECT_NE(LineOf(listing, "PlotStyle").find("unknown"), std::string::npos);
  EXPECT_NE(LineOf(listing, "RhythmStripLead").find("III"), std::string::npos);
  EXPECT_NE(LineOf(listing, "CustomLeadGroup").find("2,3,40,"), std::string::npos);
  EXPECT_NE(LineOf(listing, "CustomLeadGroup").find("V1, V2, ?"), std::string::npos);
  EXPECT_NE(LineOf(listing, "PowerFilterChoice").find("50 Hz"), std::string::npos);
  EXPECT_NE(LineOf(listing, "ReportTitle").find("\"ECG Report\""), std::string::npos);
  EXPECT_EQ(DescribeOptionValue(options, "LeadOrder"),
            "I, II, III, aVR, aVL, aVF, V1, V2, V3, V4, V5, V6");
  EXPECT_EQ(DescribeOptionValue(options, "CustomLeadGroupSize"), "");
}

TEST_F(OptionsListingTest, FieldsTheFileDidNotSetAreMarked) {
  std::string xml = "<root><Port>4</Port></root>";
  CECGOptions options;
  auto result = ecg::interface::ReadOptionsXml(
      {reinterpret_cast<const uint8_t*>(xml.data()), xml.size()}, options);
  ASSERT_TRUE(result.ok);
  std::string listing = FormatOptionsListing(options, &result.fields_read);
  EXPECT_EQ(LineOf(listing, "Port").find("(not in the file)"), std::string::npos);
  EXPECT_NE(LineOf(listing, "Port").find("COM4"), std::string::npos);
  EXPECT_NE(LineOf(listing, "Speed").find("(not in the file)"), std::string::npos);
  EXPECT_EQ(std::count(listing.begin(), listing.end(), '('), 28 + 2);  // + "(µV)", "(lb, in)"
}

}  // namespace
