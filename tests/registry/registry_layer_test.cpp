// The registry function layer itself, on every backend: the answers `winreg` relies on. Where the
// emulation and advapi32 (under Wine) disagree here, the emulation is wrong.
#include <cstring>

#include "registry/key_handle.h"
#include "tests/registry/registry_fixture.h"

namespace registry::testing {
namespace {

class RegistryLayerTest : public RegistryTest {
 protected:
  RegStatus OpenStatus(RegKey root, const std::string& path, DWORD access = kKeyRead) {
    return OpenKey(raw(), root, path.c_str(), access).status;
  }
  KeyHandle Open(const std::string& path, DWORD access) {
    KeyResult opened = OpenKey(raw(), kHkeyCurrentUser, path.c_str(), access);
    EXPECT_EQ(opened.status, kErrorSuccess) << path;
    return std::move(opened.key);
  }
};

TEST_P(RegistryLayerTest, KeyPathsFollowThePlatformsRules) {
  MakeKey("a\\b");
  EXPECT_EQ(OpenStatus(kHkeyCurrentUser, Below("a") + "\\"), kErrorSuccess);             // trailing
  EXPECT_EQ(OpenStatus(kHkeyCurrentUser, Scratch() + "\\\\a\\\\b\\\\"), kErrorSuccess);  // doubled
  EXPECT_EQ(OpenStatus(kHkeyCurrentUser, "\\" + Below("a")), kErrorBadPathname);         // leading
  EXPECT_EQ(OpenStatus(kHkeyCurrentUser, "\\"), kErrorBadPathname);
  EXPECT_EQ(OpenStatus(kHkeyCurrentUser, Below("A\\B")), kErrorSuccess);  // names ignore case
  EXPECT_EQ(OpenStatus(kHkeyCurrentUser, Below("missing")), kErrorFileNotFound);
  EXPECT_EQ(OpenStatus(kHkeyCurrentUser, Below("a/b")), kErrorFileNotFound);
  EXPECT_EQ(OpenStatus(0, "Software"), kErrorInvalidHandle);
  EXPECT_EQ(OpenStatus(RootKey(static_cast<std::int32_t>(0x80000007u)), "Software"), kErrorInvalidHandle);
  // Wine converts ANSI paths through a buffer of MAX_PATH + 1 characters.
  EXPECT_EQ(OpenStatus(kHkeyCurrentUser, Below(std::string(300, 'x'))), kErrorMoreData);
}

TEST_P(RegistryLayerTest, AnEmptyPathUnderARootHandsBackTheRootItself) {
  RegKey key = 0;
  ASSERT_EQ(raw().RegOpenKeyExA(kHkeyCurrentUser, "", 0, kKeyRead, &key), kErrorSuccess);
  EXPECT_EQ(key, kHkeyCurrentUser);
}

TEST_P(RegistryLayerTest, QueryReportsSizesAndLeavesASmallBufferUntouched) {
  PutValue("", "sz", kRegSz, std::string("hello\0", 6));
  PutValue("", "unterminated", kRegSz, "abc");
  PutValue("", "odd", 12345, "xyz");
  const KeyHandle key = Open(Scratch(), kKeyRead);

  struct Case {
    const char* name;
    DWORD capacity;
    RegStatus status;
    DWORD type;
    DWORD size;
  };
  for (const Case& c : {Case{"sz", 16, kErrorSuccess, kRegSz, 6}, Case{"SZ", 2, kErrorMoreData, kRegSz, 6},
                        Case{"sz", 0, kErrorMoreData, kRegSz, 6}, Case{"unterminated", 16, kErrorSuccess, kRegSz, 3},
                        Case{"odd", 3, kErrorSuccess, 12345, 3}, Case{"missing", 16, kErrorFileNotFound, 0, 16}}) {
    std::uint8_t buffer[16];
    std::memset(buffer, 0xAA, sizeof buffer);
    DWORD type = 77;
    DWORD size = c.capacity;
    EXPECT_EQ(raw().RegQueryValueExA(key.get(), c.name, nullptr, &type, buffer, &size), c.status) << c.name;
    EXPECT_EQ(type, c.type) << c.name;
    EXPECT_EQ(size, c.size) << c.name;
    if (c.status != kErrorSuccess) {
      EXPECT_EQ(buffer[0], 0xAA) << c.name << ": the buffer must stay untouched";
    }
  }
}

TEST_P(RegistryLayerTest, AccessRightsOfAHandleAreEnforced) {
  PutValue("", "v", kRegSz, std::string("a\0", 2));
  {
    const KeyHandle reading = Open(Scratch(), kKeyRead);
    EXPECT_EQ(raw().RegSetValueExA(reading.get(), "x", 0, kRegSz, reinterpret_cast<const std::uint8_t*>("a"), 2),
              kErrorAccessDenied);
    EXPECT_EQ(raw().RegDeleteValueA(reading.get(), "v"), kErrorAccessDenied);
  }
  const KeyHandle writing = Open(Scratch(), kKeyWrite);
  std::uint8_t buffer[4];
  DWORD type = 0;
  DWORD size = sizeof buffer;
  EXPECT_EQ(raw().RegQueryValueExA(writing.get(), "v", nullptr, &type, buffer, &size), kErrorAccessDenied);
  char name[8];
  DWORD name_size = sizeof name;
  EXPECT_EQ(raw().RegEnumKeyExA(writing.get(), 0, name, &name_size, nullptr, nullptr, nullptr, nullptr),
            kErrorAccessDenied);
}

TEST_P(RegistryLayerTest, CreateAndDeleteGiveThePlatformsCodes) {
  RegKey key = 0;
  DWORD disposition = 0;
  ASSERT_EQ(raw().RegCreateKeyExA(kHkeyCurrentUser, Below("x\\y\\z").c_str(), 0, nullptr, 0, kKeyAllAccess, nullptr,
                                  &key, &disposition),
            kErrorSuccess);
  raw().RegCloseKey(key);
  EXPECT_EQ(disposition, 1u);  // REG_CREATED_NEW_KEY
  EXPECT_TRUE(KeyPresent("x\\y\\z"));
  EXPECT_EQ(raw().RegCreateKeyExA(kHkeyCurrentUser, ("\\" + Below("q")).c_str(), 0, nullptr, 0, kKeyAllAccess, nullptr,
                                  &key, nullptr),
            kErrorBadPathname);
  EXPECT_EQ(raw().RegCreateKeyExA(0, "q", 0, nullptr, 0, kKeyAllAccess, nullptr, &key, nullptr), kErrorInvalidHandle);
  EXPECT_EQ(raw().RegDeleteKeyA(kHkeyCurrentUser, Below("x").c_str()), kErrorAccessDenied);  // has subkeys
  EXPECT_EQ(raw().RegDeleteKeyA(kHkeyCurrentUser, Below("missing").c_str()), kErrorFileNotFound);
  EXPECT_EQ(raw().RegDeleteKeyA(kHkeyCurrentUser, Below("X\\Y\\Z\\").c_str()), kErrorSuccess);
  EXPECT_EQ(raw().RegDeleteKeyA(kHkeyCurrentUser, "\\"), kErrorBadPathname);
  EXPECT_EQ(raw().RegDeleteKeyA(0, "x"), kErrorInvalidHandle);
  EXPECT_EQ(raw().RegDeleteValueA(0, "x"), kErrorInvalidHandle);
  const KeyHandle scratch = Open(Scratch(), kKeyAllAccess);
  EXPECT_EQ(raw().RegDeleteValueA(scratch.get(), "missing"), kErrorFileNotFound);
}

TEST_P(RegistryLayerTest, AHandleToADeletedKeyAnswersKeyDeleted) {
  MakeKey("gone");
  const KeyHandle key = Open(Below("gone"), kKeyAllAccess);
  ASSERT_EQ(raw().RegDeleteKeyA(kHkeyCurrentUser, Below("gone").c_str()), kErrorSuccess);
  std::uint8_t buffer[4];
  DWORD size = sizeof buffer;
  EXPECT_EQ(raw().RegQueryValueExA(key.get(), "x", nullptr, nullptr, buffer, &size), kErrorKeyDeleted);
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
  ASSERT_EQ(CreateRaw(kHkeyCurrentUser, Below("classed"), 0, 0, widget).status, kErrorSuccess);
  MakeKey("plain");
  const KeyHandle key = Open(Scratch(), kKeyRead);
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
       {Case{0, true, 16, kErrorSuccess, 7, 6, "classed", "Widget"},
        Case{0, true, 7, kErrorSuccess, 7, 6, "classed", "Widget"}, Case{0, true, 6, kErrorMoreData, 16, 6, "", ""},
        Case{0, true, 1, kErrorMoreData, 16, 1, "", ""}, Case{0, false, 0, kErrorSuccess, 7, 0, "classed", ""},
        Case{1, true, 1, kErrorSuccess, 5, 0, "plain", ""}}) {
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
  EXPECT_EQ(CreateRaw(kHkeyClassesRoot, "\\" + name).status, kErrorBadPathname);
  ASSERT_EQ(CreateRaw(kHkeyClassesRoot, name).status, kErrorSuccess);
  EXPECT_EQ(OpenStatus(kHkeyClassesRoot, "\\" + name), kErrorSuccess);
  EXPECT_EQ(raw().RegDeleteKeyA(kHkeyClassesRoot, ("\\" + name).c_str()), kErrorBadPathname);
  EXPECT_EQ(raw().RegDeleteKeyA(kHkeyClassesRoot, name.c_str()), kErrorSuccess);
}

TEST_P(RegistryLayerTest, QueryClearsTheTypeOnceTheHandleIsKnownAndLeavesTheSize) {
  PutValue("gone", "v", kRegDword, "\x01\x02\x03\x04");
  const KeyHandle deleted = Open(Below("gone"), kKeyRead);
  ASSERT_EQ(raw().RegDeleteKeyA(kHkeyCurrentUser, Below("gone").c_str()), kErrorSuccess);
  PutValue("", "v", kRegDword, "\x01\x02\x03\x04");
  const KeyHandle writing = Open(Scratch(), kKeyWrite);
  RegKey stale = 0;
  ASSERT_EQ(raw().RegOpenKeyExA(kHkeyCurrentUser, Scratch().c_str(), 0, kKeyRead, &stale), kErrorSuccess);
  raw().RegCloseKey(stale);  // on purpose: the cases below use the closed handle
  struct Case {
    const char* label;
    RegKey key;
    RegStatus status;
    DWORD type;  // after the call, from 77
  };
  for (const Case& c :
       {Case{"no handle", 0, kErrorInvalidHandle, 77}, Case{"closed", stale, kErrorInvalidHandle, 0},
        Case{"deleted", deleted.get(), kErrorKeyDeleted, 0}, Case{"denied", writing.get(), kErrorAccessDenied, 0}}) {
    std::uint8_t buffer[8] = {};
    DWORD type = 77;
    DWORD size = sizeof buffer;
    EXPECT_EQ(raw().RegQueryValueExA(c.key, "v", nullptr, &type, buffer, &size), c.status) << c.label;
    EXPECT_EQ(type, c.type) << c.label;
    EXPECT_EQ(size, sizeof buffer) << c.label;
  }
}

TEST_P(RegistryLayerTest, ReservedArgumentsAndOptionsAreCheckedWhereThePlatformChecksThem) {
  PutValue("", "v", kRegSz, std::string("a\0", 2));
  const KeyHandle key = Open(Scratch(), kKeyAllAccess);
  DWORD reserved = 0;
  std::uint8_t data[8];
  DWORD size = sizeof data;
  EXPECT_EQ(raw().RegQueryValueExA(key.get(), "v", &reserved, nullptr, data, &size), kErrorInvalidParameter);
  char name[16];
  DWORD name_size = sizeof name;
  EXPECT_EQ(raw().RegEnumValueA(key.get(), 0, name, &name_size, &reserved, nullptr, nullptr, nullptr),
            kErrorInvalidParameter);
  name_size = sizeof name;
  MakeKey("sub");
  EXPECT_EQ(raw().RegEnumKeyExA(key.get(), 0, name, &name_size, &reserved, nullptr, nullptr, nullptr),
            kErrorInvalidParameter);
  EXPECT_EQ(raw().RegSetValueExA(key.get(), "r", 1, kRegSz, reinterpret_cast<const std::uint8_t*>("a"), 2),
            kErrorSuccess);
  struct CreateCase {
    const char* sub;
    DWORD reserved;
    DWORD options;
    RegStatus status;
  };
  for (const CreateCase& c :
       {CreateCase{"reserved", 1, 0, kErrorInvalidParameter}, CreateCase{"volatile", 0, 1, kErrorSuccess},
        CreateCase{"volatile\\child", 0, 0, 1021}, CreateCase{"odd options", 0, 0x100, kErrorSuccess}}) {
    EXPECT_EQ(CreateRaw(kHkeyCurrentUser, Below(c.sub), c.reserved, c.options).status, c.status) << c.sub;
  }
  for (const DWORD options : {1u, 8u, 0x100u}) {
    EXPECT_EQ(OpenKey(raw(), kHkeyCurrentUser, Scratch().c_str(), kKeyRead, options).status, kErrorSuccess) << options;
  }
}

TEST_P(RegistryLayerTest, AnEmptyPathOrTheOwnComputerHandsBackTheGivenHandle) {
  const KeyHandle key = Open(Scratch(), kKeyAllAccess);
  const KeyResult opened = OpenKey(raw(), key.get(), "", kKeyRead);
  ASSERT_EQ(opened.status, kErrorSuccess);
  EXPECT_NE(opened.key.get(), key.get()) << "an empty path under an open key";
  EXPECT_NE(opened.key.origin(), nullptr) << "a new handle is owned";
  const KeyResult connected = ConnectKey(raw(), "", key.get());
  ASSERT_EQ(connected.status, kErrorSuccess);
  EXPECT_EQ(connected.key.get(), key.get()) << "a connection to the own computer";
  EXPECT_EQ(connected.key.origin(), nullptr) << "the given handle handed back is borrowed";
}

INSTANTIATE_TEST_SUITE_P(Backends, RegistryLayerTest, ::testing::ValuesIn(AllBackends()), BackendName);

}  // namespace
}  // namespace registry::testing
