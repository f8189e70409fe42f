#pragma once
// Builders for device event files and handheld recorder files in tests and
// benchmarks: the bytes a device would write, made from sample values.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace ecg::test {

// Two samples (-2048 ... 2047) as a packed 12-bit pair t0 t1 t2.
inline std::array<uint8_t, 3> Pack12(int first, int second) {
  const auto a = static_cast<unsigned>(first + 2048) & 0xFFF;
  const auto b = static_cast<unsigned>(second + 2048) & 0xFFF;
  return {static_cast<uint8_t>(a >> 4), static_cast<uint8_t>(((a & 0x0F) << 4) | (b >> 8)),
          static_cast<uint8_t>(b & 0xFF)};
}

// One frame of 2 or 8 stored leads: the pairs, then the checksum (sum of
// the data bytes); `checksum_error` adds 1 to it.
inline std::vector<uint8_t> PackedFrame(const std::vector<int>& leads,
                                        bool checksum_error = false) {
  std::vector<uint8_t> frame;
  for (size_t i = 0; i + 1 < leads.size(); i += 2) {
    const auto pair = Pack12(leads[i], leads[i + 1]);
    frame.insert(frame.end(), pair.begin(), pair.end());
  }
  uint8_t sum = 0;
  for (uint8_t b : frame) sum = static_cast<uint8_t>(sum + b);
  frame.push_back(static_cast<uint8_t>(sum + (checksum_error ? 1 : 0)));
  return frame;
}

inline void PutU16(std::vector<uint8_t>& bytes, size_t at, unsigned value) {
  bytes[at] = static_cast<uint8_t>(value);
  bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

// A handheld recorder file assembled block by block. The block count byte
// is the number of blocks added unless set otherwise.
class HandheldFile {
 public:
  // Adds a block; its stated length is the body's unless given.
  HandheldFile& Block(uint8_t type, const std::vector<uint8_t>& body, int stated_length = -1) {
    const unsigned length = stated_length < 0 ? static_cast<unsigned>(body.size())
                                              : static_cast<unsigned>(stated_length);
    bytes_.push_back(static_cast<uint8_t>(length));
    bytes_.push_back(static_cast<uint8_t>(length >> 8));
    bytes_.push_back(type);
    bytes_.insert(bytes_.end(), body.begin(), body.end());
    ++blocks_;
    return *this;
  }
  HandheldFile& BlockCount(int count) {
    block_count_ = count;
    return *this;
  }
  std::vector<uint8_t> Bytes() const {
    std::vector<uint8_t> out;
    out.push_back(static_cast<uint8_t>(block_count_ < 0 ? blocks_ : block_count_));
    out.insert(out.end(), bytes_.begin(), bytes_.end());
    return out;
  }

 private:
  std::vector<uint8_t> bytes_;
  int blocks_ = 0;
  int block_count_ = -1;
};

// The information block of this system's own recordings (type 20).
struct Block20 {
  uint8_t filters = 0;
  unsigned interval = 2000;    // us
  unsigned resolution = 1000;  // nV
  std::string text = "CAB-0815";
  uint8_t hardware = 12, software = 34;
  uint8_t day = 5, month = 3;
  unsigned year = 2024;
  uint8_t hour = 14, minute = 15, second = 16;
  unsigned samples = 0;
  uint8_t single_lead = 0;
  uint8_t leads = 8;

  std::vector<uint8_t> Body() const {
    std::vector<uint8_t> b(281, 0);
    b[0] = filters;
    PutU16(b, 1, interval);
    PutU16(b, 3, resolution);
    std::memcpy(b.data() + 5, text.data(), std::min<size_t>(text.size(), 256));
    b[261] = hardware;
    b[262] = software;
    b[263] = day;
    b[264] = month;
    PutU16(b, 265, year);
    b[267] = hour;
    b[268] = minute;
    b[269] = second;
    PutU16(b, 275, samples);
    b[279] = single_lead;
    b[280] = leads;
    return b;
  }
};

// Type 23 body: one 13-byte frame per sample instant of 8 leads.
inline std::vector<uint8_t> Frames8(const std::vector<std::array<int, 8>>& instants) {
  std::vector<uint8_t> body;
  for (const auto& s : instants) {
    const auto frame = PackedFrame({s.begin(), s.end()});
    body.insert(body.end(), frame.begin(), frame.end());
  }
  return body;
}

// A handheld file as the recording window saves it: type 20 and one type 23
// block of `seconds` at 500 Hz, 8 leads of a repeating waveform.
inline std::vector<uint8_t> EightLeadRecording(unsigned seconds) {
  const unsigned samples = seconds * 500;
  std::vector<std::array<int, 8>> instants(samples);
  for (unsigned k = 0; k < samples; ++k) {
    const int beat = static_cast<int>(k % 400);
    const int wave = beat < 10 ? beat * 80 : beat < 20 ? (20 - beat) * 80 : (beat % 50) - 25;
    for (int lead = 0; lead < 8; ++lead) instants[k][lead] = wave / (lead + 1) + lead;
  }
  Block20 info;
  info.samples = samples;
  return HandheldFile().Block(20, info.Body()).Block(23, Frames8(instants), 0).Bytes();
}

}  // namespace ecg::test
