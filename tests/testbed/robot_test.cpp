// The dialog robot run as a tool: it starts a program of ours that shows known message boxes,
// and its transcript must say what each box showed, as the box showed it.
#include <gtest/gtest.h>

#include "testbed/driver/harness.h"
#include "testbed/driver/scenario.h"
#include "testbed/robot/options.h"
#include "tests/testbed/desktop_window.h"

namespace testbed::testing {
namespace {

using namespace testbed::driver;  // the harness: programs, processes, line files, late-bound calls

[[maybe_unused]] ::testing::Environment* const desktop = ::testing::AddGlobalTestEnvironment(new DesktopWindow);

using Lines = std::vector<std::string>;

struct RobotRun {
  std::optional<DWORD> exit_code;
  Lines transcript;
};

RobotRun RunRobot(const std::vector<std::wstring>& robot_options, const std::vector<std::wstring>& command) {
  TempFile transcript(L"transcript.jsonl");
  std::vector<std::wstring> arguments{L"--transcript", transcript.path()};
  arguments.insert(arguments.end(), robot_options.begin(), robot_options.end());
  arguments.push_back(L"--");
  arguments.insert(arguments.end(), command.begin(), command.end());
  ChildProcess robot;
  EXPECT_TRUE(robot.Start(L"DialogRobot.exe", arguments));
  RobotRun run{robot.Wait(90000), {}};
  run.transcript = ReadLines(transcript.path()).value_or(Lines{});
  return run;
}

std::wstring Target() { return BinFolder() + L"\\robot_target.exe"; }

TEST(DialogRobot, WritesEveryBoxAsShownAndTheExitCode) {
  RobotRun run = RunRobot({L"--timeout", L"60"}, {Target(), L"--boxes", L"7"});
  EXPECT_EQ(run.exit_code, std::optional<DWORD>(0));
  EXPECT_EQ(run.transcript,
            (Lines{
                std::string(R"({"title":"Kestrova Cart Import","text":"3 Kestrova Shopping Cart Items have been )"
                            R"(imported into Brevanto.","icon":"information","buttons":["OK"]})"),
                R"({"title":"Brevanto API )" + Utf8(L"\u00fcber \u20ac") +
                    R"(","text":"First line\r\nSecond \"quoted\" line\r\n\r\nC:\\Docs\\ShoppingCart.csv\tend",)" +
                    R"("icon":"exclamation","buttons":["OK"]})",
                R"({"title":"Critical","text":"Brevanto is not running.","icon":"critical","buttons":["OK"]})",
                R"({"title":"Question","text":"Go on?","icon":"question","buttons":["OK"]})",
                R"({"title":"Plain","text":"No icon here","icon":"none","buttons":["OK"]})",
                R"({"exit_code":7})",
            }));
}

TEST(DialogRobot, PassesTheArgumentsThroughUnchanged) {
  RobotRun run = RunRobot({}, {Target(), L"--echo", L"two words", L"say \"hi\"", L"C:\\dir\\", L""});
  EXPECT_EQ(run.exit_code, std::optional<DWORD>(0));
  EXPECT_EQ(run.transcript,
            (Lines{R"({"title":"echo","text":"[two words][say \"hi\"][C:\\dir\\][]","icon":"none","buttons":["OK"]})",
                   R"({"exit_code":0})"}));
}

// --press presses the named button wherever a box has it, and OK on the other boxes; without it a
// Retry/Cancel box gets OK too, which ends it as IDOK.
struct PressCase {
  std::vector<std::wstring> options;
  DWORD answer;
};

class DialogRobotPress : public ::testing::TestWithParam<PressCase> {};

TEST_P(DialogRobotPress, PressesTheNamedButtonWhereThereIsOne) {
  RobotRun run = RunRobot(GetParam().options, {Target(), L"--ask"});
  EXPECT_EQ(run.exit_code, std::optional<DWORD>(0));
  EXPECT_EQ(run.transcript,
            (Lines{R"({"title":"Ask","text":"Busy?","icon":"exclamation","buttons":["Retry","Cancel"]})",
                   R"({"title":"After","text":"Done","icon":"none","buttons":["OK"]})",
                   R"({"exit_code":)" + std::to_string(GetParam().answer) + "}"}));
}

INSTANTIATE_TEST_SUITE_P(Buttons, DialogRobotPress,
                         ::testing::Values(PressCase{{L"--press", L"Retry"}, IDRETRY},
                                           PressCase{{L"--press", L"Cancel"}, IDCANCEL}, PressCase{{}, IDOK}));

