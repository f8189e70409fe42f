#pragma once
// CDemoFile: writes the recording ring as a demo (replay) file "*.ecg",
// little-endian:
//   u32 H            offset of the first frame byte
//   six records      "OK", serial number, "%dLSIM;HW v%0.1f;SW v%0.1f",
//                    "%d;12" (nanovolts per step), "%.10f" (rate x 2), "OK";
//                    each one length byte (text length + 1), the text, a zero
//   u32 D            data length, a multiple of 13
//   D bytes          13-byte cable frames, oldest first
// The records are the cable's answers to ENQ, SERNUM, ID, RES, SRATE and
// DATA, so a replay runs the same parsing as a cable.

#include <array>
#include <string>

#include "acquisition/circular_buffer.h"
#include "platform/byte_stream.h"

class CCableSettings;
class CECGSettings;

class CDemoFile {
 public:
  static constexpr size_t kRecords = 6;

  // The six record texts for these settings.
  static std::array<std::string, kRecords> RecordTexts(const CCableSettings& cable,
                                                       const CECGSettings& ecg);

  // Writes every unread byte of the ring (read through the peek cursor, so
  // the ring keeps them). False with the last-error code when the sink
  // fails or a record text is too long for its length byte (87).
  static bool Write(ecg::platform::ByteStream& out, CCircularBuffer& ring,
                    const CCableSettings& cable, const CECGSettings& ecg);
  // The same into a file that is replaced whole or not at all.
  static bool WriteFile(const std::string& path, CCircularBuffer& ring,
                        const CCableSettings& cable, const CECGSettings& ecg);
};
