// The facade's operations that need no window: members and copies, unit
// conversions, analysis results, records, versions, the print operations'
// choices and the operations that only say "Function not available".

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "analysis/analysis.h"
#include "facade_fixture.h"
#include "facade_records.h"
#include "interface/facade/language_module.h"
#include "interface/facade/print_file_type.h"
#include "interface/facade/recording_setup.h"
#include "interface/registry_values.h"
#include "platform/registry.h"
#include "report/ecg_print.h"
#include "scp/reader.h"

namespace ecg::test {
namespace {

using ecg::platform::PromptButtons;

TEST_F(FacadeTest, NewInstanceHoldsTheDocumentedDefaults) {
  CECGInterface facade;
  EXPECT_STREQ(facade.m_firstName, "Quick");
  EXPECT_STREQ(facade.m_lastName, "Test");
  EXPECT_STREQ(facade.m_patientId, "-");
  EXPECT_EQ(facade.m_gender, 1);
  EXPECT_EQ(facade.m_yob, 1970);
  EXPECT_EQ(facade.m_mob, 1);
  EXPECT_EQ(facade.m_dob, 1);
  EXPECT_NE(facade.m_pECGPrint, nullptr);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(facade.m_leadOrder[i], i);
  EXPECT_TRUE(facade.m_openMenuEnabled);
  EXPECT_TRUE(facade.m_openPdfViewer);
  EXPECT_FALSE(facade.m_removeUnits);
  EXPECT_EQ(facade.m_language, 0);
  EXPECT_EQ(facade.m_hLanguage, nullptr);
  EXPECT_EQ(g_iStillwaterVersion, 0);
  EXPECT_EQ(CECGInterface::Initialize(), 1);
  EXPECT_EQ(facade.Release(), 1);
}

TEST_F(FacadeTest, LeadTablesMapDisplayIndexToChannel) {
  EXPECT_STREQ(CECGInterface::m_leadLabels[2], "III");
  EXPECT_STREQ(CECGInterface::m_leadLabels[6], "V1");
  // III, aVR, aVL, aVF are calculated on channels 8-11; V1-V6 come on 2-7.
  EXPECT_EQ(CECGInterface::m_leadIds[2], 8);
  EXPECT_EQ(CECGInterface::m_leadIds[5], 11);
  EXPECT_EQ(CECGInterface::m_leadIds[6], 2);
  EXPECT_EQ(CECGInterface::m_leadIds[11], 7);
}

TEST_F(FacadeTest, CopiesShareTheReportEngineAndKeepTheirOwnPatient) {
  auto* original = new CECGInterface();
  std::strcpy(original->m_lastName, "Doe");
  original->SetReportFooter("footer");
  original->DoNotBringUpAdobe();
  CECGInterface copy(*original);
  EXPECT_EQ(copy.m_pECGPrint, original->m_pECGPrint);
  EXPECT_STREQ(copy.m_lastName, "Doe");
  EXPECT_EQ(copy.m_reportFooter, "footer");
  EXPECT_FALSE(copy.m_openPdfViewer);
  std::strcpy(copy.m_lastName, "Roe");
  EXPECT_STREQ(original->m_lastName, "Doe");
  // The engine outlives the instance that made it while a copy holds it.
  delete original;
  EXPECT_EQ(copy.AddReport("x.scp"), 1);
  EXPECT_EQ(copy.m_pECGPrint->m_reportFiles.size(), 1u);

  CECGInterface assigned;
  CECGPrint* own_engine = assigned.m_pECGPrint;
  assigned = copy;
  EXPECT_EQ(assigned.m_pECGPrint, copy.m_pECGPrint);
  EXPECT_NE(assigned.m_pECGPrint, own_engine);
}

TEST_F(FacadeTest, FactoryRemembersTheLastInstance) {
  CECGInterface* made = CreateECGInterface();
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(GetCECGPrintObj(), made->m_pECGPrint);
  DestroyECGInterface();
  EXPECT_EQ(GetCECGPrintObj(), nullptr);
  DestroyECGInterface();  // nothing left to destroy
}

TEST_F(FacadeTest, LanguageModuleFromTheRegistrySetsTheLanguageCode) {
  ASSERT_TRUE(ecg::platform::RegistryWriteString(ecg::platform::RegistryHive::kCurrentUser,
                                                 "SOFTWARE\\Harbinlow\\Still_Water",
                                                 "StillwaterLanguage", "StillwaterDeu"));
  CECGInterface facade;
  EXPECT_EQ(facade.m_language, 2);
  EXPECT_EQ(g_iStillwaterVersion, 1);
  EXPECT_EQ(facade.m_pECGPrint->m_language, 2);
  // The German module ships with the component, and its texts are the ones shown.
  ASSERT_NE(facade.m_hLanguage, nullptr);
  EXPECT_FALSE(facade.ReviewHL7());
  ASSERT_EQ(prompt_.shown().size(), 1u);
  EXPECT_EQ(prompt_.shown()[0].text, "Funktion nicht verf\xC3\xBCgbar");
  EXPECT_EQ(prompt_.shown()[0].caption, "Fehler");
  ecg::facade::RemoveLanguageModule(static_cast<ecg::facade::LanguageModule*>(facade.m_hLanguage));
}

TEST_F(FacadeTest, RegionAloneMarksTheHostProduct) {
  ASSERT_TRUE(ecg::platform::RegistryWriteDword(ecg::platform::RegistryHive::kLocalMachine,
                                                "SOFTWARE\\Harbinlow\\Still_Water",
                                                "StillwaterRegion", 3));
  CECGInterface facade;
  EXPECT_EQ(g_iStillwaterVersion, 1);
  EXPECT_EQ(facade.m_language, 0);
}

TEST_F(FacadeTest, HeightAndWeightFollowTheMeasurementSystem) {
  CECGInterface facade;
  facade.m_height = 254.0;
  facade.m_weight = 1.0;
  facade.SetMeasurementUnits(kImperial);
  EXPECT_DOUBLE_EQ(facade.GetHeight(), 100.0);
  EXPECT_DOUBLE_EQ(facade.GetWeight(), 2.2046);
  facade.SetMeasurementUnits(kMetric);
  EXPECT_EQ(facade.m_settings.MeasurementSystem, 0);
  EXPECT_DOUBLE_EQ(facade.GetHeight(), 254.0);
  EXPECT_DOUBLE_EQ(facade.GetWeight(), 1.0);
}

TEST_F(FacadeTest, OperationsWithoutAFunctionSayNotAvailable) {
  CECGInterface facade;
  EXPECT_EQ(facade.ReviewRecordedECG("a.scp", "b"), kTestNotSaved);
  EXPECT_FALSE(facade.ReviewHL7());
  EXPECT_FALSE(facade.ReceivePelluxFile("p.dat"));
  facade.DisableExportToXMLMenu();
  facade.EnableExportToXMLMenu();
  const auto shown = prompt_.shown();
  ASSERT_EQ(shown.size(), 5u);
  for (const auto& s : shown) {
    EXPECT_EQ(s.text, "Function not available");
    EXPECT_EQ(s.caption, "Error");
  }
}

TEST_F(FacadeTest, FlagSettersChangeOnlyTheirFlag) {
  CECGInterface facade;
  facade.DisableOpenMenu();
  facade.CreatePDFFileWithSCPName();
  facade.AddSaveandGeneratePDFButtonToReviewWindow();
  facade.CloseAfterPDF();
  facade.DisableOptionsBrowse();
  facade.RemoveHelpMenu();
  facade.RemoveUnits();
  facade.SetImagePath("/img");
  facade.SetPDFFileName("out.pdf");
  EXPECT_FALSE(facade.m_openMenuEnabled);
  EXPECT_TRUE(facade.m_pdfWithScpName);
  EXPECT_TRUE(facade.m_saveAndPdfButton);
  EXPECT_TRUE(facade.m_closeAfterPdf);
  EXPECT_TRUE(facade.m_optionsBrowseDisabled);
  EXPECT_TRUE(facade.m_removeHelpMenu);
  EXPECT_TRUE(facade.m_removeUnits);
  EXPECT_TRUE(facade.m_openPdfViewer);
  EXPECT_EQ(facade.m_imagePath, "/img");
  EXPECT_EQ(facade.m_pdfFileName, "out.pdf");
  EXPECT_TRUE(prompt_.shown().empty());
}

// ------------------------------------------------------------ records

TEST_F(FacadeTest, AnalyseRefusesRecordsOfSixLeadsOrFewer) {
  const std::string file = folder_.File("one.scp");
  ASSERT_TRUE(WriteOneLeadRecord(file));
  CECGInterface facade;
  EXPECT_EQ(facade.Analyse(file.c_str(), false), kAnalysisTooFewLeads);
  // The patient update still happens before the lead count is looked at.
  std::strcpy(facade.m_lastName, "Smith");
  EXPECT_EQ(facade.Analyse(file.c_str(), true), kAnalysisTooFewLeads);
  CPatientInfo patient;
  CRecordInfo recording;
  ASSERT_TRUE(CReader::ReadPatientAndRecordInfo(file.c_str(), &patient, &recording));
  EXPECT_EQ(patient.m_lastName.value_or(u""), u"Smith");
}

TEST_F(FacadeTest, AnalyseOfAnUnopenableFileIsFour) {
  CECGInterface facade;
  EXPECT_EQ(facade.Analyse(folder_.File("missing.scp").c_str(), false), kAnalysisCannotOpen);
  const std::string junk = folder_.Write("junk.scp", {1, 2, 3, 4, 5});
  EXPECT_EQ(facade.Analyse(junk.c_str(), true), kAnalysisCannotOpen);
  EXPECT_EQ(ReadFile(junk), (std::vector<uint8_t>{1, 2, 3, 4, 5}));
  EXPECT_EQ(facade.Analyse(nullptr, false), kAnalysisCannotOpen);
}

TEST_F(FacadeTest, UpdateScpPatientWritesTheConvertedPatient) {
  const std::string file = folder_.File("cart.scp");
  ASSERT_TRUE(WriteCartRecord(file));
  CECGInterface facade;
  std::strcpy(facade.m_firstName, "Anna");
  std::strcpy(facade.m_lastName, "M\xC3\xBCller");  // UTF-8 at the interface
  std::strcpy(facade.m_patientId, "ID-7");
  facade.m_height = 172.59;
  facade.m_weight = 64.5005;
  facade.m_gender = 2;
  facade.m_yob = 1981;
  facade.m_mob = 4;
  facade.m_dob = 30;
  facade.UpdateScpPatient(file.c_str());
  CPatientInfo patient;
  CRecordInfo recording;
  ASSERT_TRUE(CReader::ReadPatientAndRecordInfo(file.c_str(), &patient, &recording));
  EXPECT_EQ(patient.m_firstName.value_or(u""), u"Anna");
  EXPECT_EQ(patient.m_lastName.value_or(u""), u"M\u00FCller");
  EXPECT_EQ(patient.m_patientId.value_or(u""), u"ID-7");
  EXPECT_EQ(patient.m_height, 1725);   // mm, truncated
  EXPECT_EQ(patient.m_weight, 64500u);  // g, truncated
  EXPECT_EQ(patient.m_sex, 2);
  EXPECT_EQ(patient.m_birthYear, 1981);
  EXPECT_EQ(patient.m_birthMonth, 4);
  EXPECT_EQ(patient.m_birthDay, 30);
}

TEST_F(FacadeTest, TestTimeIsTheAcquisitionTime) {
  const std::string file = folder_.File("cart.scp");
  ASSERT_TRUE(WriteCartRecord(file));
  CECGInterface facade;
  const ecg::platform::SystemTime t = facade.GetTestTime(file.c_str());
  // The recording's first sample: 10 s of frames before the end time 14:30:15.
  EXPECT_EQ(t.year, 2026);
  EXPECT_EQ(t.month, 12);
  EXPECT_EQ(t.day, 5);
  EXPECT_EQ(t.hour, 14);
  EXPECT_EQ(t.minute, 30);
  EXPECT_EQ(t.second, 5);
  EXPECT_EQ(t.milliseconds, 0);
  const ecg::platform::SystemTime none = facade.GetTestTime(folder_.File("missing.scp").c_str());
  EXPECT_EQ(none.year, 0);
}

TEST_F(FacadeTest, ConfirmedStatusAndXmlExport) {
  const std::string file = folder_.File("cart.scp");
  ASSERT_TRUE(WriteCartRecord(file));
  CWriter writer;
  ASSERT_TRUE(writer.UpdateInterpretationConfirmed(file.c_str(), 1));
  CECGInterface facade;
  EXPECT_EQ(facade.GetConfirmedStatus(file.c_str()), kConfirmed);
  EXPECT_EQ(facade.GetConfirmedStatus(folder_.File("missing.scp").c_str()), kNotConfirmed);

  const std::string xml = folder_.File("cart.xml");
  EXPECT_EQ(facade.ExportToXml(file.c_str(), xml.c_str()), 1);
  const std::vector<uint8_t> bytes = ReadFile(xml);
  EXPECT_NE(std::string(bytes.begin(), bytes.end()).find("<?xml"), std::string::npos);
  EXPECT_EQ(facade.ExportToXml(folder_.File("missing.scp").c_str(), folder_.File("no.xml").c_str()), 0);
}

// ------------------------------------------------------------ options and version

TEST_F(FacadeTest, OptionsRoundTripThroughTheFile) {
  CECGInterface facade;
  facade.m_settings.Port = 11;
  facade.m_settings.AmplitudeUnits = 1;
  const std::string path = folder_.File("options.xml");
  EXPECT_EQ(facade.SaveOptions(path.c_str()), 1);
  EXPECT_EQ(facade.m_options.Port, 11);

  CECGInterface other;
  EXPECT_EQ(other.ReadOptions(path.c_str()), 1);
  EXPECT_EQ(other.m_settings.Port, 11);
  EXPECT_EQ(other.m_pECGPrint->m_amplitudeUnits, 1);
  EXPECT_EQ(other.ReadOptions(folder_.File("missing.xml").c_str()), 0);
}

TEST_F(FacadeTest, VersionIsBoundedByTheCallersCount) {
  CECGInterface facade;
  // The test program carries no version table: the version is empty.
  char buffer[64];
  std::memset(buffer, 'x', sizeof buffer);
  facade.GetVersion(buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(facade.GetECGComponentVersion(folder_.File("missing.so").c_str()), "");
  facade.GetVersion(nullptr, 10);  // no buffer: nothing happens
}

// ------------------------------------------------------------ print operations

TEST(PrintFileType, ExtensionsAnywhereInThePathChooseTheOutput) {
  EXPECT_EQ(ecg::facade::PrintTypeOfPath("/a/report.JPG"), 1);
  EXPECT_EQ(ecg::facade::PrintTypeOfPath("/a/report.jpg.pdf"), 1);
  EXPECT_EQ(ecg::facade::PrintTypeOfPath("/a/report.tif"), 2);
  EXPECT_EQ(ecg::facade::PrintTypeOfPath("/a/report.TIFF"), 2);
  EXPECT_EQ(ecg::facade::PrintTypeOfPath("/x.tif/report.jpg"), 1);  // JPEG is looked for first
  EXPECT_EQ(ecg::facade::PrintTypeOfPath("/a/report.pdf"), -1);
  EXPECT_EQ(ecg::facade::PrintTypeOfPath("/a/report.Jpg"), -1);
}

TEST_F(FacadeTest, PrintToFileSetsTheTypeOnlyForImageNames) {
  CECGInterface facade;
  const std::string record = folder_.File("cart.scp");
  ASSERT_TRUE(WriteCartRecord(record));
  facade.SetPrintType(CECGInterface::kPrintTiff);
  facade.AddReport(record.c_str());
  // A PDF name leaves the TIFF type chosen before.
  facade.PrintToFile(folder_.File("r.pdf").c_str());
  EXPECT_EQ(facade.m_pECGPrint->m_printType, 2);
  facade.PrintToFile(folder_.File("r.JPG").c_str());
  EXPECT_EQ(facade.m_pECGPrint->m_printType, 1);
  facade.PrintToFile(folder_.File("r.tif").c_str());
  EXPECT_EQ(facade.m_pECGPrint->m_printType, 2);
}

TEST_F(FacadeTest, PrintScpFileToFileAsksWhereAndOpensThePdf) {
  CECGInterface facade;
  facade.SetPDFFileName("patient.pdf");
  facade.SetImagePath(folder_.path().c_str());
  const std::string record = folder_.File("cart.scp");
  ASSERT_TRUE(WriteCartRecord(record));

  // Cancel: nothing printed.
  EXPECT_EQ(facade.PrintSCPFileToFile(record.c_str()), 0);
  ASSERT_EQ(windows_.save_requests.size(), 1u);
  const auto& request = windows_.save_requests[0];
  EXPECT_EQ(request.title, "Save PDF File As");
  EXPECT_EQ(request.defaultExtension, ".pdf");
  EXPECT_EQ(request.fileName, "patient.pdf");
  EXPECT_EQ(request.folder, folder_.path());
  EXPECT_EQ(request.filter,
            "PDF Files (*.pdf)|*.pdf|JPEG Files (*.jpg)|*.jpg|TIFF Files (*.tif)|*.tif||");
  EXPECT_EQ(request.nameBufferSize, 26100u);

  windows_.save_ok = true;
  windows_.save_answer = {folder_.File("out.pdf"), true};
  EXPECT_EQ(facade.PrintSCPFileToFile(record.c_str()), 1);
  EXPECT_FALSE(ReadFile(folder_.File("out.pdf")).empty());
  ASSERT_EQ(windows_.shell_opened.size(), 1u);
  EXPECT_TRUE(facade.m_pECGPrint->m_reportFiles.empty());

  // The viewer fails to start: the error is shown and the result is 0.
  windows_.shell_ok = false;
  EXPECT_EQ(facade.PrintSCPFileToFile(record.c_str()), 0);
  ASSERT_FALSE(prompt_.shown().empty());
  EXPECT_EQ(prompt_.shown().back().text, "Error opening PDF file.");

  // A JPEG is never opened.
  windows_.save_answer = {folder_.File("out.jpg"), true};
  EXPECT_EQ(facade.PrintSCPFileToFile(record.c_str()), 1);
  EXPECT_EQ(windows_.shell_opened.size(), 2u);
}

TEST_F(FacadeTest, PrintToFileWithoutANameGoesThroughTheOpenDialog) {
  CECGInterface facade;
  EXPECT_EQ(facade.PrintToFile(), 0);
  EXPECT_TRUE(windows_.save_requests.empty());
  windows_.open_ok = true;
  windows_.open_path = folder_.File("cart.scp");
  ASSERT_TRUE(WriteCartRecord(windows_.open_path));
  EXPECT_EQ(facade.PrintToFile(), 1);
  ASSERT_EQ(windows_.save_requests.size(), 1u);
}

TEST_F(FacadeTest, WindowOperationsGoToTheWindows) {
  CECGInterface facade;
  EXPECT_EQ(facade.PatientInfoDialog(), 1);
  windows_.patient_result = 0;
  EXPECT_EQ(facade.PatientInfoDialog(), 0);
  facade.AboutBox();
  EXPECT_EQ(windows_.about_shown, 1);
  const std::string record = folder_.File("cart.scp");
  ASSERT_TRUE(WriteCartRecord(record));
  EXPECT_EQ(facade.Review(record.c_str(), 1, 1), 1);
  ASSERT_EQ(windows_.reviews.size(), 1u);
  EXPECT_TRUE(windows_.reviews[0].readOnly);
  EXPECT_TRUE(windows_.reviews[0].noWait);
  EXPECT_EQ(facade.GetNumberOfReviewWindows(), 1);
}

}  // namespace
}  // namespace ecg::test
