#pragma once
// The dialog robot's command line:
// --transcript FILE [--timeout SECONDS] [--watch] [--press CAPTION] -- PROGRAM [ARGS...]
#include <string>
#include <vector>

namespace robot {

struct Options {
  std::wstring transcript_path;
  double timeout_seconds = 60;
  // Watch only: write each box down but leave it to the user to close.
  bool watch = false;
  // Press the button with this caption (without & marks) on every box that has one; OK elsewhere.
  std::wstring press;
  std::vector<std::wstring> command;  // the program and its arguments, as given after "--"
};

struct ParsedOptions {
  Options options;
  std::wstring error;  // empty when the command line was understood
};

// Reads the arguments that follow the robot's own program name.
ParsedOptions ParseOptions(const std::vector<std::wstring>& arguments);

inline constexpr wchar_t kUsage[] =
    L"usage: DialogRobot --transcript FILE [--timeout SECONDS] [--watch] [--press CAPTION] -- PROGRAM [ARGS...]";

}  // namespace robot
