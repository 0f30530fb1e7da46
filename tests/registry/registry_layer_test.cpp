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

TEST_P(RegistryLayerTest, CreateKeepsTheClassAndEnumerationReportsIt) {
  char widget[] = "Widget";
  RegKey created = 0;
  ASSERT_EQ(raw().RegCreateKeyExA(kHkeyCurrentUser, Below("classed").c_str(), 0, widget, 0, KEY_ALL_ACCESS, nullptr,
                                  &created, nullptr),
            ERROR_SUCCESS);
  raw().RegCloseKey(created);
  MakeKey("plain");
  const KeyHandle key = Open(Scratch(), KEY_READ);
  struct Case {
    DWORD index;
    bool class_buffer;  // false: null class pointer and length
    DWORD class_capacity;
    RegStatus status;
    DWORD name_size;   // after the call, from a capacity of 16
    DWORD class_size;  // after the call
    const char* name;
    const char* class_text;
  };
  for (const Case& c :
       {Case{0, true, 16, ERROR_SUCCESS, 7, 6, "classed", "Widget"},
        Case{0, true, 7, ERROR_SUCCESS, 7, 6, "classed", "Widget"}, Case{0, true, 6, ERROR_MORE_DATA, 16, 6, "", ""},
        Case{0, true, 1, ERROR_MORE_DATA, 16, 1, "", ""}, Case{0, false, 0, ERROR_SUCCESS, 7, 0, "classed", ""},
        Case{1, true, 1, ERROR_SUCCESS, 5, 0, "plain", ""}}) {
    char name[16] = {};
    DWORD name_size = sizeof name;
    char class_text[16] = {};
    DWORD class_size = c.class_capacity;
    const RegStatus rc =
        raw().RegEnumKeyExA(key.get(), c.index, name, &name_size, nullptr, c.class_buffer ? class_text : nullptr,
                            c.class_buffer ? &class_size : nullptr, nullptr);
    const std::string label = std::to_string(c.index) + "/" + std::to_string(c.class_capacity);
    EXPECT_EQ(rc, c.status) << label;
    EXPECT_EQ(name_size, c.name_size) << label;
    EXPECT_STREQ(name, c.name) << label;
    if (c.class_buffer) {
      EXPECT_EQ(class_size, c.class_size) << label;
      EXPECT_STREQ(class_text, c.class_text) << label;
    }
  }
}

