#include "support/section_builders.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ecg::test {

// ----------------------------------------------------------------- Section 3

Bytes Section3(const std::vector<LeadRange>& leads, uint8_t flags) {
  Bytes b;
  b.push_back(static_cast<uint8_t>(leads.size()));
  b.push_back(flags);
  for (const auto& lead : leads) {
    PutU32(b, lead.start);
    PutU32(b, lead.end);
    b.push_back(lead.code);
  }
  return b;
}

uint8_t SimultaneousFlags(uint8_t n) { return static_cast<uint8_t>(0x04 | ((n & 0x1F) << 3)); }

// ------------------------------------------------------------ Sections 5, 6

Bytes SampleSectionBytes(const SampleSection& s) {
  Bytes b;
  PutU16(b, s.multiplier);
  PutU16(b, s.interval);
  b.push_back(s.difference);
  b.push_back(s.bimodal);
  for (size_t i = 0; i < s.leads.size(); ++i) {
    const uint16_t stated = s.byte_lengths && i < s.byte_lengths->size()
                                ? (*s.byte_lengths)[i]
                                : static_cast<uint16_t>(2 * s.leads[i].size());
    PutU16(b, stated);
  }
  for (const auto& lead : s.leads) {
    for (int16_t v : lead) PutU16(b, static_cast<uint16_t>(v));
  }
  return b;
}

// ----------------------------------------------------------------- Section 7

Bytes Section7(const GlobalSection& s) {
  Bytes b;
  b.push_back(s.block_count.value_or(static_cast<uint8_t>(s.blocks.size())));
  b.push_back(s.spikes);
  PutU16(b, s.rr);
  PutU16(b, s.pp);
  for (const auto& block : s.blocks) {
    PutU16(b, block.p_onset);
    PutU16(b, block.p_offset);
    PutU16(b, block.qrs_onset);
    PutU16(b, block.qrs_offset);
    PutU16(b, block.t_offset);
    PutU16(b, static_cast<uint16_t>(block.p_axis));
    PutU16(b, static_cast<uint16_t>(block.qrs_axis));
    PutU16(b, static_cast<uint16_t>(block.t_axis));
  }
  return b;
}

// ----------------------------------------------------------------- Section 9

Bytes Section9(const std::string& entries) { return Bytes(entries.begin(), entries.end()); }

Bytes Section9Codes(const std::vector<uint16_t>& rhythm, const std::vector<uint16_t>& morphology) {
  std::string text;
  auto add = [&text](const std::vector<uint16_t>& codes, size_t entries) {
    for (size_t i = 0; i < entries; ++i) {
      if (i < codes.size()) {
        char entry[8];
        std::snprintf(entry, sizeof entry, "%03u", static_cast<unsigned>(codes[i] % 1000));
        text += entry;
      } else {
        text += "   ";
      }
    }
  };
  add(rhythm, 3);
  add(morphology, 7);
  return Section9(text);
}

// ---------------------------------------------------------------- Section 10

LeadBlock TypicalLeadBlock(uint8_t code) {
  const int16_t c = code;
  // lead, length, P, PR, QRS, QT, Q, R, S, R', S' durations; Q, R, S, R', S'
  // amplitudes; J, P+, P-, T+, T-; ST slope; P, T morphology; iso onset,
  // offset; intrinsicoid; quality; ST J+20, J+60, J+80.
  return LeadBlock{c,   58,  100, 160, 90,    400, 20, 40, 30, 0, 0,
                   -80, static_cast<int16_t>(900 + 10 * c), -300, 0, 0,
                   20,  120, -10, 250, 0,  5,  1,  1,  12, 8,  35,
                   0,   30,  60,  80};
}

Bytes Section10(const std::vector<LeadBlock>& leads, uint16_t block_size) {
  Bytes b;
  PutU16(b, static_cast<uint16_t>(leads.size()));
  PutU16(b, block_size);
  for (const auto& lead : leads) {
    Bytes block;
    for (int16_t v : lead) PutU16(block, static_cast<uint16_t>(v));
    block.resize(block_size, 0);
    b.insert(b.end(), block.begin(), block.end());
  }
  return b;
}

// ------------------------------------------------------------ Whole records

std::vector<uint8_t> AcquiredLeadCodes() { return {1, 2, 3, 4, 5, 6, 7, 8}; }

