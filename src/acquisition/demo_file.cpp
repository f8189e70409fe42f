#include "acquisition/demo_file.h"

#include <cstdio>
#include <vector>

#include "acquisition/cable_settings.h"
#include "acquisition/ecg_settings.h"
#include "platform/last_error.h"

using ecg::platform::ByteStream;
using ecg::platform::Fail;
using ecg::platform::kErrorInvalidParameter;

namespace {

std::string Format(const char* format, double a, double b = 0, double c = 0) {
  char text[128];
  std::snprintf(text, sizeof text, format, a, b, c);
  return text;
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

std::array<std::string, CDemoFile::kRecords> CDemoFile::RecordTexts(const CCableSettings& cable,
                                                                    const CECGSettings& ecg) {
  char id[128];
  std::snprintf(id, sizeof id, "%dLSIM;HW v%0.1f;SW v%0.1f", static_cast<int>(cable.m_leads),
                cable.m_hardwareVersion / 10.0, cable.m_softwareVersion / 10.0);
  char res[32];
  std::snprintf(res, sizeof res, "%d;12", static_cast<int>(ecg.GetResolution() * 1000.0));
  return {"OK", cable.SerialNumber(), id, res, Format("%.10f", ecg.GetSamplingRate() * 2.0), "OK"};
}

bool CDemoFile::Write(ByteStream& out, CCircularBuffer& ring, const CCableSettings& cable,
                      const CECGSettings& ecg) {
  const auto texts = RecordTexts(cable, ecg);
  uint32_t header = 8;
  for (const auto& t : texts) {
    if (t.size() + 1 > 255) return Fail(kErrorInvalidParameter);
    header += static_cast<uint32_t>(t.size() + 2);
  }
  // Whole frames only: a replay refuses a data length that is not a multiple of 13.
  const uint32_t data_length = ring.Size() - ring.Size() % 13;
  std::vector<uint8_t> head;
  PutU32(head, header);
  for (const auto& t : texts) {
    head.push_back(static_cast<uint8_t>(t.size() + 1));
    head.insert(head.end(), t.begin(), t.end());
    head.push_back(0);
  }
  PutU32(head, data_length);
  if (!out.Write(head.data(), head.size())) return false;

  ring.ResetRead();
  uint8_t chunk[100];
  uint32_t size = sizeof chunk;
  uint32_t written = 0;
  while (written < data_length && size > 0) {
    const uint32_t want = std::min(size, data_length - written);
    if (!ring.Read(chunk, want)) {
      size /= 2;
      continue;
    }
    if (!out.Write(chunk, want)) return false;
    written += want;
  }
  if (written != data_length) return Fail(ecg::platform::kErrorInvalidData);
  return out.Flush();
}

bool CDemoFile::WriteFile(const std::string& path, CCircularBuffer& ring,
                          const CCableSettings& cable, const CECGSettings& ecg) {
  ecg::platform::MemoryStream memory;
  if (!Write(memory, ring, cable, ecg)) return false;
  return ecg::platform::ReplaceFileContents(path, memory.bytes());
}
