// Bad options files: every failure returns false with its code, keeps the
// fields read before it and stores nothing after it.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "interface/ecg_options.h"
#include "interface/options_xml.h"
#include "platform/last_error.h"
#include "settings_sandbox.h"

namespace {

using namespace ecg::platform;

struct BadValue {
  const char* name;
  const char* element;  // stands between <Speed>2</Speed> and <QTCMethod>1</QTCMethod>
  uint32_t code;
};

const BadValue kBadValues[] = {
    {"NotANumber", "<Port>abc</Port>", kErrorInvalidData},
    {"NumberThenText", "<Port>4x</Port>", kErrorInvalidData},
    {"FractionInAnInteger", "<Port>4.5</Port>", kErrorInvalidData},
    {"EmptyInteger", "<Port/>", kErrorInvalidData},
    {"SignOnly", "<Port>-</Port>", kErrorInvalidData},
    {"HugeNumber", "<Port>99999999999999999999999999</Port>", kErrorInvalidData},
    {"JustPastInt32", "<Port>2147483648</Port>", kErrorInvalidData},
    {"PastInt16", "<RhythmStripLead>32768</RhythmStripLead>", kErrorInvalidData},
    {"PastInt16Size", "<CustomLeadGroupSize>-40000</CustomLeadGroupSize>", kErrorInvalidData},
    {"BoolAsWord", "<QRSBeep>true</QRSBeep>", kErrorInvalidData},
    {"HugeBool", "<QRSBeep>4294967296</QRSBeep>", kErrorInvalidData},
    {"ListItemNotANumber", "<LeadOrder>1,x,</LeadOrder>", kErrorInvalidData},
    {"ListItemEmpty", "<LeadOrder>1,,2,</LeadOrder>", kErrorInvalidData},
    {"ListItemPastInt16", "<LeadOrder>40000.5,</LeadOrder>", kErrorInvalidData},
    {"ListItemTwoPoints", "<LeadOrder>1.2.3,</LeadOrder>", kErrorInvalidData},
    {"ListItemExponent", "<LeadOrder>1e2,</LeadOrder>", kErrorInvalidData},
    {"ListOfThirteen", "<LeadOrder>0,0,0,0,0,0,0,0,0,0,0,0,0,</LeadOrder>",
     kErrorOutOfStructures},
    {"ElementInsideAField", "<Port><Speed>1</Speed></Port>", kErrorBadFormat},
    {"MismatchedTag", "<Port>4</Prt>", kErrorBadFormat},
    {"UndefinedPrefix", "<x:Port>4</x:Port>", kErrorBadFormat},
    {"BareAmpersand", "<ReportTitle>A & B</ReportTitle>", kErrorBadFormat},
    {"ControlCharacter", "<ReportTitle>A \x01</ReportTitle>", kErrorBadFormat},
};

class OptionsReadFailureTest : public ecg::test::SettingsSandbox,
                               public ::testing::WithParamInterface<BadValue> {};

TEST_P(OptionsReadFailureTest, FailsWithItsCodeKeepingWhatCameBefore) {
  const BadValue& bad = GetParam();
  // The padding puts the bad element well past the first block the streaming
  // parser reads, so what precedes it has been read when the failure shows.
  std::string xml = "<root><Speed>2</Speed><Sensitivity>0</Sensitivity>" +
                    std::string(4096, ' ') + bad.element +
                    "<QTCMethod>1</QTCMethod><Port>7</Port></root>";
  std::string path = WriteText("bad.xml", xml);
  CECGOptions options;
  EXPECT_FALSE(options.ReadOptions(path.c_str()));
  EXPECT_EQ(GetLastError(), bad.code);
  EXPECT_EQ(options.Speed, 2);
  EXPECT_EQ(options.Sensitivity, 0);
  EXPECT_EQ(options.QTCMethod, 0);  // after the failure: untouched
  EXPECT_EQ(options.Port, 2);

  CECGOptions again;
  auto result = ecg::interface::ReadOptionsFile(path, again);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, bad.code);
  EXPECT_EQ(result.line, 1) << result.message;
  EXPECT_FALSE(result.message.empty());
  EXPECT_EQ(result.fields_read, (std::vector<std::string_view>{"Speed", "Sensitivity"}));
}

