// The numbers of a cart: the number in a value, what decides the decimal mark, and how a price,
// cost or quantity reads.
#include "import/cart_numbers.h"

#include <algorithm>
#include <cstdint>

#include "common/int16.h"
#include "common/locale_number.h"

namespace modMain {
namespace {

using common::Int16;

constexpr std::wstring_view kDigits = L"0123456789";

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool IsMark(wchar_t c) { return c == L'.' || c == L','; }
// Letters of the alphabets a cart's currency names and abbreviations come in ("Fr.", "ca.", "руб."):
// Latin, Greek, Cyrillic and the others below U+2000, where punctuation and currency signs begin.
bool IsLetter(wchar_t c) {
  return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= 0xC0 && c < 0x2000 && c != 0xD7 && c != 0xF7);
}
bool IsGroupSpace(wchar_t c) { return c == L' ' || c == 0xA0 || c == 0x202F || c == L'\'' || c == 0x2019; }

// The positions of NumberIn's number in `value`; begin == end when there is none.
struct Bounds {
  std::size_t begin = 0, end = 0;
};
Bounds BoundsOf(std::wstring_view value) {
  const std::size_t first = value.find_first_of(kDigits);
  if (first == std::wstring_view::npos) return {};
  std::size_t begin = first;
  if (first > 0 && IsMark(value[first - 1]) && !(first > 1 && IsLetter(value[first - 2]))) --begin;
  return {begin, value.find_last_of(kDigits) + 1};
}

// Whether value[at] is a group mark of the number within `bounds`: a group space between two digits.
bool IsGroupMarkAt(std::wstring_view value, Bounds bounds, std::size_t at) {
  return at > bounds.begin && at + 1 < bounds.end && IsGroupSpace(value[at]) && IsDigit(value[at - 1]) &&
         IsDigit(value[at + 1]);
}

}  // namespace

std::wstring_view NumberIn(std::wstring_view value) {
  const Bounds bounds = BoundsOf(value);
  return value.substr(bounds.begin, bounds.end - bounds.begin);
}

std::optional<DecimalMark> MarkShownBy(std::wstring_view value) {
  const std::wstring_view number = NumberIn(value);
  const std::size_t point = number.rfind(L'.'), comma = number.rfind(L',');
  if (point != std::wstring_view::npos && comma != std::wstring_view::npos) {
    return point > comma ? DecimalMark::kPoint : DecimalMark::kComma;
  }
  if (point == comma) return std::nullopt;  // neither
  const bool is_point = point != std::wstring_view::npos;
  const DecimalMark mark = is_point ? DecimalMark::kPoint : DecimalMark::kComma;
  const std::size_t at = is_point ? point : comma;
  if (std::ranges::count(number, number[at]) > 1) return is_point ? DecimalMark::kComma : DecimalMark::kPoint;
  // A single mark after a lone 0, or before every digit, starts the decimals: no group is so short.
  if (at == 0 || (at == 1 && number[0] == L'0')) return mark;
  std::size_t digits = 0;
  while (at + 1 + digits < number.size() && IsDigit(number[at + 1 + digits])) ++digits;
  if (digits == 3) return std::nullopt;
  return mark;
}

double PriceNumber(std::wstring_view field, DecimalMark mark) {
  const Bounds bounds = BoundsOf(field);
  // The number, and the signs around it; any other "." or "," belongs to the text ("Fr.", "ca.").
  std::wstring number_and_signs;
  number_and_signs.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    const wchar_t c = field[i];
    if ((i >= bounds.begin && i < bounds.end) || c == L'-' || c == L'(' || c == L')') number_and_signs.push_back(c);
  }
  std::wstring kept = NumericCharsOnly(number_and_signs, mark == DecimalMark::kPoint ? L".-()" : L",-()");
  if (mark == DecimalMark::kComma) std::ranges::replace(kept, L',', L'.');
  return ToNumber(kept);
}

double QuantityNumber(std::wstring_view field, DecimalMark mark) {
  const Bounds bounds = BoundsOf(field);
  std::wstring text;
  text.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    const wchar_t c = field[i];
    if (IsGroupMarkAt(field, bounds, i)) continue;
    text.push_back(mark == DecimalMark::kPoint ? c : c == L'.' ? L',' : c == L',' ? L'.' : c);
  }
  return ToNumber(text);
}

std::wstring NumericCharsOnly(std::wstring_view text, std::wstring_view extra) {
  // Only the space character is trimmed; tabs and other white space stay.
  const std::size_t first = text.find_first_not_of(L' ');
  const std::wstring_view trimmed = first == std::wstring_view::npos
                                        ? std::wstring_view()
                                        : text.substr(first, text.find_last_not_of(L' ') - first + 1);
  const Int16 length = Int16::From(static_cast<std::int64_t>(trimmed.size()));
  std::wstring result;
  for (Int16 pos = 1; pos <= length; ++pos) {
    const wchar_t c = trimmed[pos - 1];
    if (IsDigit(c) || extra.find(c) != std::wstring_view::npos) result.push_back(c);
  }
  return result;
}

double ToNumber(const std::wstring& value) { return common::TextToDouble(value).value_or(0.0); }

}  // namespace modMain
