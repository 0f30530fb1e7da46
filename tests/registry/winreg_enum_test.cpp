// Listing subkeys and values, on every backend. Backends list in different orders (Wine sorts
// names, Windows keeps values in the order they were set), so listings are compared as sets.
#include <map>
#include <optional>
#include <set>

#include "common/ansi.h"
#include "registry/key_handle.h"
#include "tests/registry/registry_fixture.h"

namespace registry::testing {
namespace {

using common::Collection;
using common::Variant;

std::set<std::wstring> Names(const Collection& c) {
  std::set<std::wstring> names;
  for (const Variant& item : c) names.insert(item.text());
  return names;
}

// name -> data, checking that every item is found under its own name.
std::map<std::wstring, Variant> Values(const Collection& c) {
  std::map<std::wstring, Variant> values;
  for (std::int32_t i = 1; i <= c.Count(); ++i) {
    const auto& pair = c.Item(i).items();
    EXPECT_EQ(pair.size(), 2u);
    EXPECT_EQ(c.Item(pair[0].text()), c.Item(i));
    values.emplace(pair[0].text(), pair[1]);
  }
  return values;
}

class EnumTest : public RegistryTest {
 protected:
  void SetUp() override {
    RegistryTest::SetUp();
    reg_.emplace(recorder());
  }
  std::optional<winreg> reg_;
};

TEST_P(EnumTest, ListsTheDirectSubkeysByName) {
  MakeKey("list\\Alpha\\deeper");
  MakeKey("list\\beta");
  MakeKey("list\\Gamma");
  const Collection keys = reg_->EnumRegistryKeys(kCurrentUser, ScratchText() + L"\\list");
  EXPECT_EQ(Names(keys), (std::set<std::wstring>{L"Alpha", L"beta", L"Gamma"}));  // one level deep
  EXPECT_EQ(keys.Item(L"ALPHA"), Variant(L"Alpha"));
  EXPECT_EQ(reg_->EnumRegistryKeys(kCurrentUser, ScratchText() + L"\\list\\beta").Count(), 0);
  EXPECT_EQ(reg_->EnumRegistryKeys(kCurrentUser, ScratchText() + L"\\missing").Count(), 0);
  EXPECT_EQ(recorder().Calls("RegCloseKey"), 2u);  // the two keys that opened
}

TEST_P(EnumTest, ASubkeyCreatedWithAClassDoesNotEndTheListing) {
  char widget[] = "Widget";
  for (const char* name : {"a", "b", "c"}) {
    ASSERT_EQ(CreateRaw(kHkeyCurrentUser, Below(std::string("classes\\") + name), 0, 0, *name == 'b' ? widget : nullptr)
                  .status,
              kErrorSuccess);
  }
  EXPECT_EQ(Names(reg_->EnumRegistryKeys(kCurrentUser, ScratchText() + L"\\classes")),
            (std::set<std::wstring>{L"a", L"b", L"c"}));
}

TEST_P(EnumTest, AnEmptyKeyNameListsTheGivenKeyItselfAndDoesNotCloseIt) {
  EXPECT_TRUE(reg_->EnumRegistryKeys(kCurrentUser, L"").Contains(L"software"));
  MakeKey("own\\child");
  const KeyResult own = OpenKey(raw(), kHkeyCurrentUser, Below("own").c_str(), kKeyRead);
  ASSERT_EQ(own.status, kErrorSuccess);
  EXPECT_EQ(Names(reg_->EnumRegistryKeys(static_cast<std::int32_t>(own.key.get()), L"")),
            std::set<std::wstring>{L"child"});
  EXPECT_EQ(recorder().Calls("RegCloseKey"), 0u);
  EXPECT_EQ(recorder().Calls("RegOpenKeyExA"), 0u);
}

TEST_P(EnumTest, ConvertsValueDataByType) {
  SetProcessVariable("KCI_ENUM", "Expanded");
  UnsetProcessVariable("KCI_ENUM_UNSET");
  PutValue("v", "sz", kRegSz, std::string("text\0", 5));
  PutValue("v", "sz unterminated", kRegSz, "abc");
  PutValue("v", "sz empty", kRegSz, "");
  PutValue("v", "sz inner nul", kRegSz, std::string("a\0b\0", 4));
  PutValue("v", "expand", kRegExpandSz, std::string("<%KCI_ENUM%>\0", 13));
  PutValue("v", "expand unset", kRegExpandSz, std::string("%KCI_ENUM_UNSET%\0", 17));
  PutValue("v", "expand plain", kRegExpandSz, std::string("plain\0", 6));
  PutValue("v", "expand empty", kRegExpandSz, "");
  PutValue("v", "binary", kRegBinary, "\x01\x0a\xff");
  PutValue("v", "binary empty", kRegBinary, "");
  PutValue("v", "dword", kRegDword, std::string("\x01\0\0\0", 4));
  PutValue("v", "dword all bits", kRegDword, "\xff\xff\xff\xff");
  PutValue("v", "dword short", kRegDword, "\x02");
  PutValue("v", "multi", kRegMultiSz, std::string("one\0two\0\0", 9));
  PutValue("v", "multi one byte", kRegMultiSz, std::string("\0", 1));
  PutValue("v", "multi empty", kRegMultiSz, "");
  PutValue("v", "qword", kRegQword, std::string(8, '\x01'));
  PutValue("v", "none", kRegNone, "x");
  PutValue("v", "link", 6, "x");
  PutValue("v", "unknown", 999, "x");
  PutValue("v", "", kRegSz, std::string("unnamed\0", 8));

  const std::map<std::wstring, Variant> expected = {
      {L"sz", Variant(L"text")},
      {L"sz unterminated", Variant(L"ab")},
      {L"sz empty", Variant(L"")},
      {L"sz inner nul", Variant(std::wstring(L"a\0b", 3))},
      {L"expand", Variant(L"<Expanded>")},
      {L"expand unset", Variant(L"%KCI_ENUM_UNSET%")},
      {L"expand plain", Variant(L"plain")},
      {L"expand empty", Variant(L"")},
      {L"binary", Variant(L"01 0A FF")},
      {L"binary empty", Variant(L"")},
      {L"dword", Variant(1)},
      {L"dword all bits", Variant(-1)},
      {L"dword short", Variant(2)},
      {L"multi", Variant(L"one,two")},
      {L"multi one byte", Variant(L"")},
      {L"multi empty", Variant(L"")},
      {L"qword", Variant()},
      {L"none", Variant()},
      {L"link", Variant()},
      {L"unknown", Variant()},
      {L"", Variant(L"unnamed")},
  };
  EXPECT_EQ(Values(reg_->EnumRegistryValues(kCurrentUser, ScratchText() + L"\\v")), expected);
  UnsetProcessVariable("KCI_ENUM");
}

TEST_P(EnumTest, TwoBinaryValuesInARowEachGiveOnlyTheirOwnBytes) {
  PutValue("bin", "a long", kRegBinary, "\x11\x22\x33\x44");
  PutValue("bin", "b short", kRegBinary, "\x55");
  const auto values = Values(reg_->EnumRegistryValues(kCurrentUser, ScratchText() + L"\\bin"));
  EXPECT_EQ(values.at(L"a long"), Variant(L"11 22 33 44"));
  EXPECT_EQ(values.at(L"b short"), Variant(L"55"));
}

TEST_P(EnumTest, DataOf4096BytesTakesOneRequestAndMoreTakesExactlyOneRepeat) {
  PutValue("big", "fits", kRegBinary, std::string(4096, '\x01'));
  recorder().Reset();
  EXPECT_EQ(Values(reg_->EnumRegistryValues(kCurrentUser, ScratchText() + L"\\big")).at(L"fits").text().size(),
            4096u * 3 - 1);
  EXPECT_EQ(recorder().Calls("RegEnumValueA"), 2u);  // the value, then the end

  PutValue("big", "fits", kRegBinary, std::string(4096, '\x01') + "\x02");
  recorder().Reset();
  const std::wstring hex = Values(reg_->EnumRegistryValues(kCurrentUser, ScratchText() + L"\\big")).at(L"fits").text();
  EXPECT_EQ(hex.size(), 4097u * 3 - 1);
  EXPECT_EQ(hex.substr(hex.size() - 5), L"01 02");
  EXPECT_EQ(recorder().Calls("RegEnumValueA"), 3u);
}

TEST_P(EnumTest, ANameOf260CharactersEndsTheListing) {
  PutValue("names", std::string(259, 'a'), kRegSz, std::string("ok\0", 3));
  PutValue("names", std::string(260, 'b'), kRegSz, std::string("too long\0", 9));
  PutValue("names", "c after", kRegSz, std::string("unseen\0", 7));
  const auto values = Values(reg_->EnumRegistryValues(kCurrentUser, ScratchText() + L"\\names"));
  // Set in this order and sorted in this order too: every backend lists the long name second.
  EXPECT_EQ(values.size(), 1u);
  EXPECT_EQ(values.at(std::wstring(259, L'a')), Variant(L"ok"));
}

TEST_P(EnumTest, BinaryDataOver32767BytesOverflowsWithNothingLeftOpen) {
  PutValue("huge", "at limit", kRegBinary, std::string(32767, '\x07'));
  EXPECT_EQ(Values(reg_->EnumRegistryValues(kCurrentUser, ScratchText() + L"\\huge")).at(L"at limit").text().size(),
            32767u * 3 - 1);
  PutValue("huge", "over", kRegBinary, std::string(32768, '\x07'));
  EXPECT_EQ(ErrorNumberOf([&] { reg_->EnumRegistryValues(kCurrentUser, ScratchText() + L"\\huge"); }),
            common::kErrOverflow.number);
  // TearDown checks that the listed key was closed although the error passed through.
}

// The platform writes at most 32,766 characters of an expansion, yet counts the whole of it: a
// longer expansion cannot be delivered whole and raises Overflow rather than come back cut. A
// backend that counts more than it wrote does the same for a short text.
class ShortExpansion : public RecordingRegistry {
 public:
  using RecordingRegistry::RecordingRegistry;
  DWORD ExpandEnvironmentStringsA(const char* source, char* out, DWORD size) override {
    const DWORD count = RecordingRegistry::ExpandEnvironmentStringsA(source, out, size);
    return out ? count + 1 : count;
  }
};

TEST_P(EnumTest, AnExpansionThatCannotBeDeliveredWholeOverflows) {
  SetProcessVariable("KCI_LONG", std::string(32766, 'x'));
  PutValue("exp", "at limit", kRegExpandSz, std::string("%KCI_LONG%\0", 11));
  PutValue("beyond", "beyond", kRegExpandSz, std::string("%KCI_LONG%y\0", 12));
  PutValue("short", "short", kRegExpandSz, std::string("%KCI_LONG%\0", 11));
  EXPECT_EQ(Values(reg_->EnumRegistryValues(kCurrentUser, ScratchText() + L"\\exp")).at(L"at limit"),
            Variant(std::wstring(32766, L'x')));
  EXPECT_EQ(Addressing(L"exp").GetRegistryValue(L"at limit"), Variant(std::wstring(32766, L'x')));
  EXPECT_EQ(ErrorNumberOf([&] { reg_->EnumRegistryValues(kCurrentUser, ScratchText() + L"\\beyond"); }),
            common::kErrOverflow.number);
  EXPECT_EQ(ErrorNumberOf([&] { Addressing(L"beyond").GetRegistryValue(L"beyond"); }), common::kErrOverflow.number);
  SetProcessVariable("KCI_LONG", "abc");
  ShortExpansion bent(raw());
  winreg reg(bent);
  reg.hkey(kCurrentUser);
  reg.KeyRoot(ScratchText());
  reg.Subkey(L"short");
  EXPECT_EQ(ErrorNumberOf([&] { reg.EnumRegistryValues(kCurrentUser, ScratchText() + L"\\short"); }),
            common::kErrOverflow.number);
  EXPECT_EQ(ErrorNumberOf([&] { reg.GetRegistryValue(L"short"); }), common::kErrOverflow.number);
  EXPECT_EQ(bent.OpenHandles(), 0u);
  UnsetProcessVariable("KCI_LONG");
}

// A backend that lists its first entry twice: the collection refuses the second, and the error
// passes to the caller with the key closed.
class Stutter : public RecordingRegistry {
 public:
  using RecordingRegistry::RecordingRegistry;
  RegStatus RegEnumKeyExA(RegKey h, DWORD i, char* n, DWORD* nn, DWORD* r, char* c, DWORD* cc, FileTime* t) override {
    return RecordingRegistry::RegEnumKeyExA(h, i == 1 ? 0 : i, n, nn, r, c, cc, t);
  }
  RegStatus RegEnumValueA(RegKey h, DWORD i, char* n, DWORD* nn, DWORD* r, DWORD* t, std::uint8_t* d,
                          DWORD* dd) override {
    return RecordingRegistry::RegEnumValueA(h, i == 1 ? 0 : i, n, nn, r, t, d, dd);
  }
};

TEST_P(EnumTest, ANameListedTwiceRaisesTheCollectionsErrorAndClosesTheKey) {
  MakeKey("twice\\a");
  MakeKey("twice\\b");
  PutValue("twice", "x", kRegSz, std::string("1\0", 2));
  PutValue("twice", "y", kRegSz, std::string("2\0", 2));
  Stutter stutter(raw());
  const winreg reg(stutter);
  EXPECT_EQ(ErrorNumberOf([&] { reg.EnumRegistryKeys(kCurrentUser, ScratchText() + L"\\twice"); }),
            common::kErrKeyAlreadyPresent.number);
  EXPECT_EQ(ErrorNumberOf([&] { reg.EnumRegistryValues(kCurrentUser, ScratchText() + L"\\twice"); }),
            common::kErrKeyAlreadyPresent.number);
  EXPECT_EQ(stutter.OpenHandles(), 0u);
  EXPECT_EQ(stutter.Calls("RegCloseKey"), 2u);
}

INSTANTIATE_TEST_SUITE_P(Backends, EnumTest, ::testing::ValuesIn(AllBackends()), BackendName);

}  // namespace
}  // namespace registry::testing
