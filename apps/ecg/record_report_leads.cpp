// The parts of `ecg info` about the signal: lead definitions, rhythm and
// median sample data, global measurements, statement codes and per-lead
// measurements.

#include <algorithm>
#include <cstdio>
#include <iomanip>
#include <sstream>

#include "json_writer.h"
#include "platform/last_error.h"
#include "record_report.h"

namespace ecg::app {

namespace {

std::string LeadName(uint32_t code) {
  const char* name = scp::LeadCodeName(code);
  return name ? name : "code " + std::to_string(code);
}

// Smallest and largest sample of a lead.
struct SampleSpan {
  bool any = false;
  int16_t least = 0;
  int16_t most = 0;
};

SampleSpan SpanOf(const SEncodedData& data, uint32_t lead) {
  SampleSpan span;
  const int16_t* samples = data.Samples(lead);
  const uint32_t n = data.SampleCount(lead);
  if (samples == nullptr || n == 0) return span;
  const auto [lo, hi] = std::minmax_element(samples, samples + n);
  span.any = true;
  span.least = *lo;
  span.most = *hi;
  return span;
}

// The name of each value of a lead measurement block, in block order after
// the lead code and the length field.
constexpr const char* kLeadMeasurementNames[29] = {
    "pDuration",      "prInterval",     "qrsDuration",   "qtInterval",    "qDuration",
    "rDuration",      "sDuration",      "r2Duration",    "s2Duration",    "qAmplitude",
    "rAmplitude",     "sAmplitude",     "r2Amplitude",   "s2Amplitude",   "jAmplitude",
    "pPlusAmplitude", "pMinusAmplitude", "tPlusAmplitude", "tMinusAmplitude", "stSlope",
    "pMorphology",    "tMorphology",    "isoQrsOnset",   "isoQrsOffset",  "intrinsicoidDeflection",
    "qualityCode",    "stJ20",          "stJ60",         "stJ80"};

// Labels for the text form, same order.
constexpr const char* kLeadMeasurementLabels[29] = {
    "P",     "PR",   "QRS",  "QT",   "Qd",   "Rd",    "Sd",  "R'd", "S'd",  "Qa",
    "Ra",    "Sa",   "R'a",  "S'a",  "J",    "P+",    "P-",  "T+",  "T-",   "STslope",
    "Pmorph", "Tmorph", "isoOn", "isoOff", "ID", "qual", "ST20", "ST60", "ST80"};

// The 29 measurement values of a block, in block order.
void MeasurementValues(const SLeadMeasurement& m, int16_t (&out)[29]) {
  const int16_t values[29] = {
      m.m_pDuration,      m.m_prInterval,      m.m_qrsDuration,     m.m_qtInterval,
      m.m_qDuration,      m.m_rDuration,       m.m_sDuration,       m.m_r2Duration,
      m.m_s2Duration,     m.m_qAmplitude,      m.m_rAmplitude,      m.m_sAmplitude,
      m.m_r2Amplitude,    m.m_s2Amplitude,     m.m_jAmplitude,      m.m_pPlusAmplitude,
      m.m_pMinusAmplitude, m.m_tPlusAmplitude, m.m_tMinusAmplitude, m.m_stSlope,
      m.m_pMorphology,    m.m_tMorphology,     m.m_isoQrsOnset,     m.m_isoQrsOffset,
      m.m_intrinsicoidDeflection, m.m_qualityCode, m.m_stJ20,       m.m_stJ60,
      m.m_stJ80};
  std::copy(std::begin(values), std::end(values), out);
}

std::string FlagsText(const SLeadDefinitions& d) {
  std::string out;
  if (d.m_flags & kLeadFlagReferenceBeatSubtraction) out += "reference beat subtracted, ";
  if (d.m_flags & kLeadFlagAllSimultaneous) out += "all simultaneous, ";
  out += std::to_string(d.SimultaneousCount()) + " recorded simultaneously";
  return out;
}

std::string RateText(uint16_t interval_us) {
  if (interval_us == 0) return "rate unknown (interval 0)";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.6g Hz (%u us)", 1e6 / interval_us, interval_us);
  return buffer;
}

std::string EncodingText(const SEncodedData& data) {
  if (data.m_differenceUsed == 0 && data.m_bimodal == 0) return "not encoded";
  return "encoding flags difference " + std::to_string(data.m_differenceUsed) + ", bimodal " +
         std::to_string(data.m_bimodal) + " (kept, not applied)";
}

void SampleDataText(std::ostringstream& out, const char* label, const SEncodedData& data) {
  out << "  " << std::left << std::setw(15) << label << RateText(data.m_sampleInterval) << ", "
      << data.m_amplitudeMultiplier << " nV per unit, " << EncodingText(data) << ", "
      << static_cast<unsigned>(data.m_leadCount) << " leads\n"
      << std::right;
}

uint16_t ErrorBitsOf(RecordReport& r, uint8_t code, bool* known) {
  *known = false;
  SLeadErrors* errors = r.reader.GetLeadErrorsPtr();
  if (errors == nullptr) return 0;
  const SLeadError* e = errors->Find(code);
  if (e == nullptr) return 0;
  *known = true;
  return e->m_errorBits;
}

void SampleDataJson(JsonWriter& j, const SEncodedData& data) {
  j.BeginObject();
  j.Key("sampleIntervalUs").Number(data.m_sampleInterval);
  if (data.m_sampleInterval != 0) {
    j.Key("sampleRateHz").Number(1e6 / data.m_sampleInterval);
  } else {
    j.Key("sampleRateHz").Null();
  }
  j.Key("amplitudeMultiplierNv").Number(data.m_amplitudeMultiplier);
  j.Key("differenceUsed").Number(data.m_differenceUsed);
  j.Key("bimodal").Number(data.m_bimodal);
  j.Key("encoded").Bool(data.m_differenceUsed != 0 || data.m_bimodal != 0);
  j.Key("leadCount").Number(data.m_leadCount);
  j.EndObject();
}

void LeadSamplesJson(JsonWriter& j, const char* key, const SEncodedData* data, uint32_t lead) {
  if (data == nullptr) return;
  j.Key(key).BeginObject();
  j.Key("samples").Number(data->SampleCount(lead));
  const SampleSpan span = SpanOf(*data, lead);
  if (span.any) {
    j.Key("min").Number(span.least);
    j.Key("max").Number(span.most);
  }
  j.EndObject();
}

}  // namespace

void AppendSignalText(RecordReport& r, std::ostringstream& out) {
  if (r.derive_requested) {
    out << "  derived leads  "
        << (r.derive_ok ? "calculated" : "failed: " + DescribeError(r.derive_error)) << "\n";
  }
  SLeadDefinitions* defs = r.reader.GetLeadDefinitionsPtr();
  SEncodedData* rhythm = r.reader.GetRhythmDataPtr();
  SEncodedData* median = r.reader.GetMedianDataPtr();
  if (defs != nullptr) {
    out << "  leads          " << static_cast<unsigned>(defs->m_count) << " (" << FlagsText(*defs)
        << ")\n";
    out << "                   #  code  name   samples          rhythm (min..max)     "
           "median (min..max)     errors\n";
    for (uint32_t i = 0; i < defs->m_count; ++i) {
      const SLeadDef& lead = defs->m_leads[i];
      char line[256];
      std::snprintf(line, sizeof line, "                 %3u  %4u  %-5s  %7u-%-7u  ", i + 1,
                    lead.m_leadId, LeadName(lead.m_leadId).c_str(), lead.m_startSample,
                    lead.m_endSample);
      out << line;
      for (const SEncodedData* data : {rhythm, median}) {
        std::string cell = "-";
        if (data != nullptr) {
          const SampleSpan span = SpanOf(*data, i);
          cell = std::to_string(data->SampleCount(i));
          if (span.any) {
            cell += " (" + std::to_string(span.least) + ".." + std::to_string(span.most) + ")";
          }
        }
        std::snprintf(line, sizeof line, "%-22s", cell.c_str());
        out << line;
      }
      bool known = false;
      const uint16_t bits = ErrorBitsOf(r, lead.m_leadId, &known);
      if (known) {
        std::snprintf(line, sizeof line, "0x%04X", bits);
        out << line;
      } else {
        out << "-";
      }
      out << "\n";
    }
  }
  if (rhythm != nullptr) SampleDataText(out, "rhythm", *rhythm);
  if (median != nullptr) SampleDataText(out, "median beats", *median);
  SDetails details;
  if (r.reader.GetDetails(&details)) {
    out << "  details        rhythm " << details.m_rhythmSampleRate << " Hz, "
        << details.m_rhythmAmplitudeMultiplier << " nV, " << details.m_rhythmSamples
        << " samples; median " << details.m_medianSampleRate << " Hz, "
        << details.m_medianAmplitudeMultiplier << " nV, " << details.m_medianSamples
        << " samples\n";
  }

  if (CAnalysisInfo* info = r.reader.GetAnalysisInfoPtr()) {
    const SGlobalMeasurements& g = info->m_global;
    out << "  global         measurement blocks " << static_cast<unsigned>(g.m_blockCount)
        << ", pacemaker spikes " << static_cast<unsigned>(g.m_spikeCount) << ", RR " << g.m_rr
        << " ms, PP " << g.m_pp << " ms\n";
    out << "                 P " << g.m_pOnset << "-" << g.m_pOffset << " ms, QRS "
        << g.m_qrsOnset << "-" << g.m_qrsOffset << " ms, T offset " << g.m_tOffset
        << " ms, axes P " << g.m_pAxis << " QRS " << g.m_qrsAxis << " T " << g.m_tAxis << "\n";
    const auto rate = g.HeartRate();
    out << "                 heart rate " << (rate ? std::to_string(*rate) + " /min" : "-")
        << ", P duration " << MarkSpanText(g.m_pOnset, g.m_pOffset) << ", PR "
        << MarkSpanText(g.m_pOnset, g.m_qrsOnset) << ", QRS " << MarkSpanText(g.m_qrsOnset, g.m_qrsOffset)
        << ", QT " << MarkSpanText(g.m_qrsOnset, g.m_tOffset) << "\n";
    if (r.reader.GetLoadedSections() & kSection9Bit) {
      out << "  statements     rhythm";
      for (uint16_t i = 0; i < info->m_rhythmCount; ++i) out << " " << info->m_rhythmCodes[i];
      out << "; morphology";
      for (uint16_t i = 0; i < info->m_morphologyCount; ++i) {
        out << " " << info->m_morphologyCodes[i];
      }
      out << "\n";
    }
  }

  if (SLeadMeasurements* m = r.reader.GetLeadMeasurementsPtr()) {
    out << "  lead measurements, " << m->m_count << " leads, blocks of " << m->m_blockSize
        << " bytes\n";
    for (uint32_t i = 0; i < m->m_count; ++i) {
      const SLeadMeasurement& lead = m->m_leads[i];
      int16_t values[29];
      MeasurementValues(lead, values);
      out << "    " << std::left << std::setw(5) << LeadName(lead.m_leadId) << std::right;
      for (size_t v = 0; v < 29; ++v) out << " " << kLeadMeasurementLabels[v] << "=" << values[v];
      out << "\n";
    }
  }
}

void WriteSignalJson(RecordReport& r, JsonWriter& j) {
  if (r.derive_requested) {
    j.Key("derive").BeginObject();
    j.Key("ok").Bool(r.derive_ok);
    if (!r.derive_ok) j.Key("error").Number(r.derive_error);
    j.EndObject();
  }
  SLeadDefinitions* defs = r.reader.GetLeadDefinitionsPtr();
  SEncodedData* rhythm = r.reader.GetRhythmDataPtr();
  SEncodedData* median = r.reader.GetMedianDataPtr();
  if (defs != nullptr) {
    j.Key("leadDefinitions").BeginObject();
    j.Key("count").Number(defs->m_count);
    j.Key("flags").Number(defs->m_flags);
    j.Key("referenceBeatSubtraction").Bool(defs->m_flags & kLeadFlagReferenceBeatSubtraction);
    j.Key("allSimultaneous").Bool(defs->m_flags & kLeadFlagAllSimultaneous);
    j.Key("simultaneousCount").Number(defs->SimultaneousCount());
    j.Key("leads").BeginArray();
    for (uint32_t i = 0; i < defs->m_count; ++i) {
      const SLeadDef& lead = defs->m_leads[i];
      j.BeginObject();
      j.Key("index").Number(i);
      j.Key("code").Number(lead.m_leadId);
      if (const char* name = scp::LeadCodeName(lead.m_leadId)) {
        j.Key("name").String(name);
      } else {
        j.Key("name").Null();
      }
      j.Key("startSample").Number(lead.m_startSample);
      j.Key("endSample").Number(lead.m_endSample);
      LeadSamplesJson(j, "rhythm", rhythm, i);
      LeadSamplesJson(j, "median", median, i);
      bool known = false;
      const uint16_t bits = ErrorBitsOf(r, lead.m_leadId, &known);
      if (known) {
        j.Key("errorBits").Number(bits);
      } else {
        j.Key("errorBits").Null();
      }
      j.EndObject();
    }
    j.EndArray();
    j.EndObject();
  }
  if (rhythm != nullptr) {
    j.Key("rhythm");
    SampleDataJson(j, *rhythm);
  }
  if (median != nullptr) {
    j.Key("median");
    SampleDataJson(j, *median);
  }
  SDetails details;
  if (r.reader.GetDetails(&details)) {
    j.Key("details").BeginObject();
    j.Key("rhythmSampleRate").Number(details.m_rhythmSampleRate);
    j.Key("medianSampleRate").Number(details.m_medianSampleRate);
    j.Key("rhythmAmplitudeMultiplier").Number(details.m_rhythmAmplitudeMultiplier);
    j.Key("medianAmplitudeMultiplier").Number(details.m_medianAmplitudeMultiplier);
    j.Key("rhythmSamples").Number(details.m_rhythmSamples);
    j.Key("medianSamples").Number(details.m_medianSamples);
    j.Key("leadCount").Number(details.m_leadCount);
    j.Key("medianPresent").Number(details.m_medianPresent);
    j.EndObject();
  }

  if (CAnalysisInfo* info = r.reader.GetAnalysisInfoPtr()) {
    const SGlobalMeasurements& g = info->m_global;
    j.Key("globalMeasurements").BeginObject();
    j.Key("blockCount").Number(g.m_blockCount);
    j.Key("pacemakerSpikes").Number(g.m_spikeCount);
    j.Key("rrMs").Number(g.m_rr);
    j.Key("ppMs").Number(g.m_pp);
    j.Key("pOnsetMs").Number(g.m_pOnset);
    j.Key("pOffsetMs").Number(g.m_pOffset);
    j.Key("qrsOnsetMs").Number(g.m_qrsOnset);
    j.Key("qrsOffsetMs").Number(g.m_qrsOffset);
    j.Key("tOffsetMs").Number(g.m_tOffset);
    j.Key("pAxis").Number(g.m_pAxis);
    j.Key("qrsAxis").Number(g.m_qrsAxis);
    j.Key("tAxis").Number(g.m_tAxis);
    j.Key("derived").BeginObject();
    if (const auto rate = g.HeartRate()) {
      j.Key("heartRate").Number(*rate);
    } else {
      j.Key("heartRate").Null();
    }
    const auto span = [&](const char* key, uint16_t from, uint16_t to) {
      if (const auto ms = MarkSpan(from, to)) {
        j.Key(key).Number(*ms);
      } else {
        j.Key(key).Null();
      }
    };
    span("pDurationMs", g.m_pOnset, g.m_pOffset);
    span("prIntervalMs", g.m_pOnset, g.m_qrsOnset);
    span("qrsDurationMs", g.m_qrsOnset, g.m_qrsOffset);
    span("qtIntervalMs", g.m_qrsOnset, g.m_tOffset);
    j.EndObject();
    j.EndObject();
    if (r.reader.GetLoadedSections() & kSection9Bit) {
      j.Key("statements").BeginObject();
      j.Key("rhythm").BeginArray();
      for (uint16_t i = 0; i < info->m_rhythmCount; ++i) j.Number(info->m_rhythmCodes[i]);
      j.EndArray();
      j.Key("morphology").BeginArray();
      for (uint16_t i = 0; i < info->m_morphologyCount; ++i) j.Number(info->m_morphologyCodes[i]);
      j.EndArray();
      j.EndObject();
    }
  }

  if (SLeadMeasurements* m = r.reader.GetLeadMeasurementsPtr()) {
    j.Key("leadMeasurements").BeginObject();
    j.Key("blockSize").Number(m->m_blockSize);
    j.Key("leads").BeginArray();
    for (uint32_t i = 0; i < m->m_count; ++i) {
      const SLeadMeasurement& lead = m->m_leads[i];
      int16_t values[29];
      MeasurementValues(lead, values);
      j.BeginObject();
      j.Key("lead").Number(lead.m_leadId);
      if (const char* name = scp::LeadCodeName(lead.m_leadId)) {
        j.Key("name").String(name);
      } else {
        j.Key("name").Null();
      }
      j.Key("length").Number(lead.m_length);
      for (size_t v = 0; v < 29; ++v) j.Key(kLeadMeasurementNames[v]).Number(values[v]);
      j.EndObject();
    }
    j.EndArray();
    j.EndObject();
  }
}

}  // namespace ecg::app
