#include "import/pellux_reader.h"

#include <new>
#include <vector>

#include "import/event_source.h"
#include "import/pellux_blocks.h"
#include "import/pellux_lead_blocks.h"
#include "platform/last_error.h"

using namespace ecg::platform;
using namespace ecg::import;

namespace {

constexpr uint8_t kMaxEventLeads = 12;

// The stream's remaining bytes from its position.
uint64_t Remaining(const ByteStream& stream, uint64_t size) {
  return stream.Tell() < size ? size - stream.Tell() : 0;
}

}  // namespace

bool CPelluxReader::Failure(uint32_t code, std::string reason) {
  m_failure = std::move(reason);
  ClearEvents();
  return Fail(code);
}

void CPelluxReader::ClearEvents() {
  m_events.reset();
  m_eventCount = 0;
}

bool CPelluxReader::ReadFile(const char* path, int16_t* events) {
  ClearEvents();
  EventSource source;
  if (!OpenEventFile(path, source)) {
    m_failure = path == nullptr ? "no file name" : "the file cannot be opened";
    return false;
  }
  return Read(*source.stream, source.size, events);
}

bool CPelluxReader::ReadMemory(const uint8_t* data, size_t size, int16_t* events) {
  ClearEvents();
  EventSource source;
  if (!OpenEventMemory(data, size, source)) {
    m_failure = "no bytes";
    return false;
  }
  return Read(*source.stream, source.size, events);
}

bool CPelluxReader::Read(ByteStream& stream, uint64_t size, int16_t* events) {
  ClearEvents();
  m_failure.clear();
  try {
    if (!ReadBlocks(stream, size)) return false;
  } catch (const std::bad_alloc&) {
    return Failure(kErrorOutOfMemory, "out of memory");
  }
  if (events != nullptr) *events = m_eventCount;
  SetLastError(kErrorSuccess);
  return true;
}

