// ecg info on records with leads, samples and measurements, with and without
// --derive.

#include <gtest/gtest.h>

#include "run_program.h"
#include "support/section_builders.h"
#include "support/test_files.h"

using namespace ecg::test;

namespace {

ProgramResult Ecg(const std::vector<std::string>& args) { return RunProgram(ECG_PROGRAM, args); }

void ExpectAll(const std::string& out, std::initializer_list<const char*> expected) {
  for (const char* e : expected) EXPECT_NE(out.find(e), std::string::npos) << e << "\n" << out;
}

TEST(EcgInfoSignal, JsonOfATwelveLeadTenSecondRecord) {
  TempFolder folder;
  const std::string path = folder.Write("twelve.scp", SyntheticEcgRecord());
  const auto r = Ecg({"info", "--json", path});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  ExpectAll(r.out, {
      "\"leadDefinitions\": {", "\"count\": 12", "\"allSimultaneous\": true",
      "\"simultaneousCount\": 12", "\"code\": 64", "\"name\": \"aVF\"", "\"name\": \"V6\"",
      "\"startSample\": 1", "\"endSample\": 5000", "\"samples\": 5000", "\"samples\": 600",
      "\"errorBits\": 1",                                  // lead II, from Section 1
      "\"rhythm\": {", "\"median\": {", "\"sampleRateHz\": 500", "\"sampleIntervalUs\": 2000",
      "\"amplitudeMultiplierNv\": 1000", "\"differenceUsed\": 0", "\"bimodal\": 0",
      "\"encoded\": false", "\"details\": {", "\"rhythmSamples\": 5000",
      "\"medianSamples\": 600", "\"medianPresent\": 1",
      "\"globalMeasurements\": {", "\"rrMs\": 833", "\"pOnsetMs\": 150", "\"pOffsetMs\": 250",
      "\"qrsOnsetMs\": 310", "\"qrsOffsetMs\": 400", "\"tOffsetMs\": 720", "\"pAxis\": 52",
      "\"qrsAxis\": 48", "\"tAxis\": 39", "\"heartRate\": 72", "\"pDurationMs\": 100",
      "\"prIntervalMs\": 160", "\"qrsDurationMs\": 90", "\"qtIntervalMs\": 410",
      "\"statements\": {", "\"leadMeasurements\": {", "\"blockSize\": 62",
      "\"stJ80\": 80", "\"qualityCode\": 0", "\"rAmplitude\": 1540",
  });
  EXPECT_EQ(r.out.find("\"derive\""), std::string::npos);  // not asked for
}

// Without a P wave (fibrillation, junctional rhythm) there is no P
// duration or PR interval to derive from the missing-value marks.
TEST(EcgInfoSignal, NoPWaveGivesNoPDurationOrPrInterval) {
  TempFolder folder;
  EcgRecordSpec spec;
  spec.p_wave = false;
  const std::string path = folder.Write("no-p.scp", SyntheticEcgRecord(spec));
  const auto text = Ecg({"info", path});
  ASSERT_EQ(text.exit_code, 0) << text.err;
  ExpectAll(text.out, {"heart rate 72 /min, P duration -, PR -, QRS 90 ms, QT 410 ms"});
  const auto json = Ecg({"info", "--json", path});
  ASSERT_EQ(json.exit_code, 0) << json.err;
  ExpectAll(json.out, {"\"pDurationMs\": null", "\"prIntervalMs\": null", "\"qrsDurationMs\": 90",
                       "\"qtIntervalMs\": 410"});
}

TEST(EcgInfoSignal, DeriveShowsTheCalculatedLimbLeads) {
  TempFolder folder;
  EcgRecordSpec spec;
  spec.leads = AcquiredLeadCodes();
  const std::string path = folder.Write("eight.scp", SyntheticEcgRecord(spec));

  const auto plain = Ecg({"info", path});
  ASSERT_EQ(plain.exit_code, 0) << plain.err;
  ExpectAll(plain.out, {"leads          8 (all simultaneous, 8 recorded simultaneously)",
                        "V6", "statements     rhythm 21; morphology 1 101"});
  EXPECT_EQ(plain.out.find("aVL"), std::string::npos) << plain.out;

  const auto derived = Ecg({"info", "--derive", path});
  ASSERT_EQ(derived.exit_code, 0) << derived.err;
  ExpectAll(derived.out, {"derived leads  calculated",
                          "leads          12 (all simultaneous, 12 recorded simultaneously)",
                          "   61  III", "   62  aVR", "   63  aVL", "   64  aVF",
                          "lead errors    1:0x0000 2:0x0000"});

  const auto json = Ecg({"info", "--derive", "--json", path});
  ASSERT_EQ(json.exit_code, 0);
  ExpectAll(json.out, {"\"derive\": {", "\"ok\": true", "\"count\": 12", "\"name\": \"aVL\""});
}

TEST(EcgInfoSignal, EncodingFlagsAndMissingSections) {
  RecordBuilder b;
  b.AddSection(3, Section3({{1, 1, 2}}));
  SampleSection rhythm;
  rhythm.difference = 2;
  rhythm.bimodal = 1;
  rhythm.interval = 0;
  rhythm.leads = {{5, 6}};
  b.AddSection(6, SampleSectionBytes(rhythm));
  TempFolder folder;
  const std::string path = folder.Write("flags.scp", b.Build());
  const auto text = Ecg({"info", path});
  ASSERT_EQ(text.exit_code, 0) << text.err;
  ExpectAll(text.out, {"rate unknown (interval 0)",
                       "encoding flags difference 2, bimodal 1 (kept, not applied)"});
  const auto json = Ecg({"info", "--json", "--derive", path});
  ExpectAll(json.out, {"\"encoded\": true", "\"sampleRateHz\": null", "\"ok\": true"});
  EXPECT_EQ(json.out.find("globalMeasurements"), std::string::npos);
}

}  // namespace
