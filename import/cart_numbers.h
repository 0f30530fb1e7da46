#pragma once
// The numbers of a cart: the decimal mark a value shows, and the price, cost and quantity as
// numbers under the cart's decimal mark. Pure; nothing is shown.
#include <optional>
#include <string>
#include <string_view>

namespace modMain {

enum class DecimalMark { kPoint, kComma };

// The decimal mark that a number as written shows, if any: of "." and "," the later when both
// occur; the other one when one occurs twice ("1.234.567"); the one that occurs once, unless
// exactly three digits follow it ("1,234" could be either). Only the number itself counts, from
// its first digit (or a mark right before it) to its last.
std::optional<DecimalMark> MarkShownBy(std::wstring_view value);

// The price or cost (cleaned of everything but digits, the decimal mark, "-" and parentheses)
// and the quantity (as written) as numbers under `mark`; 0 for what does not read as one.
double PriceNumber(const std::wstring& field, DecimalMark mark);
double QuantityNumber(const std::wstring& field, DecimalMark mark);

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

}  // namespace modMain
