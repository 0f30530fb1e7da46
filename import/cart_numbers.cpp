// The numbers of a cart: what decides its decimal mark, and how a price, cost or quantity reads.
#include "import/cart_numbers.h"

#include <algorithm>
#include <cstdint>

#include "common/int16.h"
#include "common/locale_number.h"

namespace modMain {
namespace {

using common::Int16;

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

}  // namespace

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
    if ((c >= L'0' && c <= L'9') || extra.find(c) != std::wstring_view::npos) result.push_back(c);
  }
  return result;
}

double ToNumber(const std::wstring& value) { return common::TextToDouble(value).value_or(0.0); }

std::wstring PointForm(std::wstring_view value) {
  std::wstring form;
  form.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    const wchar_t c = value[i];
    const bool group_space = c == L' ' || c == 0xA0 || c == 0x202F;
    if (group_space && !form.empty() && IsDigit(form.back()) && i + 1 < value.size() && IsDigit(value[i + 1])) {
      continue;
    }
    form.push_back(c == L'.' ? L',' : c == L',' ? L'.' : c);
  }
  return form;
}

std::optional<DecimalMark> MarkShownBy(std::wstring_view value) {
  constexpr std::wstring_view kDigits = L"0123456789";
  std::size_t begin = value.find_first_of(kDigits);
  if (begin == std::wstring_view::npos) return std::nullopt;
  if (begin > 0 && (value[begin - 1] == L'.' || value[begin - 1] == L',')) --begin;
  const std::wstring_view number = value.substr(begin, value.find_last_of(kDigits) + 1 - begin);
  const std::size_t point = number.rfind(L'.'), comma = number.rfind(L',');
  if (point != std::wstring_view::npos && comma != std::wstring_view::npos) {
    return point > comma ? DecimalMark::kPoint : DecimalMark::kComma;
  }
  if (point == comma) return std::nullopt;  // neither
  const bool is_point = point != std::wstring_view::npos;
  const std::size_t at = is_point ? point : comma;
  if (std::ranges::count(number, number[at]) > 1) return is_point ? DecimalMark::kComma : DecimalMark::kPoint;
  std::size_t digits = 0;
  while (at + 1 + digits < number.size() && IsDigit(number[at + 1 + digits])) ++digits;
  if (digits == 3) return std::nullopt;
  return is_point ? DecimalMark::kPoint : DecimalMark::kComma;
}

double PriceNumber(const std::wstring& field, DecimalMark mark) {
  if (mark == DecimalMark::kPoint) return ToNumber(NumericCharsOnly(field, L".-()"));
  return ToNumber(PointForm(NumericCharsOnly(field, L",-()")));
}

double QuantityNumber(const std::wstring& field, DecimalMark mark) {
  return ToNumber(mark == DecimalMark::kPoint ? field : PointForm(field));
}

}  // namespace modMain
