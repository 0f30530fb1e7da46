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

// Drops a first line "sep=X", the hint that spreadsheets write, with its line end (CR LF, LF or
// CR); X, spaces after it ignored, when it is a separator.
std::optional<wchar_t> TakeSeparatorHint(std::wstring& text) {
  static constexpr std::wstring_view kSep = L"sep=";
  const std::size_t end = std::min(text.find_first_of(L"\r\n"), text.size());
  const std::wstring_view first(text.data(), end);
  const bool hint =
      first.size() >= kSep.size() && std::equal(kSep.begin(), kSep.end(), first.begin(), [](wchar_t a, wchar_t b) {
        return a == (b >= L'A' && b <= L'Z' ? static_cast<wchar_t>(b - L'A' + L'a') : b);
      });
  if (!hint) return std::nullopt;
  std::wstring_view named = first.substr(kSep.size());
  named = named.substr(0, named.find_last_not_of(L' ') + 1);  // npos + 1: none left
  std::optional<wchar_t> separator;
  if (named.size() == 1 && std::ranges::find(kSeparators, named[0]) != kSeparators.end()) separator = named[0];
  const std::size_t line_end = end + 1 < text.size() && text[end] == L'\r' && text[end + 1] == L'\n' ? 2 : 1;
  text.erase(0, std::min(end + line_end, text.size()));
  return separator;
}

// Decides the line end by the text's first line break: CR LF, LF, or CR alone as a spreadsheet's
// "CSV (Macintosh)" ends its lines (with an LF for a line break inside a cell, so the first line
// break decides, not whether there is an LF at all). In an LF cart a CR right before an LF goes,
// in a CR cart an LF right after a CR, so that one stray CR LF cannot merge the lines before it.
std::wstring LineEndOf(std::wstring& text) {
  const std::size_t first = text.find_first_of(L"\r\n");
  if (first == std::wstring::npos) return L"\r\n";
  if (text[first] == L'\r' && first + 1 < text.size() && text[first + 1] == L'\n') return L"\r\n";
  const bool cr = text[first] == L'\r';
  std::size_t kept = 0;
  wchar_t before = 0;  // the character before text[i] as it was
  for (std::size_t i = 0; i < text.size(); before = text[i], ++i) {
    const bool paired =
        cr ? text[i] == L'\n' && before == L'\r' : text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n';
    if (!paired) text[kept++] = text[i];
  }
  text.resize(kept);
  return cr ? L"\r" : L"\n";
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
  const std::optional<wchar_t> hint = TakeSeparatorHint(text);
  const std::wstring line_end = LineEndOf(text);
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
  // The items' price, cost and quantity as written, read once the decimal mark is known.
  std::vector<std::array<std::wstring, 3>> written;
  // At once: a growing vector would hold its old items and new ones together.
  cart.items.reserve(lines.size() - 1);
  written.reserve(lines.size() - 1);
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
      if (fields[1].empty() && fields[2].empty() && fields[3].empty() && fields[4].empty()) {
        cart.nameless.push_back(i);  // its values decide nothing either
        continue;
      }
      witnesses.Consider(i, 0, fields[10]);
      witnesses.Consider(i, 1, fields[11]);
      witnesses.Consider(i, 2, fields[12]);
      // Copies, not moves: they take just the room the text needs, and the fields keep theirs for
      // the next line.
      cart.items.push_back({i, fields[1], fields[2], fields[3], fields[4]});
      written.push_back({fields[10], fields[11], fields[12]});
    }
  } catch (const common::RuntimeError& error) {
    throw UnexpectedError{error};
  }

  const LineShape header = ShapeOf(lines.front(), cart.separator);
  const std::size_t well_formed = cart.items.size() + cart.nameless.size();
  const std::size_t others = well_formed + cart.malformed.size();
  cart.is_cart =
      (others == 0 && header.all_empty) || HasCartColumns(header) || (others > 0 && 2 * well_formed >= others);

  if (witnesses.point && witnesses.comma) {
    auto first = std::move(*witnesses.point), second = std::move(*witnesses.comma);
    if (second.first < first.first) std::swap(first, second);
    cart.conflict = {std::move(first.second), std::move(second.second)};
  } else if (witnesses.comma || (!witnesses.point && cart.separator == L';')) {
    cart.decimal_mark = DecimalMark::kComma;
  }
  for (std::size_t k = 0; k < cart.items.size(); ++k) {
    CartItem& item = cart.items[k];
    item.price = PriceNumber(written[k][0], cart.decimal_mark);
    item.cost = PriceNumber(written[k][1], cart.decimal_mark);
    item.quantity = QuantityNumber(written[k][2], cart.decimal_mark);
  }
  return cart;
}

}  // namespace modMain
