// The cart line parser on any text. Checks the syntax's own consequences: a line with k commas
// outside double quotes has k + 1 fields, no field holds a double quote, and every other character
// lands in a field, in order.
#include <cstdlib>
#include <string>
#include <vector>

#include "common/ansi.h"
#include "common/runtime_error.h"
#include "import/cart_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::wstring line = common::AnsiToText(std::string_view(reinterpret_cast<const char*>(data), size));
  std::vector<std::wstring> fields(1, L"kept");
  try {
    modMain::ParseCsvLine(line, fields);
  } catch (const common::RuntimeError& error) {
    if (error.number() != common::kErrOverflow.number || line.size() < 32767) std::abort();
    return 0;
  }
  if (line.size() >= 32767) std::abort();  // such a line must overflow
  if (line.empty()) {
    if (fields.size() != 1 || !fields[0].empty()) std::abort();
    return 0;
  }
  if (fields[0] != L"kept") std::abort();
  std::size_t separators = 0;
  std::size_t quotes = 0;
  std::wstring expected;  // the line without its quotes and separating commas
  for (wchar_t c : line) {
    if (c == L'"') {
      ++quotes;
    } else if (c == L',' && quotes % 2 == 0) {
      ++separators;
      expected.push_back(L'\x1F');
    } else {
      expected.push_back(c);
    }
  }
  if (fields.size() != separators + 2) std::abort();
  std::wstring joined;
  for (std::size_t i = 1; i < fields.size(); ++i) {
    if (fields[i].find(L'"') != std::wstring::npos) std::abort();
    if (i > 1) joined.push_back(L'\x1F');
    joined += fields[i];
  }
  if (joined != expected) std::abort();
  return 0;
}
