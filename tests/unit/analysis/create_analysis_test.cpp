// CreateAnalysis driven through every outcome by the test engine: what the
// record holds afterwards, what the engine was given, and that no working
// copy is left behind.

#include <gtest/gtest.h>

#include <algorithm>

#include "analysis/analysis.h"
#include "analysis_test_support.h"
#include "platform/byte_stream.h"
#include "platform/last_error.h"
#include "platform/text_codec.h"
#include "scp/reader.h"
#include "scp/scp_decoder.h"
#include "support/section_builders.h"
#include "support/test_files.h"

using namespace ecg::test;
using ecg::platform::Utf8ToWideLossy;

namespace {

const std::vector<uint8_t> kAcquired = {1, 2, 3, 4, 5, 6, 7, 8};
const std::vector<uint8_t> kTwelve = {1, 2, 3, 4, 5, 6, 7, 8, 61, 62, 63, 64};

std::u16string W(const std::string& s) { return Utf8ToWideLossy(s); }

class CreateAnalysisTest : public ::testing::Test {
 protected:
  void SetUp() override {
    analysis_.SetDurableWrites(false);
    analysis_.m_interpretationOption = 1;
    analysis_.m_patientDataCheckOption = 1;
  }

  // The working copy of an 8-lead analysis: 12 leads measured, codes that
  // the test catalogs know.
  static OutputSpec Analysed(const InputSpec& input) {
    OutputSpec out;
    out.input = input;
    out.leads = kAcquired;
    out.measured = kTwelve;
    out.rhythm = {21};
    out.morphology = {30};
    return out;
  }

  int16_t Run(const std::string& path, int32_t language = 0, bool mode = false) {
    return analysis_.CreateAnalysis(path.c_str(), language, mode);
  }

  void ExpectNoWorkingCopyLeft() const {
    EXPECT_TRUE(env_.DocumentFiles().empty())
        << "left in the documents folder: " << env_.DocumentFiles().front();
  }

  AnalysisEnvironment env_;
  CAnalysis analysis_;
};

TEST_F(CreateAnalysisTest, ResultZeroMovesTheResultsIntoTheRecordAndDeletesTheWorkingCopy) {
  InputSpec input;
  input.extra_sections = true;
  const Bytes original = InputRecord(input);
  const std::string path = env_.WriteRecord("r.scp", original);
  const OutputSpec out = Analysed(input);
  const Bytes analysed = AnalysedRecord(out);
  env_.SetOutput(analysed);

  ASSERT_EQ(Run(path, 0, true), CAnalysis::kResultAnalysed);

  // The engine was loaded for this run only, called once with mode 2 on a
  // "~QR....tmp" file in the documents folder that held the record.
  const auto events = env_.Events();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0], "load");
  EXPECT_EQ(events[2], "unload");
  const std::string prefix = "call 2 " + env_.documents() + "/~QR";
  EXPECT_EQ(events[1].rfind(prefix, 0), 0u) << events[1];
  EXPECT_EQ(events[1].substr(events[1].size() - 4), ".tmp");
  EXPECT_EQ(Sections(env_.Seen()).at(6), Sections(original).at(6));
  ExpectNoWorkingCopyLeft();  // the side file the engine made included
  EXPECT_EQ(analysis_.LastLibraryPath(), std::string(TEST_ENGINE_LIBRARY_DIR) + "/libQORSYS32.so");

  const Bytes after = ReadFile(path);
  const auto sections = Sections(after);
  const auto produced = Sections(analysed);
  const auto kept = Sections(original);
  for (uint16_t id : {4, 7, 9}) EXPECT_EQ(sections.at(id), produced.at(id)) << "Section " << id;
  for (uint16_t id : {3, 6, 11, 200}) EXPECT_EQ(sections.at(id), kept.at(id)) << "Section " << id;

  CReader reader;
  int16_t loaded = 0;
  ASSERT_TRUE(reader.Load(path.c_str(), loaded, static_cast<int16_t>(kAllSectionBits)));
  const SEncodedData* medians = reader.GetMedianDataPtr();
  ASSERT_NE(medians, nullptr);
  ASSERT_EQ(medians->m_leadCount, 8);
  for (uint32_t lead = 0; lead < 8; ++lead) {
    ASSERT_EQ(medians->SampleCount(lead), kMedianSamples);
    EXPECT_EQ(medians->Samples(lead)[123], MedianValue(kAcquired[lead], 123));
  }
  const SLeadMeasurements* measured = reader.GetLeadMeasurementsPtr();
  ASSERT_NE(measured, nullptr);
  ASSERT_EQ(measured->m_count, 12);
  for (uint32_t i = 0; i < 12; ++i) EXPECT_EQ(measured->m_leads[i].m_leadId, kTwelve[i]);

  const RecordFacts facts = ReadFacts(path);
  EXPECT_EQ(facts.interpretation, u"Sinus rhythm\r\nFirst degree AV block");
  EXPECT_EQ(facts.confirmed, 0);
  EXPECT_EQ(facts.leads, kAcquired);
}

