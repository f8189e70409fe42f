// libECG.so as hosts see it: the example host drives it through the public
// header only, and the library shows the factory, the facade and the record
// classes while keeping everything else to itself.

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cmath>
#include <vector>

#include "run_program.h"
#include "scp/writer.h"
#include "support/test_files.h"

namespace ecg::test {
namespace {

std::string MakeRecord(const TempFolder& folder) {
  std::vector<uint8_t> samples;
  for (int i = 0; i < 5000; ++i) {
    const auto v = static_cast<int16_t>(300.0 * std::sin(i * 2.0 * M_PI / 400.0));
    samples.push_back(static_cast<uint8_t>(v & 0xFF));
    samples.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
  }
  const std::string path = folder.File("one.scp");
  CPatientInfo patient;
  CWriter writer;
  EXPECT_TRUE(writer.CreateFrom16bitMem(path.c_str(), samples.data(), samples.size(), &patient,
                                        false, 5.0, 500.0));
  return path;
}

TEST(FacadeLibrary, ExampleHostDrivesTheLoadedLibrary) {
  TempFolder folder;
  const std::string record = MakeRecord(folder);
  const std::string xml = folder.File("one.xml");
  const ProgramResult run = RunProgram(ECG_HOST_EXAMPLE, {ECG_LIBRARY, record, xml});
  ASSERT_EQ(run.exit_code, 0) << run.out << run.err;
  EXPECT_NE(run.out.find("component version: " ECG_FILE_VERSION), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("height shown to the user: 70.9 in"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("XML export: written"), std::string::npos);
  EXPECT_NE(run.out.find("Release: 1"), std::string::npos);
  EXPECT_FALSE(ReadFile(xml).empty());

  const ProgramResult bad = RunProgram(ECG_HOST_EXAMPLE, {ECG_LIBRARY, folder.File("none.scp"), xml + "2"});
  EXPECT_EQ(bad.exit_code, 1);
  EXPECT_NE(bad.out.find("XML export: failed"), std::string::npos);
}

TEST(FacadeLibrary, OnlyTheComponentsInterfaceIsVisible) {
  void* library = dlopen(ECG_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  EXPECT_NE(dlsym(library, "CreateECGInterface"), nullptr);
  EXPECT_NE(dlsym(library, "DestroyECGInterface"), nullptr);
  EXPECT_NE(dlsym(library, "_ZN13CECGInterface10InitializeEv"), nullptr);  // CECGInterface::Initialize
  EXPECT_NE(dlsym(library, "_ZTV13CECGInterface"), nullptr);              // its virtual table
  EXPECT_NE(dlsym(library, "_ZN7CReader9ReadLeadsERK12RecordSource"), nullptr);
  EXPECT_NE(dlsym(library, "_ZN9CAnalysis14CreateAnalysisEPKcib"), nullptr);
  // Helpers the facade is built from stay inside.
  EXPECT_EQ(dlsym(library, "_Z14ExportScpToXmlPKcS0_"), nullptr);
  EXPECT_EQ(dlsym(library, "_ZN3ecg6facade17RecordingTempFileB5cxx11Ev"), nullptr);
  EXPECT_EQ(dlsym(library, "_ZN9CECGPrint7ToFileERKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE"), nullptr);
  dlclose(library);
}

}  // namespace
}  // namespace ecg::test
