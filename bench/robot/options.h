#pragma once
// The dialog robot's command line: --transcript FILE [--timeout SECONDS] -- PROGRAM [ARGS...]
#include <string>
#include <vector>

namespace robot {

struct Options {
  std::wstring transcript_path;
  double timeout_seconds = 60;
  std::vector<std::wstring> command;  // the program and its arguments, as given after "--"
};

struct ParsedOptions {
  Options options;
  std::wstring error;  // empty when the command line was understood
};

// Reads the arguments that follow the robot's own program name.
ParsedOptions ParseOptions(const std::vector<std::wstring>& arguments);

inline constexpr wchar_t kUsage[] = L"usage: DialogRobot --transcript FILE [--timeout SECONDS] -- PROGRAM [ARGS...]";

}  // namespace robot
