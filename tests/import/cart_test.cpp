// The cart line parser and the text clean-up helpers, by tables of cases.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "import/cart.h"
#include "import/cart_encoding.h"
#include "import/cart_file.h"
#include "import/cart_line.h"
#include "import/text_helpers.h"
#include "tests/import/recording_double.h"

namespace modMain::testing {
namespace {

using Fields = std::vector<std::wstring>;

// --- ParseCsvLine -------------------------------------------------------------------------------

struct ParseCase {
  const wchar_t* line;
  Fields fields;  // 1..n
  wchar_t separator = L',';
};

class ParseCsvLineTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseCsvLineTest, FillsFieldsFromOne) {
  Fields array = {L""};
  ParseCsvLine(GetParam().line, array, GetParam().separator);
  ASSERT_FALSE(array.empty());
  EXPECT_EQ(array[0], L"");
  EXPECT_EQ(Fields(array.begin() + 1, array.end()), GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(
    Syntax, ParseCsvLineTest,
    ::testing::Values(ParseCase{L"", {}}, ParseCase{L"1,2,3", {L"1", L"2", L"3"}},
                      ParseCase{L"1,,3", {L"1", L"", L"3"}}, ParseCase{L",", {L"", L""}}, ParseCase{L"1,", {L"1", L""}},
                      ParseCase{L"\"1,5\",A", {L"1,5", L"A"}}, ParseCase{L"\"\"", {L""}},
                      ParseCase{L"\"say\"\"hi\"\"\"", {L"say\"hi\""}}, ParseCase{L"P\"\"N,\"a\"\"", {L"PN", L"a\""}},
                      ParseCase{L"1,\"2,3,4", {L"1", L"2,3,4"}}, ParseCase{L"a\"b\"c,d", {L"abc", L"d"}},
                      ParseCase{L" x ,y", {L" x ", L"y"}}, ParseCase{L"  ", {L"  "}},
                      ParseCase{L",,,,,,,,,,,,,", Fields(14)},
                      ParseCase{L"a,b,\"c,d\",e,f,g,h,i,j,k,l,m,n,o",
                                {L"a", L"b", L"c,d", L"e", L"f", L"g", L"h", L"i", L"j", L"k", L"l", L"m", L"n", L"o"}},
                      ParseCase{L"a;\"b;c\";d,e", {L"a", L"b;c", L"d,e"}, L';'}));

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

// --- The cart's bytes as text ------------------------------------------------------------------------

using namespace std::string_literals;  // "..."s keeps NUL bytes

struct DecodeCase {
  const char* name;
  std::string bytes;
  std::optional<std::wstring> text;  // nothing: no text
};

class DecodeCartTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeCartTest, GivesThisText) { EXPECT_EQ(DecodeCart(GetParam().bytes), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Encodings, DecodeCartTest,
    ::testing::Values(
        // The ANSI code page (1252), byte for byte, as ever.
        DecodeCase{"Ansi", "M\xFCller,\xBD\r\n", L"M\u00fcller,\u00bd\r\n"},
        // UTF-8: with or without its mark, which is dropped.
        DecodeCase{"Utf8", "M\xC3\xBCller,\xC2\xB5,\xE2\x82\xAC", L"M\u00fcller,\u00b5,\u20ac"},
        DecodeCase{"Utf8WithMark", "\xEF\xBB\xBFh,\xC3\x98", L"h,\u00d8"},
        DecodeCase{"MarkBeforeAscii", "\xEF\xBB\xBFh,i", L"h,i"}, DecodeCase{"MarkAlone", "\xEF\xBB\xBF", L""},
        DecodeCase{"BeyondTheBasicPlane", "\xF0\x9F\x93\xA6,\xF4\x8F\xBF\xBF", L"\xD83D\xDCE6,\xDBFF\xDFFF"},
        // Not UTF-8 after all: the ANSI code page, a mark included.
        DecodeCase{"Overlong", "\xC0\xAF,\xE0\x80\xAF", L"\u00c0\u00af,\u00e0\u20ac\u00af"},
        DecodeCase{"OverlongOfFour", "\xF0\x8F\xBF\xBF", L"\u00f0\u008f\u00bf\u00bf"},
        DecodeCase{"BadThirdByte", "\xE2\x82\x41", L"\u00e2\u201aA"},
        DecodeCase{"BadFourthByte", "\xF0\x9F\x93\x41", L"\u00f0\u0178\u201cA"},
        DecodeCase{"Surrogate", "\xED\xA0\x80", L"\u00ed\u00a0\u20ac"},
        DecodeCase{"AboveTheLastCharacter", "\xF4\x90\x80\x80", L"\u00f4\u0090\u20ac\u20ac"},
        DecodeCase{"CutSequence", "M\xC3\xBC,M\xC3", L"M\u00c3\u00bc,M\u00c3"},
        DecodeCase{"LoneContinuation", "\x80x", L"\u20acx"},
        DecodeCase{"MarkThenInvalid", "\xEF\xBB\xBF\xFC", L"\u00ef\u00bb\u00bf\u00fc"},
        // UTF-16 after its mark; an odd last byte is dropped.
        DecodeCase{"Utf16Le", "\xFF\xFEh\0\r\0\n\0\xFC\0,\0\x41\x01x"s, L"h\r\n\u00fc,\u0141"},
        DecodeCase{"Utf16Be", "\xFE\xFF\0h\0\r\0\n\x20\xAC\0,\xD8\x3D\xDC\xE6"s, L"h\r\n\u20ac,\xD83D\xDCE6"},
        DecodeCase{"Utf16MarkAlone", "\xFF\xFE", L""},
        // UTF-16 without its mark, told by the NULs of the first line; other NULs are no text.
        DecodeCase{"Utf16LeUnmarked", "h\0;\0\n\0\x41\x01"s, L"h;\n\u0141"},
        DecodeCase{"Utf16BeUnmarked", "\0h\0;\0\n\x01\x41"s, L"h;\n\u0141"},
        DecodeCase{"Utf16LeUnmarkedWithoutLf", "a\0b\0"s, L"ab"},
        DecodeCase{"NulsOnBothSides", "a\0\0b\n"s, std::nullopt},
        DecodeCase{"NulOnlyAfterTheFirstLine", "ab\n\0c"s, std::nullopt},
        DecodeCase{"NulInUtf8WithMark", "\xEF\xBB\xBF\0a\0"s, std::nullopt}),
    [](const ::testing::TestParamInfo<DecodeCase>& info) { return std::string(info.param.name); });

// --- The cart as the import reads it ----------------------------------------------------------------

// A line of 14 fields: part, the maker "Acme", "A-1", the description, six empty ones, price, cost,
// quantity, and two more, each separated by `sep`.
std::string Row(const std::string& part, const std::string& description, const std::string& price,
                const std::string& cost, const std::string& quantity, char sep = ',') {
  const std::string s(1, sep);
  return part + s + "Acme" + s + "A-1" + s + description + std::string(6, sep) + price + s + cost + s + quantity + s +
         "n" + s + "x";
}
std::string Header(char sep = ',') {
  std::string header = "Part";
  for (int i = 2; i <= 14; ++i) header += sep + std::to_string(i);
  return header;
}

struct Item {
  int line;
  std::wstring part, description;
  double price, cost, quantity;
  bool operator==(const Item&) const = default;
};
void PrintTo(const Item& item, std::ostream* out) {
  *out << "{line " << item.line << ", " << ::testing::PrintToString(item.part) << ", "
       << ::testing::PrintToString(item.description) << ", " << item.price << ", " << item.cost << ", " << item.quantity
       << "}";
}

struct CartCase {
  const char* name;
  std::string bytes;
  wchar_t separator;
  DecimalMark mark;
  std::vector<Item> items;
  std::vector<std::int16_t> malformed{};
  bool is_cart = true;
  std::wstring conflict{};  // "line 'value', line 'value'"
  std::vector<std::int16_t> nameless{};
};

class ParseCartTest : public ::testing::TestWithParam<CartCase> {};

TEST_P(ParseCartTest, GivesSeparatorMarkAndLines) {
  std::optional<std::wstring> text = DecodeCart(GetParam().bytes);
  ASSERT_TRUE(text.has_value());
  const Cart cart = ParseCart(*std::move(text));
  EXPECT_EQ(cart.separator, GetParam().separator);
  EXPECT_EQ(cart.is_cart, GetParam().is_cart);
  std::wstring conflict;
  if (cart.conflict) {
    const auto& [first, second] = *cart.conflict;
    conflict = std::to_wstring(first.line) + L"'" + first.value + L"', " + std::to_wstring(second.line) + L"'" +
               second.value + L"'";
  } else {
    EXPECT_EQ(cart.decimal_mark, GetParam().mark);
  }
  EXPECT_EQ(conflict, GetParam().conflict);
  std::vector<Item> items;
  for (const CartItem& item : cart.items) {
    EXPECT_EQ(item.manufacturer + L"|" + item.manufacturer_part, L"Acme|A-1") << item.line;
    items.push_back({item.line, item.vendor_part, item.description, item.price, item.cost, item.quantity});
  }
  EXPECT_EQ(items, GetParam().items);
  EXPECT_EQ(cart.malformed, GetParam().malformed);
  EXPECT_EQ(cart.nameless, GetParam().nameless);
}

std::string Lines(std::initializer_list<std::string> lines, const std::string& end = "\r\n") {
  std::string text;
  for (const auto& line : lines) text += line + end;
  return text;
}
std::string Utf16Le(const std::string& ascii) {
  std::string bytes = "\xFF\xFE";
  for (const char c : ascii) bytes += {c, '\0'};
  return bytes;
}
const std::string kP1 = Row("P1", "Bolt", "12.50", "10", "2");
const Item kItem1{1, L"P1", L"Bolt", 12.5, 10, 2};
constexpr auto kPoint = DecimalMark::kPoint;
constexpr auto kComma = DecimalMark::kComma;

INSTANTIATE_TEST_SUITE_P(
    Dialects, ParseCartTest,
    ::testing::Values(
        // As the shop writes it: ",", a decimal point, CR LF or LF.
        CartCase{"Shop",
                 Lines({Header(), Row("P1", "\"Cable, 2 m\"", "\"$1,234.50\"", "(3.25)", "2 pcs")}),
                 L',',
                 kPoint,
                 {{1, L"P1", L"Cable, 2 m", 1234.5, -3.25, 0}}},
        CartCase{"Lf", Lines({Header(), kP1, "", kP1}, "\n"), L',', kPoint, {kItem1}},
        CartCase{"LfWithALastCrLf",
                 Lines({Header(), kP1, kP1}, "\n") + kP1 + "\r\n",
                 L',',
                 kPoint,
                 {kItem1, {2, L"P1", L"Bolt", 12.5, 10, 2}, {3, L"P1", L"Bolt", 12.5, 10, 2}}},
        CartCase{"LfInAQuotedFieldOfACrLfCart",
                 Lines({Header(), Row("P1", "\"a\nb\"", "1", "1", "1")}),
                 L',',
                 kPoint,
                 {{1, L"P1", L"a\nb", 1, 1, 1}}},
        CartCase{"TwoLfsDoNotEndACrLfCart",
                 Lines({Header(), "a\n\nb", kP1, "", kP1}),
                 L',',
                 kPoint,
                 {{2, L"P1", L"Bolt", 12.5, 10, 2}},
                 {1}},
        // A spreadsheet's: ";" or TAB, named by "sep=" or told by the header, padded rows, empty rows.
        CartCase{"GermanSemicolons",
                 Lines({Header(';'), Row("P1", "\"Bolt; M8\"", "\"1.234,50 \xE2\x82\xAC\"", "(12,50)", "1,5", ';')}),
                 L';',
                 kComma,
                 {{1, L"P1", L"Bolt; M8", 1234.5, -12.5, 1.5}}},
        CartCase{"FrenchGroups",
                 Lines({Header(';'), Row("P1", "Bolt",
                                         "1\xE2\x80\xAF"
                                         "234,50\xC2\xA0\xE2\x82\xAC",
                                         "12,5-",
                                         "1\xC2\xA0"
                                         "000",
                                         ';')}),
                 L';',
                 kComma,
                 {{1, L"P1", L"Bolt", 1234.5, -12.5, 1000}}},
        CartCase{"UnicodeText",
                 Utf16Le(Lines({Header('\t'), Row("P1", "\"Bolt, M8\"", "12.5", "10", "2", '\t')})),
                 L'\t',
                 kPoint,
                 {{1, L"P1", L"Bolt, M8", 12.5, 10, 2}}},
        CartCase{"SepLineNamesTheSeparator",
                 Lines({"SEP=;", Header(), Row("P1", "a,b", "1", "1", "1", ';')}),
                 L';',
                 kComma,
                 {{1, L"P1", L"a,b", 1, 1, 1}}},
        CartCase{"SepLineOfAnotherCharacterIsDropped", Lines({"sep=|", Header(';'), kP1}), L';', kComma, {}, {1}},
        // The sep line's own line end does not decide the cart's; spaces after its separator do not count.
        CartCase{"SepLineBeforeAnLfCart",
                 "sep=; \r\n" + Lines({Header(';'), Row("P1", "B", "1", "1", "1", ';')}, "\n"),
                 L';',
                 kComma,
                 {{1, L"P1", L"B", 1, 1, 1}}},
        // A line break inside a cell is an LF there too.
        CartCase{"MacintoshCrLineEnds",
                 Lines({Header(), Row("P1", "\"a\nb\"", "12.50", "10", "2"), kP1}, "\r"),
                 L',',
                 kPoint,
                 {{1, L"P1", L"a\nb", 12.5, 10, 2}, {2, L"P1", L"Bolt", 12.5, 10, 2}}},
        CartCase{"PaddedRows",
                 Lines({Header() + ",,", kP1 + ",,,", kP1 + ", ", ",,,,,,,,,,,,,,,,", kP1}),
                 L',',
                 kPoint,
                 {kItem1, {4, L"P1", L"Bolt", 12.5, 10, 2}},
                 {2}},
        // Inside quotes two quotes are one; elsewhere a quote only flips, as ever.
        CartCase{"DoubledQuotes",
                 Lines({Header(), Row("P\"\"1", "\"Monitor 27\"\" 4K\"", "1", "1", "1")}),
                 L',',
                 kPoint,
                 {{1, L"P1", L"Monitor 27\" 4K", 1, 1, 1}}},
        // Without a header, the most data lines; a tie goes to ",", then ";".
        CartCase{"NoHeaderTieGoesToComma",
                 Lines({"x", kP1, Row("P2", "Bolt", "1", "1", "1", ';')}),
                 L',',
                 kPoint,
                 {kItem1},
                 {2}},
        CartCase{"NoHeaderTieGoesToSemicolon",
                 Lines({"x", Row("P1", "B", "1", "1", "1", ';'), Row("P2", "B", "1", "1", "1", '\t')}),
                 L';',
                 kComma,
                 {{1, L"P1", L"B", 1, 1, 1}},
                 {2}},
        // The decimal mark: undecided values read under the point; values of both ways conflict.
        CartCase{"AmbiguousValuesReadUnderThePoint",
                 Lines({Header(), Row("P1", "B", "\"1,234\"", "1.234", "3")}),
                 L',',
                 kPoint,
                 {{1, L"P1", L"B", 1234, 1.234, 3}}},
        CartCase{"RepeatedGroupMarkDecides",
                 Lines({Header(), Row("P1", "B", "\"1,234,567\"", "1.5", "3")}),
                 L',',
                 kPoint,
                 {{1, L"P1", L"B", 1234567, 1.5, 3}}},
        // Only the number decides and is read: a mark of "Fr." or "ca." is the text's, group marks go.
        CartCase{"SwissFrancs",
                 Lines({Header(), Row("P1", "Bolt", "Fr. 3'249.00", "SFr. 2'716.50", "1'000"),
                        Row("P2", "Nut", "Fr.3'249.00", "12.50 Fr.", "1 000")}),
                 L',',
                 kPoint,
                 {{1, L"P1", L"Bolt", 3249, 2716.5, 1000}, {2, L"P2", L"Nut", 3249, 12.5, 1000}}},
        CartCase{"MarksOutsideTheNumber",
                 Lines({Header(), Row("P1", "Bolt", "ca. 12.50", "Fr. 3'249.\xE2\x80\x93", "n.a.")}),
                 L',',
                 kPoint,
                 {{1, L"P1", L"Bolt", 12.5, 3249, 0}}},
        // Where no value decides, ";" reads with the comma; a single mark after a lone 0 decides.
        CartCase{"GermanNothingDecides",
                 Lines({Header(';'), Row("P1", "Bolt", "3.249 \xE2\x82\xAC", "189 \xE2\x82\xAC", "2,000", ';')}),
                 L';',
                 kComma,
                 {{1, L"P1", L"Bolt", 3249, 189, 2}}},
        CartCase{"GermanFractionsOfACent",
                 Lines({Header(';'), Row("P1", "Bolt", "0,325 \xE2\x82\xAC", ",125 \xE2\x82\xAC", "4", ';')}),
                 L';',
                 kComma,
                 {{1, L"P1", L"Bolt", 0.325, 0.125, 4}}},
        CartCase{"UsCentsAndThousands",
                 Lines({Header(), Row("P1", "Bolt", "$.50", "\"$1,234.50\"", "\"2,000\"")}),
                 L',',
                 kPoint,
                 {{1, L"P1", L"Bolt", 0.5, 1234.5, 2000}}},
        // A total row names no item: not imported, and its comma decides nothing.
        CartCase{"TotalRowNamesNoItem",
                 Lines({Header(), kP1, ",,,,,,,,,\"31.245,30 \xE2\x82\xAC\",,,,"}),
                 L',',
                 kPoint,
                 {kItem1},
                 {},
                 true,
                 {},
                 {2}},
        CartCase{"BothWays",
                 Lines({Header(';'), Row("P1", "B", "1.234,50 \xE2\x82\xAC", "1", "1", ';'),
                        Row("P2", "B", "1", "1,234.50", "1", ';')}),
                 L';',
                 kPoint,
                 {{1, L"P1", L"B", 1.2345, 1, 1}, {2, L"P2", L"B", 1, 1234.5, 1}},
                 {},
                 true,
                 L"1'1.234,50 \u20ac', 2'1,234.50'"},
        // What is no cart: a customer list; the empty file and a header alone are carts.
        CartCase{"CustomerList",
                 Lines({"Name,Street,Town,Phone,Mail", "A,B,C,D,E", "F,G,H,I,J", kP1}),
                 L',',
                 kPoint,
                 {{3, L"P1", L"Bolt", 12.5, 10, 2}},
                 {1, 2},
                 false},
        CartCase{"OneLineOfText", "hello", L',', kPoint, {}, {}, false},
        CartCase{"HalfTheLines", Lines({"x", kP1, "a,b"}), L',', kPoint, {kItem1}, {2}},
        CartCase{"Empty", "", L',', kPoint, {}}, CartCase{"HeaderAlone", Header(), L',', kPoint, {}}),
    [](const ::testing::TestParamInfo<CartCase>& info) { return std::string(info.param.name); });

// Beyond the dialect table's values: the number alone decides, not the text around it.
TEST(MarkShownBy, DecidesOnlyWhatTheNumberShows) {
  const std::vector<std::pair<std::wstring, std::optional<DecimalMark>>> cases = {
      {L"1.234.567", kComma}, {L"1,2345", kComma},     {L"$ 5", std::nullopt},  {L"Fr. 12", std::nullopt},
      {L",5", kComma},        {L"12.-", std::nullopt}, {L"USD 7.5 ea.", kPoint}};
  for (const auto& [value, mark] : cases) EXPECT_EQ(MarkShownBy(value), mark) << ::testing::PrintToString(value);
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

// --- ToNumber, TruncateAt, DropRight, ErrorText ---------------------------------------------------

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

TEST(ErrorText, FormatsExactly) {
  const Texts english(Language::kEnglish);
  EXPECT_EQ(ErrorText(english, {}), L"Error (0) \r\n");
  EXPECT_EQ(ErrorText(english, {32, L"In use."}), L"Error (32) In use.\r\n");
  EXPECT_EQ(ErrorText(english, {-2147221021, L"x"}), L"Error (-2147221021) x\r\n");
}

}  // namespace
}  // namespace modMain::testing
