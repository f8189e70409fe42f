// The record the engine leaves: every section it writes, read back byte by
// byte and through the project's reader; the sections it keeps; a write
// that fails.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/result_codes.h"
#include "engine_test_support.h"
#include "platform/byte_stream.h"
#include "platform/text_codec.h"
#include "scp/little_endian.h"
#include "scp/reader.h"
#include "support/section_builders.h"
#include "synthetic_record.h"

namespace ecg::test::engine {
namespace {

using ecg::scp::LoadU16;
using ecg::scp::LoadU32;
using namespace ecg::engine;

const std::vector<uint8_t> kAnalysedOrder = {1, 2, 3, 4, 5, 6, 7, 8, 61, 62, 63, 64};

class EngineOutput : public testing::Test {
 protected:
  void SetUp() override {
    spec_.ectopic = {{5, 260, true}};
    record_ = MakeSyntheticRecord(spec_);
    run_ = RunEngine(folder_, record_.bytes);
    ASSERT_TRUE(run_.status.ok()) << run_.status.reason;
    written_ = ReadFile(run_.path);
  }
  TempFolder folder_;
  SyntheticSpec spec_;
  SyntheticRecord record_;
  EngineRun run_;
  Bytes written_;
};

TEST_F(EngineOutput, IsAValidRecordWithTheAnalysisSections) {
  bool valid = false;
  ASSERT_TRUE(CReader::ReadCRCCheck(run_.path.c_str(), valid));
  EXPECT_TRUE(valid);
  for (uint16_t id : {1, 3, 4, 5, 6, 7, 9, 10}) EXPECT_TRUE(SectionContent(written_, id)) << "Section " << id;
  CReader reader;
  int16_t loaded = 0;
  ASSERT_TRUE(reader.Load(run_.path.c_str(), loaded, static_cast<int16_t>(kAllSectionBits)));
  constexpr int kWritten =
      kSection1Bit | kSection3Bit | kSection5Bit | kSection6Bit | kSection7Bit | kSection9Bit | kSection10Bit;
  EXPECT_EQ(loaded & kWritten, kWritten);
}

TEST_F(EngineOutput, LeadsAndMediansCoverTheAnalysedLeads) {
  CReader reader;
  int16_t loaded = 0;
  ASSERT_TRUE(reader.Load(run_.path.c_str(), loaded, static_cast<int16_t>(kAllSectionBits)));
  const SLeadDefinitions* defs = reader.GetLeadDefinitionsPtr();
  ASSERT_NE(defs, nullptr);
  ASSERT_EQ(defs->m_count, kAnalysedOrder.size());
  for (size_t i = 0; i < kAnalysedOrder.size(); ++i) EXPECT_EQ(defs->m_leads[i].m_leadId, kAnalysedOrder[i]);
  const SEncodedData* median = reader.GetMedianDataPtr();
  const SEncodedData* rhythm = reader.GetRhythmDataPtr();
  ASSERT_NE(median, nullptr);
  ASSERT_NE(rhythm, nullptr);
  EXPECT_EQ(median->m_sampleInterval, rhythm->m_sampleInterval);
  EXPECT_EQ(median->m_amplitudeMultiplier, rhythm->m_amplitudeMultiplier);
  ASSERT_EQ(median->m_leadCount, 12);
  for (uint32_t i = 0; i < 12; ++i) EXPECT_EQ(median->SampleCount(i), 600) << i;
  // Lead II's median: R of 1000 µV at the fiducial region, flat PR level.
  const int16_t* ii = median->Samples(1);
  int16_t peak = 0;
  for (int k = 150; k < 260; ++k) peak = std::max(peak, ii[k]);
  EXPECT_NEAR(peak, 1000, 10);
  // III = II - I in the medians as in the rhythm data.
  const int16_t* one = median->Samples(0);
  const int16_t* three = median->Samples(8);
  for (int k = 0; k < 600; k += 37) EXPECT_NEAR(three[k], ii[k] - one[k], 1) << k;
}

TEST_F(EngineOutput, Section4ListsEveryComplexWithItsType) {
  const auto four = SectionContent(written_, 4);
  ASSERT_TRUE(four);
  const Bytes& b = *four;
  ASSERT_GE(b.size(), 6u);
  EXPECT_EQ(LoadU16(b.data()), 1200);  // ms
  EXPECT_EQ(LoadU16(b.data() + 2), 201);  // fiducial 0.4 s in, 1-based
  const uint16_t count = LoadU16(b.data() + 4);
  ASSERT_EQ(count, record_.qrs_onsets_s.size());
  ASSERT_GE(b.size(), 6u + 22u * count);
  const auto& beats = run_.analysis.result.beats.beats;
  for (uint16_t k = 0; k < count; ++k) {
    const uint8_t* e = b.data() + 6 + 14 * k;
    EXPECT_EQ(LoadU16(e), k == 5 ? kBeatEctopic : kBeatDominant) << k;
    EXPECT_EQ(LoadU32(e + 2), 0u);
    EXPECT_EQ(LoadU32(e + 6), beats[k].fiducial + 1);
    EXPECT_EQ(LoadU32(e + 10), 0u);
    // The QRS of the complex (1-based) holds its synthetic onset.
    const uint8_t* z = b.data() + 6 + 14 * count + 8 * k;
    const double onset = record_.qrs_onsets_s[k] * spec_.rate + 1;
    EXPECT_LE(LoadU32(z), onset + 1) << k;
    EXPECT_GT(LoadU32(z + 4), onset + 20) << k;
  }
}

TEST_F(EngineOutput, Section7HoldsTheBlockTheBeatTypesAndQtc) {
  const auto seven = SectionContent(written_, 7);
  ASSERT_TRUE(seven);
  const Bytes& b = *seven;
  EXPECT_EQ(b[0], 1);
  EXPECT_EQ(b[1], 0);
  EXPECT_EQ(LoadU16(b.data() + 2), run_.global.m_rr);
  const uint16_t count = LoadU16(b.data() + 22);
  ASSERT_EQ(count, record_.qrs_onsets_s.size());
  for (uint16_t k = 0; k < count; ++k) EXPECT_EQ(b[24 + k], k == 5 ? kBeatEctopic : kBeatDominant);
  const uint8_t* tail = b.data() + 24 + count;
  const double rr_s = run_.global.m_rr / 1000.0;
  EXPECT_EQ(LoadU16(tail), std::lround(60.0 / rr_s));                                     // ventricular rate
  EXPECT_NEAR(LoadU16(tail + 4), run_.global.QTInterval() / std::sqrt(rr_s), 1.0);        // QTc
  EXPECT_EQ(tail[6], 1);                                                                   // Bazett
  // Axes from the synthetic limb leads: QRS (I 700-60-120, aVF from II) down and left.
  EXPECT_GT(run_.global.m_qrsAxis, 20);
  EXPECT_LT(run_.global.m_qrsAxis, 80);
}

TEST_F(EngineOutput, Section10HasOneBlockPerLeadInSection3Order) {
  const SLeadMeasurements* m = nullptr;
  CReader reader;
  int16_t loaded = 0;
  ASSERT_TRUE(reader.Load(run_.path.c_str(), loaded, static_cast<int16_t>(kAllSectionBits)));
  m = reader.GetLeadMeasurementsPtr();
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->m_blockSize, 62);
  ASSERT_EQ(m->m_count, 12);
  for (uint32_t i = 0; i < 12; ++i) {
    const SLeadMeasurement& block = m->m_leads[i];
    EXPECT_EQ(block.m_leadId, kAnalysedOrder[i]);
    EXPECT_EQ(block.m_length, 62);
    EXPECT_EQ(block.m_qualityCode, 0) << int{kAnalysedOrder[i]};
    EXPECT_NEAR(block.m_pDuration, spec_.waves.p_duration_ms, 2);
    EXPECT_NEAR(block.m_prInterval, spec_.waves.pr_ms, 2);
    EXPECT_NEAR(block.m_qtInterval, spec_.waves.qt_ms, 2);
  }
  // Lead II as built: Q 80 µV over 18 ms, R 1000 µV over 40.5 ms, S 180 µV
  // over 31.5 ms, T 300 µV upright, P 120 µV upright.
  const SLeadMeasurement& ii = m->m_leads[1];
  EXPECT_NEAR(ii.m_qAmplitude, -80, 3);
  EXPECT_NEAR(ii.m_qDuration, 18, 2);
  EXPECT_NEAR(ii.m_rAmplitude, 1000, 5);
  EXPECT_NEAR(ii.m_rDuration, 40.5, 2);
  EXPECT_NEAR(ii.m_sAmplitude, -180, 5);
  EXPECT_NEAR(ii.m_sDuration, 31.5, 2);
  EXPECT_EQ(ii.m_r2Amplitude, 0);
  EXPECT_NEAR(ii.m_intrinsicoidDeflection, 18 + 20, 2);
  EXPECT_EQ(ii.m_tMorphology, 1);
  EXPECT_EQ(ii.m_pMorphology, 1);
  EXPECT_NEAR(ii.m_tPlusAmplitude, 300, 15);
  EXPECT_NEAR(ii.m_pPlusAmplitude, 120, 10);
  EXPECT_NEAR(ii.m_stJ20, 0, 3);
  // V1 as built: no Q, R 250 µV, S 900 µV, T inverted.
  const SLeadMeasurement& v1 = m->m_leads[2];
  EXPECT_EQ(v1.m_qAmplitude, 0);
  EXPECT_NEAR(v1.m_rAmplitude, 250, 5);
  EXPECT_NEAR(v1.m_sAmplitude, -900, 10);
  EXPECT_EQ(v1.m_tMorphology, 2);
  EXPECT_NEAR(v1.m_isoQrsOnset, 18, 3);  // V1 starts with its R, after the Q of other leads
}

TEST_F(EngineOutput, Section1CarriesTheFindings) {
  CGeneralInfo general;
  ASSERT_TRUE(CReader::ReadGeneralInfo(run_.path.c_str(), &general));
  ASSERT_TRUE(general.m_interpretation);
  std::string text;
  ASSERT_TRUE(ecg::platform::WideToUtf8(*general.m_interpretation, text));
  EXPECT_EQ(text, run_.analysis.result.findings);
  EXPECT_NE(text.find("Ventricular rate 75 bpm"), std::string::npos) << text;
  EXPECT_NE(text.find("\r\n"), std::string::npos);
  EXPECT_EQ(general.m_interpretationEdited, 0);
  EXPECT_EQ(general.m_confirmed, 0);
  ASSERT_TRUE(general.m_interpretationApplication);
  EXPECT_EQ(*general.m_interpretationApplication, u"QORSYS32");
}

TEST(EngineOutputKeeps, OtherSectionsByteForByteAndReplacesOldStatements) {
  TempFolder folder;
  SyntheticSpec spec;
  const Bytes base = MakeSyntheticRecord(spec).bytes;
  // The same record with a statement section, an old Section 9 and a
  // manufacturer section.
  RecordBuilder builder;
  builder.AddSection1(TypicalSection1());
  builder.AddSection(3, *SectionContent(base, 3));
  builder.AddSection(6, *SectionContent(base, 6));
  const Bytes eight = {0, 0xE8, 0x07, 11, 30, 9, 41, 7, 1, 1, 6, 0, 'N', 'o', 't', 'e', '!', 0};
  const Bytes manufacturer = {'T', 'i', 'd', 'e', 'm', 'a', 'r', 'k', 1, 2, 3, 4};
  builder.AddSection(8, eight);
  builder.AddSection(9, Section9Codes({21}, {30}));
  builder.AddSection(128, manufacturer);
  const EngineRun run = RunEngine(folder, builder.Build());
  ASSERT_TRUE(run.status.ok()) << run.status.reason;
  const Bytes written = ReadFile(run.path);
  EXPECT_EQ(SectionContent(written, 8), eight);
  EXPECT_EQ(SectionContent(written, 128), manufacturer);
  // Section 9 now holds this analysis' statements: regular sinus rhythm at
  // 75 bpm with one summary line, not the old codes 21 and 30.
  const std::optional<Bytes> nine = SectionContent(written, 9);
  ASSERT_TRUE(nine);
  EXPECT_EQ(std::string(nine->begin(), nine->begin() + 30), "010      900                  ");
}

TEST(EngineOutputFails, AWriteThatFailsLeavesTheRecordAsItWas) {
  TempFolder folder;
  const Bytes bytes = MakeSyntheticRecord({}).bytes;
  const std::string path = folder.Write("r.scp", bytes);
  ecg::platform::InjectWriteFailureAfter(1000);
  const EngineStatus status = AnalyseRecordFile(path.c_str(), 1);
  ecg::platform::InjectWriteFailureAfter(UINT64_MAX);
  EXPECT_EQ(status.code, kResultWriteFailed);
  EXPECT_EQ(ReadFile(path), bytes);
}

TEST(EngineOutputAgain, ItsOwnOutputIsAnalysedAgainAlike) {
  TempFolder folder;
  SyntheticSpec spec;
  const EngineRun first = RunEngine(folder, MakeSyntheticRecord(spec).bytes);
  ASSERT_TRUE(first.status.ok());
  const Bytes once = ReadFile(first.path);
  const EngineStatus again = AnalyseRecordFile(first.path.c_str(), 1);
  ASSERT_TRUE(again.ok()) << again.reason;
  CAnalysisInfo info;
  ASSERT_TRUE(CReader::ReadAnalysisInfo(first.path.c_str(), &info));
  EXPECT_NEAR(info.m_global.QRSDuration(), first.global.QRSDuration(), 1);
  EXPECT_NEAR(info.m_global.QTInterval(), first.global.QTInterval(), 1);
  EXPECT_EQ(SectionContent(ReadFile(first.path), 3), SectionContent(once, 3));
}

}  // namespace
}  // namespace ecg::test::engine
