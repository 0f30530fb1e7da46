#pragma once
// The syntax of one cart line: its fields, and how many the import counts. Pure; nothing is shown.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace modMain {

// The columns of a cart line; a line is imported only when it has exactly these many fields.
inline constexpr std::size_t kCartColumns = 14;

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

}  // namespace modMain
