// The cart line syntax and the text clean-up helpers: pure functions of their arguments (and, for
// ToNumber and TruncateAt, of the user's locale).
#include <cstdint>

#include "common/int16.h"
#include "common/locale_number.h"
#include "common/text.h"
#include "import/mod_main.h"

namespace modMain {

using common::Int16;

void ParseCsvLine(std::wstring line, std::vector<std::wstring>& fields) {
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
  Int16 quotes = 0;
  for (Int16 pos = 1; pos <= length; ++pos) {
    const wchar_t c = line[pos - 1];
    if (c == L'"') {
      ++quotes;  // flips inside/outside and is never part of a field
    } else if (c == L',' && quotes % 2 == 0) {
      ++field;
      fields.resize(static_cast<std::size_t>(field) + 1);
    } else {
      fields[field].push_back(c);
    }
  }
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
    if ((c >= L'0' && c <= L'9') || extra.find(c) != std::wstring_view::npos) result.push_back(c);
  }
  return result;
}

double ToNumber(const std::wstring& value) { return common::TextToDouble(value).value_or(0.0); }

std::wstring TruncateAt(std::wstring_view text, std::wstring_view marker) {
  const std::size_t at = common::TextFindIgnoreCase(text, marker);
  return std::wstring(at == std::wstring_view::npos ? text : text.substr(0, at));
}

std::wstring DropRight(std::wstring_view text, std::int16_t count) {
  std::int64_t keep = static_cast<std::int64_t>(text.size()) - count;
  if (keep < 0) keep = 0;
  return std::wstring(text.substr(0, static_cast<std::size_t>(keep)));  // substr clamps a negative count
}

std::wstring QuoteText(std::wstring_view value) { return L"'" + std::wstring(value) + L"'"; }

}  // namespace modMain
