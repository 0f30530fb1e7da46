#pragma once
// UTF-8, the encoding of the testbed's line files and of what its programs print, to and from the
// UTF-16 text of Windows. The one place where the testbed and its tests convert between the two.
#include <string>
#include <string_view>

namespace testbed {

// UTF-8 of UTF-16 text. A lone surrogate, which UTF-8 cannot carry, becomes U+FFFD.
std::string Utf8(std::wstring_view text);
// UTF-16 of UTF-8 text. A malformed sequence becomes U+FFFD.
std::wstring FromUtf8(std::string_view utf8);

}  // namespace testbed
