// Language module files: what counts as a translation and the failure codes
// of files that are not one.

#include <gtest/gtest.h>

#include <string>

#include "interface/facade/language_module.h"
#include "interface/facade/translation_file.h"
#include "platform/last_error.h"

namespace ecg::test {
namespace {

using ecg::facade::ParseTranslationFile;
using ecg::facade::TranslationTable;

std::span<const uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

TEST(TranslationFile, FinishedMessagesAreTakenPerContext) {
  const std::string ts =
      "<?xml version='1.0' encoding='utf-8'?><TS version='2.1' language='de_DE'>"
      "<context><name>CECGInterface</name>"
      "<message><source>Error</source><translation>Fehler</translation></message>"
      "<message><source>Later</source><translation type='unfinished'>Sp\xC3\xA4ter</translation></message>"
      "<message><source>Gone</source><translation type='vanished'>Weg</translation></message>"
      "<message><source>Empty</source><translation></translation></message>"
      "</context><context><name>CECGPrint</name>"
      "<message><source>Error</source><translation>Druckfehler</translation></message>"
      "</context></TS>";
  TranslationTable table;
  ASSERT_TRUE(ParseTranslationFile(Bytes(ts), table));
  EXPECT_EQ(table["CECGInterface"]["Error"], "Fehler");
  EXPECT_EQ(table["CECGPrint"]["Error"], "Druckfehler");
  EXPECT_EQ(table["CECGInterface"].count("Later"), 0u);
  EXPECT_EQ(table["CECGInterface"].count("Gone"), 0u);
  EXPECT_EQ(table["CECGInterface"].count("Empty"), 0u);
}

TEST(TranslationFile, FilesThatAreNotTranslationsAreRefused) {
  TranslationTable table;
  table["x"]["y"] = "z";
  EXPECT_FALSE(ParseTranslationFile(Bytes(""), table));
  EXPECT_EQ(ecg::platform::GetLastError(), ecg::platform::kErrorInvalidData);
  EXPECT_TRUE(table.empty());
  EXPECT_FALSE(ParseTranslationFile(Bytes("<TS><context>"), table));
  EXPECT_EQ(ecg::platform::GetLastError(), ecg::platform::kErrorInvalidData);
  EXPECT_FALSE(ParseTranslationFile(Bytes("<options/>"), table));
  EXPECT_EQ(ecg::platform::GetLastError(), ecg::platform::kErrorInvalidData);
  EXPECT_FALSE(ParseTranslationFile(Bytes("<TS><context><message/></context></TS>"), table));
  EXPECT_EQ(ecg::platform::GetLastError(), ecg::platform::kErrorInvalidData);
  EXPECT_FALSE(ParseTranslationFile(
      Bytes("<TS><context><name>c</name><message><translation>t</translation></message></context></TS>"),
      table));
  EXPECT_EQ(ecg::platform::GetLastError(), ecg::platform::kErrorInvalidData);
}

TEST(TranslationFile, LimitsBoundEntriesAndSize) {
  std::string ts = "<TS><context><name>c</name>";
  for (size_t i = 0; i <= ecg::facade::kMaxTranslationEntries; ++i) {
    ts += "<message><source>s" + std::to_string(i) + "</source></message>";
  }
  ts += "</context></TS>";
  TranslationTable table;
  EXPECT_FALSE(ParseTranslationFile(Bytes(ts), table));
  EXPECT_EQ(ecg::platform::GetLastError(), ecg::platform::kErrorOutOfStructures);

  const std::string big(ecg::facade::kMaxTranslationFileBytes + 1, ' ');
  EXPECT_FALSE(ParseTranslationFile(Bytes(big), table));
  EXPECT_EQ(ecg::platform::GetLastError(), ecg::platform::kErrorOutOfMemory);
}

TEST(LanguageModule, NamesAndCodes) {
  EXPECT_EQ(ecg::facade::LanguageModuleName("StillwaterFra"), "ECGFra.dll");
  EXPECT_EQ(ecg::facade::LanguageModuleName("Deu"), "Deu.dll");
  EXPECT_EQ(ecg::facade::LanguageCodeOfModule("ECGFra.dll"), 1);
  EXPECT_EQ(ecg::facade::LanguageCodeOfModule("ECGDeu.dll"), 2);
  EXPECT_EQ(ecg::facade::LanguageCodeOfModule("ECGIta.dll"), 3);
  EXPECT_EQ(ecg::facade::LanguageCodeOfModule("ECGEsp.dll"), 4);
  EXPECT_EQ(ecg::facade::LanguageCodeOfModule("ECGPtg.dll"), 5);
  EXPECT_EQ(ecg::facade::LanguageCodeOfModule("ECGJpn.dll"), 6);
  // A module of any other name is taken as French.
  EXPECT_EQ(ecg::facade::LanguageCodeOfModule("ECGNld.dll"), 1);
}

TEST(LanguageModule, TheGermanModuleTranslatesTheFacadeAndReportTexts) {
  ecg::facade::LanguageModule* german = ecg::facade::LoadLanguageModule("ECGDeu.dll");
  ASSERT_NE(german, nullptr);
  EXPECT_EQ(german->translate("CECGInterface", "Function not available", nullptr, -1),
            QString("Funktion nicht verf\u00FCgbar"));
  EXPECT_FALSE(german->translate("CECGPrint", "Patient Details", nullptr, -1).isEmpty());
  // The windows and dialogs are in it too.
  EXPECT_EQ(german->translate("CMainFrame", "&File", nullptr, -1), QString("&Datei"));
  EXPECT_EQ(german->translate("CTM_RealTimeDlg", "Save", nullptr, -1), QString("Speichern"));
  EXPECT_EQ(german->translate("CECGPatientDialog", "Patient Information", nullptr, -1),
            QString("Patienteninformationen"));
  EXPECT_EQ(german->translate("CECGGeneralSettingsPage", "Microvolts (\u00b5V)", nullptr, -1),
            QString("Mikrovolt (\u00b5V)"));
  EXPECT_EQ(ecg::facade::LoadLanguageModule("ECGDeu.dll"), german);  // loaded once
  EXPECT_EQ(ecg::facade::LoadLanguageModule("ECGXyz.dll"), nullptr);
}

}  // namespace
}  // namespace ecg::test
