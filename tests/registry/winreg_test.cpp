// `winreg` on every backend: addressing, key operations, value read and write.
#include "registry/registry_access.h"

#include "common/ansi.h"
#include "common/runtime_error.h"
#include "tests/registry/registry_fixture.h"

namespace registry::testing {
namespace {

using common::ByteArray;
using common::Variant;

// --- Addressing --------------------------------------------------------------------------------

struct RootNameCase {
  std::uint32_t hkey;
  const wchar_t* name;
};

class KeyFullPathTest : public ::testing::TestWithParam<RootNameCase> {};

TEST_P(KeyFullPathTest, NamesTheRootByItsExactHandle) {
  RegistryEmulation emulation;
  winreg reg(emulation);
  reg.hkey(static_cast<std::int32_t>(GetParam().hkey));
  reg.KeyRoot(L"Software\\Vendor\\");
  reg.Subkey(L"Sub");
  EXPECT_EQ(reg.KeyFullPath(), std::wstring(GetParam().name) + L"\\Software\\Vendor\\\\Sub");
}

INSTANTIATE_TEST_SUITE_P(
    Roots, KeyFullPathTest,
    ::testing::Values(RootNameCase{0x80000000u, L"HKEY_CLASSES_ROOT"}, RootNameCase{0x80000001u, L"HKEY_CURRENT_USER"},
                      RootNameCase{0x80000002u, L"HKEY_LOCAL_MACHINE"}, RootNameCase{0x80000003u, L"HKEY_USERS"},
                      RootNameCase{0x80000004u, L"HKEY_PERFORMANCE_DATA"},
                      RootNameCase{0x80000005u, L"HKEY_CURRENT_CONFIG"}, RootNameCase{0x80000006u, L"HKEY_DYN_DATA"},
                      RootNameCase{0x80000007u, L"{Unknown root key}"},
                      RootNameCase{0x7FFFFFFFu, L"{Unknown root key}"}, RootNameCase{0u, L"{Unknown root key}"}));

TEST(WinregProperties, StartEmptyAndReadBackExactlyWhatWasWritten) {
  RegistryEmulation emulation;
  winreg reg(emulation);
  EXPECT_EQ(reg.hkey(), 0);
  EXPECT_EQ(reg.KeyRoot(), L"");
  EXPECT_EQ(reg.Subkey(), L"");
  EXPECT_EQ(reg.KeyFullPath(), L"{Unknown root key}\\\\");
  reg.hkey(-5);
  reg.KeyRoot(L"\\\\odd\\");
  reg.Subkey(L"");
  EXPECT_EQ(reg.hkey(), -5);
  EXPECT_EQ(reg.KeyRoot(), L"\\\\odd\\");
  EXPECT_EQ(reg.Subkey(), L"");
  EXPECT_EQ(emulation.OpenHandleCount(), 0u);
}

class WinregTest : public RegistryTest {};

TEST_P(WinregTest, KeyPathJoinsKeyRootAndSubkeyWithExactlyOneBackslash) {
  MakeKey("child");
  winreg reg = Addressing(L"child");
  EXPECT_TRUE(reg.KeyExists());
  reg.KeyRoot(ScratchText() + L"\\");  // two backslashes in a row: the platform skips the empty name
  EXPECT_TRUE(reg.KeyExists());
  EXPECT_EQ(reg.KeyFullPath(), L"HKEY_CURRENT_USER\\" + ScratchText() + L"\\\\child");
  reg.KeyRoot(L"");  // the path now begins with a backslash, which the platform refuses
  reg.Subkey(L"Software");
  EXPECT_FALSE(reg.KeyExists());
  reg.Subkey(L"");  // the path "\" alone
  EXPECT_FALSE(reg.KeyExists());
}

// --- Key operations ----------------------------------------------------------------------------

TEST_P(WinregTest, KeyExistsOpensForReadingAndClosesAgain) {
  MakeKey("present");
  EXPECT_TRUE(Addressing(L"present").KeyExists());
  EXPECT_TRUE(Addressing(L"PRESENT").KeyExists());
  EXPECT_TRUE(Addressing(L"").KeyExists());  // KeyRoot followed by one backslash
  EXPECT_FALSE(Addressing(L"absent").KeyExists());
  EXPECT_EQ(recorder().Calls("RegOpenKeyExA"), 4u);
  EXPECT_EQ(recorder().Calls("RegCloseKey"), 3u);
  winreg fresh(recorder());
  EXPECT_FALSE(fresh.KeyExists());
}

TEST_P(WinregTest, CreateKeyWithNameOmittedCreatesTheAddressedKey) {
  winreg reg = Addressing(L"new\\deeper");
  EXPECT_EQ(reg.CreateKey(), L"0");
  EXPECT_TRUE(KeyPresent("new\\deeper"));
  EXPECT_EQ(recorder().Calls("RegCreateKeyExA"), 1u);
  EXPECT_EQ(recorder().Calls("RegCloseKey"), 1u);
}

TEST_P(WinregTest, CreateKeyWithANameWorksBelowKeyRootAndWritesTheNameBack) {
  winreg reg = Addressing(L"untouched");
  Variant name(42);
  EXPECT_EQ(reg.CreateKey(name), L"0");
  EXPECT_EQ(name, Variant(L"42"));  // the caller's variable now holds the name as text
  EXPECT_TRUE(KeyPresent("42"));
  EXPECT_FALSE(KeyPresent("untouched"));
  EXPECT_EQ(reg.Subkey(), L"untouched");

  Variant omitted = Variant::Omitted();
  EXPECT_EQ(reg.CreateKey(omitted), L"0");
  EXPECT_TRUE(KeyPresent("untouched"));
  EXPECT_TRUE(omitted.IsOmitted());
}

TEST_P(WinregTest, CreateKeyOnAnExistingKeyKeepsItsValues) {
  PutValue("keep", "v", kRegSz, std::string("x\0", 2));
  Variant name(L"keep");
  EXPECT_EQ(Addressing().CreateKey(name), L"0");
  ASSERT_TRUE(ReadValue("keep", "v"));
  EXPECT_EQ(ReadValue("keep", "v")->bytes, std::string("x\0", 2));
}

TEST_P(WinregTest, CreateKeyFailsQuietlyAndRaisesOnlyForAConversion) {
  winreg fresh(recorder());
  EXPECT_EQ(fresh.CreateKey(), L"");
  Variant bytes(ByteArray{0, {1, 2}});
  EXPECT_EQ(ErrorNumberOf([&] { Addressing().CreateKey(bytes); }), common::kErrTypeMismatch.number);
  EXPECT_EQ(recorder().Calls("RegCreateKeyExA"), 1u);  // the failing conversion reached no platform call
}

TEST_P(WinregTest, DeleteKeyDeletesOneKeyBelowKeyRootAndReportsThePlatformsCode) {
  MakeKey("leaf");
  MakeKey("branch\\twig");
  winreg reg = Addressing(L"ignored");
  EXPECT_EQ(reg.DeleteKey(L"leaf"), 0);
  EXPECT_FALSE(KeyPresent("leaf"));
  EXPECT_EQ(reg.DeleteKey(L"leaf"), kErrorFileNotFound);
  EXPECT_EQ(reg.DeleteKey(L"branch"), kErrorAccessDenied);  // subkeys are never walked
  EXPECT_TRUE(KeyPresent("branch\\twig"));
  winreg fresh(recorder());
  EXPECT_EQ(fresh.DeleteKey(L"x"), kErrorInvalidHandle);
}

TEST_P(WinregTest, DeleteValueClosesTheKeyWhateverTheDeletionAnswers) {
  PutValue("k", "v", kRegSz, std::string("x\0", 2));
  winreg reg = Addressing(L"k");
  EXPECT_EQ(reg.DeleteValue(L"V"), 0);
  EXPECT_FALSE(ReadValue("k", "v"));
  EXPECT_EQ(reg.DeleteValue(L"v"), kErrorFileNotFound);
  EXPECT_EQ(recorder().Calls("RegCloseKey"), 2u);
  EXPECT_EQ(Addressing(L"missing").DeleteValue(L"v"), kErrorFileNotFound);  // the open's code
  EXPECT_EQ(recorder().Calls("RegDeleteValueA"), 2u);
  winreg fresh(recorder());
  EXPECT_EQ(fresh.DeleteValue(L"v"), kErrorInvalidHandle);
}

// --- Value read --------------------------------------------------------------------------------

struct ReadCase {
  const char* label;
  DWORD type;
  std::string stored;
  Variant expected;  // with the default 99
};

class GetRegistryValueTest : public RegistryTest {};

TEST_P(GetRegistryValueTest, ConvertsEveryTypeAndSize) {
  const Variant def(99);
  const std::vector<ReadCase> cases = {
      {"sz", kRegSz, std::string("text\0", 5), Variant(L"text")},
      {"sz terminator only", kRegSz, std::string("\0", 1), Variant(L"")},
      {"sz empty", kRegSz, "", def},
      {"sz unterminated", kRegSz, "abc", Variant(L"ab")},
      {"sz inner nul", kRegSz, std::string("a\0b\0", 4), Variant(std::wstring(L"a\0b", 3))},
      {"sz code page", kRegSz, std::string("\xe9\x80\0", 3), Variant(L"\u00e9\u20ac")},
      {"dword", kRegDword, std::string("\x01\0\0\0", 4), Variant(1)},
      {"dword all bits", kRegDword, "\xff\xff\xff\xff", Variant(-1)},
      {"dword two bytes", kRegDword, "\x02\x01", Variant(0x0102)},
      {"dword empty", kRegDword, "", Variant(0)},
      {"binary", kRegBinary, "\x01\x0a\xff", Variant(ByteArray{0, {1, 10, 255}})},
      {"binary empty", kRegBinary, "", def},
      {"multi", kRegMultiSz, std::string("one\0two\0\0", 9), Variant(std::wstring(L"one\0two", 7))},
      {"multi no strings", kRegMultiSz, std::string("\0\0", 2), def},
      {"multi one byte", kRegMultiSz, std::string("\0", 1), def},
      {"multi empty", kRegMultiSz, "", def},
      {"multi first empty", kRegMultiSz, std::string("\0two\0\0", 6), def},
      {"qword", kRegQword, std::string("\x01\0\0\0\0\0\0\0", 8), def},
      {"none", kRegNone, "x", def},
      {"big endian", 5, std::string("\0\0\0\x01", 4), def},
      {"unknown type", 12345, "xyz", def},
  };
  for (const auto& c : cases) PutValue("", c.label, c.type, c.stored);
  winreg reg = Addressing();
  for (const auto& c : cases) {
    EXPECT_EQ(reg.GetRegistryValue(common::AnsiToText(c.label), def), c.expected) << c.label;
  }
}

TEST_P(GetRegistryValueTest, GivesTheDefaultWhenNothingCanBeRead) {
  winreg reg = Addressing();
  EXPECT_TRUE(reg.GetRegistryValue(L"missing").IsEmpty());
  EXPECT_EQ(reg.GetRegistryValue(L"missing", Variant(7)), Variant(7));  // still a number
  EXPECT_EQ(reg.GetRegistryValue(L"missing", Variant(L"")), Variant(L""));
  EXPECT_TRUE(Addressing(L"no such key").GetRegistryValue(L"x").IsEmpty());
  winreg fresh(recorder());
  EXPECT_EQ(fresh.GetRegistryValue(L"x", Variant(1.5)), Variant(1.5));
}

TEST_P(GetRegistryValueTest, ReadsOnceUpTo1024BytesAndTwiceBeyond) {
  PutValue("", "fits", kRegBinary, std::string(1024, '\x5a'));
  PutValue("", "spills", kRegBinary, std::string(1024, '\x5a') + "\x01");
  PutValue("", "long text", kRegSz, std::string(3000, 'q') + '\0');
  winreg reg = Addressing();

  EXPECT_EQ(reg.GetRegistryValue(L"fits").bytes().bytes.size(), 1024u);
  EXPECT_EQ(recorder().Calls("RegQueryValueExA"), 1u);

  recorder().Reset();
  const Variant spills = reg.GetRegistryValue(L"spills");
  EXPECT_EQ(recorder().Calls("RegQueryValueExA"), 2u);
  ASSERT_EQ(spills.bytes().bytes.size(), 1025u);
  EXPECT_EQ(spills.bytes().bytes.back(), 0x01);

  recorder().Reset();
  EXPECT_EQ(reg.GetRegistryValue(L"long text"), Variant(std::wstring(3000, L'q')));
  EXPECT_EQ(recorder().Calls("RegQueryValueExA"), 2u);
}

TEST_P(GetRegistryValueTest, ExpandsEnvironmentReferencesThatAreSet) {
  SetProcessVariable("KCI_DOCS", "D:\\Data");
  UnsetProcessVariable("KCI_NOT_SET");
  PutValue("", "set", kRegExpandSz, std::string("%KCI_DOCS%\\Cart\0", 16));
  PutValue("", "unset", kRegExpandSz, std::string("%KCI_NOT_SET%\\x\0", 16));
  PutValue("", "longer", kRegExpandSz, std::string("%KCI_DOCS%%KCI_DOCS%%KCI_DOCS%\0", 31));
  PutValue("", "empty", kRegExpandSz, "");
  winreg reg = Addressing();
  EXPECT_EQ(reg.GetRegistryValue(L"set"), Variant(L"D:\\Data\\Cart"));
  EXPECT_EQ(reg.GetRegistryValue(L"unset"), Variant(L"%KCI_NOT_SET%\\x"));
  EXPECT_EQ(reg.GetRegistryValue(L"longer"), Variant(L"D:\\DataD:\\DataD:\\Data"));
  EXPECT_TRUE(reg.GetRegistryValue(L"empty").IsEmpty());
  UnsetProcessVariable("KCI_DOCS");
}

TEST_P(GetRegistryValueTest, AMultiStringWhoseFirstNulLiesBeyond32767Overflows) {
  PutValue("", "fits", kRegMultiSz, std::string(32766, 'a') + std::string("\0b\0\0", 4));
  PutValue("", "too long", kRegMultiSz, std::string(32767, 'a') + std::string("\0b\0\0", 4));
  winreg reg = Addressing();
  EXPECT_EQ(reg.GetRegistryValue(L"fits").text().size(), 32766u + 2u);
  EXPECT_EQ(ErrorNumberOf([&] { reg.GetRegistryValue(L"too long"); }), common::kErrOverflow.number);
  // TearDown checks that the key was closed although the error passed through.
}

// A value that changes between the two reads of a large value: by the second read it has grown
// again (234 once more), the backend claims more data than the buffer it was given, or the key has
// been deleted meanwhile (a real deletion: the platform then answers 1018 and leaves the type and
// size of the first read in place), or the handle is no longer valid (6, likewise). Nothing the platform did not write
// may be converted; the default comes back.
class SecondReadFails : public RecordingRegistry {
 public:
  enum class Mode { kGrowsAgain, kClaimsMore, kKeyDeleted, kHandleInvalid };
  SecondReadFails(RegistryApi& inner, Mode mode, std::string key)
      : RecordingRegistry(inner), inner_(inner), mode_(mode), key_(std::move(key)) {}
  RegStatus RegQueryValueExA(RegKey h, const char* name, DWORD* reserved, DWORD* type, std::uint8_t* data,
                             DWORD* size) override {
    const DWORD capacity = *size;
    const bool second = Calls("RegQueryValueExA") == 1;
    if (second && mode_ == Mode::kKeyDeleted) inner_.RegDeleteKeyA(kHkeyCurrentUser, key_.c_str());
    if (second && mode_ == Mode::kHandleInvalid) h = 0;
    RegStatus rc = RecordingRegistry::RegQueryValueExA(h, name, reserved, type, data, size);
    if (second && mode_ == Mode::kGrowsAgain) rc = kErrorMoreData;
    if (second && (mode_ == Mode::kGrowsAgain || mode_ == Mode::kClaimsMore)) *size = capacity + 100;
    return rc;
  }

