#pragma once
// A small JSON reader for the reference files of the evaluation data: a
// document tree of null, booleans, numbers, strings, arrays and objects.
// Hostile input gets an error with its byte position, never a crash: depth,
// size and every escape are checked.

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ecg::engine::eval {

class JsonValue {
 public:
  enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject };

  Kind kind() const { return kind_; }
  bool IsNull() const { return kind_ == Kind::kNull; }
  bool IsNumber() const { return kind_ == Kind::kNumber; }
  bool IsString() const { return kind_ == Kind::kString; }
  bool IsArray() const { return kind_ == Kind::kArray; }
  bool IsObject() const { return kind_ == Kind::kObject; }

  double number() const { return number_; }
  bool boolean() const { return boolean_; }
  const std::string& text() const { return text_; }
  const std::vector<JsonValue>& items() const { return items_; }
  // Members in file order; Find gives the first with that name or null.
  const std::vector<std::pair<std::string, JsonValue>>& members() const { return members_; }
  const JsonValue* Find(std::string_view name) const;

 private:
  friend class JsonParser;
  Kind kind_ = Kind::kNull;
  bool boolean_ = false;
  double number_ = 0;
  std::string text_;
  std::vector<JsonValue> items_;
  std::vector<std::pair<std::string, JsonValue>> members_;
};

constexpr size_t kMaxJsonDepth = 64;
constexpr size_t kMaxJsonBytes = 64u << 20;

// Parses a whole document (trailing white space only). False with a reason
// such as "expected ':' at byte 17".
bool ParseJson(std::string_view text, JsonValue& out, std::string& error);

}  // namespace ecg::engine::eval
