#pragma once
// Where a record's bytes come from: a file path (the usual case; a const
// char* converts implicitly) or a memory buffer the caller keeps alive.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/byte_stream.h"

using FileHandle = std::unique_ptr<ecg::platform::ByteStream>;

class RecordSource {
 public:
  RecordSource(const char* path) : is_null_(path == nullptr), path_(path ? path : "") {}
  RecordSource(const std::string& path) : is_null_(false), path_(path) {}
  static RecordSource Memory(std::span<const uint8_t> bytes) {
    RecordSource source(nullptr);
    source.is_null_ = false;
    source.is_memory_ = true;
    source.bytes_ = bytes;
    return source;
  }

  bool IsNull() const { return is_null_; }
  const std::string& path() const { return path_; }
  // Opens for reading; null with the last-error code on failure.
  FileHandle OpenRead() const;

 private:
  bool is_null_;
  bool is_memory_ = false;
  std::string path_;
  std::span<const uint8_t> bytes_;
};
