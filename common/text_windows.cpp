#include <windows.h>

#include <climits>

#include "common/text.h"

namespace common {
namespace {

int Length(std::wstring_view text) { return text.size() > INT_MAX ? INT_MAX : static_cast<int>(text.size()); }

}  // namespace

// Upper case under the user's locale, character for character (LCMAP_UPPERCASE keeps the length).
std::wstring TextUpper(std::wstring_view text) {
  std::wstring upper(text);
  if (!upper.empty()) {
    LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_UPPERCASE, text.data(), Length(text), upper.data(), Length(upper),
                  nullptr, nullptr, 0);
  }
  return upper;
}

}  // namespace common
