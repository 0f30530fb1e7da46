#include "testbed/common/item_line.h"

#include <algorithm>

#include "testbed/common/command_line.h"

namespace testbed {
namespace {

std::optional<long long> Digits(std::wstring_view text) {
  if (text.empty() || !std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; })) {
    return std::nullopt;
  }
  return ParseInteger(text);  // nothing when it overflows
}

}  // namespace

std::optional<ItemCount> ParseItemLine(std::wstring_view line) {
  constexpr std::wstring_view kItem = L"Item ";
  constexpr std::wstring_view kOf = L" of ";
  if (!line.starts_with(kItem)) return std::nullopt;
  line.remove_prefix(kItem.size());
  const std::size_t of = line.find(kOf);
  if (of == std::wstring_view::npos) return std::nullopt;
  const std::optional<long long> item = Digits(line.substr(0, of));
  const std::optional<long long> count = Digits(line.substr(of + kOf.size()));
  if (!item || !count) return std::nullopt;
  return ItemCount{*item, *count};
}

}  // namespace testbed
