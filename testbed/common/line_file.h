#pragma once
// Text files that other processes read while the testbed runs: UTF-8, one line per record.
#include <string>
#include <string_view>
#include <vector>

#include "common/owners_windows.h"

namespace testbed {

// A file written one line at a time. Each line goes to the file with its own write before
// WriteLine returns, so a reader sees every finished line at once. Others may read the file (and
// delete or rename it) while it is open.
class LineFile {
 public:
  LineFile() = default;
  // Creates or truncates the file. Fails with false (GetLastError tells why).
  bool Create(const std::wstring& path);
  bool is_open() const { return static_cast<bool>(file_); }
  // Appends the line and a line feed. False when the write fails or no file is open.
  bool WriteLine(std::string_view line);

 private:
  common::UniqueFile file_;
};

// Replaces the file's whole content with the lines, each ended by a line feed.
bool WriteWholeFile(const std::wstring& path, const std::vector<std::string>& lines);

}  // namespace testbed
