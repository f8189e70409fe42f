#pragma once
// CECGFile: writes the newest part of the recording ring as a 12-lead
// handheld recorder file (the format the recorder import reads), so that
// the interface's save step can turn it into an SCP-ECG record:
//   u8 2 (blocks);
//   u16 281, u8 20, the 281-byte information block (filters, sample
//   interval, nanovolts per step, serial number, versions, date and time of
//   the first sample, displayed group, gain, speed, frame count, 8 leads);
//   u16 frames x 13, u8 23, the frames as received.
// At most kMaxFrames frames are written (the oldest after the offset),
// which keeps the data block's length within 16 bits.

#include <cstdint>
#include <string>

#include "acquisition/circular_buffer.h"
#include "platform/byte_stream.h"
#include "platform/clock.h"

class CCableSettings;
class CECGSettings;
class CDisplaySettings;
class CFilterSettings;

class CECGFile {
 public:
  static constexpr uint32_t kMaxFrames = 5000;
  static constexpr uint16_t kInfoLength = 281;
  static constexpr uint8_t kInfoType = 20;
  static constexpr uint8_t kFramesType = 23;

  // Bytes of the ring to skip, counted from the oldest.
  void SetOffset(uint32_t bytes) { m_offset = bytes; }
  // Local time of the newest frame.
  void SetEndBufferTime(const ecg::platform::SystemTime& time) { m_endTime = time; }

  // False with the last-error code: 87 an offset beyond the unread bytes,
  // 13 the ring could not be read, or the sink's own error.
  bool Write(ecg::platform::ByteStream& out, CCircularBuffer& ring, const CCableSettings& cable,
             const CECGSettings& ecg, const CDisplaySettings& display,
             const CFilterSettings& filters);
  // The same into a file that is replaced whole or not at all.
  bool WriteFile(const std::string& path, CCircularBuffer& ring, const CCableSettings& cable,
                 const CECGSettings& ecg, const CDisplaySettings& display,
                 const CFilterSettings& filters);

  // The filter flags byte: 4 = 60 Hz or 8 = 50 Hz power filter on, +16
  // muscle filter, +32 baseline filter.
  static uint8_t FilterFlags(const CFilterSettings& filters);
  // end - frames x ceil(10 000 000 / rate) x 100 ns, as a calendar time.
  static ecg::platform::SystemTime FirstSampleTime(const ecg::platform::SystemTime& end,
                                                   uint32_t frames, double rate);

 private:
  uint32_t m_offset = 0;
  ecg::platform::SystemTime m_endTime{};
};
