// Reading the testbed's files back: every journal line becomes an entry that says whether it could
// be read, and every transcript line a box, the exit code or a line of its own, so that a line
// the scenarios cannot make sense of is never lost or taken for a record.
#include <gtest/gtest.h>

#include "testbed/driver/scenario.h"

namespace e2e {
namespace {

using testbed::driver::TempFile;

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\n";
  return text;
}

struct JournalCase {
  const char* label;
  std::string line;
  JournalEntry expected;  // `line` is always the line as written
};

void PrintTo(const JournalCase& c, std::ostream* out) { *out << c.label; }

class ReadJournalTest : public ::testing::TestWithParam<JournalCase> {};

TEST_P(ReadJournalTest, TakesTheFieldsAndTellsWhetherTheLineIsARecord) {
  TempFile journal(L"journal.jsonl");
  ASSERT_TRUE(WriteBytes(journal.path(), Joined({GetParam().line})));
  const std::vector<JournalEntry> read = ReadJournal(journal.path());
  ASSERT_EQ(read.size(), 1u);
  JournalEntry expected = GetParam().expected;
  expected.line = GetParam().line;
  const JournalEntry& entry = read[0];
  EXPECT_EQ(std::tie(entry.event, entry.object, entry.call, entry.member, entry.kind, entry.line, entry.readable),
            std::tie(expected.event, expected.object, expected.call, expected.member, expected.kind, expected.line,
                     expected.readable));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReadJournalTest,
    ::testing::Values(
        JournalCase{
            "Call",
            R"({"object": "Application", "call": "Invoke", "member": "DocFunctions", "kind": "get", "args": []})",
            {"", "Application", "Invoke", "DocFunctions", "get", "", true}},
        JournalCase{"Event",
                    R"({"event": "connect", "object": "ItemFunctions"})",
                    {"connect", "ItemFunctions", "", "", "", "", true}},
        JournalCase{"RefusedCall",
                    R"({"event": "rejected", "object": "Application", "call": "Invoke", "member": null})",
                    {"rejected", "Application", "Invoke", "", "", "", true}},
        JournalCase{"EventThatNamesACall",
                    R"({"event": "connect", "object": "Application", "call": "Invoke"})",
                    {"connect", "Application", "Invoke", "", "", "", false}},
        JournalCase{"NoObject", R"({"call": "Invoke", "member": "Quit"})", {"", "", "Invoke", "Quit", "", "", false}},
        JournalCase{"ObjectNotText", R"({"object": 7, "call": "Invoke"})", {"", "", "Invoke", "", "", "", false}},
        JournalCase{"NotAnObject", R"(["object", "Application", "call", "Invoke"])", {}},
        JournalCase{"CutOff", R"({"object": "Application", "call": "Invo)", {}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ReadTranscript, SortsBoxesExitCodeAndEverythingElse) {
  TempFile transcript(L"transcript.jsonl");
  const std::vector<std::string> lines{
      R"({"title": "T\u00fc", "text": "a\r\nb", "icon": "critical", "buttons": ["Retry", "Cancel"]})",
      R"({"title": "Plain", "text": "x", "icon": "none"})",
      R"({"error": "timeout", "timeout_seconds": 2, "killed": true})",
      "not JSON at all",
      R"({"exit_code": 3})",
  };
  ASSERT_TRUE(WriteBytes(transcript.path(), Joined(lines)));
  const Transcript read = ReadTranscript(transcript.path());
  EXPECT_EQ(read.boxes,
            (std::vector<Box>{{"T\xC3\xBC", "a\r\nb", "critical", {"Retry", "Cancel"}}, {"Plain", "x", "none", {}}}));
  EXPECT_EQ(read.exit_code, std::optional<std::int64_t>(3));
  EXPECT_EQ(read.other, (std::vector<std::string>{lines[2], lines[3]}));
}

}  // namespace
}  // namespace e2e