TEST_F(CreateAnalysisTest, ModeFlagFalsePassesModeOne) {
  const std::string path = env_.WriteRecord("r.scp", InputRecord({}));
  env_.SetOutput(AnalysedRecord(Analysed({})));
  ASSERT_EQ(Run(path), CAnalysis::kResultAnalysed);
  ASSERT_EQ(env_.Events().size(), 3u);
  EXPECT_EQ(env_.Events()[1].rfind("call 1 ", 0), 0u) << env_.Events()[1];
}

TEST_F(CreateAnalysisTest, WithoutTheInterpretationOptionTheRecordKeepsItsText) {
  InputSpec input;
  input.interpretation = "Read by Dr. Amsel";
  input.interpretation_edited = 1;
  input.confirmed = 1;
  const std::string path = env_.WriteRecord("r.scp", InputRecord(input));
  env_.SetOutput(AnalysedRecord(Analysed(input)));
  analysis_.m_interpretationOption = 0;
  ASSERT_EQ(Run(path), CAnalysis::kResultAnalysed);
  const RecordFacts facts = ReadFacts(path);
  EXPECT_EQ(facts.interpretation, u"Read by Dr. Amsel");
  EXPECT_EQ(facts.edited, 1);
  EXPECT_EQ(facts.confirmed, 1);
  EXPECT_EQ(Sections(ReadFile(path)).count(5), 1u);
}

// The library's refusals: the record gets the statement that says why, in
// place of an interpretation that no longer has results behind it.
TEST_F(CreateAnalysisTest, RefusalsSixAndSevenStoreTheirStatementAndNoResults) {
  for (const auto& [result, statement] : {std::pair{6, 5004u}, std::pair{7, 5005u}}) {
    SCOPED_TRACE(result);
    // A record analysed before, with a confirmed interpretation.
    EcgRecordSpec analysed_before;
    analysed_before.seconds = 2;
    Bytes record = SyntheticEcgRecord(analysed_before);
    const std::string path = env_.WriteRecord("r" + std::to_string(result) + ".scp", record);
    ASSERT_TRUE(analysis_.UpdateInterpretationConfirmed(path.c_str(), 1));
    env_.SetResult(result);
    env_.SetOutput(AnalysedRecord(Analysed({})));

    EXPECT_EQ(Run(path, 3), result);
    const auto sections = Sections(ReadFile(path));
    for (uint16_t id : {4, 5, 7, 9, 10}) EXPECT_EQ(sections.count(id), 0u) << "Section " << id;
    const RecordFacts facts = ReadFacts(path);
    EXPECT_EQ(facts.interpretation, W(TestStatement(3, statement)));
    EXPECT_EQ(facts.confirmed, 0);
    ExpectNoWorkingCopyLeft();
  }
}

TEST_F(CreateAnalysisTest, RefusalWithoutTheInterpretationOptionWritesNoStatement) {
  InputSpec input;
  input.interpretation = "Earlier text";
  const std::string path = env_.WriteRecord("r.scp", InputRecord(input));
  analysis_.m_interpretationOption = 0;
  env_.SetResult(6);
  EXPECT_EQ(Run(path), 6);
  EXPECT_EQ(ReadFacts(path).interpretation, u"Earlier text");
}

