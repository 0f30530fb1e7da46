#pragma once
// The command line of the testbed programs: reading this process's arguments, and writing a
// command line for a program the testbed starts.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace testbed {

// This process's arguments as the C runtime would split them, the program name first.
std::vector<std::wstring> ProcessArguments();

// One argument quoted so that the C runtime and CommandLineToArgvW read it back unchanged:
// quoted when it is empty or holds white space or quotes; backslashes doubled only where they
// come before a quote.
std::wstring QuoteArgument(std::wstring_view argument);
// The arguments quoted and joined with single spaces.
std::wstring JoinCommandLine(const std::vector<std::wstring>& arguments);

// A whole decimal number (optional sign) that fills the text; nothing on anything else or on a
// value outside `long long`.
std::optional<long long> ParseInteger(std::wstring_view text);
// A decimal number such as 2.5 that fills the text.
std::optional<double> ParseDecimal(std::wstring_view text);

// Writes a diagnostic line to the standard error handle that the starting process gave us, if
// any (the testbed programs are GUI programs, usually started by scripts that capture it).
void ReportError(std::wstring_view message);

}  // namespace testbed
