// Reading and writing another computer's registry, on every backend. The computer's own name is
// the "remote" computer every backend can reach; the emulation also holds a registry of a computer
// of its own, and any other name reaches nothing.
#include "common/ansi.h"
#include "registry/key_handle.h"
#include "tests/registry/registry_fixture.h"

namespace registry::testing {
namespace {

using common::Variant;

constexpr std::int32_t kLocalMachine = static_cast<std::int32_t>(0x80000002u);

class RemoteTest : public RegistryTest {
 protected:
  std::wstring Own() { return common::AnsiToText(ComputerName()); }
  // Addressing the scratch key through KeyRoot and Subkey, with `hkey` deliberately wrong: the
  // remote methods take the root from their argument.
  winreg Remote(const std::wstring& subkey) {
    winreg reg = Addressing(subkey);
    reg.hkey(0);
    return reg;
  }
};

TEST_P(RemoteTest, ReadsThroughTheObjectsKeyPathOrTheGivenOne) {
  PutValue("r", "v", kRegSz, std::string("remote text\0", 12));
  winreg reg = Remote(L"r");
  EXPECT_EQ(reg.ReadRemoteRegistryValue(Own(), kCurrentUser, L"v"), Variant(L"remote text"));
  EXPECT_EQ(reg.ReadRemoteRegistryValue(L"\\\\" + Own(), kCurrentUser, L"v"), Variant(L"remote text"));
  EXPECT_EQ(reg.ReadRemoteRegistryValue(L"", kCurrentUser, L"v", ScratchText() + L"\\r"), Variant(L"remote text"));
  EXPECT_TRUE(reg.ReadRemoteRegistryValue(Own(), kCurrentUser, L"missing").IsEmpty());
  EXPECT_TRUE(reg.ReadRemoteRegistryValue(Own(), kCurrentUser, L"v", ScratchText() + L"\\nope").IsEmpty());
  EXPECT_EQ(recorder().Calls("RegQueryValueExA"), 4u);  // no read through a key that did not open
}

TEST_P(RemoteTest, TheComputerNameReachesThePlatformExactlyAsGiven) {
  winreg reg = Remote(L"");
  for (const std::wstring& name :
       {L"\\\\" + Own(), Own(), std::wstring(L"no-such-computer"), std::wstring(L"\\\\no-such-computer")}) {
    recorder().Reset();
    reg.ReadRemoteRegistryValue(name, kCurrentUser, L"v");
    EXPECT_EQ(PlatformCalls().front(), "RegConnectRegistryA(\"" + common::TextToAnsi(name) + "\", HKCU, out)");
  }
}

TEST_P(RemoteTest, AFailedConnectionReadsAsErrorAndWritesNothing) {
  winreg reg = Remote(L"r");
  EXPECT_EQ(reg.ReadRemoteRegistryValue(L"no-such-computer", kCurrentUser, L"v"), Variant(L"Error!"));
  EXPECT_FALSE(reg.WriteRemoteRegistryValue(L"no-such-computer", kCurrentUser, L"v", Variant(1), 4));
  EXPECT_FALSE(reg.WriteRemoteRegistryValue(L"no-such-computer", kCurrentUser, L"v", Variant(1), 5));
  EXPECT_EQ(recorder().Calls("RegOpenKeyExA"), 0u);
  // A stored "Error!" reads the same as a failed connection.
  PutValue("r", "v", kRegSz, std::string("Error!\0", 7));
  EXPECT_EQ(reg.ReadRemoteRegistryValue(Own(), kCurrentUser, L"v"), Variant(L"Error!"));
}

TEST_P(RemoteTest, AnEmptyKeyPathAddressesTheRootItself) {
  winreg reg = Remote(L"r");
  MakeKey("r");
  // The scratch path is not a value of HKEY_CURRENT_USER itself: the read finds nothing.
  EXPECT_TRUE(reg.ReadRemoteRegistryValue(Own(), kCurrentUser, L"KestrovaCartImportTests probe", L"").IsEmpty());
  EXPECT_EQ(recorder().Calls("RegQueryValueExA"), 1u);
}

TEST_P(RemoteTest, TheCallersOwnKeyHandedBackByTheConnectionStaysOpen) {
  PutValue("own", "v", kRegSz, std::string("mine\0", 5));
  MakeKey("own\\child");
  const KeyResult own = OpenKey(raw(), kHkeyCurrentUser, Below("own").c_str(), kKeyAllAccess);
  ASSERT_EQ(own.status, kErrorSuccess);
  const auto hkey = static_cast<std::int32_t>(own.key.get());
  winreg reg(recorder());
  EXPECT_EQ(reg.ReadRemoteRegistryValue(L"", hkey, L"v", std::wstring()), Variant(L"mine"));
  EXPECT_TRUE(reg.ReadRemoteRegistryValue(Own(), hkey, L"v", std::wstring(L"child")).IsEmpty());
  EXPECT_TRUE(reg.WriteRemoteRegistryValue(L"", hkey, L"w", Variant(L"x"), 1, std::wstring()));
  EXPECT_TRUE(reg.WriteRemoteRegistryValue(Own(), hkey, L"w", Variant(L"y"), 1, std::wstring(L"child")));
  // The caller's handle still reads: nothing closed it.
  DWORD size = 0;
  EXPECT_EQ(raw().RegQueryValueExA(own.key.get(), "w", nullptr, nullptr, nullptr, &size), kErrorSuccess);
  EXPECT_EQ(size, 2u);
}

TEST_P(RemoteTest, WritesAsSetRegistryValueDoesButNeverCreatesTheKey) {
  MakeKey("w");
  winreg reg = Remote(L"w");
  EXPECT_TRUE(reg.WriteRemoteRegistryValue(Own(), kCurrentUser, L"n", Variant(2.5), 4));
  ASSERT_TRUE(ReadValue("w", "n"));
  EXPECT_EQ(ReadValue("w", "n")->bytes, std::string("\x02\0\0\0", 4));
  EXPECT_TRUE(reg.WriteRemoteRegistryValue(Own(), kCurrentUser, L"s", Variant(42), 1, ScratchText() + L"\\w"));
  EXPECT_EQ(ReadValue("w", "s")->bytes, std::string("42\0", 3));

  winreg missing = Remote(L"absent");
  EXPECT_FALSE(missing.WriteRemoteRegistryValue(Own(), kCurrentUser, L"v", Variant(1), 4));
  EXPECT_TRUE(missing.WriteRemoteRegistryValue(Own(), kCurrentUser, L"v", Variant(1), 5));  // nothing to write
  EXPECT_FALSE(KeyPresent("absent"));
  EXPECT_EQ(recorder().Calls("RegSetValueExA"), 2u);  // never through a key that did not open
  EXPECT_EQ(recorder().Calls("RegCreateKeyExA"), 0u);
}

TEST_P(RemoteTest, ConversionErrorsPassToTheCallerWithNothingLeftOpen) {
  MakeKey("w");
  winreg reg = Remote(L"w");
  EXPECT_EQ(ErrorNumberOf([&] { reg.WriteRemoteRegistryValue(Own(), kCurrentUser, L"b", Variant(L"x"), 3); }),
            common::kErrTypeMismatch.number);
  EXPECT_EQ(ErrorNumberOf([&] {
              reg.WriteRemoteRegistryValue(Own(), kCurrentUser, L"b", Variant(L"x"), 3, ScratchText() + L"\\absent");
            }),
            common::kErrTypeMismatch.number);
  PutValue("w", "multi", kRegMultiSz, std::string(32767, 'm') + std::string("\0x\0\0", 4));
  EXPECT_EQ(ErrorNumberOf([&] { reg.ReadRemoteRegistryValue(Own(), kCurrentUser, L"multi"); }),
            common::kErrOverflow.number);
}

TEST_P(RemoteTest, ExpandsWithThisProcesssEnvironment) {
  SetProcessVariable("KCI_REMOTE", "here");
  PutValue("r", "e", kRegExpandSz, std::string("%KCI_REMOTE%!\0", 14));
  EXPECT_EQ(Remote(L"r").ReadRemoteRegistryValue(Own(), kCurrentUser, L"e"), Variant(L"here!"));
  UnsetProcessVariable("KCI_REMOTE");
}

TEST_P(RemoteTest, AnotherComputersRegistryIsReachedThroughItsName) {
  if (!emulation()) GTEST_SKIP() << "only the emulation holds another computer's registry";
  emulation()->AddRemoteComputer("FARHOST");
  KeyResult far = ConnectKey(raw(), "FARHOST", kHkeyLocalMachine);
  ASSERT_EQ(far.status, kErrorSuccess);
  ASSERT_EQ(CreateRaw(far.key.get(), "Software\\Far").status, kErrorSuccess);
  far.key.reset();

  winreg reg(recorder());
  EXPECT_TRUE(reg.WriteRemoteRegistryValue(L"\\\\farhost", kLocalMachine, L"v", Variant(L"far away"), 1,
                                           std::wstring(L"Software\\Far")));
  EXPECT_EQ(reg.ReadRemoteRegistryValue(L"FARHOST", kLocalMachine, L"v", std::wstring(L"Software\\Far")),
            Variant(L"far away"));
  // Not a value of this computer's HKEY_LOCAL_MACHINE.
  EXPECT_EQ(reg.ReadRemoteRegistryValue(L"", kLocalMachine, L"v", std::wstring(L"Software\\Far")), Variant());
  // Another computer offers no HKEY_CURRENT_USER.
  EXPECT_EQ(reg.ReadRemoteRegistryValue(L"FARHOST", kCurrentUser, L"v", std::wstring(L"")), Variant(L"Error!"));
}

TEST_P(RemoteTest, AKeyThatMayOnlyBeReadIsNotOpenedWithFullAccess) {
  if (!emulation()) GTEST_SKIP() << "protected keys are an emulation set-up";
  PutValue("ro", "v", kRegSz, std::string("x\0", 2));
  emulation()->SetKeyReadOnly(kHkeyCurrentUser, Below("ro"), true);
  winreg reg = Remote(L"ro");
  EXPECT_TRUE(reg.ReadRemoteRegistryValue(Own(), kCurrentUser, L"v").IsEmpty());
  EXPECT_FALSE(reg.WriteRemoteRegistryValue(Own(), kCurrentUser, L"v", Variant(L"y"), 1));
  EXPECT_EQ(Addressing(L"ro").GetRegistryValue(L"v"), Variant(L"x"));  // readable all the same
  emulation()->SetKeyReadOnly(kHkeyCurrentUser, Below("ro"), false);
}

INSTANTIATE_TEST_SUITE_P(Backends, RemoteTest, ::testing::ValuesIn(AllBackends()), BackendName);

}  // namespace
}  // namespace registry::testing
