#pragma once
// The cart as the import reads it, parsed once right after the file is read: the separator and
// the decimal mark that the file shows, whether it is a cart at all, and what the import needs of
// each line. Web shops write carts with "," and a decimal point; a spreadsheet that opened and
// saved one may have written ";" or TAB, a first line "sep=;", padded rows, doubled quotes and
// numbers with a decimal comma. Pure functions of the text; nothing is shown.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "import/cart_numbers.h"

namespace modMain {

// An item to import: its line's index (the header is line 0), the four text columns as the parser
// left them, and its price, cost and quantity as numbers under the cart's decimal mark.
struct CartItem {
  std::int16_t line = 0;
  std::wstring vendor_part, manufacturer, manufacturer_part, description;
  double price = 0, cost = 0, quantity = 0;
};

// A price, cost or quantity that shows a decimal mark: its line index and the field as written.
struct MarkEvidence {
  std::int16_t line = 0;
  std::wstring value;
};

struct Cart {
  wchar_t separator = L',';
  DecimalMark decimal_mark = DecimalMark::kPoint;
  // False for a file with a non-empty line that is no cart: neither its header nor at least half
  // of its other non-empty lines have 14 fields. The empty file is a cart without items.
  bool is_cart = true;
  std::vector<CartItem> items;          // the lines to import, in order
  std::vector<std::int16_t> malformed;  // the indexes of the non-empty lines without 14 fields, in order
  // The indexes of the lines of 14 fields that name no item (a total that a spreadsheet added,
  // say): their part numbers, manufacturer and description are all empty. Not imported.
  std::vector<std::int16_t> nameless;
  // When values show both decimal marks: the first value to show each, the earlier one first.
  std::optional<std::pair<MarkEvidence, MarkEvidence>> conflict;
};

// The cart in `text` (as DecodeCart gives it):
// - A first line "sep=X" ("sep" in any case, spaces after X ignored) is dropped with its line end,
//   and names the separator when X is ",", ";" or TAB.
// - Line ends, decided by the first line break after that: CR LF; LF, with any CR before an LF
//   dropped; or CR alone ("CSV (Macintosh)"), with any LF after a CR dropped. The data ends at the
//   first blank line.
// - The separator: the one named; else the first of ",", ";", TAB under which the header has 14
//   fields; else the one under which the most data lines have 14 (ties in that order). Empty
//   fields beyond the 14th do not count, and a line of empty fields counts as an empty line.
// - The decimal mark: the one that the prices, costs and quantities of the items show
//   (MarkShownBy); when none shows one, the comma in a ";" file (spreadsheets write ";" where the
//   decimal mark is the comma), else the point.
// Raises UnexpectedError for the 16-bit limits: Overflow for a cart of 32,768 lines or more, and
// with the line's index for a line of 32,767 characters or more.
Cart ParseCart(std::wstring text);

}  // namespace modMain
