#pragma once
// A small streaming JSON writer for the program's --json output.

#include <concepts>
#include <cstdint>
#include <string>
#include <vector>

namespace ecg::app {

class JsonWriter {
 public:
  JsonWriter& BeginObject() { return Open('{'); }
  JsonWriter& EndObject() { return Close('}'); }
  JsonWriter& BeginArray() { return Open('['); }
  JsonWriter& EndArray() { return Close(']'); }
  JsonWriter& Key(const std::string& key);
  JsonWriter& String(const std::string& value);
  template <std::integral T>
  JsonWriter& Number(T value) {
    return Integer(static_cast<int64_t>(value));
  }
  JsonWriter& Integer(int64_t value);
  JsonWriter& Number(double value);
  JsonWriter& Bool(bool value);
  JsonWriter& Null();
  // Inserts already-formatted JSON as one value.
  JsonWriter& Raw(const std::string& json);
  const std::string& str() const { return out_; }

  static std::string Quote(const std::string& text);

 private:
  JsonWriter& Open(char c);
  JsonWriter& Close(char c);
  void BeforeValue();
  std::string out_;
  std::vector<bool> first_;  // per open container: no element written yet
  bool after_key_ = false;
};

}  // namespace ecg::app
