// One table for both builds: the platform's conversion under Wine and the portable reading must
// give the same answers, the United States ones, whatever the user's regional settings. Natively
// the table runs under the C library's C, German and French locales; under Wine tools/test.sh runs
// it once per regional setting (German, French, United States with "," and "." swapped by hand),
// since a running process keeps the one it started with.
#include "common/locale_number.h"

#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <optional>
#include <string>

#ifdef _WIN32
#include "tests/support/user_conventions_windows.h"
#endif

namespace common {
namespace {

#ifdef _WIN32
[[maybe_unused]] ::testing::Environment* const conventions =
    ::testing::AddGlobalTestEnvironment(new testing_support::ExpectedUserConventions);
constexpr std::array<const char*, 1> kLocales = {nullptr};  // the process's own
#else
// Made by tools/test.sh with localedef when the system lacks them.
constexpr std::array<const char*, 3> kLocales = {"C", "de_DE.UTF-8", "fr_FR.UTF-8"};
#endif

struct NumberCase {
  const wchar_t* text;
  std::optional<double> number;
};

void PrintTo(const NumberCase& c, std::ostream* out) { *out << ::testing::PrintToString(std::wstring(c.text)); }

class TextToDoubleTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(TextToDoubleTest, ReadsLikeThePlatformUnderEveryLocale) {
  for (const char* locale : kLocales) {
    if (locale != nullptr) {
      ASSERT_NE(std::setlocale(LC_ALL, locale), nullptr) << locale << " is missing: run tools/test.sh once";
    }
    const std::string under = locale != nullptr ? locale : "the user's locale";
    const auto result = TextToDouble(GetParam().text);
    ASSERT_EQ(result.has_value(), GetParam().number.has_value()) << "under " << under;
    if (result) {
      EXPECT_DOUBLE_EQ(*result, *GetParam().number) << "under " << under;
    }
  }
  if (kLocales.front() != nullptr) std::setlocale(LC_ALL, "C");
}

constexpr std::nullopt_t kNo = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Table, TextToDoubleTest,
    ::testing::Values(
        NumberCase{L"1,000", 1000}, NumberCase{L"1.234,5", 1.2345}, NumberCase{L"12.50", 12.5},
        NumberCase{L"(12.50)", -12.5}, NumberCase{L"12.50-", -12.5}, NumberCase{L"1,234.5", 1234.5},
        NumberCase{L"$5", 5}, NumberCase{L"2 pcs", kNo}, NumberCase{L"", kNo}, NumberCase{L"-", kNo},
        NumberCase{L" 7 ", 7}, NumberCase{L"\t7\t", 7}, NumberCase{L"+3", 3}, NumberCase{L"3+", 3},
        NumberCase{L"1e3", 1000}, NumberCase{L"1E-2", 0.01}, NumberCase{L"&H10", 16}, NumberCase{L"&O17", 15},
        NumberCase{L"&H80000000", -2147483648.0}, NumberCase{L"&HFFFFFFFF", kNo}, NumberCase{L"0x10", kNo},
        NumberCase{L"$-5", -5}, NumberCase{L"-$5", -5}, NumberCase{L"5$", 5}, NumberCase{L"($5)", -5},
        NumberCase{L"(5", kNo}, NumberCase{L"5)", kNo}, NumberCase{L"1,2,3", 123}, NumberCase{L",5", kNo},
        NumberCase{L"5,", 5}, NumberCase{L"1.2.3", kNo}, NumberCase{L".5", 0.5}, NumberCase{L"5.", 5},
        NumberCase{L".", kNo}, NumberCase{L"1 000", kNo}, NumberCase{L"12.50 -", -12.5}, NumberCase{L"- 12", -12},
        NumberCase{L"( 12 )", -12}, NumberCase{L"USD 12.50", kNo}, NumberCase{L"\u00a05", 5}, NumberCase{L"1e", kNo},
        NumberCase{L"e5", kNo}, NumberCase{L"NaN", kNo}, NumberCase{L"1e400", kNo}, NumberCase{L"1e-400", 0},
        NumberCase{L"00012", 12}, NumberCase{L"12,50", 1250}, NumberCase{L"\r\n5\r\n", 5}, NumberCase{L"++5", kNo},
        NumberCase{L"(-5)", -5}, NumberCase{L"-(5)", -5}, NumberCase{L"$ 5", 5}, NumberCase{L"(1,234.50)", -1234.5},
        NumberCase{L"True", kNo}, NumberCase{L"5%", kNo}, NumberCase{L"   ", kNo}));

TEST(TextToDouble, RefusesTextWithAnEmbeddedNul) { EXPECT_FALSE(TextToDouble(std::wstring(L"1\0abc", 5)).has_value()); }

}  // namespace
}  // namespace common