// Watching, the robot writes the box down and leaves it open: here the test plays the user who
// closes it, once the box is in the transcript and has stayed open a while longer.
TEST(DialogRobot, WatchingLeavesTheBoxToTheUser) {
  TempFile transcript(L"watch.jsonl");
  ChildProcess robot;
  ASSERT_TRUE(robot.Start(L"DialogRobot.exe",
                          {L"--transcript", transcript.path(), L"--watch", L"--", Target(), L"--echo", L"watched"}));
  const std::string box_line = R"({"title":"echo","text":"[watched]","icon":"none","buttons":["OK"]})";
  const ULONGLONG deadline = GetTickCount64() + 30000;
  while (ReadLines(transcript.path()).value_or(Lines{}) != Lines{box_line} && GetTickCount64() < deadline) Sleep(50);
  ASSERT_EQ(ReadLines(transcript.path()), Lines{box_line});
  Sleep(700);
  ASSERT_TRUE(robot.running());
  HWND box = FindWindowW(L"#32770", L"echo");
  ASSERT_NE(box, nullptr) << "the box should still be open";
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_EQ(robot.Wait(30000), std::optional<DWORD>(0));
  EXPECT_EQ(ReadLines(transcript.path()), (Lines{box_line, R"({"exit_code":0})"}));
}

// The progress window is no message box: the robot neither writes it down nor presses anything in
// it, not even Cancel when told to press Cancel wherever a box has one. It samples the window
// instead (--progress), and presses its Cancel as soon as line 2 reaches an item (--cancel-at-item).
struct ProgressCase {
  std::vector<std::wstring> options;
  long long cancel_at;  // 0: the target counts its 8 items to the end
};

class DialogRobotProgress : public ::testing::TestWithParam<ProgressCase> {};

TEST_P(DialogRobotProgress, SamplesTheProgressWindowAndPressesOnlyItsCancelWhenDue) {
  TempFile transcript_file(L"transcript.jsonl"), progress_file(L"progress.jsonl");
  std::vector<std::wstring> arguments{L"--transcript", transcript_file.path(), L"--progress", progress_file.path()};
  arguments.insert(arguments.end(), GetParam().options.begin(), GetParam().options.end());
  arguments.insert(arguments.end(), {L"--", Target(), L"--progress", L"8", L"150"});
  ChildProcess robot;
  ASSERT_TRUE(robot.Start(L"DialogRobot.exe", arguments));
  ASSERT_EQ(robot.Wait(90000), std::optional<DWORD>(0));
  const e2e::Transcript transcript = e2e::ReadTranscript(transcript_file.path());
  const std::vector<e2e::ProgressSample> samples = e2e::ReadProgress(progress_file.path());

  // The target's exit code is the item at which it saw the cancel.
  ASSERT_TRUE(transcript.exit_code.has_value());
  const std::int64_t cancelled_at = *transcript.exit_code, cancel_at = GetParam().cancel_at;
  EXPECT_TRUE(cancel_at ? cancelled_at >= cancel_at && cancelled_at < 8 : cancelled_at == 0) << cancelled_at;
  const std::string text = cancelled_at ? "Cancelled at item " + std::to_string(cancelled_at) : "8 items imported";
  EXPECT_EQ(transcript.boxes, (std::vector<e2e::Box>{{"Kestrova Cart Import", text, "none"}}));

  ASSERT_FALSE(samples.empty());
  EXPECT_EQ(samples.front().line1, "Importing the Kestrova shopping cart into Brevanto");
  std::int64_t last_time = 0, last_item = 0, items_seen = 0, presses = 0;
  for (const e2e::ProgressSample& sample : samples) {
    EXPECT_GE(sample.time_ms, last_time) << sample.line;
    last_time = sample.time_ms;
    EXPECT_TRUE(!sample.visible || sample.title == "Kestrova Cart Import") << sample.line;
    if (sample.item) {
      EXPECT_GT(*sample.item, last_item) << sample.line;  // the count climbs
      last_item = *sample.item;
      ++items_seen;
    }
    if (!sample.pressed.empty()) {
      ++presses;
      EXPECT_GE(last_item, cancel_at) << "pressed before line 2 reached the item";
    }
  }
  EXPECT_GE(items_seen, 2);
  EXPECT_EQ(presses, cancel_at ? 1 : 0);
  // The window closed before the box came.
  EXPECT_FALSE(samples.back().visible);
  ASSERT_EQ(transcript.box_times_ms.size(), 1u);
  EXPECT_LE(samples.back().time_ms, transcript.box_times_ms[0].value_or(-1));
}

