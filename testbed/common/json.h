#pragma once
// JSON text for the testbed's line files (the stand-in's journal and items, the robot's transcript):
// UTF-8, one object per line, written as {"key": value, "key": value}.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace testbed::json {

// A string literal for UTF-16 text: quotes, backslashes and control characters escaped, every
// other character as UTF-8. A lone surrogate, which UTF-8 cannot carry, becomes a \u escape.
std::string String(std::wstring_view text);
// A string literal for text that is already UTF-8 (keys and fixed words of the testbed).
std::string String(std::string_view utf8);
inline std::string String(const char* utf8) { return String(std::string_view(utf8)); }
inline std::string String(const wchar_t* text) { return String(std::wstring_view(text)); }

// The shortest decimal text that reads back as the same double. JSON has no NaN or infinity;
// they are written as the strings "NaN", "Infinity" and "-Infinity".
std::string Number(double value);
std::string Number(std::int64_t value);
std::string Number(std::uint64_t value);
inline std::string Bool(bool value) { return value ? "true" : "false"; }
inline constexpr char kNull[] = "null";

// [a, b, c] from values that are JSON text already.
std::string Array(const std::vector<std::string>& items);

// {"key": value, ...}, keys in the order added; values are JSON text already.
class Object {
 public:
  Object& Add(std::string_view key, const std::string& value);
  std::string str() const { return "{" + body_ + "}"; }

 private:
  std::string body_;
};

}  // namespace testbed::json
