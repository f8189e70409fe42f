// libQORSYS32.so as the component meets it: loaded by name, one export, a
// version table, result codes, released after each run; and whole analyses
// through CAnalysis with the real engine.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "analysis/analysis.h"
#include "engine_test_support.h"
#include "platform/module_version.h"
#include "platform/shared_library.h"
#include "scp/reader.h"
#include "synthetic_record.h"

// Under AddressSanitizer: LeakSanitizer's exit-time scan can fault walking
// the thread-local storage of a library that was loaded and unloaded again
// (it does, for one of these tests). These tests load and unload the engine
// on purpose, so leak checking is left to the other engine tests, which run
// the same code in-process.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

namespace ecg::test::engine {
namespace {

using EntryPoint = int16_t (*)(const char*, int32_t);

// Sets an environment variable for the life of the object.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedVariable() {
    if (old_) ::setenv(name_.c_str(), old_->c_str(), 1);
    else ::unsetenv(name_.c_str());
  }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

class EngineLibrary : public testing::Test {
 protected:
  ScopedVariable path_{"ECG_LIBRARY_PATH", ENGINE_LIBRARY_DIR};
};

TEST_F(EngineLibrary, LoadsByTheComponentsNameAndExportsTheEntryPointOnly) {
  ecg::platform::SharedLibrary library;
  ASSERT_TRUE(library.Load("QORSYS32.dll")) << library.error_text();
  EXPECT_EQ(std::filesystem::path(library.path()).filename(), "libQORSYS32.so");
  EXPECT_NE(library.Symbol("ScpAnalysis32"), nullptr);
  // Nothing of the engine or the record layer is visible.
  for (const char* hidden : {"_ZN3ecg6engine7AnalyseERKNS0_9EcgSignalERNS0_14AnalysisResultE",
                             "_ZN7CReader6UnloadEv", "_ZN7CWriter13WriteSectionsEPKc",
                             "ecg_module_version_table"}) {
    EXPECT_EQ(library.Symbol(hidden), nullptr) << hidden;
  }
}

TEST_F(EngineLibrary, CarriesItsFileVersion) {
  const std::string file = std::string(ENGINE_LIBRARY_DIR) + "/libQORSYS32.so";
  std::string version;
  ASSERT_TRUE(ecg::platform::QueryModuleVersion(file, "FileVersion", version));
  EXPECT_EQ(version, ECG_FILE_VERSION);
}

TEST_F(EngineLibrary, AnalysesAWorkingCopyAndAnswersWithItsCodes) {
  ecg::platform::SharedLibrary library;
  ASSERT_TRUE(library.Load("QORSYS32.dll")) << library.error_text();
  const auto entry = library.Function<EntryPoint>("ScpAnalysis32");
  ASSERT_NE(entry, nullptr);
  TempFolder folder;
  const std::string path = folder.Write("~QR1234.tmp", MakeSyntheticRecord({}).bytes);
  EXPECT_EQ(entry(path.c_str(), 1), 0);
  CAnalysisInfo info;
  ASSERT_TRUE(CReader::ReadAnalysisInfo(path.c_str(), &info));
  EXPECT_EQ(info.m_global.m_rr, 800);
  EXPECT_EQ(entry(path.c_str(), 2), 0);
  EXPECT_EQ(entry(nullptr, 1), 1);
  EXPECT_EQ(entry(path.c_str(), 7), 1);
  EXPECT_EQ(entry(folder.File("missing.scp").c_str(), 1), 2);
  SyntheticSpec flat;
  flat.flat = {1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_EQ(entry(folder.Write("flat.scp", MakeSyntheticRecord(flat).bytes).c_str(), 1), 6);
  SyntheticSpec slow;
  slow.rate = 100;
  EXPECT_EQ(entry(folder.Write("slow.scp", MakeSyntheticRecord(slow).bytes).c_str(), 1), 7);
  // No side file is left next to the working copy.
  EXPECT_FALSE(std::filesystem::exists(path + "temp.tmp"));
}

TEST_F(EngineLibrary, IsReleasedAfterUse) {
  const std::string file = std::string(ENGINE_LIBRARY_DIR) + "/libQORSYS32.so";
  {
    ecg::platform::SharedLibrary library;
    ASSERT_TRUE(library.Load("QORSYS32.dll")) << library.error_text();
    TempFolder folder;
    const std::string path = folder.Write("r.scp", MakeSyntheticRecord({}).bytes);
    EXPECT_EQ(library.Function<EntryPoint>("ScpAnalysis32")(path.c_str(), 1), 0);
  }
  void* still = ::dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD);
  EXPECT_EQ(still, nullptr) << "the library stayed loaded";
  if (still != nullptr) ::dlclose(still);
}

// The component around the engine: working copy, calculated leads, transfer.
class ComponentWithEngine : public EngineLibrary {
 protected:
  TempFolder documents_;
  ScopedVariable documents_dir_{"ECG_DOCUMENTS_DIR", documents_.path()};
  TempFolder records_;
};

TEST_F(ComponentWithEngine, AnEightLeadRecordGetsMediansAndMeasurementsForItsLeads) {
  SyntheticSpec spec;
  const Bytes before = MakeSyntheticRecord(spec).bytes;
  const std::string path = records_.Write("patient.scp", before);
  CAnalysis analysis;
  ASSERT_EQ(analysis.CreateAnalysis(path.c_str(), 0, false), 0) << analysis.LastLibraryError();
  CReader reader;
  int16_t loaded = 0;
  ASSERT_TRUE(reader.Load(path.c_str(), loaded, static_cast<int16_t>(kAllSectionBits)));
  // The record keeps its own eight leads and rhythm data...
  EXPECT_EQ(reader.GetLeads(), 8);
  EXPECT_EQ(SectionContent(ReadFile(path), 6), SectionContent(before, 6));
  // ...and gains a median beat for each, the twelve leads' measurements
  // (its own, then the limb leads the engine calculated), the global
  // measurements and the QRS locations.
  ASSERT_NE(reader.GetMedianDataPtr(), nullptr);
  EXPECT_EQ(reader.GetMedianDataPtr()->m_leadCount, 8);
  ASSERT_NE(reader.GetLeadMeasurementsPtr(), nullptr);
  const SLeadMeasurements& m = *reader.GetLeadMeasurementsPtr();
  ASSERT_EQ(m.m_count, 12);
  const uint16_t expected[] = {1, 2, 3, 4, 5, 6, 7, 8, 61, 62, 63, 64};
  for (uint32_t i = 0; i < 12; ++i) EXPECT_EQ(m.m_leads[i].m_leadId, expected[i]);
  ASSERT_NE(reader.GetAnalysisInfoPtr(), nullptr);
  const SGlobalMeasurements& g = reader.GetAnalysisInfoPtr()->m_global;
  EXPECT_NEAR(g.QRSDuration(), spec.waves.qrs_duration_ms, 2);
  EXPECT_NEAR(g.QTInterval(), spec.waves.qt_ms, 2);
  EXPECT_NEAR(g.PRInterval(), spec.waves.pr_ms, 2);
  EXPECT_TRUE(SectionContent(ReadFile(path), 4));
  // The working copy is gone.
  EXPECT_TRUE(std::filesystem::is_empty(documents_.path()));
}

TEST_F(ComponentWithEngine, ARefusalLeavesTheRecordWithoutResults) {
  SyntheticSpec spec;
  spec.seconds = 5;
  spec.rr_ms = 2400;
  const Bytes before = MakeSyntheticRecord(spec).bytes;
  const std::string path = records_.Write("patient.scp", before);
  CAnalysis analysis;
  EXPECT_EQ(analysis.CreateAnalysis(path.c_str(), 0, false), 6);
  EXPECT_FALSE(SectionContent(ReadFile(path), 7));
  EXPECT_FALSE(SectionContent(ReadFile(path), 5));
  EXPECT_TRUE(std::filesystem::is_empty(documents_.path()));
}

}  // namespace
}  // namespace ecg::test::engine
