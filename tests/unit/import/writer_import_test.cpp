// Records made from device events: the model that CWriter::Set fills, and
// the create-from operations end to end (each record loads and checks).

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "import/device_event.h"
#include "platform/last_error.h"
#include "platform/text_codec.h"
#include "scp/writer.h"
#include "support/test_files.h"
#include "unit/import/device_files.h"

using namespace ecg::platform;
using namespace ecg::test;

namespace {

class WriterProbe : public CWriter {
 public:
  using CWriter::m_leadDefinitions;
  using CWriter::m_loaded;
  using CWriter::m_recordInfo;
  using CWriter::m_rhythmData;
  using CWriter::m_rhythmReady;
  using CWriter::OpenRd;
  using CWriter::Set;
};

// An event of `leads` leads with samples k * 10 + lead.
struct TestEvent {
  SECGInfo info;
  SLeadObj leads;
  TestEvent(uint32_t lead_count, uint16_t samples) {
    info.Clear();
    info.m_samplesPerLead = samples;
    info.m_leadCount = static_cast<uint8_t>(lead_count);
    info.m_sampleInterval = 2000;
    info.m_amplitudeResolution = 2500;
    EXPECT_TRUE(leads.InitLeads(lead_count, samples));
    leads.m_filled = static_cast<uint8_t>(lead_count);
    for (uint32_t i = 0; i < lead_count; ++i) {
      leads.m_leads[i].m_leadIndex = static_cast<uint8_t>(i);
      for (uint32_t k = 0; k < samples; ++k) {
        leads.m_leads[i].m_samples[k] = static_cast<int16_t>(k * 10 + i);
      }
    }
  }
};

std::string Text(const WideText& text) { return text ? WideToUtf8Lossy(*text) : "<absent>"; }

// The ids of the sections a record lists with a length, and whether every
// CRC checks.
std::vector<uint16_t> ListedSections(const std::string& path, bool* crc_valid) {
  CReader::SCrcReport report;
  std::vector<uint16_t> ids;
  if (!CReader::ReadCRCReport(path, report)) return ids;
  *crc_valid = report.recordValid;
  for (const auto& e : report.entries) {
    if (e.length == 0) continue;
    ids.push_back(e.id);
    *crc_valid = *crc_valid && e.valid;
  }
  return ids;
}

// ------------------------------------------------------------------ Set

TEST(WriterSet, RecordingFactsComeFromTheEventMetadata) {
  TestEvent event(1, 4);
  event.info.SetDeviceText("SN-77");
  event.info.m_hardwareVersion = 12;
  event.info.m_softwareVersion = 34;
  event.info.m_filters = 0x01 | 0x02 | 0x04 | 0x20 | 0x80;
  event.info.SetDevice(2, 2);
  event.info.m_year = 2023;
  event.info.m_month = 4;
  event.info.m_day = 5;
  event.info.m_hour = 6;
  event.info.m_minute = 7;
  event.info.m_second = 8;
  WriterProbe w;
  ASSERT_TRUE(w.Set(event.info, &event.leads));
  const CRecordInfo& r = w.m_recordInfo;
  EXPECT_EQ(Text(r.m_analysingProgramRevision), "HW 1.2, SW 3.4");
  EXPECT_EQ(Text(r.m_serialNumber), "SN-77");
  EXPECT_EQ(r.m_writerFilter, kWriterFilter50Hz | kWriterFilterMuscle) << "50 Hz wins over 60 Hz";
  EXPECT_EQ(r.m_filterBitMap, kWriterFilter60Hz | kWriterFilterBaseline);
  EXPECT_EQ(Text(r.m_modelDescription), "TXH  ");
  EXPECT_EQ(r.m_year, 2023);
  EXPECT_EQ(r.m_month, 4);
  EXPECT_EQ(r.m_day, 5);
  EXPECT_EQ(r.m_hour, 6);
  EXPECT_EQ(r.m_minute, 7);
  EXPECT_EQ(r.m_second, 8);
  EXPECT_EQ(w.m_loaded & (kSection1Bit | kSection3Bit | kSection6Bit),
            kSection1Bit | kSection3Bit | kSection6Bit);
  EXPECT_TRUE(w.m_rhythmReady);
}

TEST(WriterSet, VersionTextsAndModelDescriptions) {
  struct Versions {
    uint8_t hw, sw;
    const char* text;
  } versions[] = {
      {12, 0, "HW 1.2"}, {0, 5, "SW 0.5"}, {255, 1, "HW 25.5, SW 0.1"}, {0, 0, "<absent>"}};
  for (const auto& v : versions) {
    TestEvent event(1, 1);
    event.info.m_hardwareVersion = v.hw;
    event.info.m_softwareVersion = v.sw;
    WriterProbe w;
    ASSERT_TRUE(w.Set(event.info, &event.leads));
    EXPECT_EQ(Text(w.m_recordInfo.m_analysingProgramRevision), v.text);
    EXPECT_EQ(Text(w.m_recordInfo.m_serialNumber), "<absent>");
  }
  const char* models[] = {"ZR   ", "QN   ", "TXH  ", "WJ   ", "UKV  ", "UKV  "};
  for (uint8_t type = 0; type < 6; ++type) {
    TestEvent event(1, 1);
    event.info.SetDevice(type == 5 ? 15 : type, 2);
    WriterProbe w;
    ASSERT_TRUE(w.Set(event.info, &event.leads));
    EXPECT_EQ(Text(w.m_recordInfo.m_modelDescription), models[type]) << int{type};
  }
}

TEST(WriterSet, LeadIdsFromTheStandardPositionsOrTheLeadsOwnId) {
  TestEvent event(14, 3);
  event.leads.m_leads[13].m_leadIndex = 200;
  event.leads.m_leads[3].m_scpLeadId = 99;
  WriterProbe w;
  ASSERT_TRUE(w.Set(event.info, &event.leads));
  const uint8_t expected[14] = {1, 2, 61, 99, 63, 64, 3, 4, 5, 6, 7, 8, 0, 0};
  ASSERT_EQ(w.m_leadDefinitions.m_count, 14);
  for (int i = 0; i < 14; ++i) {
    EXPECT_EQ(w.m_leadDefinitions.m_leads[i].m_leadId, expected[i]) << i;
    // Packed fields, compared by value.
    EXPECT_EQ(uint32_t{w.m_leadDefinitions.m_leads[i].m_startSample}, 1u);
    EXPECT_EQ(uint32_t{w.m_leadDefinitions.m_leads[i].m_endSample}, 3u);
  }
  EXPECT_EQ(w.m_leadDefinitions.m_flags, 0) << "lead configuration 2: not simultaneous";
  EXPECT_EQ(w.m_rhythmData.m_amplitudeMultiplier, 2500);
  EXPECT_EQ(w.m_rhythmData.m_sampleInterval, 2000);
  EXPECT_EQ(w.m_rhythmData.m_differenceUsed, 0);
  EXPECT_EQ(w.m_rhythmData.m_bimodal, 0);
  ASSERT_EQ(w.m_rhythmData.m_leadCount, 14);
  EXPECT_EQ(w.m_rhythmData.SampleCount(13), 3);
  EXPECT_EQ(w.m_rhythmData.Samples(13)[2], 33);

  event.info.SetDevice(3, kLeadConfigSimultaneous);
  ASSERT_TRUE(w.Set(event.info, &event.leads));
  EXPECT_EQ(w.m_leadDefinitions.m_flags, kLeadFlagAllSimultaneous | (14 << 3));
}

TEST(WriterSet, OnlyTheFilledLeadsBecomeRecordLeads) {
  TestEvent event(12, 2);
  event.leads.m_filled = 8;
  WriterProbe w;
  ASSERT_TRUE(w.Set(event.info, &event.leads));
  EXPECT_EQ(w.m_leadDefinitions.m_count, 8);
  EXPECT_EQ(w.m_rhythmData.m_leadCount, 8);
}

TEST(WriterSet, RefusesEventsWithoutUsableSamples) {
  WriterProbe w;
  TestEvent event(2, 5);
  EXPECT_FALSE(w.Set(event.info, nullptr));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);

