// GetMyDocumentsFolder over the registry emulation, with every registry call counted.
#include <gtest/gtest.h>

#include <optional>

#include "import/mod_main.h"
#include "registry/recording_registry.h"
#include "registry/registry_access.h"
#include "tests/import/fake_platform.h"

namespace modMain::testing {
namespace {

struct FolderCase {
  std::optional<std::wstring> personal;  // nothing: the value is not there
  bool key_present;
  std::wstring folder;
};

class DocumentsFolderTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(DocumentsFolderTest, ReadsPersonalOnceAndDropsOneTrailingBackslash) {
  FakePlatform fake;
  registry::winreg setup(fake.registry);
  setup.hkey(static_cast<std::int32_t>(registry::kHkeyCurrentUser));
  setup.KeyRoot(kShellFoldersKey);
  if (GetParam().key_present) {
    ASSERT_TRUE(setup.SetRegistryValue(L"Other", L"x", 1));
    if (GetParam().personal) fake.SetDocumentsFolder(*GetParam().personal);
  }

  registry::RecordingRegistry counted(fake.registry);
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
  FakePlatform fake;
  fake.SetDocumentsFolder(L"D:\\");
  modMain::Main(fake);
  EXPECT_EQ(fake.log, (std::vector<std::wstring>{L"FileLength D:\\ShoppingCart.csv",
                                                 L"Box exclamation [Kestrova Cart Import] The Kestrova shopping cart "
                                                 L"file 'D:\\ShoppingCart.csv' was not found. Import cancelled!"}));
}

}  // namespace
}  // namespace modMain::testing
