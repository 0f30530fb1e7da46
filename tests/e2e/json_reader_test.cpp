// The reader must take back exactly what the bench writes (escapes, UTF-8, surrogate pairs,
// nested objects) and refuse what is not JSON, so that a garbled line never passes as a record.
#include "tests/e2e/json_reader.h"

#include <gtest/gtest.h>

#include "bench/common/json.h"

namespace e2e::json {
namespace {

struct TextCase {
  std::string json;
  std::string text;  // the string value it holds, as UTF-8
};

class ReadsStrings : public ::testing::TestWithParam<TextCase> {};

TEST_P(ReadsStrings, AsTheWriterMeantThem) {
  std::optional<Value> value = Parse(GetParam().json);
  ASSERT_TRUE(value.has_value()) << GetParam().json;
  ASSERT_TRUE(value->is(Value::Type::kString));
  EXPECT_EQ(value->string(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Escapes, ReadsStrings,
    ::testing::Values(TextCase{R"("")", ""}, TextCase{R"("a\"b\\c\/d")", "a\"b\\c/d"},
                      TextCase{R"("\r\n\t\b\f")", "\r\n\t\b\f"}, TextCase{R"("\u0000x")", std::string("\0x", 2)},
                      TextCase{R"("\u00fc\u20AC")", "\xC3\xBC\xE2\x82\xAC"},
                      TextCase{R"("\ud834\udd1e")", "\xF0\x9D\x84\x9E"},  // a surrogate pair is one character
                      TextCase{R"("\ud834x")", "\xED\xA0\xB4x"},          // a lone one is kept, not dropped
                      TextCase{"\"B\xC3\xBCro\"", "B\xC3\xBCro"}));

// Whatever the bench's writer produces reads back to the same text.
TEST(JsonReader, ReadsBackWhatTheWriterWrote) {
  const std::wstring text = L"C:\\Docs\\\"cart\".csv\r\n\t\u00e9\u20ac\U0001D11E\x01";
  std::optional<Value> value = Parse(bench::json::String(text));
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(value->string(), "C:\\Docs\\\"cart\".csv\r\n\t\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E\x01");
  for (double number : {0.0, -0.25, 12.5, 1e20, 999.99, -2147220991.0}) {
    std::optional<Value> read = Parse(bench::json::Number(number));
    ASSERT_TRUE(read.has_value()) << number;
    EXPECT_EQ(read->number(), number);
  }
}

TEST(JsonReader, KeepsMembersInOrderAndFindsThem) {
  std::optional<Value> value =
      Parse(R"( {"object": "ItemFunctions", "args": [{"vt": "R8", "value": -1.5e2}, true, null], "n": {"x": false}} )");
  ASSERT_TRUE(value.has_value());
  ASSERT_EQ(value->members().size(), 3u);
  EXPECT_EQ(value->members()[1].first, "args");
  EXPECT_EQ(value->Text("object"), "ItemFunctions");
  EXPECT_EQ(value->Text("args"), "");  // not a string
  EXPECT_EQ(value->Text("missing"), "");
  const Value* args = value->Find("args");
  ASSERT_NE(args, nullptr);
  ASSERT_EQ(args->items().size(), 3u);
  EXPECT_EQ(args->items()[0].Find("value")->number(), -150);
  EXPECT_TRUE(args->items()[1].boolean());
  EXPECT_TRUE(args->items()[2].is(Value::Type::kNull));
  EXPECT_FALSE(value->Find("n")->Find("x")->boolean());
}

TEST(JsonReader, RefusesWhatIsNotJson) {
  for (const char* text : {"",
                           "{",
                           "{\"a\": 1",
                           "{\"a\" 1}",
                           "{a: 1}",
                           "[1,]",
                           "[1 2]",
                           "\"open",
                           "\"bad \\x\"",
                           "\"\\u12\"",
                           "\"tab\there\"",
                           "01",
                           "1.",
                           "-",
                           "+1",
                           ".5",
                           "1e",
                           "inf",
                           "tru",
                           "nul",
                           "{\"a\": 1} x",
                           "{\"a\": 1}{\"b\": 2}"}) {
    EXPECT_FALSE(Parse(text).has_value()) << text;
  }
  EXPECT_FALSE(Parse(std::string(100, '[') + std::string(100, ']')).has_value()) << "nesting beyond the limit";
  EXPECT_TRUE(Parse(std::string(60, '[') + std::string(60, ']')).has_value());
}

}  // namespace
}  // namespace e2e::json
