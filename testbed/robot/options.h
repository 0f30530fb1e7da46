#pragma once
// The dialog robot's command line:
// --transcript FILE [--timeout SECONDS] [--watch] [--press CAPTION] [--progress FILE]
// [--cancel-at-item N] -- PROGRAM [ARGS...]
#include <optional>
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
  // Samples of the program's progress window go here (and the boxes' lines get their time).
  std::wstring progress_path;
  // Press the progress window's Cancel the first time its second line reads "Item K of M", K >= this.
  std::optional<long long> cancel_at_item;
  std::vector<std::wstring> command;  // the program and its arguments, as given after "--"
};

struct ParsedOptions {
  Options options;
  std::wstring error;  // empty when the command line was understood
};

// Reads the arguments that follow the robot's own program name.
ParsedOptions ParseOptions(const std::vector<std::wstring>& arguments);

inline constexpr wchar_t kUsage[] =
    L"usage: DialogRobot --transcript FILE [--timeout SECONDS] [--watch] [--press CAPTION] [--progress FILE] "
    L"[--cancel-at-item N] -- PROGRAM [ARGS...]";

}  // namespace robot
