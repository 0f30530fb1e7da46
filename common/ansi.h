#pragma once
// Text at the platform boundary (registry names and data, file content) crosses as bytes in the
// system's single-byte ANSI code page: the platform's own on Windows, Windows-1252 elsewhere.
#include <string>
#include <string_view>

namespace common {

// One character per byte where the code page is single-byte; NUL bytes become NUL characters.
std::wstring AnsiToText(std::string_view bytes);
// Characters without a byte in the code page become '?'; NUL characters become NUL bytes.
std::string TextToAnsi(std::wstring_view text);

}  // namespace common
