// GetMyDocumentsFolder over the registry emulation, with every registry call counted.
#include <gtest/gtest.h>

#include <optional>

#include "import/documents_folder.h"
#include "import/mod_main.h"
#include "registry/registry_access.h"
#include "tests/import/recording_double.h"
#include "tests/support/recording_registry.h"

namespace modMain::testing {
namespace {

struct FolderCase {
  std::optional<std::wstring> personal;  // nothing: the value is not there
  bool key_present;
  std::wstring folder;
};

class DocumentsFolderTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(DocumentsFolderTest, ReadsPersonalOnceAndDropsOneTrailingBackslash) {
  RecordingDouble platform;
  registry::winreg setup(platform.registry);
  setup.hkey(static_cast<std::int32_t>(registry::kHkeyCurrentUser));
  setup.KeyRoot(kShellFoldersKey);
  if (GetParam().key_present) {
    ASSERT_TRUE(setup.SetRegistryValue(L"Other", L"x", 1));
    if (GetParam().personal) platform.SetDocumentsFolder(*GetParam().personal);
  }

  registry::RecordingRegistry counted(platform.registry);
  EXPECT_EQ(GetMyDocumentsFolder(counted), GetParam().folder);
  EXPECT_EQ(counted.Calls("RegOpenKeyExA"), 1u);
  EXPECT_LE(counted.Calls("RegQueryValueExA"), 1u);
  EXPECT_EQ(counted.TotalCalls(), counted.Calls("RegOpenKeyExA") + counted.Calls("RegQueryValueExA") +
                                      counted.Calls("RegCloseKey"));  // nothing written, created or deleted
  EXPECT_EQ(counted.OpenHandles(), 0u);
  EXPECT_EQ(counted.StrayCloses(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Values, DocumentsFolderTest,
                         ::testing::Values(FolderCase{L"D:\\Data\\Documents", true, L"D:\\Data\\Documents"},
                                           FolderCase{L"D:\\Data\\Documents\\", true, L"D:\\Data\\Documents"},
                                           FolderCase{L"D:\\", true, L"D:"},
                                           FolderCase{L"D:\\Data\\\\", true, L"D:\\Data\\"},
                                           FolderCase{L"D:/Data/", true, L"D:/Data/"}, FolderCase{L"", true, L""},
                                           FolderCase{std::nullopt, true, L""}, FolderCase{std::nullopt, false, L""}));

TEST(DocumentsFolder, DriveRootGivesTheCartPathOnThatRoot) {
  RecordingDouble platform;
  platform.SetDocumentsFolder(L"D:\\");
  modMain::Main(platform.partners());
  EXPECT_EQ(platform.log,
            (std::vector<std::wstring>{L"FileLength D:\\ShoppingCart.csv", L"ShellDocumentsFolder",
                                       L"Box exclamation [Kestrova Cart Import] The Kestrova shopping cart "
                                       L"file 'D:\\ShoppingCart.csv' was not found. Import cancelled!"}));
}

// The registry's folder comes through the ANSI functions; when it holds no cart, the shell's own
// name of the folder is tried, unless it is the same folder. The message names the registry's,
// unless that folder is not there and the shell's was searched too.
struct ShellCase {
  const char* name;
  std::optional<std::wstring> shell;
  const wchar_t* cart_folder;  // where the cart is; null: nowhere
  std::vector<std::wstring> log;
  const wchar_t* told = nullptr;  // the path the "not found" message names
  bool registry_folder_there = false;
};

class ShellFolderTest : public ::testing::TestWithParam<ShellCase> {};

TEST_P(ShellFolderTest, IsAskedOnlyWhenTheRegistryFolderHoldsNoCart) {
  RecordingDouble platform;
  platform.SetDocumentsFolder(L"C:\\Users\\L\\Dokumenty Lukasz");
  platform.shell_documents = GetParam().shell;
  platform.host_running = false;
  if (GetParam().registry_folder_there) platform.folders.insert(L"C:\\Users\\L\\Dokumenty Lukasz");
  if (GetParam().cart_folder) platform.files[std::wstring(GetParam().cart_folder) + L"\\ShoppingCart.csv"] = "";
  modMain::Main(platform.partners());
  const std::wstring last_box = platform.log.back();  // "not found", or "not running" after a read
  platform.log.pop_back();
  EXPECT_EQ(platform.log, GetParam().log);
  if (GetParam().told) {
    EXPECT_NE(last_box.find(L"'" + std::wstring(GetParam().told) + L"' was not found"), std::wstring::npos) << last_box;
  }
}

constexpr wchar_t kAnsiCart[] = L"C:\\Users\\L\\Dokumenty Lukasz\\ShoppingCart.csv";
constexpr wchar_t kShellCart[] = L"C:\\Users\\L\\Dokumenty \u0141ukasz\\ShoppingCart.csv";
constexpr wchar_t kShellFolder[] = L"C:\\Users\\L\\Dokumenty \u0141ukasz";
constexpr wchar_t kAsk[] = L"ShellDocumentsFolder";
constexpr wchar_t kAttach[] = L"GetActiveObject Brevanto.Application";
std::wstring Length(const wchar_t* path) { return L"FileLength " + std::wstring(path); }
std::wstring Read(const wchar_t* path) { return L"ReadAllShared " + std::wstring(path); }

INSTANTIATE_TEST_SUITE_P(
    Shell, ShellFolderTest,
    ::testing::Values(
        ShellCase{"ShellFolderHasIt",
                  kShellFolder + std::wstring(L"\\"),
                  kShellFolder,
                  {Length(kAnsiCart), kAsk, Length(kShellCart), Read(kShellCart), kAttach}},
        ShellCase{"NeitherHasItNorIsTheRegistryFolderThere",
                  kShellFolder,
                  nullptr,
                  {Length(kAnsiCart), kAsk, Length(kShellCart), L"FolderExists C:\\Users\\L\\Dokumenty Lukasz"},
                  kShellCart},
        ShellCase{"NeitherHasIt",
                  kShellFolder,
                  nullptr,
                  {Length(kAnsiCart), kAsk, Length(kShellCart), L"FolderExists C:\\Users\\L\\Dokumenty Lukasz"},
                  kAnsiCart,
                  true},
        ShellCase{"ShellNamesTheSameFolder",
                  L"c:\\users\\l\\DOKUMENTY LUKASZ\\",
                  nullptr,
                  {Length(kAnsiCart), kAsk},
                  kAnsiCart},
        ShellCase{"ShellCannotTell", std::nullopt, nullptr, {Length(kAnsiCart), kAsk}, kAnsiCart}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace modMain::testing
