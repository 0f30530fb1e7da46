// Windows-1252 stands in for the ANSI code page where the platform has none. The five bytes
// that 1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of
// the same value, as the Windows conversion does, so every byte survives a round trip.
#include <array>
#include <cstdint>
#include <string>

#include "common/ansi.h"

namespace common {
namespace {

constexpr std::array<char16_t, 32> kHigh = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                            0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

wchar_t ByteToChar(unsigned char b) { return (b >= 0x80 && b < 0xA0) ? kHigh[b - 0x80] : b; }

char CharToByte(wchar_t c) {
  const std::uint32_t code = std::char_traits<wchar_t>::to_int_type(c);
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<char>(code);
  for (std::size_t i = 0; i < kHigh.size(); ++i) {
    if (std::uint32_t{kHigh[i]} == code) return static_cast<char>(0x80 + i);
  }
  return '?';
}

}  // namespace

std::wstring AnsiToText(std::string_view bytes) {
  std::wstring text;
  text.reserve(bytes.size());
  for (char b : bytes) text.push_back(ByteToChar(static_cast<unsigned char>(b)));
  return text;
}

std::string TextToAnsi(std::wstring_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (wchar_t c : text) bytes.push_back(CharToByte(c));
  return bytes;
}

}  // namespace common
