// What each winreg method hands to the platform, call by call, on every backend: the recording
// layer writes each call as text (handles by name, the scratch key's path as $S), and one table per
// group of methods pins the exact sequence. The answers may differ between backends; what winreg
// passes may not. Masks: KEY_READ 0x20019, KEY_WRITE 0x20006, KEY_ALL_ACCESS 0xf003f.
#include <functional>

#include "registry/key_handle.h"
#include "tests/registry/registry_fixture.h"

namespace registry::testing {
namespace {

using common::Variant;

struct CallCase {
  const char* label;
  std::function<void(winreg&)> call;  // on an object addressing HKCU, KeyRoot $S, Subkey "k"
  std::vector<std::string> calls;
};

class PlatformCallsTest : public RegistryTest {
 protected:
  void SetUp() override {
    RegistryTest::SetUp();
    SetProcessVariable("KCI_CALLS", "abc");
    PutValue("k", "sz", kRegSz, std::string("text\0", 5));
    PutValue("k", "big", kRegBinary, std::string(2000, '\x01'));
    PutValue("k", "exp", kRegExpandSz, std::string("%KCI_CALLS%\0", 12));
    MakeKey("k\\child");
  }
  void TearDown() override {
    UnsetProcessVariable("KCI_CALLS");
    RegistryTest::TearDown();
  }
  void ExpectCalls(const std::vector<CallCase>& cases) {
    for (const CallCase& c : cases) {
      winreg reg = Addressing(L"k");
      recorder().Reset();
      try {
        c.call(reg);
      } catch (const common::RuntimeError&) {
        // only the calls count here
      }
      EXPECT_EQ(PlatformCalls(), c.calls) << c.label;
    }
  }
  // An open handle of the caller's own to the scratch key's "k", from outside the recording layer.
  KeyHandle OwnKey() {
    KeyResult own = OpenKey(raw(), kHkeyCurrentUser, Below("k").c_str(), kKeyAllAccess);
    EXPECT_EQ(own.status, kErrorSuccess);
    return std::move(own.key);
  }
};

TEST_P(PlatformCallsTest, KeyOperations) {
  MakeKey("gone");
  ExpectCalls({
      {"KeyExists",
       [](winreg& r) { r.KeyExists(); },
       {R"(RegOpenKeyExA(HKCU, "$S\k", 0, 0x20019, out))", "RegCloseKey(#1)"}},
      {"KeyExists, missing",
       [](winreg& r) {
         r.Subkey(L"none");
         r.KeyExists();
       },
       {R"(RegOpenKeyExA(HKCU, "$S\none", 0, 0x20019, out))"}},
      {"CreateKey",
       [](winreg& r) { r.CreateKey(); },
       {R"(RegCreateKeyExA(HKCU, "$S\k", 0, "", 0, 0xf003f, {0,0,0}, out, out))", "RegCloseKey(#1)"}},
      {"CreateKey named",
       [](winreg& r) {
         Variant name(L"made");
         r.CreateKey(name);
       },
       {R"(RegCreateKeyExA(HKCU, "$S\made", 0, "", 0, 0xf003f, {0,0,0}, out, out))", "RegCloseKey(#1)"}},
      {"CreateKey without root",
       [](winreg& r) {
         r.hkey(0);
         r.CreateKey();
       },
       {R"(RegCreateKeyExA(0, "$S\k", 0, "", 0, 0xf003f, {0,0,0}, out, out))"}},
      {"DeleteKey", [](winreg& r) { r.DeleteKey(L"made"); }, {R"(RegDeleteKeyA(HKCU, "$S\made"))"}},
      {"DeleteKey of KeyRoot itself",
       [this](winreg& r) {
         r.KeyRoot(ScratchText() + L"\\gone");
         r.DeleteKey(L"");
       },
       {R"(RegDeleteKeyA(HKCU, "$S\gone\"))"}},
      {"DeleteValue",
       [](winreg& r) { r.DeleteValue(L"sz"); },
       {R"(RegOpenKeyExA(HKCU, "$S\k", 0, 0xf003f, out))", R"(RegDeleteValueA(#1, "sz"))", "RegCloseKey(#1)"}},
      {"DeleteValue, missing key",
       [](winreg& r) {
         r.Subkey(L"none");
         r.DeleteValue(L"sz");
       },
       {R"(RegOpenKeyExA(HKCU, "$S\none", 0, 0xf003f, out))"}},
  });
  EXPECT_FALSE(KeyPresent("gone"));  // DeleteKey("") deleted KeyRoot itself
}

TEST_P(PlatformCallsTest, ValueReadAndWrite) {
  ExpectCalls({
      {"GetRegistryValue",
       [](winreg& r) { r.GetRegistryValue(L"sz"); },
       {R"(RegOpenKeyExA(HKCU, "$S\k", 0, 0x20019, out))", R"(RegQueryValueExA(#1, "sz", null, out, buf, &1024))",
        "RegCloseKey(#1)"}},
      {"GetRegistryValue, two reads",
       [](winreg& r) { r.GetRegistryValue(L"big"); },
       {R"(RegOpenKeyExA(HKCU, "$S\k", 0, 0x20019, out))", R"(RegQueryValueExA(#1, "big", null, out, buf, &1024))",
        R"(RegQueryValueExA(#1, "big", null, out, buf, &2000))", "RegCloseKey(#1)"}},
      {"GetRegistryValue, expanded",
       [](winreg& r) { r.GetRegistryValue(L"exp"); },
       {R"(RegOpenKeyExA(HKCU, "$S\k", 0, 0x20019, out))", R"(RegQueryValueExA(#1, "exp", null, out, buf, &1024))",
        R"(ExpandEnvironmentStringsA("%KCI_CALLS%", null, 0))", R"(ExpandEnvironmentStringsA("%KCI_CALLS%", buf, 4))",
        "RegCloseKey(#1)"}},
      {"SetRegistryValue text",
       [](winreg& r) { r.SetRegistryValue(L"n", Variant(42), 1); },
       {R"(RegOpenKeyExA(HKCU, "$S\k", 0, 0x20006, out))", R"(RegSetValueExA(#1, "n", 0, 1, "42\0", 3))",
        "RegCloseKey(#1)"}},
      {"SetRegistryValue bytes into a new key",
       [](winreg& r) {
         r.Subkey(L"new");
         r.SetRegistryValue(L"b", Variant(common::ByteArray{0, {1, 2}}), 3);
       },
       {R"(RegOpenKeyExA(HKCU, "$S\new", 0, 0x20006, out))",
        R"(RegCreateKeyExA(HKCU, "$S\new", 0, "", 0, 0xf003f, {0,0,0}, out, out))", "RegCloseKey(#1)",
        R"(RegOpenKeyExA(HKCU, "$S\new", 0, 0x20006, out))", R"(RegSetValueExA(#2, "b", 0, 3, "\x01\x02", 2))",
        "RegCloseKey(#2)"}},
      {"SetRegistryValue, a type that writes nothing",
       [](winreg& r) { r.SetRegistryValue(L"n", Variant(1), 5); },
       {R"(RegOpenKeyExA(HKCU, "$S\k", 0, 0x20006, out))", "RegCloseKey(#1)"}},
  });
}

TEST_P(PlatformCallsTest, Enumerations) {
  PutValue("v", "big", kRegBinary, std::string(5000, '\x01'));
  PutValue("e", "exp", kRegExpandSz, std::string("%KCI_CALLS%\0", 12));
  const KeyHandle own = OwnKey();
  const auto own_code = static_cast<std::int32_t>(own.get());
  ExpectCalls({
      {"EnumRegistryKeys",
       [this](winreg& r) { r.EnumRegistryKeys(kCurrentUser, ScratchText() + L"\\k"); },
       {R"(RegOpenKeyExA(HKCU, "$S\k", 0, 0x20019, out))", "RegEnumKeyExA(#1, 0, buf, &260, null, null, null, out)",
        "RegEnumKeyExA(#1, 1, buf, &260, null, null, null, out)", "RegCloseKey(#1)"}},
      {"EnumRegistryKeys of the caller's key",
       [&](winreg& r) { r.EnumRegistryKeys(own_code, L""); },
       {"RegEnumKeyExA(x1, 0, buf, &260, null, null, null, out)",
        "RegEnumKeyExA(x1, 1, buf, &260, null, null, null, out)"}},
      {"EnumRegistryKeys, missing key",
       [this](winreg& r) { r.EnumRegistryKeys(kCurrentUser, ScratchText() + L"\\none"); },
       {R"(RegOpenKeyExA(HKCU, "$S\none", 0, 0x20019, out))"}},
      {"EnumRegistryValues, a repeat",
       [this](winreg& r) { r.EnumRegistryValues(kCurrentUser, ScratchText() + L"\\v"); },
       {R"(RegOpenKeyExA(HKCU, "$S\v", 0, 0x20019, out))", "RegEnumValueA(#1, 0, buf, &260, null, out, buf, &4096)",
        "RegEnumValueA(#1, 0, buf, &260, null, out, buf, &5000)",
        "RegEnumValueA(#1, 1, buf, &260, null, out, buf, &4096)", "RegCloseKey(#1)"}},
      {"EnumRegistryValues, expanded",
       [this](winreg& r) { r.EnumRegistryValues(kCurrentUser, ScratchText() + L"\\e"); },
       {R"(RegOpenKeyExA(HKCU, "$S\e", 0, 0x20019, out))", "RegEnumValueA(#1, 0, buf, &260, null, out, buf, &4096)",
        R"(ExpandEnvironmentStringsA("%KCI_CALLS%", null, 0))", R"(ExpandEnvironmentStringsA("%KCI_CALLS%", buf, 4))",
        "RegEnumValueA(#1, 1, buf, &260, null, out, buf, &4096)", "RegCloseKey(#1)"}},
  });
}

TEST_P(PlatformCallsTest, RemoteValues) {
  const KeyHandle own = OwnKey();
  const auto own_code = static_cast<std::int32_t>(own.get());
  ExpectCalls({
      {"ReadRemoteRegistryValue",
       [](winreg& r) { r.ReadRemoteRegistryValue(L"", kCurrentUser, L"sz"); },
       {R"(RegConnectRegistryA("", HKCU, out))", R"(RegOpenKeyExA(HKCU, "$S\k", 0, 0xf003f, out))",
        R"(RegQueryValueExA(#1, "sz", null, out, buf, &1024))", "RegCloseKey(#1)"}},
      {"ReadRemoteRegistryValue, KeyPath empty",
       [](winreg& r) { r.ReadRemoteRegistryValue(L"", kCurrentUser, L"sz", std::wstring()); },
       {R"(RegConnectRegistryA("", HKCU, out))", R"(RegOpenKeyExA(HKCU, "", 0, 0xf003f, out))",
        R"(RegQueryValueExA(HKCU, "sz", null, out, buf, &1024))"}},
      {"ReadRemoteRegistryValue, unreachable",
       [](winreg& r) { r.ReadRemoteRegistryValue(L"\\\\no-such-computer", kCurrentUser, L"sz"); },
       {R"(RegConnectRegistryA("\\no-such-computer", HKCU, out))"}},
      {"ReadRemoteRegistryValue under the caller's key",
       [&](winreg& r) { r.ReadRemoteRegistryValue(L"", own_code, L"sz", std::wstring(L"child")); },
       {R"(RegConnectRegistryA("", x1, out))", R"(RegOpenKeyExA(x1, "child", 0, 0xf003f, out))",
        R"(RegQueryValueExA(#1, "sz", null, out, buf, &1024))", "RegCloseKey(#1)"}},
      {"WriteRemoteRegistryValue",
       [](winreg& r) { r.WriteRemoteRegistryValue(L"", kCurrentUser, L"w", Variant(L"x"), 1); },
       {R"(RegConnectRegistryA("", HKCU, out))", R"(RegOpenKeyExA(HKCU, "$S\k", 0, 0xf003f, out))",
        R"(RegSetValueExA(#1, "w", 0, 1, "x\0", 2))", "RegCloseKey(#1)"}},
      {"WriteRemoteRegistryValue, missing key",
       [](winreg& r) { r.WriteRemoteRegistryValue(L"", kCurrentUser, L"w", Variant(L"x"), 1, std::wstring(L"none")); },
       {R"(RegConnectRegistryA("", HKCU, out))", R"(RegOpenKeyExA(HKCU, "none", 0, 0xf003f, out))"}},
  });
}

INSTANTIATE_TEST_SUITE_P(Backends, PlatformCallsTest, ::testing::ValuesIn(AllBackends()), BackendName);

}  // namespace
}  // namespace registry::testing
