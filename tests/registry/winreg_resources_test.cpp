// Every winreg method, on its successful, failing and error-raising paths, leaves no key handle
// open and closes none twice: checked after each call on every backend.
#include <functional>

#include "common/ansi.h"
#include "tests/registry/registry_fixture.h"

namespace registry::testing {
namespace {

using common::Variant;

struct Step {
  const char* label;
  std::function<void(winreg&, const std::wstring& scratch)> call;
};

class ResourceTest : public RegistryTest {};

TEST_P(ResourceTest, NoMethodLeavesAHandleOpenOnAnyPath) {
  PutValue("k", "sz", kRegSz, std::string("text\0", 5));
  PutValue("k", "big", kRegBinary, std::string(5000, '\x01'));
  PutValue("k", "huge", kRegBinary, std::string(32768, '\x01'));
  PutValue("k", "multi", kRegMultiSz, std::string(32767, 'm') + std::string("\0x\0\0", 4));
  MakeKey("k\\child");
  const std::wstring missing = L"missing";
  const std::vector<Step> steps = {
      {"KeyExists", [](winreg& r, auto&) { r.KeyExists(); }},
      {"CreateKey", [](winreg& r, auto&) { r.CreateKey(); }},
      {"CreateKey named",
       [](winreg& r, auto&) {
         Variant name(L"made");
         r.CreateKey(name);
       }},
      {"CreateKey mismatch",
       [](winreg& r, auto&) {
         Variant name(common::ByteArray{});
         r.CreateKey(name);
       }},
      {"DeleteKey", [](winreg& r, auto&) { r.DeleteKey(L"made"); }},
      {"DeleteKey missing", [&](winreg& r, auto&) { r.DeleteKey(missing); }},
      {"DeleteValue missing", [&](winreg& r, auto&) { r.DeleteValue(missing); }},
      {"GetRegistryValue", [](winreg& r, auto&) { r.GetRegistryValue(L"sz"); }},
      {"GetRegistryValue two reads", [](winreg& r, auto&) { r.GetRegistryValue(L"big"); }},
      {"GetRegistryValue missing", [&](winreg& r, auto&) { r.GetRegistryValue(missing); }},
      {"GetRegistryValue overflow", [](winreg& r, auto&) { r.GetRegistryValue(L"multi"); }},
      {"SetRegistryValue", [](winreg& r, auto&) { r.SetRegistryValue(L"n", Variant(1), 4); }},
      {"SetRegistryValue mismatch", [](winreg& r, auto&) { r.SetRegistryValue(L"n", Variant(L"x"), 3); }},
      {"SetRegistryValue overflow", [](winreg& r, auto&) { r.SetRegistryValue(L"n", Variant(1e12), 4); }},
      {"EnumRegistryKeys", [](winreg& r, auto& s) { r.EnumRegistryKeys(kCurrentUser, s + L"\\k"); }},
      {"EnumRegistryKeys missing", [](winreg& r, auto& s) { r.EnumRegistryKeys(kCurrentUser, s + L"\\none"); }},
      {"EnumRegistryValues overflow", [](winreg& r, auto& s) { r.EnumRegistryValues(kCurrentUser, s + L"\\k"); }},
      {"ReadRemoteRegistryValue", [](winreg& r, auto&) { r.ReadRemoteRegistryValue(L"", kCurrentUser, L"sz"); }},
      {"ReadRemoteRegistryValue no key",
       [](winreg& r, auto&) { r.ReadRemoteRegistryValue(L"", kCurrentUser, L"sz", std::wstring(L"none\\x")); }},
      {"ReadRemoteRegistryValue unreachable",
       [](winreg& r, auto&) { r.ReadRemoteRegistryValue(L"no-such-computer", kCurrentUser, L"sz"); }},
      {"ReadRemoteRegistryValue overflow",
       [](winreg& r, auto&) { r.ReadRemoteRegistryValue(L"", kCurrentUser, L"multi"); }},
      {"WriteRemoteRegistryValue",
       [](winreg& r, auto&) { r.WriteRemoteRegistryValue(L"", kCurrentUser, L"w", Variant(L"x"), 1); }},
      {"WriteRemoteRegistryValue mismatch",
       [](winreg& r, auto&) { r.WriteRemoteRegistryValue(L"", kCurrentUser, L"w", Variant(L"x"), 3); }},
  };
  for (const Step& step : steps) {
    winreg reg = Addressing(L"k");
    try {
      step.call(reg, ScratchText());
    } catch (const common::RuntimeError&) {
      // the error passes through; what counts is what stayed open
    }
    EXPECT_EQ(recorder().OpenHandles(), 0u) << step.label;
    EXPECT_EQ(recorder().StrayCloses(), 0u) << step.label;
    if (emulation()) {
      EXPECT_EQ(emulation()->OpenHandleCount(), 0u) << step.label;
    }
  }
  EXPECT_GT(recorder().Calls("RegCloseKey"), 15u);  // the steps did open and close keys
}

INSTANTIATE_TEST_SUITE_P(Backends, ResourceTest, ::testing::ValuesIn(AllBackends()), BackendName);

}  // namespace
}  // namespace registry::testing
