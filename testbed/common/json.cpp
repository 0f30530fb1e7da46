#include "testbed/common/json.h"

#include "testbed/common/utf8.h"

namespace testbed {

Json JsonText(std::wstring_view text) { return Utf8(text); }

std::string JsonLine(const Json& value) {
  // Every string in `value` is UTF-8 already; a stray byte is replaced rather than thrown over.
  return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace testbed
