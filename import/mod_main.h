#pragma once
// modMain: the cart import. `Main` runs the whole import over a Platform; the other procedures
// are its steps, public so that each can be tested on its own.
//
// Expected conditions (no cart file, the quoting application not running, no open document, a
// malformed line, a cart file that cannot be opened) are told to the user in message boxes.
// Everything else (an automation error, a 16-bit overflow, a failed conversion) is raised as
// common::RuntimeError; `Run` turns it into the unexpected-error report.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/runtime_error.h"
#include "import/platform.h"
#include "registry/registry_api.h"

namespace modMain {

inline constexpr wchar_t kAppTitle[] = L"Kestrova Cart Import";
inline constexpr wchar_t kHostProgId[] = L"Brevanto.Application";
inline constexpr wchar_t kCartFileName[] = L"\\ShoppingCart.csv";
// Where the Documents folder is named: the value "Personal" of this key under HKEY_CURRENT_USER.
inline constexpr wchar_t kShellFoldersKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline constexpr wchar_t kDocumentsValue[] = L"Personal";
// One import at a time per Windows session: the lock is named in the session's namespace
// ("Local\"), so that the users of one terminal server do not keep each other out.
inline constexpr wchar_t kImportLockName[] = L"Local\\KestrovaCartImport";
inline constexpr wchar_t kAlreadyRunningText[] =
    L"A Kestrova cart import is already running. Wait until it has finished, then import the cart again if you still "
    L"need to.";

// An unexpected error as its report tells it: the error, whether the application had gone away,
// and where the run was, in a cart line (its index) or in the paste call itself. ImportCart raises
// one for an error within a line or the paste; it is no RuntimeError, so nothing that traps those
// takes it for one.
struct UnexpectedError {
  common::RuntimeError error;
  bool host_gone = false;
  std::optional<std::int16_t> line{};
  bool in_paste = false;
};

// The error a procedure has trapped; number 0 means that none is current.
struct CurrentError {
  std::int32_t number = 0;
  std::wstring description;
};

// --- The run ------------------------------------------------------------------------------------

// The import of ShoppingCart.csv in the Documents folder: the folder lookup, the check that the
// cart is there (in the folder the shell names too, when the registry's holds none; a box when it
// is nowhere), then ImportCart.
void Main(Platform& platform);
// The import of the cart at `cart_path` (a full path, of a file that is there), from the read to
// the final count. Raises unexpected errors (an UnexpectedError when one happened within a cart
// line or the paste call), after every object reference it took has been released.
void ImportCart(Platform& platform, const std::wstring& cart_path);
// The program, with the command line's arguments: none imports the Documents folder's cart
// (Main), one the cart at that path, taken from the current folder when it is relative. More than
// one, or another import holding the import lock, is told in a box, and nothing is read. Whatever
// is raised ends here, in the unexpected-error report. Returns the process exit code: 0 for every
// expected end; 1 after the report, after a refused start, and when the user stopped the run in
// the busy box (RunCancelled, which has said all there is to say).
int Run(Platform& platform);
// Shows the unexpected-error report. When the application has gone away, the report says so, and
// whether anything may have been pasted: only when the paste call itself was under way.
void ReportUnexpectedError(Platform& platform, const UnexpectedError& failure);

// --- Cart text and lines -------------------------------------------------------------------------

// The cart file's bytes as text, in the encoding that the bytes show: after FF FE or FE FF,
// UTF-16 little- or big-endian (the mark dropped, an odd last byte too); UTF-8 without its mark
// when the bytes after an optional EF BB BF are valid UTF-8 and either the mark is there or a
// byte is above 0x7F; otherwise the ANSI code page, byte for byte, a mark included.
std::wstring DecodeCart(std::string_view bytes);
// The cart's lines: `text` cut before its first blank line and split at its line ends, CR LF,
// or LF in a text that holds no CR LF at all. The empty text has no line at all.
std::vector<std::wstring> CartLines(std::wstring text);

// Splits `line` at the commas outside double quotes into fields[1..n]; fields[0] keeps its text
// and carries no field. The empty line gives fields[0] alone. Raises Overflow for a line of
// 32,767 characters or more. `line` is the parser's own copy, so it may be one of the fields.
void ParseCsvLine(std::wstring line, std::vector<std::wstring>& fields);

// --- Host presence ------------------------------------------------------------------------------

// Whether the quoting application's running object can be obtained. Keeps no reference and
// never raises a runtime error.
bool IsHostRunning(Platform& platform);

// --- Text clean-up ------------------------------------------------------------------------------

// `text` without its leading and trailing spaces, keeping only digits and the characters of
// `extra`. Raises Overflow when the trimmed text has 32,767 characters or more.
std::wstring NumericCharsOnly(std::wstring_view text, std::wstring_view extra);
// The number that `value` reads as, else 0. Never fails. Read as the cart writes numbers, "."
// for decimals and "," between digit groups, with the United States conventions whatever the
// user's regional settings: under German ones "3249.00" would read as 324900, under French ones
// not at all.
double ToNumber(const std::wstring& value);
// `text` before the first occurrence of `marker` (compared case-insensitively), or all of it.
std::wstring TruncateAt(std::wstring_view text, std::wstring_view marker);
// `text` without its last `count` characters; a negative count removes nothing.
std::wstring DropRight(std::wstring_view text, std::int16_t count);
// `value` between apostrophes, nothing escaped.
std::wstring QuoteText(std::wstring_view value);

// --- Files --------------------------------------------------------------------------------------

// Whether the length of the file at `path` can be obtained. Never fails.
bool FileExists(Platform& platform, const std::wstring& path);
// The file's whole content as text (DecodeCart). When the file cannot be opened, shows the
// three-line error message and returns the empty text; failures after the open are raised.
std::wstring ReadFileToString(Platform& platform, const std::wstring& path);
// "Error (" number ") " description CR LF.
std::wstring ErrorText(const CurrentError& error);

// --- Documents folder ---------------------------------------------------------------------------

// The "Personal" folder of the current user's shell folders, without one trailing backslash; the
// empty text when it cannot be read. Only reads the registry; raises what `winreg` raises.
std::wstring GetMyDocumentsFolder(registry::RegistryApi& api);

}  // namespace modMain
