#include "common/variant.h"

#include <gtest/gtest.h>

#include "common/runtime_error.h"
#include "tests/support/error_number.h"

namespace common {
namespace {

using testing_support::ErrorNumberOf;

struct TextCase {
  Variant value;
  std::wstring text;
};

class ToTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(ToTextTest, ConvertsToTheOrdinaryTextForm) { EXPECT_EQ(ToText(GetParam().value), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(Table, ToTextTest,
                         ::testing::Values(TextCase{Variant(), L""}, TextCase{Variant(L"a b"), L"a b"},
                                           TextCase{Variant(42), L"42"}, TextCase{Variant(-7), L"-7"},
                                           TextCase{Variant(12.5), L"12.5"}, TextCase{Variant(0.1), L"0.1"},
                                           TextCase{Variant(1e20), L"1E+20"}, TextCase{Variant(3.0), L"3"},
                                           TextCase{Variant(true), L"True"}, TextCase{Variant(false), L"False"}));

struct Int32Case {
  Variant value;
  std::int32_t number;
};

class ToInt32Test : public ::testing::TestWithParam<Int32Case> {};

TEST_P(ToInt32Test, RoundsHalfToEven) { EXPECT_EQ(ToInt32(GetParam().value), GetParam().number); }

INSTANTIATE_TEST_SUITE_P(Table, ToInt32Test,
                         ::testing::Values(Int32Case{Variant(2.5), 2}, Int32Case{Variant(3.5), 4},
                                           Int32Case{Variant(-2.5), -2}, Int32Case{Variant(2.4999), 2},
                                           Int32Case{Variant(L"12"), 12}, Int32Case{Variant(L" 7.5 "), 8},
                                           Int32Case{Variant(true), -1}, Int32Case{Variant(), 0},
                                           Int32Case{Variant(2147483647.4), 2147483647},
                                           Int32Case{Variant(-2147483648.0), INT32_MIN}));

TEST(VariantConversion, RaisesOverflowAndTypeMismatchWithTheirNumbers) {
  EXPECT_EQ(ErrorNumberOf([] { ToInt32(Variant(2147483647.5)); }), 6);  // rounds to 2^31
  EXPECT_EQ(ErrorNumberOf([] { ToInt32(Variant(-2147483649.0)); }), 6);
  EXPECT_EQ(ErrorNumberOf([] { ToInt32(Variant(L"2 pcs")); }), 13);
  EXPECT_EQ(ErrorNumberOf([] { ToInt32(Variant::Omitted()); }), 13);
  EXPECT_EQ(ErrorNumberOf([] { ToText(Variant(ByteArray{0, {1}})); }), 13);
  EXPECT_EQ(ErrorNumberOf([] { ToText(Variant(VariantArray{})); }), 13);
  EXPECT_EQ(ErrorNumberOf([] { ToByteArray(Variant(L"\x01")); }), 13);
  EXPECT_EQ(ErrorNumberOf([] { ToInt32(Variant(1e10)); }), 6);  // Overflow
}

TEST(Variant, OmittedIsDistinctFromEveryValue) {
  const Variant omitted = Variant::Omitted();
  EXPECT_TRUE(omitted.IsOmitted());
  EXPECT_NE(omitted, Variant());
  EXPECT_NE(omitted, Variant(L""));
  EXPECT_NE(Variant(), Variant(L""));
  EXPECT_NE(Variant(0), Variant(0.0));
}

TEST(Variant, ByteArrayKeepsItsLowerBound) {
  const ByteArray bytes{1, {7, 8, 9}};
  EXPECT_EQ(ToByteArray(Variant(bytes)).lower_bound, 1);
  EXPECT_EQ(ToByteArray(Variant(bytes)), bytes);
}

}  // namespace
}  // namespace common
