#pragma once
// The numbers of a cart: the number in a price, cost or quantity as written, the decimal mark it
// shows, and the value it reads as under the cart's decimal mark. Shops write "$1,234.50";
// spreadsheets and shops elsewhere "1.234,50 €", "1 234,50", "Fr. 3'249.00" or "12.50 Fr.". Pure;
// nothing is shown.
#include <optional>
#include <string>
#include <string_view>

namespace modMain {

enum class DecimalMark { kPoint, kComma };

// The number in a price, cost or quantity as written: from its first digit to its last, with one
// "." or "," right before the first digit when no letter stands right before that mark (".5",
// "$.50" and ",5" keep it; "Fr.12.50" does not). Empty when the value holds no digit. Inside it,
// a space, U+00A0, U+202F, an apostrophe or U+2019 between two digits is a group mark.
std::wstring_view NumberIn(std::wstring_view value);

// The decimal mark that the number in `value` shows, if any: of "." and "," the later when both
// occur; the other one when one occurs twice ("1.234.567"); the one that occurs once, unless
// exactly three digits follow it after a digit other than a lone 0 ("1,234" could be either;
// "0,325" and ",125" cannot).
std::optional<DecimalMark> MarkShownBy(std::wstring_view value);

// The price or cost as a number under `mark`: only its number (without the group marks), a minus
// sign and parentheses count, so that a mark outside the number ("Fr. 12.50", "ca. 12.50") is
// not read; currency signs and codes, parentheses and a trailing minus read as ToNumber reads
// them. 0 for what does not read as a number.
double PriceNumber(std::wstring_view field, DecimalMark mark);
// The quantity as a number under `mark`: as written, less the group marks of its number
// ("1'000", "1 000"); 0 for what does not read as a number ("2 pcs").
double QuantityNumber(std::wstring_view field, DecimalMark mark);

// `text` without its leading and trailing spaces, keeping only digits and the characters of
// `extra`. Raises Overflow when the trimmed text has 32,767 characters or more.
std::wstring NumericCharsOnly(std::wstring_view text, std::wstring_view extra);
// The number that `value` reads as, else 0. Never fails. Read with "." for decimals and "," between
// digit groups, with the United States conventions whatever the user's regional settings: under
// German ones "3249.00" would read as 324900, under French ones not at all.
double ToNumber(const std::wstring& value);

}  // namespace modMain
