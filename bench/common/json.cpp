#include "bench/common/json.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace bench::json {
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

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

std::string String(std::wstring_view text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = static_cast<char32_t>(text[i]);
    if (AppendShortEscape(out, c)) continue;
    if (c < 0x20) {
      AppendEscape(out, c);
    } else if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(static_cast<char32_t>(text[i + 1]))) {
      char32_t low = static_cast<char32_t>(text[++i]);
      AppendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      AppendEscape(out, c);
    } else {
      AppendUtf8(out, c);
    }
  }
  return out + "\"";
}

std::string String(std::string_view utf8) {
  std::string out = "\"";
  for (char ch : utf8) {
    auto code = static_cast<unsigned char>(ch);
    if (AppendShortEscape(out, code)) continue;
    if (code < 0x20) {
      AppendEscape(out, code);
    } else {
      out += ch;
    }
  }
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

}  // namespace bench::json
