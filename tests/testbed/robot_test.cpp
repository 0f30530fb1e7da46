// The dialog robot run as a tool: it starts a program of ours that shows known message boxes,
// and its transcript must say what each box showed, as the box showed it.
#include <gtest/gtest.h>

#include "testbed/driver/harness.h"
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
// it, not even Cancel when told to press Cancel wherever a box has one.
TEST(DialogRobot, LeavesTheProgressWindowAlone) {
  RobotRun run = RunRobot({L"--press", L"Cancel"}, {Target(), L"--progress", L"4", L"150"});
  EXPECT_EQ(run.exit_code, std::optional<DWORD>(0));
  EXPECT_EQ(run.transcript,
            (Lines{R"({"title":"Kestrova Cart Import","text":"4 items imported","icon":"none","buttons":["OK"]})",
                   R"({"exit_code":0})"}));
}

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
}

TEST(RobotOptions, RefusesMistakes) {
  for (const auto& arguments :
       std::vector<std::vector<std::wstring>>{{L"--transcript", L"t", L"prog.exe"},
                                              {L"--transcript", L"t", L"--"},
                                              {L"--", L"prog.exe"},
                                              {L"--transcript", L"--", L"prog.exe"},
                                              {L"--transcript", L"t", L"--timeout", L"0", L"--", L"p"},
                                              {L"--transcript", L"t", L"--timeout", L"--", L"p"},
                                              {L"--transcript", L"t", L"--press", L"--", L"p"}}) {
    EXPECT_NE(robot::ParseOptions(arguments).error, L"") << arguments.size();
  }
}

}  // namespace
}  // namespace testbed::testing
