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

// A well-formed line: its index (the header is line 0), the four text columns as the parser left
// them, and its price, cost and quantity as written.
struct CartItem {
  std::int16_t line = 0;
  std::wstring vendor_part, manufacturer, manufacturer_part, description;
  std::wstring price, cost, quantity;
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
  std::vector<CartItem> items;          // the well-formed lines, in order
  std::vector<std::int16_t> malformed;  // the indexes of the other non-empty lines, in order
  // When values show both decimal marks: the first value to show each, the earlier one first.
  std::optional<std::pair<MarkEvidence, MarkEvidence>> conflict;
};

// The cart in `text` (as DecodeCart gives it):
// - Line ends: CR LF when the first LF follows a CR; otherwise LF, with any CR before an LF
//   dropped. A first line "sep=X" ("sep" in any case) is dropped and names the separator when X
//   is ",", ";" or TAB. The data ends at the first blank line.
// - The separator: the one named; else the first of ",", ";", TAB under which the header has 14
//   fields; else the one under which the most data lines have 14 (ties in that order). Empty
//   fields beyond the 14th do not count, and a line of empty fields counts as an empty line.
// - The decimal mark: the one that the prices, costs and quantities show (MarkShownBy), the
//   point when none shows one.
// Raises UnexpectedError for the 16-bit limits: Overflow for a cart of 32,768 lines or more, and
// with the line's index for a line of 32,767 characters or more.
Cart ParseCart(std::wstring text);

}  // namespace modMain
