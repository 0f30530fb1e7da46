// The Windows adapters in-process: message boxes read through a CBT hook, the cart file
// through Win32, the automation adapter against an IDispatch of the test's own, and where the
// program loads DLLs from.
#include "common/owners_windows.h"
#include "import/automation_windows.h"
#include "import/cart_file.h"
#include "import/desk_windows.h"
#include "import/dll_search_windows.h"
#include "import/files_windows.h"
#include "import/message_box_windows.h"
#include "import/mod_main.h"
#include "import/system_message_windows.h"
#include "tests/import/recording_double.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <tuple>
#include <vector>

namespace modMain::windows {
namespace {

// --- Message boxes ------------------------------------------------------------------------------

// What the hook saw of the boxes shown on this thread; the hook procedure takes no context.
struct SeenBoxes {
  int count = 0;
  std::wstring title;
  std::wstring text;
  HICON icon = nullptr;
  HWND last = nullptr;
  std::vector<int> buttons;  // of IDOK, IDRETRY and IDCANCEL, those the box has
  WORD press = IDOK;         // the button the hook presses
};
SeenBoxes seen;

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

BOOL CALLBACK FindIcon(HWND child, LPARAM icon) {
  if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) return TRUE;
  *reinterpret_cast<HICON*>(icon) = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
  return FALSE;
}

// Reads each message box as it is activated, then presses OK.
LRESULT CALLBACK OnCbt(int code, WPARAM wparam, LPARAM lparam) {
  const HWND window = reinterpret_cast<HWND>(wparam);
  wchar_t class_name[16] = {};
  if (code == HCBT_ACTIVATE && window != seen.last && GetClassNameW(window, class_name, 16) > 0 &&
      std::wstring(class_name) == L"#32770") {
    seen.last = window;
    ++seen.count;
    seen.title = WindowText(window);
    seen.text = WindowText(GetDlgItem(window, 0xFFFF));
    seen.icon = nullptr;
    seen.buttons.clear();
    for (const int id : {IDOK, IDRETRY, IDCANCEL}) {
      if (GetDlgItem(window, id) != nullptr) seen.buttons.push_back(id);
    }
    EnumChildWindows(window, FindIcon, reinterpret_cast<LPARAM>(&seen.icon));
    PostMessageW(window, WM_COMMAND, seen.press, 0);
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

using HookOwner = common::UniqueAny<HHOOK, &::UnhookWindowsHookEx>;
HookOwner WatchBoxes() {
  seen = {};
  return HookOwner(SetWindowsHookExW(WH_CBT, OnCbt, nullptr, GetCurrentThreadId()));
}

struct IconCase {
  MessageIcon icon;
  const wchar_t* system_icon;
};

class MessageBoxTest : public ::testing::TestWithParam<IconCase> {};

TEST_P(MessageBoxTest, ShowsTextTitleAndIconAndReturnsOnOk) {
  const HookOwner hook = WatchBoxes();
  ASSERT_TRUE(hook);
  const std::wstring text = L"Error (32) In use.\r\n\r\nError in ReadFileToString, File='C:\\a b\\ShoppingCart.csv'";
  ShowMessageBox(text, GetParam().icon, L"Kestrova Cart Import");
  EXPECT_EQ(seen.count, 1);
  EXPECT_EQ(seen.title, L"Kestrova Cart Import");
  EXPECT_EQ(seen.text, text);
  EXPECT_NE(seen.icon, nullptr);
  EXPECT_EQ(seen.icon, LoadIconW(nullptr, GetParam().system_icon));
}

INSTANTIATE_TEST_SUITE_P(Icons, MessageBoxTest,
                         ::testing::Values(IconCase{MessageIcon::kCritical, IDI_HAND},
                                           IconCase{MessageIcon::kExclamation, IDI_EXCLAMATION},
                                           IconCase{MessageIcon::kInformation, IDI_ASTERISK}));

// The boxes that ask: Retry and Cancel (the busy box), OK and Cancel (the columns box). Only the
// first button counts as itself.
TEST(AskingBoxes, AnswerTheirFirstButtonOnlyForThatButton) {
  struct Case {
    Choice (*ask)(const std::wstring&, MessageIcon, const std::wstring&);
    int first;
    Choice choice;
  };
  for (const Case& c :
       {Case{AskRetryOrCancelBox, IDRETRY, Choice::kRetry}, Case{AskOkOrCancelBox, IDOK, Choice::kOk}}) {
    const int other = c.first == IDOK ? IDRETRY : IDOK;
    for (const auto& [pressed, choice] :
         {std::pair{c.first, c.choice}, std::pair{IDCANCEL, Choice::kCancel}, std::pair{other, Choice::kCancel}}) {
      const HookOwner hook = WatchBoxes();
      ASSERT_TRUE(hook);
      seen.press = static_cast<WORD>(pressed);
      EXPECT_EQ(c.ask(L"Busy.", MessageIcon::kExclamation, L"Kestrova Cart Import"), choice) << pressed;
      EXPECT_EQ(seen.count, 1);
      EXPECT_EQ(seen.title, L"Kestrova Cart Import");
      EXPECT_EQ(seen.text, L"Busy.");
      EXPECT_EQ(seen.icon, LoadIconW(nullptr, IDI_EXCLAMATION));
      EXPECT_EQ(seen.buttons, (std::vector<int>{c.first, IDCANCEL}));
    }
  }
}

// --- Files --------------------------------------------------------------------------------------

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    dir_ = std::wstring(temp) + L"kci_import_" + std::to_wstring(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryW(dir_.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    hook_ = WatchBoxes();  // a box that appears is recorded and closed, never left waiting
  }
  void TearDown() override {
    std::error_code ignored;                                  // what cannot go stays in the temp folder
    std::filesystem::remove_all(L"\\\\?\\" + dir_, ignored);  // the \\?\ form reaches long paths too
  }
  // Creates the file with `bytes` and returns its handle, opened with `share`.
  common::UniqueFile Create(const std::wstring& path, std::string_view bytes, DWORD share) {
    common::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_TRUE(file);
    Append(file, bytes);
    return file;
  }
  static void Append(const common::UniqueFile& file, std::string_view bytes) {
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
  }

  std::wstring dir_;
  HookOwner hook_;
  WindowsDesk desk_;
  const Texts english_{Language::kEnglish};
};

TEST_F(FilesTest, ALockedFileExistsButItsOpenFailsWith32AndTheSystemMessage) {
  const std::wstring path = dir_ + L"\\ShoppingCart.csv";
  const common::UniqueFile lock = Create(path, "H\r\nx", 0);
  EXPECT_TRUE(FileExists(desk_, path));

  const FileContent content = ReadAllSharedBytes(path);
  ASSERT_TRUE(content.open_error.has_value());
  EXPECT_EQ(content.open_error->number(), 32);
  const std::wstring message = content.open_error->description();
  EXPECT_FALSE(message.empty());
  EXPECT_EQ(message, SystemMessage(32));
  EXPECT_NE(message.back(), L'\n');

  EXPECT_EQ(ReadFileToString(desk_, english_, path), L"");
  EXPECT_EQ(seen.count, 1);
  EXPECT_EQ(seen.title, L"Kestrova Cart Import");
  EXPECT_EQ(seen.text,
            english_.Say(Message::kErrorText, 32, message) + L"\r\n\r\n" + english_.Say(Message::kReadFailed, path));
  EXPECT_EQ(seen.icon, LoadIconW(nullptr, IDI_HAND));
}

TEST_F(FilesTest, ReadsSharedWhileAnotherHandleWrites) {
  const std::wstring path = dir_ + L"\\growing.csv";
  const common::UniqueFile writer = Create(path, "abc", FILE_SHARE_READ | FILE_SHARE_WRITE);
  EXPECT_EQ(ReadAllSharedBytes(path).bytes, "abc");
  Append(writer, "def");
  EXPECT_EQ(ReadAllSharedBytes(path).bytes, "abcdef");
  EXPECT_EQ(seen.count, 0);
}

// Bytes that are not UTF-8 go through the platform's ANSI code page; a UTF-8 mark is dropped;
// bytes with NULs that are no UTF-16 are no text.
TEST_F(FilesTest, KeepsEveryByteAndDecodesTheText) {
  const std::vector<std::pair<std::string, std::optional<std::wstring>>> cases = {
      {"", L""},
      {"\xEF\xBB\xBFP q\r\nr\ns", L"P q\r\nr\ns"},
      {"\xFC\x80", L"\u00FC\u20AC"},
      {std::string("a\0\0b", 4), std::nullopt}};
  for (const auto& [content, text] : cases) {
    const std::wstring path = dir_ + L"\\bytes" + std::to_wstring(content.size()) + L".csv";
    Create(path, content, FILE_SHARE_READ);
    EXPECT_EQ(ReadAllSharedBytes(path).bytes, content);
    EXPECT_EQ(ReadFileToString(desk_, english_, path), text);
  }
  EXPECT_EQ(seen.count, 0);
}

TEST_F(FilesTest, FileExistsOnlyForAFileThatIsThere) {
  Create(dir_ + L"\\there.csv", "x", FILE_SHARE_READ);
  EXPECT_TRUE(FileExists(desk_, dir_ + L"\\there.csv"));
  for (const std::wstring& path : {dir_ + L"\\missing.csv", std::wstring(), dir_ + L"\\no folder\\ShoppingCart.csv",
                                   dir_, dir_ + std::wstring(L"\\there.csv\0x", 12)}) {
    EXPECT_FALSE(FileExists(desk_, path)) << ::testing::PrintToString(path);
  }
}

// A cart path of MAX_PATH characters or more: found, read, and its folder there. (Wine takes such
// paths in any form; Windows only in the \\?\ form.)
TEST_F(FilesTest, APathBeyondMaxPathIsFoundAndRead) {
  std::wstring folder = dir_;
  while (folder.size() < MAX_PATH) {
    folder += L"\\" + std::wstring(60, L'd');
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  }
  const std::wstring path = folder + L"\\ShoppingCart.csv";
  Create(L"\\\\?\\" + path, "h\r\nx", FILE_SHARE_READ);
  EXPECT_TRUE(FileExists(desk_, path));
  EXPECT_EQ(ReadFileToString(desk_, english_, path), L"h\r\nx");
  EXPECT_TRUE(desk_.FolderExists(folder));
  EXPECT_FALSE(desk_.FolderExists(path));
  EXPECT_EQ(seen.count, 0);
}

// "." and ".." go; a path longer than MAX_PATH comes out whole. (The end-to-end suite runs the
// program with relative paths, spaces and names outside the ANSI code page.)
TEST_F(FilesTest, FullPathStartsAtTheCurrentFolder) {
  wchar_t previous[MAX_PATH + 1] = {};
  ASSERT_NE(GetCurrentDirectoryW(MAX_PATH + 1, previous), 0u);
  ASSERT_TRUE(SetCurrentDirectoryW(dir_.c_str()));
  const std::wstring leaf = dir_.substr(dir_.rfind(L'\\') + 1);
  const std::wstring long_name(300, L'x');
  EXPECT_EQ(FullPathOf(L"..\\" + leaf + L"\\.\\cart.csv"), dir_ + L"\\cart.csv");
  EXPECT_EQ(FullPathOf(long_name), dir_ + L"\\" + long_name);
  for (const std::wstring& path : {std::wstring(), std::wstring(L"a\0b", 3)}) {
    EXPECT_EQ(modMain::testing::ErrorNumberOf([&] { FullPathOf(path); }), ERROR_INVALID_NAME);
  }
  // What the file functions hand the platform: the \\?\ form, which Windows needs beyond MAX_PATH.
  EXPECT_EQ(ExtendedPath(L"..\\" + leaf + L"\\cart.csv"), L"\\\\?\\" + dir_ + L"\\cart.csv");
  EXPECT_EQ(ExtendedPath(L"\\\\server\\share\\.\\c.csv"), L"\\\\?\\UNC\\server\\share\\c.csv");
  EXPECT_EQ(ExtendedPath(L"\\\\?\\C:\\x\\..\\y"), L"\\\\?\\C:\\x\\..\\y");
  SetCurrentDirectoryW(previous);
}

// --- The import lock ----------------------------------------------------------------------------

// Whether another thread can take the mutex `name` (a mutex belongs to a thread, so the thread
// stands for another process). It gives the mutex back, or with `abandon` ends without doing so,
// as a crashed holder would.
bool TakenElsewhere(const std::wstring& name, bool abandon = false) {
  bool taken = false;
  std::thread([&] {
    const common::UniqueHandle mutex(CreateMutexW(nullptr, FALSE, name.c_str()));
    const DWORD wait = WaitForSingleObject(mutex.get(), 0);
    taken = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    if (taken && !abandon) ReleaseMutex(mutex.get());
  }).join();
  return taken;
}

// (That a second program is refused while one imports, the end-to-end suite shows.)
TEST(ImportLock, HeldWhileTheDeskLivesAndFreeAfterAHolderCrashed) {
  const std::wstring name = L"Local\\kci_import_lock_" + std::to_wstring(GetCurrentProcessId());
  // Keeps the mutex in existence between holders: without a handle left it would go, and the next
  // holder would make a fresh one instead of finding the abandoned one.
  const common::UniqueHandle keep(CreateMutexW(nullptr, FALSE, name.c_str()));
  ASSERT_TRUE(keep);
  {
    WindowsDesk desk;
    EXPECT_TRUE(desk.TryLockImport(name));
    EXPECT_FALSE(TakenElsewhere(name));
  }
  EXPECT_TRUE(TakenElsewhere(name, /*abandon=*/true)) << "the desk gave the lock back when it went";
  WindowsDesk desk;
  EXPECT_TRUE(desk.TryLockImport(name)) << "a lock whose holder ended without giving it back is free";
}

// An import started elevated holds a mutex that others may not open: held, not an error.
TEST(ImportLock, AMutexThatCannotBeOpenedIsHeld) {
  const std::wstring name = L"Local\\kci_denied_lock_" + std::to_wstring(GetCurrentProcessId());
  ACL empty{};
  ASSERT_TRUE(InitializeAcl(&empty, sizeof empty, ACL_REVISION));
  SECURITY_DESCRIPTOR descriptor{};
  ASSERT_TRUE(InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
  ASSERT_TRUE(SetSecurityDescriptorDacl(&descriptor, TRUE, &empty, FALSE));  // nobody may open it
  SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, FALSE};
  const common::UniqueHandle held(CreateMutexW(&attributes, TRUE, name.c_str()));
  ASSERT_TRUE(held);
  WindowsDesk desk;
  EXPECT_FALSE(desk.TryLockImport(name));
}

// --- Where DLLs come from -----------------------------------------------------------------------

using UniqueModule = common::UniqueAny<HMODULE, &::FreeLibrary>;

// kci_planted.dll lies beside this program, as a planted DLL would beside the importer; Wine has no
// builtin of that name. The change holds for the rest of the process.
TEST(DllSearch, ADllBesideTheProgramIsFoundByNameOnlyUntilTheSystemFolderAloneIsSearched) {
  ASSERT_TRUE(UniqueModule(LoadLibraryW(L"kci_planted.dll"))) << "error " << GetLastError();
  ASSERT_TRUE(LoadDllsFromSystemFolderOnly());
  EXPECT_FALSE(UniqueModule(LoadLibraryW(L"kci_planted.dll")));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

// --- Automation ---------------------------------------------------------------------------------

// An in-process automation object that writes every call into a journal. "Child" is an object
// property, "Method" replaces its by-reference text, "Index" answers 7, "Fail" and "Raise" raise;
// "Refused" and "Later" fail as a busy application's calls do, "RaisesRefused" raises an error
// that carries the same code, and the name "Busy" is refused at its lookup.
class RecordingDispatch final : public IDispatch {
 public:
  static inline int alive = 0;
  RecordingDispatch(std::vector<std::wstring>& journal, std::wstring name) : journal_(journal), name_(std::move(name)) {
    ++alive;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IDispatch) journal_.push_back(name_ + L" QueryInterface IDispatch");
    *out = (iid == IID_IUnknown || iid == IID_IDispatch) ? this : nullptr;
    if (*out == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) {
      --alive;
      delete this;
    }
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override {
    journal_.push_back(name_ + L" GetIDsOfNames " + names[0]);
    if (std::wstring(names[0]) == L"Busy") return RPC_E_CALL_REJECTED;
    static const std::array<std::wstring, 10> kMembers = {L"Child", L"Method",    L"Index", L"Fail",
                                                          L"Raise", L"Refused",   L"Later", L"RaisesRefused",
                                                          L"Gone",  L"RaisesGone"};
    for (std::size_t i = 0; i < kMembers.size(); ++i) {
      if (kMembers[i] == names[0]) {
        ids[0] = static_cast<DISPID>(i + 1);
        return S_OK;
      }
    }
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* exception, UINT*) override {
    std::wstring entry = name_ + L" Invoke " + std::to_wstring(id) + L" flags " + std::to_wstring(flags) +
                         (result ? L" result (" : L" no result (");
    for (UINT i = 0; i < params->cArgs; ++i) {
      const VARIANT& arg = params->rgvarg[i];
      if (V_VT(&arg) == (VT_BSTR | VT_BYREF)) {
        entry += L"&'" + std::wstring(*V_BSTRREF(&arg), SysStringLen(*V_BSTRREF(&arg))) + L"' ";
      }
      if (V_VT(&arg) == VT_BSTR) entry += L"'" + std::wstring(V_BSTR(&arg), SysStringLen(V_BSTR(&arg))) + L"' ";
      if (V_VT(&arg) == VT_R8) entry += std::to_wstring(V_R8(&arg)) + L" ";
    }
    journal_.push_back(entry + L")");
    switch (id) {
      case 1:
        V_VT(result) = VT_DISPATCH;
        V_DISPATCH(result) = new RecordingDispatch(journal_, L"child");
        return S_OK;
      case 2:
        for (UINT i = 0; i < params->cArgs; ++i) {
          if (V_VT(&params->rgvarg[i]) == (VT_BSTR | VT_BYREF)) SysReAllocString(V_BSTRREF(&params->rgvarg[i]), L"new");
        }
        return S_OK;
      case 3:
        if (result) {
          V_VT(result) = VT_I2;
          V_I2(result) = 7;
        }
        return S_OK;
      case 4:
        exception->scode = static_cast<SCODE>(0x80040201u);
        exception->bstrDescription = SysAllocString(L"Fail failed");
        return DISP_E_EXCEPTION;
      case 6:
        return RPC_E_CALL_REJECTED;
      case 7:
        return RPC_E_SERVERCALL_RETRYLATER;
      case 8:
        exception->scode = RPC_E_CALL_REJECTED;
        exception->bstrDescription = SysAllocString(L"refused inside");
        return DISP_E_EXCEPTION;
      case 9:
        return RPC_E_DISCONNECTED;
      case 10:
        exception->scode = static_cast<SCODE>(0x800706BAu);  // RPC_S_SERVER_UNAVAILABLE, raised by the object
        exception->bstrDescription = SysAllocString(L"gone inside");
        return DISP_E_EXCEPTION;
      default:
        exception->wCode = 1001;
        return DISP_E_EXCEPTION;
    }
  }

 private:
  std::vector<std::wstring>& journal_;
  std::wstring name_;
  ULONG refs_ = 1;
};

class AutomationTest : public ::testing::Test {
 protected:
  void TearDown() override {
    automation_.reset();
    EXPECT_EQ(RecordingDispatch::alive, 0) << "references left unreleased";
  }
  ObjectId Root() { return automation_->Adopt(IDispatchPtr(new RecordingDispatch(journal_, L"root"), false)); }

  std::vector<std::wstring> journal_;
  std::unique_ptr<ComAutomation> automation_ = std::make_unique<ComAutomation>();
};

TEST_F(AutomationTest, PassesArgumentsLastToFirstAndLooksNamesUpOncePerObject) {
  const ObjectId root = Root();
  std::wstring field = std::wstring(L"V\0-1", 4);
  std::array<Argument, 3> args = {Argument::Value(L"UnitPrice"), Argument::Value(12.5), Argument::Reference(field)};
  const ObjectId first = automation_->GetObjectProperty(root, L"Child");
  automation_->CallMethod(first, L"Method", args);
  EXPECT_EQ(field, L"new");
  const ObjectId second = automation_->GetObjectProperty(root, L"Child");
  automation_->CallMethod(second, L"Method", {});
  EXPECT_EQ(automation_->CallForValue(root, L"Index", {}), common::Variant(std::int32_t{7}));
  automation_->ReleaseObject(first);
  automation_->ReleaseObject(second);
  EXPECT_EQ(RecordingDispatch::alive, 1);
  EXPECT_EQ(
      journal_,
      (std::vector<std::wstring>{
          L"root GetIDsOfNames Child", L"root Invoke 1 flags 2 result ()", L"child GetIDsOfNames Method",
          L"child Invoke 2 flags 1 no result (&'V" + std::wstring(1, L'\0') + L"-1' 12.500000 'UnitPrice' )",
          L"root Invoke 1 flags 2 result ()", L"child GetIDsOfNames Method", L"child Invoke 2 flags 1 no result ()",
          L"root GetIDsOfNames Index", L"root Invoke 3 flags 3 result ()"}));
}

// An object obtained as IUnknown (the running object) is asked for IDispatch on its first use
// only, once: a check that takes the object and lets it go costs no such question.
TEST_F(AutomationTest, AsksForIDispatchOnFirstUseOnly) {
  {
    IUnknownPtr object(static_cast<IDispatch*>(new RecordingDispatch(journal_, L"root")), false);
    automation_->ReleaseObject(automation_->AdoptUnknown(object));
    EXPECT_EQ(journal_, std::vector<std::wstring>{});
    const ObjectId used = automation_->AdoptUnknown(object);
    automation_->CallMethod(used, L"Method", {});
    automation_->CallMethod(used, L"Method", {});
  }
  EXPECT_EQ(journal_,
            (std::vector<std::wstring>{L"root QueryInterface IDispatch", L"root GetIDsOfNames Method",
                                       L"root Invoke 2 flags 1 no result ()", L"root Invoke 2 flags 1 no result ()"}));
}

TEST_F(AutomationTest, RaisesTheServersErrorElseTheHresult) {
  const ObjectId root = Root();
  const auto error = [&](auto call) -> std::pair<std::int32_t, std::wstring> {
    try {
      call();
    } catch (const common::RuntimeError& e) {
      return {e.number(), e.description()};
    }
    return {0, L""};
  };
  EXPECT_EQ(error([&] { automation_->CallMethod(root, L"Fail", {}); }),
            std::make_pair(static_cast<std::int32_t>(0x80040201u), std::wstring(L"Fail failed")));
  EXPECT_EQ(error([&] { automation_->CallMethod(root, L"Raise", {}); }),
            std::make_pair(1001, std::wstring(L"Application-defined or object-defined error")));
  EXPECT_EQ(error([&] { automation_->CallMethod(root, L"Nothing", {}); }).first,
            static_cast<std::int32_t>(DISP_E_UNKNOWNNAME));
  EXPECT_EQ(error([&] { automation_->GetObjectProperty(root, L"Index"); }).first, 424);
  EXPECT_EQ(automation_->HeldObjects(), 1u);
}

// Only the call's own HRESULT says that the call was refused (CallRejected: it did not run) or that
// the application has gone (HostGone); an error that the object raised with the same code ran.
TEST_F(AutomationTest, OnlyTheCallsOwnHresultCountsAsRefusedOrGone) {
  enum Kind { kRefused, kGone, kRaised };
  const ObjectId root = Root();
  for (const auto& [member, kind, code] :
       {std::tuple{L"Refused", kRefused, RPC_E_CALL_REJECTED},
        std::tuple{L"Later", kRefused, RPC_E_SERVERCALL_RETRYLATER}, std::tuple{L"Busy", kRefused, RPC_E_CALL_REJECTED},
        std::tuple{L"RaisesRefused", kRaised, RPC_E_CALL_REJECTED}, std::tuple{L"Gone", kGone, RPC_E_DISCONNECTED},
        std::tuple{L"RaisesGone", kRaised, static_cast<HRESULT>(0x800706BAu)},
        std::tuple{L"Fail", kRaised, static_cast<HRESULT>(0x80040201u)}}) {
    try {
      automation_->CallMethod(root, member, {});
      ADD_FAILURE() << "no error from " << member;
    } catch (const CallRejected& error) {
      EXPECT_EQ(kind, kRefused) << member;
      EXPECT_EQ(error.number(), static_cast<std::int32_t>(code)) << member;
    } catch (const HostGone& error) {
      EXPECT_EQ(kind, kGone) << member;
      EXPECT_EQ(error.number(), static_cast<std::int32_t>(code)) << member;
    } catch (const common::RuntimeError& error) {
      EXPECT_EQ(kind, kRaised) << member;
      EXPECT_EQ(error.number(), static_cast<std::int32_t>(code)) << member;
    }
  }
}

TEST(Automation, ResultsConvertToValuesOrRaise) {
  _variant_t number(static_cast<short>(-1), VT_I2), text(L"3"), empty, null;
  V_VT(&null) = VT_NULL;
  EXPECT_EQ(FromVariant(number), common::Variant(std::int32_t{-1}));
  EXPECT_EQ(FromVariant(text), common::Variant(L"3"));
  EXPECT_EQ(FromVariant(empty), common::Variant());
  EXPECT_EQ(modMain::testing::ErrorNumberOf([&] { FromVariant(null); }), 94);
}

TEST(Automation, NoRunningObjectForAnUnregisteredIdentifier) {
  const common::ComApartment apartment = common::EnterApartment();
  ASSERT_TRUE(apartment);
  ComAutomation automation;
  EXPECT_FALSE(IsHostRunning(automation));
  EXPECT_THROW(automation.GetActiveObject(L"Kestrova.NoSuchApplication"), common::RuntimeError);
}

}  // namespace
}  // namespace modMain::windows
