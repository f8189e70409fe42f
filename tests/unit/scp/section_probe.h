#pragma once
// Runs CReader's section readers directly over section bytes held in memory,
// as Load does after GetSection: the stream stands just after the 16-byte
// section header, which is passed in.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/byte_stream.h"
#include "scp/reader.h"
#include "support/record_builder.h"

namespace ecg::test {

class SectionProbe : public CReader {
 public:
  using CReader::GetSec10Data;
  using CReader::GetSec3Data;
  using CReader::GetSec5Data;
  using CReader::GetSec6Data;
  using CReader::GetSec7Data;
  using CReader::GetSec9Data;
  using CReader::GetSec9Data_MorphologyBuf;
  using CReader::GetSec9Data_RhythmBuf;
  using CReader::GetSecEncodedData;
};

// One section in memory. `stated_length` replaces the length the header
// states (by default 16 + the content size); bytes after the content may be
// added to stand for whatever follows the section in a file.
struct SectionInMemory {
  FileHandle handle;
  SSectionHeader header;

  explicit SectionInMemory(const Bytes& content, std::optional<uint32_t> stated_length = {},
                           const Bytes& trailing = {}, uint16_t id = 0) {
    Bytes bytes(16, 0);
    header.m_id = id;
    header.m_length = stated_length.value_or(static_cast<uint32_t>(16 + content.size()));
    header.Encode(bytes.data());
    bytes.insert(bytes.end(), content.begin(), content.end());
    bytes.insert(bytes.end(), trailing.begin(), trailing.end());
    handle = std::make_unique<ecg::platform::MemoryStream>(std::move(bytes));
    handle->Seek(16);
  }
  // Where the reader left the stream, counted from the end of the header.
  uint64_t Consumed() const { return handle->Tell() - 16; }
};

}  // namespace ecg::test