TEST_F(CreateAnalysisTest, OtherLibraryResultsArePassedBackWithNothingTransferred) {
  for (int result : {3, -9, 255}) {
    SCOPED_TRACE(result);
    InputSpec input;
    input.interpretation = "Earlier text";
    const std::string path = env_.WriteRecord("r.scp", InputRecord(input));
    env_.SetResult(result);
    env_.SetOutput(AnalysedRecord(Analysed(input)));
    EXPECT_EQ(Run(path), result);
    const auto sections = Sections(ReadFile(path));
    EXPECT_EQ(sections.count(5), 0u);
    EXPECT_EQ(sections.count(10), 0u);
    EXPECT_EQ(ReadFacts(path).interpretation, u"Earlier text");
    ExpectNoWorkingCopyLeft();
  }
}

TEST_F(CreateAnalysisTest, OneLeadReturns13WithoutLoadingTheLibrary) {
  InputSpec input;
  input.leads = {2};
  const Bytes original = InputRecord(input);
  const std::string path = env_.WriteRecord("r.scp", original);
  EXPECT_EQ(Run(path), CAnalysis::kResultTooFewLeads);
  EXPECT_TRUE(env_.Events().empty());
  ExpectNoWorkingCopyLeft();
  // Only Section 1 was rebuilt: it now names this writer's update mode.
  const auto sections = Sections(ReadFile(path));
  const auto kept = Sections(original);
  EXPECT_EQ(sections.at(3), kept.at(3));
  EXPECT_EQ(sections.at(6), kept.at(6));
  EXPECT_NE(sections.at(1), kept.at(1));
}

struct LeadErrorCase {
  std::vector<std::pair<uint8_t, int16_t>> markers;  // lead, marker value
  std::vector<uint32_t> statements;                  // the interpretation's lines
};

class LeadErrorTest : public CreateAnalysisTest,
                      public ::testing::WithParamInterface<LeadErrorCase> {};

