#include "common/text.h"

namespace common {

wchar_t FoldCase(wchar_t c) {
  if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - 0x20);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<wchar_t>(c - 0x20);
  switch (c) {
    case 0xFF:
      return 0x178;  // ÿ -> Ÿ
    case 0x161:
      return 0x160;  // š -> Š
    case 0x153:
      return 0x152;  // œ -> Œ
    case 0x17E:
      return 0x17D;  // ž -> Ž
    default:
      return c;
  }
}

std::wstring FoldCase(std::wstring_view text) {
  std::wstring folded(text);
  for (wchar_t& c : folded) c = FoldCase(c);
  return folded;
}

bool TextEqualsIgnoreCase(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && TextUpper(a) == TextUpper(b);
}

std::size_t TextFindIgnoreCase(std::wstring_view haystack, std::wstring_view needle) {
  return TextUpper(haystack).find(TextUpper(needle));
}

}  // namespace common
