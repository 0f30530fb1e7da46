// The cart line parser and the text clean-up helpers, by tables of cases.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "import/cart_file.h"
#include "import/cart_text.h"
#include "tests/import/recording_double.h"

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

// --- The cart's text: encoding and lines ---------------------------------------------------------

using namespace std::string_literals;  // "..."s keeps NUL bytes

struct CartBytesCase {
  const char* name;
  std::string bytes;
  std::vector<Fields> lines;  // the fields of each line in turn; an empty line has none
};

class CartBytesTest : public ::testing::TestWithParam<CartBytesCase> {};

TEST_P(CartBytesTest, GiveTheseLinesAndFields) {
  std::vector<Fields> lines;
  for (const std::wstring& line : CartLines(DecodeCart(GetParam().bytes))) {
    Fields array = {L""};
    ParseCsvLine(line, array);
    lines.emplace_back(array.begin() + 1, array.end());
  }
  EXPECT_EQ(lines, GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, CartBytesTest,
    ::testing::Values(
        // The ANSI code page (1252), byte for byte, as ever.
        CartBytesCase{"Ansi", "h\r\nM\xFCller,\xBD\r\n", {{L"h"}, {L"M\u00fcller", L"\u00bd"}, {}}},
        CartBytesCase{"NulBytes", "a\0b,c"s, {{L"a\0b"s, L"c"}}},
        // UTF-8: with or without its mark, which is dropped.
        CartBytesCase{
            "Utf8", "h\r\nM\xC3\xBCller,\xC2\xB5,\xE2\x82\xAC", {{L"h"}, {L"M\u00fcller", L"\u00b5", L"\u20ac"}}},
        CartBytesCase{"Utf8WithMark", "\xEF\xBB\xBFh,\xC3\x98\r\nx", {{L"h", L"\u00d8"}, {L"x"}}},
        CartBytesCase{"MarkBeforeAscii", "\xEF\xBB\xBFh,i", {{L"h", L"i"}}},
        CartBytesCase{"MarkAlone", "\xEF\xBB\xBF", {}},
        CartBytesCase{"BeyondTheBasicPlane", "\xF0\x9F\x93\xA6,\xF4\x8F\xBF\xBF", {{L"\xD83D\xDCE6", L"\xDBFF\xDFFF"}}},
        // Not UTF-8 after all: the ANSI code page, a mark included.
        CartBytesCase{"Overlong", "\xC0\xAF,\xE0\x80\xAF", {{L"\u00c0\u00af", L"\u00e0\u20ac\u00af"}}},
        CartBytesCase{"Surrogate", "\xED\xA0\x80", {{L"\u00ed\u00a0\u20ac"}}},
        CartBytesCase{"AboveTheLastCharacter", "\xF4\x90\x80\x80", {{L"\u00f4\u0090\u20ac\u20ac"}}},
        CartBytesCase{"CutSequence", "M\xC3\xBC,M\xC3", {{L"M\u00c3\u00bc", L"M\u00c3"}}},
        CartBytesCase{"LoneContinuation", "\x80x", {{L"\u20acx"}}},
        CartBytesCase{"MarkThenInvalid", "\xEF\xBB\xBF\xFC", {{L"\u00ef\u00bb\u00bf\u00fc"}}},
        // UTF-16 after its mark; an odd last byte is dropped.
        CartBytesCase{"Utf16Le", "\xFF\xFEh\0\r\0\n\0\xFC\0,\0\x41\x01x"s, {{L"h"}, {L"\u00fc", L"\u0141"}}},
        CartBytesCase{
            "Utf16Be", "\xFE\xFF\0h\0\r\0\n\x20\xAC\0,\xD8\x3D\xDC\xE6"s, {{L"h"}, {L"\u20ac", L"\xD83D\xDCE6"}}},
        CartBytesCase{"Utf16LfOnly", "\xFF\xFEh\0\n\0x\0\n\0\n\0y\0"s, {{L"h"}, {L"x"}}},
        CartBytesCase{"Utf16MarkAlone", "\xFF\xFE", {}},
        // Line ends: LF alone in a text without any CR LF; CR LF exactly as ever otherwise.
        CartBytesCase{"LfLines", "h\nA,B\nC\n\nD", {{L"h"}, {L"A", L"B"}, {L"C"}}},
        CartBytesCase{"LfAfterUtf8Mark", "\xEF\xBB\xBFh\nx\n", {{L"h"}, {L"x"}, {}}},
        CartBytesCase{"LfInAQuotedFieldOfACrLfCart", "h\r\n\"a\nb\",c\r\n", {{L"h"}, {L"a\nb", L"c"}, {}}},
        CartBytesCase{"TwoLfsDoNotEndACrLfCart", "h\r\na\n\nb\r\nc\r\n\r\nd", {{L"h"}, {L"a\n\nb"}, {L"c"}}},
        CartBytesCase{"LoneCrStays", "h\ra\nb", {{L"h\ra"}, {L"b"}}}),
    [](const ::testing::TestParamInfo<CartBytesCase>& info) { return std::string(info.param.name); });

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
