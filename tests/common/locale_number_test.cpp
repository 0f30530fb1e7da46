// One table for both builds: the platform's conversion under Wine and the portable reading must
// give the same answers with the C locale's separators.
#include "common/locale_number.h"

#include <gtest/gtest.h>

#include <optional>

namespace common {
namespace {

struct NumberCase {
  const wchar_t* text;
  std::optional<double> number;
};

class TextToDoubleTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(TextToDoubleTest, ReadsLikeThePlatform) {
  const auto result = TextToDouble(GetParam().text);
  ASSERT_EQ(result.has_value(), GetParam().number.has_value());
  if (result) {
    EXPECT_DOUBLE_EQ(*result, *GetParam().number);
  }
}

constexpr std::nullopt_t kNo = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Table, TextToDoubleTest,
    ::testing::Values(
        NumberCase{L"12.50", 12.5}, NumberCase{L"(12.50)", -12.5}, NumberCase{L"12.50-", -12.5},
        NumberCase{L"1,234.5", 1234.5}, NumberCase{L"$5", 5}, NumberCase{L"2 pcs", kNo}, NumberCase{L"", kNo},
        NumberCase{L"-", kNo}, NumberCase{L" 7 ", 7}, NumberCase{L"\t7\t", 7}, NumberCase{L"+3", 3},
        NumberCase{L"3+", 3}, NumberCase{L"1e3", 1000}, NumberCase{L"1E-2", 0.01}, NumberCase{L"&H10", 16},
        NumberCase{L"&O17", 15}, NumberCase{L"&H80000000", -2147483648.0}, NumberCase{L"&HFFFFFFFF", kNo},
        NumberCase{L"0x10", kNo}, NumberCase{L"$-5", -5}, NumberCase{L"-$5", -5}, NumberCase{L"5$", 5},
        NumberCase{L"($5)", -5}, NumberCase{L"(5", kNo}, NumberCase{L"5)", kNo}, NumberCase{L"1,2,3", 123},
        NumberCase{L",5", kNo}, NumberCase{L"5,", 5}, NumberCase{L"1.2.3", kNo}, NumberCase{L".5", 0.5},
        NumberCase{L"5.", 5}, NumberCase{L".", kNo}, NumberCase{L"1 000", kNo}, NumberCase{L"12.50 -", -12.5},
        NumberCase{L"- 12", -12}, NumberCase{L"( 12 )", -12}, NumberCase{L"USD 12.50", kNo}, NumberCase{L"\u00a05", 5},
        NumberCase{L"1e", kNo}, NumberCase{L"e5", kNo}, NumberCase{L"NaN", kNo}, NumberCase{L"1e400", kNo},
        NumberCase{L"1e-400", 0}, NumberCase{L"00012", 12}, NumberCase{L"12,50", 1250}, NumberCase{L"\r\n5\r\n", 5},
        NumberCase{L"++5", kNo}, NumberCase{L"(-5)", -5}, NumberCase{L"-(5)", -5}, NumberCase{L"$ 5", 5},
        NumberCase{L"(1,234.50)", -1234.5}, NumberCase{L"True", kNo}, NumberCase{L"5%", kNo}, NumberCase{L"   ", kNo}));

TEST(TextToDouble, RefusesTextWithAnEmbeddedNul) { EXPECT_FALSE(TextToDouble(std::wstring(L"1\0abc", 5)).has_value()); }

}  // namespace
}  // namespace common
