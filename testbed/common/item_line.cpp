#include "testbed/common/item_line.h"

#include <algorithm>
#include <array>

#include "import/texts.h"
#include "testbed/common/command_line.h"

namespace testbed {
namespace {

std::optional<long long> Digits(std::wstring_view text) {
  if (text.empty() || !std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; })) {
    return std::nullopt;
  }
  return ParseInteger(text);  // nothing when it overflows
}

// The numbers of inserts {1} and {2} when `line` reads as `form` ("Item {1} of {2}") with digits
// in their places.
std::optional<ItemCount> Read(std::wstring_view form, std::wstring_view line) {
  std::array<std::optional<long long>, 3> inserts{};
  std::size_t at = 0;
  while (!form.empty()) {
    const std::size_t open = std::min(form.find(L'{'), form.size());
    const std::wstring_view text = form.substr(0, open);
    if (!line.substr(at).starts_with(text)) return std::nullopt;
    at += text.size();
    if (open == form.size()) break;
    const std::size_t close = form.find(L'}', open);
    const std::optional<long long> number = Digits(form.substr(open + 1, close - open - 1));
    if (close == std::wstring_view::npos || !number || *number < 1 || *number > 2) return std::nullopt;
    form.remove_prefix(close + 1);
    // The insert's digits run up to the form's next text (or the line's end).
    const std::wstring_view next = form.substr(0, std::min(form.find(L'{'), form.size()));
    const std::size_t end = next.empty() ? line.size() : line.find(next, at);
    if (end == std::wstring_view::npos) return std::nullopt;
    inserts[static_cast<std::size_t>(*number)] = Digits(line.substr(at, end - at));
    if (!inserts[static_cast<std::size_t>(*number)]) return std::nullopt;
    at = end;
  }
  if (at != line.size() || !inserts[1] || !inserts[2]) return std::nullopt;
  return ItemCount{*inserts[1], *inserts[2]};
}

}  // namespace

std::optional<ItemCount> ParseItemLine(std::wstring_view line) {
  for (const modMain::Language language : modMain::kLanguages) {
    const modMain::Texts texts(language);
    if (auto count = Read(texts.Form(modMain::Message::kProgressItem, modMain::PluralForm::kOther), line)) return count;
  }
  return std::nullopt;
}

}  // namespace testbed