  SLeadObj empty;
  EXPECT_FALSE(w.Set(event.info, &empty));
  EXPECT_EQ(GetLastError(), kErrorNoData);

  SECGInfo no_samples = event.info;
  no_samples.m_samplesPerLead = 0;
  EXPECT_FALSE(w.Set(no_samples, &event.leads));
  EXPECT_EQ(GetLastError(), kErrorNoData);

  SECGInfo too_many = event.info;
  too_many.m_samplesPerLead = 6;  // more than the leads hold
  EXPECT_FALSE(w.Set(too_many, &event.leads));
  EXPECT_EQ(GetLastError(), kErrorInvalidData);
  EXPECT_EQ(w.m_loaded & kSection6Bit, 0) << "no half-filled rhythm data is left ready";
}

// ---------------------------------------------------------- create-from

TEST(CreateFromEventFiles, EightBitMemoryRecordWithDefaults) {
  TempFolder folder;
  std::vector<uint8_t> bytes(1500);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i);
  const std::string out = folder.File("eight.scp");
  CWriter writer;
  writer.SelectWriter(u"Importer", u"9.8");
  ASSERT_TRUE(
      writer.CreateFrom8bitMem(out.c_str(), bytes.data(), bytes.size(), nullptr, true, 0, 0))
      << GetLastError();
  bool crc_valid = false;
  EXPECT_EQ(ListedSections(out, &crc_valid), (std::vector<uint16_t>{0, 1, 3, 6}));
  EXPECT_TRUE(crc_valid);

  CReader record;
  int16_t loaded = 0;
  ASSERT_TRUE(record.Load(out, loaded, static_cast<int16_t>(kAllSectionBits)));
  SDetails details;
  ASSERT_TRUE(record.GetDetails(&details));
  EXPECT_EQ(details.m_rhythmAmplitudeMultiplier, 20000);
  EXPECT_EQ(details.m_rhythmSamples, 1500u);
  EXPECT_EQ(details.m_leadCount, 1);
  const SEncodedData* rhythm = record.GetRhythmDataPtr();
  ASSERT_NE(rhythm, nullptr);
  EXPECT_EQ(rhythm->m_sampleInterval, 3333);
  EXPECT_EQ(rhythm->Samples(0)[0], -128);
  EXPECT_EQ(rhythm->Samples(0)[200], 200 - 128);
  EXPECT_EQ(record.GetLeadId(0), 0) << "the unspecified lead";
  const CGeneralInfo* general = record.GetGeneralInfoPtr();
  ASSERT_NE(general, nullptr);
  EXPECT_EQ(Text(general->m_creatingApplication), "Importer");
  EXPECT_EQ(Text(general->m_creatingVersion), "9.8");
  const SystemTime now = LocalTimeNow();
  EXPECT_EQ(general->m_receivedYear, now.year);
  const CRecordInfo* recording = record.GetRecordingInfoPtr();
  ASSERT_NE(recording, nullptr);
  EXPECT_EQ(recording->m_year, now.year) << "memory events are stamped with the clock";
  EXPECT_EQ(Text(recording->m_modelDescription), "UKV  ");
}