INSTANTIATE_TEST_SUITE_P(BadValues, OptionsReadFailureTest, ::testing::ValuesIn(kBadValues),
                         [](const auto& info) { return std::string(info.param.name); });

class OptionsFileFailureTest : public ecg::test::SettingsSandbox {
 protected:
  // Reads `path` into a record whose Port is 9 and checks that nothing changed.
  void ExpectUnreadable(const std::string& path, uint32_t code) {
    CECGOptions options;
    options.Port = 9;
    CECGOptions before = options;
    EXPECT_FALSE(options.ReadOptions(path.c_str()));
    EXPECT_EQ(GetLastError(), code);
    EXPECT_TRUE(options == before);
  }
};

TEST_F(OptionsFileFailureTest, MissingFileOrFolder) {
  ExpectUnreadable(folder_.File("missing.xml"), kErrorFileNotFound);
  ExpectUnreadable(folder_.File("missing/options.xml"), kErrorFileNotFound);
}

TEST_F(OptionsFileFailureTest, FolderInsteadOfAFile) {
  std::filesystem::create_directories(folder_.File("options.xml"));
  ExpectUnreadable(folder_.File("options.xml"), kErrorAccessDenied);
}

TEST_F(OptionsFileFailureTest, FileLargerThanAnOptionsFileCanBe) {
  std::string xml = "<root><Port>4</Port>" +
                    std::string(ecg::interface::kMaxOptionsFileSize, ' ') + "</root>";
  ExpectUnreadable(WriteText("large.xml", xml), kErrorOutOfMemory);
}

TEST_F(OptionsFileFailureTest, EmptyOrNonXmlFile) {
  ExpectUnreadable(WriteText("empty.xml", ""), kErrorBadFormat);
  ExpectUnreadable(WriteText("text.xml", "Port=4\n"), kErrorBadFormat);
  ExpectUnreadable(WriteText("two-roots.xml", "<a/><Port>4</Port>"), kErrorBadFormat);
}

TEST_F(OptionsFileFailureTest, EntitiesOfTheFileItselfAreNotFollowed) {
  std::string path = WriteText(
      "entity.xml",
      "<!DOCTYPE root [<!ENTITY own SYSTEM \"/etc/hostname\"><!ENTITY four \"4\">]>"
      "<root><Speed>2</Speed><Port>&four;</Port><ReportTitle>&own;</ReportTitle></root>");
  CECGOptions options;
  EXPECT_FALSE(options.ReadOptions(path.c_str()));
  EXPECT_EQ(GetLastError(), kErrorBadFormat);
  EXPECT_EQ(options.Speed, 2);
  EXPECT_EQ(options.Port, 2);
  EXPECT_EQ(options.ReportTitle, "ECG Report");
}

TEST_F(OptionsFileFailureTest, ParserComplaintsBecomeTheReasonNotStandardErrorOutput) {
  const std::string inputs[] = {
      std::string("\0<\0\0", 4),         // a byte order the parser cannot read
      std::string("<\0\0\0~", 5),        // UCS-4 that does not convert
      "<?xml version=\"1.0\" encoding=\"ISO-8859-11\"?><root><Port>\xff</Port></root>",
      "<?xml version=\"1.0\" encoding=\"BOGUS\"?><root/>",
      "<root><Port>\xff\xfe</Port></root>",
  };
  for (const auto& xml : inputs) {
    CECGOptions options;
    ::testing::internal::CaptureStderr();
    auto result = ecg::interface::ReadOptionsXml(
        {reinterpret_cast<const uint8_t*>(xml.data()), xml.size()}, options);
    std::string printed = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, kErrorBadFormat);
    EXPECT_EQ(printed, "");
    EXPECT_EQ(result.message.find('\n'), std::string::npos) << result.message;
    EXPECT_GT(result.message.size(), std::string("malformed XML: ").size()) << result.message;
  }
}

}  // namespace