INSTANTIATE_TEST_SUITE_P(Cancel, DialogRobotProgress,
                         ::testing::Values(ProgressCase{{L"--press", L"Cancel"}, 0},
                                           ProgressCase{{L"--cancel-at-item", L"3"}, 3}));

TEST(DialogRobot, KillsAProgramThatOutlivesTheTimeout) {
  RobotRun run = RunRobot({L"--timeout", L"2"}, {Target(), L"--hang"});
  EXPECT_EQ(run.exit_code, std::optional<DWORD>(3));
  EXPECT_EQ(run.transcript, (Lines{R"({"error":"timeout","timeout_seconds":2.0,"killed":true})"}));
  EXPECT_FALSE(AnyProcessNamed(L"robot_target.exe"));
}

// The test's process owner kills the whole tree: a robot killed mid-run takes its program along.
TEST(DialogRobot, KillingTheRobotKillsItsProgram) {
  TempFile transcript(L"killed.jsonl");
  ChildProcess robot;
  ASSERT_TRUE(robot.Start(L"DialogRobot.exe", {L"--transcript", transcript.path(), L"--", Target(), L"--hang"}));
  const ULONGLONG deadline = GetTickCount64() + 20000;
  while (!AnyProcessNamed(L"robot_target.exe") && GetTickCount64() < deadline) Sleep(50);
  ASSERT_TRUE(AnyProcessNamed(L"robot_target.exe"));
  robot.Kill();
  for (int i = 0; i < 50 && AnyProcessNamed(L"robot_target.exe"); ++i) Sleep(100);
  EXPECT_FALSE(AnyProcessNamed(L"robot_target.exe"));
}

TEST(DialogRobot, ReportsAProgramThatCannotStart) {
  RobotRun run = RunRobot({}, {BinFolder() + L"\\no_such_program.exe"});
  EXPECT_EQ(run.exit_code, std::optional<DWORD>(4));
  ASSERT_EQ(run.transcript.size(), 1u);
  EXPECT_EQ(run.transcript[0].rfind(R"({"error":"cannot start the program","program":)", 0), 0u) << run.transcript[0];
}

TEST(DialogRobot, RefusesACommandLineWithoutProgram) {
  ChildProcess robot;
  ASSERT_TRUE(robot.Start(L"DialogRobot.exe", {L"--transcript", L"unused.jsonl"}));
  EXPECT_EQ(robot.Wait(20000), std::optional<DWORD>(2));
}

TEST(RobotOptions, TakesEverythingAfterTheSeparatorAsTheCommand) {
  auto parsed = robot::ParseOptions(
      {L"--transcript", L"t.jsonl", L"--timeout", L"5", L"--", L"prog.exe", L"--timeout", L"--", L"x"});
  ASSERT_EQ(parsed.error, L"");
  EXPECT_EQ(parsed.options.transcript_path, L"t.jsonl");
  EXPECT_EQ(parsed.options.timeout_seconds, 5);
  EXPECT_EQ(parsed.options.command, (std::vector<std::wstring>{L"prog.exe", L"--timeout", L"--", L"x"}));
  EXPECT_FALSE(parsed.options.watch);
  EXPECT_TRUE(robot::ParseOptions({L"--watch", L"--transcript", L"t", L"--", L"p"}).options.watch);
  EXPECT_EQ(robot::ParseOptions({L"--press", L"Retry", L"--transcript", L"t", L"--", L"p"}).options.press, L"Retry");
  const auto progress =
      robot::ParseOptions({L"--progress", L"p.jsonl", L"--cancel-at-item", L"37", L"--transcript", L"t", L"--", L"p"});
  EXPECT_EQ(progress.options.progress_path, L"p.jsonl");
  EXPECT_EQ(progress.options.cancel_at_item, 37);
}

TEST(RobotOptions, RefusesMistakes) {
  for (const auto& arguments :
       std::vector<std::vector<std::wstring>>{{L"--transcript", L"t", L"prog.exe"},
                                              {L"--transcript", L"t", L"--"},
                                              {L"--", L"prog.exe"},
                                              {L"--transcript", L"--", L"prog.exe"},
                                              {L"--transcript", L"t", L"--timeout", L"0", L"--", L"p"},
                                              {L"--transcript", L"t", L"--timeout", L"--", L"p"},
                                              {L"--transcript", L"t", L"--press", L"--", L"p"},
                                              {L"--transcript", L"t", L"--progress", L"--", L"p"},
                                              {L"--transcript", L"t", L"--cancel-at-item", L"0", L"--", L"p"}}) {
    EXPECT_NE(robot::ParseOptions(arguments).error, L"") << arguments.size();
  }
}

}  // namespace
}  // namespace testbed::testing
