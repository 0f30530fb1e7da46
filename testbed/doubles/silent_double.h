#pragma once
// A fast, silent stand-in for the import run's partners, for the fuzz targets and the benchmarks:
// a quoting application that takes every call, a desk with one cart file, message boxes that are
// only counted and an emulated registry naming the Documents folder, and a progress window that
// never shows, since its clock stands still. It checks that every object reference handed out is
// given back exactly once.
#include <cstddef>
#include <string>

#include "import/mod_main.h"
#include "testbed/doubles/automation_double.h"
#include "testbed/doubles/desk_double.h"
#include "testbed/doubles/fake_clock.h"

namespace modMain::testing {

class SilentHost final : public AutomationDouble {
 public:
  std::size_t copies = 0;  // SLIBufferCopyToMLIBuffer calls
  std::size_t pastes = 0;  // MLIBufferAppendPaste calls
  std::size_t calls = 0;   // every property read and method call

  ObjectId GetActiveObject(const std::wstring& prog_id) override;
  ObjectId GetObjectProperty(ObjectId object, const std::wstring& property) override;
  void CallMethod(ObjectId object, const std::wstring& method, std::span<Argument> args) override;
  common::Variant CallForValue(ObjectId object, const std::wstring& method, std::span<Argument> args) override;
  void ReleaseObject(ObjectId object) noexcept override;
};

// Where the silent desk's cart is.
inline constexpr wchar_t kSilentCartPath[] = L"C:\\Docs\\ShoppingCart.csv";

class SilentDesk final : public DeskDouble {
 public:
  // The Documents folder is "C:\Docs"; the cart is `cart_bytes`; the boxes speak as `texts`.
  SilentDesk(std::string cart_bytes, const Texts& texts);

  std::size_t boxes = 0;       // message boxes shown
  std::size_t line_boxes = 0;  // of which: the box about the lines that will not be imported
  std::wstring last_message;

  void ShowMessage(const std::wstring& text, MessageIcon icon, const std::wstring& title) override;
  // Never asked: this application refuses nothing. Counted as a box; the answer is Cancel.
  Choice AskRetryOrCancel(const std::wstring& text, MessageIcon icon, const std::wstring& title) override;
  // The box about the lines that will not be imported: counted as a box; the answer is OK.
  Choice AskOkOrCancel(const std::wstring& text, MessageIcon icon, const std::wstring& title) override;
  std::int64_t FileLength(const std::wstring& path) override;
  FileContent ReadAllShared(const std::wstring& path) override;
  bool FolderExists(const std::wstring& path) override { return path == L"C:\\Docs"; }
  std::wstring FullPath(const std::wstring& path) override { return path; }
  // The shell knows no other Documents folder.
  std::optional<std::wstring> ShellDocumentsFolder() override { return std::nullopt; }
  bool TryLockImport(const std::wstring&) override { return true; }
  std::vector<std::wstring> CommandLineArguments() override { return {}; }

 private:
  std::string cart_;
  const Texts& texts_;
};

// Counts the times it was shown.
class SilentWindow final : public ProgressWindow {
 public:
  std::size_t shown = 0;
  void Show(const std::wstring&, const std::wstring&) override { ++shown; }
  void Update(const std::wstring&, std::uint64_t, std::uint64_t) override {}
  bool Cancelled() override { return false; }
  void Close() noexcept override {}
};

struct SilentDouble {
  explicit SilentDouble(std::string cart_bytes) : desk(std::move(cart_bytes), texts) {}
  Partners partners() { return {host, desk, progress, clock, texts}; }

  Texts texts{Language::kEnglish};
  SilentHost host;
  SilentDesk desk;
  SilentWindow window;
  FakeClock clock;
  Progress progress{window, clock, texts};
};

}  // namespace modMain::testing
