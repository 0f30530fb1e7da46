#pragma once
// The cart's text and the text clean-up helpers: its encoding, its lines, the syntax of one line,
// and the clean-up of single values. Pure functions of their arguments (and, for TruncateAt, of the
// user's locale); none shows anything or touches a file.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace modMain {

// The columns of a cart line; a line is imported only when it has exactly these many fields.
inline constexpr std::size_t kCartColumns = 14;

// The cart file's bytes as text, in the encoding that the bytes show: after FF FE or FE FF,
// UTF-16 little- or big-endian (the mark dropped, an odd last byte too). Without a mark, bytes
// that hold NUL are UTF-16 too when the NULs before the first 0x0A byte (or in the whole file,
// when it has none) all sit at odd offsets (little-endian) or all at even ones (big-endian); any
// other bytes with a NUL are no text, and give nothing. Otherwise UTF-8 without its mark when
// the bytes after an optional EF BB BF are valid UTF-8 and either the mark is there or a byte is
// above 0x7F; else the ANSI code page, byte for byte, a mark included.
std::optional<std::wstring> DecodeCart(std::string_view bytes);

// Splits `line` at the separators outside double quotes into fields[1..n]; fields[0] keeps its
// text and carries no field. A double quote flips between outside and inside and is dropped,
// except that inside, two in a row stand for one quote in the field. The empty line gives
// fields[0] alone. Raises Overflow for a line of 32,767 characters or more. `line` is the
// parser's own copy, so it may be one of the fields.
void ParseCsvLine(std::wstring line, std::vector<std::wstring>& fields, wchar_t separator = L',');
// What the import needs to know of a line's fields before it parses it: how many there are, where
// empty fields from the 15th on, as a spreadsheet pads its rows, do not count; and whether every
// field is empty (a spreadsheet's empty row). Never fails, whatever the line's length.
struct LineShape {
  std::size_t fields = 0;
  bool all_empty = true;
};
LineShape ShapeOf(std::wstring_view line, wchar_t separator);
// Of the fields[1..n] that ParseCsvLine filled, the count that ShapeOf gives.
LineShape ShapeOf(const std::vector<std::wstring>& fields);

// `text` without its leading and trailing spaces, keeping only digits and the characters of
// `extra`. Raises Overflow when the trimmed text has 32,767 characters or more.
std::wstring NumericCharsOnly(std::wstring_view text, std::wstring_view extra);
// The number that `value` reads as, else 0. Never fails. Read as the cart writes numbers, "."
// for decimals and "," between digit groups, with the United States conventions whatever the
// user's regional settings: under German ones "3249.00" would read as 324900, under French ones
// not at all.
double ToNumber(const std::wstring& value);
// `value` written with a decimal comma ("1.234,50", "1 234,50") in the form ToNumber reads:
// "." and "," swapped, and a space, U+00A0 or U+202F between two digits dropped.
std::wstring PointForm(std::wstring_view value);
// `text` before the first occurrence of `marker` (compared case-insensitively), or all of it.
std::wstring TruncateAt(std::wstring_view text, std::wstring_view marker);
// `text` without its last `count` characters; a negative count removes nothing.
std::wstring DropRight(std::wstring_view text, std::int16_t count);
// `value` between apostrophes, nothing escaped.
std::wstring QuoteText(std::wstring_view value);

}  // namespace modMain
