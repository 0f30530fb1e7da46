#pragma once
// The cart file's side of the platform: Win32 file calls, with the platform's error codes and
// messages (32 and "The process cannot access the file..." for a file another program holds).
#include "import/desk.h"

#include <cstdint>
#include <optional>
#include <string>

namespace modMain::windows {

// The file functions below take any path, of any length: the platform gets the \\?\ form of the
// full path (\\?\UNC\ for a server's), which a path of MAX_PATH characters or more needs (the
// manifest's longPathAware alone would need a policy that is off by default).
std::wstring ExtendedPath(const std::wstring& path);

// The file's length from its attributes, without opening it. Raises the platform's error when
// there is no file at `path` (a folder counts as none).
std::int64_t FileLengthOf(const std::wstring& path);
// Opens the file for reading, shared for reading and writing by others, reads the bytes it has and
// closes it. An open failure comes back in `open_error`; later failures are raised.
FileContent ReadAllSharedBytes(const std::wstring& path);
// Whether `path` names a folder that is there. Never fails.
bool IsFolder(const std::wstring& path);
// The current user's Documents folder from the shell (SHGetKnownFolderPath, FOLDERID_Documents),
// in UTF-16; nothing when the shell cannot tell.
std::optional<std::wstring> ShellDocumentsFolderPath();
// `path` made full with GetFullPathNameW: from the current folder when it is relative, "." and
// ".." resolved. Raises the platform's error for a path it cannot take (the empty one, say).
std::wstring FullPathOf(const std::wstring& path);

}  // namespace modMain::windows
