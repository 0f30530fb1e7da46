#pragma once
// The cart file's side of the platform: Win32 file calls, with the platform's error codes and
// messages (32 and "The process cannot access the file..." for a file another program holds).
#include "import/platform.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>

namespace modMain::windows {

// Owner of one file handle.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (*this) CloseHandle(handle_);
  }
  FileHandle(FileHandle&& other) noexcept : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  // Closes now, so that a failing close can be reported.
  bool Close() { return CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != FALSE; }

 private:
  HANDLE handle_;
};

// The file's length from its attributes, without opening it. Raises the platform's error when
// there is no file at `path` (a folder counts as none).
std::int64_t FileLengthOf(const std::wstring& path);
// Opens the file for reading, shared for reading and writing by others, reads the bytes it has and
// closes it. An open failure comes back in `open_error`; later failures are raised.
FileContent ReadAllSharedBytes(const std::wstring& path);

}  // namespace modMain::windows