TEST_P(RegistryLayerTest, ClassesRootSkipsALeadingBackslashOnlyWhenOpening) {
  const std::string name = "KestrovaCartImportProbe" + std::to_string(ProcessId());
  RegKey key = 0;
  const RegStatus create = raw().RegCreateKeyExA(kHkeyClassesRoot, ("\\" + name).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &key, nullptr);
  const KeyHandle created(raw(), create, key);
  EXPECT_EQ(create, ERROR_BAD_PATHNAME);
  ASSERT_EQ(
      raw().RegCreateKeyExA(kHkeyClassesRoot, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
      ERROR_SUCCESS);
  raw().RegCloseKey(key);
  EXPECT_EQ(OpenStatus(kHkeyClassesRoot, "\\" + name), ERROR_SUCCESS);
  EXPECT_EQ(raw().RegDeleteKeyA(kHkeyClassesRoot, ("\\" + name).c_str()), ERROR_BAD_PATHNAME);
  EXPECT_EQ(raw().RegDeleteKeyA(kHkeyClassesRoot, name.c_str()), ERROR_SUCCESS);
}

TEST_P(RegistryLayerTest, QueryClearsTheTypeOnceTheHandleIsKnownAndLeavesTheSize) {
  PutValue("gone", "v", REG_DWORD, "\x01\x02\x03\x04");
  const KeyHandle deleted = Open(Below("gone"), KEY_READ);
  ASSERT_EQ(raw().RegDeleteKeyA(kHkeyCurrentUser, Below("gone").c_str()), ERROR_SUCCESS);
  PutValue("", "v", REG_DWORD, "\x01\x02\x03\x04");
  const KeyHandle writing = Open(Scratch(), KEY_WRITE);
  RegKey stale = 0;
  ASSERT_EQ(raw().RegOpenKeyExA(kHkeyCurrentUser, Scratch().c_str(), 0, KEY_READ, &stale), ERROR_SUCCESS);
  raw().RegCloseKey(stale);
  struct Case {
    const char* label;
    RegKey key;
    RegStatus status;
    DWORD type;  // after the call, from 77
  };
  for (const Case& c :
       {Case{"no handle", 0, ERROR_INVALID_HANDLE, 77}, Case{"closed", stale, ERROR_INVALID_HANDLE, 0},
        Case{"deleted", deleted.get(), ERROR_KEY_DELETED, 0}, Case{"denied", writing.get(), ERROR_ACCESS_DENIED, 0}}) {
    std::uint8_t buffer[8] = {};
    DWORD type = 77;
    DWORD size = sizeof buffer;
    EXPECT_EQ(raw().RegQueryValueExA(c.key, "v", nullptr, &type, buffer, &size), c.status) << c.label;
    EXPECT_EQ(type, c.type) << c.label;
    EXPECT_EQ(size, sizeof buffer) << c.label;
  }
}

TEST_P(RegistryLayerTest, ReservedArgumentsAndOptionsAreCheckedWhereThePlatformChecksThem) {
  PutValue("", "v", REG_SZ, std::string("a\0", 2));
  const KeyHandle key = Open(Scratch(), KEY_ALL_ACCESS);
  DWORD reserved = 0;
  std::uint8_t data[8];
  DWORD size = sizeof data;
  EXPECT_EQ(raw().RegQueryValueExA(key.get(), "v", &reserved, nullptr, data, &size), ERROR_INVALID_PARAMETER);
  char name[16];
  DWORD name_size = sizeof name;
  EXPECT_EQ(raw().RegEnumValueA(key.get(), 0, name, &name_size, &reserved, nullptr, nullptr, nullptr),
            ERROR_INVALID_PARAMETER);
  name_size = sizeof name;
  MakeKey("sub");
  EXPECT_EQ(raw().RegEnumKeyExA(key.get(), 0, name, &name_size, &reserved, nullptr, nullptr, nullptr),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(raw().RegSetValueExA(key.get(), "r", 1, REG_SZ, reinterpret_cast<const std::uint8_t*>("a"), 2),
            ERROR_SUCCESS);
  struct CreateCase {
    const char* sub;
    DWORD reserved;
    DWORD options;
    RegStatus status;
  };
  for (const CreateCase& c :
       {CreateCase{"reserved", 1, 0, ERROR_INVALID_PARAMETER}, CreateCase{"volatile", 0, 1, ERROR_SUCCESS},
        CreateCase{"volatile\\child", 0, 0, 1021}, CreateCase{"odd options", 0, 0x100, ERROR_SUCCESS}}) {
    RegKey created = 0;
    const RegStatus rc = raw().RegCreateKeyExA(kHkeyCurrentUser, Below(c.sub).c_str(), c.reserved, nullptr, c.options,
                                               KEY_ALL_ACCESS, nullptr, &created, nullptr);
    const KeyHandle owner(raw(), rc, created);
    EXPECT_EQ(rc, c.status) << c.sub;
  }
  for (const DWORD options : {1u, 8u, 0x100u}) {
    RegKey opened = 0;
    const RegStatus rc = raw().RegOpenKeyExA(kHkeyCurrentUser, Scratch().c_str(), options, KEY_READ, &opened);
    const KeyHandle owner(raw(), rc, opened);
    EXPECT_EQ(rc, ERROR_SUCCESS) << options;
  }
}

TEST_P(RegistryLayerTest, AnEmptyPathOrTheOwnComputerHandsBackTheGivenHandle) {
  const KeyHandle key = Open(Scratch(), KEY_ALL_ACCESS);
  RegKey same = 0;
  ASSERT_EQ(raw().RegOpenKeyExA(key.get(), "", 0, KEY_READ, &same), ERROR_SUCCESS);
  const KeyHandle opened(raw(), same == key.get() ? ERROR_FILE_NOT_FOUND : ERROR_SUCCESS, same);
  EXPECT_NE(same, key.get()) << "an empty path under an open key";
  RegKey connection = 0;
  ASSERT_EQ(raw().RegConnectRegistryA("", key.get(), &connection), ERROR_SUCCESS);
  const KeyHandle connected(raw(), connection == key.get() ? ERROR_FILE_NOT_FOUND : ERROR_SUCCESS, connection);
  EXPECT_EQ(connection, key.get()) << "a connection to the own computer";
}

INSTANTIATE_TEST_SUITE_P(Backends, RegistryLayerTest, ::testing::ValuesIn(AllBackends()), BackendName);

}  // namespace
}  // namespace registry::testing
