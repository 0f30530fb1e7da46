// DialogRobot: runs a program, writes down every message box it shows and presses OK, or the
// button named by --press where the box has one (or, when it only watches, waits until the user
// has closed the box), and writes the program's exit code at the end. A program that outlives the
// timeout is killed. The program's progress window is no message box: the robot leaves it alone,
// or samples it (--progress) and presses its Cancel at a given item (--cancel-at-item).
#include <windows.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/owners_windows.h"
#include "testbed/common/command_line.h"
#include "testbed/common/json.h"
#include "testbed/common/line_file.h"
#include "testbed/robot/dialogs.h"
#include "testbed/robot/options.h"
#include "testbed/robot/progress.h"

namespace {

using testbed::JsonLine;

enum ExitCode { kDone = 0, kCannotWrite = 1, kBadUsage = 2, kTimedOut = 3, kCannotStart = 4 };

// Waits until the box is gone after OK was pressed (or the user closed it), so that it is not
// read twice.
void WaitUntilClosed(HWND box, ULONGLONG deadline) {
  while (IsWindow(box) && IsWindowVisible(box) && GetTickCount64() < deadline) Sleep(20);
}

int Run(const robot::Options& options) {
  testbed::LineFile transcript;
  if (!transcript.Create(options.transcript_path)) {
    testbed::ReportError(L"cannot create the transcript " + options.transcript_path);
    return kCannotWrite;
  }
  testbed::LineFile progress;
  if (!options.progress_path.empty() && !progress.Create(options.progress_path)) {
    testbed::ReportError(L"cannot create the progress file " + options.progress_path);
    return kCannotWrite;
  }
  PROCESS_INFORMATION started{};
  if (!testbed::StartProcess(testbed::JoinCommandLine(options.command), 0, nullptr, started)) {
    DWORD error = GetLastError();
    transcript.WriteLine(JsonLine({{"error", "cannot start the program"},
                                   {"program", testbed::JsonText(options.command.front())},
                                   {"code", std::uint64_t{error}}}));
    return kCannotStart;
  }
  common::UniqueHandle process(started.hProcess);
  common::UniqueHandle thread(started.hThread);
  const robot::RunClock clock;
  const bool timed = progress.is_open();  // box lines carry the progress file's clock
  robot::ProgressWatch watch(started.dwProcessId, clock, timed ? &progress : nullptr, options.cancel_at_item);
  if (timed || options.cancel_at_item) watch.Start();
  // The program has ended or is killed: its progress window's last state is that it is gone.
  auto last_look = [&] {
    watch.Stop();
    if (timed) watch.Look();
  };

  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(std::llround(options.timeout_seconds * 1000));
  std::set<HWND> answered;
  while (WaitForSingleObject(process.get(), 50) == WAIT_TIMEOUT) {
    if (GetTickCount64() >= deadline) {
      TerminateProcess(process.get(), 1);
      WaitForSingleObject(process.get(), 5000);
      last_look();
      transcript.WriteLine(
          JsonLine({{"error", "timeout"}, {"timeout_seconds", options.timeout_seconds}, {"killed", true}}));
      return kTimedOut;
    }
    for (HWND box : robot::FindDialogs(started.dwProcessId)) {
      if (!robot::IsMessageBox(box) || !answered.insert(box).second) continue;
      std::optional<std::int64_t> seen;
      if (timed) {
        watch.Look();  // a progress window that closed before the box is on record before it
        seen = clock.ms();
      }
      transcript.WriteLine(robot::ReadingJson(robot::ReadBox(box), seen));
      if (!options.watch && (options.press.empty() || !robot::PressButton(box, options.press))) robot::PressOk(box);
      WaitUntilClosed(box, deadline);
    }
    std::erase_if(answered, [](HWND box) { return !IsWindow(box); });
  }
  last_look();
  DWORD exit_code = 0;
  GetExitCodeProcess(process.get(), &exit_code);
  transcript.WriteLine(JsonLine({{"exit_code", std::uint64_t{exit_code}}}));
  return kDone;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::vector<std::wstring> arguments = testbed::ProcessArguments();
  if (!arguments.empty()) arguments.erase(arguments.begin());
  robot::ParsedOptions parsed = robot::ParseOptions(arguments);
  if (!parsed.error.empty()) {
    testbed::ReportError(parsed.error + L"\n" + robot::kUsage);
    return kBadUsage;
  }
  return Run(parsed.options);
}
