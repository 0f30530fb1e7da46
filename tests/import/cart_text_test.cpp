// The cart line parser and the text clean-up helpers, by tables of cases.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "import/mod_main.h"
#include "tests/import/fake_platform.h"

namespace modMain::testing {
namespace {

using Fields = std::vector<std::wstring>;

// --- ParseCsvLine -------------------------------------------------------------------------------

struct ParseCase {
  const wchar_t* line;
  Fields fields;  // 1..n
};

class ParseCsvLineTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseCsvLineTest, FillsFieldsFromOne) {
  Fields array = {L""};
  ParseCsvLine(GetParam().line, array);
  ASSERT_FALSE(array.empty());
  EXPECT_EQ(array[0], L"");
  EXPECT_EQ(Fields(array.begin() + 1, array.end()), GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(Syntax, ParseCsvLineTest,
                         ::testing::Values(ParseCase{L"", {}}, ParseCase{L"1,2,3", {L"1", L"2", L"3"}},
                                           ParseCase{L"1,,3", {L"1", L"", L"3"}}, ParseCase{L",", {L"", L""}},
                                           ParseCase{L"1,", {L"1", L""}}, ParseCase{L"\"1,5\",A", {L"1,5", L"A"}},
                                           ParseCase{L"\"\"", {L""}}, ParseCase{L"\"say\"\"hi\"\"\"", {L"sayhi"}},
                                           ParseCase{L"1,\"2,3,4", {L"1", L"2,3,4"}},
                                           ParseCase{L"a\"b\"c,d", {L"abc", L"d"}}, ParseCase{L" x ,y", {L" x ", L"y"}},
                                           ParseCase{L"  ", {L"  "}}, ParseCase{L",,,,,,,,,,,,,", Fields(14)},
                                           ParseCase{L"a,b,\"c,d\",e,f,g,h,i,j,k,l,m,n,o",
                                                     {L"a", L"b", L"c,d", L"e", L"f", L"g", L"h", L"i", L"j", L"k",
                                                      L"l", L"m", L"n", L"o"}}));

TEST(ParseCsvLine, KeepsElementZeroOfANonEmptyLineAndResetsItForTheEmptyLine) {
  Fields array = {L"zero", L"stale", L"stale"};
  ParseCsvLine(L"a", array);
  EXPECT_EQ(array, (Fields{L"zero", L"a"}));
  ParseCsvLine(L"", array);
  EXPECT_EQ(array, Fields{L""});
}

TEST(ParseCsvLine, ParsesALineThatLivesInTheFieldArrayItself) {
  // Long enough that clearing or moving the element would show: the parser works on a copy.
  const std::wstring line = L"first field of some length," + std::wstring(100, L'y') + L",\"q,r\"";
  for (const std::size_t at : {std::size_t{0}, std::size_t{1}, std::size_t{2}}) {
    Fields array = {L"", L"", L""};
    array[at] = line;
    ParseCsvLine(array[at], array);
    EXPECT_EQ(array, (Fields{at == 0 ? line : L"", L"first field of some length", std::wstring(100, L'y'), L"q,r"}))
        << at;
  }
}

TEST(ParseCsvLine, Takes32766CharactersAndOverflowsFrom32767) {
  Fields array = {L""};
  std::wstring line(32766, L'x');
  line[100] = L',';
  ParseCsvLine(line, array);
  ASSERT_EQ(array.size(), 3u);
  EXPECT_EQ(array[2].size(), 32766u - 101u);
  EXPECT_EQ(ErrorNumberOf([&] { ParseCsvLine(std::wstring(32767, L'x'), array); }), 6);
  EXPECT_EQ(ErrorNumberOf([&] { ParseCsvLine(std::wstring(40000, L','), array); }), 6);
}

// --- NumericCharsOnly ---------------------------------------------------------------------------

struct FilterCase {
  const wchar_t* text;
  const wchar_t* extra;
  const wchar_t* result;
};

class NumericCharsOnlyTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(NumericCharsOnlyTest, KeepsDigitsAndExtrasOfTheTrimmedText) {
  EXPECT_EQ(NumericCharsOnly(GetParam().text, GetParam().extra), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Prices, NumericCharsOnlyTest,
    ::testing::Values(FilterCase{L"  $1,234.50 ", L".-()", L"1234.50"}, FilterCase{L"(12.50)", L".-()", L"(12.50)"},
                      FilterCase{L"12.50-", L".-()", L"12.50-"}, FilterCase{L"USD 12.50", L".-()", L"12.50"},
                      FilterCase{L"N/A", L".-()", L""}, FilterCase{L"1.234.56", L".-()", L"1.234.56"},
                      FilterCase{L"", L".-()", L""}, FilterCase{L"    ", L" ", L""}, FilterCase{L"a1b2", L"", L"12"},
                      FilterCase{L"\t12\t", L".-()", L"12"}, FilterCase{L"\t12\t", L"\t", L"\t12\t"},
                      FilterCase{L" 1 2 ", L" ", L"1 2"}, FilterCase{L"7.7.7", L"..", L"7.7.7"}));

TEST(NumericCharsOnly, Takes32766TrimmedCharactersAndOverflowsFrom32767) {
  const std::wstring digits(32766, L'5');
  EXPECT_EQ(NumericCharsOnly(L"  " + digits + L"  ", L".-()"), digits);
  EXPECT_EQ(ErrorNumberOf([] { NumericCharsOnly(std::wstring(32767, L'x'), L""); }), 6);
  EXPECT_EQ(ErrorNumberOf([] { NumericCharsOnly(std::wstring(50000, L'1'), L""); }), 6);
}

// --- ToNumber, TruncateAt, DropRight, QuoteText, ErrorText ---------------------------------------

TEST(ToNumber, ReadsNumbersUnderThePointLocaleAndGivesZeroForTheRest) {
  const std::vector<std::pair<std::wstring, double>> cases = {
      {L"12.50", 12.5},    {L"", 0},    {L"2 pcs", 0}, {L"   7", 7}, {L" 7 ", 7}, {L"-3", -3}, {L"1,234.5", 1234.5},
      {L"(12.50)", -12.5}, {L"N/A", 0}, {L"-", 0}};
  for (const auto& [text, number] : cases)
    EXPECT_EQ(ToNumber(text), number) << "text: " << ::testing::PrintToString(text);
}

TEST(TruncateAt, CutsBeforeTheFirstMarkerIgnoringCase) {
  const std::wstring blank = L"\r\n\r\n";
  const std::vector<std::pair<std::wstring, std::wstring>> cases = {
      {L"a\r\n\r\nb\r\n\r\nc", L"a"}, {L"\r\n\r\nabc", L""},  {L"abc\r\n\r\n", L"abc"},
      {L"abc\r\n", L"abc\r\n"},       {L"a\r\nb", L"a\r\nb"}, {L"", L""}};
  for (const auto& [text, result] : cases) EXPECT_EQ(TruncateAt(text, blank), result);
  EXPECT_EQ(TruncateAt(L"abXYcd", L"xy"), L"ab");
  EXPECT_EQ(TruncateAt(L"abc", L""), L"");
}

TEST(DropRight, RemovesUpToTheWholeTextAndNothingForNegativeCounts) {
  EXPECT_EQ(DropRight(L"D:\\Docs\\", 1), L"D:\\Docs");
  EXPECT_EQ(DropRight(L"ab", 5), L"");
  EXPECT_EQ(DropRight(L"ab", 0), L"ab");
  EXPECT_EQ(DropRight(L"ab", -3), L"ab");
  EXPECT_EQ(DropRight(L"", 1), L"");
}

TEST(QuoteTextAndErrorText, FormatExactly) {
  EXPECT_EQ(QuoteText(L"D:\\Docs\\ShoppingCart.csv"), L"'D:\\Docs\\ShoppingCart.csv'");
  EXPECT_EQ(QuoteText(L""), L"''");
  EXPECT_EQ(QuoteText(L"it's"), L"'it's'");
  EXPECT_EQ(ErrorText({}), L"Error (0) \r\n");
  EXPECT_EQ(ErrorText({32, L"In use."}), L"Error (32) In use.\r\n");
  EXPECT_EQ(ErrorText({-2147221021, L"x"}), L"Error (-2147221021) x\r\n");
}

}  // namespace
}  // namespace modMain::testing