TEST_P(LeadErrorTest, StatementInsteadOfAnAnalysis) {
  const LeadErrorCase& c = GetParam();
  InputSpec input;
  input.interpretation = "Earlier text";
  input.confirmed = 1;
  input.markers = c.markers;
  const Bytes record = InputRecord(input);
  const std::string path = env_.WriteRecord("r.scp", record);

  EXPECT_EQ(Run(path), CAnalysis::kResultLeadErrors);
  EXPECT_TRUE(env_.Events().empty());
  ExpectNoWorkingCopyLeft();
  std::string expected;
  for (uint32_t id : c.statements) {
    if (!expected.empty()) expected += "\r\n";
    expected += TestStatement(0, id);
  }
  const RecordFacts facts = ReadFacts(path);
  EXPECT_EQ(facts.interpretation, W(expected));
  EXPECT_EQ(facts.confirmed, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Bits, LeadErrorTest,
    ::testing::Values(LeadErrorCase{{{1, 2032}}, {5002}},                 // bit 0
                      LeadErrorCase{{{4, 2033}}, {5001}},                 // bit 1
                      LeadErrorCase{{{1, 2032}, {5, 2033}}, {5002, 5001}}  // both
                      ));

TEST_F(CreateAnalysisTest, LeadErrorsWithoutTheInterpretationOptionLeaveTheText) {
  InputSpec input;
  input.interpretation = "Earlier text";
  input.markers = {{2, 2033}};
  const std::string path = env_.WriteRecord("r.scp", InputRecord(input));
  analysis_.m_interpretationOption = 0;
  EXPECT_EQ(Run(path), CAnalysis::kResultLeadErrors);
  EXPECT_EQ(ReadFacts(path).interpretation, u"Earlier text");
}

TEST_F(CreateAnalysisTest, CalibrationMarkAddsStatement5003AfterTheAnalysis) {
  InputSpec input;
  input.markers = {{3, 2034}};
  const std::string path = env_.WriteRecord("r.scp", InputRecord(input));
  env_.SetOutput(AnalysedRecord(Analysed(input)));
  ASSERT_EQ(Run(path, 5), CAnalysis::kResultAnalysed);
  EXPECT_EQ(ReadFacts(path).interpretation,
            W("Sinus rhythm\r\nFirst degree AV block\r\n" + TestStatement(5, 5003)));
}

TEST_F(CreateAnalysisTest, IncompletePatientDataAddsStatement5006WhenChecked) {
  InputSpec input;
  input.patient_complete = false;
  const std::string path = env_.WriteRecord("r.scp", InputRecord(input));
  env_.SetOutput(AnalysedRecord(Analysed(input)));
  ASSERT_EQ(Run(path, 6), CAnalysis::kResultAnalysed);
  EXPECT_EQ(ReadFacts(path).interpretation,
            W("Sinus rhythm\r\nFirst degree AV block\r\n" + TestStatement(6, 5006)));

  const std::string unchecked = env_.WriteRecord("u.scp", InputRecord(input));
  analysis_.m_patientDataCheckOption = 0;
  ASSERT_EQ(Run(unchecked, 6), CAnalysis::kResultAnalysed);
  EXPECT_EQ(ReadFacts(unchecked).interpretation, u"Sinus rhythm\r\nFirst degree AV block");
}

TEST_F(CreateAnalysisTest, TwoLeadRecordIsAnalysedOnAWorkingCopyWithCalculatedLeads) {
  InputSpec input;
  input.leads = {1, 2};
  const Bytes original = InputRecord(input);
  const std::string path = env_.WriteRecord("r.scp", original);
  OutputSpec out = Analysed(input);
  out.measured = kTwelve;
  env_.SetOutput(AnalysedRecord(out));

  ASSERT_EQ(Run(path), CAnalysis::kResultAnalysed);

  // The engine saw I, II and flat V1-V6.
  const Bytes seen = env_.Seen();
  CReader copy;
  int16_t loaded = 0;
  ASSERT_TRUE(copy.Load(RecordSource::Memory(seen), loaded, static_cast<int16_t>(kAllSectionBits)));
  ASSERT_EQ(copy.GetLeads(), 8);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(copy.GetLeadId(i), kAcquired[i]);
  const SEncodedData* rhythm = copy.GetRhythmDataPtr();
  ASSERT_NE(rhythm, nullptr);
  for (uint32_t lead = 2; lead < 8; ++lead) {
    const int16_t* s = rhythm->Samples(lead);
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(std::all_of(s, s + rhythm->SampleCount(lead), [](int16_t v) { return v == 0; }));
  }

  // The record keeps its two leads; medians for I and II, measurements for
  // I and II followed by the derived limb leads.
  CReader reader;
  ASSERT_TRUE(reader.Load(path.c_str(), loaded, static_cast<int16_t>(kAllSectionBits)));
  EXPECT_EQ(reader.GetLeads(), 2);
  ASSERT_NE(reader.GetMedianDataPtr(), nullptr);
  EXPECT_EQ(reader.GetMedianDataPtr()->m_leadCount, 2);
  EXPECT_EQ(reader.GetMedianDataPtr()->Samples(1)[7], MedianValue(2, 7));
  const SLeadMeasurements* measured = reader.GetLeadMeasurementsPtr();
  ASSERT_NE(measured, nullptr);
  std::vector<uint16_t> codes;
  for (uint32_t i = 0; i < measured->m_count; ++i) codes.push_back(measured->m_leads[i].m_leadId);
  EXPECT_EQ(codes, (std::vector<uint16_t>{1, 2, 61, 62, 63, 64}));
  EXPECT_EQ(Sections(ReadFile(path)).at(6), Sections(original).at(6));
}

TEST_F(CreateAnalysisTest, CalculatedLeadsThatCannotBeMadeGiveMinusOneWithoutACall) {
  // I and V1: nothing fixes lead II.
  InputSpec input;
  input.leads = {1, 3};
  const std::string path = env_.WriteRecord("r.scp", InputRecord(input));
  EXPECT_EQ(Run(path), CAnalysis::kResultRecordUnusable);
  EXPECT_EQ(env_.Events(), (std::vector<std::string>{"load", "unload"}));
  ExpectNoWorkingCopyLeft();
}

TEST_F(CreateAnalysisTest, WorkingCopyLackingARecordLeadFailsTheTransfer) {
  InputSpec input;
  input.interpretation = "Earlier text";
  const std::string path = env_.WriteRecord("r.scp", InputRecord(input));
  OutputSpec out = Analysed(input);
  out.leads = {1, 2, 3, 4, 6, 7, 8};  // no V3
  env_.SetOutput(AnalysedRecord(out));
  EXPECT_EQ(Run(path), CAnalysis::kResultWorkingCopy);
  const auto sections = Sections(ReadFile(path));
  for (uint16_t id : {4, 5, 7, 9, 10}) EXPECT_EQ(sections.count(id), 0u) << "Section " << id;
  EXPECT_EQ(ReadFacts(path).interpretation, u"Earlier text");
  ExpectNoWorkingCopyLeft();
}

TEST_F(CreateAnalysisTest, SecondAnalysisReplacesTheResultSectionsAndKeepsTheOthers) {
  InputSpec input;
  input.extra_sections = true;
  const Bytes original = InputRecord(input);
  const std::string path = env_.WriteRecord("r.scp", original);
  OutputSpec first = Analysed(input);
  env_.SetOutput(AnalysedRecord(first));
  ASSERT_EQ(Run(path), CAnalysis::kResultAnalysed);

  OutputSpec second = Analysed(input);
  second.section4_fill = 9;
  second.section7_rr_ms = 200;
  second.rhythm = {45};
  second.morphology = {};
  second.measured = {8, 7, 6, 5, 4, 3, 2, 1, 64};
  const Bytes analysed = AnalysedRecord(second);
  env_.SetOutput(analysed);
  ASSERT_EQ(Run(path), CAnalysis::kResultAnalysed);

  const Bytes after = ReadFile(path);
  const auto sections = Sections(after);
  const auto produced = Sections(analysed);
  const auto kept = Sections(original);
  for (uint16_t id : {4, 7, 9}) EXPECT_EQ(sections.at(id), produced.at(id)) << "Section " << id;
  for (uint16_t id : {3, 6, 11, 200}) EXPECT_EQ(sections.at(id), kept.at(id)) << "Section " << id;
  SLeadMeasurements measured;
  ASSERT_TRUE(CReader::ReadLeadMeasurements(path.c_str(), &measured));
  std::vector<uint16_t> codes;
  for (uint32_t i = 0; i < measured.m_count; ++i) codes.push_back(measured.m_leads[i].m_leadId);
  EXPECT_EQ(codes, (std::vector<uint16_t>{1, 2, 3, 4, 5, 6, 7, 8, 64}));
  EXPECT_EQ(ReadFacts(path).interpretation, u"Left axis deviation");
  // Each section once.
  bool valid = false;
  ASSERT_TRUE(CReader::ReadCRCCheck(path.c_str(), valid));
  EXPECT_TRUE(valid);
  EXPECT_EQ(after.size(), original.size() - kept.at(1).size() + sections.at(1).size() +
                              sections.at(4).size() + sections.at(5).size() +
                              sections.at(7).size() + sections.at(9).size() +
                              sections.at(10).size());
}

TEST_F(CreateAnalysisTest, MissingLibraryOrEntryGivesMinusFourAndNoWorkingCopy) {
  TempFolder empty;
  for (const std::string& folder : {empty.path(), std::string(NO_ENTRY_LIBRARY_DIR)}) {
    SCOPED_TRACE(folder);
    const Bytes original = InputRecord({});
    const std::string path = env_.WriteRecord("r.scp", original);
    env_.UseLibraryFolder(folder);
    EXPECT_EQ(Run(path), CAnalysis::kResultNoLibrary);
    EXPECT_FALSE(analysis_.LastLibraryError().empty());
    ExpectNoWorkingCopyLeft();
    EXPECT_EQ(Sections(ReadFile(path)).at(6), Sections(original).at(6));
  }
}

TEST_F(CreateAnalysisTest, LanguageOutsideTheSevenLeavesTheRecordUntouched) {
  const Bytes original = InputRecord({});
  const std::string path = env_.WriteRecord("r.scp", original);
  for (int32_t language : {-1, 7, 1000}) {
    EXPECT_EQ(Run(path, language), CAnalysis::kResultBadLanguage);
  }
  EXPECT_EQ(ReadFile(path), original);
  EXPECT_TRUE(env_.Events().empty());
}

TEST_F(CreateAnalysisTest, UnusableRecordsGiveMinusOne) {
  // No rhythm data.
  RecordBuilder no_rhythm;
  no_rhythm.AddSection1(InputSection1({}));
  // Lead definitions without a lead. (A Section 1 lacking the acquisition
  // tags cannot make a record unusable: step 2 writes them.)
  const Bytes good = InputRecord({});
  RecordBuilder no_leads;
  no_leads.AddSection1(InputSection1({}));
  no_leads.AddSection(3, Bytes{0, 0});
  const Bytes rhythm = Sections(good).at(6);
  no_leads.AddSection(6, Bytes(rhythm.begin() + 16, rhythm.end()));

  for (const Bytes& record : {no_rhythm.Build(), no_leads.Build(), Bytes{1, 2, 3, 4, 5, 6, 7}}) {
    const std::string path = env_.WriteRecord("bad.scp", record);
    EXPECT_EQ(Run(path), CAnalysis::kResultRecordUnusable);
  }
  EXPECT_EQ(Run(env_.documents() + "/missing.scp"), CAnalysis::kResultRecordUnusable);
  EXPECT_TRUE(env_.Events().empty());
}

TEST_F(CreateAnalysisTest, RemovalThatCannotWriteGivesMinusThree) {
  EcgRecordSpec spec;
  spec.seconds = 2;
  const Bytes record = SyntheticEcgRecord(spec);  // holds Sections 5, 7, 9 and 10
  const std::string path = env_.WriteRecord("r.scp", record);
  // Step 2 rewrites the record; its new length lets that write through and
  // stops the next one, the removal.
  const std::string probe = env_.WriteRecord("probe.scp", record);
  CAnalysis updater;
  updater.SetDurableWrites(false);
  ASSERT_TRUE(updater.UpdateFile(probe.c_str(), nullptr, nullptr));
  ecg::platform::InjectWriteFailureAfter(ReadFile(probe).size());
  const int16_t result = Run(path);
  ecg::platform::InjectWriteFailureAfter(UINT64_MAX);
  EXPECT_EQ(result, CAnalysis::kResultRemoveFailed);
  EXPECT_EQ(Sections(ReadFile(path)).count(10), 1u);
}

TEST_F(CreateAnalysisTest, StatementThatCannotBeWrittenGivesMinusSix) {
  // Lead errors, and a catalog without 5001.
  InputSpec input;
  input.interpretation = "Earlier text";
  input.markers = {{1, 2033}};
  const std::string path = env_.WriteRecord("r.scp", InputRecord(input));
  env_.WriteCatalog(2, "5002\tonly this one\n");
  EXPECT_EQ(Run(path, 2), CAnalysis::kResultStatementFailed);
  EXPECT_EQ(ReadFacts(path).interpretation, u"Earlier text");

  // An analysis whose working copy has no Section 9: the results go in, with
  // the library's own text.
  const std::string analysed = env_.WriteRecord("a.scp", InputRecord({}));
  OutputSpec out = Analysed({});
  out.rhythm.clear();
  out.morphology.clear();
  env_.SetOutput(AnalysedRecord(out));
  EXPECT_EQ(Run(analysed), CAnalysis::kResultStatementFailed);
  EXPECT_EQ(Sections(ReadFile(analysed)).count(5), 1u);
  EXPECT_EQ(ReadFacts(analysed).interpretation, u"Engine interpretation");
}

TEST(AnalysisResultMeaning, EveryCodeHasItsOwnText) {
  std::vector<std::string> texts;
  for (int16_t code : {0, 13, 14, -1, -2, -3, -4, -5, -6, 6, 7, 3}) {
    texts.push_back(ecg::analysis::AnalysisResultMeaning(code));
  }
  std::sort(texts.begin(), texts.end());
  EXPECT_EQ(std::unique(texts.begin(), texts.end()), texts.end());
  EXPECT_STREQ(ecg::analysis::AnalysisResultMeaning(3), ecg::analysis::AnalysisResultMeaning(-9));
}

}  // namespace