 private:
  RegistryApi& inner_;
  Mode mode_;
  std::string key_;
};

TEST_P(GetRegistryValueTest, ASecondReadThatFailsInAnyWayGivesTheDefault) {
  using Mode = SecondReadFails::Mode;
  for (const auto mode : {Mode::kGrowsAgain, Mode::kClaimsMore, Mode::kKeyDeleted, Mode::kHandleInvalid}) {
    for (const char* name : {"big", "big text"}) {
      PutValue("grows", "big", kRegBinary, std::string(2000, '\x33'));
      PutValue("grows", "big text", kRegSz, std::string(2000, 't') + '\0');
      SecondReadFails failing(raw(), mode, Below("grows"));
      winreg reg(failing);
      reg.hkey(kCurrentUser);
      reg.KeyRoot(ScratchText());
      reg.Subkey(L"grows");
      EXPECT_EQ(reg.GetRegistryValue(common::AnsiToText(name), Variant(-1)), Variant(-1))
          << name << " " << static_cast<int>(mode);
      EXPECT_EQ(failing.Calls("RegQueryValueExA"), 2u);
      EXPECT_EQ(failing.OpenHandles(), 0u);
    }
  }
}

// --- Value write -------------------------------------------------------------------------------

struct WriteCase {
  const char* label;
  Variant value;
  std::int32_t dtype;
  DWORD stored_type;
  std::string stored;
};

class SetRegistryValueTest : public RegistryTest {};

TEST_P(SetRegistryValueTest, WritesEveryTypeByItsConversion) {
  const std::vector<WriteCase> cases = {
      {"number as text", Variant(42), 1, kRegSz, std::string("42\0", 3)},
      {"text", Variant(L"caf\u00e9"), 1, kRegSz, std::string("caf\xe9\0", 5)},
      {"empty as text", Variant(), 1, kRegSz, std::string("\0", 1)},
      {"expand kept as written", Variant(L"%KCI_DOCS%\\x"), 2, kRegExpandSz, std::string("%KCI_DOCS%\\x\0", 13)},
      {"multi", Variant(std::wstring(L"one\0two\0", 8)), 7, kRegMultiSz, std::string("one\0two\0\0", 9)},
      {"dword", Variant(-1), 4, kRegDword, "\xff\xff\xff\xff"},
      {"dword half to even", Variant(2.5), 4, kRegDword, std::string("\x02\0\0\0", 4)},
      {"dword from text", Variant(L"3.5"), 4, kRegDword, std::string("\x04\0\0\0", 4)},
      {"binary lower bound 1", Variant(ByteArray{1, {7, 8, 9}}), 3, kRegBinary, "\x07\x08\x09"},
      {"binary empty", Variant(ByteArray{0, {}}), 3, kRegBinary, ""},
  };
  winreg reg = Addressing();
  for (const auto& c : cases) {
    EXPECT_TRUE(reg.SetRegistryValue(common::AnsiToText(c.label), c.value, c.dtype)) << c.label;
    const auto stored = ReadValue("", c.label);
    ASSERT_TRUE(stored) << c.label;
    EXPECT_EQ(stored->type, c.stored_type) << c.label;
    EXPECT_EQ(stored->bytes, c.stored) << c.label;
  }
}

TEST_P(SetRegistryValueTest, ATextWrittenReadsBackAsText) {
  winreg reg = Addressing();
  ASSERT_TRUE(reg.SetRegistryValue(L"answer", Variant(42), 1));
  EXPECT_EQ(reg.GetRegistryValue(L"answer"), Variant(L"42"));
}

TEST_P(SetRegistryValueTest, CreatesAMissingKeyFirst) {
  winreg reg = Addressing(L"made\\on demand");
  EXPECT_TRUE(reg.SetRegistryValue(L"v", Variant(5), 4));
  ASSERT_TRUE(ReadValue("made\\on demand", "v"));
  EXPECT_EQ(recorder().Calls("RegOpenKeyExA"), 2u);
  EXPECT_EQ(recorder().Calls("RegCreateKeyExA"), 1u);
}

TEST_P(SetRegistryValueTest, ATypeWithoutAConversionWritesNothingAndSucceeds) {
  winreg reg = Addressing(L"typeless");
  EXPECT_TRUE(reg.SetRegistryValue(L"v", Variant(5), 5));
  EXPECT_TRUE(reg.SetRegistryValue(L"v", Variant(5), -1));
  EXPECT_TRUE(KeyPresent("typeless"));  // the key is created all the same
  EXPECT_FALSE(ReadValue("typeless", "v"));
  EXPECT_EQ(recorder().Calls("RegSetValueExA"), 0u);
}

TEST_P(SetRegistryValueTest, AValueWithoutTheNeededFormRaisesAndWritesNothing) {
  winreg reg = Addressing();
  EXPECT_EQ(ErrorNumberOf([&] { reg.SetRegistryValue(L"b", Variant(L"not bytes"), 3); }),
            common::kErrTypeMismatch.number);
  EXPECT_EQ(ErrorNumberOf([&] { reg.SetRegistryValue(L"d", Variant(2147483648.0), 4); }), common::kErrOverflow.number);
  EXPECT_EQ(ErrorNumberOf([&] { reg.SetRegistryValue(L"d", Variant(L"2 pcs"), 4); }), common::kErrTypeMismatch.number);
  EXPECT_EQ(ErrorNumberOf([&] {
              reg.SetRegistryValue(L"s", Variant(ByteArray{0, {1}}), 1);
            }),
            common::kErrTypeMismatch.number);
  EXPECT_EQ(recorder().Calls("RegSetValueExA"), 0u);
  EXPECT_FALSE(ReadValue("", "b"));
  // TearDown checks that every key opened for these writes was closed.
}

TEST_P(SetRegistryValueTest, FailsWhenTheKeyCannotBeOpenedOrCreated) {
  winreg fresh(recorder());
  EXPECT_FALSE(fresh.SetRegistryValue(L"v", Variant(1), 4));
  winreg bad_path = Addressing();
  bad_path.KeyRoot(L"");  // "\": refused by the platform, also for creation
  EXPECT_FALSE(bad_path.SetRegistryValue(L"v", Variant(1), 4));
}

TEST_P(SetRegistryValueTest, AProtectedKeyIsNotWritten) {
  if (!emulation()) GTEST_SKIP() << "protected keys are an emulation set-up";
  MakeKey("locked");
  emulation()->SetKeyReadOnly(kHkeyCurrentUser, Below("locked"), true);
  EXPECT_FALSE(Addressing(L"locked").SetRegistryValue(L"v", Variant(1), 4));
  EXPECT_FALSE(ReadValue("locked", "v"));
  emulation()->SetKeyReadOnly(kHkeyCurrentUser, Below("locked"), false);
}

// --- TrimNull ----------------------------------------------------------------------------------

TEST(TrimNull, CutsItsArgumentBeforeTheFirstNul) {
  RegistryEmulation emulation;
  const winreg reg(emulation);
  struct Case {
    std::wstring item;
    std::wstring result;
  };
  for (const Case& c :
       {Case{L"plain", L"plain"}, Case{std::wstring(L"\0abc", 4), L""}, Case{std::wstring(L"ab\0c\0", 5), L"ab"},
        Case{L"", L""}, Case{std::wstring(32766, L'a') + L'\0', std::wstring(32766, L'a')}}) {
    std::wstring item = c.item;
    EXPECT_EQ(reg.TrimNull(item), c.result);
    EXPECT_EQ(item, c.result);
  }
  std::wstring long_text = std::wstring(40000, L'a');  // no NUL: nothing to count, nothing overflows
  EXPECT_EQ(reg.TrimNull(long_text).size(), 40000u);
}

TEST(TrimNull, OverflowsWhenTheNulLiesBeyondPosition32767AndLeavesItsArgument) {
  RegistryEmulation emulation;
  const winreg reg(emulation);
  std::wstring at_limit = std::wstring(32766, L'a') + L'\0' + L"tail";  // NUL at position 32,767
  EXPECT_EQ(reg.TrimNull(at_limit).size(), 32766u);
  const std::wstring beyond = std::wstring(32767, L'a') + L'\0' + L"tail";  // position 32,768
  std::wstring item = beyond;
  EXPECT_EQ(ErrorNumberOf([&] { reg.TrimNull(item); }), common::kErrOverflow.number);
  EXPECT_EQ(item, beyond);
}

INSTANTIATE_TEST_SUITE_P(Backends, WinregTest, ::testing::ValuesIn(AllBackends()), BackendName);
INSTANTIATE_TEST_SUITE_P(Backends, GetRegistryValueTest, ::testing::ValuesIn(AllBackends()), BackendName);
INSTANTIATE_TEST_SUITE_P(Backends, SetRegistryValueTest, ::testing::ValuesIn(AllBackends()), BackendName);

}  // namespace
}  // namespace registry::testing
