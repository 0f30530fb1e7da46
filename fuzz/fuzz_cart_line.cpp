// The cart line parser on any text, under the separator that the first byte picks. Checks what
// the syntax promises without restating it: a line without quotes splits at every separator;
// fields written back as a spreadsheet writes them (each quoted, quotes doubled) parse to the same
// fields; and the count that the import judges a line by is the same whether it is taken from the
// line or from the parsed fields.
#include <cstdlib>
#include <string>
#include <vector>

#include "common/ansi.h"
#include "common/runtime_error.h"
#include "import/cart_line.h"

namespace {

std::wstring Quoted(const std::wstring& field) {
  std::wstring quoted = L"\"";
  for (const wchar_t c : field) quoted += c == L'"' ? std::wstring(L"\"\"") : std::wstring(1, c);
  return quoted + L"\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const wchar_t separator = std::wstring_view(L",;\t")[data[0] % 3];
  const std::wstring line = common::AnsiToText(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
  std::vector<std::wstring> fields(1, L"kept");
  try {
    modMain::ParseCsvLine(line, fields, separator);
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

  const modMain::LineShape from_line = modMain::ShapeOf(line, separator);
  const modMain::LineShape from_fields = modMain::ShapeOf(fields);
  if (from_line.fields != from_fields.fields || from_line.all_empty != from_fields.all_empty) std::abort();

  if (line.find(L'"') == std::wstring::npos) {
    std::size_t start = 0;
    for (std::size_t i = 1; i < fields.size(); ++i) {
      const std::size_t end = std::min(line.find(separator, start), line.size());
      if (fields[i] != line.substr(start, end - start)) std::abort();
      start = end + 1;
    }
    if (start != line.size() + 1) std::abort();
  }

  std::wstring written;
  for (std::size_t i = 1; i < fields.size(); ++i)
    written += (i > 1 ? std::wstring(1, separator) : L"") + Quoted(fields[i]);
  if (written.size() >= 32767) return 0;
  std::vector<std::wstring> again(1, L"kept");
  modMain::ParseCsvLine(written, again, separator);
  if (again != fields) std::abort();
  return 0;
}
