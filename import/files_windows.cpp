#include "import/files_windows.h"

#include <windows.h>
// shlobj.h and knownfolders.h need the types of windows.h first.
#include <knownfolders.h>
#include <shlobj.h>

#include <climits>
#include <utility>

#include "common/com_windows.h"
#include "common/owners_windows.h"
#include "import/system_message_windows.h"

namespace modMain::windows {
namespace {

// A path with a NUL inside would name a different, shorter path at the platform.
bool HasNul(const std::wstring& path) { return path.find(L'\0') != std::wstring::npos; }

}  // namespace

std::wstring ExtendedPath(const std::wstring& path) {
  if (path.starts_with(L"\\\\?\\") || path.starts_with(L"\\\\.\\")) return path;
  const std::wstring full = FullPathOf(path);  // "." and ".." resolved: the \\?\ form takes names as they are
  if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

std::int64_t FileLengthOf(const std::wstring& path) {
  if (HasNul(path)) throw Win32Error(ERROR_INVALID_NAME);
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(ExtendedPath(path).c_str(), GetFileExInfoStandard, &data)) {
    throw Win32Error(GetLastError());
  }
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) throw Win32Error(ERROR_FILE_NOT_FOUND);
  return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

FileContent ReadAllSharedBytes(const std::wstring& path) {
  if (HasNul(path)) return {Win32Error(ERROR_INVALID_NAME), {}};
  std::wstring extended;
  try {
    extended = ExtendedPath(path);
  } catch (const common::RuntimeError& error) {
    return {error, {}};
  }
  common::UniqueFile file(CreateFileW(extended.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {Win32Error(GetLastError()), {}};

  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) throw Win32Error(GetLastError());
  if (size.QuadPart > INT_MAX) throw Win32Error(ERROR_FILE_TOO_LARGE);  // beyond what one text can hold
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &read, nullptr)) {
      throw Win32Error(GetLastError());
    }
    if (read == 0) break;  // another program shortened the file after its length was taken
    done += read;
  }
  bytes.resize(done);                                                  // only what the file really held: never padding
  if (!CloseHandle(file.release())) throw Win32Error(GetLastError());  // a failing close is reported
  return {std::nullopt, std::move(bytes)};
}

bool IsFolder(const std::wstring& path) {
  if (HasNul(path)) return false;
  try {
    const DWORD attributes = GetFileAttributesW(ExtendedPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  } catch (const common::RuntimeError&) {
    return false;  // no full path to be had: no folder
  }
}

std::optional<std::wstring> ShellDocumentsFolderPath() {
  common::UniqueCoTaskText path;
  // The path is allocated even when the call fails, and must then be freed too.
  if (FAILED(SHGetKnownFolderPath(FOLDERID_Documents, KF_FLAG_DEFAULT, nullptr, path.put())) || !path) {
    return std::nullopt;
  }
  return std::wstring(path.get());
}

std::wstring FullPathOf(const std::wstring& path) {
  // The empty path names no file (Wine would make it the current folder).
  if (path.empty() || HasNul(path)) throw Win32Error(ERROR_INVALID_NAME);
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    // The length written, or the size needed (terminator included) when the buffer is too small.
    const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) throw Win32Error(GetLastError());
    if (length < full.size()) {
      full.resize(length);
      return full;
    }
    full.resize(length);
  }
}

}  // namespace modMain::windows