bool CPelluxReader::ReadBlocks(ByteStream& stream, uint64_t size) {
  // Reads n bytes, or fails the whole read saying what was being read.
  auto read = [&](void* buffer, size_t n, const char* what) {
    if (ReadBytes(stream, buffer, n)) return true;
    const uint32_t code = GetLastError();
    return Failure(code, std::string("the file ends inside ") + what);
  };
  // Skips the rest of a block's stated body after its fixed part.
  auto skip_rest = [&](uint16_t stated, size_t consumed, const char* what) {
    if (stated <= consumed) return true;
    const uint64_t rest = stated - consumed;
    if (Remaining(stream, size) < rest) {
      return Failure(kErrorInvalidData, std::string("the file ends inside ") + what);
    }
    return stream.Seek(stream.Tell() + rest) ||
           Failure(GetLastError(), std::string("cannot skip ") + what);
  };

  uint8_t header[4];
  if (!read(header, sizeof header, "the file header")) return false;
  const uint32_t blocks = header[0];
  const uint16_t info_length = static_cast<uint16_t>(header[1] | (header[2] << 8));
  const uint8_t info_type = header[3];
  const uint32_t further = blocks > 0 ? blocks - 1 : 0;

  SECGInfo info;
  info.Clear();
  uint32_t event_count = 1;
  std::vector<uint8_t> body(SPelluxBlock20::kSize);
  size_t consumed = 0;
  switch (info_type) {
    case kPelluxInfo2: {
      if (!read(body.data(), SPelluxBlock2::kSize, "the type 2 information block")) return false;
      const auto block = SPelluxBlock2::Decode(body.data());
      if (block.m_resolution == 0) {
        return Failure(kErrorInvalidData, "the type 2 information block has a resolution of 0");
      }
      info.Set(block);
      consumed = SPelluxBlock2::kSize;
      if (info_length >= SPelluxBlock2::kSize + SPelluxBlockExt::kSize) {
        if (!read(body.data(), SPelluxBlockExt::kSize, "the extension block")) return false;
        info.Set(SPelluxBlockExt::Decode(body.data()));
        consumed += SPelluxBlockExt::kSize;
      }
      break;
    }
    case kPelluxInfo3: {
      if (!read(body.data(), SPelluxBlock3::kSize, "the type 3 information block")) return false;
      const auto block = SPelluxBlock3::Decode(body.data());
      if (block.m_common.m_resolution == 0) {
        return Failure(kErrorInvalidData, "the type 3 information block has a resolution of 0");
      }
      info.Set(block);
      // The lead count must match the lead blocks that follow; a 6- or
      // 12-lead setting with fewer blocks takes the block count.
      if (info.m_leadCount != further) {
        if ((info.m_leadCount == 6 || info.m_leadCount == 12) && further <= info.m_leadCount) {
          info.m_leadCount = static_cast<uint8_t>(further);
        } else {
          return Failure(kErrorInvalidData, "the type 3 information block's lead count " +
                                                std::to_string(info.m_leadCount) +
                                                " does not match " + std::to_string(further) +
                                                " further blocks");
        }
      }
      consumed = SPelluxBlock3::kSize;
      if (info_length >= SPelluxBlock3::kSize + SPelluxBlockExt::kSize) {
        if (!read(body.data(), SPelluxBlockExt::kSize, "the extension block")) return false;
        info.Set(SPelluxBlockExt::Decode(body.data()));
        consumed += SPelluxBlockExt::kSize;
      }
      break;
    }
    case kPelluxInfo20:
      if (!read(body.data(), SPelluxBlock20::kSize, "the type 20 information block")) {
        return false;
      }
      info.Set(SPelluxBlock20::Decode(body.data()));
      consumed = SPelluxBlock20::kSize;
      break;
    case kPelluxInfo30: {
      if (!read(body.data(), SPelluxBlock15::kSize, "the type 30 information block")) {
        return false;
      }
      const auto block = SPelluxBlock15::Decode(body.data());
      info.Set(block);
      event_count = block.m_eventCount == 0 ? 1 : block.m_eventCount;
      consumed = SPelluxBlock15::kSize;
      break;
    }
    default:
      return Failure(kErrorInvalidData,
                     "unsupported information block type " + std::to_string(info_type));
  }
  if (!skip_rest(info_length, consumed, "the information block")) return false;
  if (info.m_leadCount < 1 || info.m_leadCount > kMaxEventLeads) {
    return Failure(kErrorInvalidData,
                   "lead count " + std::to_string(info.m_leadCount) + " is outside 1-12");
  }

  m_events.reset(new (std::nothrow) SEvent[event_count]);
  if (!m_events) return Failure(kErrorOutOfMemory, "out of memory");
  m_eventCount = static_cast<int16_t>(event_count);
  for (uint32_t e = 0; e < event_count; ++e) m_events[e].m_info.Set(info);

  uint32_t current = 0;
  bool event_block_seen = false;
  std::vector<uint8_t> data;
  for (uint32_t b = 0; b < further; ++b) {
    uint8_t block_header[3];
    if (!read(block_header, sizeof block_header, "a block header")) return false;
    const uint16_t length = static_cast<uint16_t>(block_header[0] | (block_header[1] << 8));
    const uint8_t type = block_header[2];
    const std::string where =
        "block " + std::to_string(b + 2) + " (type " + std::to_string(type) + ")";

    if (type == kPelluxEvent31) {
      if (!read(body.data(), SPelluxBlock16::kSize, where.c_str())) return false;
      const auto block = SPelluxBlock16::Decode(body.data());
      if (block.m_mark == 0) return Failure(kErrorInvalidData, where + ": byte 5 is 0");
      if (event_block_seen && ++current >= event_count) {
        return Failure(kErrorOutOfStructures, where + ": more event blocks than the " +
                                                  std::to_string(event_count) + " events");
      }
      event_block_seen = true;
      SEvent& event = m_events[current];
      if (event.m_leads.m_count != 0 &&
          event.m_leads.m_leads[0].m_sampleCount != block.m_samplesPerLead) {
        return Failure(kErrorInvalidData,
                       where + ": the event's sample count changed after its first lead");
      }
      event.m_info.Set(block);
      if (!skip_rest(length, SPelluxBlock16::kSize, where.c_str())) return false;
      continue;
    }

    LeadBlockCoding coding;
    if (!LeadBlockCodingFor(type, &coding)) {
      return Failure(kErrorInvalidData, where + ": unsupported block type");
    }
    SEvent& event = m_events[current];
    const uint32_t samples = event.m_info.m_samplesPerLead;
    if (samples == 0) {
      return Failure(kErrorInvalidParameter, where + ": the event has no samples");
    }
    const uint64_t bytes = LeadBlockBytes(type, samples);
    if (Remaining(stream, size) < bytes) {
      return Failure(kErrorInvalidData, "the file ends inside " + where);
    }
    if (event.m_leads.m_count == 0) {
      if (!event.InitLeads(event.m_info.m_leadCount)) {
        return Failure(GetLastError(), where + ": cannot make room for the leads");
      }
    } else if (event.m_leads.m_leads[0].m_sampleCount != samples) {
      return Failure(kErrorInvalidData,
                     where + ": the event's sample count changed after its first lead");
    }
    if (uint32_t{event.m_leads.m_filled} + coding.leads > event.m_leads.m_count) {
      return Failure(kErrorOutOfStructures, where + ": more leads than the event's " +
                                                std::to_string(event.m_leads.m_count));
    }
    data.resize(static_cast<size_t>(bytes));
    if (!read(data.data(), data.size(), where.c_str())) return false;
    DecodeLeadBlock(type, data.data(), samples, event.m_info.m_singleLeadIndex, event.m_leads);
  }
  return true;
}

SLeadObj* CPelluxReader::GetEvent(int16_t n, SECGInfo* info) {
  if (info == nullptr) {
    Fail(kErrorInvalidParameter);
    return nullptr;
  }
  if (m_eventCount <= 0 || !m_events) {
    Fail(kErrorNoData);
    return nullptr;
  }
  if (n < 0 || n >= m_eventCount) {
    Fail(kErrorOutOfStructures);
    return nullptr;
  }
  info->Set(m_events[n].m_info);
  SetLastError(kErrorSuccess);
  return &m_events[n].m_leads;
}
