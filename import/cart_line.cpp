// The cart line syntax: the parser, and the shape of a line that the import judges it by.
#include "import/cart_line.h"

#include <cstdint>

#include "common/int16.h"

namespace modMain {

using common::Int16;

namespace {

// Walks the first `length` characters of `line` by the cart line syntax: `on_char(c)` for every
// character that belongs to the current field, `on_separator()` for every separator outside
// quotes. A quote flips between outside and inside and is dropped; inside, two quotes in a row
// are one quote character of the field. `Count` is the width of position and quote count.
template <typename Count, typename OnChar, typename OnSeparator>
void WalkLine(std::wstring_view line, Count length, wchar_t separator, OnChar on_char, OnSeparator on_separator) {
  Count quotes = 0;
  for (Count pos = 1; pos <= length; ++pos) {
    const wchar_t c = line[static_cast<std::size_t>(pos - 1)];
    if (c == L'"') {
      if (quotes % 2 == 1 && pos < length && line[static_cast<std::size_t>(pos)] == L'"') {
        on_char(L'"');
        ++pos;
      } else {
        ++quotes;
      }
    } else if (c == separator && quotes % 2 == 0) {
      on_separator();
    } else {
      on_char(c);
    }
  }
}

// A line of `fields` fields whose last non-empty one is `last_filled` (0: none), as the import
// counts it: a spreadsheet's padding beyond the 14th field does not count.
LineShape Counted(std::size_t fields, std::size_t last_filled) {
  return {fields > kCartColumns && last_filled <= kCartColumns ? kCartColumns : fields, last_filled == 0};
}

}  // namespace

// `line` by value: the parser's own copy, since it may be one of the fields it fills.
void ParseCsvLine(std::wstring line,  // NOLINT(performance-unnecessary-value-param)
                  std::vector<std::wstring>& fields, wchar_t separator) {
  // Length, position, field index and quote count are 16-bit: a line of 32,767 characters is
  // walked to its end and then overflows on the last step, a longer one when its length is taken.
  const Int16 length = Int16::From(static_cast<std::int64_t>(line.size()));
  if (length == 0) {
    fields.assign(1, std::wstring());
    return;
  }
  fields.resize(2);  // element 0 keeps its content
  fields[1].clear();
  Int16 field = 1;
  WalkLine(
      line, length, separator, [&](wchar_t c) { fields[field].push_back(c); },
      [&] {
        ++field;
        fields.resize(static_cast<std::size_t>(field) + 1);
      });
}

LineShape ShapeOf(std::wstring_view line, wchar_t separator) {
  std::size_t field = line.empty() ? 0 : 1, last_filled = 0;
  WalkLine(
      line, line.size(), separator, [&](wchar_t) { last_filled = field; }, [&] { ++field; });
  return Counted(field, last_filled);
}

LineShape ShapeOf(const std::vector<std::wstring>& fields) {
  std::size_t last_filled = 0;
  for (std::size_t i = 1; i < fields.size(); ++i) {
    if (!fields[i].empty()) last_filled = i;
  }
  return Counted(fields.empty() ? 0 : fields.size() - 1, last_filled);
}

}  // namespace modMain