TEST(CreateFromEventFiles, SixteenBitFileWithPatient) {
  TempFolder folder;
  std::vector<uint8_t> bytes = {0x10, 0x00, 0xF0, 0xFF, 0x00, 0x01};
  const std::string in = folder.Write("sixteen.bin", bytes);
  const std::string out = folder.File("sixteen.scp");
  CPatientInfo patient;
  patient.m_lastName = u"\u00c5berg";
  patient.m_birthYear = 1970;
  patient.m_sex = 2;
  CWriter writer;
  ASSERT_TRUE(writer.CreateFrom16bitFile(out.c_str(), in.c_str(), &patient, false, 1000, 500));
  CPatientInfo read_patient;
  CRecordInfo read_recording;
  ASSERT_TRUE(CReader::ReadPatientAndRecordInfo(out, &read_patient, &read_recording));
  EXPECT_EQ(Text(read_patient.m_lastName),
            "\xC3\x85"
            "berg");
  EXPECT_EQ(read_patient.m_birthYear, 1970);
  EXPECT_EQ(read_patient.m_sex, 2);
  SEncodedData rhythm;
  ASSERT_TRUE(CReader::ReadRhythmData(out, &rhythm));
  EXPECT_EQ(rhythm.m_amplitudeMultiplier, 1000);
  EXPECT_EQ(rhythm.m_sampleInterval, 2000);
  ASSERT_EQ(rhythm.SampleCount(0), 3);
  EXPECT_EQ(rhythm.Samples(0)[1], -16);
  EXPECT_EQ(rhythm.Samples(0)[2], 256);
}