namespace {

// Records from other systems store their samples encoded. The engine gets
// them plain; the results go back without touching the sample sections.
TEST_F(CreateAnalysisTest, EncodedRecordsAreAnalysedInTheirPlainFormAndKeepTheirEncoding) {
  InputSpec input;
  input.huffman = true;
  const Bytes original = InputRecord(input);
  const std::string path = env_.WriteRecord("huffman.scp", original);
  const Bytes analysed = AnalysedRecord(Analysed(input));
  env_.SetOutput(analysed);

  ASSERT_EQ(Run(path), CAnalysis::kResultAnalysed);

  // What the engine saw: the same samples, stored plainly.
  const auto seen = Sections(env_.Seen());
  EXPECT_EQ(seen.count(2), 0u);
  InputSpec plain_input;
  const Bytes plain6 = Sections(InputRecord(plain_input)).at(6);
  // The samples, after the section header (the versions there are the
  // converter's).
  EXPECT_EQ(Bytes(seen.at(6).begin() + 16, seen.at(6).end()), Bytes(plain6.begin() + 16, plain6.end()));

  const Bytes after = ReadFile(path);
  const auto sections = Sections(after);
  const auto before = Sections(original);
  for (uint16_t id : {2, 3, 6}) EXPECT_EQ(sections.at(id), before.at(id)) << "Section " << id;
  EXPECT_EQ(sections.count(4), 0u);  // the record had no reference beat: none is added
  EXPECT_EQ(sections.count(5), 0u);
  EXPECT_EQ(sections.at(7), Sections(analysed).at(7));
  EXPECT_EQ(sections.count(10), 1u);
  EXPECT_EQ(sections.count(9), 1u);
  const RecordFacts facts = ReadFacts(path);
  EXPECT_TRUE(facts.has_interpretation);
  EXPECT_FALSE(facts.interpretation.empty());
  EXPECT_TRUE(CReader::NeedsDecoding(path));
  ExpectNoWorkingCopyLeft();
}

TEST_F(CreateAnalysisTest, EncodedRecordsStayAsTheyWereWhenTheLibraryFails) {
  InputSpec input;
  input.huffman = true;
  const Bytes original = InputRecord(input);
  const std::string path = env_.WriteRecord("huffman.scp", original);
  env_.SetResult(3);
  EXPECT_EQ(Run(path), 3);
  EXPECT_EQ(ReadFile(path), original);
  ExpectNoWorkingCopyLeft();

  // A record the decoder refuses is not touched either.
  Bytes broken = original;
  broken.resize(broken.size() - 7);
  const std::string broken_path = env_.WriteRecord("broken.scp", broken);
  EXPECT_EQ(Run(broken_path), CAnalysis::kResultRecordUnusable);
  EXPECT_EQ(ReadFile(broken_path), broken);
}

}  // namespace

