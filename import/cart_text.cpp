// The cart's text (its encoding and its lines), the cart line syntax and the text clean-up
// helpers: pure functions of their arguments (and, for TruncateAt, of the user's locale).
#include "import/cart_text.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "common/ansi.h"
#include "common/int16.h"
#include "common/locale_number.h"
#include "common/text.h"

namespace modMain {

using common::Int16;

namespace {

// UTF-16 code units of the bytes after a byte-order mark; an odd last byte is dropped.
std::wstring FromUtf16(std::string_view bytes, bool big_endian) {
  std::wstring text;
  text.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    text.push_back(static_cast<wchar_t>(big_endian ? (first << 8) | second : (second << 8) | first));
  }
  return text;
}

// UTF-16 code units of `bytes` when they are valid UTF-8 throughout: no overlong form, no
// surrogate, nothing above U+10FFFF, no sequence cut short. Nothing otherwise. Characters beyond
// U+FFFF become surrogate pairs, as in a Windows string, so that lengths count alike everywhere.
std::optional<std::wstring> FromUtf8(std::string_view bytes) {
  std::wstring text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      text.push_back(static_cast<wchar_t>(lead));
      ++i;
      continue;
    }
    // The sequence's length and the range its second byte must fall into (which rules out the
    // overlong forms, the surrogates and what lies beyond U+10FFFF); later bytes are 80..BF.
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    char32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2, code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3, code = lead & 0x0Fu;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4, code = lead & 0x07u;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return std::nullopt;
    }
    if (bytes.size() - i < length) return std::nullopt;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) return std::nullopt;
      code = (code << 6) | (next & 0x3Fu);
    }
    if (code > 0xFFFF) {
      code -= 0x10000;
      text.push_back(static_cast<wchar_t>(0xD800 + (code >> 10)));
      text.push_back(static_cast<wchar_t>(0xDC00 + (code & 0x3FFu)));
    } else {
      text.push_back(static_cast<wchar_t>(code));
    }
    i += length;
  }
  return text;
}

}  // namespace

std::optional<std::wstring> DecodeCart(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE")) return FromUtf16(bytes.substr(2), false);
  if (bytes.starts_with("\xFE\xFF")) return FromUtf16(bytes.substr(2), true);
  const bool marked = bytes.starts_with("\xEF\xBB\xBF");
  if (bytes.find('\0') != std::string_view::npos) {
    // UTF-16 without its mark, as some programs save "Unicode text": told by the first line,
    // whose ASCII characters put their NUL bytes all on one side. NULs anywhere else mean that
    // the file is no text at all.
    if (marked) return std::nullopt;
    const std::string_view first_line = bytes.substr(0, bytes.find('\n'));
    bool at_odd = false, at_even = false;
    for (std::size_t i = 0; i < first_line.size(); ++i) {
      if (first_line[i] == '\0') (i % 2 == 1 ? at_odd : at_even) = true;
    }
    if (at_odd != at_even) return FromUtf16(bytes, at_even);
    return std::nullopt;
  }
  const std::string_view body = marked ? bytes.substr(3) : bytes;
  const bool beyond_ascii = std::ranges::any_of(body, [](char b) { return static_cast<unsigned char>(b) > 0x7F; });
  if (marked || beyond_ascii) {
    if (std::optional<std::wstring> text = FromUtf8(body)) return text;
  }
  return common::AnsiToText(bytes);  // mark and all, byte for byte
}

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

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
