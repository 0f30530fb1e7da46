// Command lines: quoting for programs the testbed starts, and the stand-in's options; the
// progress window's item line.
#include <windows.h>

#include <shellapi.h>  // after <windows.h>, whose types it uses

#include <gtest/gtest.h>

#include "common/owners_windows.h"
#include "testbed/common/command_line.h"
#include "testbed/common/item_line.h"
#include "testbed/common/utf8.h"
#include "testbed/standin/options.h"

namespace testbed::testing {
namespace {

// What the platform's own splitter makes of a command line (the program name comes first).
std::vector<std::wstring> Split(const std::wstring& command_line) {
  int count = 0;
  LPWSTR* raw = CommandLineToArgvW(command_line.c_str(), &count);
  const common::UniqueLocal owner(static_cast<HLOCAL>(raw));
  return std::vector<std::wstring>(raw, raw + count);
}

TEST(QuoteArgument, EveryArgumentReadsBackUnchanged) {
  const std::vector<std::wstring> arguments{L"plain",     L"",          L"two words", L"say \"hi\"",
                                            L"C:\\dir\\", L"C:\\a b\\", L"\\\"",      L"a\\\\b",
                                            L"\t",        L"end\\\\",   L"\"",        L"x\\\\\"y z"};
  std::vector<std::wstring> all{L"program.exe"};
  all.insert(all.end(), arguments.begin(), arguments.end());
  EXPECT_EQ(Split(JoinCommandLine(all)), all);
}

TEST(ParseNumbers, AcceptOnlyWholeTexts) {
  EXPECT_EQ(ParseInteger(L"-12"), -12);
  EXPECT_EQ(ParseInteger(L"12x"), std::nullopt);
  EXPECT_EQ(ParseInteger(L" 1"), std::nullopt);
  EXPECT_EQ(ParseInteger(L""), std::nullopt);
  EXPECT_EQ(ParseInteger(L"99999999999999999999"), std::nullopt);
  EXPECT_EQ(ParseDecimal(L"0.5"), 0.5);
  EXPECT_EQ(ParseDecimal(L"1e400"), std::nullopt);
  EXPECT_EQ(ParseDecimal(L"five"), std::nullopt);
}

TEST(ParseItemLine, ReadsOnlyItemKOfMInEveryLanguage) {
  for (const wchar_t* line : {L"Item 37 of 180", L"Artikel 37 von 180", L"Article 37 sur 180"}) {
    const auto count = ParseItemLine(line);
    ASSERT_TRUE(count.has_value()) << Utf8(line);
    EXPECT_EQ(std::pair(count->item, count->count), std::pair(37LL, 180LL));
  }
  for (const wchar_t* line : {L"Pasting 180 items into Brevanto", L"", L"Item 3 of", L"Item -3 of 5", L"Item 3 of 5 "})
    EXPECT_FALSE(ParseItemLine(line).has_value()) << Utf8(line);
}

TEST(StandInOptions, ReadsEveryOption) {
  auto parsed = standin::ParseOptions({L"--document-index", L"3",           L"--fail",    L"SLIBufferSetValue:2",
                                       L"--fail",           L"ns:Member:1", L"--journal", L"j.jsonl",
                                       L"--items",          L"i.jsonl",     L"--buffer",  L"b.jsonl",
                                       L"--exit-after",     L"2.5",         L"--busy",    L"1.5@40",
                                       L"--quit-at",        L"7",           L"--delay",   L"5"});
  ASSERT_EQ(parsed.error, L"");
  const standin::Options& o = parsed.options;
  EXPECT_EQ(o.mode, standin::Options::Mode::kRun);
  EXPECT_EQ(o.document_index, 3);
  ASSERT_EQ(o.failures.size(), 2u);
  EXPECT_EQ(o.failures[0].member, L"SLIBufferSetValue");
  EXPECT_EQ(o.failures[0].call, 2);
  EXPECT_EQ(o.failures[1].member, L"ns:Member");  // the count follows the last colon
  EXPECT_EQ(o.journal_path, L"j.jsonl");
  EXPECT_EQ(o.items_path, L"i.jsonl");
  EXPECT_EQ(o.buffer_path, L"b.jsonl");
  EXPECT_EQ(o.exit_after_seconds, 2.5);
  ASSERT_TRUE(o.busy.has_value());
  EXPECT_EQ(o.busy->seconds, 1.5);
  EXPECT_EQ(o.busy->from_call, 40);
  EXPECT_EQ(o.quit_at, 7);
  EXPECT_EQ(o.delay_ms, 5);
  EXPECT_EQ(standin::ParseOptions({L"--busy", L"3"}).options.busy->from_call, 1);
  EXPECT_EQ(standin::ParseOptions({L"--no-document"}).options.document_index, -1);
  EXPECT_EQ(standin::ParseOptions({L"--unregister"}).options.mode, standin::Options::Mode::kUnregister);
}

TEST(StandInOptions, RefusesMistakes) {
  for (const auto& arguments : std::vector<std::vector<std::wstring>>{{L"--document-index"},
                                                                      {L"--document-index", L"x"},
                                                                      {L"--document-index", L"2147483648"},
                                                                      {L"--fail", L"Member"},
                                                                      {L"--fail", L"Member:0"},
                                                                      {L"--fail", L":1"},
                                                                      {L"--journal"},
                                                                      {L"--exit-after", L"-1"},
                                                                      {L"--busy", L"3@0"},
                                                                      {L"--busy", L"@2"},
                                                                      {L"--busy", L"3@"},
                                                                      {L"--quit-at", L"0"},
                                                                      {L"--delay", L"-1"},
                                                                      {L"--delay", L"0.5"},
                                                                      {L"--verbose"}}) {
    EXPECT_NE(standin::ParseOptions(arguments).error, L"") << arguments.front();
  }
}

}  // namespace
}  // namespace testbed::testing