namespace {

// Removing the analysis of a record with encoded samples takes only the
// interpretation's sections: its QRS locations and reference beats (4, 5)
// are what its rhythm is decoded with.
TEST_F(CreateAnalysisTest, RemovingTheAnalysisOfAnEncodedRecordKeepsWhatItsDecodingNeeds) {
  InputSpec input;
  input.huffman = true;
  const std::string path = env_.WriteRecord("huffman.scp", InputRecord(input));
  env_.SetOutput(AnalysedRecord(Analysed(input)));
  ASSERT_EQ(Run(path), CAnalysis::kResultAnalysed);
  const auto analysed = Sections(ReadFile(path));
  ASSERT_EQ(analysed.count(9), 1u);

  ASSERT_TRUE(CAnalysis().RemoveAnalysisData(path.c_str()));
  const auto removed = Sections(ReadFile(path));
  for (uint16_t id : {7, 9, 10}) EXPECT_EQ(removed.count(id), 0u) << "Section " << id;
  for (uint16_t id : {1, 2, 3, 6}) EXPECT_EQ(removed.at(id), analysed.at(id)) << "Section " << id;

  // A record of another system with reference beat subtraction.
  const std::string foreign = ecg::test::SharedDataFolder() + "/scp-foreign/PFE105_high.scp";
  const Bytes original = ReadFile(foreign);
  if (original.empty()) GTEST_SKIP() << "shared data absent: " << foreign;
  const std::string copy = env_.WriteRecord("pfe105_high.scp", original);
  ASSERT_TRUE(CAnalysis().RemoveAnalysisData(copy.c_str()));
  const auto before = Sections(original);
  const auto after = Sections(ReadFile(copy));
  for (uint16_t id : {2, 3, 4, 5, 6}) {
    ASSERT_EQ(before.count(id), 1u) << "Section " << id;
    EXPECT_EQ(after.at(id), before.at(id)) << "Section " << id;
  }
  CReader reader;
  int16_t loaded = 0;
  ecg::scp::DecodeReport report;
  ASSERT_TRUE(reader.Load(copy, loaded, static_cast<int16_t>(kAllSectionBits)));
  EXPECT_TRUE(reader.LoadDecodedSamples(copy, report)) << report.message;
}

}  // namespace
