// Text helpers for the cart's text and the Documents folder.
#include "import/text_helpers.h"

#include <cstdint>

#include "common/text.h"

namespace modMain {

std::wstring TruncateAt(std::wstring_view text, std::wstring_view marker) {
  const std::size_t at = common::TextFindIgnoreCase(text, marker);
  return std::wstring(at == std::wstring_view::npos ? text : text.substr(0, at));
}

std::wstring DropRight(std::wstring_view text, std::int16_t count) {
  std::int64_t keep = static_cast<std::int64_t>(text.size()) - count;
  if (keep < 0) keep = 0;
  return std::wstring(text.substr(0, static_cast<std::size_t>(keep)));  // substr clamps a negative count
}

}  // namespace modMain
