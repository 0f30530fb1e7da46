#include "common/text.h"

namespace common {

bool TextEqualsIgnoreCase(std::wstring_view a, std::wstring_view b) { return FoldCase(a) == FoldCase(b); }

std::size_t TextFindIgnoreCase(std::wstring_view haystack, std::wstring_view needle) {
  return FoldCase(haystack).find(FoldCase(needle));
}

}  // namespace common
