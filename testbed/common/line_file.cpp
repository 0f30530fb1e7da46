#include "testbed/common/line_file.h"

namespace testbed {
namespace {

HANDLE CreateForWriting(const std::wstring& path) {
  return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                     CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  DWORD written = 0;
  return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
}

}  // namespace

bool LineFile::Create(const std::wstring& path) {
  file_.reset(CreateForWriting(path));
  return is_open();
}

bool LineFile::WriteLine(std::string_view line) {
  if (!file_) return false;
  std::string record(line);
  record += '\n';
  return WriteAll(file_.get(), record);
}

bool WriteWholeFile(const std::wstring& path, const std::vector<std::string>& lines) {
  const common::UniqueFile file(CreateForWriting(path));
  if (!file) return false;
  std::string content;
  for (const auto& line : lines) {
    content += line;
    content += '\n';
  }
  return WriteAll(file.get(), content);
}

}  // namespace testbed
