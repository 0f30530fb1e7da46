#pragma once
// Text to double under the user's locale, as the platform's variant conversion reads it.
#include <optional>
#include <string_view>

namespace common {

// The number that `text` reads as, or nothing when it does not read as a number.
// On Windows this is the platform's own conversion (VarR8FromStr with the user's locale):
// surrounding white space, a leading or trailing sign, parentheses for negatives, group
// separators, a currency sign, an exponent and &H/&O prefixes are understood there.
// Elsewhere a portable reading gives the same answers for the C locale's separators
// ("." decimal, "," group, "$" currency).
std::optional<double> TextToDouble(std::wstring_view text);

}  // namespace common
