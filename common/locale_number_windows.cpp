#include <windows.h>
// oleauto.h needs the types of windows.h first.
#include <oleauto.h>

#include "common/locale_number.h"

#include <string>

namespace common {

std::optional<double> TextToDouble(std::wstring_view text) {
  // VarR8FromStr wants an OLECHAR* that is NUL-terminated; an embedded NUL ends the text early,
  // which would let "1\0abc" read as 1, so such text is refused up front.
  if (text.find(L'\0') != std::wstring_view::npos) return std::nullopt;
  std::wstring copy(text);
  double result = 0.0;
  // The cart's own conventions, not the user's: United States English without the user's
  // overrides, so a German "," decimal or a hand-changed separator cannot scale prices by 100.
  // (LOCALE_INVARIANT would refuse "$12.50", which an uncleaned quantity may hold.)
  constexpr LCID kUnitedStates = MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);
  if (FAILED(VarR8FromStr(copy.data(), kUnitedStates, LOCALE_NOUSEROVERRIDE, &result))) return std::nullopt;
  return result;
}

}  // namespace common
