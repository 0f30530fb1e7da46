// The cart file: the existence test, the whole read, and the error text of a failed open.
#include "import/cart_file.h"

#include "import/cart_encoding.h"
#include "import/program.h"
#include "import/text_helpers.h"

namespace modMain {

bool FileExists(Desk& desk, const std::wstring& path) {
  try {
    desk.FileLength(path);
    return true;
  } catch (const common::RuntimeError&) {
    return false;
  }
}

std::optional<std::wstring> ReadFileToString(Desk& desk, const std::wstring& path) {
  FileContent content = desk.ReadAllShared(path);
  if (content.open_error) {
    const CurrentError current{content.open_error->number(), content.open_error->description()};
    desk.ShowMessage(ErrorText(current) + L"\r\nError in ReadFileToString, File=" + QuoteText(path),
                     MessageIcon::kCritical, kAppTitle);
    return std::wstring();
  }
  return DecodeCart(content.bytes);
}

std::wstring ErrorText(const CurrentError& error) {
  return L"Error (" + std::to_wstring(error.number) + L") " + error.description + L"\r\n";
}

}  // namespace modMain