TEST(CreateFromEventFiles, TwelveLeadFileGivesEightSimultaneousLeadsAndLeadErrors) {
  TempFolder folder;
  std::vector<uint8_t> bytes;
  for (int k = 0; k < 20; ++k) {
    // Lead V2 carries the marker 2032 once (a channel status code).
    const auto frame = PackedFrame({k, -k, 3, k == 7 ? 2032 : 4, 5, 6, 7, 8});
    bytes.insert(bytes.end(), frame.begin(), frame.end());
  }
  const std::string in = folder.Write("frames.12l", bytes);
  const std::string out = folder.File("twelve.scp");
  CWriter writer;
  ASSERT_TRUE(writer.CreateFromRaw12L(out.c_str(), in.c_str(), nullptr, 4880, 500, 12));
  CReader record;
  int16_t loaded = 0;
  ASSERT_TRUE(record.Load(out, loaded, static_cast<int16_t>(kAllSectionBits)));
  ASSERT_EQ(record.GetLeads(), 8);
  const int16_t codes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(record.GetLeadId(i), codes[i]);
  const SLeadDefinitions* definitions = record.GetLeadDefinitionsPtr();
  ASSERT_NE(definitions, nullptr);
  EXPECT_EQ(definitions->m_flags, kLeadFlagAllSimultaneous | (8 << 3));
  const SLeadErrors* errors = record.GetLeadErrorsPtr();
  ASSERT_NE(errors, nullptr);
  const SLeadError* v2 = errors->Find(4);
  ASSERT_NE(v2, nullptr);
  EXPECT_EQ(uint16_t{v2->m_errorBits}, 0x0001);
  const SLeadError* lead_i = errors->Find(1);
  ASSERT_NE(lead_i, nullptr);
  EXPECT_EQ(uint16_t{lead_i->m_errorBits}, 0);
  EXPECT_EQ(record.GetRhythmDataPtr()->Samples(1)[19], -19);
  bool crc_valid = false;
  EXPECT_EQ(ListedSections(out, &crc_valid), (std::vector<uint16_t>{0, 1, 3, 6}));
  EXPECT_TRUE(crc_valid);
}

TEST(CreateFromEventFiles, TwelveLeadMemoryWithTwoLeads) {
  TempFolder folder;
  std::vector<uint8_t> bytes;
  for (int k = 0; k < 5; ++k) {
    const auto frame = PackedFrame({100 + k, -100 - k});
    bytes.insert(bytes.end(), frame.begin(), frame.end());
  }
  const std::string out = folder.File("two.scp");
  CWriter writer;
  ASSERT_TRUE(
      writer.CreateFromRaw12LMem(out.c_str(), bytes.data(), bytes.size(), nullptr, 5000, 250, 6));
  EXPECT_EQ(CReader::ReadLeads(out), 2);
  SEncodedData rhythm;
  ASSERT_TRUE(CReader::ReadRhythmData(out, &rhythm));
  EXPECT_EQ(rhythm.Samples(1)[4], -104);
  EXPECT_EQ(rhythm.m_sampleInterval, 4000);
}

