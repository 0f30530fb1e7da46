#pragma once
// A fast, silent stand-in for the import run's platform, for the fuzz targets and the benchmarks:
// one cart file, a quoting application that takes every call, message boxes that are only counted,
// an emulated registry naming the Documents folder. It checks that every object reference handed
// out is given back exactly once.
#include <cstddef>
#include <string>

#include "testbed/doubles/platform_double.h"

namespace modMain::testing {

class SilentDouble final : public PlatformDouble {
 public:
  // The Documents folder is "C:\Docs"; the cart is `cart_bytes`.
  explicit SilentDouble(std::string cart_bytes);

  std::size_t boxes = 0;       // message boxes shown
  std::size_t line_boxes = 0;  // of which: lines with the wrong number of columns
  std::size_t copies = 0;      // SLIBufferCopyToMLIBuffer calls
  std::size_t pastes = 0;      // MLIBufferAppendPaste calls
  std::size_t calls = 0;       // every property read and method call
  std::wstring last_message;

  ObjectId GetActiveObject(const std::wstring& prog_id) override;
  ObjectId GetObjectProperty(ObjectId object, const std::wstring& property) override;
  void CallMethod(ObjectId object, const std::wstring& method, std::span<Argument> args) override;
  common::Variant CallForValue(ObjectId object, const std::wstring& method, std::span<Argument> args) override;
  void ReleaseObject(ObjectId object) noexcept override;
  void ShowMessage(const std::wstring& text, MessageIcon icon, const std::wstring& title) override;
  // Never asked: this application refuses nothing. Counted as a box; the answer is Cancel.
  Choice AskRetryOrCancel(const std::wstring& text, MessageIcon icon, const std::wstring& title) override;
  // The columns box: counted as a box; the answer is OK.
  Choice AskOkOrCancel(const std::wstring& text, MessageIcon icon, const std::wstring& title) override;
  std::int64_t FileLength(const std::wstring& path) override;
  bool FolderExists(const std::wstring& path) override { return path == L"C:\\Docs"; }
  FileContent ReadAllShared(const std::wstring& path) override;
  // The shell knows no other Documents folder.
  std::optional<std::wstring> ShellDocumentsFolder() override { return std::nullopt; }
  bool TryLockImport(const std::wstring&) override { return true; }
  std::wstring FullPath(const std::wstring& path) override { return path; }
  std::vector<std::wstring> CommandLineArguments() override { return {}; }

 private:
  std::string cart_;
};

}  // namespace modMain::testing
