#pragma once
// Text comparison without regard to letter case.
#include <cstddef>
#include <string>
#include <string_view>

namespace common {

// Upper-case fold for the characters that the single-byte code page can carry (ASCII, Latin-1
// and the letters of Windows-1252's upper half): a stable, locale-free answer. It is the
// comparison "as text" below wherever the platform has no upper-case mapping of its own, and
// registry names compare by it in the registry emulation (testbed/doubles/).
wchar_t FoldCase(wchar_t c);
std::wstring FoldCase(std::wstring_view text);

// Comparison "as text" under the user's locale: the platform's upper-case mapping on Windows,
// FoldCase elsewhere. TextUpper keeps the length, so positions in it are positions in the text.
std::wstring TextUpper(std::wstring_view text);
bool TextEqualsIgnoreCase(std::wstring_view a, std::wstring_view b);
// Position (from 0) of the first occurrence of `needle` in `haystack`, or npos. An empty needle
// occurs at 0.
std::size_t TextFindIgnoreCase(std::wstring_view haystack, std::wstring_view needle);

}  // namespace common