TEST(CreateFromEventFiles, FailuresWriteNothingAndSayWhy) {
  TempFolder folder;
  const std::string out = folder.File("never.scp");
  const std::vector<uint8_t> bytes = {1, 2, 3, 4};
  CWriter writer;
  EXPECT_FALSE(writer.CreateFrom8bitFile(out.c_str(), folder.File("absent.bin").c_str(), nullptr,
                                         false, 0, 0));
  EXPECT_EQ(GetLastError(), kErrorFileNotFound);
  EXPECT_FALSE(
      writer.CreateFromRaw12LMem(out.c_str(), bytes.data(), bytes.size(), nullptr, 1, 500, 3));
  EXPECT_EQ(GetLastError(), kErrorInvalidData);
  EXPECT_FALSE(writer.CreateFrom16bitMem(out.c_str(), bytes.data(), 0, nullptr, false, 0, 0));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_FALSE(writer.CreateFrom8bitFile(nullptr, "x", nullptr, false, 0, 0));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_FALSE(writer.CreateFrom16bitFile(out.c_str(), nullptr, nullptr, false, 0, 0));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_FALSE(writer.CreateFromRaw12L(out.c_str(), nullptr, nullptr, 1, 1, 2));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_FALSE(writer.CreateFromPelluxFile(out.c_str(), nullptr, nullptr));
  EXPECT_EQ(GetLastError(), kErrorInvalidParameter);
  EXPECT_FALSE(std::filesystem::exists(out));

  // An output folder that does not exist: the platform's error, nothing left.
  const std::string nowhere = folder.File("no/such/folder.scp");
  EXPECT_FALSE(
      writer.CreateFrom8bitMem(nowhere.c_str(), bytes.data(), bytes.size(), nullptr, false, 0, 0));
  EXPECT_NE(GetLastError(), kErrorSuccess);
  // The writer is usable again after a failure.
  EXPECT_TRUE(
      writer.CreateFrom8bitMem(out.c_str(), bytes.data(), bytes.size(), nullptr, false, 0, 0));
}

TEST(CreateFromEventFiles, RefusedWhileAFileIsOpenLeavingItUntouched) {
  TempFolder folder;
  const std::vector<uint8_t> bytes = {1, 2, 3, 4};
  const std::string first = folder.File("first.scp");
  WriterProbe writer;
  ASSERT_TRUE(
      writer.CreateFrom8bitMem(first.c_str(), bytes.data(), bytes.size(), nullptr, false, 0, 0));
  const auto before = ReadFile(first);
  ASSERT_TRUE(writer.OpenRd(first.c_str(), false));
  const std::string in = folder.Write("in.bin", bytes);
  const std::string handheld = folder.Write("in.dat", EightLeadRecording(1));
  EXPECT_FALSE(writer.CreateFrom8bitFile(first.c_str(), in.c_str(), nullptr, false, 0, 0));
  EXPECT_EQ(GetLastError(), kErrorInvalidAccess);
  EXPECT_FALSE(
      writer.CreateFrom16bitMem(first.c_str(), bytes.data(), bytes.size(), nullptr, false, 0, 0));
  EXPECT_EQ(GetLastError(), kErrorInvalidAccess);
  EXPECT_FALSE(writer.CreateFromRaw12L(first.c_str(), in.c_str(), nullptr, 1, 1, 2));
  EXPECT_EQ(GetLastError(), kErrorInvalidAccess);
  EXPECT_FALSE(writer.CreateFromPelluxFile(first.c_str(), handheld.c_str(), nullptr));
  EXPECT_EQ(GetLastError(), kErrorInvalidAccess);
  EXPECT_EQ(ReadFile(first), before);
}

// ------------------------------------------------------------ handheld

