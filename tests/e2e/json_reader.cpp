#include "tests/e2e/json_reader.h"

#include "bench/common/json.h"

#include <cstdlib>

namespace e2e::json {
namespace {

constexpr int kMaxDepth = 64;

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  std::optional<Value> Document() {
    std::optional<Value> value = ParseValue(0);
    SkipSpace();
    if (!value || at_ != text_.size()) return std::nullopt;
    return value;
  }

 private:
  void SkipSpace() {
    while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r'))
      ++at_;
  }
  bool Take(char c) {
    SkipSpace();
    if (at_ < text_.size() && text_[at_] == c) {
      ++at_;
      return true;
    }
    return false;
  }
  bool TakeWord(std::string_view word) {
    if (text_.substr(at_, word.size()) != word) return false;
    at_ += word.size();
    return true;
  }

  std::optional<Value> ParseValue(int depth) {
    if (depth > kMaxDepth) return std::nullopt;
    SkipSpace();
    if (at_ >= text_.size()) return std::nullopt;
    switch (text_[at_]) {
      case '{':
        return ParseObject(depth);
      case '[':
        return ParseArray(depth);
      case '"': {
        std::optional<std::string> s = ParseString();
        if (!s) return std::nullopt;
        return Value::String(std::move(*s));
      }
      case 't':
        return TakeWord("true") ? std::optional<Value>(Value::Bool(true)) : std::nullopt;
      case 'f':
        return TakeWord("false") ? std::optional<Value>(Value::Bool(false)) : std::nullopt;
      case 'n':
        return TakeWord("null") ? std::optional<Value>(Value()) : std::nullopt;
      default:
        return ParseNumber();
    }
  }

  std::optional<Value> ParseObject(int depth) {
    ++at_;  // {
    std::vector<Value::Member> members;
    if (Take('}')) return Value::Object(std::move(members));
    do {
      SkipSpace();
      if (at_ >= text_.size() || text_[at_] != '"') return std::nullopt;
      std::optional<std::string> key = ParseString();
      if (!key || !Take(':')) return std::nullopt;
      std::optional<Value> value = ParseValue(depth + 1);
      if (!value) return std::nullopt;
      members.emplace_back(std::move(*key), std::move(*value));
    } while (Take(','));
    if (!Take('}')) return std::nullopt;
    return Value::Object(std::move(members));
  }

  std::optional<Value> ParseArray(int depth) {
    ++at_;  // [
    std::vector<Value> items;
    if (Take(']')) return Value::Array(std::move(items));
    do {
      std::optional<Value> value = ParseValue(depth + 1);
      if (!value) return std::nullopt;
      items.push_back(std::move(*value));
    } while (Take(','));
    if (!Take(']')) return std::nullopt;
    return Value::Array(std::move(items));
  }

  // JSON's number grammar, checked by hand: strtod alone would also take "inf", hex and "+1".
  std::optional<Value> ParseNumber() {
    const std::size_t start = at_;
    auto digits = [&] {
      const std::size_t from = at_;
      while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') ++at_;
      return at_ > from;
    };
    if (at_ < text_.size() && text_[at_] == '-') ++at_;
    if (at_ < text_.size() && text_[at_] == '0') {
      ++at_;
    } else if (!digits()) {
      return std::nullopt;
    }
    if (at_ < text_.size() && text_[at_] == '.') {
      ++at_;
      if (!digits()) return std::nullopt;
    }
    if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
      ++at_;
      if (at_ < text_.size() && (text_[at_] == '+' || text_[at_] == '-')) ++at_;
      if (!digits()) return std::nullopt;
    }
    const std::string number(text_.substr(start, at_ - start));
    return Value::Number(std::strtod(number.c_str(), nullptr));
  }

  std::optional<unsigned> Hex4() {
    if (at_ + 4 > text_.size()) return std::nullopt;
    unsigned value = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = text_[at_++];
      value <<= 4;
      if (c >= '0' && c <= '9') {
        value |= static_cast<unsigned>(c - '0');
      } else if (c >= 'a' && c <= 'f') {
        value |= static_cast<unsigned>(c - 'a' + 10);
      } else if (c >= 'A' && c <= 'F') {
        value |= static_cast<unsigned>(c - 'A' + 10);
      } else {
        return std::nullopt;
      }
    }
    return value;
  }

  // A string literal; a lone surrogate escape (which the bench writes for unpaired UTF-16) is
  // kept as the three bytes of its code unit, so that nothing is lost silently.
  std::optional<std::string> ParseString() {
    ++at_;  // "
    std::string out;
    while (at_ < text_.size()) {
      const char c = text_[at_++];
      if (c == '"') return out;
      if (static_cast<unsigned char>(c) < 0x20) return std::nullopt;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (at_ >= text_.size()) return std::nullopt;
      const char escape = text_[at_++];
      switch (escape) {
        case '"':
        case '\\':
        case '/':
          out += escape;
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'u': {
          std::optional<unsigned> unit = Hex4();
          if (!unit) return std::nullopt;
          unsigned code = *unit;
          if (code >= 0xD800 && code < 0xDC00 && text_.substr(at_, 2) == "\\u") {
            const std::size_t back = at_;
            at_ += 2;
            std::optional<unsigned> low = Hex4();
            if (low && *low >= 0xDC00 && *low < 0xE000) {
              code = 0x10000 + ((code - 0xD800) << 10) + (*low - 0xDC00);
            } else {
              at_ = back;
            }
          }
          bench::json::AppendUtf8(out, code);
          break;
        }
        default:
          return std::nullopt;
      }
    }
    return std::nullopt;  // unterminated
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

}  // namespace

Value Value::Bool(bool b) {
  Value v;
  v.type_ = Type::kBool;
  v.boolean_ = b;
  return v;
}
Value Value::Number(double n) {
  Value v;
  v.type_ = Type::kNumber;
  v.number_ = n;
  return v;
}
Value Value::String(std::string s) {
  Value v;
  v.type_ = Type::kString;
  v.string_ = std::move(s);
  return v;
}
Value Value::Array(std::vector<Value> items) {
  Value v;
  v.type_ = Type::kArray;
  v.items_ = std::move(items);
  return v;
}
Value Value::Object(std::vector<Member> members) {
  Value v;
  v.type_ = Type::kObject;
  v.members_ = std::move(members);
  return v;
}

const Value* Value::Find(std::string_view key) const {
  for (const auto& [name, value] : members_) {
    if (name == key) return &value;
  }
  return nullptr;
}

std::string Value::Text(std::string_view key) const {
  const Value* value = Find(key);
  return value != nullptr && value->is(Type::kString) ? value->string() : std::string();
}

std::optional<Value> Parse(std::string_view text) { return Parser(text).Document(); }

}  // namespace e2e::json
