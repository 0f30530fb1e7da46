#include "common/text.h"

namespace common {

std::wstring TextUpper(std::wstring_view text) { return FoldCase(text); }

}  // namespace common
