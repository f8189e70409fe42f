#include "interpretation_fixture.h"

#include <algorithm>
#include <cmath>

#include "engine/axes.h"
#include "engine/lead_measurements.h"

namespace ecg::test::engine {

using namespace ecg::engine;

namespace {

// QRS waves of a normal adult ECG per lead: Q, R, S amplitudes (µV) and
// durations (ms), T wave (µV).
struct Normal {
  int16_t q, r, s, q_ms, r_ms, s_ms, t;
};

constexpr Normal kNormal[kSlotCount] = {
    {-50, 700, -100, 15, 45, 25, 250},   // I
    {-60, 1000, -150, 15, 45, 25, 300},  // II
    {0, 400, -200, 0, 40, 30, 100},      // III
    {0, 100, -800, 0, 20, 60, -250},     // aVR
    {-40, 300, -200, 12, 35, 30, 100},   // aVL
    {-30, 700, -150, 10, 45, 25, 200},   // aVF
    {0, 200, -900, 0, 25, 55, 150},      // V1
    {0, 400, -1200, 0, 30, 50, 500},     // V2
    {0, 700, -800, 0, 40, 40, 450},      // V3
    {-40, 1100, -400, 12, 45, 30, 400},  // V4
    {-60, 1200, -200, 15, 50, 25, 300},  // V5
    {-60, 1000, -100, 15, 50, 20, 250},  // V6
};

}  // namespace

InterpretationFixture::InterpretationFixture() {
  signal_.rate = 500;
  signal_.samples = 5000;
  for (int s = 0; s < kSlotCount; ++s) {
    ecg::engine::Lead lead;
    lead.code = SlotCode(s);
    signal_.slot[s] = s;
    signal_.leads.push_back(lead);
    SLeadMeasurement m{};
    m.m_leadId = lead.code;
    m.m_length = 58;
    const Normal& n = kNormal[s];
    m.m_qAmplitude = n.q;
    m.m_qDuration = n.q_ms;
    m.m_rAmplitude = n.r;
    m.m_rDuration = n.r_ms;
    m.m_sAmplitude = n.s;
    m.m_sDuration = n.s_ms;
    m.m_qrsDuration = 90;
    m.m_intrinsicoidDeflection = 35;
    m.m_tPlusAmplitude = static_cast<int16_t>(n.t > 0 ? n.t : 0);
    m.m_tMinusAmplitude = static_cast<int16_t>(n.t < 0 ? n.t : 0);
    m.m_tMorphology = n.t > 0 ? 1 : 2;
    m.m_pPlusAmplitude = s == kSlotAVR ? 0 : 100;
    m.m_pMinusAmplitude = s == kSlotAVR ? -100 : 0;
    m.m_pMorphology = s == kSlotAVR ? 2 : 1;
    result_.leads.push_back(m);
  }
  GlobalValues& g = result_.global;
  g.p_on_ms = 200;
  g.p_off_ms = 300;
  g.qrs_on_ms = 360;
  g.qrs_off_ms = 450;
  g.t_off_ms = 760;
  g.p_axis = 50;
  g.qrs_axis = 45;
  g.t_axis = 40;
  result_.delineation.qrs_found = true;
  result_.delineation.p_present = true;
  result_.delineation.t_found = true;
  SetRate(75);
}

SLeadMeasurement& InterpretationFixture::Lead(int slot) { return result_.leads[static_cast<size_t>(slot)]; }

void InterpretationFixture::SetPr(int pr_ms) {
  GlobalValues& g = result_.global;
  g.p_on_ms = g.qrs_on_ms - pr_ms;
  g.p_off_ms = g.p_on_ms + 100;
}

void InterpretationFixture::SetQrs(int qrs_ms) {
  result_.global.qrs_off_ms = result_.global.qrs_on_ms + qrs_ms;
  for (SLeadMeasurement& m : result_.leads) m.m_qrsDuration = static_cast<int16_t>(qrs_ms);
}

void InterpretationFixture::SetQt(int qt_ms) { result_.global.t_off_ms = result_.global.qrs_on_ms + qt_ms; }

void InterpretationFixture::SetRate(int bpm) {
  const double rr = 60000.0 / bpm;
  result_.global.rr_ms = static_cast<int32_t>(std::lround(rr));
  result_.global.heart_rate = bpm;
  std::vector<double> intervals(static_cast<size_t>(std::max(4.0, 10000.0 / rr)), rr);
  SetIntervals(intervals);
  result_.global.heart_rate = bpm;
}

void InterpretationFixture::NoPWaves() {
  result_.delineation.p_present = false;
  result_.global.p_on_ms = result_.global.p_off_ms = kNotComputed;
  result_.global.p_axis = kAxisUndefined;
}

void InterpretationFixture::SetIntervals(const std::vector<double>& ms) {
  TypedBeats& typed = result_.beats;
  typed.beats.clear();
  double at = 300;
  Beat first;
  first.fiducial = static_cast<size_t>(at);
  typed.beats.push_back(first);
  for (double interval : ms) {
    at += interval * signal_.rate / 1000.0;
    Beat b;
    b.fiducial = static_cast<size_t>(std::lround(at));
    typed.beats.push_back(b);
  }
  double sum = 0;
  for (double v : ms) sum += v;
  if (!ms.empty()) {
    result_.global.rr_ms = static_cast<int32_t>(std::lround(sum / static_cast<double>(ms.size())));
    result_.global.heart_rate = static_cast<int32_t>(std::lround(60000.0 / result_.global.rr_ms));
  }
}

void InterpretationFixture::MarkBeat(size_t index, BeatType type) { result_.beats.beats.at(index).type = type; }

void InterpretationFixture::Advance(size_t index, double ms) {
  Beat& b = result_.beats.beats.at(index);
  b.fiducial -= static_cast<size_t>(std::lround(ms * signal_.rate / 1000.0));
}

Interpretation InterpretationFixture::Run() const { return Interpret(signal_, result_, options_); }

}  // namespace ecg::test::engine