TEST(CreateFromHandheld, OneEventWritesTheNamedRecord) {
  TempFolder folder;
  const std::string in = folder.Write("rt-ecg.tmp", EightLeadRecording(3));
  const std::string out = folder.File("rec.scp");
  CWriter writer;
  ASSERT_TRUE(writer.CreateFromPelluxFile(out.c_str(), in.c_str(), nullptr)) << GetLastError();
  bool crc_valid = false;
  EXPECT_EQ(ListedSections(out, &crc_valid), (std::vector<uint16_t>{0, 1, 3, 6}));
  EXPECT_TRUE(crc_valid);
  CReader record;
  int16_t loaded = 0;
  ASSERT_TRUE(record.Load(out, loaded, static_cast<int16_t>(kAllSectionBits)));
  SDetails details;
  ASSERT_TRUE(record.GetDetails(&details));
  EXPECT_EQ(details.m_rhythmSampleRate, 500);
  EXPECT_EQ(details.m_rhythmSamples, 1500u);
  EXPECT_EQ(details.m_leadCount, 8);
  const CRecordInfo* recording = record.GetRecordingInfoPtr();
  ASSERT_NE(recording, nullptr);
  EXPECT_EQ(Text(recording->m_serialNumber), "CAB-0815");
  EXPECT_EQ(Text(recording->m_analysingProgramRevision), "HW 1.2, SW 3.4");
  EXPECT_EQ(Text(recording->m_modelDescription), "WJ   ");
  EXPECT_EQ(recording->m_year, 2024);
  EXPECT_EQ(recording->m_second, 16);
  EXPECT_FALSE(std::filesystem::exists(folder.File("rec.a.scp")));
}

TEST(CreateFromHandheld, ThreeEventsGiveThreeRecordsWithSuffixesABC) {
  TempFolder folder;
  std::vector<uint8_t> info30(14, 0);
  info30[12] = 2;  // two leads
  info30[13] = 3;  // three events
  PutU16(info30, 7, 1000);
  PutU16(info30, 9, 2000);
  auto event = [](uint16_t samples, uint8_t day) {
    std::vector<uint8_t> b(15, 0);
    PutU16(b, 1, samples);
    b[5] = 1;
    b[10] = day;
    b[11] = 2;
    b[12] = 24;
    return b;
  };
  HandheldFile file;
  file.Block(30, info30);
  for (uint8_t n = 0; n < 3; ++n) {
    std::vector<uint8_t> frames;
    for (int k = 0; k < 3 + n; ++k) {
      const auto f = PackedFrame({n * 100 + k, -k});
      frames.insert(frames.end(), f.begin(), f.end());
    }
    file.Block(31, event(static_cast<uint16_t>(3 + n), static_cast<uint8_t>(10 + n)))
        .Block(22, frames);
  }
  const std::string in = folder.Write("events.dat", file.Bytes());
  const std::string out = folder.File("series.scp");
  CWriter writer;
  ASSERT_TRUE(writer.CreateFromPelluxFile(out.c_str(), in.c_str(), nullptr)) << GetLastError();
  EXPECT_FALSE(std::filesystem::exists(out));
  const char* names[3] = {"series.a.scp", "series.b.scp", "series.c.scp"};
  for (int n = 0; n < 3; ++n) {
    const std::string path = folder.File(names[n]);
    CReader record;
    int16_t loaded = 0;
    ASSERT_TRUE(record.Load(path, loaded, static_cast<int16_t>(kAllSectionBits))) << names[n];
    EXPECT_EQ(record.GetLeads(), 2);
    const SEncodedData* rhythm = record.GetRhythmDataPtr();
    ASSERT_NE(rhythm, nullptr);
    EXPECT_EQ(rhythm->SampleCount(0), 3 + n);
    EXPECT_EQ(rhythm->Samples(0)[0], n * 100);
    EXPECT_EQ(record.GetRecordingInfoPtr()->m_day, 10 + n);
    EXPECT_EQ(record.GetRecordingInfoPtr()->m_year, 2024);
    bool valid = false;
    ASSERT_TRUE(CReader::ReadCRCCheck(path, valid));
    EXPECT_TRUE(valid);
  }
}

