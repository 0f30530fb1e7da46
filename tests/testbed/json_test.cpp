// The JSON that the journal, the items file and the transcript are made of: automation values
// with their types, and the UTF-8 of the testbed's text.
#include <gtest/gtest.h>

#include <comutil.h>
#include <windows.h>

#include "testbed/common/json.h"
#include "testbed/common/utf8.h"
#include "testbed/common/variant_json.h"

namespace testbed::testing {
namespace {

// The conversions the testbed and its tests share, both ways.
struct Utf8Case {
  std::wstring text;
  std::string utf8;
};

class Utf8Test : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Test, ConvertsBothWays) {
  EXPECT_EQ(Utf8(GetParam().text), GetParam().utf8);
  EXPECT_EQ(FromUtf8(GetParam().utf8), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Table, Utf8Test,
                         ::testing::Values(Utf8Case{L"", ""},
                                           Utf8Case{std::wstring(L"a\0b", 3), std::string("a\0b", 3)},
                                           Utf8Case{L"\u00e9\u20ac", "\xc3\xa9\xe2\x82\xac"},
                                           Utf8Case{L"\U0001D11E", "\xf0\x9d\x84\x9e"}));

// What one side cannot carry becomes U+FFFD: a lone surrogate, a byte that starts no UTF-8 sequence.
TEST(Utf8, ReplacesWhatTheOtherSideCannotCarry) {
  EXPECT_EQ(Utf8(L"\xd834x"), "\xef\xbf\xbdx");
  EXPECT_EQ(FromUtf8("\xff"
                     "x"),
            L"\xfffdx");
}

struct TypedCase {
  const char* label;
  _variant_t value;
  std::string json;
};

class TypedValueTest : public ::testing::TestWithParam<TypedCase> {};

TEST_P(TypedValueTest, NamesTheTypeAndReadsReferencesThrough) {
  EXPECT_EQ(JsonLine(TypedValueJson(GetParam().value)), GetParam().json);
}

_variant_t Make(VARTYPE vt, void (*fill)(VARIANT&)) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = vt;
  fill(v);
  _variant_t owner;
  owner.Attach(v);
  return owner;
}

_bstr_t shared_owner(L"by \"ref\"");
BSTR shared_text = shared_owner;  // what a by-reference argument points at
VARIANT shared_variant = [] {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_I2;
  V_I2(&v) = -7;
  return v;
}();

std::string Name(const ::testing::TestParamInfo<TypedCase>& info) { return info.param.label; }

INSTANTIATE_TEST_SUITE_P(
    Table, TypedValueTest,
    ::testing::Values(
        TypedCase{"Text", _variant_t(L"Y"), R"({"vt":"BSTR","value":"Y"})"},
        TypedCase{"Double", _variant_t(12.5), R"({"vt":"R8","value":12.5})"},
        TypedCase{"Bool", _variant_t(true), R"({"vt":"BOOL","value":true})"},
        TypedCase{"Empty", _variant_t(), R"({"vt":"EMPTY","value":null})"},
        TypedCase{"NullText", Make(VT_BSTR, [](VARIANT& v) { V_BSTR(&v) = nullptr; }), R"({"vt":"BSTR","value":""})"},
        TypedCase{"Omitted", Make(VT_ERROR, [](VARIANT& v) { V_ERROR(&v) = DISP_E_PARAMNOTFOUND; }),
                  R"({"vt":"ERROR","value":-2147352572})"},
        TypedCase{"TextRef", Make(VT_BSTR | VT_BYREF, [](VARIANT& v) { V_BSTRREF(&v) = &shared_text; }),
                  R"({"vt":"BSTR|BYREF","value":"by \"ref\""})"},
        TypedCase{"VariantRef", Make(VT_VARIANT | VT_BYREF, [](VARIANT& v) { V_VARIANTREF(&v) = &shared_variant; }),
                  R"({"vt":"VARIANT|BYREF","value":{"vt":"I2","value":-7}})"},
        TypedCase{"Date", Make(VT_DATE, [](VARIANT& v) { V_DATE(&v) = 45000.5; }),
                  R"({"vt":"DATE","value":"03/15/2023 12:00:00"})"},
        TypedCase{"Object", Make(VT_DISPATCH, [](VARIANT& v) { V_DISPATCH(&v) = nullptr; }),
                  R"({"vt":"DISPATCH","value":null})"}),
    Name);

}  // namespace
}  // namespace testbed::testing
