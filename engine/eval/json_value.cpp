// Recursive-descent JSON reader with depth and size limits.

#include "engine/eval/json_value.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace ecg::engine::eval {

const JsonValue* JsonValue::Find(std::string_view name) const {
  for (const auto& [key, value] : members_) {
    if (key == name) return &value;
  }
  return nullptr;
}

class JsonParser {
 public:
  JsonParser(std::string_view text, std::string& error) : s_(text), error_(error) {}

  bool Document(JsonValue& out) {
    if (s_.size() > kMaxJsonBytes) return Error("document larger than the limit");
    if (!Value(out, 0)) return false;
    Space();
    if (pos_ != s_.size()) return Error("unexpected text after the document");
    return true;
  }

 private:
  bool Error(const char* what) {
    error_ = std::string(what) + " at byte " + std::to_string(pos_);
    return false;
  }
  void Space() {
    while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\n' || s_[pos_] == '\r')) ++pos_;
  }
  bool Literal(std::string_view word) {
    if (s_.substr(pos_, word.size()) != word) return Error("unknown literal");
    pos_ += word.size();
    return true;
  }

  bool Value(JsonValue& out, size_t depth) {
    if (depth > kMaxJsonDepth) return Error("nesting deeper than the limit");
    Space();
    if (pos_ >= s_.size()) return Error("unexpected end");
    const char c = s_[pos_];
    switch (c) {
      case '{': return Object(out, depth);
      case '[': return Array(out, depth);
      case '"':
        out.kind_ = JsonValue::Kind::kString;
        return String(out.text_);
      case 't':
        out.kind_ = JsonValue::Kind::kBool;
        out.boolean_ = true;
        return Literal("true");
      case 'f':
        out.kind_ = JsonValue::Kind::kBool;
        out.boolean_ = false;
        return Literal("false");
      case 'n':
        out.kind_ = JsonValue::Kind::kNull;
        return Literal("null");
      default: return Number(out);
    }
  }

  bool Number(JsonValue& out) {
    const size_t start = pos_;
    if (pos_ < s_.size() && s_[pos_] == '-') ++pos_;
    auto digits = [&] {
      const size_t from = pos_;
      while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') ++pos_;
      return pos_ > from;
    };
    if (!digits()) return Error("expected a value");
    if (pos_ < s_.size() && s_[pos_] == '.') {
      ++pos_;
      if (!digits()) return Error("expected digits after '.'");
    }
    if (pos_ < s_.size() && (s_[pos_] == 'e' || s_[pos_] == 'E')) {
      ++pos_;
      if (pos_ < s_.size() && (s_[pos_] == '+' || s_[pos_] == '-')) ++pos_;
      if (!digits()) return Error("expected an exponent");
    }
    const std::string text(s_.substr(start, pos_ - start));
    errno = 0;
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(v)) return Error("number out of range");
    out.kind_ = JsonValue::Kind::kNumber;
    out.number_ = v;
    return true;
  }

  static void PutUtf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }

  bool Hex4(unsigned& v) {
    if (pos_ + 4 > s_.size()) return Error("short \\u escape");
    v = 0;
    for (int i = 0; i < 4; ++i) {
      const char h = s_[pos_++];
      v <<= 4;
      if (h >= '0' && h <= '9') v |= static_cast<unsigned>(h - '0');
      else if (h >= 'a' && h <= 'f') v |= static_cast<unsigned>(h - 'a' + 10);
      else if (h >= 'A' && h <= 'F') v |= static_cast<unsigned>(h - 'A' + 10);
      else return Error("bad \\u escape");
    }
    return true;
  }

  bool String(std::string& out) {
    ++pos_;  // opening quote
    out.clear();
    while (true) {
      if (pos_ >= s_.size()) return Error("unterminated string");
      const char c = s_[pos_++];
      if (c == '"') return true;
      if (static_cast<unsigned char>(c) < 0x20) return Error("control character in a string");
      if (c != '\\') {
        out.push_back(c);
        continue;
      }
      if (pos_ >= s_.size()) return Error("unterminated escape");
      const char e = s_[pos_++];
      switch (e) {
        case '"': out.push_back('"'); break;
        case '\\': out.push_back('\\'); break;
        case '/': out.push_back('/'); break;
        case 'b': out.push_back('\b'); break;
        case 'f': out.push_back('\f'); break;
        case 'n': out.push_back('\n'); break;
        case 'r': out.push_back('\r'); break;
        case 't': out.push_back('\t'); break;
        case 'u': {
          unsigned cp = 0;
          if (!Hex4(cp)) return false;
          if (cp >= 0xD800 && cp <= 0xDBFF) {
            unsigned low = 0;
            if (pos_ + 2 > s_.size() || s_[pos_] != '\\' || s_[pos_ + 1] != 'u') return Error("lone surrogate");
            pos_ += 2;
            if (!Hex4(low)) return false;
            if (low < 0xDC00 || low > 0xDFFF) return Error("bad surrogate pair");
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
          } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
            return Error("lone surrogate");
          }
          PutUtf8(out, cp);
          break;
        }
        default: return Error("unknown escape");
      }
    }
  }

  bool Array(JsonValue& out, size_t depth) {
    ++pos_;
    out.kind_ = JsonValue::Kind::kArray;
    Space();
    if (pos_ < s_.size() && s_[pos_] == ']') {
      ++pos_;
      return true;
    }
    while (true) {
      out.items_.emplace_back();
      if (!Value(out.items_.back(), depth + 1)) return false;
      Space();
      if (pos_ >= s_.size()) return Error("unterminated array");
      if (s_[pos_] == ',') {
        ++pos_;
        continue;
      }
      if (s_[pos_] == ']') {
        ++pos_;
        return true;
      }
      return Error("expected ',' or ']'");
    }
  }

  bool Object(JsonValue& out, size_t depth) {
    ++pos_;
    out.kind_ = JsonValue::Kind::kObject;
    Space();
    if (pos_ < s_.size() && s_[pos_] == '}') {
      ++pos_;
      return true;
    }
    while (true) {
      Space();
      if (pos_ >= s_.size() || s_[pos_] != '"') return Error("expected a member name");
      std::string name;
      if (!String(name)) return false;
      Space();
      if (pos_ >= s_.size() || s_[pos_] != ':') return Error("expected ':'");
      ++pos_;
      out.members_.emplace_back(std::move(name), JsonValue());
      if (!Value(out.members_.back().second, depth + 1)) return false;
      Space();
      if (pos_ >= s_.size()) return Error("unterminated object");
      if (s_[pos_] == ',') {
        ++pos_;
        continue;
      }
      if (s_[pos_] == '}') {
        ++pos_;
        return true;
      }
      return Error("expected ',' or '}'");
    }
  }

  std::string_view s_;
  std::string& error_;
  size_t pos_ = 0;
};

bool ParseJson(std::string_view text, JsonValue& out, std::string& error) {
  out = JsonValue();
  error.clear();
  JsonParser parser(text, error);
  if (parser.Document(out)) return true;
  out = JsonValue();
  return false;
}

}  // namespace ecg::engine::eval
