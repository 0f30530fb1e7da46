#pragma once
// Text to double as a United States English system reads it, whatever the user's regional
// settings: the cart writes its numbers that way ("." decimal, "," digit groups).
#include <optional>
#include <string_view>

namespace common {

// The number that `text` reads as, or nothing when it does not read as a number.
// On Windows this is the platform's own conversion (VarR8FromStr with the United States locale
// 0x0409 and LOCALE_NOUSEROVERRIDE): surrounding white space, a leading or trailing sign,
// parentheses for negatives, group separators, a currency sign, an exponent and &H/&O prefixes
// are understood there. Elsewhere a portable reading gives the same answers ("." decimal, ","
// group, "$" currency), whatever the C library's locale.
std::optional<double> TextToDouble(std::wstring_view text);

}  // namespace common
