#pragma once
// Reading the bench's line files back: one JSON value per line (the robot's transcript, the
// stand-in's journal and items). Strings come back as UTF-8; objects keep their members in order.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace e2e::json {

class Value {
 public:
  enum class Type { kNull, kBool, kNumber, kString, kArray, kObject };
  using Member = std::pair<std::string, Value>;

  Value() = default;
  static Value Bool(bool b);
  static Value Number(double n);
  static Value String(std::string s);
  static Value Array(std::vector<Value> items);
  static Value Object(std::vector<Member> members);

  Type type() const { return type_; }
  bool is(Type type) const { return type_ == type; }
  bool boolean() const { return boolean_; }
  double number() const { return number_; }
  const std::string& string() const { return string_; }
  const std::vector<Value>& items() const { return items_; }
  const std::vector<Member>& members() const { return members_; }

  // The first member named `key`, or nothing (also when this is not an object).
  const Value* Find(std::string_view key) const;
  // The text of member `key` when it is a string, else "".
  std::string Text(std::string_view key) const;

 private:
  Type type_ = Type::kNull;
  bool boolean_ = false;
  double number_ = 0;
  std::string string_;
  std::vector<Value> items_;
  std::vector<Member> members_;
};

// The value that fills `text` (white space around it allowed), or nothing when it is not JSON.
std::optional<Value> Parse(std::string_view text);

}  // namespace e2e::json
