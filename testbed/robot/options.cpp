#include "testbed/robot/options.h"

#include "testbed/common/command_line.h"

namespace robot {

ParsedOptions ParseOptions(const std::vector<std::wstring>& arguments) {
  ParsedOptions result;
  std::size_t i = 0;
  for (; i < arguments.size() && arguments[i] != L"--"; ++i) {
    const std::wstring& name = arguments[i];
    const std::wstring* value = i + 1 < arguments.size() ? &arguments[i + 1] : nullptr;
    if (name == L"--transcript" && value != nullptr && !value->empty() && *value != L"--") {
      result.options.transcript_path = *value;
      ++i;
    } else if (name == L"--timeout") {
      auto seconds = value ? testbed::ParseDecimal(*value) : std::nullopt;
      if (!seconds || *seconds <= 0 || *seconds > 86400.0 * 24) {
        result.error = L"--timeout needs a positive number of seconds";
        return result;
      }
      result.options.timeout_seconds = *seconds;
      ++i;
    } else if (name == L"--press" && value != nullptr && !value->empty() && *value != L"--") {
      result.options.press = *value;
      ++i;
    } else if (name == L"--progress" && value != nullptr && !value->empty() && *value != L"--") {
      result.options.progress_path = *value;
      ++i;
    } else if (name == L"--cancel-at-item") {
      auto item = value ? testbed::ParseInteger(*value) : std::nullopt;
      if (!item || *item < 1) {
        result.error = L"--cancel-at-item needs an item number of at least 1";
        return result;
      }
      result.options.cancel_at_item = *item;
      ++i;
    } else if (name == L"--watch") {
      result.options.watch = true;
    } else {
      result.error = name == L"--transcript" ? L"--transcript needs a file name"
                     : name == L"--press"    ? L"--press needs a button caption"
                     : name == L"--progress" ? L"--progress needs a file name"
                                             : L"unknown argument: " + name;
      return result;
    }
  }
  if (result.options.transcript_path.empty()) {
    result.error = L"--transcript FILE is required";
  } else if (i + 1 >= arguments.size()) {
    result.error = L"the program to run follows \"--\"";
  } else {
    result.options.command.assign(arguments.begin() + static_cast<std::ptrdiff_t>(i) + 1, arguments.end());
  }
  return result;
}

}  // namespace robot
