// The cart file's bytes as text: UTF-16, UTF-8 or the ANSI code page, as the bytes show.
#include "import/cart_encoding.h"

#include <algorithm>
#include <optional>

#include "common/ansi.h"

namespace modMain {
namespace {

// UTF-16 code units of the bytes after a byte-order mark; an odd last byte is dropped.
std::wstring FromUtf16(std::string_view bytes, bool big_endian) {
  std::wstring text;
  text.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    text.push_back(static_cast<wchar_t>(big_endian ? (first << 8) | second : (second << 8) | first));
  }
  return text;
}

// UTF-16 code units of `bytes` when they are valid UTF-8 throughout: no overlong form, no
// surrogate, nothing above U+10FFFF, no sequence cut short. Nothing otherwise. Characters beyond
// U+FFFF become surrogate pairs, as in a Windows string, so that lengths count alike everywhere.
std::optional<std::wstring> FromUtf8(std::string_view bytes) {
  std::wstring text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      text.push_back(static_cast<wchar_t>(lead));
      ++i;
      continue;
    }
    // The sequence's length and the range its second byte must fall into (which rules out the
    // overlong forms, the surrogates and what lies beyond U+10FFFF); later bytes are 80..BF.
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    char32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2, code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3, code = lead & 0x0Fu;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4, code = lead & 0x07u;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return std::nullopt;
    }
    if (bytes.size() - i < length) return std::nullopt;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) return std::nullopt;
      code = (code << 6) | (next & 0x3Fu);
    }
    if (code > 0xFFFF) {
      code -= 0x10000;
      text.push_back(static_cast<wchar_t>(0xD800 + (code >> 10)));
      text.push_back(static_cast<wchar_t>(0xDC00 + (code & 0x3FFu)));
    } else {
      text.push_back(static_cast<wchar_t>(code));
    }
    i += length;
  }
  return text;
}

}  // namespace

std::optional<std::wstring> DecodeCart(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE")) return FromUtf16(bytes.substr(2), false);
  if (bytes.starts_with("\xFE\xFF")) return FromUtf16(bytes.substr(2), true);
  const bool marked = bytes.starts_with("\xEF\xBB\xBF");
  if (bytes.find('\0') != std::string_view::npos) {
    // UTF-16 without its mark, as some programs save "Unicode text": told by the first line,
    // whose ASCII characters put their NUL bytes all on one side. NULs anywhere else mean that
    // the file is no text at all.
    if (marked) return std::nullopt;
    const std::string_view first_line = bytes.substr(0, bytes.find('\n'));
    bool at_odd = false, at_even = false;
    for (std::size_t i = 0; i < first_line.size(); ++i) {
      if (first_line[i] == '\0') (i % 2 == 1 ? at_odd : at_even) = true;
    }
    if (at_odd != at_even) return FromUtf16(bytes, at_even);
    return std::nullopt;
  }
  const std::string_view body = marked ? bytes.substr(3) : bytes;
  const bool beyond_ascii = std::ranges::any_of(body, [](char b) { return static_cast<unsigned char>(b) > 0x7F; });
  if (marked || beyond_ascii) {
    if (std::optional<std::wstring> text = FromUtf8(body)) return text;
  }
  return common::AnsiToText(bytes);  // mark and all, byte for byte
}

}  // namespace modMain
