#pragma once
// The cart's text and the text clean-up helpers: its encoding, its lines, the syntax of one line,
// and the clean-up of single values. Pure functions of their arguments (and, for TruncateAt, of the
// user's locale); none shows anything or touches a file.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace modMain {

// The cart file's bytes as text, in the encoding that the bytes show: after FF FE or FE FF,
// UTF-16 little- or big-endian (the mark dropped, an odd last byte too); UTF-8 without its mark
// when the bytes after an optional EF BB BF are valid UTF-8 and either the mark is there or a
// byte is above 0x7F; otherwise the ANSI code page, byte for byte, a mark included.
std::wstring DecodeCart(std::string_view bytes);
// The cart's lines: `text` cut before its first blank line and split at its line ends, CR LF,
// or LF in a text that holds no CR LF at all. The empty text has no line at all.
std::vector<std::wstring> CartLines(std::wstring text);

// Splits `line` at the commas outside double quotes into fields[1..n]; fields[0] keeps its text
// and carries no field. The empty line gives fields[0] alone. Raises Overflow for a line of
// 32,767 characters or more. `line` is the parser's own copy, so it may be one of the fields.
void ParseCsvLine(std::wstring line, std::vector<std::wstring>& fields);

// `text` without its leading and trailing spaces, keeping only digits and the characters of
// `extra`. Raises Overflow when the trimmed text has 32,767 characters or more.
std::wstring NumericCharsOnly(std::wstring_view text, std::wstring_view extra);
// The number that `value` reads as, else 0. Never fails. Read as the cart writes numbers, "."
// for decimals and "," between digit groups, with the United States conventions whatever the
// user's regional settings: under German ones "3249.00" would read as 324900, under French ones
// not at all.
double ToNumber(const std::wstring& value);
// `text` before the first occurrence of `marker` (compared case-insensitively), or all of it.
std::wstring TruncateAt(std::wstring_view text, std::wstring_view marker);
// `text` without its last `count` characters; a negative count removes nothing.
std::wstring DropRight(std::wstring_view text, std::int16_t count);
// `value` between apostrophes, nothing escaped.
std::wstring QuoteText(std::wstring_view value);

}  // namespace modMain
