// The registry function layer itself, on every backend: the answers `winreg` relies on. Where the
// emulation and advapi32 (under Wine) disagree here, the emulation is wrong.
#include <cstring>

#include "registry/key_handle.h"
#include "tests/registry/registry_fixture.h"

namespace registry::testing {
namespace {

class RegistryLayerTest : public RegistryTest {
 protected:
  RegStatus OpenStatus(RegKey root, const std::string& path, DWORD access = KEY_READ) {
    RegKey key = 0;
    const RegStatus rc = raw().RegOpenKeyExA(root, path.c_str(), 0, access, &key);
    const KeyHandle owner(raw(), rc, key);
    return rc;
  }
  KeyHandle Open(const std::string& path, DWORD access) {
    RegKey key = 0;
    const RegStatus rc = raw().RegOpenKeyExA(kHkeyCurrentUser, path.c_str(), 0, access, &key);
    EXPECT_EQ(rc, ERROR_SUCCESS) << path;
    return KeyHandle(raw(), rc, key);
  }
};

TEST_P(RegistryLayerTest, KeyPathsFollowThePlatformsRules) {
  MakeKey("a\\b");
  EXPECT_EQ(OpenStatus(kHkeyCurrentUser, Below("a") + "\\"), ERROR_SUCCESS);             // trailing
  EXPECT_EQ(OpenStatus(kHkeyCurrentUser, Scratch() + "\\\\a\\\\b\\\\"), ERROR_SUCCESS);  // doubled
  EXPECT_EQ(OpenStatus(kHkeyCurrentUser, "\\" + Below("a")), ERROR_BAD_PATHNAME);        // leading
  EXPECT_EQ(OpenStatus(kHkeyCurrentUser, "\\"), ERROR_BAD_PATHNAME);
  EXPECT_EQ(OpenStatus(kHkeyCurrentUser, Below("A\\B")), ERROR_SUCCESS);  // names ignore case
  EXPECT_EQ(OpenStatus(kHkeyCurrentUser, Below("missing")), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(OpenStatus(kHkeyCurrentUser, Below("a/b")), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(OpenStatus(0, "Software"), ERROR_INVALID_HANDLE);
  EXPECT_EQ(OpenStatus(RootKey(static_cast<std::int32_t>(0x80000007u)), "Software"), ERROR_INVALID_HANDLE);
  // Wine converts ANSI paths through a buffer of MAX_PATH + 1 characters.
  EXPECT_EQ(OpenStatus(kHkeyCurrentUser, Below(std::string(300, 'x'))), ERROR_MORE_DATA);
}

TEST_P(RegistryLayerTest, AnEmptyPathUnderARootHandsBackTheRootItself) {
  RegKey key = 0;
  ASSERT_EQ(raw().RegOpenKeyExA(kHkeyCurrentUser, "", 0, KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_EQ(key, kHkeyCurrentUser);
}

TEST_P(RegistryLayerTest, QueryReportsSizesAndLeavesASmallBufferUntouched) {
  PutValue("", "sz", REG_SZ, std::string("hello\0", 6));
  PutValue("", "unterminated", REG_SZ, "abc");
  PutValue("", "odd", 12345, "xyz");
  const KeyHandle key = Open(Scratch(), KEY_READ);

  struct Case {
    const char* name;
    DWORD capacity;
    RegStatus status;
    DWORD type;
    DWORD size;
  };
  for (const Case& c : {Case{"sz", 16, ERROR_SUCCESS, REG_SZ, 6}, Case{"SZ", 2, ERROR_MORE_DATA, REG_SZ, 6},
                        Case{"sz", 0, ERROR_MORE_DATA, REG_SZ, 6}, Case{"unterminated", 16, ERROR_SUCCESS, REG_SZ, 3},
                        Case{"odd", 3, ERROR_SUCCESS, 12345, 3}, Case{"missing", 16, ERROR_FILE_NOT_FOUND, 0, 16}}) {
    std::uint8_t buffer[16];
    std::memset(buffer, 0xAA, sizeof buffer);
    DWORD type = 77;
    DWORD size = c.capacity;
    EXPECT_EQ(raw().RegQueryValueExA(key.get(), c.name, nullptr, &type, buffer, &size), c.status) << c.name;
    EXPECT_EQ(type, c.type) << c.name;
    EXPECT_EQ(size, c.size) << c.name;
    if (c.status != ERROR_SUCCESS) {
      EXPECT_EQ(buffer[0], 0xAA) << c.name << ": the buffer must stay untouched";
    }
  }
}

TEST_P(RegistryLayerTest, AccessRightsOfAHandleAreEnforced) {
  PutValue("", "v", REG_SZ, std::string("a\0", 2));
  {
    const KeyHandle reading = Open(Scratch(), KEY_READ);
    EXPECT_EQ(raw().RegSetValueExA(reading.get(), "x", 0, REG_SZ, reinterpret_cast<const std::uint8_t*>("a"), 2),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(raw().RegDeleteValueA(reading.get(), "v"), ERROR_ACCESS_DENIED);
  }
  const KeyHandle writing = Open(Scratch(), KEY_WRITE);
  std::uint8_t buffer[4];
  DWORD type = 0;
  DWORD size = sizeof buffer;
  EXPECT_EQ(raw().RegQueryValueExA(writing.get(), "v", nullptr, &type, buffer, &size), ERROR_ACCESS_DENIED);
  char name[8];
  DWORD name_size = sizeof name;
  EXPECT_EQ(raw().RegEnumKeyExA(writing.get(), 0, name, &name_size, nullptr, nullptr, nullptr, nullptr),
            ERROR_ACCESS_DENIED);
}

TEST_P(RegistryLayerTest, CreateAndDeleteGiveThePlatformsCodes) {
  RegKey key = 0;
  DWORD disposition = 0;
  ASSERT_EQ(raw().RegCreateKeyExA(kHkeyCurrentUser, Below("x\\y\\z").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &key, &disposition),
            ERROR_SUCCESS);
  raw().RegCloseKey(key);
  EXPECT_EQ(disposition, 1u);  // REG_CREATED_NEW_KEY
  EXPECT_TRUE(KeyPresent("x\\y\\z"));
  EXPECT_EQ(raw().RegCreateKeyExA(kHkeyCurrentUser, ("\\" + Below("q")).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &key, nullptr),
            ERROR_BAD_PATHNAME);
  EXPECT_EQ(raw().RegCreateKeyExA(0, "q", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_INVALID_HANDLE);
  EXPECT_EQ(raw().RegDeleteKeyA(kHkeyCurrentUser, Below("x").c_str()), ERROR_ACCESS_DENIED);  // has subkeys
  EXPECT_EQ(raw().RegDeleteKeyA(kHkeyCurrentUser, Below("missing").c_str()), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(raw().RegDeleteKeyA(kHkeyCurrentUser, Below("X\\Y\\Z\\").c_str()), ERROR_SUCCESS);
  EXPECT_EQ(raw().RegDeleteKeyA(kHkeyCurrentUser, "\\"), ERROR_BAD_PATHNAME);
  EXPECT_EQ(raw().RegDeleteKeyA(0, "x"), ERROR_INVALID_HANDLE);
  EXPECT_EQ(raw().RegDeleteValueA(0, "x"), ERROR_INVALID_HANDLE);
  const KeyHandle scratch = Open(Scratch(), KEY_ALL_ACCESS);
  EXPECT_EQ(raw().RegDeleteValueA(scratch.get(), "missing"), ERROR_FILE_NOT_FOUND);
}

TEST_P(RegistryLayerTest, AHandleToADeletedKeyAnswersKeyDeleted) {
  MakeKey("gone");
  const KeyHandle key = Open(Below("gone"), KEY_ALL_ACCESS);
  ASSERT_EQ(raw().RegDeleteKeyA(kHkeyCurrentUser, Below("gone").c_str()), ERROR_SUCCESS);
  std::uint8_t buffer[4];
  DWORD size = sizeof buffer;
  EXPECT_EQ(raw().RegQueryValueExA(key.get(), "x", nullptr, nullptr, buffer, &size), ERROR_KEY_DELETED);
}

TEST_P(RegistryLayerTest, ExpandsTheEnvironmentAsWineDoes) {
  SetProcessVariable("KCI_PROBE", "valu");
  UnsetProcessVariable("KCI_UNSET");
  struct Case {
    const char* source;
    const char* expanded;
  };
  for (const Case& c : {Case{"a%KCI_PROBE%b", "avalub"}, Case{"%KCI_UNSET%x", "%KCI_UNSET%x"}, Case{"%", "%"},
                        Case{"%%", "%%"}, Case{"50%", "50%"}, Case{"%KCI_PROBE", "%KCI_PROBE"},
                        Case{"%KCI_PROBE%%KCI_PROBE%", "valuvalu"}, Case{"", ""}}) {
    const DWORD needed = raw().ExpandEnvironmentStringsA(c.source, nullptr, 0);
    EXPECT_EQ(needed, std::strlen(c.expanded) + 1) << c.source;
    std::string out(needed, 'Z');
    EXPECT_EQ(raw().ExpandEnvironmentStringsA(c.source, out.data(), needed), needed) << c.source;
    EXPECT_STREQ(out.c_str(), c.expanded);
  }
  UnsetProcessVariable("KCI_PROBE");
}

INSTANTIATE_TEST_SUITE_P(Backends, RegistryLayerTest, ::testing::ValuesIn(AllBackends()), BackendName);

}  // namespace
}  // namespace registry::testing
