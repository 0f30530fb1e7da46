#include "testbed/common/json.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "testbed/common/utf8.h"

namespace testbed::json {
namespace {

void AppendEscape(std::string& out, unsigned code) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(code >> shift) & 0xF];
}

// Escapes for the characters JSON does not allow raw; the short forms where JSON has them.
bool AppendShortEscape(std::string& out, unsigned code) {
  switch (code) {
    case '"':
      out += "\\\"";
      return true;
    case '\\':
      out += "\\\\";
      return true;
    case '\b':
      out += "\\b";
      return true;
    case '\f':
      out += "\\f";
      return true;
    case '\n':
      out += "\\n";
      return true;
    case '\r':
      out += "\\r";
      return true;
    case '\t':
      out += "\\t";
      return true;
    default:
      return false;
  }
}

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// UTF-8 text with what JSON does not allow raw escaped.
void AppendEscaped(std::string& out, std::string_view utf8) {
  for (char ch : utf8) {
    const auto code = static_cast<unsigned char>(ch);
    if (AppendShortEscape(out, code)) continue;
    if (code < 0x20) {
      AppendEscape(out, code);
    } else {
      out += ch;
    }
  }
}

}  // namespace

// The text goes to UTF-8 in runs; a lone surrogate ends a run and is written as its escape.
std::string String(std::wstring_view text) {
  std::string out = "\"";
  std::size_t run = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!IsHighSurrogate(text[i]) && !IsLowSurrogate(text[i])) continue;
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      ++i;  // a pair: one character, converted with its run
      continue;
    }
    AppendEscaped(out, Utf8(text.substr(run, i - run)));
    AppendEscape(out, text[i]);
    run = i + 1;
  }
  AppendEscaped(out, Utf8(text.substr(run)));
  return out + "\"";
}

std::string String(std::string_view utf8) {
  std::string out = "\"";
  AppendEscaped(out, utf8);
  return out + "\"";
}

std::string Number(double value) {
  if (std::isnan(value)) return "\"NaN\"";
  if (std::isinf(value)) return value > 0 ? "\"Infinity\"" : "\"-Infinity\"";
  char buffer[32];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  if (error != std::errc()) return "\"NaN\"";  // cannot happen for a finite double in 32 chars
  return std::string(buffer, end);
}

std::string Number(std::int64_t value) { return std::to_string(value); }
std::string Number(std::uint64_t value) { return std::to_string(value); }

std::string Array(const std::vector<std::string>& items) {
  std::string out = "[";
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out += ", ";
    out += items[i];
  }
  return out + "]";
}

Object& Object::Add(std::string_view key, const std::string& value) {
  if (!body_.empty()) body_ += ", ";
  body_ += String(key);
  body_ += ": ";
  body_ += value;
  return *this;
}

}  // namespace testbed::json