TEST(CreateFromHandheld, AnEventWithoutLeadsStopsTheSeriesAndEarlierRecordsStay) {
  TempFolder folder;
  std::vector<uint8_t> info30(14, 0);
  info30[12] = 1;
  info30[13] = 2;
  std::vector<uint8_t> event(15, 0);
  PutU16(event, 1, 2);
  event[5] = 1;
  const auto bytes = HandheldFile().Block(30, info30).Block(31, event).Block(6, {1, 2}).Bytes();
  const std::string in = folder.Write("half.dat", bytes);
  const std::string out = folder.File("half.scp");
  CWriter writer;
  EXPECT_FALSE(writer.CreateFromPelluxFile(out.c_str(), in.c_str(), nullptr));
  EXPECT_EQ(GetLastError(), kErrorNoData);
  EXPECT_TRUE(std::filesystem::exists(folder.File("half.a.scp")));
  EXPECT_FALSE(std::filesystem::exists(folder.File("half.b.scp")));
}

TEST(CreateFromHandheld, AnUnreadableFileWritesNothing) {
  TempFolder folder;
  const std::string in = folder.Write("bad.dat", {1, 0, 0, 99});
  const std::string out = folder.File("bad.scp");
  CWriter writer;
  EXPECT_FALSE(writer.CreateFromPelluxFile(out.c_str(), in.c_str(), nullptr));
  EXPECT_EQ(GetLastError(), kErrorInvalidData);
  EXPECT_FALSE(std::filesystem::exists(out));
}

// A real 8-lead recording (LUDB, 1 uV per unit) saved as the recording
// window saves it, then imported: every sample comes back.
TEST(CreateFromHandheld, ARealRecordingSurvivesTheRoundTrip) {
  const std::string shared = SharedDataFolder();
  const std::string source = shared + "/ludb-dev/ludb-001.scp";
  if (shared.empty() || !std::filesystem::exists(source)) {
    GTEST_SKIP() << "shared data folder with ludb-dev/ludb-001.scp not found";
  }
  SEncodedData original;
  ASSERT_TRUE(CReader::ReadRhythmData(source, &original));
  ASSERT_EQ(original.m_leadCount, 8);
  const uint32_t samples = std::min<uint32_t>(original.SampleCount(0), 5000);
  std::vector<std::array<int, 8>> instants(samples);
  for (uint32_t k = 0; k < samples; ++k) {
    for (int lead = 0; lead < 8; ++lead) {
      instants[k][lead] = std::clamp<int>(original.Samples(lead)[k], -2048, 2031);
    }
  }
  Block20 info;
  info.samples = samples;
  info.interval = original.m_sampleInterval;
  info.resolution = original.m_amplitudeMultiplier;
  TempFolder folder;
  const std::string in = folder.Write(
      "ludb.tmp", HandheldFile().Block(20, info.Body()).Block(23, Frames8(instants)).Bytes());
  const std::string out = folder.File("ludb.scp");
  CWriter writer;
  ASSERT_TRUE(writer.CreateFromPelluxFile(out.c_str(), in.c_str(), nullptr)) << GetLastError();
  SEncodedData imported;
  ASSERT_TRUE(CReader::ReadRhythmData(out, &imported));
  ASSERT_EQ(imported.m_leadCount, 8);
  EXPECT_EQ(imported.m_amplitudeMultiplier, original.m_amplitudeMultiplier);
  EXPECT_EQ(imported.m_sampleInterval, original.m_sampleInterval);
  for (int lead = 0; lead < 8; ++lead) {
    ASSERT_EQ(imported.SampleCount(lead), samples);
    for (uint32_t k = 0; k < samples; ++k) {
      ASSERT_EQ(imported.Samples(lead)[k], instants[k][lead]) << lead << " " << k;
    }
  }
}

}  // namespace
