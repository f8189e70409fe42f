#include "json_writer.h"

#include <cmath>
#include <cstdio>

namespace ecg::app {

std::string JsonWriter::Quote(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buffer[8];
          std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
          out += buffer;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

void JsonWriter::BeforeValue() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (!first_.empty()) {
    if (!first_.back()) out_ += ",";
    first_.back() = false;
    out_ += "\n" + std::string(2 * first_.size(), ' ');
  }
}

JsonWriter& JsonWriter::Open(char c) {
  BeforeValue();
  out_ += c;
  first_.push_back(true);
  return *this;
}

JsonWriter& JsonWriter::Close(char c) {
  bool empty = !first_.empty() && first_.back();
  if (!first_.empty()) first_.pop_back();
  if (!empty) out_ += "\n" + std::string(2 * first_.size(), ' ');
  out_ += c;
  return *this;
}

JsonWriter& JsonWriter::Key(const std::string& key) {
  BeforeValue();
  out_ += Quote(key) + ": ";
  after_key_ = true;
  return *this;
}

JsonWriter& JsonWriter::String(const std::string& value) {
  BeforeValue();
  out_ += Quote(value);
  return *this;
}

JsonWriter& JsonWriter::Integer(int64_t value) {
  BeforeValue();
  out_ += std::to_string(value);
  return *this;
}

JsonWriter& JsonWriter::Number(double value) {
  BeforeValue();
  if (!std::isfinite(value)) {
    out_ += "null";
  } else {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    out_ += buffer;
  }
  return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
  BeforeValue();
  out_ += value ? "true" : "false";
  return *this;
}

JsonWriter& JsonWriter::Null() {
  BeforeValue();
  out_ += "null";
  return *this;
}

JsonWriter& JsonWriter::Raw(const std::string& json) {
  BeforeValue();
  out_ += json;
  return *this;
}

}  // namespace ecg::app
