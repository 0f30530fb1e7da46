// The JSON that the journal, the items file and the transcript are made of.
#include <gtest/gtest.h>

#include <comutil.h>
#include <windows.h>

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>

#include "testbed/common/json.h"
#include "testbed/common/utf8.h"
#include "testbed/common/variant_json.h"

namespace testbed::testing {
namespace {

struct TextCase {
  std::wstring text;
  std::string json;
};

class JsonStringTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(JsonStringTest, EscapesWhatJsonForbidsAndEncodesTheRestAsUtf8) {
  EXPECT_EQ(json::String(GetParam().text), GetParam().json);
}

INSTANTIATE_TEST_SUITE_P(Table, JsonStringTest,
                         ::testing::Values(TextCase{L"", "\"\""}, TextCase{L"plain text", "\"plain text\""},
                                           TextCase{L"say \"hi\"", R"("say \"hi\"")"},
                                           TextCase{L"C:\\Docs\\", R"("C:\\Docs\\")"},
                                           TextCase{L"a\r\nb\tc", R"("a\r\nb\tc")"}, TextCase{L"\b\f", R"("\b\f")"},
                                           TextCase{std::wstring(L"nul\0x", 5), R"("nul\u0000x")"},
                                           TextCase{L"\x1f\x7f", "\"\\u001f\x7f\""},
                                           TextCase{L"\u00e9", "\"\xc3\xa9\""}, TextCase{L"\u20ac", "\"\xe2\x82\xac\""},
                                           TextCase{L"\U0001D11E", "\"\xf0\x9d\x84\x9e\""},
                                           // A surrogate without its partner cannot be UTF-8: it stays a \u escape.
                                           TextCase{L"\xd834x", R"("\ud834x")"}, TextCase{L"x\xdd1e", R"("x\udd1e")"}));

TEST(JsonNumber, WritesTheShortestTextThatReadsBack) {
  struct Case {
    double value;
    const char* json;
  };
  for (auto [value, text] : {Case{12.5, "12.5"}, Case{-0.25, "-0.25"}, Case{3, "3"}, Case{0.1, "0.1"},
                             Case{1e20, "1e+20"}, Case{1234.5678, "1234.5678"}, Case{std::nan(""), "\"NaN\""},
                             Case{std::numeric_limits<double>::infinity(), "\"Infinity\""},
                             Case{-std::numeric_limits<double>::infinity(), "\"-Infinity\""}}) {
    EXPECT_EQ(json::Number(value), text) << value;
  }
}

// Whatever the writer writes, a standard reader reads back: the same text, the same numbers, the
// keys in the order they were added.
TEST(JsonWriter, AStandardReaderReadsBackWhatItWrote) {
  const std::wstring text = L"C:\\Docs\\\"cart\".csv\r\n\t\u00e9\u20ac\U0001D11E\x01";
  EXPECT_EQ(nlohmann::json::parse(json::String(text)).get<std::string>(),
            "C:\\Docs\\\"cart\".csv\r\n\t\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E\x01");
  for (double number : {0.0, -0.25, 12.5, 0.1, 1e20, 999.99, -2147220991.0, 5e-324, 1.7976931348623157e308}) {
    EXPECT_EQ(nlohmann::json::parse(json::Number(number)).get<double>(), number) << number;
  }
  const std::string object =
      json::Object().Add("b", json::Number(1.5)).Add("a", json::Array({json::Bool(true), json::kNull})).str();
  EXPECT_EQ(nlohmann::ordered_json::parse(object).dump(), R"({"b":1.5,"a":[true,null]})");
}

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
  EXPECT_EQ(TypedValueJson(GetParam().value), GetParam().json);
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
    ::testing::Values(TypedCase{"Text", _variant_t(L"Y"), R"({"vt": "BSTR", "value": "Y"})"},
                      TypedCase{"Double", _variant_t(12.5), R"({"vt": "R8", "value": 12.5})"},
                      TypedCase{"Bool", _variant_t(true), R"({"vt": "BOOL", "value": true})"},
                      TypedCase{"Empty", _variant_t(), R"({"vt": "EMPTY", "value": null})"},
                      TypedCase{"NullText", Make(VT_BSTR, [](VARIANT& v) { V_BSTR(&v) = nullptr; }),
                                R"({"vt": "BSTR", "value": ""})"},
                      TypedCase{"Omitted", Make(VT_ERROR, [](VARIANT& v) { V_ERROR(&v) = DISP_E_PARAMNOTFOUND; }),
                                R"({"vt": "ERROR", "value": -2147352572})"},
                      TypedCase{"TextRef", Make(VT_BSTR | VT_BYREF, [](VARIANT& v) { V_BSTRREF(&v) = &shared_text; }),
                                R"({"vt": "BSTR|BYREF", "value": "by \"ref\""})"},
                      TypedCase{"VariantRef",
                                Make(VT_VARIANT | VT_BYREF, [](VARIANT& v) { V_VARIANTREF(&v) = &shared_variant; }),
                                R"({"vt": "VARIANT|BYREF", "value": {"vt": "I2", "value": -7}})"},
                      TypedCase{"Date", Make(VT_DATE, [](VARIANT& v) { V_DATE(&v) = 45000.5; }),
                                R"({"vt": "DATE", "value": "03/15/2023 12:00:00"})"},
                      TypedCase{"Object", Make(VT_DISPATCH, [](VARIANT& v) { V_DISPATCH(&v) = nullptr; }),
                                R"({"vt": "DISPATCH", "value": null})"}),
    Name);

}  // namespace
}  // namespace testbed::testing
