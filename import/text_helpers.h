#pragma once
// Text helpers: the cut at the first blank line and the folder path's trailing backslash. Pure;
// TruncateAt compares under the user's locale.
#include <cstdint>
#include <string>
#include <string_view>

namespace modMain {

// `text` before the first occurrence of `marker` (compared case-insensitively), or all of it.
std::wstring TruncateAt(std::wstring_view text, std::wstring_view marker);
// `text` without its last `count` characters; a negative count removes nothing.
std::wstring DropRight(std::wstring_view text, std::int16_t count);

}  // namespace modMain
