// Sections 4, 7 and 10 as bytes.

#include "engine/result_sections.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/interpretation.h"
#include "engine/lead_measurements.h"
#include "scp/container.h"

namespace ecg::engine {

namespace {

class Bytes {
 public:
  Bytes() : b_(kSectionHeaderSize, 0) {}
  void U8(uint32_t v) { b_.push_back(static_cast<uint8_t>(v)); }
  void U16(uint32_t v) {
    U8(v);
    U8(v >> 8);
  }
  void I16(int32_t v) { U16(static_cast<uint16_t>(static_cast<int16_t>(std::clamp(v, -32768, 32767)))); }
  void U32(uint32_t v) {
    U16(v);
    U16(v >> 16);
  }
  std::vector<uint8_t> Done() {
    if (b_.size() % 2 != 0) b_.push_back(0);
    return std::move(b_);
  }

 private:
  std::vector<uint8_t> b_;
};

uint32_t U16Field(int32_t v) { return static_cast<uint32_t>(std::clamp(v, 0, 65535)); }

uint32_t RecordSample(const EcgSignal& signal, double index) {
  const double clamped = std::clamp(index, 0.0, static_cast<double>(signal.samples ? signal.samples - 1 : 0));
  return signal.first_sample + static_cast<uint32_t>(std::lround(clamped));
}

}  // namespace

std::vector<uint8_t> Section4Bytes(const EcgSignal& signal, const AnalysisResult& result) {
  Bytes b;
  const MedianBeats& m = result.medians;
  const Delineation& d = result.delineation;
  const auto& beats = result.beats.beats;
  const size_t count = std::min<size_t>(beats.size(), 65535);
  b.U16(U16Field(static_cast<int32_t>(std::lround(m.Ms(static_cast<double>(m.length))))));
  b.U16(U16Field(static_cast<int32_t>(m.fiducial + 1)));
  b.U16(static_cast<uint32_t>(count));
  for (size_t k = 0; k < count; ++k) {
    b.U16(beats[k].type);
    b.U32(0);
    b.U32(RecordSample(signal, static_cast<double>(beats[k].fiducial)));
    b.U32(0);
  }
  for (size_t k = 0; k < count; ++k) {
    const Beat& beat = beats[k];
    double from = static_cast<double>(beat.onset), to = static_cast<double>(beat.offset);
    if ((beat.type == kBeatDominant || beat.type == kBeatPremature) && d.qrs_found) {
      const double shift = static_cast<double>(beat.fiducial) - static_cast<double>(m.fiducial);
      from = d.qrs_on + shift;
      to = d.qrs_off + shift;
    }
    b.U32(RecordSample(signal, std::floor(from)));
    b.U32(RecordSample(signal, std::ceil(to)));
  }
  return b.Done();
}

std::vector<uint8_t> Section7Bytes(const AnalysisResult& result) {
  const GlobalValues& g = result.global;
  Bytes b;
  b.U8(1);  // one measurement block: the dominant beat
  b.U8(0);  // no pacemaker spikes
  b.U16(U16Field(g.rr_ms));
  b.U16(U16Field(g.pp_ms));
  b.U16(U16Field(g.p_on_ms));
  b.U16(U16Field(g.p_off_ms));
  b.U16(U16Field(g.qrs_on_ms));
  b.U16(U16Field(g.qrs_off_ms));
  b.U16(U16Field(g.t_off_ms));
  b.I16(g.p_axis);
  b.I16(g.qrs_axis);
  b.I16(g.t_axis);
  const auto& beats = result.beats.beats;
  const size_t count = std::min<size_t>(beats.size(), 65535);
  b.U16(static_cast<uint32_t>(count));
  for (size_t k = 0; k < count; ++k) b.U8(beats[k].type);
  b.U16(U16Field(g.heart_rate > 0 ? g.heart_rate : kNotComputed));
  const int32_t atrial = g.pp_ms > 0 && g.pp_ms != kNotComputed
                             ? static_cast<int32_t>(std::lround(60000.0 / g.pp_ms))
                             : kNotComputed;
  b.U16(U16Field(atrial));
  b.U16(U16Field(g.qtc_ms));
  b.U8(1);   // QTc by Bazett
  b.U16(0);  // no tagged fields
  return b.Done();
}

std::vector<uint8_t> Section9Bytes(const AnalysisResult& result) {
  Bytes b;
  for (uint8_t c : Section9Entries(result.interpretation)) b.U8(c);
  return b.Done();
}

std::vector<uint8_t> Section10Bytes(const AnalysisResult& result) {
  Bytes b;
  const size_t count = std::min<size_t>(result.leads.size(), SLeadMeasurements::kMaxLeads);
  b.U16(static_cast<uint32_t>(count));
  b.U16(SLeadMeasurements::kBlockSize);
  for (size_t k = 0; k < count; ++k) {
    uint8_t block[sizeof(SLeadMeasurement)];
    std::memcpy(block, &result.leads[k], sizeof block);
    // The block is little-endian 16-bit fields, as the struct holds them.
    for (size_t i = 0; i + 1 < sizeof block; i += 2) b.U16(static_cast<uint32_t>(block[i] | (block[i + 1] << 8)));
  }
  return b.Done();
}

}  // namespace ecg::engine