std::vector<uint8_t> TwelveLeadCodes() { return {1, 2, 3, 4, 5, 6, 7, 8, 61, 62, 63, 64}; }

namespace {

struct WaveShape {
  double p, q, r, s, t;  // µV
};

WaveShape ShapeOf(uint8_t code) {
  switch (code) {
    case 1: return {80, -60, 700, -120, 200};
    case 2: return {120, -80, 1100, -200, 300};
    case 3: return {60, 0, 250, -900, -100};
    case 4: return {70, 0, 450, -1200, 350};
    case 5: return {80, -40, 800, -800, 450};
    case 6: return {90, -70, 1300, -400, 420};
    case 7: return {90, -90, 1400, -200, 350};
    case 8: return {80, -80, 1100, -100, 280};
    default: return {0, 0, 0, 0, 0};
  }
}

double Gauss(double t, double centre, double width) {
  const double x = (t - centre) / width;
  return std::exp(-0.5 * x * x);
}

// One beat starting at t = 0 (seconds).
double Beat(const WaveShape& w, double t) {
  return w.p * Gauss(t, 0.20, 0.025) + w.q * Gauss(t, 0.33, 0.008) +
         w.r * Gauss(t, 0.35, 0.010) + w.s * Gauss(t, 0.375, 0.010) +
         w.t * Gauss(t, 0.60, 0.050);
}

double Acquired(uint8_t code, double t, double period) {
  return Beat(ShapeOf(code), std::fmod(t, period));
}

double LeadValue(uint8_t code, double t, double period) {
  const double i = Acquired(1, t, period);
  const double ii = Acquired(2, t, period);
  switch (code) {
    case 61: return ii - i;
    case 62: return -(i + ii) / 2;
    case 63: return i - ii / 2;
    case 64: return ii - i / 2;
    default: return Acquired(code, t, period);
  }
}

int16_t ToSample(double v) {
  return static_cast<int16_t>(std::clamp(std::lround(v), -32768L, 32767L));
}

}  // namespace

std::vector<int16_t> SyntheticLead(uint8_t code, uint32_t samples, uint32_t rate_hz,
                                   uint32_t heart_rate) {
  const double period = 60.0 / heart_rate;
  std::vector<int16_t> out(samples);
  for (uint32_t k = 0; k < samples; ++k) {
    out[k] = ToSample(LeadValue(code, static_cast<double>(k) / rate_hz, period));
  }
  return out;
}

Bytes SyntheticEcgRecord(const EcgRecordSpec& spec) {
  const uint32_t samples = spec.seconds * spec.rate_hz;
  const uint16_t interval = static_cast<uint16_t>(1000000 / spec.rate_hz);
  RecordBuilder builder;
  if (spec.section1) builder.AddSection1(TypicalSection1());

  std::vector<LeadRange> ranges;
  for (uint8_t code : spec.leads) ranges.push_back({code, 1, samples});
  builder.AddSection(3, Section3(ranges, SimultaneousFlags(static_cast<uint8_t>(spec.leads.size()))));

  if (spec.medians) {
    SampleSection median;
    median.interval = interval;
    const uint32_t beat = spec.rate_hz * 6 / 5;  // 1.2 s
    for (uint8_t code : spec.leads) median.leads.push_back(SyntheticLead(code, beat, spec.rate_hz, 50));
    builder.AddSection(5, SampleSectionBytes(median));
  }

  SampleSection rhythm;
  rhythm.interval = interval;
  for (uint8_t code : spec.leads) rhythm.leads.push_back(SyntheticLead(code, samples, spec.rate_hz));
  builder.AddSection(6, SampleSectionBytes(rhythm));

  if (spec.measurements) {
    GlobalSection global;
    global.rr = 833;
    global.pp = 833;
    if (spec.p_wave) {
      global.blocks.push_back({150, 250, 310, 400, 720, 52, 48, 39});
    } else {
      global.blocks.push_back({29999, 29999, 310, 400, 720, 999, 48, 39});
    }
    builder.AddSection(7, Section7(global));
    builder.AddSection(9, Section9Codes({21}, {1, 101}));
    std::vector<LeadBlock> blocks;
    for (uint8_t code : spec.leads) blocks.push_back(TypicalLeadBlock(code));
    builder.AddSection(10, Section10(blocks));
  }
  return builder.Build();
}

}  // namespace ecg::test
