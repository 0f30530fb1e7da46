// The cart file: the existence test, the whole read, and the error text of a failed open.
#include "import/cart_file.h"

#include "import/cart_encoding.h"
#include "import/program.h"

namespace modMain {

bool FileExists(Desk& desk, const std::wstring& path) {
  try {
    desk.FileLength(path);
    return true;
  } catch (const common::RuntimeError&) {
    return false;
  }
}

std::optional<std::wstring> ReadFileToString(Desk& desk, const Texts& texts, const std::wstring& path) {
  FileContent content = desk.ReadAllShared(path);
  if (content.open_error) {
    const CurrentError current{content.open_error->number(), texts.Describe(*content.open_error)};
    desk.ShowMessage(ErrorText(texts, current) + L"\r\n" + texts.Say(Message::kReadFailed, path),
                     MessageIcon::kCritical, kAppTitle);
    return std::wstring();
  }
  return DecodeCart(content.bytes);
}

std::wstring ErrorText(const Texts& texts, const CurrentError& error) {
  return texts.Say(Message::kErrorText, error.number, error.description) + L"\r\n";
}

}  // namespace modMain
