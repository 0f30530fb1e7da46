// The cart as the import reads it: line ends, the separator hint, the separator, the lines parsed
// once, whether the file is a cart, and its decimal mark.
#include "import/cart.h"

#include <algorithm>
#include <array>

#include "common/int16.h"
#include "import/cart_line.h"
#include "import/program.h"
#include "import/text_helpers.h"

namespace modMain {
namespace {

using common::Int16;

constexpr std::array<wchar_t, 3> kSeparators = {L',', L';', L'\t'};

// Decides the line end by the first one and makes every line end of an LF cart a bare LF (a CR
// right before an LF goes), so that one stray CR LF cannot merge the lines before it.
std::wstring LineEndOf(std::wstring& text) {
  const std::size_t lf = text.find(L'\n');
  if (lf == std::wstring::npos || (lf > 0 && text[lf - 1] == L'\r')) return L"\r\n";
  std::size_t kept = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
    text[kept++] = text[i];
  }
  text.resize(kept);
  return L"\n";
}

// Drops a first line "sep=X", the hint that spreadsheets write; X when it is a separator.
std::optional<wchar_t> TakeSeparatorHint(std::wstring& text, std::wstring_view line_end) {
  static constexpr std::wstring_view kSep = L"sep=";
  const std::size_t end = std::min(text.find(line_end), text.size());
  const std::wstring_view first(text.data(), end);
  const bool hint =
      first.size() >= kSep.size() && std::equal(kSep.begin(), kSep.end(), first.begin(), [](wchar_t a, wchar_t b) {
        return a == (b >= L'A' && b <= L'Z' ? static_cast<wchar_t>(b - L'A' + L'a') : b);
      });
  if (!hint) return std::nullopt;
  const std::wstring_view named = first.substr(kSep.size());
  std::optional<wchar_t> separator;
  if (named.size() == 1 && std::ranges::find(kSeparators, named[0]) != kSeparators.end()) separator = named[0];
  text.erase(0, std::min(end + line_end.size(), text.size()));
  return separator;
}

std::vector<std::wstring_view> SplitLines(const std::wstring& data, std::wstring_view line_end) {
  std::vector<std::wstring_view> lines;
  if (data.empty()) return lines;
  const std::wstring_view all(data);
  std::size_t start = 0;
  for (std::size_t at; (at = all.find(line_end, start)) != std::wstring_view::npos; start = at + line_end.size()) {
    lines.push_back(all.substr(start, at - start));
  }
  lines.push_back(all.substr(start));
  return lines;
}

bool HasCartColumns(const LineShape& shape) { return !shape.all_empty && shape.fields == kCartColumns; }

wchar_t SeparatorOf(const std::vector<std::wstring_view>& lines) {
  for (const wchar_t separator : kSeparators) {
    if (HasCartColumns(ShapeOf(lines.front(), separator))) return separator;
  }
  wchar_t best = kSeparators.front();
  std::size_t most = 0;
  for (const wchar_t separator : kSeparators) {
    const auto count = static_cast<std::size_t>(std::count_if(
        lines.begin() + 1, lines.end(), [&](auto line) { return HasCartColumns(ShapeOf(line, separator)); }));
    if (count > most) best = separator, most = count;
  }
  return best;
}

// The first value that shows each decimal mark, with its place (line, then column) for ordering.
struct MarkWitnesses {
  std::optional<std::pair<int, MarkEvidence>> point, comma;

  void Consider(std::int16_t line, int column, const std::wstring& value) {
    const std::optional<DecimalMark> mark = MarkShownBy(value);
    if (!mark) return;
    auto& witness = *mark == DecimalMark::kPoint ? point : comma;
    if (!witness) witness = {line * 4 + column, MarkEvidence{line, value}};
  }
};

}  // namespace

Cart ParseCart(std::wstring text) {
  const std::wstring line_end = LineEndOf(text);
  const std::optional<wchar_t> hint = TakeSeparatorHint(text, line_end);
  text = TruncateAt(text, line_end + line_end);
  const std::vector<std::wstring_view> lines = SplitLines(text, line_end);

  Cart cart;
  if (lines.empty()) return cart;
  // The line index is 16-bit: a last index beyond 32,767 overflows here, and a cart of exactly
  // 32,768 lines when the index steps past its last line.
  Int16 last = 0;
  try {
    last = Int16::From(static_cast<std::int64_t>(lines.size()) - 1);
  } catch (const common::RuntimeError& error) {
    throw UnexpectedError{error};
  }
  cart.separator = hint ? *hint : SeparatorOf(lines);

  MarkWitnesses witnesses;
  std::vector<std::wstring> fields;
  cart.items.reserve(lines.size() - 1);  // at once: a growing vector would hold its old items and new ones together
  try {
    // From 1: line 0 is the header, never imported, whatever it holds.
    for (Int16 i = 1; i <= last; ++i) {
      const std::wstring_view line = lines[static_cast<std::size_t>(i)];
      if (line.empty()) continue;
      fields.assign(1, std::wstring());
      try {
        ParseCsvLine(std::wstring(line), fields, cart.separator);
      } catch (const common::RuntimeError& error) {
        throw UnexpectedError{error, false, i};
      }
      const LineShape shape = ShapeOf(fields);
      if (shape.all_empty) continue;
      if (shape.fields != kCartColumns) {
        cart.malformed.push_back(i);
        continue;
      }
      witnesses.Consider(i, 0, fields[10]);
      witnesses.Consider(i, 1, fields[11]);
      witnesses.Consider(i, 2, fields[12]);
      // Copies, not moves: they take just the room the text needs, and the fields keep theirs for
      // the next line.
      cart.items.push_back({i, fields[1], fields[2], fields[3], fields[4], fields[10], fields[11], fields[12]});
    }
  } catch (const common::RuntimeError& error) {
    throw UnexpectedError{error};
  }

  const LineShape header = ShapeOf(lines.front(), cart.separator);
  const std::size_t others = cart.items.size() + cart.malformed.size();
  cart.is_cart =
      (others == 0 && header.all_empty) || HasCartColumns(header) || (others > 0 && 2 * cart.items.size() >= others);

  if (witnesses.point && witnesses.comma) {
    auto first = std::move(*witnesses.point), second = std::move(*witnesses.comma);
    if (second.first < first.first) std::swap(first, second);
    cart.conflict = {std::move(first.second), std::move(second.second)};
  } else if (witnesses.comma) {
    cart.decimal_mark = DecimalMark::kComma;
  }
  return cart;
}

}  // namespace modMain
