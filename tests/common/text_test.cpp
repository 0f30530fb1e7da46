#include <gtest/gtest.h>

#include "common/ansi.h"
#include "common/text.h"

namespace common {
namespace {

TEST(Ansi, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::wstring text = AnsiToText(all);
  ASSERT_EQ(text.size(), 256u);  // one character per byte, NUL included
  EXPECT_EQ(TextToAnsi(text), all);
}

TEST(Ansi, UsesWindows1252ForTheUpperHalf) {
  EXPECT_EQ(AnsiToText("\x80\x9f\xe9"), L"\u20ac\u0178\u00e9");
  EXPECT_EQ(AnsiToText("\xef\xbb\xbf"), L"\u00ef\u00bb\u00bf");  // a UTF-8 byte-order mark, byte by byte
  EXPECT_EQ(TextToAnsi(L"\u4e2d"), "?");
}

TEST(Text, ComparesWithoutRegardToCase) {
  EXPECT_TRUE(TextEqualsIgnoreCase(L"Personal", L"PERSONAL"));
  EXPECT_TRUE(TextEqualsIgnoreCase(L"\u00e9t\u00e9", L"\u00c9T\u00c9"));
  EXPECT_FALSE(TextEqualsIgnoreCase(L"a", L"ab"));
  EXPECT_EQ(TextFindIgnoreCase(L"abXYcd", L"xy"), 2u);
  EXPECT_EQ(TextFindIgnoreCase(L"abc", L""), 0u);
  EXPECT_EQ(TextFindIgnoreCase(L"", L"a"), std::wstring::npos);
  EXPECT_EQ(TextFindIgnoreCase(L"a\r\nb\r\n\r\nc\r\n\r\n", L"\r\n\r\n"), 4u);
}

}  // namespace
}  // namespace common
