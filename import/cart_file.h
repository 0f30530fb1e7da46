#pragma once
// The cart file: whether it is there, its whole content as text, and the error text of a failed
// open. All the importer's file access; nothing is ever written.
#include <cstdint>
#include <optional>
#include <string>

#include "import/desk.h"
#include "import/texts.h"

namespace modMain {

// The error a procedure has trapped; number 0 means that none is current.
struct CurrentError {
  std::int32_t number = 0;
  std::wstring description;
};

// Whether the length of the file at `path` can be obtained. Never fails.
bool FileExists(Desk& desk, const std::wstring& path);
// The file's whole content as text (DecodeCart); nothing when its bytes are no text. When the
// file cannot be opened, shows the three-line error message in the language of `texts` and
// returns the empty text; failures after the open are raised.
std::optional<std::wstring> ReadFileToString(Desk& desk, const Texts& texts, const std::wstring& path);
// "Error (" number ") " description CR LF, in the language of `texts` (the description of one of
// the program's own errors too).
std::wstring ErrorText(const Texts& texts, const CurrentError& error);

}  // namespace modMain
